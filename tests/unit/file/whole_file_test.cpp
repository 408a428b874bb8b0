#include <cstring>

#include "file_fixture.h"

using namespace tessaric;

namespace {

using FileReadAllTest = FileTest;

TEST_F(FileReadAllTest, MissingFileIsCreatedEmpty) {
  std::string path = Path("missing.bas");
  ASSERT_FALSE(driver::FileExists(path));
  StringValue text = FileReadAll(&record_, path.c_str());
  EXPECT_EQ(text.length, 0);
  ASSERT_NE(text.text, nullptr);
  EXPECT_EQ(text.text[0], 0);
  EXPECT_TRUE(driver::FileExists(path));
  EXPECT_EQ(driver::ReadFileBytes(path), "");
  EXPECT_EQ(record_.FileHandle, nullptr);
  EXPECT_EQ(record_.data.length, 0);
  EXPECT_EQ(record_.data.capacity, 0);
}

TEST_F(FileReadAllTest, TenByteFileGivesItsBytesAndANul) {
  std::string path = Path("ten.bas");
  driver::WriteFileBytes(path, "0123456789");
  record_.data.position = 7;  // left over from earlier use
  StringValue text = FileReadAll(&record_, path.c_str());
  ASSERT_EQ(text.length, 10);
  EXPECT_EQ(text.text, record_.data.text);
  EXPECT_EQ(std::memcmp(text.text, "0123456789", 11), 0);
  EXPECT_EQ(record_.data.position, 0);
  EXPECT_EQ(record_.data.length, 10);
  EXPECT_EQ(record_.data.capacity, 10);
  EXPECT_EQ(record_.FileHandle, nullptr);
  // The file is closed again: it can be replaced at once.
  driver::WriteFileBytes(path, "x");
  EXPECT_EQ(driver::ReadFileBytes(path), "x");
}

TEST_F(FileReadAllTest, EachReadReplacesThePreviousText) {
  std::string big = Path("big.bas"), small = Path("small.bas");
  driver::WriteFileBytes(big, std::string(5000, 'b'));
  driver::WriteFileBytes(small, "abc");
  StringValue first = FileReadAll(&FileTextBuffer, big.c_str());
  EXPECT_EQ(first.length, 5000);
  EXPECT_EQ(first.text[4999], 'b');
  EXPECT_EQ(first.text[5000], 0);
  StringValue second = FileReadAll(&FileTextBuffer, small.c_str());
  ASSERT_EQ(second.length, 3);
  EXPECT_EQ(std::memcmp(second.text, "abc", 4), 0);
  EXPECT_EQ(FileTextBuffer.data.length, 3);
}

TEST_F(FileReadAllTest, UnopenableFileReadsAsEmpty) {
  std::string path = Path("no-such-folder\\file.bas");
  StringValue text = FileReadAll(&record_, path.c_str());
  EXPECT_EQ(text.length, 0);
  ASSERT_NE(text.text, nullptr);
  EXPECT_EQ(text.text[0], 0);
  EXPECT_EQ(record_.data.capacity, 0);
  EXPECT_FALSE(driver::FileExists(path));
}

using FileSaveTextTest = FileTest;

TEST_F(FileSaveTextTest, ReplacesTheFileWithExactlyTheString) {
  std::string path = Path("saved.txt");
  driver::WriteFileBytes(path, "a much longer old content");
  StrAlloc(&record_.data, 59);
  StrAssign(Literal("new\r\ntext"), &record_.data);
  EXPECT_EQ(FileSaveText(&record_, path.c_str()), 9u);
  EXPECT_EQ(driver::ReadFileBytes(path), "new\r\ntext");
}

TEST_F(FileSaveTextTest, RoundTripsThroughFileReadAll) {
  std::string path = Path("round.txt");
  StrAlloc(&record_.data, 59);
  StrAssign(Literal("line one\r\nline two"), &record_.data);
  FileSaveText(&record_, path.c_str());
  FileRecord back{};
  StringValue text = FileReadAll(&back, path.c_str());
  ASSERT_EQ(text.length, 18);
  EXPECT_EQ(std::memcmp(text.text, "line one\r\nline two", 18), 0);
}

TEST_F(FileSaveTextTest, UnopenableFileWritesNothing) {
  std::string path = Path("no-such-folder\\file.txt");
  StrAlloc(&record_.data, 59);
  StrAssign(Literal("text"), &record_.data);
  EXPECT_EQ(FileSaveText(&record_, path.c_str()), 0u);
  EXPECT_FALSE(driver::FileExists(path));
}

}  // namespace
