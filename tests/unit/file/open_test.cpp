#include <cstring>
#include <vector>

#include "../import_entry.h"

#include "file_fixture.h"

using namespace tessaric;

namespace {

struct ModeCase {
  uint32_t mode;
  bool reads;
  bool writes;
  bool keepsContents;
};

std::ostream& operator<<(std::ostream& out, const ModeCase& c) { return out << "mode " << c.mode; }

class OpenModeTest : public FileTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(OpenModeTest, NewFileIsCreatedEmpty) {
  const ModeCase& c = GetParam();
  ASSERT_FALSE(driver::FileExists(Path("new.dat")));
  HANDLE file = Open("new.dat", c.mode);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  EXPECT_EQ(record_.FileHandle, file);
  EXPECT_EQ(record_.Mode, c.mode);
  EXPECT_EQ(record_.data.position, 0);
  EXPECT_EQ(record_.data.length, 0);
  EXPECT_EQ(record_.data.capacity, 0);
  EXPECT_EQ(record_.data.handle, nullptr);
  EXPECT_EQ(FileAtEnd(), 1);
  EXPECT_TRUE(driver::FileExists(Path("new.dat")));
  EXPECT_EQ(Disk("new.dat"), "");
}

TEST_P(OpenModeTest, ExistingFileIsReadWrittenOrReplacedAsTheModeSays) {
  const ModeCase& c = GetParam();
  std::string contents = "0123456789";
  Put("old.dat", contents);
  record_.data.position = 3;  // left over from earlier use
  ASSERT_NE(Open("old.dat", c.mode), INVALID_HANDLE_VALUE);
  EXPECT_EQ(record_.data.position, 0);
  int32_t size = c.keepsContents ? 10 : 0;
  EXPECT_EQ(record_.data.length, size);
  EXPECT_EQ(record_.data.capacity, size);
  EXPECT_EQ(FileAtEnd(), c.keepsContents ? 0 : 1);
  if (!c.keepsContents) contents.clear();
  EXPECT_EQ(Disk("old.dat"), contents);

  std::string head = Read(4);
  EXPECT_EQ(head, c.reads ? contents.substr(0, 4) : std::string());
  int32_t at = static_cast<int32_t>(head.size());
  EXPECT_EQ(record_.data.position, at);

  EXPECT_EQ(Write("ab"), c.writes ? 2 : 0);
  if (c.writes) contents.replace(at, 2, "ab");
  EXPECT_EQ(record_.data.position, at + (c.writes ? 2 : 0));
  EXPECT_EQ(record_.data.length, static_cast<int32_t>(contents.size()));
  EXPECT_EQ(FileClose(), 0);
  EXPECT_EQ(Disk("old.dat"), contents);
}

INSTANTIATE_TEST_SUITE_P(EveryMode, OpenModeTest,
                         ::testing::Values(ModeCase{0, true, false, true}, ModeCase{1, false, true, true},
                                           ModeCase{2, true, true, true}, ModeCase{7, true, true, true},
                                           ModeCase{65535, false, true, false}));

using FileOpenTest = FileTest;

TEST_F(FileOpenTest, FailedOpenIsAtEndAndMovesNothing) {
  HANDLE file = FileOpen(Path("no-such-folder\\x.dat").c_str(), 2);
  EXPECT_EQ(file, INVALID_HANDLE_VALUE);
  EXPECT_EQ(record_.FileHandle, INVALID_HANDLE_VALUE);
  EXPECT_EQ(static_cast<uint32_t>(record_.data.length), INVALID_FILE_SIZE);
  EXPECT_EQ(static_cast<uint32_t>(record_.data.capacity), INVALID_FILE_SIZE);
  EXPECT_EQ(FileAtEnd(), 1);
  EXPECT_EQ(Read(8), "");
  EXPECT_EQ(Write("abc"), 0);
  EXPECT_EQ(record_.data.position, 0);
  EXPECT_EQ(FileAtEnd(), 1);
  EXPECT_EQ(FileClose(), 0);
  EXPECT_TRUE(Cleared());
}

TEST_F(FileOpenTest, ReopeningAnOpenRecordReleasesTheFirstHandle) {
  // The first handle shares read access only, so the second open for writing
  // succeeds only when the first one is gone.
  ASSERT_NE(Open("a.dat", 1), INVALID_HANDLE_VALUE);
  ASSERT_NE(Open("a.dat", 1), INVALID_HANDLE_VALUE);
  EXPECT_EQ(Write("xy"), 2);
  EXPECT_EQ(FileClose(), 0);
  EXPECT_EQ(Disk("a.dat"), "xy");
}

// While one lives, the blocks that the runtime frees are recorded.
class RecordedFrees {
 public:
  RecordedFrees() {
    real_ = reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GlobalFree"));
    Real() = reinterpret_cast<HGLOBAL(WINAPI*)(HGLOBAL)>(real_);
    entry_ = unittest::ImportEntryHolding("kernel32.dll", real_);
    Freed().clear();
    if (!unittest::PatchImportEntry(entry_, reinterpret_cast<void*>(Record))) entry_ = nullptr;
  }
  ~RecordedFrees() { unittest::PatchImportEntry(entry_, real_); }
  bool installed() const { return entry_ != nullptr; }
  static std::vector<HGLOBAL>& Freed() {
    static std::vector<HGLOBAL> freed;
    return freed;
  }

 private:
  // The test's own calls go through the patched entry too: the real one is called directly.
  static HGLOBAL(WINAPI*& Real())(HGLOBAL) {
    static HGLOBAL(WINAPI * real)(HGLOBAL);
    return real;
  }
  static HGLOBAL WINAPI Record(HGLOBAL block) {
    Freed().push_back(block);
    return Real()(block);
  }
  void** entry_ = nullptr;
  void* real_ = nullptr;
};

// Opening a record that is open closes it first, as Close does: its memory
// copy is written back, not dropped, and its block is freed, so that a loop of
// Open and Load without Close neither loses changes nor holds on to memory.
TEST_F(FileOpenTest, ReopeningClosesTheRecordFirstAsCloseDoes) {
  LoadWith("first.dat", "[old text]", 2);
  FileSeek(1);
  EXPECT_EQ(Write("NEW"), 3);
  HGLOBAL block = record_.data.handle;
  {
    RecordedFrees frees;
    ASSERT_TRUE(frees.installed());
    ASSERT_NE(Open("second.dat", 2), INVALID_HANDLE_VALUE);
    EXPECT_EQ(RecordedFrees::Freed(), std::vector<HGLOBAL>{block}) << "the copy's block was not freed";
  }
  EXPECT_EQ(Disk("first.dat"), "[NEW text]");
  EXPECT_EQ(record_.data.handle, nullptr);
  EXPECT_EQ(record_.data.length, 0);
  EXPECT_EQ(Write("d"), 1);  // on disk now
  EXPECT_EQ(FileClose(), 0);
  EXPECT_EQ(Disk("first.dat"), "[NEW text]");
  EXPECT_EQ(Disk("second.dat"), "d");

  // A read-only copy is not written back, but its block goes all the same.
  LoadWith("third.dat", "keep", 0);
  EXPECT_EQ(Write("XX"), 2);
  block = record_.data.handle;
  {
    RecordedFrees frees;
    ASSERT_TRUE(frees.installed());
    ASSERT_NE(Open("third.dat", 0), INVALID_HANDLE_VALUE);
    EXPECT_EQ(RecordedFrees::Freed(), std::vector<HGLOBAL>{block});
  }
  EXPECT_EQ(Disk("third.dat"), "keep");
  EXPECT_EQ(Read(10), "keep");
}

// A copy loaded without an open file has a block too, which Close and Open free.
TEST_F(FileOpenTest, ACopyLoadedWithoutAnOpenFileIsFreed) {
  StringValue copy = FileLoad(&record_);
  EXPECT_EQ(copy.length, 0);
  HGLOBAL block = record_.data.handle;
  ASSERT_NE(block, nullptr);
  RecordedFrees frees;
  ASSERT_TRUE(frees.installed());
  EXPECT_EQ(FileClose(), 0);
  EXPECT_EQ(RecordedFrees::Freed(), std::vector<HGLOBAL>{block});
  EXPECT_TRUE(Cleared());
}

using FileCloseTest = FileTest;

TEST_F(FileCloseTest, ClosedRecordIsLeftAsItIs) {
  record_.data.position = 5;
  record_.data.length = 9;
  record_.Mode = 3;
  FileRecord before = record_;
  EXPECT_EQ(FileClose(), 0);
  EXPECT_EQ(std::memcmp(&record_, &before, sizeof before), 0);
}

TEST_F(FileCloseTest, ClearsTheRecordAndReleasesTheFile) {
  OpenWith("c.dat", "12345", 2);
  EXPECT_EQ(Read(2), "12");
  EXPECT_EQ(FileClose(), 0);
  EXPECT_TRUE(Cleared());
  HANDLE exclusive = CreateFileA(Path("c.dat").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_NE(exclusive, INVALID_HANDLE_VALUE);
  CloseHandle(exclusive);
}

}  // namespace
