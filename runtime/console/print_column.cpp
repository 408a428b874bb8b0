#include "console/console.h"

namespace tessaric {

uint32_t PrintColumn = 0;

void PrintWrite(const char* text, uint32_t length) {
  ConsoleWrite(text, length);
  // The count starts again after the last CR or LF among the bytes; it stops
  // at its top rather than wrap around to a small column.
  uint32_t after = length;
  while (after > 0 && text[after - 1] != '\n' && text[after - 1] != '\r') --after;
  if (after > 0) {
    PrintColumn = length - after;
  } else {
    uint32_t sum = PrintColumn + length;
    PrintColumn = sum < PrintColumn ? 0xFFFFFFFFu : sum;
  }
}

void PrintNewLine() {
  ConsoleNewLine();
  PrintColumn = 0;
}

}  // namespace tessaric
