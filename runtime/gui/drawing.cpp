// The drawing operations. Windows names that clash with ours (FloodFill) are
// called through the global namespace.
#include "gui/drawing.h"

namespace tessaric {

namespace {

using Figure = BOOL(WINAPI*)(HDC, int, int, int, int);

// The common start: the target becomes the object acted on (or queried), and
// a bitmap hands its memory DC to PaintDC, where it stays.
HDC Take(DrawTarget target, void** objectSlot) {
  *objectSlot = target.record;
  if (target.bitmap != nullptr) PaintDC = target.bitmap->MemoryDC;
  return PaintDC;
}

HDC TakeForDrawing(DrawTarget target) { return Take(target, &CurrentObject); }

const RECT* StoreBox(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  RECT* box = ScratchAs<RECT>();
  *box = RECT{left, top, right, bottom};
  return box;
}

// The box that reaches from (x, y) by reach on every side, or null when a side
// lies beyond 32 bits: x ± reach would wrap round and hand GDI a box across
// the whole plane. Such a box lies far outside anything GDI draws (Windows
// takes coordinates up to 2^27), so nothing is drawn for it.
__attribute__((noinline)) const RECT* CircleBox(int32_t x, int32_t y, int32_t reach) {
  RECT* box = ScratchAs<RECT>();
  if (__builtin_sub_overflow(x, reach, &box->left) || __builtin_sub_overflow(y, reach, &box->top) ||
      __builtin_add_overflow(x, reach, &box->right) || __builtin_add_overflow(y, reach, &box->bottom))
    return nullptr;
  return box;
}

// One-pixel outline, inside left as it was.
void DrawOutline(HDC dc, Figure figure, const RECT* box, COLORREF colour) {
  HPEN pen = ::CreatePen(PS_SOLID, 0, colour);
  HGDIOBJ oldPen = ::SelectObject(dc, pen);
  HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
  figure(dc, box->left, box->top, box->right, box->bottom);
  ::SelectObject(dc, oldBrush);
  ::SelectObject(dc, oldPen);
  ::DeleteObject(pen);
}

int32_t MeasureText(DrawTarget target, StringValue text, LONG SIZE::*extent) {
  HDC dc = Take(target, QuerySlot());
  SIZE* size = ScratchAs<SIZE>();
  // Without a DC the call fails and leaves this 0.
  *size = SIZE{0, 0};
  ::GetTextExtentPoint32A(dc, text.text, text.length, size);
  return size->*extent;
}

}  // namespace

// GDI puts the corners of a box in order, so a negative radius draws the
// circle of its magnitude.
void DrawCircle(DrawTarget target, int32_t x, int32_t y, int32_t radius, COLORREF colour) {
  HDC dc = TakeForDrawing(target);
  if (dc == nullptr) return;
  const RECT* box = CircleBox(x, y, radius);
  if (box == nullptr) return;
  DrawOutline(dc, ::Ellipse, box, colour);
}

// A disc one pixel smaller all round than DrawCircle's outline of the same
// circle, so that it stays inside that outline; a circle of radius 1 or 0 has
// no inside, and a negative radius is the circle of its magnitude, as for the
// outline (the one-pixel inset would otherwise turn into an outset). It is
// drawn with a pen of its own colour rather than none: how far a pen-less
// ellipse reaches to the right and bottom differs between GDI
// implementations, a one-pixel pen's does not.
void FillCircle(DrawTarget target, int32_t x, int32_t y, int32_t radius, COLORREF colour) {
  HDC dc = TakeForDrawing(target);
  if (dc == nullptr) return;
  // The magnitude less one, without overflow for the smallest radius.
  int32_t reach = radius < 0 ? -1 - radius : radius - 1;
  if (reach <= 0) return;
  const RECT* box = CircleBox(x, y, reach);
  if (box == nullptr) return;
  HPEN pen = ::CreatePen(PS_SOLID, 0, colour);
  HBRUSH brush = ::CreateSolidBrush(colour);
  HGDIOBJ oldBrush = ::SelectObject(dc, brush);
  HGDIOBJ oldPen = ::SelectObject(dc, pen);
  ::Ellipse(dc, box->left, box->top, box->right, box->bottom);
  ::SelectObject(dc, oldPen);
  ::SelectObject(dc, oldBrush);
  ::DeleteObject(brush);
  ::DeleteObject(pen);
}

void DrawBox(DrawTarget target, int32_t x1, int32_t y1, int32_t x2, int32_t y2, COLORREF colour) {
  HDC dc = TakeForDrawing(target);
  if (dc == nullptr) return;
  DrawOutline(dc, ::Rectangle, StoreBox(x1, y1, x2, y2), colour);
}

// A start point outside the DC's clipping region fills nothing.
void FloodFill(DrawTarget target, int32_t x, int32_t y, COLORREF fill, COLORREF border) {
  HDC dc = TakeForDrawing(target);
  if (dc == nullptr) return;
  HBRUSH brush = ::CreateSolidBrush(fill);
  HGDIOBJ oldBrush = ::SelectObject(dc, brush);
  ::ExtFloodFill(dc, x, y, border, FLOODFILLBORDER);
  ::SelectObject(dc, oldBrush);
  ::DeleteObject(brush);
}

// A source without a DC, never made or failed, has nothing to copy, even for
// a raster operation that reads no source.
void CopyBitmap(DrawTarget target, int32_t x, int32_t y, const BitmapObject* source) {
  HDC dc = TakeForDrawing(target);
  if (dc == nullptr || source->MemoryDC == nullptr) return;
  ::BitBlt(dc, x, y, source->Header.biWidth, source->Header.biHeight, source->MemoryDC, source->SourceX,
           source->SourceY, source->RasterOp);
}

int32_t TextWidth(DrawTarget target, StringValue text) { return MeasureText(target, text, &SIZE::cx); }
int32_t TextHeight(DrawTarget target, StringValue text) { return MeasureText(target, text, &SIZE::cy); }

// The DIB section is selected only while the compatible bitmap is made, so
// that the bitmap takes its size and depth instead of the empty memory DC's
// monochrome; it is then left alone, like everything the bitmap owns. When
// any of the three cannot be made (a negative width, a size beyond memory),
// what was made is deleted and the record keeps its declared header with no
// DC, bitmap or bits, so that drawing on it and copying it do nothing.
void CreateBitmapObject(BitmapObject* bitmap) {
  CurrentObject = bitmap;
  HDC dc = ::CreateCompatibleDC(nullptr);
  HBITMAP section = ::CreateDIBSection(dc, reinterpret_cast<const BITMAPINFO*>(&bitmap->Header), DIB_RGB_COLORS,
                                       nullptr, nullptr, 0);
  ::SelectObject(dc, section);
  HBITMAP made = dc != nullptr && section != nullptr
                     ? ::CreateCompatibleBitmap(dc, bitmap->Header.biWidth, bitmap->Header.biHeight)
                     : nullptr;
  if (made == nullptr) {
    ::DeleteDC(dc);
    ::DeleteObject(section);
    bitmap->MemoryDC = nullptr;
    bitmap->BitmapHandle = nullptr;
    bitmap->Bits = nullptr;
    return;
  }
  bitmap->MemoryDC = dc;
  bitmap->BitmapHandle = made;
  ::SelectObject(dc, made);
  BITMAP* info = ScratchAs<BITMAP>();
  ::GetObjectA(made, sizeof(BITMAP), info);
  bitmap->Header.biWidth = info->bmWidth;
  bitmap->Header.biHeight = info->bmHeight;
  bitmap->Header.biPlanes = info->bmPlanes;
  bitmap->Header.biBitCount = info->bmBitsPixel;
  bitmap->Bits = info->bmBits;
}

}  // namespace tessaric
