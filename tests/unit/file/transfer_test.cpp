#include <cstring>

#include "file_fixture.h"

using namespace tessaric;

namespace {

using FileTransferTest = FileTest;

TEST_F(FileTransferTest, ReadingAFiveByteFileReachesTheEnd) {
  OpenWith("five.dat", "hello", 0);
  EXPECT_EQ(FileAtEnd(), 0);
  EXPECT_EQ(Read(5), "hello");
  EXPECT_EQ(record_.data.position, 5);
  EXPECT_EQ(FileAtEnd(), 1);
  EXPECT_EQ(Read(5), "");
  EXPECT_EQ(record_.data.position, 5);
}

TEST_F(FileTransferTest, ShortReadAtTheEndMovesWhatIsThere) {
  OpenWith("abc.dat", "abcdefgh", 0);
  EXPECT_EQ(FileSeek(5), 5u);
  EXPECT_EQ(record_.data.position, 5);
  EXPECT_EQ(Read(10), "fgh");
  EXPECT_EQ(record_.data.position, 8);
}

TEST_F(FileTransferTest, WritesPastTheSizeRaiseSizeAndEndMark) {
  ASSERT_NE(Open("grow.dat", 2), INVALID_HANDLE_VALUE);
  EXPECT_EQ(Write("abcd"), 4);
  EXPECT_EQ(record_.data.position, 4);
  EXPECT_EQ(record_.data.length, 4);
  EXPECT_EQ(record_.data.capacity, 4);
  EXPECT_EQ(FileAtEnd(), 1);

  EXPECT_EQ(FileSeek(1), 1u);
  EXPECT_EQ(FileAtEnd(), 0);
  EXPECT_EQ(Write("Z"), 1);  // inside the file: the size stays
  EXPECT_EQ(record_.data.length, 4);
  EXPECT_EQ(Read(2), "cd");

  EXPECT_EQ(Write("ef"), 2);
  EXPECT_EQ(record_.data.length, 6);
  EXPECT_EQ(record_.data.capacity, 6);
  EXPECT_EQ(Disk("grow.dat"), "aZcdef");
}

TEST_F(FileTransferTest, WriteThatMovesNothingLeavesTheSize) {
  // A read-only handle refuses the bytes; an empty write has none. Either way
  // the file does not grow, so the end test must not say it did.
  struct Case {
    uint32_t mode;
    const char* bytes;
  };
  for (Case c : {Case{0, "xy"}, Case{2, ""}}) {
    OpenWith("z.dat", "abc", c.mode);
    FileSeek(6);
    EXPECT_EQ(Write(c.bytes), 0) << c.mode;
    FileSeek(4);
    EXPECT_EQ(FileAtEnd(), 1) << c.mode;
    EXPECT_EQ(FileClose(), 0);
    EXPECT_EQ(Disk("z.dat"), "abc") << c.mode;
  }
}

TEST_F(FileTransferTest, NegativeCountsMoveNothing) {
  OpenWith("n.dat", "abc", 2);
  char buffer[4] = "xyz";
  EXPECT_EQ(FileTransfer(&record_, buffer, -1, kFileReadBytes), 0);
  EXPECT_EQ(FileTransfer(&record_, buffer, -1, kFileWriteBytes), 0);
  EXPECT_EQ(record_.data.position, 0);
  EXPECT_STREQ(buffer, "xyz");
  EXPECT_EQ(Disk("n.dat"), "abc");
}

TEST_F(FileTransferTest, WriteLineAddsCrLf) {
  ASSERT_NE(Open("line.txt", 1), INVALID_HANDLE_VALUE);
  FileWriteLine("abc", 3);
  EXPECT_EQ(record_.data.position, 5);
  EXPECT_EQ(record_.data.length, 5);
  EXPECT_EQ(record_.data.capacity, 5);
  FileWriteLine("", 0);
  EXPECT_EQ(Disk("line.txt"), "abc\r\n\r\n");
}

TEST_F(FileTransferTest, SeekMovesTheFilePointer) {
  OpenWith("s.dat", "0123456789", 0);
  EXPECT_EQ(FileSeek(7), 7u);
  EXPECT_EQ(Read(1), "7");
  EXPECT_EQ(FileSeek(2), 2u);
  EXPECT_EQ(Read(2), "23");
  EXPECT_EQ(FileSeek(0), 0u);
  EXPECT_EQ(record_.data.position, 0);
  EXPECT_EQ(Read(1), "0");
}

using FileSizeTest = FileTest;

TEST_F(FileSizeTest, RefreshSizeTakesTheSizeOnDisk) {
  OpenWith("r.dat", "0123456789", 0);
  record_.data.length = record_.data.capacity = 2;
  EXPECT_EQ(FileRefreshSize(), 10);
  EXPECT_EQ(record_.data.length, 10);
  EXPECT_EQ(record_.data.capacity, 10);
}

TEST_F(FileSizeTest, AtEndReadsTheRecordAtQueryObject) {
  FileRecord other{};
  other.data.capacity = 8;
  other.data.position = 3;
  record_.data.capacity = 3;
  record_.data.position = 3;
  QueryObject = &other;
  EXPECT_EQ(FileAtEnd(), 0);
  other.data.position = 9;  // past the end mark counts as at the end
  EXPECT_EQ(FileAtEnd(), 1);
  QueryObject = &record_;
  EXPECT_EQ(FileAtEnd(), 1);
  record_.data.position = -1;
  EXPECT_EQ(FileAtEnd(), 0);
}

}  // namespace
