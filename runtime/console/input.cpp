#include "console/console.h"

namespace tessaric {

DWORD ConsoleCount = 0;
INPUT_RECORD InputEvent = {};
KEY_EVENT_RECORD LastKeyEvent = {};
MOUSE_EVENT_RECORD LastMouseEvent = {};

int32_t ConsolePollInput() {
  // Input that is not a console fails here; that counts as nothing pending.
  if (!GetNumberOfConsoleInputEvents(StdInputHandle, &ConsoleCount) || ConsoleCount == 0) return kNoEvent;
  InputEvent.EventType = 0;
  ReadConsoleInputA(StdInputHandle, &InputEvent, 1, &ConsoleCount);
  if (ConsoleCount == 0) return kNoEvent;
  int32_t kind = InputEvent.EventType;
  if (kind == kKeyEvent) LastKeyEvent = InputEvent.Event.KeyEvent;
  if (kind == kMouseEvent) LastMouseEvent = InputEvent.Event.MouseEvent;
  return kind;
}

}  // namespace tessaric
