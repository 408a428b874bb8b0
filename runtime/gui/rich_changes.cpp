// A rich edit reports changes of its text only when its event mask asks it to.
#include "gui/forms.h"

namespace tessaric {

void ReportTextChanges() {
  HWND window = CurrentRecord()->WindowHandle;
  LRESULT mask = SendMessageA(window, EM_GETEVENTMASK, 0, 0);
  SendMessageA(window, EM_SETEVENTMASK, 0, mask | ENM_CHANGE);
}

}  // namespace tessaric
