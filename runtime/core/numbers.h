// Number-to-text conversion, comparisons, number logic, the concatenation
// accumulator and FUNCTION results.
#pragma once

#include <stdint.h>

#include "core/strings.h"

namespace tessaric {

// Kinds of NumberToText.
constexpr int32_t kUnsignedNumber = 0;
constexpr int32_t kSignedNumber = 1;
constexpr int32_t kFloatNumber = 2;

// The conversion from a number to text, into the next temporary. Kinds 0 and 1
// convert value; kind 2, a float (what the x87 stack holds), comes with the
// number itself through the second form, which lives apart so that a program
// that never prints a float carries no float conversion. The first form gives
// the empty string for any kind but 0 and 1.
StringValue NumberToText(int32_t kind, uint32_t value);
StringValue NumberToText(long double number);

inline StringValue SignedText(int32_t value) {
  return NumberToText(kSignedNumber, static_cast<uint32_t>(value));
}
inline StringValue UnsignedText(uint32_t value) { return NumberToText(kUnsignedNumber, value); }
// USTR$'s number as 32 bits: rounded to the nearest whole number (ties to
// even), one from 2^31 to 2^32 - 1 taken as itself, one from -2^31 to -1 as its
// 32-bit pattern. Beyond those, and not a number, as a store into an INTEGER:
// -2147483648.
inline uint32_t UnsignedOf(long double number) {
  int64_t whole;
  asm("fistpll %0" : "=m"(whole) : "t"(number) : "st");
  return whole >= INT32_MIN && whole <= int64_t{UINT32_MAX} ? static_cast<uint32_t>(whole) : 0x80000000u;
}
inline StringValue FloatText(long double number) { return NumberToText(number); }

// Both forms write into the next ring slot (59 bytes asked for) the text and
// its NUL, then give the slot the text's length.
StringDescriptor* StartNumberText();
inline StringValue FinishNumberText(StringDescriptor* slot, int32_t length) {
  slot->position = slot->length = length;
  return ValueOf(*slot);
}

// Writes the text of number into buffer; returns 16 for the exponent form,
// else 0. Leaves the FPU re-initialised.
constexpr int32_t kExponentForm = 16;
int32_t FloatToText(char* buffer, long double number);

int32_t StrCompare(const char* text1, int32_t length1, const char* text2, int32_t length2);
inline int32_t StrCompare(StringValue left, StringValue right) {
  return StrCompare(left.text, left.length, right.text, right.length);
}
// -1, 0 or 1 for left against right; equal is tested first, so a NaN compares equal.
int32_t FloatCompare(long double left, long double right);

// Both operands become signed 32-bit integers with the FPU's rounding.
int32_t NumberAnd(long double left, long double right);
int32_t NumberOr(long double left, long double right);
int32_t NumberXor(long double left, long double right);
// Logical NOT: 1 when the operand rounds to 0, else 0.
int32_t NumberNot(long double operand);
// Rounds with the FPU's current mode (round to nearest, ties to even).
int32_t RoundToInt32(long double number);

// The descriptor in which a concatenation expression is built.
extern StringDescriptor ConcatAccumulator;
void ConcatBegin();
inline StringValue ConcatAppend(StringValue piece) { return StrAppend(piece, &ConcatAccumulator); }

// How a FUNCTION hands its result back: a number in x87 extended precision,
// or the (text, length) pair of the variable that holds a string result.
struct FunctionResult {
  uint8_t value[10];
  uint16_t kind;  // 0 numeric, anything else string
};
static_assert(sizeof(FunctionResult) == 12, "ten value bytes and a 16-bit tag");
static_assert(__builtin_offsetof(FunctionResult, kind) == 10, "tag after the value");

constexpr uint16_t kNumericResult = 0;
constexpr uint16_t kStringResult = 1;

void StoreResult(FunctionResult* record, long double number);
void StoreResult(FunctionResult* record, uint16_t kind, StringValue text);
long double LoadNumberResult(const FunctionResult* record);
StringValue LoadStringResult(const FunctionResult* record);

}  // namespace tessaric
