// The console library: text, colour and cursor on the standard output handle,
// input polling, the closing key wait and reading a screen cell back.
#pragma once

#include <stdint.h>

#include "core/program.h"
#include "core/strings.h"

namespace tessaric {

// Refilled only by ConsoleRefreshInfo; stale in between.
extern CONSOLE_SCREEN_BUFFER_INFO ScreenInfo;
// The count stored by the last poll, input read or cell read.
extern DWORD ConsoleCount;
// The record that ConsolePollInput took last.
extern INPUT_RECORD InputEvent;
// Copies of the last key and mouse records taken; zero before the first.
extern KEY_EVENT_RECORD LastKeyEvent;
extern MOUSE_EVENT_RECORD LastMouseEvent;
static_assert(sizeof(KEY_EVENT_RECORD) == 16 && sizeof(MOUSE_EVENT_RECORD) == 16, "16-byte event bodies");

// Shown by ConsoleWaitKey, without a line end.
extern const char KeyPrompt[27];

// Kinds that ConsolePollInput returns; 0 when nothing was pending.
constexpr int32_t kNoEvent = 0;
constexpr int32_t kKeyEvent = KEY_EVENT;
constexpr int32_t kMouseEvent = MOUSE_EVENT;

// One WriteFile of the bytes; nothing at all for length 0. Returns the bytes written.
uint32_t ConsoleWrite(const char* text, uint32_t length);
inline uint32_t ConsoleWrite(StringValue value) {
  return ConsoleWrite(value.text, static_cast<uint32_t>(value.length));
}
uint32_t ConsoleNewLine();

BOOL ConsoleRefreshInfo();
// Blanks the whole buffer grey on black and homes the cursor; the text
// attribute for later writes stays as it was.
void ConsoleClear();
// No range check: a foreground above 15 spills into the background bits.
void ConsoleSetColor(int32_t foreground, int32_t background);
void ConsoleLocate(int32_t row, int32_t column);
int32_t ConsoleCursorRow();
int32_t ConsoleCursorColumn();

// Program coordinates are 1-based; the console's cells are 0-based.
inline COORD ConsoleCell(int32_t row, int32_t column) {
  return COORD{static_cast<SHORT>(column - 1), static_cast<SHORT>(row - 1)};
}

// Compiled in place at the statement that sets the title.
inline void ConsoleSetTitle(const char* text) { SetConsoleTitleA(text); }

// Compiled in place where a GUI program asks for a console: the handles the
// start-up stub fetched are not usable there.
inline void ConsoleOpen() {
  AllocConsole();
  StdOutputHandle = GetStdHandle(STD_OUTPUT_HANDLE);
  StdInputHandle = GetStdHandle(STD_INPUT_HANDLE);
  StdErrorHandle = GetStdHandle(STD_ERROR_HANDLE);
}

// Takes at most one pending record; returns its event type or 0. Never blocks.
int32_t ConsolePollInput();
// Drains pending input, shows KeyPrompt, waits for a key record, ends the line.
void ConsoleWaitKey();
// The character (flag 0) or attribute word of one cell; 0 when it can't be read.
uint32_t ConsoleReadCell(int32_t row, int32_t column, int32_t flag);

// INKEY$: the next key waiting at a console, or "" at once when none is; from
// a file or a pipe, the next byte (from a pipe only when one is waiting).
StringValue ConsoleInkey();
// What a key record gives INKEY$: its character, or for a key without one a
// zero byte and the key's virtual-key code; nothing for a release or a key
// that only changes others (Shift, Ctrl, Alt, the locks, the Windows keys).
// Returns the count of bytes written to text (at most 2).
int32_t KeyText(const KEY_EVENT_RECORD& key, char* text);

// One line of standard input, without its line end, into line (which has a
// block); the empty string at the end of the input. Works on a console, a
// file and a pipe alike.
void ConsoleReadLine(StringDescriptor* line);
// A line of standard input taken as a number, as VAL takes it.
long double ConsoleReadNumber();

// INPUT with several variables: the line, read once into line (which needs no
// block yet); then field after field, from *at on: the text up to the next
// comma without the blanks around it, "" once the line has no more.
StringValue InputLine(StringDescriptor* line);
StringValue InputField(StringValue line, int32_t* at);

// PRINT in a program that uses print zones, TAB or SPC: every byte it writes
// goes through PrintWrite, which counts the bytes since the last CR or LF in
// PrintColumn, the column that output to a file or a pipe has reached. On a
// console the cursor's column counts instead.
extern uint32_t PrintColumn;
void PrintWrite(const char* text, uint32_t length);
inline void PrintWrite(StringValue value) { PrintWrite(value.text, static_cast<uint32_t>(value.length)); }
void PrintNewLine();
// ',': on to the next zone of 14 columns. TAB(n): on to column n (from 1),
// on a new line when the line is past it. SPC(n): n blanks.
void PrintZone();
void PrintTab(int32_t column);
void PrintSpaces(int32_t count);

}  // namespace tessaric
