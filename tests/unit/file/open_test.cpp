#include <cstring>

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

TEST_F(FileOpenTest, ReopeningDropsAMemoryCopyUnwritten) {
  LoadWith("first.dat", "abc", 2);
  EXPECT_EQ(Write("XYZ"), 3);
  ASSERT_NE(Open("second.dat", 2), INVALID_HANDLE_VALUE);
  EXPECT_EQ(record_.data.handle, nullptr);
  EXPECT_EQ(record_.data.length, 0);
  EXPECT_EQ(Write("d"), 1);  // on disk now
  EXPECT_EQ(FileClose(), 0);
  EXPECT_EQ(Disk("first.dat"), "abc");
  EXPECT_EQ(Disk("second.dat"), "d");
}

TEST_F(FileOpenTest, ReopeningLeavesALoadedPairReadable) {
  // The program may still hold the pair that FileLoad handed out; the blocks
  // allocated next must not be able to take its place.
  const std::string first = "text of the first file, kept by the program";
  StringValue kept = LoadWith("first.dat", first, 0);
  ASSERT_NE(Open("second.dat", 2), INVALID_HANDLE_VALUE);
  const std::string other(first.size(), '#');
  StringDescriptor strings[4] = {};
  for (StringDescriptor& s : strings) {
    StrAlloc(&s, static_cast<uint32_t>(first.size()));
    StrAssign(other.data(), &s, static_cast<int32_t>(other.size()));
  }
  EXPECT_EQ(std::string(kept.text, kept.length), first);
  for (StringDescriptor& s : strings) GlobalFree(s.handle);
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
