// Timers: started, restarted and stopped by their two properties, their
// handler run from the message loop with the event values of a tick, never
// inside itself, and never for a tick that names none of them.
#include "forms_fixture.h"

namespace formsunit {
namespace {

class Timers : public FormsTest {
 protected:
  void TearDown() override {
    timer.Enabled = 0;
    UpdateTimer(&timer);
    FormsTest::TearDown();
  }
  TimerObject timer = {};
};

TimerObject* Ticking = nullptr;
bool OneCall() { return Calls.size() >= 1; }
bool ThreeCalls() { return Calls.size() >= 3; }

TEST_F(Timers, ATimerStartsWhenEnabledWithAnInterval) {
  timer.OnTimer = OnTimerLogged;
  timer.Interval = 10;
  UpdateTimer(&timer);
  EXPECT_EQ(timer.Id, 0u) << "started while not enabled";
  timer.Enabled = 1;
  UpdateTimer(&timer);
  ASSERT_NE(timer.Id, 0u);
  ASSERT_TRUE(PumpUntil(ThreeCalls));
  EXPECT_EQ(Calls[0].message, static_cast<UINT>(WM_TIMER));
  EXPECT_EQ(Calls[0].window, nullptr);
  EXPECT_EQ(Calls[0].wParam, timer.Id);
  EXPECT_EQ(Calls[0].lParam, 0);
}

// An interval of 0 or less stops the timer as Enabled = 0 does; each stop
// gives the identifier back.
TEST_F(Timers, DisabledOrWithoutAnIntervalItStops) {
  timer.OnTimer = OnTimerLogged;
  for (auto stop : {+[](TimerObject* t) { t->Enabled = 0; }, +[](TimerObject* t) { t->Interval = 0; },
                    +[](TimerObject* t) { t->Interval = -5; }}) {
    timer.Enabled = 1;
    timer.Interval = 10;
    UpdateTimer(&timer);
    ASSERT_NE(timer.Id, 0u);
    stop(&timer);
    UpdateTimer(&timer);
    EXPECT_EQ(timer.Id, 0u);
  }
  DrainMessages();
  Calls.clear();
  MSG message;
  // No tick waits: a stopped timer posts none.
  EXPECT_FALSE(PeekMessageA(&message, nullptr, WM_TIMER, WM_TIMER, PM_NOREMOVE));
}

// A new interval keeps the running timer's identifier.
TEST_F(Timers, ANewIntervalKeepsTheTimer) {
  timer.Enabled = 1;
  timer.Interval = 1000;
  UpdateTimer(&timer);
  UINT_PTR first = timer.Id;
  timer.Interval = 20;
  UpdateTimer(&timer);
  EXPECT_EQ(timer.Id, first);
}

// The handler pumps messages while ticks come: it does not run again inside itself.
TEST_F(Timers, AHandlerIsNotRunInsideItself) {
  timer.OnTimer = OnTimerLogged;
  timer.Interval = 10;
  timer.Enabled = 1;
  Ticking = &timer;
  During = [] {
    if (Calls.size() != 1) return;
    // Three intervals' worth of ticks, each dispatched from inside the handler.
    for (int ticks = 0; ticks < 3;) {
      MSG message;
      if (PeekMessageA(&message, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) {
        DispatchMessageA(&message);
        ++ticks;
      } else {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_TIMER);
      }
    }
    Calls.push_back({"inner loop done", nullptr, 0, 0, 0, 0, nullptr, nullptr});
  };
  UpdateTimer(&timer);
  ASSERT_TRUE(PumpUntil(ThreeCalls));
  EXPECT_EQ(Calls[0].handler, "OnTimer");
  EXPECT_EQ(Calls[1].handler, "inner loop done");
  EXPECT_EQ(Calls[2].handler, "OnTimer");
  EXPECT_EQ(timer.Running, 0);
}

// A tick posted by another program, with an identifier of none of ours,
// runs nothing.
TEST_F(Timers, ATickOfNoTimerRunsNothing) {
  timer.OnTimer = OnTimerLogged;
  timer.Interval = 10;
  timer.Enabled = 1;
  UpdateTimer(&timer);
  MSG tick;
  DWORD start = GetTickCount();
  while (!PeekMessageA(&tick, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE) && GetTickCount() - start < 5000)
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_TIMER);
  ASSERT_EQ(tick.message, static_cast<UINT>(WM_TIMER));
  timer.Enabled = 0;
  UpdateTimer(&timer);
  DrainMessages();
  tick.wParam = tick.wParam + 1000;
  DispatchMessageA(&tick);
  EXPECT_TRUE(Calls.empty());
}

}  // namespace
}  // namespace formsunit
