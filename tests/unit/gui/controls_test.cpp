// Control constructors: class, styles, extended style and images.
#include <cstring>

#include "gui_fixture.h"

#include <commctrl.h>

namespace guitest {
namespace {

using Controls = GuiTest;

constexpr WORD kSystemCheckBitmap = 32760;  // OBM_CHECK

struct ControlCase {
  const char* name;
  void (*constructor)();
  const char* className;   // as stored in the record
  const char* windowClass; // as the system reports it
  uint32_t style;
  uint32_t exStyle;
};

const ControlCase kControls[] = {
    {"button", CreateButton, "BUTTON", "Button", 0x50010000, 0},
    {"check box", CreateCheckBox, "BUTTON", "Button", 0x50010003, 0},
    {"radio button", CreateRadioButton, "BUTTON", "Button", 0x50010009, 0},
    {"combo box", CreateComboBox, "COMBOBOX", "ComboBox", 0x50211303, 0},
    {"edit", CreateEdit, "EDIT", "Edit", 0x50010180, 0x200},
    {"memo", CreateMemo, "EDIT", "Edit", 0x543151C4, 0x200},
    {"rich edit", CreateRichEdit, "RichEdit20a", "RichEdit20A", 0x543151C4, 0x200},
    {"label", CreateLabel, "STATIC", "Static", 0x50000300, 0},
    {"picture", CreatePicture, "STATIC", "Static", 0x50000100, 0},
    {"list box", CreateListBox, "LISTBOX", "ListBox", 0x50A105C1, 0},
};

TEST_F(Controls, EachConstructorSetsClassStyleAndExtendedStyle) {
  for (const ControlCase& c : kControls) {
    SCOPED_TRACE(c.name);
    SetUp();
    MakeForm(0);
    HWND control = Construct(1, c.constructor);
    ASSERT_NE(control, nullptr);
    EXPECT_STREQ(R(1).ClassName, c.className);
    EXPECT_EQ(R(1).Style, c.style);
    EXPECT_EQ(R(1).ExStyle, c.exStyle);
    char name[64] = {};
    GetClassNameA(control, name, sizeof name);
    EXPECT_STRCASEEQ(name, c.windowClass);
    // The controls show their scroll bars only when they need them.
    const uint32_t managed = 0xFFFF0000u & ~static_cast<uint32_t>(WS_VSCROLL | WS_HSCROLL);
    EXPECT_EQ(static_cast<uint32_t>(GetWindowLongA(control, GWL_STYLE)) & managed, c.style & managed);
    EXPECT_EQ(static_cast<uint32_t>(GetWindowLongA(control, GWL_EXSTYLE)) & 0x200u, c.exStyle);
    EXPECT_EQ(GetDlgCtrlID(control), 1);
    // Geometry stays that of the initial image.
    RECT rect;
    GetWindowRect(control, &rect);
    EXPECT_EQ(rect.right - rect.left, 480);
    TearDown();
  }
}

TEST_F(Controls, ExtendedStyleIsKeptExceptByTheEditKinds) {
  MakeForm(0);
  R(1).ExStyle = WS_EX_STATICEDGE;
  Construct(1, CreateComboBox);
  EXPECT_EQ(R(1).ExStyle, static_cast<uint32_t>(WS_EX_STATICEDGE));
  R(2).ExStyle = WS_EX_STATICEDGE;
  Construct(2, CreateEdit);
  EXPECT_EQ(R(2).ExStyle, 0x200u);
}

TEST_F(Controls, ButtonWithAnIconGetsBsIconAndTheIcon) {
  MakeForm(0);
  R(1).IconName = IDI_APPLICATION;
  HWND button = Construct(1, CreateButton);
  EXPECT_EQ(R(1).Style & 0xC0u, 0x40u);
  EXPECT_EQ(static_cast<uint32_t>(GetWindowLongA(button, GWL_STYLE)) & 0xC0u, 0x40u);
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(button, BM_GETIMAGE, IMAGE_ICON, 0)),
            LoadIconA(nullptr, IDI_APPLICATION));
}

TEST_F(Controls, ButtonWithBothImagesEndsWithTheBitmap) {
  MakeForm(0);
  R(1).IconName = IDI_APPLICATION;
  R(1).BitmapName = MAKEINTRESOURCEA(kSystemCheckBitmap);
  HWND button = Construct(1, CreateButton);
  EXPECT_EQ(R(1).Style & 0xC0u, 0x80u);
  EXPECT_EQ(static_cast<uint32_t>(GetWindowLongA(button, GWL_STYLE)) & 0xC0u, 0x80u);
  EXPECT_NE(SendMessageA(button, BM_GETIMAGE, IMAGE_BITMAP, 0), 0);
}

TEST_F(Controls, ButtonConstructedAgainKeepsItsWindowAndCanTakeAnImageLater) {
  MakeForm(0);
  HWND button = Construct(1, CreateButton);
  R(1).Style = 0x50010000;
  {
    MessageSpy spy(button, {BM_SETIMAGE, WM_STYLECHANGED});
    Construct(1, CreateButton);
    EXPECT_EQ(R(1).WindowHandle, button);
    EXPECT_TRUE(spy.seen.empty()) << "no image names: nothing else happens";
  }
  R(1).IconName = IDI_APPLICATION;
  MessageSpy spy(button, {BM_SETIMAGE});
  Construct(1, CreateButton);
  EXPECT_EQ(R(1).WindowHandle, button);
  const Seen expected[] = {{BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(LoadIconA(nullptr, IDI_APPLICATION))},
                           {0, 0, 0}};
  EXPECT_SEEN(spy, expected);
}

TEST_F(Controls, PictureStylesAreReplacedWhole) {
  MakeForm(0);
  R(1).BitmapName = MAKEINTRESOURCEA(kSystemCheckBitmap);
  HWND bitmapPicture = Construct(1, CreatePicture);
  EXPECT_EQ(R(1).Style, 0x5000010Eu);
  EXPECT_EQ(static_cast<uint32_t>(GetWindowLongA(bitmapPicture, GWL_STYLE)) & 0xFFFF00FFu, 0x5000000Eu);
  EXPECT_NE(SendMessageA(bitmapPicture, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
  R(2).IconName = IDI_APPLICATION;
  HWND iconPicture = Construct(2, CreatePicture);
  EXPECT_EQ(R(2).Style, 0x50000103u);
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(iconPicture, STM_GETIMAGE, IMAGE_ICON, 0)),
            LoadIconA(nullptr, IDI_APPLICATION));
}

// The older picture constructors store the style, load the image first and
// make a window only for an image; a window they made keeps its style.
TEST_F(Controls, PictureWindowWaitsForAnImageInTheOlderGenerations) {
  struct Case {
    const GuiGeneration* generation;
    bool windowWithoutImage;
    uint32_t windowStyleAfterBitmap;  // low byte
  };
  for (const Case& c : {Case{&kLatestGeneration, true, 0x0E}, Case{&kMiddleGeneration, false, 0x03},
                        Case{&kEarliestGeneration, false, 0x03}}) {
    SCOPED_TRACE(GenerationName(c.generation));
    StartWith(c.generation);
    MakeForm(0);
    Construct(1, CreatePicture);
    EXPECT_EQ(R(1).WindowHandle != nullptr, c.windowWithoutImage);
    EXPECT_STREQ(R(1).ClassName, "STATIC");
    R(1).IconName = IDI_APPLICATION;
    HWND picture = Construct(1, CreatePicture);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(R(1).Style, 0x50000103u);
    EXPECT_EQ(static_cast<uint32_t>(GetWindowLongA(picture, GWL_STYLE)) & 0xFFu, 0x03u);
    R(1).BitmapName = MAKEINTRESOURCEA(kSystemCheckBitmap);
    Construct(1, CreatePicture);
    EXPECT_EQ(R(1).WindowHandle, picture);
    EXPECT_EQ(R(1).Style, 0x5000010Eu);
    EXPECT_EQ(static_cast<uint32_t>(GetWindowLongA(picture, GWL_STYLE)) & 0xFFu, c.windowStyleAfterBitmap);
    TearDown();
  }
}

TEST_F(Controls, StatusBarTakesANewSlotUnderTheLastForm) {
  for (const auto& [generation, style] : ByGeneration<uint32_t>(0x50000000, 0x50000100, 0x50000100)) {
    SCOPED_TRACE(GenerationName(generation));
    StartWith(generation);
    HWND first = MakeForm(0);
    HWND second = MakeForm(1);
    R(2).ObjectIndex = 1;
    R(2).ParentWindow = first;
    HWND bar = Construct(2, CreateStatusBar);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(R(2).ObjectIndex, 2);
    EXPECT_EQ(ObjectTable[2], &R(2));
    EXPECT_EQ(GetParent(bar), second);
    EXPECT_EQ(GetDlgCtrlID(bar), 2);
    EXPECT_STREQ(R(2).ClassName, "STATUSCLASSNAME");
    EXPECT_EQ(R(2).Style, style);
    EXPECT_EQ(static_cast<uint32_t>(GetWindowLongA(bar, GWL_STYLE)) & 0x100u, style & 0x100u);
    EXPECT_EQ(R(2).Font, nullptr);
    char name[64] = {};
    GetClassNameA(bar, name, sizeof name);
    EXPECT_STRCASEEQ(name, STATUSCLASSNAMEA);
    TearDown();
  }
}

}  // namespace
}  // namespace guitest
