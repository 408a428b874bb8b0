// Reading a window's text, in a file of its own: only programs that read a
// text import the calls it makes.
#include "gui/gui.h"

namespace tessaric {

StringValue GetText() {
  HWND window = QueryRecord()->WindowHandle;
  int32_t length = window == nullptr ? 0 : GetWindowTextLengthA(window);
  if (length == 0) return StringValue{EmptyText, 0};
  StringDescriptor* slot = NextTempString();
  // The terminator and four spare bytes.
  StrAlloc(slot, static_cast<uint32_t>(length) + 5);
  GetWindowTextA(window, slot->text, length + 5);
  slot->position = slot->length = StrLength(slot->text);
  return ValueOf(*slot);
}

}  // namespace tessaric
