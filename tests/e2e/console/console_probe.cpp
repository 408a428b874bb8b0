// A freestanding program that exercises the console library in the way its
// command line names and reports what it saw as "name=value" lines on
// standard error:
//   screen    colours, cell reads and the cursor on a real console
//   clear     ConsoleSetColor(14, 1), then ConsoleClear
//   redirect  a print, then the screen operations, with output to a file
//   zero      ConsoleWrite of length 0 on a handle that would fail
//   poll      five polls of whatever input is queued
//   wait      ConsoleWaitKey, then what ended it
#include "console/console.h"
#include "core/numbers.h"
#include "../probe_mode.h"

using namespace tessaric;

TESSARIC_PROGRAM("Tessaric0003", "consoleprobe")

namespace {

void ReportText(StringValue text) {
  DWORD written;
  WriteFile(StdErrorHandle, text.text, static_cast<DWORD>(text.length), &written, nullptr);
}

void Report(StringValue name, int32_t value) {
  ReportText(name);
  ReportText(Literal("="));
  ReportText(SignedText(value));
  ReportText(Literal("\r\n"));
}

void ReportCursor() {
  Report(Literal("row"), ConsoleCursorRow());
  Report(Literal("column"), ConsoleCursorColumn());
}

// One character in each colour pair, then both of its reads.
struct Colour {
  int32_t foreground;
  int32_t background;
  char character;
};
constexpr Colour kColours[] = {{14, 1, 'H'}, {17, 0, 'i'}, {15, 15, '#'}, {7, 0, '.'}, {1, 16, '+'}};

void Screen() {
  ConsoleSetColor(14, 1);
  ConsoleClear();
  ReportCursor();
  int32_t column = 1;
  for (const Colour& c : kColours) {
    ConsoleSetColor(c.foreground, c.background);
    ConsoleWrite(&c.character, 1);
    Report(Literal("char"), static_cast<int32_t>(ConsoleReadCell(1, column, 0)));
    Report(Literal("attribute"), static_cast<int32_t>(ConsoleReadCell(1, column, 1)));
    ++column;
  }
  Report(Literal("cleared"), static_cast<int32_t>(ConsoleReadCell(1, column, 1)));
  ConsoleSetColor(7, 0);
  ConsoleLocate(5, 12);
  ReportCursor();
  // Outside the buffer: refused, and the cursor stays.
  ConsoleLocate(0, 0);
  ReportCursor();
  Report(Literal("outside"), static_cast<int32_t>(ConsoleReadCell(0, 0, 0)));
  Report(Literal("outside"), static_cast<int32_t>(ConsoleReadCell(30000, 1, 1)));
}

void Clear() {
  ConsoleSetColor(14, 1);
  ConsoleClear();
  ReportCursor();
}

void Redirect() {
  ConsoleWrite(Literal("abc"));
  ConsoleWrite(SignedText(-12));
  ConsoleWrite(Literal("def"));
  ConsoleNewLine();
  ConsoleClear();
  ConsoleSetColor(14, 1);
  ConsoleLocate(3, 3);
  Report(Literal("refresh"), ConsoleRefreshInfo());
  ReportCursor();
  ConsoleWrite(Literal(""));
  ConsoleNewLine();
}

void Zero() {
  StdOutputHandle = reinterpret_cast<HANDLE>(0x5554);
  SetLastError(0xDEADBEEF);
  Report(Literal("written"), static_cast<int32_t>(ConsoleWrite(Literal("text").text, 0)));
  Report(Literal("error"), static_cast<int32_t>(GetLastError()));
  // The same handle fails a real write, which shows in the last error.
  ConsoleWrite(Literal("text"));
  Report(Literal("error"), static_cast<int32_t>(GetLastError()));
}

void Poll() {
  for (int i = 0; i < 5; ++i) {
    Report(Literal("kind"), ConsolePollInput());
    Report(Literal("type"), InputEvent.EventType);
    Report(Literal("down"), LastKeyEvent.bKeyDown);
    Report(Literal("key"), LastKeyEvent.wVirtualKeyCode);
    Report(Literal("mouse"), LastMouseEvent.dwMousePosition.X * 100 + LastMouseEvent.dwMousePosition.Y);
  }
}

void Wait() {
  ConsoleWaitKey();
  Report(Literal("type"), InputEvent.EventType);
  Report(Literal("down"), LastKeyEvent.bKeyDown);
  Report(Literal("key"), LastKeyEvent.wVirtualKeyCode);
  Report(Literal("mouse"), LastMouseEvent.dwMousePosition.X * 100 + LastMouseEvent.dwMousePosition.Y);
  Report(Literal("count"), static_cast<int32_t>(ConsoleCount));
}

}  // namespace

int ProgramBody() {
  if (ProbeMode("screen")) Screen();
  if (ProbeMode("clear")) Clear();
  if (ProbeMode("redirect")) Redirect();
  if (ProbeMode("zero")) Zero();
  if (ProbeMode("poll")) Poll();
  if (ProbeMode("wait")) Wait();
  return 0;
}
