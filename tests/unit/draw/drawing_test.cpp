// Drawing into off-screen bitmaps and the PaintDC rules for forms.
#include <algorithm>
#include <cstdlib>
#include <string>

#include "draw_fixture.h"
#include "gdi_spy.h"

namespace drawtest {
namespace {

using Drawing = DrawTest;

// The circle of the samples: centre (32, 32), radius 30.
constexpr int kX = 32, kY = 32, kRadius = 30;

TEST_F(Drawing, CircleOutlineLiesInItsBoxAndLeavesTheInside) {
  Canvas canvas = NewCanvas();
  Prepare(&canvas, kWhite);
  DrawCircle(&canvas, kX, kY, kRadius, kBlack);
  EXPECT_EQ(CurrentObject, &canvas);
  EXPECT_EQ(PaintDC, canvas.MemoryDC);
  // The box runs from (2, 2) up to, not including, (62, 62).
  EXPECT_EQ(SpanOf(canvas, kBlack, kX, kY), (Span{2, 2, 61, 61}));
  EXPECT_EQ(Pixel(canvas, kX, kY), kWhite) << "an outline leaves the inside alone";
  for (int y = 0; y < 128; ++y)
    for (int x = 0; x < 128; ++x)
      if (x < 2 || x > 61 || y < 2 || y > 61) ASSERT_EQ(Pixel(canvas, x, y), kWhite) << x << ", " << y;
}

// A fill of a circle never paints outside DrawCircle's outline of the same
// circle, nor over it. Radius 0 has no outline and so no fill; a negative
// radius is the circle of its magnitude, as for the outline.
TEST_F(Drawing, FilledCircleKeepsInsideTheOutlineEverywhere) {
  for (int radius : {kRadius, 12, 4, 2, 1, 0, -1, -4, -10, -kRadius}) {
    SCOPED_TRACE(radius);
    Canvas outline = NewCanvas(), both = NewCanvas();
    Prepare(&outline, kWhite);
    Prepare(&both, kWhite);
    DrawCircle(&outline, kX, kY, radius, kBlack);
    DrawCircle(&both, kX, kY, radius, kBlack);
    FillCircle(&both, kX, kY, radius, kCyan);
    EXPECT_EQ(CurrentObject, &both);
    int size = std::abs(radius);
    if (size >= 2) EXPECT_EQ(Pixel(both, kX, kY), kCyan);
    int filled = 0;
    for (int y = 0; y < 128; ++y) {
      // The outline's extent in this row, as drawn alone.
      int left = 128, right = -1;
      for (int x = 0; x < 128; ++x)
        if (Pixel(outline, x, y) == kBlack) left = std::min(left, x), right = std::max(right, x);
      for (int x = 0; x < 128; ++x) {
        COLORREF alone = Pixel(outline, x, y), after = Pixel(both, x, y);
        if (alone == kBlack) {
          ASSERT_EQ(after, kBlack) << "outline lost at " << x << ", " << y;
        } else if (after != alone) {
          ASSERT_EQ(after, kCyan) << x << ", " << y;
          ASSERT_TRUE(x > left && x < right) << "fill outside the outline at " << x << ", " << y;
          ++filled;
        }
      }
    }
    if (size >= 2) EXPECT_GE(filled, 2 * (size - 1) * (size - 1)) << "the disc covers most of the circle";
    if (radius == 0) EXPECT_EQ(filled, 0);
  }
}

// Centres near the ends of the 32-bit range: centre plus or minus radius
// would wrap round and make a box across the whole plane. Circles that lie
// wholly outside the bitmap paint nothing on it.
TEST_F(Drawing, CirclesFarOutsidePaintNothing) {
  struct Circle {
    int32_t x, y, radius;
  };
  const Circle circles[] = {{2147483640, 32, 10},  {-2147483640, 32, 10}, {32, 2147483640, 10},
                            {32, -2147483640, 10}, {2147483647, 2147483647, 1}, {-2147483640, 32, -10},
                            {2147483640, -2147483640, -10}, {1 << 30, 32, 10}};
  for (const Circle& c : circles) {
    SCOPED_TRACE(std::to_string(c.x) + ", " + std::to_string(c.y) + ", radius " + std::to_string(c.radius));
    BitmapObject canvas = BitmapImage<64, 64, 32>();
    Prepare(&canvas, kWhite);
    DrawCircle(&canvas, c.x, c.y, c.radius, kBlack);
    FillCircle(&canvas, c.x, c.y, c.radius, kRed);
    ExpectPixels(canvas, [](int, int) { return kWhite; });
  }
}

TEST_F(Drawing, FillCircleAloneDrawsADiscWithoutOutline) {
  Canvas canvas = NewCanvas();
  Prepare(&canvas, kWhite);
  FillCircle(&canvas, kX, kY, kRadius, kRed);
  // One pixel in from the outline's box (2, 2) to (61, 61) on every side, and solid.
  EXPECT_EQ(SpanOf(canvas, kRed, kX, kY), (Span{3, 3, 60, 60}));
  for (int i = 3; i <= 60; ++i) {
    ASSERT_EQ(Pixel(canvas, i, kY), kRed) << i;
    ASSERT_EQ(Pixel(canvas, kX, i), kRed) << i;
  }
}

TEST_F(Drawing, BoxFilledWithRedUpToItsBlackBorder) {
  Canvas canvas = NewCanvas();
  Prepare(&canvas, kWhite);
  DrawBox(&canvas, 10, 10, 100, 100, kBlack);
  FloodFill(&canvas, 12, 12, kRed, kBlack);
  EXPECT_EQ(CurrentObject, &canvas);
  EXPECT_EQ(PaintDC, canvas.MemoryDC);
  // The outline covers x and y from 10 to 99.
  ExpectPixels(canvas, [](int x, int y) {
    bool inBox = x >= 10 && x <= 99 && y >= 10 && y <= 99;
    bool onBorder = x == 10 || x == 99 || y == 10 || y == 99;
    return !inBox ? kWhite : onBorder ? kBlack : kRed;
  });
}

TEST_F(Drawing, FloodFillOnTheBorderColourFillsNothing) {
  Canvas canvas = NewCanvas();
  Prepare(&canvas, kWhite);
  DrawBox(&canvas, 10, 10, 100, 100, kBlack);
  FloodFill(&canvas, 10, 10, kRed, kBlack);
  FloodFill(&canvas, 99, 50, kRed, kBlack);
  ExpectPixels(canvas, [](int x, int y) {
    bool inBox = x >= 10 && x <= 99 && y >= 10 && y <= 99;
    bool onBorder = x == 10 || x == 99 || y == 10 || y == 99;
    return inBox && onBorder ? kBlack : kWhite;
  });
}

TEST_F(Drawing, FloodFillOutsideTheBorderStopsAtIt) {
  Canvas canvas = NewCanvas();
  Prepare(&canvas, kWhite);
  DrawBox(&canvas, 10, 10, 100, 100, kBlack);
  FloodFill(&canvas, 120, 5, kGreen, kBlack);
  ExpectPixels(canvas, [](int x, int y) {
    bool inBox = x >= 10 && x <= 99 && y >= 10 && y <= 99;
    bool onBorder = x == 10 || x == 99 || y == 10 || y == 99;
    return !inBox ? kGreen : onBorder ? kBlack : kWhite;
  });
}

TEST_F(Drawing, OnAFormWithoutPaintDCNothingHappens) {
  ObjectRecord form = kObjectImage;
  GdiSpy spy;
  ASSERT_TRUE(spy.installed());
  DrawCircle(&form, kX, kY, kRadius, kBlack);
  EXPECT_EQ(CurrentObject, &form);
  CurrentObject = nullptr;
  FillCircle(&form, kX, kY, kRadius, kCyan);
  EXPECT_EQ(CurrentObject, &form);
  CurrentObject = nullptr;
  DrawBox(&form, 10, 10, 100, 100, kBlack);
  EXPECT_EQ(CurrentObject, &form);
  CurrentObject = nullptr;
  FloodFill(&form, 12, 12, kRed, kBlack);
  EXPECT_EQ(CurrentObject, &form);
  EXPECT_EQ(spy.calls, 0);
  EXPECT_EQ(PaintDC, nullptr);
}

TEST_F(Drawing, AFormDrawsIntoTheBitmapThatDrewLast) {
  Canvas canvas = NewCanvas();
  Prepare(&canvas, kWhite);
  ObjectRecord form = kObjectImage;
  DrawBox(&canvas, 0, 0, 4, 4, kGreen);
  // Outside OnPaint, PaintDC still holds the bitmap's DC.
  DrawBox(&form, 10, 10, 100, 100, kBlack);
  EXPECT_EQ(CurrentObject, &form);
  EXPECT_EQ(PaintDC, canvas.MemoryDC);
  EXPECT_EQ(Pixel(canvas, 10, 50), kBlack);
  EXPECT_EQ(Pixel(canvas, 0, 2), kGreen);
}

TEST_F(Drawing, TextExtentIsMeasuredInTheTargetsDC) {
  Canvas canvas = NewCanvas();
  CreateBitmapObject(&canvas);
  ObjectRecord other = kObjectImage;
  CurrentObject = &other;
  const char text[] = "tessaric idol";
  SIZE expected = {}, shorter = {};
  ASSERT_TRUE(GetTextExtentPoint32A(canvas.MemoryDC, text, 13, &expected));
  ASSERT_TRUE(GetTextExtentPoint32A(canvas.MemoryDC, text, 8, &shorter));
  ASSERT_GT(expected.cx, shorter.cx);

  EXPECT_EQ(TextWidth(&canvas, Literal(text)), expected.cx);
  EXPECT_EQ(QueryObject, &canvas);
  EXPECT_EQ(CurrentObject, &other) << "a query leaves the current object";
  EXPECT_EQ(PaintDC, canvas.MemoryDC);
  EXPECT_EQ(TextHeight(&canvas, Literal(text)), expected.cy);
  // Only the given length counts, not the text up to its NUL.
  EXPECT_EQ(TextWidth(&canvas, StringValue{text, 8}), shorter.cx);
  EXPECT_GT(expected.cy, 0);
}

TEST_F(Drawing, TextExtentWithoutADCIsZero) {
  ObjectRecord form = kObjectImage;
  std::fill(std::begin(ScratchBuffer), std::end(ScratchBuffer), 0xA5A5A5A5u);
  EXPECT_EQ(TextWidth(&form, Literal("tessaric idol")), 0);
  EXPECT_EQ(QueryObject, &form);
  std::fill(std::begin(ScratchBuffer), std::end(ScratchBuffer), 0xA5A5A5A5u);
  EXPECT_EQ(TextHeight(&form, Literal("tessaric idol")), 0);
}

using GdiObjects = DrawTest;

TEST_F(GdiObjects, TheSpySeesAPenThatIsNotDeleted) {
  GdiSpy spy;
  ASSERT_TRUE(spy.installed());
  HPEN pen = ::CreatePen(PS_SOLID, 0, kRed);
  EXPECT_EQ(spy.created, 1);
  EXPECT_EQ(spy.live.count(pen), 1u);
  ::DeleteObject(pen);
  EXPECT_TRUE(spy.live.empty());
}

TEST_F(GdiObjects, NoneIsLeftBehindByAnyOperation) {
  Canvas canvas = NewCanvas();
  Prepare(&canvas, kWhite);
  BitmapObject source = BitmapImage<8, 8, 32>();
  Prepare(&source, kGreen);
  HGDIOBJ pen = GetCurrentObject(canvas.MemoryDC, OBJ_PEN);
  HGDIOBJ brush = GetCurrentObject(canvas.MemoryDC, OBJ_BRUSH);
  HGDIOBJ bitmap = GetCurrentObject(canvas.MemoryDC, OBJ_BITMAP);
  DWORD before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  const int kRounds = 500;
  {
    GdiSpy spy;
    ASSERT_TRUE(spy.installed());
    for (int i = 0; i < kRounds; ++i) {
      DrawCircle(&canvas, 40, 40, 20, kBlack);
      FillCircle(&canvas, 40, 40, 20, kCyan);
      DrawBox(&canvas, 70, 70, 120, 120, kBlack);
      FloodFill(&canvas, 80, 80, i % 2 ? kRed : kGreen, kBlack);
      CopyBitmap(&canvas, 0, 100, &source);
      TextWidth(&canvas, Literal("tessaric idol"));
      TextHeight(&canvas, Literal("tessaric idol"));
    }
    // A pen per outline, a pen and a brush per disc, a brush per fill.
    EXPECT_EQ(spy.created, 5 * kRounds);
    EXPECT_EQ(spy.deleted, spy.created);
    EXPECT_TRUE(spy.live.empty());
    EXPECT_EQ(spy.deletedWhileSelected, 0);
  }
  EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), before);
  EXPECT_EQ(GetCurrentObject(canvas.MemoryDC, OBJ_PEN), pen);
  EXPECT_EQ(GetCurrentObject(canvas.MemoryDC, OBJ_BRUSH), brush);
  EXPECT_EQ(GetCurrentObject(canvas.MemoryDC, OBJ_BITMAP), bitmap);
  // The last round drew as the first did.
  EXPECT_EQ(Pixel(canvas, 80, 80), kRed);
  EXPECT_EQ(Pixel(canvas, 70, 90), kBlack);
  EXPECT_EQ(Pixel(canvas, 40, 40), kCyan);
}

}  // namespace
}  // namespace drawtest
