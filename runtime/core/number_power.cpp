#include "core/language.h"

namespace tessaric {

namespace {

// 2 ^ (y * log2 x), for x > 0: the exponent splits into a whole part, applied
// by fscale, and a fraction in [-1, 1] for f2xm1.
long double PowerByLogarithm(long double x, long double y) {
  asm("fyl2x\n\t"
      "fld %%st(0)\n\t"
      "frndint\n\t"
      "fsubr %%st, %%st(1)\n\t"
      "fxch\n\t"
      "f2xm1\n\t"
      "fld1\n\t"
      "faddp\n\t"
      "fscale\n\t"
      "fstp %%st(1)"
      : "+t"(x)
      : "u"(y)
      : "st(1)");
  return x;
}

}  // namespace

long double NumberPower(long double x, long double y) {
  long double whole;
  asm("frndint" : "=t"(whole) : "0"(y));
  if (whole == y && y >= -2147483648.0L && y <= 2147483647.0L) {
    // Whole exponents by repeated squaring, in the order the compiler uses
    // for the powers it works out itself.
    int32_t e = RoundToInteger(y);
    uint32_t n = e < 0 ? 0u - static_cast<uint32_t>(e) : static_cast<uint32_t>(e);
    long double result = 1;
    long double base = x;
    while (n != 0) {
      if (n & 1) result *= base;
      base *= base;
      n >>= 1;
    }
    return e < 0 ? 1 / result : result;
  }
  if (x == 0) return y > 0 ? 0 : 1 / x;  // a negative exponent divides by zero
  // log2 of a negative base is an invalid operation: not a number.
  return PowerByLogarithm(x, y);
}

// x in st(1), y in st(0): both go to the stack as NumberPower's arguments.
__attribute__((naked)) void NumberPowerX87() {
  asm("subl $24, %%esp\n\t"
      "fstpt 12(%%esp)\n\t"
      "fstpt (%%esp)\n\t"
      "call %P0\n\t"
      "addl $24, %%esp\n\t"
      "ret"
      :
      : "i"(&NumberPower));
}

}  // namespace tessaric
