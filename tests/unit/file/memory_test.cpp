#include <cstring>
#include <string>

#include "file_fixture.h"

using namespace tessaric;

namespace {

using FileMemoryTest = FileTest;

TEST_F(FileMemoryTest, LoadReadsTheWholeFileOnce) {
  StringValue copy = LoadWith("m.dat", "hello world", 0);
  ASSERT_EQ(copy.length, 11);
  EXPECT_EQ(std::memcmp(copy.text, "hello world", 12), 0);
  EXPECT_NE(record_.data.handle, nullptr);
  EXPECT_EQ(copy.text, record_.data.text);
  EXPECT_EQ(record_.data.position, 0);
  EXPECT_EQ(record_.data.length, 11);
  EXPECT_EQ(record_.data.capacity, 11);
  EXPECT_EQ(Read(6), "hello ");

  // Loaded already: the copy and its position stay as they are.
  StringValue again = FileLoad(&record_);
  EXPECT_EQ(again.text, copy.text);
  EXPECT_EQ(again.length, 11);
  EXPECT_EQ(record_.data.position, 6);
  EXPECT_EQ(Read(100), "world");
  EXPECT_EQ(FileAtEnd(), 1);
}

TEST_F(FileMemoryTest, ReadPastTheSizeMovesOnlyWhatRemains) {
  LoadWith("r.dat", "abcdefgh", 0);
  FileSeek(6);
  EXPECT_EQ(Read(100000), "gh");
  EXPECT_EQ(record_.data.position, 8);
  EXPECT_EQ(Read(1), "");
  FileSeek(50);
  EXPECT_EQ(Read(4), "");
  EXPECT_EQ(record_.data.position, 50);
}

TEST_F(FileMemoryTest, WritesExtendTheCopyAndCloseWritesItBack) {
  LoadWith("w.dat", "abcdef", 2);
  FileSeek(4);
  EXPECT_EQ(Write("WXYZ"), 4);
  EXPECT_EQ(record_.data.position, 8);
  EXPECT_EQ(record_.data.length, 8);
  // Growing the copy makes the end mark the new block size.
  EXPECT_EQ(static_cast<SIZE_T>(record_.data.capacity), GlobalSize(record_.data.handle));
  EXPECT_EQ(std::memcmp(record_.data.text, "abcdWXYZ", 9), 0);
  EXPECT_EQ(Disk("w.dat"), "abcdef");  // only the copy has changed so far
  EXPECT_EQ(FileClose(), 0);
  EXPECT_EQ(Disk("w.dat"), "abcdWXYZ");
  EXPECT_TRUE(Cleared());
}

TEST_F(FileMemoryTest, EndTestAfterAGrowingWriteStopsAtTheSize) {
  // The write grows the block well beyond the 11 bytes of the copy; a read loop
  // that runs until the end test says so must stop where the reads stop.
  LoadWith("e.dat", "hello", 2);
  FileSeek(5);
  EXPECT_EQ(Write(" world"), 6);
  FileSeek(0);
  std::string seen;
  int reads = 0;
  while (FileAtEnd() == 0 && reads < 10) {
    seen += Read(4);
    ++reads;
  }
  EXPECT_EQ(seen, "hello world");
  EXPECT_EQ(reads, 3);
}

TEST_F(FileMemoryTest, LoadCopiesTheWholeFileWhereverTheFilePointerIs) {
  OpenWith("p.dat", "hello", 2);
  EXPECT_EQ(Read(2), "he");
  StringValue copy = FileLoad(&record_);
  EXPECT_EQ(std::string(copy.text, copy.length), "hello");
  EXPECT_EQ(Read(5), "hello");
  EXPECT_EQ(FileClose(), 0);
  EXPECT_EQ(Disk("p.dat"), "hello");  // nothing was written, nothing changes
}

TEST_F(FileMemoryTest, WriteInsideTheCopyKeepsTheByteAfterIt) {
  LoadWith("i.dat", "abcdef", 2);
  FileSeek(1);
  EXPECT_EQ(Write("XY"), 2);
  EXPECT_EQ(Read(3), "def");
  EXPECT_EQ(FileClose(), 0);
  EXPECT_EQ(Disk("i.dat"), "aXYdef");
}

TEST_F(FileMemoryTest, WriteBeyondTheSizeLeavesZerosBetween) {
  LoadWith("g.dat", "abcd", 2);
  FileSeek(300);
  EXPECT_EQ(Write("Q"), 1);
  EXPECT_EQ(record_.data.length, 301);
  EXPECT_EQ(FileClose(), 0);
  std::string expected = "abcd" + std::string(296, '\0') + "Q";
  EXPECT_EQ(Disk("g.dat"), expected);
}

TEST_F(FileMemoryTest, ReadOnlyModeWritesNothingBack) {
  LoadWith("ro.dat", "keep", 0);
  EXPECT_EQ(Write("XXXXXXXX"), 8);
  EXPECT_EQ(std::memcmp(record_.data.text, "XXXXXXXX", 8), 0);
  EXPECT_EQ(FileClose(), 0);
  EXPECT_EQ(Disk("ro.dat"), "keep");
}

TEST_F(FileMemoryTest, WriteBackOverwritesWithoutTruncating) {
  // A write-only handle cannot read, so the copy starts empty.
  StringValue copy = LoadWith("t.dat", "0123456789", 1);
  EXPECT_EQ(copy.length, 0);
  EXPECT_EQ(Write("ab"), 2);
  EXPECT_EQ(FileClose(), 0);
  EXPECT_EQ(Disk("t.dat"), "ab23456789");
}

// A seek before the start goes to the start, on disk and in memory alike: a
// loop that reads while the end test says no then reads the file once and ends.
TEST_F(FileMemoryTest, SeekBeforeTheStartGoesToTheStart) {
  for (bool memory : {false, true}) {
    for (int32_t offset : {-4, INT32_MIN}) {
      SCOPED_TRACE(std::string(memory ? "memory" : "disk") + ", seek " + std::to_string(offset));
      OpenWith("n.dat", "abcdef", 2);
      if (memory) FileLoad(&record_);
      EXPECT_EQ(Read(2), "ab");
      EXPECT_EQ(FileSeek(offset), 0u);
      EXPECT_EQ(record_.data.position, 0);
      std::string all;
      // Bounded, so that a loop that would never end fails instead of hanging.
      for (int reads = 0; reads < 100 && FileAtEnd() == 0; ++reads) all += Read(4);
      EXPECT_EQ(all, "abcdef");
      EXPECT_EQ(FileAtEnd(), 1);
      EXPECT_EQ(FileClose(), 0);
      EXPECT_EQ(Disk("n.dat"), "abcdef");
    }
  }
}

TEST_F(FileMemoryTest, RefreshSizeReportsTheDiskButKeepsTheCopy) {
  // The copy of a write-only file starts empty while the file holds 3000 bytes.
  LoadWith("big.dat", std::string(3000, 'd'), 1);
  EXPECT_EQ(FileRefreshSize(), 3000);
  EXPECT_EQ(record_.data.length, 0);
  EXPECT_EQ(record_.data.capacity, 0);
  EXPECT_EQ(Write(std::string(200, 'w')), 200);
  FileSeek(0);
  EXPECT_EQ(Read(5000), std::string(200, 'w'));
  EXPECT_EQ(FileClose(), 0);
  EXPECT_EQ(Disk("big.dat"), std::string(200, 'w') + std::string(2800, 'd'));
}

TEST_F(FileMemoryTest, RefreshSizeLosesNoBytesOfTheCopy) {
  ASSERT_NE(Open("new.dat", 2), INVALID_HANDLE_VALUE);
  FileLoad(&record_);
  EXPECT_EQ(Write("hello"), 5);
  EXPECT_EQ(FileRefreshSize(), 0);  // nothing on disk yet
  EXPECT_EQ(record_.data.length, 5);
  EXPECT_EQ(FileClose(), 0);
  EXPECT_EQ(Disk("new.dat"), "hello");
}

// Bytes of the copy itself written into it (f.Write(f.Load)) arrive as if
// through a separate buffer, wherever they go and however far the block grows.
TEST_F(FileMemoryTest, WritingTheCopyIntoItselfMovesAsThroughASeparateBuffer) {
  struct Case {
    int32_t position, from, count;
  };
  const Case cases[] = {
      {5, 0, 10}, {0, 0, 10}, {1, 0, 10}, {9, 0, 10}, {10, 0, 10},  // the whole copy, at places in and after it
      {2, 1, 8},  {3, 5, 5},  {0, 4, 6},  {7, 2, 3},  {300, 0, 10}, {5000, 3, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("bytes " + std::to_string(c.from) + " to " + std::to_string(c.from + c.count) + " at " +
                 std::to_string(c.position));
    StringValue copy = LoadWith("o.dat", "0123456789", 2);
    std::string expected(copy.text, copy.length);
    std::string moved = expected.substr(c.from, c.count);
    if (expected.size() < static_cast<size_t>(c.position + c.count)) expected.resize(c.position + c.count, '\0');
    expected.replace(c.position, c.count, moved);
    FileSeek(c.position);
    EXPECT_EQ(FileTransfer(&record_, record_.data.text + c.from, c.count, kFileWriteBytes), c.count);
    EXPECT_EQ(record_.data.position, c.position + c.count);
    ASSERT_EQ(record_.data.length, static_cast<int32_t>(expected.size()));
    EXPECT_EQ(std::string(record_.data.text, record_.data.length), expected);
    EXPECT_EQ(record_.data.text[record_.data.length], 0);
    EXPECT_EQ(FileClose(), 0);
    EXPECT_EQ(Disk("o.dat"), expected);
  }
}

TEST_F(FileMemoryTest, LoadAfterAFailedOpenGivesAnEmptyCopy) {
  ASSERT_EQ(FileOpen(Path("no-such-folder\\x.dat").c_str(), 2), INVALID_HANDLE_VALUE);
  StringValue copy = FileLoad(&record_);
  EXPECT_EQ(copy.length, 0);
  EXPECT_EQ(FileAtEnd(), 1);
  EXPECT_EQ(Read(4), "");
  EXPECT_EQ(FileClose(), 0);
  EXPECT_TRUE(Cleared());
}

}  // namespace
