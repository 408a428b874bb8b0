// A form's own background colour, which ExtendedWindowProc paints.
#include "gui/forms.h"

namespace tessaric {

// The form and its controls paint again, so that labels standing on the form
// take the new colour too.
void SetFormBackColor(COLORREF colour) {
  ObjectRecord* form = CurrentRecord();
  SetBackBrush(form, colour);
  RedrawWindow(form->WindowHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

}  // namespace tessaric
