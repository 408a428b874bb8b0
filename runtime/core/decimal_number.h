// Decimal text to the nearest 80-bit extended value, ties to even: the one
// conversion that VAL (and INPUT) use in the runtime and that the compiler
// uses for its number literals, so that the same text gives the same number in
// both. Plain C++ on 32-bit words: no library, no floating point, nothing of
// Windows, so that the freestanding runtime and the compiler (a program of the
// build machine) compile the very same file.
#pragma once

#include <stdint.h>

namespace tessaric {

// The fields of an extended value without its sign: the 64-bit significand,
// with its explicit integer bit, and the biased exponent. Zero is {0, 0}, a
// denormal has exponent 0, infinity is {2^63, 0x7FFF}.
struct ExtendedBits {
  uint64_t significand;
  uint16_t exponent;
};

constexpr uint16_t kExtendedInfinity = 0x7FFF;

// text: length bytes of decimal digits with at most one '.' among them (and
// nothing else); the value is that number times 10^exponent. Every digit
// counts, however many there are.
ExtendedBits DecimalToExtended(const char* text, int32_t length, int32_t exponent);

}  // namespace tessaric
