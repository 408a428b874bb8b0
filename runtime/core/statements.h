// What the language's own statements need while a program runs: the errors
// they end a program with, the program's DATA and the place of the next
// READ, the return points of GOSUB, and the stack that recursive routines
// use.
#pragma once

#include "core/strings.h"

namespace tessaric {

// Errors of the language's statements, beyond the fatal table: a box with the
// text, captioned ProgramName, then the exit code.
enum RunErrorCode : uint32_t {
  kRecursionTooDeep = 5,
  kReturnWithoutGosub = 6,
  kOutOfData = 7,
};
[[noreturn]] void RunError(RunErrorCode code);

// DATA: the program lists its items (the compiler writes ProgramData), READ
// takes them in order, RESTORE starts again at an item.
struct DataItem {
  const char* text;
  int32_t length;
};
extern const DataItem ProgramData[];
extern const int32_t ProgramDataCount;
// The next item as its text; past the last, the program ends with "Out of DATA".
StringValue ReadDataText();
// The next item as VAL takes its text.
long double ReadDataNumber();
void RestoreData(int32_t item);

// GOSUB pushes a return point, RETURN pops the latest. A routine sees only
// the points its own GOSUBs pushed, and drops them when it ends.
void GosubPush(void* point);
void* GosubPop(int32_t base);
extern int32_t GosubDepth;
struct GosubFrame {
  int32_t base = GosubDepth;
  ~GosubFrame() { GosubDepth = base; }
};

// SWAP: the two values exchanged whole (a STRING's descriptor with its block).
template <typename T>
inline void SwapValues(T* a, T* b) {
  T t = *a;
  *a = *b;
  *b = t;
}

// A string variable of one call of a recursive routine: made when the call
// starts, freed when it ends.
void StrFree(StringDescriptor* desc);
struct LocalString : StringDescriptor {
  LocalString() : StringDescriptor{} { StrAlloc(this, kVariableSize); }
  ~LocalString() { StrFree(this); }
  LocalString(const LocalString&) = delete;
  LocalString& operator=(const LocalString&) = delete;
};
// A temporary of a statement in a recursive routine: empty until used.
struct LocalTemp : StringDescriptor {
  LocalTemp() : StringDescriptor{} {}
  ~LocalTemp() { StrFree(this); }
  LocalTemp(const LocalTemp&) = delete;
  LocalTemp& operator=(const LocalTemp&) = delete;
};
// A recursive FUNCTION's STRING result leaves with the call: its block moves
// into a temporary of the ring, which the caller reads.
StringValue StrHandOver(StringDescriptor* from);

// A recursive routine checks at its start that the stack has room for it and
// for the fatal box; a recursion too deep for the stack ends the program
// with "Recursion too deep".
void CheckStack();

}  // namespace tessaric
