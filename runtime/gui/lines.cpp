// Lines, single pixels and filled boxes, on a form (through its canvas) or a
// bitmap. Each operation makes, selects and deletes its own pen or brush.
#include "gui/forms.h"

namespace tessaric {

namespace {

// The target becomes the object acted on; its DC is a bitmap's or a canvas's.
HDC TargetDC(DrawTarget target) {
  CurrentObject = target.record;
  return target.bitmap != nullptr ? target.bitmap->MemoryDC : PaintDC;
}

}  // namespace

// GDI leaves a line's last point out; BASIC draws both ends.
void DrawLine(DrawTarget target, int32_t x1, int32_t y1, int32_t x2, int32_t y2, COLORREF colour) {
  HDC dc = TargetDC(target);
  if (dc == nullptr) return;
  HPEN pen = CreatePen(PS_SOLID, 0, colour);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
  SetPixelV(dc, x2, y2, colour);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
}

void SetPixelColour(DrawTarget target, int32_t x, int32_t y, COLORREF colour) {
  HDC dc = TargetDC(target);
  if (dc != nullptr) SetPixelV(dc, x, y, colour);
}

// CLR_INVALID, which is -1, for a point outside the DC's picture.
int32_t PixelColour(DrawTarget target, int32_t x, int32_t y) {
  HDC dc = TargetDC(target);
  return dc == nullptr ? -1 : static_cast<int32_t>(GetPixel(dc, x, y));
}

// Corners in either order, as DrawBox takes them.
void FillBox(DrawTarget target, int32_t x1, int32_t y1, int32_t x2, int32_t y2, COLORREF colour) {
  HDC dc = TargetDC(target);
  if (dc == nullptr) return;
  RECT box = {x1 < x2 ? x1 : x2, y1 < y2 ? y1 : y2, x1 < x2 ? x2 : x1, y1 < y2 ? y2 : y1};
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &box, brush);
  DeleteObject(brush);
}

// In the DC's font (a canvas selects the object's), without a background.
void DrawTextAt(DrawTarget target, int32_t x, int32_t y, StringValue text, COLORREF colour) {
  HDC dc = TargetDC(target);
  if (dc == nullptr) return;
  COLORREF oldColour = SetTextColor(dc, colour);
  int oldMode = SetBkMode(dc, TRANSPARENT);
  TextOutA(dc, x, y, text.text, text.length);
  SetBkMode(dc, oldMode);
  SetTextColor(dc, oldColour);
}

}  // namespace tessaric
