#include "console/console.h"

namespace tessaric {

namespace {

constexpr uint32_t kZoneWidth = 14;
const char kBlanks[] = "                                ";
constexpr uint32_t kBlankRun = sizeof kBlanks - 1;

// The column the next byte goes to, from 0, and the width of the line: a
// console's cursor and buffer width, or for output to a file or a pipe the
// bytes written since the line began, on a line without end (width 0).
uint32_t Column(uint32_t* width) {
  if (ConsoleRefreshInfo()) {
    *width = static_cast<uint16_t>(ScreenInfo.dwSize.X);
    return static_cast<uint16_t>(ScreenInfo.dwCursorPosition.X);
  }
  *width = 0;
  return PrintColumn;
}

void Blanks(uint32_t count) {
  while (count > 0) {
    uint32_t run = count < kBlankRun ? count : kBlankRun;
    PrintWrite(kBlanks, run);
    count -= run;
  }
}

}  // namespace

void PrintSpaces(int32_t count) {
  if (count > 0) Blanks(static_cast<uint32_t>(count));
}

void PrintZone() {
  uint32_t width;
  uint32_t column = Column(&width);
  // Always on to the next zone, so that two items never touch; a zone that
  // would start past a console's last column starts the next line instead.
  uint32_t blanks = kZoneWidth - column % kZoneWidth;
  if (width != 0 && uint64_t{column} + blanks >= width) PrintNewLine();
  else Blanks(blanks);
}

void PrintTab(int32_t column) {
  uint32_t width;
  uint32_t at = Column(&width);
  uint32_t target = column > 1 ? static_cast<uint32_t>(column) - 1 : 0;
  // On a console a column past the last one counts on from the first again.
  if (width != 0) target %= width;
  if (at > target) {
    PrintNewLine();
    at = 0;
  }
  Blanks(target - at);
}

}  // namespace tessaric
