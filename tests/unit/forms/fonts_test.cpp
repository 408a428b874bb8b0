// Fonts written and read back; each object's font its own.
#include "forms_fixture.h"

namespace formsunit {
namespace {

using Fonts = FormsTest;

int32_t SizeOf(ObjectRecord* record) {
  QueryObject = record;
  return ReadFontNumber(kFontSize);
}

// Sizes read back as written, within 1 to 1000 points.
TEST_F(Fonts, ASizeReadsBackAsWritten) {
  Construct(0, CreateForm);
  Construct(1, CreateLabel);
  for (int32_t written : {8, 12, 36, 72}) {
    CurrentObject = &R(1);
    WriteFont(kFontSize, written, nullptr);
    EXPECT_EQ(SizeOf(&R(1)), written);
  }
  CurrentObject = &R(1);
  WriteFont(kFontSize, 0, nullptr);
  EXPECT_EQ(SizeOf(&R(1)), 1);
  CurrentObject = &R(1);
  WriteFont(kFontSize, 5000, nullptr);
  EXPECT_EQ(SizeOf(&R(1)), 1000);
}

// One part changes; the others stay as they were.
TEST_F(Fonts, EachWriteChangesOnePart) {
  Construct(0, CreateForm);
  Construct(1, CreateLabel);
  CurrentObject = &R(1);
  WriteFont(kFontName, 0, "Tahoma");
  CurrentObject = &R(1);
  WriteFont(kFontSize, 20, nullptr);
  CurrentObject = &R(1);
  WriteFont(kFontBold, 1, nullptr);
  QueryObject = &R(1);
  StringValue name = ReadFontName();
  EXPECT_EQ(std::string(name.text, name.length), "Tahoma");
  EXPECT_EQ(SizeOf(&R(1)), 20);
  QueryObject = &R(1);
  EXPECT_EQ(ReadFontNumber(kFontBold), 1);
  CurrentObject = &R(1);
  WriteFont(kFontBold, 0, nullptr);
  QueryObject = &R(1);
  EXPECT_EQ(ReadFontNumber(kFontBold), 0);
  EXPECT_EQ(SizeOf(&R(1)), 20);
}

// The window shows the record's font; the one it replaces, made for it
// alone, is deleted; the stock font every window starts with never is.
TEST_F(Fonts, TheWindowTakesTheFontAndTheReplacedOneGoes) {
  Construct(0, CreateForm);
  HWND label = Construct(1, CreateLabel);
  HFONT first = R(1).Font;
  ASSERT_EQ(first, DefaultFont);
  CurrentObject = &R(1);
  WriteFont(kFontSize, 14, nullptr);
  HFONT made = R(1).Font;
  EXPECT_NE(made, first);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)), made);
  EXPECT_NE(GetObjectType(first), 0u) << "the stock font was deleted";
  CurrentObject = &R(1);
  WriteFont(kFontSize, 16, nullptr);
  EXPECT_EQ(GetObjectType(made), 0u) << "the replaced font was kept";
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)), R(1).Font);
}

// A form reads as the system font until it is given one, which starts from
// its controls' font (a name that takes every size).
TEST_F(Fonts, AFormsFontStartsFromItsControls) {
  Construct(0, CreateForm);
  LOGFONTA system = {}, controls = {};
  GetObjectA(GetStockObject(SYSTEM_FONT), sizeof system, &system);
  GetObjectA(DefaultFont, sizeof controls, &controls);
  QueryObject = &R(0);
  StringValue before = ReadFontName();
  EXPECT_EQ(std::string(before.text, before.length), system.lfFaceName);
  CurrentObject = &R(0);
  WriteFont(kFontSize, 30, nullptr);
  QueryObject = &R(0);
  StringValue after = ReadFontName();
  EXPECT_EQ(std::string(after.text, after.length), controls.lfFaceName);
  EXPECT_EQ(SizeOf(&R(0)), 30);
  EXPECT_EQ(FontOf(&R(0)), R(0).Font);
}

}  // namespace
}  // namespace formsunit
