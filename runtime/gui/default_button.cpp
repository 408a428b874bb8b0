// The default button of a form: the push button that Enter clicks in a
// program with tab stops, drawn with the heavier frame.
#include "gui/forms.h"

namespace tessaric {

namespace {

LONG ButtonType(HWND window) { return GetWindowLongA(window, GWL_STYLE) & BS_TYPEMASK; }

// The button's type changes, its other style bits stay; the record follows.
void Retype(ObjectRecord* button, LONG type) {
  LONG style = (GetWindowLongA(button->WindowHandle, GWL_STYLE) & ~BS_TYPEMASK) | type;
  SendMessageA(button->WindowHandle, BM_SETSTYLE, LOWORD(style), TRUE);
  button->Style = (button->Style & ~static_cast<uint32_t>(BS_TYPEMASK)) | static_cast<uint32_t>(type);
}

}  // namespace

// A form has one: making a button the default makes the one before it an
// ordinary push button again.
void SetDefaultButton(int32_t isDefault) {
  ObjectRecord* button = CurrentRecord();
  if (button->WindowHandle == nullptr) return;
  if (isDefault != 0) {
    HWND form = GetParent(button->WindowHandle);
    for (ObjectRecord** slot = ObjectTable; *slot != nullptr; ++slot) {
      ObjectRecord* other = *slot;
      if (other != button && other->ClassName == ButtonClass && other->WindowHandle != nullptr &&
          GetParent(other->WindowHandle) == form && ButtonType(other->WindowHandle) == BS_DEFPUSHBUTTON)
        Retype(other, BS_PUSHBUTTON);
    }
  }
  Retype(button, isDefault != 0 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
}

int32_t ReadDefaultButton() {
  HWND window = QueryRecord()->WindowHandle;
  return window != nullptr && ButtonType(window) == BS_DEFPUSHBUTTON ? 1 : 0;
}

}  // namespace tessaric
