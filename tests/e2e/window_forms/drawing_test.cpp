// Drawing with the newer methods, on a bitmap and on a form outside its
// OnPaint, read back as pixels of the display and by the program itself.
#include "forms_support.h"

namespace formstest {
namespace {

enum { kDrawNow = 1, kRepaint, kReport, kPaints };

constexpr COLORREF kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000, kWhite = 0xFFFFFF;

class Drawing : public ::testing::Test {
 protected:
  void SetUp() override {
    process = Launch(FixturePath("drawing.exe"));
    ASSERT_NE(process.handle, nullptr);
    form = StartShown(process, "Drawing");
    ASSERT_NE(form, nullptr);
    report = Control(form, kReport);
    paints = Control(form, kPaints);
    ASSERT_TRUE(BringToFront(form));
    // Painted once: the paint handler counts.
    ASSERT_TRUE(WaitUntil([&] { return WindowText(paints).rfind("paints ", 0) == 0; }, 15000, &process));
  }

  bool PixelBecomes(int x, int y, COLORREF colour) {
    return WaitUntil([&] { return ClientPixel(form, x, y) == colour; }, 5000, &process);
  }

  Process process;
  HWND form = nullptr, report = nullptr, paints = nullptr;
};

// GetPixel of a bitmap: blue, red and green as drawn, -1 beyond its width.
TEST_F(Drawing, TheProgramReadsItsBitmapsPixels) {
  EXPECT_TEXT(process, report, "pad 16711680 255 65280 -1");
}

// Copied to 10, 10: green filled, the red line from corner to corner with
// both its ends, the blue pixel at the top right.
TEST_F(Drawing, BitmapMethodsDrawLinesPixelsAndBoxes) {
  EXPECT_TRUE(PixelBecomes(10, 10, kRed));
  EXPECT_EQ(ClientPixel(form, 49, 49), kRed);
  EXPECT_EQ(ClientPixel(form, 30, 30), kRed);
  EXPECT_EQ(ClientPixel(form, 49, 10), kBlue);
  EXPECT_EQ(ClientPixel(form, 30, 12), kGreen);
  EXPECT_EQ(ClientPixel(form, 11, 49), kGreen);
  EXPECT_EQ(ClientPixel(form, 50, 30), kWhite);
}

// Text written in blue somewhere in the box where it stands.
TEST_F(Drawing, DrawTextWritesInItsColour) {
  Pixels block = ClientPixels(form, RECT{60, 10, 120, 40});
  int blue = 0;
  for (COLORREF colour : block.colours) blue += colour == kBlue;
  EXPECT_GT(blue, 10);
  EXPECT_EQ(ClientPixel(form, 130, 20), kWhite);
}

// Outside OnPaint the drawing shows at once: the box covers 200 to 239, the
// line both its ends; the program reads its own pixels back.
TEST_F(Drawing, DrawingOutsideOnPaintShowsAtOnce) {
  Click(ScreenCentre(Control(form, kDrawNow)));
  EXPECT_TEXT(process, report, "drawn 255 16711680 65280");
  EXPECT_TRUE(PixelBecomes(200, 10, kRed));
  EXPECT_EQ(ClientPixel(form, 239, 49), kRed);
  EXPECT_EQ(ClientPixel(form, 240, 30), kWhite);
  EXPECT_EQ(ClientPixel(form, 200, 60), kBlue);
  EXPECT_EQ(ClientPixel(form, 239, 60), kBlue);
  EXPECT_EQ(ClientPixel(form, 250, 10), kGreen);
}

// Repaint runs OnPaint again, and what was drawn outside it is gone.
TEST_F(Drawing, RepaintRunsOnPaintAndWhatWasDrawnOutsideItGoes) {
  Click(ScreenCentre(Control(form, kDrawNow)));
  ASSERT_TRUE(PixelBecomes(220, 30, kRed));
  std::string before = WindowText(paints);
  Click(ScreenCentre(Control(form, kRepaint)));
  EXPECT_TRUE(WaitUntil([&] { return WindowText(paints) != before; }, 5000, &process)) << before;
  EXPECT_TRUE(PixelBecomes(220, 30, kWhite));
  EXPECT_EQ(ClientPixel(form, 10, 10), kRed);
}

}  // namespace
}  // namespace formstest
