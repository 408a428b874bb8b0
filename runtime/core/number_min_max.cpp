#include "core/number_functions.h"

namespace tessaric {

// The first operand in st(1), the second in st(0); fucomi compares st(0) with
// st(1). Equal operands give the first. An unordered pair adds up to a value
// that is not a number, as arithmetic on one does.
#define TESSARIC_CHOOSE(second_wins) \
  asm("fucomi %st(1), %st\n\t"      \
      "jp 2f\n\t"                   \
      second_wins " 1f\n\t"         \
      "fstp %st(0)\n\t"             \
      "ret\n"                       \
      "1:\tfstp %st(1)\n\t"         \
      "ret\n"                       \
      "2:\tfaddp\n\t"               \
      "ret")

__attribute__((naked)) void NumberMinX87() { TESSARIC_CHOOSE("jb"); }
__attribute__((naked)) void NumberMaxX87() { TESSARIC_CHOOSE("ja"); }

}  // namespace tessaric
