#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "core/numbers.h"
#include "core/program.h"

using namespace tessaric;

namespace {

std::string Text(StringValue v) { return std::string(v.text, v.length); }

// Programs run with the FPU as the start-up stub leaves it.
class Numbers : public ::testing::Test {
 protected:
  void SetUp() override { ResetFpu(); }
};

// Values are built at run time so that the x87 computes them as a program would.
long double Divide(long double a, long double b) {
  volatile long double x = a;
  return x / b;
}

long double SquareRoot(long double x) {
  long double r;
  asm("fsqrt" : "=t"(r) : "0"(x));
  return r;
}

long double PowerOfTenExact(int n) {
  long double r = 1;
  for (int i = 0; i < n; ++i) r *= 10;
  return r;
}

TEST_F(Numbers, SignedIntegers) {
  EXPECT_EQ(Text(SignedText(0)), "0");
  EXPECT_EQ(Text(SignedText(-7)), "-7");
  EXPECT_EQ(Text(SignedText(30)), "30");
  EXPECT_EQ(Text(SignedText(1000000000)), "1000000000");
  EXPECT_EQ(Text(SignedText(2147483647)), "2147483647");
  EXPECT_EQ(Text(SignedText(-2147483647 - 1)), "-2147483648");
}

TEST_F(Numbers, UnsignedIntegers) {
  EXPECT_EQ(Text(UnsignedText(0)), "0");
  EXPECT_EQ(Text(UnsignedText(10)), "10");
  EXPECT_EQ(Text(UnsignedText(4294967295u)), "4294967295");
  EXPECT_EQ(Text(UnsignedText(0x80000000u)), "2147483648");
}

TEST_F(Numbers, UnknownKindGivesTheEmptyString) {
  SignedText(77);  // leaves text in the ring that must not show through
  for (int32_t kind : {3, -1, kFloatNumber}) {
    StringValue v = NumberToText(kind, 12345);
    EXPECT_EQ(v.length, 0) << kind;
    EXPECT_EQ(v.text[0], 0) << kind;
  }
}

TEST_F(Numbers, TextLivesInTheNextTemporary) {
  StringValue v = SignedText(42);
  EXPECT_EQ(v.text, TempStringCursor->text);
  EXPECT_EQ(TempStringCursor->length, 2);
  EXPECT_EQ(TempStringCursor->position, 2);
}

struct FloatCase {
  long double value;
  const char* text;
};

TEST_F(Numbers, FloatsInFixedForm) {
  const FloatCase cases[] = {
      {Divide(1, 10), "0.1"},
      {Divide(1, 3), "0.333333333333333"},
      {Divide(2, 3), "0.666666666666667"},
      {-2.5L, "-2.5"},
      {Divide(123456, 1000), "123.456"},
      {SquareRoot(2), "1.414213562373095"},
      {Divide(1, 10000000), "0.0000001"},
      {5000000000000000.0L, "5000000000000000"},
      {Divide(-1, 1000), "-0.001"},
      {0.99999999999999989L, "1"},
      {Divide(1, PowerOfTenExact(16)), "0"},
      {1.0L, "1"},
      {1000.0L, "1000"},
      {100.0L, "100"},
      {9999999999999999.0L, "9999999999999999"},
      {Divide(1, 100), "0.01"},
  };
  for (const FloatCase& c : cases) EXPECT_EQ(Text(FloatText(c.value)), c.text) << static_cast<double>(c.value);
}

TEST_F(Numbers, ZeroOfEitherSign) {
  EXPECT_EQ(Text(FloatText(0.0L)), "0");
  EXPECT_EQ(Text(FloatText(-0.0L)), "0");
}

TEST_F(Numbers, FloatsInExponentForm) {
  EXPECT_EQ(Text(FloatText(1.5e20L)), "1.500000000000000E+0020");
  EXPECT_EQ(Text(FloatText(PowerOfTenExact(300))), "1.000000000000000E+0300");
  EXPECT_EQ(Text(FloatText(-PowerOfTenExact(17))), "-1.000000000000000E+0017");
}

TEST_F(Numbers, RoundingThatCarriesIntoANewDigit) {
  // 99999999999999999 rounds to 10^17 at sixteen digits: one more exponent.
  EXPECT_EQ(Text(FloatText(99999999999999999.0L)), "1.000000000000000E+0017");
  // 9.9999999999999999 rounds up to ten.
  EXPECT_EQ(Text(FloatText(9.99999999999999999L)), "10");
}

TEST_F(Numbers, NotANumberAndInfinityGiveError) {
  EXPECT_EQ(Text(FloatText(std::numeric_limits<long double>::quiet_NaN())), "ERROR");
  EXPECT_EQ(Text(FloatText(std::numeric_limits<long double>::infinity())), "ERROR");
  EXPECT_EQ(Text(FloatText(-std::numeric_limits<long double>::infinity())), "ERROR");
}

TEST_F(Numbers, FloatToTextReportsTheFormAndLeavesTheFpuReset) {
  char buffer[64];
  EXPECT_EQ(FloatToText(buffer, 2.5L), 0);
  EXPECT_STREQ(buffer, "2.500000000000000");  // untrimmed: trimming belongs to NumberToText
  EXPECT_EQ(FloatToText(buffer, 1.5e20L), kExponentForm);

  volatile long double zero = 0;
  long double r = 1 / zero;  // raises the division-by-zero flag
  (void)r;
  FloatToText(buffer, 1.0L);
  uint16_t status, control;
  asm volatile("fnstsw %0\n\tfnstcw %1" : "=a"(status), "=m"(control));
  EXPECT_EQ(status & 0x3FFF, 0) << std::hex << status;
  EXPECT_EQ(control, 0x037F);
}

TEST_F(Numbers, StrCompareByUnsignedBytes) {
  EXPECT_EQ(StrCompare(Literal("abc"), Literal("abd")), -1);
  EXPECT_EQ(StrCompare(Literal("abd"), Literal("abc")), 1);
  EXPECT_EQ(StrCompare(Literal("abc"), Literal("ab")), 1);
  EXPECT_EQ(StrCompare(Literal("ab"), Literal("abc")), -1);
  EXPECT_EQ(StrCompare(Literal(""), Literal("")), 0);
  EXPECT_EQ(StrCompare(Literal("abc"), Literal("abc")), 0);
  EXPECT_EQ(StrCompare(Literal("B"), Literal("a")), -1);
  EXPECT_EQ(StrCompare(Literal("\xE9"), Literal("z")), 1);  // 0xE9 is above 'z' unsigned
  EXPECT_EQ(StrCompare("abX", 2, "abY", 2), 0);              // only the given lengths count
}

// The comparison rule itself: the first differing byte decides as an unsigned
// byte, then the longer string is greater.
int ByteRule(const unsigned char* a, int32_t lengthA, const unsigned char* b, int32_t lengthB) {
  int32_t shorter = lengthA < lengthB ? lengthA : lengthB;
  for (int32_t i = 0; i < shorter; ++i)
    if (a[i] != b[i]) return a[i] > b[i] ? 1 : -1;
  if (lengthA == lengthB) return 0;
  return lengthA > lengthB ? 1 : -1;
}

// Seeded cases against the rule: equal prefixes of every length, a difference
// at every offset, bytes above 127, empty and unequal lengths, and strings at
// every alignment that end right before memory that cannot be read, so that
// a comparison reading past either end faults.
TEST_F(Numbers, StrCompareAgreesWithTheByteRuleEverywhere) {
  const DWORD page = 4096;
  auto* pages = static_cast<unsigned char*>(VirtualAlloc(nullptr, 4 * page, MEM_COMMIT, PAGE_READWRITE));
  ASSERT_NE(pages, nullptr);
  DWORD protection;
  ASSERT_TRUE(VirtualProtect(pages + page, page, PAGE_NOACCESS, &protection));
  ASSERT_TRUE(VirtualProtect(pages + 3 * page, page, PAGE_NOACCESS, &protection));
  unsigned char* endA = pages + page;
  unsigned char* endB = pages + 3 * page;
  uint32_t state = 18;
  auto next = [&state] {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
  };
  int cases = 0;
  for (int32_t prefix = 0; prefix <= 72; ++prefix) {
    for (int32_t extraA = 0; extraA <= 9; ++extraA) {
      for (int32_t extraB = 0; extraB <= 9; ++extraB) {
        int32_t lengthA = prefix + extraA, lengthB = prefix + extraB;
        unsigned char* a = endA - lengthA;
        unsigned char* b = endB - lengthB;
        for (int32_t i = 0; i < prefix; ++i) a[i] = b[i] = static_cast<unsigned char>(next());
        for (int32_t i = prefix; i < lengthA; ++i) a[i] = static_cast<unsigned char>(next());
        for (int32_t i = prefix; i < lengthB; ++i) b[i] = static_cast<unsigned char>(next());
        // Now and then the first bytes after the prefix differ only in the top bit, or not at all.
        if (extraA > 0 && extraB > 0 && next() % 3 == 0) b[prefix] = a[prefix] ^ 0x80;
        if (extraA > 0 && extraB > 0 && next() % 5 == 0) b[prefix] = a[prefix];
        int expected = ByteRule(a, lengthA, b, lengthB);
        int seen = StrCompare(reinterpret_cast<const char*>(a), lengthA, reinterpret_cast<const char*>(b), lengthB);
        ASSERT_EQ(seen, expected) << "prefix " << prefix << ", lengths " << lengthA << " and " << lengthB;
        ++cases;
      }
    }
  }
  // Lengths that no string has: only the rule's arithmetic on them counts.
  for (int32_t lengthA : {-5, -1, 0, 3}) {
    for (int32_t lengthB : {-7, -1, 0, 2}) {
      int expected = ByteRule(endA - 3, lengthA, endB - 3, lengthB);
      EXPECT_EQ(StrCompare(reinterpret_cast<const char*>(endA - 3), lengthA,
                           reinterpret_cast<const char*>(endB - 3), lengthB),
                expected)
          << lengthA << ", " << lengthB;
    }
  }
  EXPECT_EQ(cases, 73 * 100);
  VirtualFree(pages, 0, MEM_RELEASE);
}

TEST_F(Numbers, FloatCompare) {
  EXPECT_EQ(FloatCompare(1, 1), 0);
  EXPECT_EQ(FloatCompare(1, 2), -1);
  EXPECT_EQ(FloatCompare(2, 1), 1);
  EXPECT_EQ(FloatCompare(-0.0L, 0.0L), 0);
  EXPECT_EQ(FloatCompare(std::numeric_limits<long double>::quiet_NaN(), 1), 0);
}

TEST_F(Numbers, NumberLogic) {
  EXPECT_EQ(NumberOr(static_cast<long double>(0x50010000), 0x8000), 0x50018000);
  EXPECT_EQ(NumberOr(2.5L, 1), 3);  // 2.5 rounds to even: 2
  EXPECT_EQ(NumberOr(3.5L, 0), 4);
  EXPECT_EQ(NumberAnd(0xFF0, 0x0FF), 0x0F0);
  EXPECT_EQ(NumberAnd(-1, 12), 12);
  EXPECT_EQ(NumberXor(6, 3), 5);
  EXPECT_EQ(NumberNot(0), 1);
  EXPECT_EQ(NumberNot(7), 0);
  EXPECT_EQ(NumberNot(0.4L), 1);
}

TEST_F(Numbers, Concatenation) {
  ConcatBegin();
  ConcatAppend(Literal("a = "));
  ConcatAppend(SignedText(-5));
  StringValue whole = ConcatAppend(Literal("!"));
  EXPECT_EQ(Text(whole), "a = -5!");
  EXPECT_EQ(whole.text, ConcatAccumulator.text);
  ConcatBegin();
  EXPECT_EQ(Text(ConcatAppend(Literal("x"))), "x");
}

TEST_F(Numbers, NumericFunctionResult) {
  FunctionResult result = {};
  StoreResult(&result, Divide(1, 3));
  EXPECT_EQ(result.kind, kNumericResult);
  EXPECT_EQ(LoadNumberResult(&result), Divide(1, 3));
  EXPECT_EQ(RoundToInt32(LoadNumberResult(&result)), 0);
  StoreResult(&result, 10.0L);
  EXPECT_EQ(RoundToInt32(LoadNumberResult(&result)), 10);
}

TEST_F(Numbers, StringFunctionResultIsTheVariablesOwnPair) {
  StringDescriptor variable = {};
  StrAlloc(&variable, 59);
  StrAssign(Literal("una fecha"), &variable);
  FunctionResult result = {};
  StoreResult(&result, kStringResult, ValueOf(variable));
  EXPECT_NE(result.kind, kNumericResult);
  StringValue back = LoadStringResult(&result);
  EXPECT_EQ(back.text, variable.text);
  EXPECT_EQ(back.length, 9);

  StringDescriptor caller = {};
  StrAlloc(&caller, 59);
  StrAssign(back, &caller);
  EXPECT_NE(caller.text, variable.text);
  EXPECT_EQ(Text(ValueOf(caller)), "una fecha");
}

}  // namespace
