// The print position with standard output redirected: a pipe stands for the
// file or pipe, where the column is the count of bytes since the line began.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/console.h"

using namespace tessaric;

namespace {

class PrintPosition : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CreatePipe(&read_, &write_, nullptr, 1 << 16));
    saved_ = StdOutputHandle;
    StdOutputHandle = write_;
    PrintColumn = 0;
  }
  void TearDown() override {
    StdOutputHandle = saved_;
    CloseHandle(read_);
    CloseHandle(write_);
  }
  // What was written since the last call.
  std::string Output() {
    std::string bytes;
    DWORD waiting = 0;
    if (PeekNamedPipe(read_, nullptr, 0, nullptr, &waiting, nullptr) && waiting > 0) {
      bytes.resize(waiting);
      DWORD got = 0;
      ReadFile(read_, &bytes[0], waiting, &got, nullptr);
      bytes.resize(got);
    }
    return bytes;
  }
  void Write(const std::string& text) { PrintWrite(text.data(), static_cast<uint32_t>(text.size())); }

  HANDLE read_ = nullptr, write_ = nullptr, saved_ = nullptr;
};

struct CountCase {
  std::vector<std::string> writes;
  uint32_t column;
};

TEST_F(PrintPosition, TheColumnCountsTheBytesSinceTheLastCrOrLf) {
  const CountCase cases[] = {
      {{}, 0},
      {{"abc"}, 3},
      {{"abc", "de"}, 5},
      {{"abc", ""}, 3},
      {{"ab\ncd"}, 2},
      {{"ab\r"}, 0},
      {{"abc", "\r\nx"}, 1},
      {{"a\nb", "cd"}, 3},
      {{"x\ty"}, 3},  // a tab is one byte
  };
  for (const CountCase& c : cases) {
    PrintColumn = 0;
    std::string all;
    for (const std::string& w : c.writes) {
      Write(w);
      all += w;
    }
    EXPECT_EQ(PrintColumn, c.column) << all;
    EXPECT_EQ(Output(), all);
  }
}

TEST_F(PrintPosition, ALineEndStartsTheCountAgain) {
  Write("abc");
  PrintNewLine();
  EXPECT_EQ(PrintColumn, 0u);
  EXPECT_EQ(Output(), "abc\r\n");
}

TEST_F(PrintPosition, TheCountStopsAtItsTop) {
  PrintColumn = 0xFFFFFFF0u;
  Write(std::string(32, 'x'));
  EXPECT_EQ(PrintColumn, 0xFFFFFFFFu);
}

struct ZoneCase {
  uint32_t column;  // before the ','
  uint32_t blanks;
};

TEST_F(PrintPosition, ACommaMovesOnToTheNextZoneOfFourteen) {
  // Always on: at a zone's first column the next zone is 14 further.
  const ZoneCase cases[] = {{0, 14}, {1, 13}, {13, 1}, {14, 14}, {15, 13}, {27, 1}, {28, 14}, {100, 12}};
  for (const ZoneCase& c : cases) {
    Write(std::string(c.column, 'x'));
    Output();
    PrintZone();
    EXPECT_EQ(Output(), std::string(c.blanks, ' ')) << c.column;
    EXPECT_EQ(PrintColumn, c.column + c.blanks) << c.column;
    PrintNewLine();
    Output();
  }
}

struct TabCase {
  uint32_t column;  // before TAB, from 0
  int32_t tab;
  std::string output;
  uint32_t after;
};

TEST_F(PrintPosition, TabMovesToItsColumnOnANewLineWhenPastIt) {
  const TabCase cases[] = {
      {0, 5, "    ", 4},
      {2, 5, "  ", 4},
      {4, 5, "", 4},             // there already
      {5, 5, "\r\n    ", 4},     // past it: a new line
      {9, 1, "\r\n", 0},
      {0, 1, "", 0},
      {0, 0, "", 0},             // below 1 counts as 1
      {3, -7, "\r\n", 0},
      {0, 40, std::string(39, ' '), 39},  // more blanks than one run of them
  };
  for (const TabCase& c : cases) {
    Write(std::string(c.column, 'x'));
    Output();
    PrintTab(c.tab);
    EXPECT_EQ(Output(), c.output) << c.column << " TAB(" << c.tab << ")";
    EXPECT_EQ(PrintColumn, c.after) << c.column << " TAB(" << c.tab << ")";
    PrintNewLine();
    Output();
  }
}

TEST_F(PrintPosition, SpcWritesItsBlanksAndNothingForNoneOrFewer) {
  Write("ab");
  PrintSpaces(3);
  EXPECT_EQ(Output(), "ab   ");
  EXPECT_EQ(PrintColumn, 5u);
  PrintSpaces(0);
  PrintSpaces(-4);
  EXPECT_EQ(Output(), "");
  PrintSpaces(70);
  EXPECT_EQ(Output(), std::string(70, ' '));
  EXPECT_EQ(PrintColumn, 75u);
}

}  // namespace
