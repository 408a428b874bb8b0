#include "core/language.h"

namespace tessaric {

StringValue NumberPattern(uint32_t value, int32_t bits) {
  static const char kDigits[] = "0123456789ABCDEF";
  char digits[32];
  int32_t n = 0;
  uint32_t mask = (1u << bits) - 1;
  do {
    digits[31 - n++] = kDigits[value & mask];
    value >>= bits;
  } while (value != 0);
  StringDescriptor* slot = NextTempString();
  StrAlloc(slot, static_cast<uint32_t>(n));
  return StrAssign(digits + 32 - n, slot, n);
}

}  // namespace tessaric
