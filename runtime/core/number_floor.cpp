#include "core/language.h"

namespace tessaric {

long double NumberFloor(long double x) {
  // Rounding toward minus infinity for the one instruction, then back.
  uint16_t saved, down;
  asm("fnstcw %0" : "=m"(saved));
  down = static_cast<uint16_t>((saved & ~0x0C00) | 0x0400);
  asm("fldcw %2\n\tfrndint\n\tfldcw %1" : "+t"(x) : "m"(saved), "m"(down));
  return x;
}

}  // namespace tessaric
