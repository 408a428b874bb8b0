#include "core/number_functions.h"

namespace tessaric {

// e ^ x = 2 ^ (x * log2 e): the exponent splits into a whole part, applied by
// fscale, and a fraction in [-1/2, 1/2] for f2xm1. An infinite exponent would
// give infinity minus infinity there, so it is settled first: 2 ^ infinity is
// infinity, 2 ^ -infinity is 0.
__attribute__((naked)) void NumberExpX87() {
  asm("fldl2e\n\t"
      "fmulp\n\t"
      "fxam\n\t"
      "fnstsw %ax\n\t"
      "andb $0x47, %ah\n\t"  // C3, C2, C1 (the sign) and C0
      "cmpb $0x05, %ah\n\t"  // infinity
      "je 2f\n\t"
      "cmpb $0x07, %ah\n\t"  // minus infinity
      "je 1f\n\t"
      "fld %st(0)\n\t"
      "frndint\n\t"
      "fsubr %st, %st(1)\n\t"
      "fxch\n\t"
      "f2xm1\n\t"
      "fld1\n\t"
      "faddp\n\t"
      "fscale\n\t"
      "fstp %st(1)\n\t"
      "ret\n"
      "1:\tfstp %st(0)\n\t"
      "fldz\n"
      "2:\tret");
}

}  // namespace tessaric
