// OPTION TABSTOPS: Tab, Shift+Tab and Enter on a form as in a dialog; and a
// program without it, whose controls get those keys as before.
#include "forms_support.h"

namespace formstest {
namespace {

enum { kFirst = 1, kSecond, kNotes, kGo, kOther, kReport };

class Keys : public ::testing::Test {
 protected:
  void SetUp() override {
    process = Launch(FixturePath("keys.exe"));
    ASSERT_NE(process.handle, nullptr);
    form = StartShown(process, "Keys");
    ASSERT_NE(form, nullptr);
    report = Control(form, kReport);
    ASSERT_TRUE(BringToFront(form));
    ASSERT_TRUE(WaitUntil([&] { return HoldsFocus(process, Control(form, kFirst)); }, 5000, &process));
  }

  bool FocusMovesTo(int index) {
    return WaitUntil([&] { return HoldsFocus(process, Control(form, index)); }, 5000, &process);
  }

  void ShiftTab() {
    KeyEvent(VK_SHIFT, true);
    TypeKey(VK_TAB);
    KeyEvent(VK_SHIFT, false);
  }

  Process process;
  HWND form = nullptr, report = nullptr;
};

TEST_F(Keys, DefaultReadsBack) { EXPECT_TEXT(process, report, "default 1 0"); }

// In the order the controls were declared, round to the first again.
TEST_F(Keys, TabMovesTheFocusForwardAndShiftTabBack) {
  TypeKey(VK_TAB);
  EXPECT_TRUE(FocusMovesTo(kSecond));
  TypeKey(VK_TAB);
  EXPECT_TRUE(FocusMovesTo(kNotes));
  TypeKey(VK_TAB);
  EXPECT_TRUE(FocusMovesTo(kGo));
  ShiftTab();
  EXPECT_TRUE(FocusMovesTo(kNotes));
  ShiftTab();
  ShiftTab();
  EXPECT_TRUE(FocusMovesTo(kFirst));
  ShiftTab();
  EXPECT_TRUE(FocusMovesTo(kOther));
}

// Text typed after Tab lands in the next box; Enter there clicks Go.
TEST_F(Keys, EnterClicksTheDefaultButton) {
  TypeKey(VK_TAB);
  ASSERT_TRUE(FocusMovesTo(kSecond));
  TypeKey('A');
  TypeKey(VK_RETURN);
  EXPECT_TEXT(process, report, "go 1 [a]");
}

TEST_F(Keys, EnterOnAFocusedPushButtonClicksThatButton) {
  for (int i = 0; i < 4; ++i) TypeKey(VK_TAB);
  ASSERT_TRUE(FocusMovesTo(kOther));
  TypeKey(VK_RETURN);
  EXPECT_TEXT(process, report, "other");
}

// Enter in the memo is a line break: the memo holds it, Go stays unclicked
// (the click after it shows the count).
TEST_F(Keys, EnterInATextOfManyLinesBreaksTheLine) {
  TypeKey(VK_TAB);
  TypeKey(VK_TAB);
  ASSERT_TRUE(FocusMovesTo(kNotes));
  TypeKey('X');
  TypeKey(VK_RETURN);
  TypeKey('Y');
  HWND notes = Control(form, kNotes);
  EXPECT_TRUE(WaitUntil([&] { return WindowText(notes) == "x\r\ny"; }, 5000, &process)) << WindowText(notes);
  ClickControl(form, Control(form, kGo));
  EXPECT_TEXT(process, report, "go 1 []");
}

class NoKeys : public ::testing::Test {
 protected:
  void SetUp() override {
    process = Launch(FixturePath("nokeys.exe"));
    ASSERT_NE(process.handle, nullptr);
    form = StartShown(process, "No keys");
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(BringToFront(form));
    ASSERT_TRUE(WaitUntil([&] { return HoldsFocus(process, Control(form, kFirst)); }, 5000, &process));
  }

  Process process;
  HWND form = nullptr;
};

// Tab stays in the box and reaches its OnKeyDown; the letter after it lands
// in the same box.
TEST_F(NoKeys, TabAndEnterReachTheFocusedControl) {
  HWND report = Control(form, 4);
  TypeKey(VK_TAB);
  EXPECT_TEXT(process, report, "key 9 keys 1");
  TypeKey(VK_RETURN);
  EXPECT_TEXT(process, report, "key 13 keys 2");
  TypeKey('B');
  EXPECT_TEXT(process, report, "key 66 keys 3");
  EXPECT_TRUE(WaitUntil([&] { return WindowText(Control(form, kFirst)) == "b"; }, 5000, &process));
  EXPECT_TRUE(HoldsFocus(process, Control(form, kFirst)));
}

}  // namespace
}  // namespace formstest
