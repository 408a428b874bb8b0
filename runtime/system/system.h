// What a program asks of the system: the clock, its command line, the
// environment, a pause and the beep.
#pragma once

#include <stdint.h>

#include "core/program.h"
#include "core/strings.h"

namespace tessaric {

// TIMER: the seconds since midnight, local time, to the millisecond. Leaves
// no exception flags behind, as the number is an operand like any other.
long double ClockSeconds();

// DATE$ ("YYYY-MM-DD") and TIME$ ("HH:MM:SS"), local time, in a temporary.
constexpr int32_t kClockDate = 0;
constexpr int32_t kClockTime = 1;
StringValue ClockText(int32_t form);
StringValue ClockTextOf(const SYSTEMTIME& time, int32_t form);

// COMMAND$: the command line after the program's name (in quotes, or up to
// the first blank) and the blanks that follow it, as it stands. It lives as
// long as the process.
StringValue CommandArguments();
StringValue CommandArgumentsOf(const char* line);

// ENVIRON$: the value of the environment variable, in a temporary; "" when
// there is none.
StringValue EnvironmentText(const char* name);

// SLEEP: a pause of that many milliseconds; none for 0 or less.
inline void SleepMilliseconds(int32_t milliseconds) { Sleep(milliseconds > 0 ? static_cast<DWORD>(milliseconds) : 0); }

// BEEP: the system's simple beep; it does not wait for the sound to end.
inline void SystemBeep() { MessageBeep(0xFFFFFFFF); }

}  // namespace tessaric
