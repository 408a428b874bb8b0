// squarefill, bitcopy and circlet as the display shows them.
#include <algorithm>

#include "sample_window.h"

namespace drawtest {
namespace {

using driver::Pixels;

// squarefill's square: a black outline over x and y from 10 to 99, red inside.
COLORREF Square(int x, int y) {
  bool inside = x >= 10 && x <= 99 && y >= 10 && y <= 99;
  bool border = x == 10 || x == 99 || y == 10 || y == 99;
  return !inside ? FormBackground() : border ? kBlack : kRed;
}

const RECT kSquareArea = {0, 0, 120, 120};

TEST(Squarefill, PaintsARedSquareWithABlackBorder) {
  SampleWindow sample("squarefill", "Tessaric1040");
  ASSERT_NE(sample.form, nullptr);
  EXPECT_EQ(driver::WindowText(sample.form), "squarefill");
  EXPECT_PIXELS(WaitForPixels(sample.form, kSquareArea, Square), Square);
  // The rest of the form shows the class background.
  EXPECT_PIXELS(sample.Read(RECT{120, 0, 300, 200}), [](int, int) { return FormBackground(); });
  EXPECT_EQ(sample.Close(), 0u);
}

TEST(Squarefill, APartialRepaintWithoutTheFillPointFillsNothing) {
  SampleWindow sample("squarefill", "Tessaric1040");
  ASSERT_NE(sample.form, nullptr);
  EXPECT_PIXELS(WaitForPixels(sample.form, kSquareArea, Square), Square);

  // The region leaves out (12, 12): the outline in it is drawn again, the
  // flood fill fails and the erased inside keeps the class background.
  const RECT region = {50, 50, 150, 150};
  sample.Repaint(&region);
  auto partly = [&](int x, int y) {
    POINT point = {x, y};
    bool repainted = PtInRect(&region, point) != FALSE;
    COLORREF square = Square(x, y);
    return repainted && square == kRed ? FormBackground() : square;
  };
  Pixels after = WaitForPixels(sample.form, kSquareArea, partly);
  EXPECT_PIXELS(after, partly);

  // Until a repaint that includes (12, 12).
  sample.Repaint();
  EXPECT_PIXELS(WaitForPixels(sample.form, kSquareArea, Square), Square);
  EXPECT_EQ(sample.Close(), 0u);
}

// A circle drawn in the box ring (inclusive) on a picture whose own pixels
// are around: the rim colour along its outline, the inside colour only between
// rim pixels of the same row, the form's background beyond the picture.
void ExpectRing(const Pixels& block, const RECT& picture, COLORREF around, const RECT& ring, COLORREF rim,
                COLORREF inside) {
  ASSERT_FALSE(block.colours.empty());
  int filled = 0;
  for (int y = block.rect.top; y < block.rect.bottom; ++y) {
    int firstRim = -1, lastRim = -1;
    for (int x = block.rect.left; x < block.rect.right; ++x) {
      COLORREF seen = block.At(x, y);
      bool onPicture = x >= picture.left && x <= picture.right && y >= picture.top && y <= picture.bottom;
      bool inRing = x >= ring.left && x <= ring.right && y >= ring.top && y <= ring.bottom;
      COLORREF plain = onPicture ? around : FormBackground();
      if (!inRing) {
        ASSERT_EQ(seen, plain) << x << ", " << y;
      } else if (seen == rim) {
        if (firstRim < 0) firstRim = x;
        lastRim = x;
      } else {
        ASSERT_TRUE(seen == inside || seen == plain) << std::hex << seen << " at " << std::dec << x << ", " << y;
      }
    }
    for (int x = ring.left; x <= ring.right; ++x) {
      if (block.At(x, y) != inside) continue;
      ++filled;
      ASSERT_TRUE(x > firstRim && x < lastRim) << "inside colour beyond the rim at " << x << ", " << y;
    }
  }
  int centreX = (ring.left + ring.right + 1) / 2, centreY = (ring.top + ring.bottom + 1) / 2;
  EXPECT_EQ(block.At(ring.left, centreY), rim);
  EXPECT_EQ(block.At(ring.right, centreY), rim);
  EXPECT_EQ(block.At(centreX, ring.top), rim);
  EXPECT_EQ(block.At(centreX, ring.bottom), rim);
  EXPECT_EQ(block.At(ring.left + 1, centreY), inside);
  EXPECT_EQ(block.At(ring.right - 1, centreY), inside);
  EXPECT_EQ(block.At(centreX, centreY), inside);
  EXPECT_GT(filled, 2500) << "the inside of a circle of radius 30";
}

// bitcopy's 64 by 64 picture at (10, 10): black where the bitmap was never
// drawn, a white rim from (2, 2) to (61, 61) of the bitmap, green inside.
void ExpectDiscPicture(const Pixels& block) {
  ExpectRing(block, RECT{10, 10, 73, 73}, kBlack, RECT{12, 12, 71, 71}, kWhite, kGreen);
}

TEST(Bitcopy, ShowsTheOffScreenPictureAtTenTen) {
  SampleWindow sample("bitcopy", "Tessaric1608");
  ASSERT_NE(sample.form, nullptr);
  EXPECT_EQ(driver::WindowText(sample.form), "bitcopy");
  const RECT area = {0, 0, 90, 90};
  driver::WaitUntil([&] { return sample.Read(RECT{42, 42, 43, 43}).At(42, 42) == kGreen; }, 5000);
  Pixels first = sample.Read(area);
  ExpectDiscPicture(first);

  // Repaints copy the same picture; nothing is drawn into the bitmap again.
  for (int i = 0; i < 3; ++i) {
    sample.Repaint();
    Pixels again = WaitForPixels(sample.form, area, [&](int x, int y) { return first.At(x, y); });
    EXPECT_PIXELS(again, [&](int x, int y) { return first.At(x, y); });
  }
  EXPECT_PIXELS(sample.Read(RECT{90, 0, 300, 200}), [](int, int) { return FormBackground(); });
  EXPECT_EQ(sample.Close(), 0u);
}

// circlet's circle: a black outline in the box (2, 2) to (61, 61), cyan inside.
void ExpectCirclePicture(const Pixels& block) {
  const RECT circle = {2, 2, 61, 61};
  ExpectRing(block, circle, FormBackground(), circle, kBlack, kCyan);
}

class Circlet : public ::testing::Test {
 protected:
  static driver::LaunchOptions OwnConsole() {
    driver::LaunchOptions options;
    options.creationFlags = DETACHED_PROCESS;
    return options;
  }

  // The console holds pairs of lines, each pair from one paint, with the
  // extent that the driver measures in a DC of the form with its default font.
  static void ExpectPaintPairs(const std::vector<std::string>& lines, HWND form) {
    SIZE extent = {};
    HDC dc = GetDC(form);
    GetTextExtentPoint32A(dc, "tessaric idol", 13, &extent);
    ReleaseDC(form, dc);
    ASSERT_GT(extent.cx, 0);
    const std::string width = "tessaric width on form is " + std::to_string(extent.cx);
    const std::string height = "tessaric height on form is " + std::to_string(extent.cy);
    ASSERT_EQ(lines.size() % 2, 0u);
    for (size_t i = 0; i < lines.size(); i += 2) {
      EXPECT_EQ(lines[i], width) << "line " << i;
      EXPECT_EQ(lines[i + 1], height) << "line " << i + 1;
    }
  }
};

TEST_F(Circlet, DrawsACyanCircleWithABlackOutline) {
  SampleWindow sample("circlet", "Tessaric2366", OwnConsole());
  ASSERT_NE(sample.form, nullptr);
  EXPECT_EQ(driver::WindowText(sample.form), "circlet");
  // Its own console opens first and may cover the form.
  ASSERT_TRUE(driver::BringToFront(sample.form));
  sample.Repaint();
  const RECT area = {0, 0, 80, 80};
  driver::WaitUntil([&] { return sample.Read(RECT{32, 32, 33, 33}).At(32, 32) == kCyan; }, 5000);
  ExpectCirclePicture(sample.Read(area));

  // A bigger form keeps the circle where it was.
  RECT outer = driver::WindowRect(sample.form);
  SetWindowPos(sample.form, nullptr, 0, 0, outer.right - outer.left + 60, outer.bottom - outer.top + 40,
               SWP_NOMOVE | SWP_NOZORDER);
  sample.Settle();
  sample.Repaint();
  Pixels resized = sample.Read(area);
  ExpectCirclePicture(resized);
  EXPECT_EQ(sample.Close(), 0u);
}

TEST_F(Circlet, PrintsBothExtentsToItsOwnConsoleAtEveryPaint) {
  SampleWindow sample("circlet", "Tessaric2366", OwnConsole());
  ASSERT_NE(sample.form, nullptr);
  std::vector<std::string> lines;
  ASSERT_TRUE(driver::WaitUntil([&] { return (lines = ConsoleLinesOf(sample.process)).size() >= 2; }, 5000,
                                &sample.process));
  sample.Settle();
  lines = ConsoleLinesOf(sample.process);
  ExpectPaintPairs(lines, sample.form);
  const size_t before = lines.size();

  // Two whole repaints and one of a corner far from the circle.
  sample.Repaint();
  sample.Repaint();
  const RECT corner = {300, 200, 310, 210};
  sample.Repaint(&corner);
  lines = ConsoleLinesOf(sample.process);
  EXPECT_EQ(lines.size(), before + 6);
  ExpectPaintPairs(lines, sample.form);
  EXPECT_EQ(sample.Close(), 0u);
}

}  // namespace
}  // namespace drawtest
