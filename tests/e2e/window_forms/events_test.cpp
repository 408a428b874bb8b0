// MouseX, MouseY, MouseButton and KeyCode in their handlers, and the form's
// inside in OnResize, under real input.
#include "forms_support.h"

namespace formstest {
namespace {

enum { kPad = 1, kReport, kMoves };

class EventValues : public ::testing::Test {
 protected:
  void SetUp() override {
    process = Launch(FixturePath("events.exe"));
    ASSERT_NE(process.handle, nullptr);
    form = StartShown(process, "Events");
    ASSERT_NE(form, nullptr);
    report = Control(form, kReport);
    ASSERT_TRUE(BringToFront(form));
  }

  // Where the pointer is, in the window's client coordinates. The point the
  // driver asks for may come out a pixel away, as the system maps it to and
  // from the 0 to 65535 of absolute mouse input; the program sees this one.
  static std::string PointerIn(HWND window) {
    POINT at;
    GetCursorPos(&at);
    ScreenToClient(window, &at);
    return std::to_string(at.x) + " " + std::to_string(at.y);
  }

  Process process;
  HWND form = nullptr, report = nullptr;
};

// In the form's client coordinates; the left button is 1, the right 2; no key.
TEST_F(EventValues, MouseValuesOnTheForm) {
  Click(ScreenPoint(form, 30, 40));
  EXPECT_TEXT(process, report, "up " + PointerIn(form) + " 1");
  MouseButton(ScreenPoint(form, 50, 60), true, true);
  EXPECT_TEXT(process, report, "down " + PointerIn(form) + " 2 key 0");
  MouseButton(ScreenPoint(form, 50, 60), false, true);
  EXPECT_TEXT(process, report, "up " + PointerIn(form) + " 2");
}

// On a control, in the control's own coordinates.
TEST_F(EventValues, MouseValuesOnAControl) {
  Click(ScreenPoint(Control(form, kPad), 12, 34));
  EXPECT_TEXT(process, report, "pad " + PointerIn(Control(form, kPad)) + " 1");
}

// While the mouse moves, the buttons held.
TEST_F(EventValues, MouseButtonWhileDragging) {
  Drag(ScreenPoint(form, 20, 20), ScreenPoint(form, 100, 60));
  EXPECT_TEXT(process, Control(form, kMoves), "drag " + PointerIn(form) + " 1");
}

// The key's code; no mouse values in a key handler.
TEST_F(EventValues, KeyCodeInAKeyHandler) {
  TypeKey('A');
  EXPECT_TEXT(process, report, "key 65 mouse 0 0");
  TypeKey(VK_F1);
  EXPECT_TEXT(process, report, "key 112 mouse 0 0");
  TypeKey(VK_LEFT);
  EXPECT_TEXT(process, report, "key 37 mouse 0 0");
}

TEST_F(EventValues, ClientSizeInOnResize) {
  SetWindowPos(form, nullptr, 0, 0, 500, 350, SWP_NOMOVE | SWP_NOZORDER);
  RECT inside;
  ASSERT_TRUE(WaitUntil(
      [&] {
        GetClientRect(form, &inside);
        return inside.right > 400;
      },
      5000, &process));
  EXPECT_TEXT(process, report, "size " + std::to_string(inside.right) + " " + std::to_string(inside.bottom));
}

}  // namespace
}  // namespace formstest
