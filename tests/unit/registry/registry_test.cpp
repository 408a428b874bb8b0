#include <gtest/gtest.h>

#include <stdint.h>

#include <cstring>
#include <string>
#include <vector>

#include "../import_entry.h"
#include "core/objects.h"
#include "registry/registry.h"

using namespace tessaric;

namespace {

std::string Text(StringValue v) { return std::string(v.text, v.length); }

// While one lives, the enumeration calls that reach the registry are counted
// with the index each asks for. An enumeration that would go on for hours is
// cut short: from the kRunaway-th call on the stand-in reports
// ERROR_NO_MORE_ITEMS without asking the registry, which ends the runtime's
// loop, and the test fails on the count instead.
class CountedEnumeration {
 public:
  static constexpr size_t kRunaway = 64;

  CountedEnumeration() {
    Indexes().clear();
    HMODULE advapi32 = GetModuleHandleA("advapi32.dll");
    RealKey() = reinterpret_cast<EnumKeyFunction>(GetProcAddress(advapi32, "RegEnumKeyExA"));
    RealValue() = reinterpret_cast<EnumValueFunction>(GetProcAddress(advapi32, "RegEnumValueA"));
    installed_ = Patch(reinterpret_cast<void*>(RealKey()), reinterpret_cast<void*>(CountedKey)) &&
                 Patch(reinterpret_cast<void*>(RealValue()), reinterpret_cast<void*>(CountedValue));
  }
  ~CountedEnumeration() {
    Patch(reinterpret_cast<void*>(CountedKey), reinterpret_cast<void*>(RealKey()));
    Patch(reinterpret_cast<void*>(CountedValue), reinterpret_cast<void*>(RealValue()));
  }
  CountedEnumeration(const CountedEnumeration&) = delete;

  bool installed() const { return installed_; }
  // The indexes of the calls made so far, in order.
  static std::vector<DWORD>& Indexes() {
    static std::vector<DWORD> indexes;
    return indexes;
  }

 private:
  using EnumKeyFunction = LONG(WINAPI*)(HKEY, DWORD, LPSTR, LPDWORD, LPDWORD, LPSTR, LPDWORD, PFILETIME);
  using EnumValueFunction = LONG(WINAPI*)(HKEY, DWORD, LPSTR, LPDWORD, LPDWORD, LPDWORD, LPBYTE, LPDWORD);

  static EnumKeyFunction& RealKey() {
    static EnumKeyFunction real;
    return real;
  }
  static EnumValueFunction& RealValue() {
    static EnumValueFunction real;
    return real;
  }
  // False once the walk has run away.
  static bool Count(DWORD index) {
    Indexes().push_back(index);
    return Indexes().size() < kRunaway;
  }
  static LONG WINAPI CountedKey(HKEY key, DWORD index, LPSTR name, LPDWORD nameLength, LPDWORD reserved,
                                LPSTR keyClass, LPDWORD classLength, PFILETIME written) {
    if (!Count(index)) return ERROR_NO_MORE_ITEMS;
    return RealKey()(key, index, name, nameLength, reserved, keyClass, classLength, written);
  }
  static LONG WINAPI CountedValue(HKEY key, DWORD index, LPSTR name, LPDWORD nameLength, LPDWORD reserved,
                                  LPDWORD type, LPBYTE data, LPDWORD dataLength) {
    if (!Count(index)) return ERROR_NO_MORE_ITEMS;
    return RealValue()(key, index, name, nameLength, reserved, type, data, dataLength);
  }
  static bool Patch(void* from, void* to) {
    return unittest::PatchImportEntry(unittest::ImportEntryHolding("advapi32.dll", from), to);
  }

  bool installed_ = false;
};

// The two enumerations, for the tests that treat them alike.
struct Enumeration {
  const char* name;
  int32_t (*run)();
};
const Enumeration kEnumerations[] = {{"RegistryEnumKey", RegistryEnumKey}, {"RegistryEnumValue", RegistryEnumValue}};

// Every test works below its own key under HKCU\Software and removes it afterwards.
class Registry : public ::testing::Test {
 protected:
  void SetUp() override {
    base_ = "Software\\TessaricRegistryTest" + std::to_string(GetCurrentProcessId());
    RegDeleteTreeA(HKEY_CURRENT_USER, base_.c_str());
    record_ = RegistryRecord{};
    record_.RootKey = HKEY_CURRENT_USER;
    QueryObject = &record_;
  }
  void TearDown() override {
    RegistryClose(&record_);
    RegDeleteTreeA(HKEY_CURRENT_USER, base_.c_str());
  }

  std::string Path(const std::string& below = "") const { return below.empty() ? base_ : base_ + "\\" + below; }

  // Sets up keys and values with the registry's own calls, not the runtime's.
  void MakeKey(const std::string& below, const char* keyClass = nullptr) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, Path(below).c_str(), 0, const_cast<char*>(keyClass), 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }
  void SetValue(const std::string& below, const char* name, DWORD type, const std::string& bytes) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, Path(below).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                             static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }
  bool KeyExists(const std::string& path) const {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }
  int32_t Open(const std::string& path, int32_t create) {
    return RegistryOpen(&record_, path.c_str(), static_cast<int32_t>(path.size()), create);
  }
  StringValue ReadString(const std::string& path) {
    QueryObject = &record_;
    return readstring(path.c_str(), static_cast<int32_t>(path.size()));
  }
  static bool Closed(HKEY key) {
    return RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr) == ERROR_INVALID_HANDLE;
  }
  // Every byte after the root key is zero.
  bool Cleared() const {
    const auto* bytes = reinterpret_cast<const unsigned char*>(&record_);
    for (size_t i = sizeof(HKEY); i < sizeof record_; ++i)
      if (bytes[i] != 0) return false;
    return true;
  }

  std::string base_;
  RegistryRecord record_;
};

TEST_F(Registry, CreateMakesTheKeyThenFindsItExisting) {
  ASSERT_FALSE(KeyExists(Path()));
  EXPECT_EQ(Open(Path(), kRegistryCreate), ERROR_SUCCESS);
  EXPECT_EQ(record_.error, ERROR_SUCCESS);
  EXPECT_NE(record_.KeyHandle, nullptr);
  EXPECT_EQ(record_.DispositionOrIndex, static_cast<DWORD>(REG_CREATED_NEW_KEY));
  EXPECT_TRUE(KeyExists(Path()));

  EXPECT_EQ(Open(Path(), kRegistryCreate), ERROR_SUCCESS);
  EXPECT_EQ(record_.DispositionOrIndex, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
  EXPECT_EQ(record_.RootKey, HKEY_CURRENT_USER);
}

TEST_F(Registry, OpenWithoutCreateLeavesAMissingKeyMissing) {
  EXPECT_EQ(Open(Path("missing"), 0), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(record_.error, ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(record_.KeyHandle, nullptr);
  EXPECT_FALSE(KeyExists(Path("missing")));
}

TEST_F(Registry, OpenFillsCountsPathAndClass) {
  MakeKey("", "TessaricClass");
  for (const char* name : {"alpha", "beta", "gamma"}) MakeKey(name);
  SetValue("", "first", REG_SZ, std::string("one", 4));
  SetValue("", "second", REG_DWORD, std::string("\x2a\0\0\0", 4));

  std::string path = Path();
  ASSERT_EQ(Open(path, 0), ERROR_SUCCESS);
  EXPECT_EQ(record_.SubkeyCount, 3u);
  EXPECT_EQ(record_.ValueCount, 2u);
  EXPECT_EQ(record_.KeyPathLength, path.size());
  EXPECT_EQ(Text(RegistryKeyPath()), path);
  // The class as the registry itself reports it (Wine keeps no classes, so there it is empty).
  char keyClass[64] = {};
  DWORD classLength = sizeof keyClass;
  HKEY key;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
  RegQueryInfoKeyA(key, keyClass, &classLength, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                   nullptr, nullptr);
  RegCloseKey(key);
  EXPECT_EQ(Text(RegistryClass()), keyClass);
  EXPECT_EQ(RegistryBinding.record, &record_);
  EXPECT_EQ(RegistryBinding.KeyHandle, record_.KeyHandle);
}

TEST_F(Registry, SubkeyNamesByIndex) {
  const std::vector<std::string> names = {"alpha", "beta", "gamma"};
  for (const std::string& name : names) MakeKey(name);
  ASSERT_EQ(Open(Path(), 0), ERROR_SUCCESS);

  // The registry's own order, read with its own calls.
  HKEY key;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, Path().c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
  for (int32_t i = 0; i < 3; ++i) {
    char expected[256];
    DWORD length = sizeof expected;
    ASSERT_EQ(RegEnumKeyExA(key, i, expected, &length, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    SCOPED_TRACE(expected);
    QueryObject = &record_;
    EXPECT_EQ(Text(RegistrySubkeyNameAt(i)), expected);
    EXPECT_EQ(record_.error, ERROR_SUCCESS);
    EXPECT_EQ(record_.DispositionOrIndex, static_cast<DWORD>(i));
    EXPECT_EQ(Text(RegistryName()), expected);
    EXPECT_EQ(RegistryIndex, -1);
  }
  RegCloseKey(key);

  QueryObject = &record_;
  RegistrySubkeyNameAt(3);
  EXPECT_EQ(record_.error, ERROR_NO_MORE_ITEMS);
  EXPECT_EQ(record_.DispositionOrIndex, 3u);

  // A negative index still makes the one call for subkey 0, which the record
  // keeps; but there is no subkey -4 to name.
  QueryObject = &record_;
  std::string first = Text(RegistrySubkeyNameAt(0));
  MemFill(record_.Name, sizeof record_.Name, 'x');
  EXPECT_EQ(Text(RegistrySubkeyNameAt(-4)), "");
  EXPECT_EQ(record_.error, ERROR_SUCCESS);
  QueryObject = &record_;
  EXPECT_EQ(Text(RegistryName()), first);
}

TEST_F(Registry, ValuesByIndexWithDataAndLengths) {
  SetValue("", "text", REG_SZ, std::string("hello", 6));
  SetValue("", "number", REG_DWORD, std::string("\x0a\0\0\0", 4));
  SetValue("", "bytes", REG_BINARY, std::string("\x01\x00\x02", 3));
  ASSERT_EQ(Open(Path(), 0), ERROR_SUCCESS);
  ASSERT_EQ(record_.ValueCount, 3u);

  struct Expected {
    std::string data;
    DWORD type;
  };
  const std::pair<std::string, Expected> values[] = {
      {"text", {std::string("hello", 6), REG_SZ}},
      {"number", {std::string("\x0a\0\0\0", 4), REG_DWORD}},
      {"bytes", {std::string("\x01\x00\x02", 3), REG_BINARY}},
  };
  int found = 0;
  for (int32_t i = 0; i < 3; ++i) {
    QueryObject = &record_;
    std::string data = Text(RegistryValueDataAt(i));
    EXPECT_EQ(record_.error, ERROR_SUCCESS);
    std::string name = Text(RegistryName());
    for (const auto& value : values) {
      if (value.first != name) continue;
      ++found;
      SCOPED_TRACE(name);
      EXPECT_EQ(data, value.second.data);
      EXPECT_EQ(record_.DataLength, value.second.data.size());
      EXPECT_EQ(record_.ValueType, value.second.type);
      EXPECT_EQ(Text(RegistryValueData()), value.second.data);
    }
  }
  EXPECT_EQ(found, 3);
  QueryObject = &record_;
  RegistryValueDataAt(3);
  EXPECT_EQ(record_.error, ERROR_NO_MORE_ITEMS);
}

// An indexed read of an entry that does not exist gives "": never the 256
// bytes of a data field left as it was, or the last subkey's name. The
// buffers first hold what a read of an existing entry left in them.
TEST_F(Registry, IndexedReadsOfEntriesThatDoNotExistGiveNothing) {
  MakeKey("alpha");
  MakeKey("beta");
  SetValue("", "one", REG_SZ, std::string("first", 6));
  SetValue("", "two", REG_BINARY, std::string("\x01\x02", 2));
  ASSERT_EQ(Open(Path(), 0), ERROR_SUCCESS);
  struct Read {
    const char* name;
    StringValue (*at)(int32_t);
  };
  for (const Read& read : {Read{"SubkeyName", RegistrySubkeyNameAt}, Read{"ValueData", RegistryValueDataAt}}) {
    for (int32_t index : {2, 3, 1000, INT32_MAX, -1, INT32_MIN}) {
      SCOPED_TRACE(std::string(read.name) + "(" + std::to_string(index) + ")");
      QueryObject = &record_;
      ASSERT_NE(Text(read.at(1)), "");
      QueryObject = &record_;
      EXPECT_EQ(Text(read.at(index)), "");
    }
  }
  // Through a key that was closed, nothing exists.
  RegistryClose(&record_);
  QueryObject = &record_;
  EXPECT_EQ(Text(RegistryValueDataAt(0)), "");
  QueryObject = &record_;
  EXPECT_EQ(Text(RegistrySubkeyNameAt(0)), "");
}

TEST_F(Registry, ReadStringOfAMissingKeyIsEmptyAndCreatesNothing) {
  MakeKey("");
  StringValue result = ReadString(Path("nowhere"));
  EXPECT_EQ(Text(result), "");
  EXPECT_EQ(record_.error, ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(record_.KeyHandle, nullptr);
  EXPECT_FALSE(KeyExists(Path("nowhere")));
}

TEST_F(Registry, ReadStringOfAKeyWithoutValuesIsEmptyAndKeepsItOpen) {
  MakeKey("empty");
  StringValue result = ReadString(Path("empty"));
  EXPECT_EQ(Text(result), "");
  EXPECT_EQ(record_.error, ERROR_NO_MORE_ITEMS);
  EXPECT_NE(record_.KeyHandle, nullptr);
}

TEST_F(Registry, ReadStringGivesTheFirstValueUpToItsNul) {
  SetValue("", "only", REG_BINARY, std::string("abc\0def", 7));
  EXPECT_EQ(Text(ReadString(Path())), "abc");
  EXPECT_EQ(record_.error, ERROR_SUCCESS);
  EXPECT_EQ(record_.DataLength, 7u);
  EXPECT_EQ(Text(RegistryName()), "only");
}

TEST_F(Registry, ReadStringClosesTheKeyThatWasOpen) {
  MakeKey("a");
  SetValue("b", "v", REG_SZ, std::string("bee", 4));
  ReadString(Path("a"));
  ASSERT_NE(record_.KeyHandle, nullptr);
  EXPECT_EQ(Text(ReadString(Path("b"))), "bee");
  EXPECT_EQ(record_.error, ERROR_SUCCESS);
  // A failing read still closes the key that was open.
  HKEY open = record_.KeyHandle;
  EXPECT_EQ(Text(ReadString(Path("nowhere"))), "");
  EXPECT_EQ(record_.KeyHandle, nullptr);
  EXPECT_TRUE(Closed(open));
}

TEST_F(Registry, DataThatFillsTheFieldStaysInsideIt) {
  SetValue("", "full", REG_BINARY, std::string(256, 'z'));
  StringValue all = ReadString(Path());
  EXPECT_EQ(record_.error, ERROR_SUCCESS);
  EXPECT_EQ(all.length, 256);
  EXPECT_EQ(Text(all), std::string(256, 'z'));
}

TEST_F(Registry, DataTooLargeForTheFieldReportsMoreDataWithoutOverrun) {
  SetValue("", "large", REG_BINARY, std::string(300, 'q'));
  ASSERT_EQ(Open(Path(), 0), ERROR_SUCCESS);
  QueryObject = &record_;
  StringValue data = RegistryValueDataAt(0);
  EXPECT_EQ(record_.error, ERROR_MORE_DATA);
  EXPECT_EQ(data.length, 0) << "the data was not read";
  QueryObject = &record_;
  EXPECT_LE(RegistryValueData().length, 256);
  EXPECT_LE(ReadString(Path()).length, 256);
}

TEST_F(Registry, QueryValueByName) {
  SetValue("", "wanted", REG_SZ, std::string("found", 6));
  SetValue("", "other", REG_SZ, std::string("no", 3));
  ASSERT_EQ(Open(Path(), 0), ERROR_SUCCESS);
  record_.error = 12345;
  EXPECT_EQ(RegistryQueryValue("wanted"), 0);
  EXPECT_EQ(Text(RegistryValueData()), std::string("found", 6));
  EXPECT_EQ(record_.ValueType, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(RegistryQueryValue("absent"), 1);
  EXPECT_EQ(record_.error, 12345) << "the query leaves error alone";
}

TEST_F(Registry, QueryValueWithoutAnOpenKeyMakesNoCall) {
  RegistryBind(&record_);
  ASSERT_EQ(RegistryBinding.KeyHandle, nullptr);
  MemFill(record_.Data, sizeof record_.Data, 'p');
  EXPECT_EQ(RegistryQueryValue("anything"), 1);
  EXPECT_EQ(record_.Data[0], 'p');
  EXPECT_EQ(record_.DataLength, 0u);
}

TEST_F(Registry, CloseClearsAllButTheRoot) {
  MemFill(&record_.KeyHandle, sizeof record_ - sizeof(HKEY), 0);
  RegistryClose(&record_);
  EXPECT_TRUE(Cleared());
  EXPECT_EQ(record_.RootKey, HKEY_CURRENT_USER);

  SetValue("", "v", REG_SZ, std::string("x", 2));
  ReadString(Path());
  ASSERT_NE(record_.KeyHandle, nullptr);
  HKEY handle = record_.KeyHandle;
  RegistryClose(&record_);
  EXPECT_TRUE(Cleared());
  EXPECT_EQ(record_.RootKey, HKEY_CURRENT_USER);
  EXPECT_TRUE(Closed(handle));
}

TEST_F(Registry, EnumerationAfterCloseUsesTheStaleBinding) {
  MakeKey("child");
  ASSERT_EQ(Open(Path(), 0), ERROR_SUCCESS);
  RegistryClose(&record_);
  RegistryIndex = 0;
  EXPECT_EQ(RegistryEnumKey(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(record_.error, ERROR_INVALID_HANDLE);
}

TEST_F(Registry, SmallestIndexMakesOneCallForEntryZero) {
  MakeKey("alpha");
  SetValue("", "one", REG_SZ, std::string("1", 2));
  ASSERT_EQ(Open(Path(), 0), ERROR_SUCCESS);
  for (const Enumeration& enumeration : kEnumerations) {
    SCOPED_TRACE(enumeration.name);
    CountedEnumeration counted;
    ASSERT_TRUE(counted.installed());
    RegistryIndex = INT32_MIN;
    EXPECT_EQ(enumeration.run(), ERROR_SUCCESS);
    EXPECT_EQ(CountedEnumeration::Indexes(), std::vector<DWORD>{0});
    EXPECT_EQ(record_.DispositionOrIndex, 0x80000000u);
    EXPECT_EQ(RegistryIndex, INT32_MIN) << "there is no index below the smallest";
  }
}

TEST_F(Registry, EnumerationStopsAtTheFirstNoMoreItems) {
  MakeKey("alpha");
  MakeKey("beta");
  SetValue("", "one", REG_SZ, std::string("1", 2));
  SetValue("", "two", REG_SZ, std::string("2", 2));
  ASSERT_EQ(Open(Path(), 0), ERROR_SUCCESS);
  for (const Enumeration& enumeration : kEnumerations) {
    SCOPED_TRACE(enumeration.name);
    auto run = [&](int32_t index) {
      MemFill(record_.Name, sizeof record_.Name, 'x');
      RegistryIndex = index;
      return enumeration.run();
    };
    // Index 2 is the first past the end: there the whole loop ends on the call that reports it.
    ASSERT_EQ(run(2), ERROR_NO_MORE_ITEMS);
    const RegistryRecord reference = record_;
    for (int32_t index : {5, INT32_MAX}) {
      SCOPED_TRACE(index);
      CountedEnumeration counted;
      ASSERT_TRUE(counted.installed());
      EXPECT_EQ(run(index), ERROR_NO_MORE_ITEMS);
      EXPECT_EQ(CountedEnumeration::Indexes(), (std::vector<DWORD>{0, 1, 2}));
      EXPECT_EQ(RegistryIndex, -1);
      EXPECT_EQ(record_.DispositionOrIndex, static_cast<DWORD>(index));
      record_.DispositionOrIndex = reference.DispositionOrIndex;
      EXPECT_EQ(std::memcmp(&record_, &reference, sizeof record_), 0) << "the buffers as the full loop leaves them";
    }
  }
}

// A binding without a usable key fails every call the same way and the calls
// write nothing, so the walk ends at the first: as the full walk would leave
// them, but without its 2^31 calls for the largest index.
TEST_F(Registry, EnumerationThroughADeadBindingStopsAtTheFirstCall) {
  MakeKey("child");
  SetValue("", "one", REG_SZ, std::string("1", 2));
  struct Binding {
    const char* name;
    bool opened;  // then closed again; otherwise never opened
  };
  for (const Binding& binding : {Binding{"closed", true}, Binding{"never opened", false}}) {
    for (const Enumeration& enumeration : kEnumerations) {
      SCOPED_TRACE(std::string(binding.name) + ", " + enumeration.name);
      if (binding.opened) ASSERT_EQ(Open(Path(), 0), ERROR_SUCCESS);
      RegistryBind(&record_);
      RegistryClose(&record_);
      auto run = [&](int32_t index) {
        MemFill(record_.Name, sizeof record_.Name, 'x');
        MemFill(record_.Data, sizeof record_.Data, 'y');
        RegistryIndex = index;
        return enumeration.run();
      };
      // The full walk for a small index: every call fails alike.
      ASSERT_EQ(run(3), ERROR_INVALID_HANDLE);
      const RegistryRecord reference = record_;
      CountedEnumeration counted;
      ASSERT_TRUE(counted.installed());
      EXPECT_EQ(run(INT32_MAX), ERROR_INVALID_HANDLE);
      EXPECT_EQ(CountedEnumeration::Indexes(), std::vector<DWORD>{0});
      EXPECT_EQ(record_.error, ERROR_INVALID_HANDLE);
      EXPECT_EQ(RegistryIndex, -1);
      EXPECT_EQ(record_.DispositionOrIndex, static_cast<DWORD>(INT32_MAX));
      record_.DispositionOrIndex = reference.DispositionOrIndex;
      EXPECT_EQ(std::memcmp(&record_, &reference, sizeof record_), 0) << "the buffers as the full walk leaves them";
    }
  }
}

TEST_F(Registry, KeyPathIsReadToItsLengthOnly) {
  // The path's text runs on past the length the program gives.
  SetValue("child", "v", REG_SZ, std::string("short", 6));
  SetValue("childX", "v", REG_SZ, std::string("long", 5));
  std::string path = Path("childX");
  QueryObject = &record_;
  EXPECT_EQ(Text(readstring(path.c_str(), static_cast<int32_t>(path.size()) - 1)), "short");
  EXPECT_EQ(record_.error, ERROR_SUCCESS);
  EXPECT_EQ(Text(RegistryKeyPath()), Path("child"));

  std::string fresh = Path("newY");
  EXPECT_EQ(RegistryOpen(&record_, fresh.c_str(), static_cast<int32_t>(fresh.size()) - 1, kRegistryCreate),
            ERROR_SUCCESS);
  EXPECT_TRUE(KeyExists(Path("new")));
  EXPECT_FALSE(KeyExists(Path("newY")));
}

// No key's name holds a NUL, so a path with one among its bytes names no key:
// the open reports not found, whatever the bytes before the NUL would name.
TEST_F(Registry, KeyPathWithANulIsNotFound) {
  MakeKey("");
  struct Case {
    std::string before;  // the bytes before the NUL
    int32_t create;
  };
  for (const Case& c : {Case{Path(), 0}, Case{Path(), kRegistryCreate}, Case{Path("new"), kRegistryCreate}}) {
    std::string path = c.before + std::string("\0child", 6);
    SCOPED_TRACE(c.before + ", create " + std::to_string(c.create));
    EXPECT_EQ(RegistryOpen(&record_, path.c_str(), static_cast<int32_t>(path.size()), c.create),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(record_.error, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(record_.KeyHandle, nullptr);
    record_.error = 0;
    EXPECT_TRUE(Cleared());
    EXPECT_FALSE(KeyExists(Path("new")));
    EXPECT_EQ(Text(ReadString(path)), "");
    EXPECT_EQ(record_.error, ERROR_FILE_NOT_FOUND);
  }
}

TEST_F(Registry, KeyPathOf256BytesIsRefusedWithoutARegistryCall) {
  MakeKey("");
  // A child name that makes the whole path exactly 256 bytes.
  std::string tooLong = Path(std::string(256 - base_.size() - 1, 'k'));
  ASSERT_EQ(tooLong.size(), 256u);
  EXPECT_EQ(Open(tooLong, kRegistryCreate), ERROR_FILENAME_EXCED_RANGE);
  EXPECT_EQ(record_.error, ERROR_FILENAME_EXCED_RANGE);
  record_.error = 0;
  EXPECT_TRUE(Cleared());
  EXPECT_FALSE(KeyExists(tooLong));

  // Through readstring too, and a negative length is no better.
  EXPECT_EQ(Text(ReadString(tooLong)), "");
  EXPECT_EQ(record_.error, ERROR_FILENAME_EXCED_RANGE);
  EXPECT_EQ(RegistryOpen(&record_, "x", -1, kRegistryCreate), ERROR_FILENAME_EXCED_RANGE);

  // One byte less fits, key path field and all.
  std::string longest = tooLong.substr(0, 255);
  EXPECT_EQ(Open(longest, kRegistryCreate), ERROR_SUCCESS);
  EXPECT_EQ(record_.DispositionOrIndex, static_cast<DWORD>(REG_CREATED_NEW_KEY));
  EXPECT_EQ(Text(RegistryKeyPath()), longest);
}

TEST_F(Registry, EnumerationWithNothingBoundMakesNoCall) {
  RegistryBindingRecord saved = RegistryBinding;
  RegistryBinding = {};
  RegistryIndex = 0;
  EXPECT_EQ(RegistryEnumValue(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegistryQueryValue("x"), 1);
  RegistryBinding = saved;
}

}  // namespace
