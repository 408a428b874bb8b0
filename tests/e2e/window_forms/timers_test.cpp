// Timers under a real message loop: a handler that runs at every interval
// while its timer is enabled, and ticks skipped while the handler still runs.
#include "forms_support.h"

#include <cstdlib>

namespace formstest {
namespace {

enum { kTicks = 1, kStart, kStop, kBoxes };

class Timers : public ::testing::Test {
 protected:
  void SetUp() override {
    process = Launch(FixturePath("timers.exe"));
    ASSERT_NE(process.handle, nullptr);
    form = StartShown(process, "Timers");
    ASSERT_NE(form, nullptr);
    ticks = Control(form, kTicks);
  }

  // The count of "ticks N ..."; -1 for any other text.
  int Count() {
    std::string text = WindowText(ticks);
    return text.rfind("ticks ", 0) == 0 ? std::atoi(text.c_str() + 6) : -1;
  }

  Process process;
  HWND form = nullptr, ticks = nullptr;
};

TEST_F(Timers, ATimerStartsStoppedWithItsInterval) {
  EXPECT_TEXT(process, ticks, "ticks 0 enabled 0 interval 30");
}

// WM_TIMER, 275, is the event's message.
TEST_F(Timers, EnabledRunsTheHandlerAgainAndAgain) {
  ClickControl(form, Control(form, kStart));
  EXPECT_TRUE(WaitUntil([&] { return Count() >= 3; }, 15000, &process)) << WindowText(ticks);
  std::string text = WindowText(ticks);
  EXPECT_NE(text.find(" message 275"), std::string::npos) << text;
}

// Once stopped, the count stays where it stopped for many intervals.
TEST_F(Timers, DisabledTheHandlerRunsNoMore) {
  ClickControl(form, Control(form, kStart));
  ASSERT_TRUE(WaitUntil([&] { return Count() >= 2; }, 15000, &process));
  ClickControl(form, Control(form, kStop));
  ASSERT_TRUE(WaitUntil([&] { return WindowText(ticks).rfind("stopped at ", 0) == 0; }, 15000, &process));
  std::string stopped = WindowText(ticks);
  EXPECT_NE(stopped.find(" enabled 0"), std::string::npos) << stopped;
  // Twenty intervals of 30 ms: any tick would change the label.
  EXPECT_FALSE(WaitUntil([&] { return WindowText(ticks) != stopped; }, 600, &process)) << WindowText(ticks);
}

// While the first tick's message box is up, the timer goes on ticking, but
// its handler does not run again inside itself: there is one box at a time.
TEST_F(Timers, ATickThatComesWhileTheHandlerRunsIsSkipped) {
  ClickControl(form, Control(form, kBoxes));
  MessageBoxInfo first = WaitForMessageBox(process);
  ASSERT_NE(first.window, nullptr);
  EXPECT_EQ(first.text, "tick 1");
  // Many intervals of 20 ms with the box up.
  EXPECT_FALSE(WaitUntil([&] { return TopLevelWindows(process.id, "#32770").size() > 1; }, 500, &process));
  CloseMessageBox(first.window);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(first.window); }, 5000, &process));
  MessageBoxInfo second = WaitForMessageBox(process);
  ASSERT_NE(second.window, nullptr);
  EXPECT_EQ(second.text, "tick 2");
  CloseMessageBox(second.window);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(second.window); }, 5000, &process));
  // The second handler stopped the timer: no third box comes.
  EXPECT_FALSE(WaitUntil([&] { return !TopLevelWindows(process.id, "#32770").empty(); }, 500, &process));
}

}  // namespace
}  // namespace formstest
