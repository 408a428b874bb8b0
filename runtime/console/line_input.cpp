#include "console/console.h"

namespace tessaric {

void ConsoleReadLine(StringDescriptor* line) {
  StrAssign(EmptyText, line, 0);
  // One byte at a time: a pipe or a file must not give up the bytes after
  // the line, which the next read (or the closing key wait) takes. A console
  // hands its line over piecemeal all the same.
  char chunk[64];
  int32_t held = 0;
  for (;;) {
    char byte;
    DWORD read = 0;
    if (!ReadFile(StdInputHandle, &byte, 1, &read, nullptr) || read == 0 || byte == '\n') break;
    chunk[held++] = byte;
    if (held == sizeof chunk) {
      StrAppend(chunk, line, held);
      held = 0;
    }
  }
  StrAppend(chunk, line, held);
  // The line end is CR LF from a console, either from a file.
  if (line->length > 0 && line->text[line->length - 1] == '\r') {
    line->position = line->length = line->length - 1;
    line->text[line->length] = 0;
  }
}

}  // namespace tessaric
