// Timers: the system's thread timers, whose ticks the message loop hands to
// TimerTick; the timer's handler runs there, on the program's one thread.
#include "gui/forms.h"

namespace tessaric {

namespace {

// Every timer that ever ran, so that a tick finds its record by the system's
// identifier; a tick whose identifier names none of them (another program
// can post one) runs nothing.
TimerObject* Timers = nullptr;

void CALLBACK TimerTick(HWND, UINT, UINT_PTR id, DWORD) {
  TimerObject* timer = Timers;
  while (timer != nullptr && timer->Id != id) timer = timer->Next;
  // A handler that is still running (a message box in it, DOEVENTS) is not
  // run again inside itself: that tick is skipped.
  if (timer == nullptr || timer->OnTimer == nullptr || timer->Running != 0) return;
  timer->Running = 1;
  EventWindow = nullptr;
  EventMessage = WM_TIMER;
  EventWParam = id;
  EventLParam = 0;
  timer->OnTimer();
  timer->Running = 0;
}

bool Listed(const TimerObject* timer) {
  for (const TimerObject* t = Timers; t != nullptr; t = t->Next)
    if (t == timer) return true;
  return false;
}

}  // namespace

// The system counts intervals below 10 ms as 10; an interval of 0 or less
// stops the timer as Enabled = 0 does. The system keeps a running timer's
// identifier when it is set again, so a new interval takes effect at once.
void UpdateTimer(TimerObject* timer) {
  if (timer->Enabled != 0 && timer->Interval > 0) {
    if (!Listed(timer)) {
      timer->Next = Timers;
      Timers = timer;
    }
    timer->Id = SetTimer(nullptr, timer->Id, static_cast<UINT>(timer->Interval), TimerTick);
  } else if (timer->Id != 0) {
    KillTimer(nullptr, timer->Id);
    timer->Id = 0;
  }
}

}  // namespace tessaric
