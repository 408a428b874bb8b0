// Checking a check box or a radio button from the program.
#include "gui/forms.h"

namespace tessaric {

namespace {

bool IsRadioButton(const ObjectRecord* record) {
  if (record->ClassName != ButtonClass || record->WindowHandle == nullptr) return false;
  LONG type = GetWindowLongA(record->WindowHandle, GWL_STYLE) & BS_TYPEMASK;
  return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

}  // namespace

// A form's radio buttons make one group, as they do for the user's clicks:
// checking one clears the others.
void SetChecked(int32_t checked) {
  ObjectRecord* button = CurrentRecord();
  if (checked != 0 && IsRadioButton(button)) {
    HWND form = GetParent(button->WindowHandle);
    for (ObjectRecord** slot = ObjectTable; *slot != nullptr; ++slot)
      if (*slot != button && IsRadioButton(*slot) && GetParent((*slot)->WindowHandle) == form)
        SendMessageA((*slot)->WindowHandle, BM_SETCHECK, BST_UNCHECKED, 0);
  }
  SendMessageA(button->WindowHandle, BM_SETCHECK, checked != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace tessaric
