// Fonts of controls and forms: read back, measured in, and shown.
#include "forms_support.h"

namespace formstest {
namespace {

enum { kTitle = 1, kReport, kMeasures, kBigger, kFormFont };

class Fonts : public ::testing::Test {
 protected:
  void SetUp() override {
    process = Launch(FixturePath("fonts.exe"));
    ASSERT_NE(process.handle, nullptr);
    form = StartShown(process, "Fonts");
    ASSERT_NE(form, nullptr);
    report = Control(form, kReport);
    measures = Control(form, kMeasures);
  }

  // How many rows of the label hold a dark pixel of its text.
  int TextRows() {
    HWND title = Control(form, kTitle);
    RECT place;
    GetWindowRect(title, &place);
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&place), 2);
    Pixels block = ClientPixels(form, place);
    int rows = 0;
    for (int y = place.top; y < place.bottom; ++y) {
      bool dark = false;
      for (int x = place.left; x < place.right && !dark; ++x) {
        COLORREF c = block.At(x, y);
        dark = GetRValue(c) < 100 && GetGValue(c) < 100 && GetBValue(c) < 100;
      }
      rows += dark;
    }
    return rows;
  }

  Process process;
  HWND form = nullptr, report = nullptr, measures = nullptr;
};

// A form writes in the system font until it has one of its own; a size in
// points reads back as it was written.
TEST_F(Fonts, ALabelsFontReadsBack) {
  EXPECT_TEXT(process, report, "form [System] label [Tahoma] 12 bold 0");
}

TEST_F(Fonts, ALargerFontShowsAndMeasuresLarger) {
  ASSERT_TRUE(BringToFront(form));
  ASSERT_TRUE(WaitUntil([&] { return TextRows() > 0; }, 5000, &process));
  int before = TextRows();
  Click(ScreenCentre(Control(form, kBigger)));
  EXPECT_TEXT(process, report, "label [Tahoma] 36 bold 1");
  EXPECT_TEXT(process, measures, "wider");
  // 36 points of text stand taller than 12.
  EXPECT_TRUE(WaitUntil([&] { return TextRows() > 2 * before; }, 5000, &process)) << before << " " << TextRows();
}

// The form's own font starts from its controls' font and measures larger.
TEST_F(Fonts, AFormGivenAFontMeasuresInIt) {
  ClickControl(form, Control(form, kFormFont));
  EXPECT_TEXT(process, measures, "form wider");
  EXPECT_TEXT(process, report, "form 30 bold 0");
}

}  // namespace
}  // namespace formstest
