#include "driver.h"

namespace driver {

namespace {

// The driver gives up whatever console it was started with and makes its own,
// so that input written to it is what a program on it polls.
void EnsureConsole() {
  static bool ready = false;
  if (ready) return;
  FreeConsole();
  AllocConsole();
  ready = true;
}

HANDLE OpenConsole(const char* name) {
  return CreateFileA(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                     OPEN_EXISTING, 0, nullptr);
}

}  // namespace

HANDLE ConsoleInput() {
  EnsureConsole();
  static HANDLE input = OpenConsole("CONIN$");
  return input;
}

HANDLE ConsoleOutput() {
  EnsureConsole();
  static HANDLE output = OpenConsole("CONOUT$");
  return output;
}

void WriteInput(const INPUT_RECORD* records, DWORD count) {
  DWORD written = 0;
  WriteConsoleInputA(ConsoleInput(), records, count, &written);
}

INPUT_RECORD KeyRecord(bool down, WORD virtualKey, char character) {
  INPUT_RECORD record = {};
  record.EventType = KEY_EVENT;
  record.Event.KeyEvent.bKeyDown = down;
  record.Event.KeyEvent.wRepeatCount = 1;
  record.Event.KeyEvent.wVirtualKeyCode = virtualKey;
  record.Event.KeyEvent.wVirtualScanCode = static_cast<WORD>(MapVirtualKeyA(virtualKey, 0));
  record.Event.KeyEvent.uChar.AsciiChar = character;
  return record;
}

INPUT_RECORD MouseMoveRecord(SHORT x, SHORT y) {
  INPUT_RECORD record = {};
  record.EventType = MOUSE_EVENT;
  record.Event.MouseEvent.dwMousePosition = {x, y};
  record.Event.MouseEvent.dwEventFlags = MOUSE_MOVED;
  return record;
}

INPUT_RECORD FocusRecord(bool focused) {
  INPUT_RECORD record = {};
  record.EventType = FOCUS_EVENT;
  record.Event.FocusEvent.bSetFocus = focused;
  return record;
}

void PressKey(WORD virtualKey, char character) {
  INPUT_RECORD records[2] = {KeyRecord(true, virtualKey, character), KeyRecord(false, virtualKey, character)};
  WriteInput(records, 2);
}

void TypeText(const std::string& text) {
  for (char c : text) PressKey(c == '\r' ? VK_RETURN : static_cast<WORD>(VkKeyScanA(c) & 0xFF), c);
}

void FlushInput() { FlushConsoleInputBuffer(ConsoleInput()); }

std::string ConsoleTitle() {
  EnsureConsole();
  char title[512] = {};
  GetConsoleTitleA(title, sizeof title);
  return title;
}

std::string RunConsoleProgram(const std::string& exe, const std::string& waitFor, DWORD* exitCode,
                              const std::string& workingDirectory) {
  FlushInput();
  std::string folder = workingDirectory.empty() ? FreshDir("console-run") : workingDirectory;
  std::string outputFile = folder + "\\output.txt";
  LaunchOptions options;
  options.consoleInput = true;
  options.outputFile = outputFile;
  options.workingDirectory = workingDirectory;
  Process process = Launch(exe, options);
  bool prompted = WaitUntil(
      [&] { return ReadFileBytes(outputFile).find(waitFor) != std::string::npos; }, 15000, &process);
  if (prompted) PressKey();
  *exitCode = process.WaitExit(15000);
  return ReadFileBytes(outputFile);
}

}  // namespace driver
