// The values of the event that runs, without Windows' numbers: where the
// mouse is and which button, which key.
#include "gui/forms.h"

namespace tessaric {

namespace {

// The mouse message a handler runs for: a click on a control that the main
// form hears of first names its button message in wParam.
UINT MouseMessage() {
  UINT message = EventMessage == WM_PARENTNOTIFY ? LOWORD(EventWParam) : EventMessage;
  return message >= WM_MOUSEFIRST && message <= WM_MBUTTONDBLCLK ? message : 0;
}

}  // namespace

// In the client coordinates of the object whose handler runs; 0 outside a
// mouse handler.
int32_t EventMouseX() { return MouseMessage() != 0 ? static_cast<int16_t>(LOWORD(EventLParam)) : 0; }
int32_t EventMouseY() { return MouseMessage() != 0 ? static_cast<int16_t>(HIWORD(EventLParam)) : 0; }

// While the mouse moves, the buttons held, as MK_LBUTTON (1) and MK_RBUTTON
// (2) say; for a button that goes down, up or double-clicks, that button.
int32_t EventMouseButton() {
  switch (MouseMessage()) {
    case WM_MOUSEMOVE: return static_cast<int32_t>(EventWParam & (MK_LBUTTON | MK_RBUTTON));
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK: return 1;
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK: return 2;
    default: return 0;
  }
}

int32_t EventKeyCode() {
  return EventMessage == WM_KEYDOWN || EventMessage == WM_KEYUP ? static_cast<int32_t>(EventWParam & 0xFFFF) : 0;
}

}  // namespace tessaric
