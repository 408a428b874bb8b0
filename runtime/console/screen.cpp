#include "console/console.h"

namespace tessaric {

CONSOLE_SCREEN_BUFFER_INFO ScreenInfo = {};

BOOL ConsoleRefreshInfo() { return GetConsoleScreenBufferInfo(StdOutputHandle, &ScreenInfo); }

void ConsoleClear() {
  ConsoleRefreshInfo();
  // The whole buffer, not only the window; counted wide, since a buffer may
  // hold more than 65,535 cells.
  DWORD cells = DWORD{static_cast<uint16_t>(ScreenInfo.dwSize.X)} * static_cast<uint16_t>(ScreenInfo.dwSize.Y);
  DWORD count;
  FillConsoleOutputCharacterA(StdOutputHandle, ' ', cells, COORD{0, 0}, &count);
  FillConsoleOutputAttribute(StdOutputHandle, 7, cells, COORD{0, 0}, &count);
  ConsoleLocate(1, 1);
}

void ConsoleSetColor(int32_t foreground, int32_t background) {
  uint32_t value = static_cast<uint32_t>(background) << 4;
  // The foreground is added to the low byte only, without carry into the bits above.
  value = (value & ~0xFFu) | ((value + static_cast<uint32_t>(foreground)) & 0xFFu);
  SetConsoleTextAttribute(StdOutputHandle, static_cast<WORD>(value));
}

void ConsoleLocate(int32_t row, int32_t column) {
  SetConsoleCursorPosition(StdOutputHandle, ConsoleCell(row, column));
}

int32_t ConsoleCursorRow() {
  ConsoleRefreshInfo();
  return static_cast<uint16_t>(ScreenInfo.dwCursorPosition.Y) + 1;
}

int32_t ConsoleCursorColumn() {
  ConsoleRefreshInfo();
  return static_cast<uint16_t>(ScreenInfo.dwCursorPosition.X) + 1;
}

}  // namespace tessaric
