// The numeric built-in functions: trigonometry, the logarithm and the
// exponential, sign, whole parts, the smaller and the larger of two, and the
// random generator. Each is x87 code in extended precision. Those with more
// than a couple of instructions are routines on the register stack, so that a
// program with a floating-point handler runs the very same code inside its
// checked x87 code (see the compiler's emit_x87.cpp).
#pragma once

#include <stdint.h>

namespace tessaric {

// Routines on the register stack: the argument in st(0) (MIN and MAX: the
// first in st(1), the second in st(0)) is replaced by the result. They use at
// most one register beyond their arguments, and eax.
//
// SIN, COS and TAN: an argument of 2^63 or more in size, which the x87 cannot
// reduce, gives a value that is not a number, with the invalid-operation flag.
extern "C" void NumberSinX87();
extern "C" void NumberCosX87();
extern "C" void NumberTanX87();
// e ^ x; EXP of minus infinity is 0 and of infinity infinity.
extern "C" void NumberExpX87();
// -1, 0 or 1; 0 for a value that is not a number, which compares equal to anything.
extern "C" void NumberSignX87();
// The smaller or the larger; not a number when either is not a number.
extern "C" void NumberMinX87();
extern "C" void NumberMaxX87();

// A routine's call from C++: one argument, or two, the result in st(0).
template <void (*Routine)()>
inline long double OnStack(long double x) {
  asm("call %P1" : "+t"(x) : "i"(Routine) : "eax", "cc", "st(1)");
  return x;
}
template <void (*Routine)()>
inline long double OnStack(long double a, long double b) {
  asm("call %P2" : "+t"(b) : "u"(a), "i"(Routine) : "eax", "cc", "st(1)");
  return b;
}

inline long double NumberSin(long double x) { return OnStack<NumberSinX87>(x); }
inline long double NumberCos(long double x) { return OnStack<NumberCosX87>(x); }
inline long double NumberTan(long double x) { return OnStack<NumberTanX87>(x); }
inline long double NumberExp(long double x) { return OnStack<NumberExpX87>(x); }
inline long double NumberMin(long double a, long double b) { return OnStack<NumberMinX87>(a, b); }
inline long double NumberMax(long double a, long double b) { return OnStack<NumberMaxX87>(a, b); }

// The arc tangent, in radians between -pi/2 and pi/2.
inline long double NumberAtn(long double x) {
  asm("fld1\n\tfpatan" : "+t"(x) : : "st(1)");
  return x;
}
// The natural logarithm: minus infinity for 0 (with the division-by-zero
// flag), not a number below 0.
inline long double NumberLog(long double x) {
  asm("fldln2\n\tfxch\n\tfyl2x" : "+t"(x) : : "st(1)");
  return x;
}

// A comparison, not x87 code: a value that is not a number gives 0.
inline int32_t NumberSign(long double x) { return (x > 0) - (x < 0); }

// Rounding control bits of the x87 control word.
constexpr uint16_t kRoundDown = 0x0400;
constexpr uint16_t kRoundTowardZero = 0x0C00;

// x rounded to a whole number in the given direction, for the one instruction.
inline long double RoundToward(long double x, uint16_t direction) {
  uint16_t saved, changed;
  asm("fnstcw %0" : "=m"(saved));
  changed = static_cast<uint16_t>((saved & ~0x0C00) | direction);
  asm("fldcw %2\n\tfrndint\n\tfldcw %1" : "+t"(x) : "m"(saved), "m"(changed));
  return x;
}
// FIX: the whole part, toward zero.
inline long double NumberTruncate(long double x) { return RoundToward(x, kRoundTowardZero); }

// RND: the next number of the sequence, in [0, 1), with 64 random bits.
long double RandomNumber();
// RANDOMIZE: the sequence that the value names; the same value, the same
// sequence. A program starts with the sequence of 0.
void RandomSeed(long double seed);

}  // namespace tessaric
