// Window programs of more than one form, observed from outside: a second form
// that hides at its close box and shows again while the main form's OnClose
// still asks before the end; a handler looping on DOEVENTS that ends with the
// program; status bars along the bottom of their own forms at any size.
#include <gtest/gtest.h>

#include "driver.h"

using namespace driver;

namespace {

HWND FormWithCaption(const Process& process, const std::string& caption) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND window : TopLevelWindows(process.id, nullptr, false))
          if (WindowText(window) == caption) found = window;
        return found != nullptr;
      },
      15000, &process);
  return found;
}

HWND ChildWithText(HWND parent, const std::string& text) {
  for (HWND child : ChildWindows(parent))
    if (WindowText(child) == text) return child;
  return nullptr;
}

HWND StatusBarOf(HWND form) {
  for (HWND child : ChildWindows(form))
    if (ClassName(child) == "msctls_statusbar32" && GetParent(child) == form) return child;
  return nullptr;
}

// Whether the bar lies along the whole bottom edge of its form's inside.
bool AlongTheBottom(HWND form, HWND bar) {
  RECT client, place;
  if (!GetClientRect(form, &client) || !GetWindowRect(bar, &place)) return false;
  MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&place), 2);
  return IsWindowVisible(bar) && place.bottom == client.bottom && place.left == 0 && place.right == client.right &&
         place.top > 0;
}

std::string Where(HWND form, HWND bar) {
  RECT client, place;
  GetClientRect(form, &client);
  GetWindowRect(bar, &place);
  MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&place), 2);
  return "bar " + std::to_string(place.left) + "," + std::to_string(place.top) + "-" + std::to_string(place.right) +
         "," + std::to_string(place.bottom) + " in a client area of " + std::to_string(client.right) + " by " +
         std::to_string(client.bottom);
}

TEST(SecondForm, HidesAtItsCloseBoxShowsAgainAndTheMainFormStillAsks) {
  Process process = Launch(FixturePath("second_form.exe"));
  ASSERT_NE(process.handle, nullptr);
  HWND main = FormWithCaption(process, "Main form");
  HWND second = FormWithCaption(process, "Second form");
  ASSERT_NE(main, nullptr);
  ASSERT_NE(second, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) && IsWindowVisible(second); }, 15000, &process));

  // The close box of the second form: it hides, and the program goes on.
  PostMessageA(second, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(second); }, 15000, &process));
  ASSERT_TRUE(process.Running()) << "closing the second form ended the program";
  EXPECT_TRUE(IsWindow(second));
  EXPECT_TRUE(IsWindowVisible(main));

  // Shown again by the main form's button: the same window.
  HWND again = ChildWithText(main, "Show the second form");
  ASSERT_NE(again, nullptr);
  ASSERT_TRUE(BringToFront(main));
  Click(ScreenCentre(again));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(second); }, 15000, &process));

  // Closed again, then the main form: its OnClose asks before the end.
  PostMessageA(second, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(second); }, 15000, &process));
  PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
  MessageBoxInfo box = WaitForMessageBox(process);
  ASSERT_NE(box.window, nullptr) << "the main form's OnClose did not run";
  EXPECT_EQ(box.text, "Save changes?");
  CloseMessageBox(box.window);
  EXPECT_EQ(process.WaitExit(), 0u);
}

class BusyLoop : public ::testing::Test {
 protected:
  // Starts the program and its handler's endless loop.
  void SetUp() override {
    process = Launch(FixturePath("busy_loop.exe"));
    ASSERT_NE(process.handle, nullptr);
    form = FormWithCaption(process, "Busy loop");
    ASSERT_NE(form, nullptr);
    HWND start = ChildWithText(form, "Start");
    state = ChildWithText(form, "waiting");
    ASSERT_NE(start, nullptr);
    ASSERT_NE(state, nullptr);
    ASSERT_TRUE(BringToFront(form));
    Click(ScreenCentre(start));
    ASSERT_TRUE(WaitUntil([&] { return WindowText(state) == "looping"; }, 15000, &process));
  }

  Process process;
  HWND form = nullptr;
  HWND state = nullptr;
};

TEST_F(BusyLoop, ClosingTheFormEndsTheProgram) {
  PostMessageA(form, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(process.WaitExit(), 0u) << "the loop spins on after the form closed";
}

TEST_F(BusyLoop, TheQuitMessageEndsItWithItsCode) {
  HWND quit = ChildWithText(form, "Quit with 7");
  ASSERT_NE(quit, nullptr);
  Click(ScreenCentre(quit));
  EXPECT_EQ(process.WaitExit(), 7u);
}

TEST(StatusBars, LieAlongTheBottomOfTheirOwnFormsAtAnySize) {
  Process process = Launch(FixturePath("status_bars.exe"));
  ASSERT_NE(process.handle, nullptr);
  HWND main = FormWithCaption(process, "Main form");
  HWND second = FormWithCaption(process, "Second form");
  ASSERT_NE(main, nullptr);
  ASSERT_NE(second, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) && IsWindowVisible(second); }, 15000, &process));
  HWND mainBar = StatusBarOf(main);
  HWND secondBar = StatusBarOf(second);
  ASSERT_NE(mainBar, nullptr) << "the main form's bar (declared IN Main) is not on it";
  ASSERT_NE(secondBar, nullptr);
  EXPECT_EQ(WindowText(mainBar), "main ready");
  EXPECT_EQ(WindowText(secondBar), "second ready");
  EXPECT_TRUE(AlongTheBottom(main, mainBar)) << Where(main, mainBar);
  EXPECT_TRUE(AlongTheBottom(second, secondBar)) << Where(second, secondBar);

  // Resized by the user: the bar follows the edge.
  for (int height : {260, 130}) {
    SetWindowPos(main, nullptr, 0, 0, 340, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(WaitUntil([&] { return AlongTheBottom(main, mainBar); }, 5000, &process))
        << "at a height of " << height << ": " << Where(main, mainBar);
  }
  EXPECT_EQ(CloseAndWait(process, main), 0u);
}

}  // namespace
