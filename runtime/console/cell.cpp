#include "console/console.h"

namespace tessaric {

uint32_t ConsoleReadCell(int32_t row, int32_t column, int32_t flag) {
  // A cell outside the buffer fails to read and leaves the result 0.
  uint32_t result = 0;
  COORD cell = ConsoleCell(row, column);
  if (flag == 0) {
    ReadConsoleOutputCharacterA(StdOutputHandle, reinterpret_cast<char*>(&result), 1, cell, &ConsoleCount);
  } else {
    ReadConsoleOutputAttribute(StdOutputHandle, reinterpret_cast<WORD*>(&result), 1, cell, &ConsoleCount);
  }
  return result;
}

}  // namespace tessaric
