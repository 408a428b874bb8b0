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
  DWORD mode;
  if (GetConsoleMode(StdInputHandle, &mode)) {
    // A press or a release ends it; mouse, focus, menu and size records don't.
    while (NextPoll() != kKeyEvent) {
    }
  } else {
    // A file or pipe never delivers console records: polling would never
    // end, so one byte, or the end of the input, ends the wait instead.
    char byte;
    ReadFile(StdInputHandle, &byte, 1, &ConsoleCount, nullptr);
  }
  ConsoleNewLine();
}

}  // namespace tessaric
