#include "console/console.h"

namespace tessaric {

uint32_t ConsoleWrite(const char* text, uint32_t length) {
  DWORD written = 0;
  if (length != 0) WriteFile(StdOutputHandle, text, length, &written, nullptr);
  return written;
}

uint32_t ConsoleNewLine() { return ConsoleWrite(LineEnd, 2); }

}  // namespace tessaric
