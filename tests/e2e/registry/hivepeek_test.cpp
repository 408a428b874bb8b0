// hivepeek as a person runs it, and proof that it leaves the registry alone.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "driver.h"

using namespace driver;

namespace {

const char kPrompt[] = "Press a key to continue...";
const char kTranscript[] = "No key open to .readstring\r\nPress a key to continue...\r\n";

std::string Hex(const BYTE* bytes, DWORD count) {
  std::string text;
  char digits[3];
  for (DWORD i = 0; i < count; ++i) {
    std::snprintf(digits, sizeof digits, "%02x", bytes[i]);
    text += digits;
  }
  return text;
}

// Every key below key with its last write time, class, values and data, as text.
void Export(HKEY key, const std::string& path, std::string* out) {
  char keyClass[256] = {};
  DWORD classLength = sizeof keyClass, subkeys = 0, values = 0;
  FILETIME written = {};
  RegQueryInfoKeyA(key, keyClass, &classLength, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                   nullptr, &written);
  *out += "[" + path + "] class=" + keyClass + " written=" +
          Hex(reinterpret_cast<const BYTE*>(&written), sizeof written) + "\n";
  std::vector<BYTE> data(1 << 16);
  for (DWORD i = 0;; ++i) {
    char name[16384];
    DWORD nameLength = sizeof name, type = 0, dataLength = static_cast<DWORD>(data.size());
    if (RegEnumValueA(key, i, name, &nameLength, nullptr, &type, data.data(), &dataLength) != ERROR_SUCCESS) break;
    *out += std::string("  ") + name + " type=" + std::to_string(type) + " " + Hex(data.data(), dataLength) + "\n";
  }
  for (DWORD i = 0;; ++i) {
    char name[256];
    DWORD nameLength = sizeof name;
    if (RegEnumKeyExA(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    HKEY child;
    if (RegOpenKeyExA(key, name, 0, KEY_READ, &child) != ERROR_SUCCESS) {
      *out += "[" + path + "\\" + name + "] unreadable\n";
      continue;
    }
    Export(child, path + "\\" + name, out);
    RegCloseKey(child);
  }
}

std::string ExportCurrentUser() {
  std::string text;
  Export(HKEY_CURRENT_USER, "HKEY_CURRENT_USER", &text);
  return text;
}

// Every run is watched: the export of the current user's registry must be the
// same before and after it. The key that hivepeek names holds a value while it
// runs, so a read that should not happen would show in the transcript.
class Hivepeek : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kSchemes, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &schemes_,
                              &disposition_),
              ERROR_SUCCESS);
    const char scheme[] = "Tessaric test scheme";
    RegSetValueExA(schemes_, "Tessaric", 0, REG_SZ, reinterpret_cast<const BYTE*>(scheme), sizeof scheme);
    before_ = ExportCurrentUser();
    ASSERT_NE(before_.find(std::string("[HKEY_CURRENT_USER\\") + kSchemes + "]"), std::string::npos);
  }
  void TearDown() override {
    EXPECT_EQ(ExportCurrentUser(), before_) << "the registry changed";
    RegDeleteValueA(schemes_, "Tessaric");
    RegCloseKey(schemes_);
    if (disposition_ == REG_CREATED_NEW_KEY) RegDeleteKeyA(HKEY_CURRENT_USER, kSchemes);
  }

  static constexpr const char* kSchemes = "Control Panel\\Appearance\\Schemes";
  HKEY schemes_ = nullptr;
  DWORD disposition_ = 0;
  std::string before_;
};

TEST_F(Hivepeek, SaysNoKeyIsOpenAndWaitsForAKey) {
  DWORD exitCode = STILL_ACTIVE;
  EXPECT_EQ(RunConsoleProgram(BinPath("hivepeek.exe"), kPrompt, &exitCode), kTranscript);
  EXPECT_EQ(exitCode, 0u);
}

TEST_F(Hivepeek, EndsAtTheEndOfInputThatIsNotAConsole) {
  LaunchOptions options;
  options.nullInput = true;
  options.outputFile = FreshDir("hivepeek-null") + "\\output.txt";
  Process process = Launch(BinPath("hivepeek.exe"), options);
  ASSERT_NE(process.handle, nullptr);
  EXPECT_EQ(process.WaitExit(), 0u);
  EXPECT_EQ(ReadFileBytes(options.outputFile), kTranscript);
}

}  // namespace
