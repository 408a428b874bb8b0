// Drawing on a form or control at any time: the paint's DC while the
// window's OnPaint runs, else a DC of the window for one operation.
#include "gui/forms.h"

namespace tessaric {

// A form's own DC starts with the system font, which is what it writes and
// measures in until the program gives it a font of its own; a control shows
// the font the window was given.
HFONT FontOf(const ObjectRecord* object) {
  if ((object->Style & WS_CHILD) == 0 && object->Font == DefaultFont)
    return static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
  return object->Font;
}

// The drawing operation sets PaintDC to the surface, as a bitmap's drawing
// does; it gets back the value it had, since the DC goes away.
WindowCanvas::WindowCanvas(ObjectRecord* object)
    : object_(object), surface_(), own_(nullptr), oldFont_(nullptr), outerPaintDC_(PaintDC) {
  HWND window = object->WindowHandle;
  HDC dc = PaintingWindow != nullptr && window == PaintingWindow ? PaintingDC : nullptr;
  if (dc == nullptr && window != nullptr) dc = own_ = GetDC(window);
  surface_.MemoryDC = dc;
  if (dc != nullptr) {
    HFONT font = FontOf(object);
    if (font != nullptr) oldFont_ = SelectObject(dc, font);
  }
}

WindowCanvas::~WindowCanvas() {
  HDC dc = surface_.MemoryDC;
  if (oldFont_ != nullptr) SelectObject(dc, oldFont_);
  if (own_ != nullptr) ReleaseDC(object_->WindowHandle, own_);
  PaintDC = outerPaintDC_;
}

}  // namespace tessaric
