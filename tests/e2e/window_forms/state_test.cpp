// Checked, Enabled, Visible, Hide, Close, ClientWidth and a form's BackColor,
// as the user sees them and as the program reads them back.
#include "forms_support.h"

namespace formstest {
namespace {

enum {
  kCheck = 1, kRadioA, kRadioB, kTarget, kToggle, kHide, kShow, kSetChecks, kReadChecks, kCloseSecond, kCloseMain,
  kReport
};

class State : public ::testing::Test {
 protected:
  void SetUp() override {
    process = Launch(FixturePath("state.exe"));
    ASSERT_NE(process.handle, nullptr);
    form = StartShown(process, "State");
    second = StartShown(process, "Second");
    ASSERT_NE(form, nullptr);
    ASSERT_NE(second, nullptr);
    report = Control(form, kReport);
  }

  Process process;
  HWND form = nullptr, second = nullptr, report = nullptr;
};

TEST_F(State, ClientWidthAndHeightAreTheFormsInside) {
  RECT inside;
  ASSERT_TRUE(GetClientRect(form, &inside));
  EXPECT_TEXT(process, report,
              "client " + std::to_string(inside.right) + " " + std::to_string(inside.bottom) +
                  " enabled 1 visible 1 checked 0");
}

TEST_F(State, ChecksClickedByTheUserReadBack) {
  ClickControl(form, Control(form, kCheck));
  ClickControl(form, Control(form, kRadioA));
  ClickControl(form, Control(form, kReadChecks));
  EXPECT_TEXT(process, report, "checks 1 1 0");
}

// Checking a radio button clears the other one of its form, as a click does.
TEST_F(State, ChecksWrittenByTheProgramShowAndClearTheOtherRadioButton) {
  ClickControl(form, Control(form, kRadioA));
  ClickControl(form, Control(form, kSetChecks));
  EXPECT_TEXT(process, report, "checks 1 0 1");
  EXPECT_EQ(SendMessageA(Control(form, kCheck), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageA(Control(form, kRadioA), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessageA(Control(form, kRadioB), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(State, EnabledTakesAButtonsInputAwayAndGivesItBack) {
  HWND target = Control(form, kTarget);
  ClickControl(form, Control(form, kToggle));
  EXPECT_TEXT(process, report, "enabled 0");
  EXPECT_FALSE(IsWindowEnabled(target));
  ClickControl(form, Control(form, kToggle));
  EXPECT_TEXT(process, report, "enabled 1");
  EXPECT_TRUE(IsWindowEnabled(target));
}

TEST_F(State, HideAndVisibleHideAndShowAControl) {
  HWND target = Control(form, kTarget);
  ClickControl(form, Control(form, kHide));
  EXPECT_TEXT(process, report, "visible 0");
  EXPECT_FALSE(IsWindowVisible(target));
  ClickControl(form, Control(form, kShow));
  EXPECT_TEXT(process, report, "visible 1");
  EXPECT_TRUE(IsWindowVisible(target));
}

// Close is the close box: the second form's OnClose runs (and hides it).
TEST_F(State, CloseRunsTheFormsOnClose) {
  ClickControl(form, Control(form, kCloseSecond));
  EXPECT_TEXT(process, report, "second closes 1 visible 0");
  EXPECT_FALSE(IsWindowVisible(second));
  EXPECT_TRUE(process.Running());
}

TEST_F(State, CloseOfTheMainFormRunsItsOnClose) {
  ClickControl(form, Control(form, kCloseMain));
  MessageBoxInfo box = WaitForMessageBox(process);
  ASSERT_NE(box.window, nullptr) << "the main form's OnClose did not run";
  EXPECT_EQ(box.text, "Bye");
  EXPECT_EQ(WindowText(report), "closing");
  CloseMessageBox(box.window);
  EXPECT_EQ(process.WaitExit(), 0u);
}

// Yellow all over the form's inside, and behind a label's text, which has no
// colour of its own.
TEST_F(State, BackColorFillsTheFormAndStandsBehindItsLabels) {
  const COLORREF yellow = 0x00FFFF;
  BringToFront(form);
  RECT inside;
  GetClientRect(form, &inside);
  ASSERT_TRUE(WaitUntil([&] { return ClientPixel(form, inside.right - 5, inside.bottom - 5) == yellow; }, 5000, &process))
      << std::hex << ClientPixel(form, inside.right - 5, inside.bottom - 5);
  RECT place;
  GetWindowRect(report, &place);
  // The label's far right end, where its text does not reach.
  POINT end = {place.right - 3, (place.top + place.bottom) / 2};
  ScreenToClient(form, &end);
  EXPECT_EQ(ClientPixel(form, end.x, end.y), yellow);
}

}  // namespace
}  // namespace formstest
