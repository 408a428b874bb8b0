// The numeric built-in functions: values at points known to more digits than
// the x87 holds, the arguments outside each function's domain with the flags
// they raise, the routines that checked x87 code calls, and the random
// generator's sequence.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/language.h"
#include "core/number_functions.h"

using namespace tessaric;

namespace {

constexpr long double kInf = std::numeric_limits<long double>::infinity();
const long double kNaN = std::numeric_limits<long double>::quiet_NaN();

// Exception flags of the status word.
constexpr uint16_t kInvalid = 0x01, kZeroDivide = 0x04, kOverflow = 0x08;

uint16_t FpuStatus() {
  uint16_t status;
  asm volatile("fnstsw %0" : "=a"(status));
  return status;
}

class NumberFunctions : public ::testing::Test {
 protected:
  void SetUp() override { ResetFpu(); }
};

// Within a few units of the 64-bit mantissa's last place.
void ExpectClose(long double got, long double expected, const char* what) {
  EXPECT_LE(std::fabs(got - expected), std::fabs(expected) * 1e-18L + 1e-19L)
      << what << ": " << static_cast<double>(got) << " against " << static_cast<double>(expected);
}

TEST_F(NumberFunctions, ValuesAtKnownPoints) {
  struct Case {
    const char* what;
    long double got, expected;
  };
  // The expected values are the constants' own decimal expansions.
  const Case cases[] = {
      {"SIN(1)", NumberSin(1), 0.84147098480789650665250232163L},
      {"COS(1)", NumberCos(1), 0.54030230586813971740093660744L},
      {"TAN(1)", NumberTan(1), 1.55740772465490223050697480745L},
      {"ATN(1)", NumberAtn(1), 0.78539816339744830961566084582L},
      {"LOG(2)", NumberLog(2), 0.69314718055994530941723212146L},
      {"LOG(10)", NumberLog(10), 2.30258509299404568401799145468L},
      {"EXP(1)", NumberExp(1), 2.71828182845904523536028747135L},
      {"EXP(-1)", NumberExp(-1), 0.36787944117144232159552377016L},
      {"EXP(10)", NumberExp(10), 22026.4657948067165169579006452L},
      {"SIN(0.5)", NumberSin(0.5L), 0.47942553860420300027328793521L},
      {"COS(-2)", NumberCos(-2), -0.41614683654714238699756822950L},
  };
  for (const Case& c : cases) ExpectClose(c.got, c.expected, c.what);
  EXPECT_EQ(NumberSin(0), 0);
  EXPECT_EQ(NumberCos(0), 1);
  EXPECT_EQ(NumberTan(0), 0);
  EXPECT_EQ(NumberAtn(0), 0);
  EXPECT_EQ(NumberLog(1), 0);
  EXPECT_EQ(NumberExp(0), 1);
  ExpectClose(NumberExp(10 * NumberLog(2)), 1024, "EXP(10 * LOG(2))");
  EXPECT_EQ(NumberAtn(kInf) * 2, 0xc.90fdaa22168c235p-2L);  // pi as fldpi gives it
}

TEST_F(NumberFunctions, ArgumentsOutsideTheDomainGiveDefinedValuesAndFlags) {
  struct Case {
    const char* what;
    long double (*function)(long double);
    long double argument;
    long double expected;  // NaN: not a number
    uint16_t flag;         // among the exception flags it raises
  };
  const Case cases[] = {
      {"LOG(0)", NumberLog, 0, -kInf, kZeroDivide},
      {"LOG(-1)", NumberLog, -1, kNaN, kInvalid},
      {"LOG(infinity)", NumberLog, kInf, kInf, 0},
      {"EXP(100000)", NumberExp, 100000, kInf, kOverflow},
      {"EXP(infinity)", NumberExp, kInf, kInf, 0},
      {"EXP(-infinity)", NumberExp, -kInf, 0, 0},
      {"EXP(-100000)", NumberExp, -100000, 0, 0},
      {"SIN(1E19)", NumberSin, 1e19L, kNaN, kInvalid},
      {"COS(-1E19)", NumberCos, -1e19L, kNaN, kInvalid},
      {"TAN(2^63)", NumberTan, 0x1p63L, kNaN, kInvalid},
      {"SIN(infinity)", NumberSin, kInf, kNaN, kInvalid},
      {"ATN(-infinity)", NumberAtn, -kInf, -0xc.90fdaa22168c235p-3L, 0},
  };
  for (const Case& c : cases) {
    ResetFpu();
    long double got = c.function(c.argument);
    uint16_t status = FpuStatus();
    if (std::isnan(c.expected)) EXPECT_TRUE(std::isnan(got)) << c.what;
    else EXPECT_EQ(got, c.expected) << c.what;
    if (c.flag != 0) EXPECT_NE(status & c.flag, 0) << c.what;
  }
  // Just below 2^63 the argument is still reduced.
  EXPECT_FALSE(std::isnan(NumberSin(0x1p63L - 1024)));
  EXPECT_FALSE(std::isnan(NumberTan(-0x1p62L)));
}

TEST_F(NumberFunctions, SignWholePartsAndTheSmallerAndLarger) {
  EXPECT_EQ(NumberSign(-3), -1);
  EXPECT_EQ(NumberSign(0.001L), 1);
  EXPECT_EQ(NumberSign(-0.0L), 0);
  EXPECT_EQ(NumberSign(kNaN), 0);
  EXPECT_EQ(NumberTruncate(2.7L), 2);
  EXPECT_EQ(NumberTruncate(-2.7L), -2);
  EXPECT_EQ(NumberTruncate(1e20L), 1e20L);
  EXPECT_EQ(NumberFloor(-2.7L), -3);
  EXPECT_EQ(RoundToInteger(2.5L), 2);  // the rounding is to nearest again
  EXPECT_EQ(NumberMin(3, 5), 3);
  EXPECT_EQ(NumberMin(5, 3), 3);
  EXPECT_EQ(NumberMax(3, 5), 5);
  EXPECT_EQ(NumberMax(-1.5L, -2), -1.5L);
  // Equal operands give the first.
  EXPECT_TRUE(std::signbit(NumberMin(-0.0L, 0.0L)));
  EXPECT_FALSE(std::signbit(NumberMax(0.0L, -0.0L)));
  for (long double other : {1.0L, -kInf}) {
    EXPECT_TRUE(std::isnan(NumberMin(kNaN, other)));
    EXPECT_TRUE(std::isnan(NumberMin(other, kNaN)));
    EXPECT_TRUE(std::isnan(NumberMax(kNaN, other)));
    EXPECT_TRUE(std::isnan(NumberMax(other, kNaN)));
  }
}

// The routines that a program's checked x87 code calls, as it calls them.
long double SignOnTheStack(long double x) {
  asm("call %P1" : "+t"(x) : "i"(&NumberSignX87) : "eax", "cc");
  return x;
}

TEST_F(NumberFunctions, SignOnTheStackAsCheckedCodeCallsIt) {
  struct Case {
    long double x, expected;
  };
  const Case cases[] = {{-3, -1}, {0, 0}, {-0.0L, 0}, {5, 1}, {kNaN, 0}, {-kInf, -1}, {1e-4940L, 1}};
  for (const Case& c : cases) EXPECT_EQ(SignOnTheStack(c.x), c.expected) << static_cast<double>(c.x);
}

// The stack top after a routine: a routine that left or took a register
// would move it. Each routine's arguments are loaded and its result stored.
int StackTopAfter(void (*routine)(), int arguments) {
  uint16_t before, after;
  long double result;
  if (arguments == 1) {
    asm volatile("fnstsw %%ax\n\tmovw %%ax, %1\n\tfld1\n\tcall *%3\n\tfstpt %2\n\tfnstsw %%ax\n\tmovw %%ax, %0"
                 : "=m"(after), "=m"(before), "=m"(result)
                 : "r"(routine)
                 : "eax", "ecx", "edx", "cc", "memory", "st", "st(1)", "st(2)");
  } else {
    asm volatile("fnstsw %%ax\n\tmovw %%ax, %1\n\tfld1\n\tfldz\n\tcall *%3\n\tfstpt %2\n\tfnstsw %%ax\n\tmovw %%ax, %0"
                 : "=m"(after), "=m"(before), "=m"(result)
                 : "r"(routine)
                 : "eax", "ecx", "edx", "cc", "memory", "st", "st(1)", "st(2)");
  }
  return ((after >> 11) & 7) - ((before >> 11) & 7);
}

TEST_F(NumberFunctions, RoutinesLeaveTheStackAsTheyFoundIt) {
  for (void (*r)() : {NumberSinX87, NumberCosX87, NumberTanX87, NumberExpX87, NumberSignX87})
    EXPECT_EQ(StackTopAfter(r, 1), 0);
  for (void (*r)() : {NumberMinX87, NumberMaxX87}) EXPECT_EQ(StackTopAfter(r, 2), 0);
}

// The generator is splitmix64: the state steps by 0x9E3779B97F4A7C15 and is
// mixed into 64 bits, which over 2^64 are the number. The expected bits are
// that generator's published outputs for these states.
TEST_F(NumberFunctions, RandomNumbersFollowTheirSeed) {
  // 0 names state 0, where a program starts.
  RandomSeed(0);
  EXPECT_EQ(RandomNumber(), 0xe220a8397b1dcdafp-64L);
  EXPECT_EQ(RandomNumber(), 0x6e789e6aa1b965f4p-64L);
  EXPECT_EQ(RandomNumber(), 0x06c45d188009454fp-64L);
  // 1.0 has the mantissa 2^63 and the sign and exponent 0x3FFF: the state is
  // 2^63 * 0x9E3779B97F4A7C15 + 0x3FFF, which is 0x8000000000003FFF.
  RandomSeed(1);
  EXPECT_EQ(RandomNumber(), 0xb4580f9632d93d74p-64L);
  EXPECT_EQ(RandomNumber(), 0x546c5edb2837707bp-64L);
  // The same number, the same sequence, whatever its spelling; -0 is 0.
  RandomSeed(-0.0L);
  EXPECT_EQ(RandomNumber(), 0xe220a8397b1dcdafp-64L);
}

TEST_F(NumberFunctions, RandomNumbersStayBelowOneAndSeedsDiffer) {
  RandomSeed(12345);
  long double sum = 0;
  for (int i = 0; i < 100000; ++i) {
    long double x = RandomNumber();
    ASSERT_GE(x, 0);
    ASSERT_LT(x, 1);
    sum += x;
  }
  // A fixed sequence, so a fixed mean; a uniform one is near 1/2.
  EXPECT_NEAR(static_cast<double>(sum / 100000), 0.5, 0.005);
  // Whole numbers each name a sequence of their own.
  long double firsts[64];
  for (int n = 0; n < 64; ++n) {
    RandomSeed(n);
    firsts[n] = RandomNumber();
    for (int m = 0; m < n; ++m) EXPECT_NE(firsts[n], firsts[m]) << n << " and " << m;
  }
  RandomSeed(0.5L);
  long double half = RandomNumber();
  RandomSeed(0.25L);
  EXPECT_NE(RandomNumber(), half);
}

TEST_F(NumberFunctions, ARandomNumberTimesAWholeNumberStaysBelowIt) {
  // The largest number the generator can give, 1 - 2^-64, times n rounds to
  // a number below n.
  long double largest = 0xffffffffffffffffp-64L;
  for (long double n : {1.0L, 3.0L, 6.0L, 10.0L, 1000.0L, 4294967295.0L, 1e18L}) {
    volatile long double product = largest * n;
    EXPECT_LT(product, n) << static_cast<double>(n);
    EXPECT_EQ(NumberFloor(product), n - 1) << static_cast<double>(n);
  }
}

}  // namespace
