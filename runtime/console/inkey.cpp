#include "console/console.h"

namespace tessaric {

int32_t KeyText(const KEY_EVENT_RECORD& key, char* text) {
  if (!key.bKeyDown) return 0;
  if (key.uChar.AsciiChar != 0) {
    text[0] = key.uChar.AsciiChar;
    return 1;
  }
  switch (key.wVirtualKeyCode) {
    case VK_SHIFT: case VK_CONTROL: case VK_MENU: case VK_CAPITAL: case VK_NUMLOCK: case VK_SCROLL:
    case VK_LWIN: case VK_RWIN:
      return 0;
    default:
      text[0] = 0;
      text[1] = static_cast<char>(key.wVirtualKeyCode);
      return 2;
  }
}

StringValue ConsoleInkey() {
  char text[2];
  int32_t length = 0;
  if (GetNumberOfConsoleInputEvents(StdInputHandle, &ConsoleCount)) {
    // Records are taken until a key gives a text or none is left; releases,
    // the mouse and focus changes are used up on the way.
    for (int32_t kind; length == 0 && (kind = ConsolePollInput()) != kNoEvent;)
      if (kind == kKeyEvent) length = KeyText(LastKeyEvent, text);
  } else {
    // A pipe gives a byte only when one is waiting; a file its next byte, or
    // none at its end. (Wine cannot peek at a Unix pipe given as standard
    // input: such a pipe is read as a file, and waits for its next byte.)
    DWORD waiting = 0, read = 0;
    bool pipe = PeekNamedPipe(StdInputHandle, nullptr, 0, nullptr, &waiting, nullptr);
    if ((!pipe || waiting > 0) && ReadFile(StdInputHandle, text, 1, &read, nullptr) && read == 1) length = 1;
  }
  if (length == 0) return StringValue{EmptyText, 0};
  StringDescriptor* slot = NextTempString();
  StrAlloc(slot, static_cast<uint32_t>(length));
  return StrAssign(text, slot, length);
}

}  // namespace tessaric
