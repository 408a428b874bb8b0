// What compiled programs need beyond the runtime's operations: the number
// rules of the language, its string functions, text to number, array bounds
// and the passing of string arguments. The small ones are inline here; each
// of the others lives in a file of its own, so a program links only those it
// uses.
#pragma once

#include <stdint.h>

#include "core/numbers.h"
#include "core/program.h"
#include "core/strings.h"

namespace tessaric {

// Storing into an INTEGER: round to nearest, ties to even (the FPU's mode from
// start-up); a value out of range, or not a number, gives -2147483648.
inline int32_t RoundToInteger(long double number) {
  int32_t result;
  asm("fistpl %0" : "=m"(result) : "t"(number) : "st");
  return result;
}

// A number given as a position, a count or a length (LEFT$, RIGHT$, MID$,
// INSTR, a file's Seek and Read, a registry index): rounded as a store into an
// INTEGER, except that one beyond the range keeps its direction and counts as
// the nearest end of the range. Not a number gives -2147483648, as a store does.
inline int32_t PositionOf(long double number) {
  if (number >= 2147483647.0L) return INT32_MAX;
  if (number <= -2147483648.0L) return INT32_MIN;
  return RoundToInteger(number);
}

// An exact whole number of the integer path, stored into an INTEGER: out of
// the range, -2147483648.
inline int32_t StoreInteger(int64_t value) {
  return value >= INT32_MIN && value <= INT32_MAX ? static_cast<int32_t>(value) : INT32_MIN;
}

// An exact whole number of the integer path that an INTEGER holds.
inline bool WideFitsInteger(int64_t value) { return value >= INT32_MIN && value <= INT32_MAX; }

// NEXT of an INTEGER counter whose step is an INTEGER: the exact sum stored,
// and whether the loop goes on (a sum beyond the range ends it, the counter
// holding what the store gives).
inline bool ForNextInteger(int32_t* counter, int32_t step, int64_t end) {
  int32_t next;
  if (__builtin_add_overflow(*counter, step, &next)) {
    *counter = INT32_MIN;
    return false;
  }
  *counter = next;
  return step >= 0 ? next <= end : next >= end;
}

// The exact sum, difference and product of two INTEGERs, stored into an
// INTEGER: the processor's overflow flag says when the exact result is out
// of the range.
inline int32_t IntegerAdd(int32_t a, int32_t b) {
  int32_t r;
  return __builtin_add_overflow(a, b, &r) ? INT32_MIN : r;
}
inline int32_t IntegerSub(int32_t a, int32_t b) {
  int32_t r;
  return __builtin_sub_overflow(a, b, &r) ? INT32_MIN : r;
}
inline int32_t IntegerMul(int32_t a, int32_t b) {
  int32_t r;
  return __builtin_mul_overflow(a, b, &r) ? INT32_MIN : r;
}

// \ truncates toward zero. A zero divisor, and the one quotient beyond 32
// bits (-2147483648 \ -1), give -2147483648, as storing the quotient would.
inline int32_t IntegerDivide(int32_t a, int32_t b) {
  if (b == 0 || (b == -1 && a == INT32_MIN)) return INT32_MIN;
  return a / b;
}

// MOD takes the sign of the dividend; a zero divisor gives -2147483648.
inline int32_t IntegerModulo(int32_t a, int32_t b) {
  if (b == 0) return INT32_MIN;
  if (b == -1) return 0;
  return a % b;
}

// Comparisons as FloatCompare makes them: a pair that has no order (a value
// that is not a number) compares equal.
inline bool NumberEqual(long double a, long double b) { return !(a < b) && !(a > b); }
inline bool NumberNotEqual(long double a, long double b) { return a < b || a > b; }
inline bool NumberLess(long double a, long double b) { return a < b; }
inline bool NumberGreater(long double a, long double b) { return a > b; }
inline bool NumberLessEqual(long double a, long double b) { return !(a > b); }
inline bool NumberGreaterEqual(long double a, long double b) { return !(a < b); }

// Whether a FOR loop goes on with its counter at value: up to the end with a
// step of 0 or more, down to it with a negative step; never with a step or an
// end that is not a number.
inline bool ForContinues(long double value, long double end, long double step) {
  if (step >= 0) return value <= end;
  if (step < 0) return value >= end;
  return false;
}

// Whether an INTEGER holds value as a store rounds it. A FOR loop whose start
// or next sum an INTEGER counter cannot hold ends there.
inline bool FitsInteger(long double value) { return value >= -2147483648.5L && value < 2147483647.5L; }

inline long double NumberAbs(long double x) { return __builtin_fabsl(x); }
inline long double NumberSqrt(long double x) {
  asm("fsqrt" : "+t"(x));
  return x;
}
// INT: the largest whole number not above x.
long double NumberFloor(long double x);
// x ^ y. Whole exponents multiply by repeated squaring; others go through
// the logarithm. A negative base with a fractional exponent is not a number.
long double NumberPower(long double x, long double y);
// The same on the FPU stack, for x87 code: x in st(1), y in st(0); the
// result replaces both. Uses at most five registers.
extern "C" void NumberPowerX87();

// VAL: the number at the start of the text (after blanks): digits with a
// point and an exponent, or &H and hexadecimal digits; 0 when there is none.
// Leaves no exception flags behind.
long double TextToNumber(StringValue text);

// LEFT$, RIGHT$, MID$: a piece of the text in a new temporary. Counts and
// positions outside the text are held to it.
StringValue StrSlice(StringValue text, int32_t begin, int32_t count);  // begin within the text, count >= 0
inline StringValue StrLeft(StringValue text, int32_t count) { return StrSlice(text, 0, count < 0 ? 0 : count); }
inline StringValue StrRight(StringValue text, int32_t count) {
  int32_t keep = count < 0 ? 0 : count > text.length ? text.length : count;
  return StrSlice(text, text.length - keep, keep);
}
// MID$ counts from 1; a start below 1 counts as 1.
inline StringValue StrMid(StringValue text, int32_t start, int32_t count) {
  int32_t begin = start < 1 ? 0 : start - 1 > text.length ? text.length : start - 1;
  return StrSlice(text, begin, count < 0 ? 0 : count);
}
// The same pieces as views into the text itself, with no temporary and no
// copy, for a text that stays where it is while the piece is used (the
// compiler knows when: a variable's text, or a literal). A view does not end
// in a NUL.
// begin lies within the text and count is not negative.
inline StringValue SliceView(StringValue text, int32_t begin, int32_t count) {
  int32_t room = text.length - begin;
  return StringValue{text.text + begin, count < room ? count : room};
}
inline StringValue StrLeftView(StringValue text, int32_t count) { return SliceView(text, 0, count < 0 ? 0 : count); }
inline StringValue StrRightView(StringValue text, int32_t count) {
  int32_t keep = count < 0 ? 0 : count > text.length ? text.length : count;
  return SliceView(text, text.length - keep, keep);
}
inline StringValue StrMidView(StringValue text, int32_t start, int32_t count) {
  int32_t begin = start < 1 ? 0 : start - 1 > text.length ? text.length : start - 1;
  return SliceView(text, begin, count < 0 ? 0 : count);
}

// s = s + piece, in s's own block: a short piece is copied here when the
// block has room, anything else goes through StrAppend, whose block grows by a
// quarter at a time.
inline void StrAppendInPlace(StringValue piece, StringDescriptor* s) {
  s->position = s->length;
  if (piece.length > 0 && piece.length <= 16 && int64_t{s->position} + piece.length < s->capacity) {
    char* to = s->text + s->position;
    for (int32_t i = 0; i < piece.length; ++i) to[i] = piece.text[i];
    to[piece.length] = 0;
    s->length = s->position += piece.length;
    return;
  }
  StrAppend(piece, s);
}

// = and <> of two texts: the same bytes, and as many.
inline bool StrEqual(StringValue a, StringValue b) {
  if (a.length != b.length) return false;
  for (int32_t i = 0; i < a.length; ++i)
    if (a.text[i] != b.text[i]) return false;
  return true;
}

// INSTR: the 1-based place of find in text at or after start, 0 when absent.
int32_t StrInstr(int32_t start, StringValue text, StringValue find);
StringValue StrUpper(StringValue text);
StringValue StrLower(StringValue text);
// SPACE$ and STRING$: count copies of the byte code (its low 8 bits); "" for
// a count below 1, or a code below 0.
StringValue StrRepeat(int32_t count, int32_t code);
// A text as STRING$ takes it: its first byte, or -1 when it has none.
inline int32_t StrFirstByte(StringValue text) { return text.length > 0 ? static_cast<uint8_t>(text.text[0]) : -1; }
// LTRIM$, RTRIM$, TRIM$: the text without the blanks (spaces and tabs) at its
// start, its end, or both.
constexpr int32_t kTrimStart = 1;
constexpr int32_t kTrimEnd = 2;
StringValue StrTrim(StringValue text, int32_t ends);
// INSTRREV: the last place at or before start where find stands in text,
// counting from 1; 0 when there is none. An empty find stands at every place
// from 1 to one past the end.
int32_t StrInstrRev(StringValue text, StringValue find, int32_t start);
// REPLACE$: each find, from left to right, replaced by with; an empty find
// replaces nothing.
StringValue StrReplace(StringValue text, StringValue find, StringValue with);
// The MID$ statement: the bytes that MID$(target, start, count) gives, as
// many of them as value has, become value's first bytes. The length stays.
void StrOverwrite(StringDescriptor* target, int32_t start, int32_t count, StringValue value);
// HEX$, OCT$, BIN$: the digits of a 32-bit pattern, taken bits (4, 3 or 1) at
// a time, without leading zeros.
StringValue NumberPattern(uint32_t value, int32_t bits);
// CHR$: one byte, the low 8 bits of code.
StringValue StrCharacter(int32_t code);
// ASC: the first byte, 0 for the empty text.
inline int32_t StrAsc(StringValue text) { return text.length > 0 ? static_cast<uint8_t>(text.text[0]) : 0; }

// A string's text as a C string: an element of a STRING array that has never
// held a text has no block, and reads as "".
inline const char* TextOf(StringValue value) { return value.text != nullptr ? value.text : EmptyText; }

// A copy of value in a temporary of a statement, which nothing else changes.
StringValue StrTemp(StringDescriptor* temp, StringValue value);
// A routine's STRING parameter: a copy of the argument's text (to its NUL),
// so that the argument stays unchanged for the whole call.
void StrTakeArgument(StringDescriptor* parameter, const char* text);

// Array bounds: an index outside 0 to bound ends the program with
// "Array index error  " (exit code 4).
[[noreturn]] void ArrayIndexError();
inline int32_t CheckedIndex(int32_t index, int32_t bound) {
  if (static_cast<uint32_t>(index) > static_cast<uint32_t>(bound)) ArrayIndexError();
  return index;
}

// An index of an array whose first index is lower: its place from the start,
// checked against the last place.
inline int32_t CheckedOffset(int32_t index, int32_t lower, int32_t last) {
  uint32_t offset = static_cast<uint32_t>(index) - static_cast<uint32_t>(lower);
  if (offset > static_cast<uint32_t>(last)) ArrayIndexError();
  return static_cast<int32_t>(offset);
}

// Handles and resource numbers as the INTEGERs that programs see.
inline int32_t HandleValue(const volatile void* handle) {
  return static_cast<int32_t>(reinterpret_cast<uintptr_t>(handle));
}
inline HWND WindowOf(int32_t value) { return reinterpret_cast<HWND>(static_cast<uintptr_t>(static_cast<uint32_t>(value))); }
inline const char* ResourceNumber(int32_t value) {
  return reinterpret_cast<const char*>(static_cast<uintptr_t>(static_cast<uint32_t>(value)));
}

}  // namespace tessaric
