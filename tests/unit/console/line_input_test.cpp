// Lines of standard input, read from a pipe as a program started with its
// input redirected reads them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/console.h"
#include "core/language.h"

using namespace tessaric;

namespace {

class LineInput : public ::testing::Test {
 protected:
  // The written bytes wait in a pipe that is standard input.
  void Feed(const std::string& bytes) {
    HANDLE write;
    ASSERT_TRUE(CreatePipe(&read_, &write, nullptr, static_cast<DWORD>(bytes.size() + 1)));
    DWORD written;
    WriteFile(write, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(write);
    saved_ = StdInputHandle;
    StdInputHandle = read_;
  }
  void TearDown() override {
    StdInputHandle = saved_;
    if (read_ != nullptr) CloseHandle(read_);
  }
  std::string Line() {
    ConsoleReadLine(&line_);
    return std::string(line_.text, static_cast<size_t>(line_.length));
  }
  // What is left in the pipe for the next reader.
  std::string Rest() {
    std::string rest;
    char byte;
    DWORD n;
    while (ReadFile(read_, &byte, 1, &n, nullptr) && n == 1) rest += byte;
    return rest;
  }

  HANDLE read_ = nullptr;
  HANDLE saved_ = nullptr;
  StringDescriptor line_ = {};
};

TEST_F(LineInput, ReadsOneLineAtATimeWithoutItsLineEnd) {
  Feed("first\r\nsecond\n\nthird");
  StrAlloc(&line_, kVariableSize);
  EXPECT_EQ(Line(), "first");
  EXPECT_EQ(Line(), "second");
  EXPECT_EQ(Line(), "");
  EXPECT_EQ(Line(), "third");
  // At the end of the input: the empty string, every time.
  EXPECT_EQ(Line(), "");
  EXPECT_EQ(Line(), "");
}

TEST_F(LineInput, TakesNoByteBeyondTheLine) {
  Feed("one\ntwo\n");
  StrAlloc(&line_, kVariableSize);
  EXPECT_EQ(Line(), "one");
  EXPECT_EQ(Rest(), "two\n");
}

TEST_F(LineInput, ALineLongerThanAnyBufferComesWhole) {
  std::string longLine;
  for (int i = 0; i < 20000; ++i) longLine += static_cast<char>('a' + i % 26);
  Feed(longLine + "\nnext\n");
  StrAlloc(&line_, kVariableSize);
  EXPECT_EQ(Line(), longLine);
  EXPECT_EQ(line_.text[line_.length], 0);
  EXPECT_EQ(Line(), "next");
}

TEST_F(LineInput, InputLineNeedsNoBlockAndReadsOneLine) {
  // A statement's temporary has no block before its first use.
  Feed("a, b\r\nnext\n");
  StringDescriptor temp = {};
  StringValue line = InputLine(&temp);
  EXPECT_EQ(std::string(line.text, static_cast<size_t>(line.length)), "a, b");
  EXPECT_EQ(Rest(), "next\n");
}

struct FieldsCase {
  const char* line;
  std::vector<std::string> fields;  // as many as are asked for, in turn
};

TEST_F(LineInput, FieldsAreTheTextsBetweenCommasWithoutTheirBlanks) {
  const FieldsCase cases[] = {
      {"a,b,c", {"a", "b", "c"}},
      {"  a  , b b ,c  ", {"a", "b b", "c"}},
      {"\t x \t,y", {"x", "y"}},
      {"a,,c", {"a", "", "c"}},
      {"a", {"a", "", ""}},  // fewer fields than asked for
      {"a,", {"a", "", ""}},
      {",", {"", "", ""}},
      {"", {"", ""}},
      {"1,2,3", {"1", "2"}},  // more than asked for: the rest is left
      {" -12.5e1x , &HFF", {"-12.5e1x", "&HFF"}},
  };
  for (const FieldsCase& c : cases) {
    StringValue line{c.line, static_cast<int32_t>(std::string(c.line).size())};
    int32_t at = 0;
    for (size_t i = 0; i < c.fields.size(); ++i) {
      StringValue field = InputField(line, &at);
      EXPECT_EQ(std::string(field.text, static_cast<size_t>(field.length)), c.fields[i]) << c.line << " field " << i;
    }
  }
}

TEST_F(LineInput, ANumberIsTheOneAtTheStartOfTheLine) {
  Feed("  12.5 apples\nnone\n");
  ResetFpu();
  EXPECT_EQ(ConsoleReadNumber(), 12.5L);
  EXPECT_EQ(ConsoleReadNumber(), 0);
  EXPECT_EQ(ConsoleReadNumber(), 0);
}

}  // namespace
