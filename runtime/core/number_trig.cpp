#include "core/number_functions.h"

namespace tessaric {

// fsin, fcos and fptan reduce their argument by the x87's own 66-bit pi, and
// only an argument below 2^63 in size: a larger one stays as it was, with C2
// set. It becomes 0 / 0, not a number, with the invalid-operation flag.
#define TESSARIC_TOO_LARGE \
  "1:\tfstp %st(0)\n\t"    \
  "fldz\n\t"               \
  "fdiv %st(0), %st\n\t"   \
  "ret"

__attribute__((naked)) void NumberSinX87() {
  asm("fsin\n\t"
      "fnstsw %ax\n\t"
      "testb $4, %ah\n\t"
      "jnz 1f\n\t"
      "ret\n" TESSARIC_TOO_LARGE);
}

__attribute__((naked)) void NumberCosX87() {
  asm("fcos\n\t"
      "fnstsw %ax\n\t"
      "testb $4, %ah\n\t"
      "jnz 1f\n\t"
      "ret\n" TESSARIC_TOO_LARGE);
}

// fptan pushes 1 above the tangent, unless the argument was too large.
__attribute__((naked)) void NumberTanX87() {
  asm("fptan\n\t"
      "fnstsw %ax\n\t"
      "testb $4, %ah\n\t"
      "jnz 1f\n\t"
      "fstp %st(0)\n\t"
      "ret\n" TESSARIC_TOO_LARGE);
}

}  // namespace tessaric
