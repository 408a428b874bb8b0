// While a dialog or a modal form is up, the program's other forms take no
// input; afterwards each form that was disabled for it is enabled again.
#include "gui/forms.h"

namespace tessaric {

namespace {

bool IsShownForm(const ObjectRecord* record) {
  HWND window = record->WindowHandle;
  return window != nullptr && (record->Style & WS_CHILD) == 0 && IsWindow(window) && IsWindowVisible(window);
}

}  // namespace

HWND DialogOwner() {
  HWND active = GetActiveWindow();
  const ObjectRecord* record = LookUpWindow(active);
  return record != nullptr && IsShownForm(record) ? active : MainFormWindow;
}

// Forms that a modal window inside the dialog disabled already stay as that
// one leaves them; only those disabled here come back here.
TakenForms TakeInputFromForms(HWND keep) {
  TakenForms taken = {nullptr, 0, GetActiveWindow()};
  int32_t forms = 0;
  for (ObjectRecord** slot = ObjectTable; *slot != nullptr; ++slot) ++forms;
  if (forms == 0) return taken;
  taken.windows = static_cast<HWND*>(GlobalAlloc(GMEM_FIXED, static_cast<SIZE_T>(forms) * sizeof(HWND)));
  if (taken.windows == nullptr) FatalError(2);
  for (ObjectRecord** slot = ObjectTable; *slot != nullptr; ++slot) {
    HWND window = (*slot)->WindowHandle;
    if (window == keep || !IsShownForm(*slot) || !IsWindowEnabled(window)) continue;
    EnableWindow(window, FALSE);
    taken.windows[taken.count++] = window;
  }
  return taken;
}

// The form that was active gets the activation back; without that, the
// system would hand it to another program's window when the dialog goes.
void GiveInputBack(const TakenForms& taken) {
  for (int32_t i = 0; i < taken.count; ++i)
    if (IsWindow(taken.windows[i])) EnableWindow(taken.windows[i], TRUE);
  if (taken.windows != nullptr) GlobalFree(taken.windows);
  if (taken.active != nullptr && IsWindow(taken.active) && IsWindowVisible(taken.active))
    SetActiveWindow(taken.active);
}

}  // namespace tessaric
