// Whether a form or control takes input and shows, closing a form, painting
// again, and the width of a form's inside.
#include "gui/forms.h"

namespace tessaric {

void SetEnabled(int32_t enabled) { EnableWindow(CurrentRecord()->WindowHandle, enabled != 0); }

// A form shows as Show shows it, restored if it was minimised.
void SetVisible(int32_t visible) {
  const ObjectRecord* record = CurrentRecord();
  int command = visible == 0 ? SW_HIDE : (record->Style & WS_CHILD) != 0 ? SW_SHOW : SW_SHOWNORMAL;
  ShowWindow(record->WindowHandle, command);
}

int32_t ReadEnabled() { return IsWindowEnabled(QueryRecord()->WindowHandle) ? 1 : 0; }

// The object's own state: a control of a hidden form is still visible itself.
int32_t ReadVisible() {
  return (GetWindowLongA(QueryRecord()->WindowHandle, GWL_STYLE) & WS_VISIBLE) != 0 ? 1 : 0;
}

// What the close box does: the form's OnClose runs, or the form is destroyed
// (the main form's end ends the program).
void CloseForm() { SendMessageA(CurrentRecord()->WindowHandle, WM_CLOSE, 0, 0); }

void RepaintObject() { InvalidateRect(CurrentRecord()->WindowHandle, nullptr, TRUE); }

// Without a window the rectangle would still hold another window's.
int32_t GetClientWidth() {
  return GetClientRect(QueryRecord()->WindowHandle, &WindowRect) ? WindowRect.right : 0;
}

}  // namespace tessaric
