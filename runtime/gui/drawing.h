// Drawing on forms and on off-screen bitmaps. Every operation names its target:
// a form draws into the DC of its running OnPaint (PaintDC), a bitmap into its
// own memory DC, which then stays in PaintDC. Each operation creates, selects,
// restores and deletes its own pen or brush, so no drawing state survives it.
#pragma once

#include <stdint.h>

#include "gui/gui.h"

namespace tessaric {

// An off-screen bitmap and its memory DC: a BITMAPINFOHEADER and nine fields.
struct BitmapObject {
  BITMAPINFOHEADER Header;  // as declared; CreateBitmapObject rewrites it from the real bitmap
  HDC MemoryDC;
  HBITMAP BitmapHandle;     // the bitmap selected into MemoryDC
  void* Bits;               // as GetObjectA reports them
  int32_t SourceX;          // source corner for CopyBitmap
  int32_t SourceY;
  int32_t DeclaredWidth;    // nothing reads these three
  int32_t DeclaredHeight;
  DWORD RasterOp;           // for CopyBitmap
  uint32_t Spare;
};
static_assert(sizeof(BitmapObject) == 76, "header and nine fields of 32 bits");
static_assert(__is_standard_layout(BitmapObject), "plain record");
static_assert(__builtin_offsetof(BitmapObject, MemoryDC) == 40, "record layout");
static_assert(__builtin_offsetof(BitmapObject, SourceX) == 52, "record layout");
static_assert(__builtin_offsetof(BitmapObject, DeclaredWidth) == 60, "record layout");
static_assert(__builtin_offsetof(BitmapObject, RasterOp) == 68, "record layout");

// The initial image of a bitmap declared with its size and colour depth.
// The header doubles as the BITMAPINFO of CreateDIBSection, which has no room
// for a colour table: depths that need one would be read past the record.
template <int32_t Width, int32_t Height, uint16_t Depth>
constexpr BitmapObject BitmapImage() {
  static_assert(Depth == 16 || Depth == 24 || Depth == 32, "a depth without a colour table");
  return BitmapObject{{sizeof(BITMAPINFOHEADER), Width, Height, 1, Depth, BI_RGB, 0, 0, 0, 0, 0},
                      nullptr, nullptr, nullptr, 0, 0, Width, Height, SRCCOPY, 0};
}

// What an operation acts on: a form or a bitmap, told apart by the overload
// that the program's call picks.
struct DrawTarget {
  DrawTarget(ObjectRecord* form) : record(form), bitmap(nullptr) {}
  DrawTarget(BitmapObject* target) : record(target), bitmap(target) {}
  // A window drawn through a DC of its own, held as if it were a bitmap's.
  DrawTarget(void* window, BitmapObject* surface) : record(window), bitmap(surface) {}
  void* record;
  BitmapObject* bitmap;  // null for a form
};

// Outside OnPaint a form has no DC and these draw nothing.
void DrawCircle(DrawTarget target, int32_t x, int32_t y, int32_t radius, COLORREF colour);
void FillCircle(DrawTarget target, int32_t x, int32_t y, int32_t radius, COLORREF colour);
void DrawBox(DrawTarget target, int32_t x1, int32_t y1, int32_t x2, int32_t y2, COLORREF colour);
void FloodFill(DrawTarget target, int32_t x, int32_t y, COLORREF fill, COLORREF border);
// The whole of source, from its (SourceX, SourceY), to (x, y) of the target.
void CopyBitmap(DrawTarget target, int32_t x, int32_t y, const BitmapObject* source);
// The text's extent in the target DC's current font; 0 without a DC.
int32_t TextWidth(DrawTarget target, StringValue text);
int32_t TextHeight(DrawTarget target, StringValue text);

void CreateBitmapObject(BitmapObject* bitmap);

}  // namespace tessaric
