#include "core/number_functions.h"
#include "core/strings.h"

namespace tessaric {

namespace {

// The generator's state: a 64-bit counter that each number steps by an odd
// constant (2^64 divided by the golden ratio) and then mixes (splitmix64).
// Every state, 0 included, starts a sequence of period 2^64.
uint64_t RandomState = 0;

}  // namespace

long double RandomNumber() {
  uint64_t z = RandomState += 0x9E3779B97F4A7C15u;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
  z ^= z >> 31;
  // 64 bits over 2^64: exact in extended precision, and below 1.
  return static_cast<long double>(z) * 0x1p-64L;
}

// The seed's own bits name the state: the 64-bit mantissa times an odd
// constant, plus the sign and exponent, so that the whole numbers (and most
// others) each name a state of their own. 0 names state 0, where a program
// starts, and -0 is made 0 first.
void RandomSeed(long double seed) {
  long double value = seed + 0.0L;
  uint64_t mantissa;
  uint16_t top;
  MemCopy(&value, &mantissa, sizeof mantissa);
  MemCopy(reinterpret_cast<const char*>(&value) + sizeof mantissa, &top, sizeof top);
  RandomState = mantissa * 0x9E3779B97F4A7C15u + top;
}

}  // namespace tessaric
