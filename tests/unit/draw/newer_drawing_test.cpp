// Lines, pixels, filled boxes and text drawn into bitmaps, read back pixel by pixel.
#include "draw_fixture.h"
#include "gui/forms.h"

namespace drawtest {
namespace {

using NewerDrawing = DrawTest;

constexpr COLORREF kBlue = 0xFF0000;

// Every pixel of the canvas in colour, but those in the list.
void ExpectOnly(const Canvas& canvas, COLORREF background, const std::vector<POINT>& points, COLORREF colour) {
  for (int y = 0; y < canvas.Header.biHeight; ++y)
    for (int x = 0; x < canvas.Header.biWidth; ++x) {
      bool listed = false;
      for (const POINT& p : points) listed |= p.x == x && p.y == y;
      ASSERT_EQ(::GetPixel(canvas.MemoryDC, x, y), listed ? colour : background) << x << ", " << y;
    }
}

// Both ends are drawn: a horizontal line from 10 to 14 is five pixels, a
// vertical or a diagonal one likewise, and a line of one point is that point.
TEST_F(NewerDrawing, ALineHasBothItsEnds) {
  struct Case {
    int x1, y1, x2, y2;
    std::vector<POINT> points;
  };
  const Case cases[] = {
      {10, 20, 14, 20, {{10, 20}, {11, 20}, {12, 20}, {13, 20}, {14, 20}}},
      {14, 20, 10, 20, {{10, 20}, {11, 20}, {12, 20}, {13, 20}, {14, 20}}},
      {5, 5, 5, 8, {{5, 5}, {5, 6}, {5, 7}, {5, 8}}},
      {0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
      {7, 9, 7, 9, {{7, 9}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.x1) + "," + std::to_string(c.y1) + " " + std::to_string(c.x2) + "," +
                 std::to_string(c.y2));
    Canvas canvas = NewCanvas();
    Prepare(&canvas, kWhite);
    DrawLine(&canvas, c.x1, c.y1, c.x2, c.y2, kRed);
    EXPECT_EQ(CurrentObject, &canvas);
    ExpectOnly(canvas, kWhite, c.points, kRed);
  }
}

TEST_F(NewerDrawing, SetPixelAndPixelColour) {
  Canvas canvas = NewCanvas();
  Prepare(&canvas, kWhite);
  SetPixelColour(&canvas, 3, 4, kGreen);
  ExpectOnly(canvas, kWhite, {{3, 4}}, kGreen);
  EXPECT_EQ(PixelColour(&canvas, 3, 4), static_cast<int32_t>(kGreen));
  EXPECT_EQ(PixelColour(&canvas, 0, 0), static_cast<int32_t>(kWhite));
  // Outside the picture: -1, the system's invalid colour.
  EXPECT_EQ(PixelColour(&canvas, 128, 0), -1);
  EXPECT_EQ(PixelColour(&canvas, -1, 5), -1);
}

// The box of DrawBox, outline and inside: x1 to x2 - 1, y1 to y2 - 1, with
// the corners given either way round; an empty box draws nothing.
TEST_F(NewerDrawing, FillBoxFillsWhatDrawBoxOutlines) {
  struct Case {
    int x1, y1, x2, y2;
  };
  for (Case c : {Case{10, 20, 13, 22}, Case{13, 22, 10, 20}, Case{13, 20, 10, 22}}) {
    Canvas filled = NewCanvas(), outlined = NewCanvas();
    Prepare(&filled, kWhite);
    Prepare(&outlined, kWhite);
    FillBox(&filled, c.x1, c.y1, c.x2, c.y2, kRed);
    DrawBox(&outlined, c.x1, c.y1, c.x2, c.y2, kRed);
    ExpectOnly(filled, kWhite, {{10, 20}, {11, 20}, {12, 20}, {10, 21}, {11, 21}, {12, 21}}, kRed);
    // The outline's pixels are the filled box's (a box this thin has no inside).
    for (int y = 0; y < 128; ++y)
      for (int x = 0; x < 128; ++x) ASSERT_EQ(Pixel(outlined, x, y), Pixel(filled, x, y)) << x << ", " << y;
  }
  Canvas empty = NewCanvas();
  Prepare(&empty, kWhite);
  FillBox(&empty, 5, 5, 5, 9, kRed);
  ExpectOnly(empty, kWhite, {}, kRed);
}

// Text in its colour from its top left, nothing behind it: the background
// stays wherever no letter stands. (Wine smooths the letters' edges, so a
// pixel there may mix the two colours.)
TEST_F(NewerDrawing, DrawTextWritesInItsColourOnWhatIsThere) {
  Canvas canvas = NewCanvas();
  Prepare(&canvas, kGreen);
  DrawTextAt(&canvas, 20, 30, Literal("Hello"), kBlue);
  int blue = 0;
  for (int y = 0; y < 128; ++y)
    for (int x = 0; x < 128; ++x) {
      COLORREF c = Pixel(canvas, x, y);
      if (c == kGreen) continue;
      ASSERT_GE(x, 20) << y << ": " << std::hex << c;
      ASSERT_GE(y, 30) << x << ": " << std::hex << c;
      blue += c == kBlue;
    }
  EXPECT_GT(blue, 20);
  // The DC keeps the colour and mode it had.
  EXPECT_EQ(::GetTextColor(canvas.MemoryDC), 0u);
  EXPECT_EQ(::GetBkMode(canvas.MemoryDC), OPAQUE);
}

}  // namespace
}  // namespace drawtest
