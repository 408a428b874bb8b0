// Writing a window's text through a copy of its own, in a file of its own:
// only programs that write a text import the calls it makes.
#include "core/strings.h"
#include "gui/gui.h"

namespace tessaric {

// A form's OnMessage sees WM_SETTEXT before the system has copied the text,
// and a handler may reuse or move the block the text lives in (the
// concatenation accumulator, a temporary, a variable). The window therefore
// gets a copy of its own, which no handler can reach.
void SetWindowTextCopy(HWND window, const char* text) {
  // No text is an empty one, as it is to SetWindowTextA.
  if (text == nullptr) text = EmptyText;
  uint32_t size = 0;
  do {
  } while (text[size++] != 0);
  void* copy = GlobalAlloc(GMEM_FIXED, size);
  if (copy == nullptr) FatalError(2);
  MemCopy(text, copy, size);
  SetWindowTextA(window, static_cast<const char*>(copy));
  GlobalFree(copy);
}

}  // namespace tessaric
