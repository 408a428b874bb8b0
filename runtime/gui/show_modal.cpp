// A form shown modally: the statement returns once the form is hidden or
// closed, and meanwhile the program's other shown forms take no input.
#include "gui/forms.h"

namespace tessaric {

// The form may be hidden by a message sent from another thread, which no
// posted message follows: the wait returns for sent messages too, and the
// form is looked at after each of them.
void ShowModal() {
  HWND window = CurrentRecord()->WindowHandle;
  if (window == nullptr) return;
  TakenForms taken = TakeInputFromForms(window);
  ShowObject(window);
  while (IsWindow(window) && IsWindowVisible(window)) {
    if (!PeekMessageA(&CurrentMessage, nullptr, 0, 0, PM_REMOVE)) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT);
      continue;
    }
    if (CurrentMessage.message == WM_QUIT) {
      // The program ends: the quit message is left for the loop that ends it.
      PostQuitMessage(static_cast<int>(CurrentMessage.wParam));
      break;
    }
    DispatchOneMessage();
  }
  GiveInputBack(taken);
}

}  // namespace tessaric
