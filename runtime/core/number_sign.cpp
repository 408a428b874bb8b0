#include "core/number_functions.h"

namespace tessaric {

// ftst sets C3 C2 C0 to 000 above 0, 001 below, 100 at 0 and 111 for a value
// that is not a number; sahf takes them as ZF PF CF.
__attribute__((naked)) void NumberSignX87() {
  asm("ftst\n\t"
      "fnstsw %ax\n\t"
      "fstp %st(0)\n\t"
      "sahf\n\t"
      "jp 1f\n\t"
      "je 1f\n\t"
      "jb 2f\n\t"
      "fld1\n\t"
      "ret\n"
      "1:\tfldz\n\t"
      "ret\n"
      "2:\tfld1\n\t"
      "fchs\n\t"
      "ret");
}

}  // namespace tessaric
