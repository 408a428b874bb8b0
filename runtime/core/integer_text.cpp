#include "core/numbers.h"

namespace tessaric {

namespace {

// value / 10, exact for every 32-bit value, as the multiplication by the
// rounded-up reciprocal 2^35 / 10 that the compiler makes of a division by 10
// when it optimises for speed (optimising for size, it would divide).
constexpr uint32_t DivideBy10(uint32_t value) {
  return static_cast<uint32_t>(uint64_t{value} * 0xCCCCCCCDu >> 35);
}

}  // namespace

// Both integer kinds in one routine, so that the hot path makes no call but the
// ring slot's. The digits come out last first into a small buffer, then go in
// their order into the slot's block, and a NUL after them; the last digit is
// written even for 0.
StringValue NumberToText(int32_t kind, uint32_t value) {
  StringDescriptor* slot = StartNumberText();
  char* end = slot->text;
  if (kind == kUnsignedNumber || kind == kSignedNumber) {
    if (kind == kSignedNumber && static_cast<int32_t>(value) < 0) {
      *end++ = '-';
      value = 0u - value;  // -2147483648 becomes 2147483648
    }
    char digits[10];
    char* first = digits + sizeof digits;
    do {
      uint32_t rest = DivideBy10(value);
      *--first = static_cast<char>('0' + value - rest * 10);
      value = rest;
    } while (value != 0);
    while (first != digits + sizeof digits) *end++ = *first++;
  }
  *end = 0;
  return FinishNumberText(slot, static_cast<int32_t>(end - slot->text));
}

}  // namespace tessaric
