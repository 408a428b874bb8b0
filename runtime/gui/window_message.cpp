// Reads and writes that are one message to the object's window with a number:
// list counts and selections, check states, removing items.
#include "gui/forms.h"

namespace tessaric {

// Without a window the message goes nowhere and the read gives 0.
int32_t AskWindow(UINT message) {
  return static_cast<int32_t>(SendMessageA(QueryRecord()->WindowHandle, message, 0, 0));
}

void TellWindow(UINT message, WPARAM value) { SendMessageA(CurrentRecord()->WindowHandle, message, value, 0); }

}  // namespace tessaric
