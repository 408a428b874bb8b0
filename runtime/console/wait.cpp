#include "console/console.h"

namespace tessaric {

const char KeyPrompt[27] = "Press a key to continue...";

namespace {

constexpr DWORD kPollInterval = 150;

// One alertable sleep, then at most one record.
int32_t NextPoll() {
  SleepEx(kPollInterval, TRUE);
  return ConsolePollInput();
}

}  // namespace

void ConsoleWaitKey() {
  // Keys typed earlier (the Enter that started the program) must not end the wait.
  while (NextPoll() != kNoEvent) {
  }
  ConsoleWrite(KeyPrompt, sizeof KeyPrompt - 1);
  // Only a handle that can count input records can deliver a key. A console
  // screen buffer passes the console's mode calls but fails this one, like a
  // file or a pipe.
  if (GetNumberOfConsoleInputEvents(StdInputHandle, &ConsoleCount)) {
    // A press or a release ends it; mouse, focus, menu and size records don't.
    while (NextPoll() != kKeyEvent) {
    }
  } else {
    // Such input never delivers console records, so polling would never end:
    // one byte, the end of the input or a failed read ends the wait instead.
    char byte;
    ReadFile(StdInputHandle, &byte, 1, &ConsoleCount, nullptr);
  }
  ConsoleNewLine();
}

}  // namespace tessaric
