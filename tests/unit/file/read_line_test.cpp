// FileReadLine: the lines of a file one after the other, on disk and from the
// memory copy, with the position and the end test kept as transfers keep them.
#include <string>
#include <vector>

#include "file_fixture.h"

using namespace tessaric;

namespace {

class FileReadLineTest : public FileTest {
 protected:
  std::string Line() {
    StringValue line = FileReadLine(&record_);
    // A line is a string like any other: its text ends in a NUL.
    EXPECT_EQ(line.text[line.length], 0);
    return std::string(line.text, static_cast<size_t>(line.length));
  }
  // Every line until the end test says the file is done.
  std::vector<std::string> AllLines() {
    std::vector<std::string> lines;
    while (FileAtEnd() == 0 && lines.size() < 100) lines.push_back(Line());
    return lines;
  }
  // A line longer than any buffer that reads it: every byte but LF and CR.
  static std::string LongLine(size_t length) {
    std::string line;
    for (size_t i = 0; i < length; ++i) line += static_cast<char>('a' + i % 26);
    return line;
  }
};

using Lines = std::vector<std::string>;

struct LinesCase {
  const char* name;
  std::string bytes;
  Lines lines;
};

std::ostream& operator<<(std::ostream& out, const LinesCase& c) { return out << c.name; }

// A line ends at LF, or at CR LF; a CR anywhere else is part of the line. A
// LF at the very end ends the last line: no empty line follows it.
const LinesCase kLinesCases[] = {
    {"crlf", "one\r\ntwo\r\n", {"one", "two"}},
    {"lf", "one\ntwo\n", {"one", "two"}},
    {"mixed", "one\r\ntwo\nthree\r\n", {"one", "two", "three"}},
    {"last_line_without_an_end", "one\ntwo", {"one", "two"}},
    {"empty_lines", "\n\r\none\n\n", {"", "", "one", ""}},
    {"lone_cr_stays", "a\rb\r\nc\r", {"a\rb", "c\r"}},
    {"single_lf", "\n", {""}},
    {"empty_file", "", {}},
    {"zero_bytes_belong_to_the_line", std::string("a\0b\nc", 5), {std::string("a\0b", 3), "c"}},
};

class FileLines : public FileReadLineTest, public ::testing::WithParamInterface<LinesCase> {};

TEST_P(FileLines, OnDiskEachLineWithoutItsEnd) {
  const LinesCase& c = GetParam();
  OpenWith("lines.txt", c.bytes, 0);
  EXPECT_EQ(AllLines(), c.lines);
  EXPECT_EQ(record_.data.position, static_cast<int32_t>(c.bytes.size()));
}

TEST_P(FileLines, FromTheMemoryCopyTheSame) {
  const LinesCase& c = GetParam();
  LoadWith("lines.txt", c.bytes, 0);
  EXPECT_EQ(AllLines(), c.lines);
  EXPECT_EQ(record_.data.position, static_cast<int32_t>(c.bytes.size()));
}

INSTANTIATE_TEST_SUITE_P(Table, FileLines, ::testing::ValuesIn(kLinesCases),
                         [](const ::testing::TestParamInfo<LinesCase>& info) { return std::string(info.param.name); });

TEST_F(FileReadLineTest, AtTheEndGivesEmptyAndStays) {
  for (bool memory : {false, true}) {
    OpenWith("end.txt", "only\n", 0);
    if (memory) FileLoad(&record_);
    EXPECT_EQ(Line(), "only") << memory;
    EXPECT_EQ(FileAtEnd(), 1) << memory;
    EXPECT_EQ(Line(), "") << memory;
    EXPECT_EQ(Line(), "") << memory;
    EXPECT_EQ(record_.data.position, 5) << memory;
    EXPECT_EQ(FileClose(), 0);
  }
}

TEST_F(FileReadLineTest, TheNextTransferStartsRightAfterTheLine) {
  // On disk a line is read in chunks; the bytes read past its end go back.
  OpenWith("after.txt", "first\r\nsecond line\r\n", 0);
  EXPECT_EQ(Line(), "first");
  EXPECT_EQ(record_.data.position, 7);
  EXPECT_EQ(Read(6), "second");
  EXPECT_EQ(Line(), " line");
  EXPECT_EQ(FileAtEnd(), 1);
}

TEST_F(FileReadLineTest, StartsAtASeekAndAfterARead) {
  OpenWith("seek.txt", "abc\ndef\nghi\n", 0);
  FileSeek(5);
  EXPECT_EQ(Line(), "ef");
  EXPECT_EQ(Read(1), "g");
  EXPECT_EQ(Line(), "hi");
  FileSeek(40);  // past the end: nothing to read
  EXPECT_EQ(Line(), "");
  EXPECT_EQ(record_.data.position, 40);
}

TEST_F(FileReadLineTest, ALongLineComesWhole) {
  // Far longer than a chunk of the disk read and than a temporary's first block.
  const std::string longLine = LongLine(100000);
  for (bool memory : {false, true}) {
    OpenWith("long.txt", longLine + "\r\n" + longLine + "x\nend", 0);
    if (memory) FileLoad(&record_);
    EXPECT_EQ(Line(), longLine) << memory;
    EXPECT_EQ(Line(), longLine + "x") << memory;
    EXPECT_EQ(Line(), "end") << memory;
    EXPECT_EQ(FileAtEnd(), 1) << memory;
    EXPECT_EQ(FileClose(), 0);
  }
}

TEST_F(FileReadLineTest, ACrLfSplitAcrossChunksIsOneLineEnd) {
  // The disk read takes 512 bytes at a time: the CR ends one, the LF starts the next.
  const std::string head = LongLine(511);
  OpenWith("split.txt", head + "\r\nnext", 0);
  EXPECT_EQ(Line(), head);
  EXPECT_EQ(Line(), "next");
}

TEST_F(FileReadLineTest, TheMemoryCopyIsWhatIsRead) {
  // After Load the lines come from the copy, changes included (the disk
  // still holds the old bytes), and never from beyond its size, whatever the
  // block holds past the copy's end.
  LoadWith("copy.txt", "one\ntwo\n", 2);
  FileSeek(4);
  EXPECT_EQ(Write("TWO\nthree"), 9);
  FileSeek(0);
  EXPECT_EQ(AllLines(), (Lines{"one", "TWO", "three"}));
  EXPECT_EQ(record_.data.position, 13);
  // The grown block holds more than the copy: the end is the copy's size.
  EXPECT_GT(record_.data.capacity, record_.data.length);
  EXPECT_EQ(Line(), "");
}

TEST_F(FileReadLineTest, ReadingAPipeTakesNoByteBeyondTheLine) {
  // A handle that cannot move back (a pipe, a device) is read a byte at a
  // time: the rest stays for the next reader.
  HANDLE read, write;
  ASSERT_TRUE(CreatePipe(&read, &write, nullptr, 64));
  DWORD written;
  WriteFile(write, "one\r\ntwo\nthree", 14, &written, nullptr);
  CloseHandle(write);
  record_.FileHandle = read;
  EXPECT_EQ(Line(), "one");
  EXPECT_EQ(record_.data.position, 5);
  char rest[4] = {};
  DWORD got = 0;
  ASSERT_TRUE(ReadFile(read, rest, 3, &got, nullptr));
  EXPECT_EQ(std::string(rest, got), "two");
  EXPECT_EQ(Line(), "");  // the LF that ended "two"
  EXPECT_EQ(Line(), "three");
  EXPECT_EQ(Line(), "");
  CloseHandle(read);
  record_.FileHandle = nullptr;
}

TEST_F(FileReadLineTest, ARecordThatIsNotOpenReadsNothing) {
  EXPECT_EQ(Line(), "");
  EXPECT_EQ(record_.data.position, 0);
  // A failed open leaves INVALID_HANDLE_VALUE: nothing to read either.
  HANDLE failed = Open("no\\such\\folder\\x.txt", 0);
  ASSERT_EQ(failed, INVALID_HANDLE_VALUE);
  EXPECT_EQ(Line(), "");
  EXPECT_EQ(record_.data.position, 0);
  record_.FileHandle = nullptr;
}

}  // namespace
