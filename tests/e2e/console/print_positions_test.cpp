// Print zones and TAB with a real console as standard output: the column is
// the cursor's, as POS reads it, and the line as wide as the screen buffer.
#include <gtest/gtest.h>

#include "driver.h"

using namespace driver;

namespace {

std::string Cells(SHORT x, SHORT y, DWORD count) {
  std::string text(count, '\0');
  DWORD read = 0;
  ReadConsoleOutputCharacterA(ConsoleOutput(), &text[0], count, COORD{x, y}, &read);
  text.resize(read);
  return text;
}

TEST(PrintPositions, OnAConsoleCountFromTheCursor) {
  CONSOLE_SCREEN_BUFFER_INFO before = {};
  GetConsoleScreenBufferInfo(ConsoleOutput(), &before);
  // The width the program's positions are laid out for; larger than any
  // window, so that the console takes it.
  const SHORT width = 300;
  ASSERT_TRUE(SetConsoleScreenBufferSize(ConsoleOutput(), COORD{width, 250}));
  FlushInput();
  LaunchOptions options;
  options.consoleInput = true;
  Process process = Launch(FixturePath("print_positions.exe"), options);
  ASSERT_NE(process.handle, nullptr);
  const std::string prompt = "Press a key to continue...";
  bool prompted = WaitUntil([&] { return Cells(0, 19, 26) == prompt; }, 15000, &process);
  std::string rows[14];
  for (SHORT y = 0; y < 14; ++y) rows[y] = Cells(0, y, width);
  if (prompted) PressKey();
  DWORD exitCode = process.WaitExit();
  SetConsoleScreenBufferSize(ConsoleOutput(), before.dwSize);
  ASSERT_TRUE(prompted);
  EXPECT_EQ(exitCode, 0u);
  auto at = [](size_t column, const std::string& text) { return std::string(column, ' ') + text; };
  auto row = [&](int y) { return rows[y].substr(0, rows[y].find_last_not_of(' ') + 1); };
  // LOCATE 3, 20: "ab" ends at column 22, so the next zone starts at column
  // 29 (from 1), where a count of the bytes written would have put it at 15.
  EXPECT_EQ(row(2), at(19, "ab       c"));
  // LOCATE 5, 30: the cursor is past column 10, so TAB goes to the next line.
  EXPECT_EQ(row(4), "");
  EXPECT_EQ(row(5), at(9, "t"));
  // LOCATE 8, 298: after "x" the next zone would start at column 309, past
  // the 300 columns of the line: "y" starts the next line.
  EXPECT_EQ(row(7), at(297, "x"));
  EXPECT_EQ(row(8), "y");
  // TAB(305) on 300 columns is TAB(5).
  EXPECT_EQ(row(10), at(4, "w"));
  // POS and the zones agree: "abc" from column 5 leaves the cursor at column
  // 8, and the zone starts at column 15.
  EXPECT_EQ(row(12), at(4, "abc") + "       8");
}

}  // namespace
