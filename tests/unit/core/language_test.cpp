// What compiled programs get beyond the runtime's operations: string
// functions, text to number, the number rules, argument copies. Arguments out
// of every range give a defined result and never touch memory outside a string.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "core/language.h"

using namespace tessaric;

namespace {

std::string Text(StringValue v) { return std::string(v.text, static_cast<size_t>(v.length)); }

class Language : public ::testing::Test {
 protected:
  void SetUp() override { ResetFpu(); }
};

uint16_t FpuStatus() {
  uint16_t status;
  asm volatile("fnstsw %0" : "=a"(status));
  return status;
}

// The text lies at the end of a block of its own, so that a read past it would
// be caught by the page behind it, which cannot be read.
StringValue AtPageEnd(const std::string& text) {
  size_t pages = (text.size() + 4095) / 4096 + 1;
  char* block = static_cast<char*>(VirtualAlloc(nullptr, pages * 4096, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
  DWORD old;
  VirtualProtect(block + (pages - 1) * 4096, 4096, PAGE_NOACCESS, &old);
  char* start = block + (pages - 1) * 4096 - text.size();
  text.copy(start, text.size());
  return StringValue{start, static_cast<int32_t>(text.size())};
}

struct Slice {
  const char* what;
  StringValue (*take)(StringValue, int32_t, int32_t);
  int32_t a, b;
  const char* expected;
};

const Slice kSlices[] = {
    {"LEFT$ 2", [](StringValue s, int32_t n, int32_t) { return StrLeft(s, n); }, 2, 0, "He"},
    {"LEFT$ -1", [](StringValue s, int32_t n, int32_t) { return StrLeft(s, n); }, -1, 0, ""},
    {"LEFT$ huge", [](StringValue s, int32_t n, int32_t) { return StrLeft(s, n); }, INT32_MAX, 0, "Hello"},
    {"RIGHT$ 3", [](StringValue s, int32_t n, int32_t) { return StrRight(s, n); }, 3, 0, "llo"},
    {"RIGHT$ -5", [](StringValue s, int32_t n, int32_t) { return StrRight(s, n); }, -5, 0, ""},
    {"RIGHT$ huge", [](StringValue s, int32_t n, int32_t) { return StrRight(s, n); }, INT32_MAX, 0, "Hello"},
    {"MID$ 2,3", [](StringValue s, int32_t a, int32_t b) { return StrMid(s, a, b); }, 2, 3, "ell"},
    {"MID$ 0,2", [](StringValue s, int32_t a, int32_t b) { return StrMid(s, a, b); }, 0, 2, "He"},
    {"MID$ min,huge", [](StringValue s, int32_t a, int32_t b) { return StrMid(s, a, b); }, INT32_MIN, INT32_MAX, "Hello"},
    {"MID$ 5,huge", [](StringValue s, int32_t a, int32_t b) { return StrMid(s, a, b); }, 5, INT32_MAX, "o"},
    {"MID$ 6,1", [](StringValue s, int32_t a, int32_t b) { return StrMid(s, a, b); }, 6, 1, ""},
    {"MID$ huge,1", [](StringValue s, int32_t a, int32_t b) { return StrMid(s, a, b); }, INT32_MAX, 1, ""},
    {"MID$ 2,-1", [](StringValue s, int32_t a, int32_t b) { return StrMid(s, a, b); }, 2, -1, ""},
};

TEST_F(Language, PiecesOfATextStayWithinIt) {
  for (const Slice& s : kSlices) {
    StringValue piece = s.take(AtPageEnd("Hello"), s.a, s.b);
    EXPECT_EQ(Text(piece), s.expected) << s.what;
    EXPECT_EQ(piece.text[piece.length], 0) << s.what;
  }
}

TEST_F(Language, InstrFindsFromItsStart) {
  struct Case {
    int32_t start;
    const char *text, *find;
    int32_t expected;
  };
  const Case cases[] = {{1, "hello", "l", 3},     {4, "hello", "l", 4},  {5, "hello", "l", 0},
                        {-7, "hello", "h", 1},    {1, "hello", "", 1},   {6, "hello", "", 6},
                        {7, "hello", "", 0},      {INT32_MAX, "hello", "o", 0}, {1, "aaa", "aa", 1},
                        {2, "aaa", "aa", 2},      {1, "ab", "abc", 0},   {1, "", "", 1}};
  for (const Case& c : cases)
    EXPECT_EQ(StrInstr(c.start, AtPageEnd(c.text), AtPageEnd(c.find)), c.expected) << c.text << " " << c.find << " " << c.start;
}

TEST_F(Language, CaseChangesOnlyLettersOfAsciiAndOneByteCharacters) {
  EXPECT_EQ(Text(StrUpper(AtPageEnd("ab-Z\xE9z"))), "AB-Z\xE9Z");
  EXPECT_EQ(Text(StrLower(AtPageEnd("AB-z\xC9Z@["))), "ab-z\xC9z@[");
  EXPECT_EQ(Text(StrCharacter(65)), "A");
  EXPECT_EQ(Text(StrCharacter(456)), "\xC8");
  EXPECT_EQ(StrCharacter(0).length, 1);
  EXPECT_EQ(StrAsc(AtPageEnd("\xFF")), 255);
  EXPECT_EQ(StrAsc(AtPageEnd("")), 0);
}

TEST_F(Language, TextToNumberTakesTheNumberAtTheStart) {
  struct Case {
    const char* text;
    long double expected;
  };
  const long double inf = std::numeric_limits<long double>::infinity();
  const Case cases[] = {{"42", 42},           {"  -12.5e1x", -125},    {"\t+3.", 3},        {".5", 0.5L},
                        {"abc", 0},           {"", 0},                 {"-", 0},            {"1e", 1},
                        {"1e+", 1},           {"2E-3", 0.002L},        {"&HFF", 255},       {"&hFFFFFFFF", -1},
                        {"-&H10", -16},       {"&Hxyz", 0},            {"1e999999", inf},   {"-1e999999", -inf},
                        {"1e-999999", 0},     {"0e999999", 0},         {"0.000123", 0.000123L},
                        {"123456789012345678901234567890", 1.23456789012345678901234567890e29L}};
  for (const Case& c : cases) {
    StringValue text = AtPageEnd(c.text);
    ResetFpu();
    long double got = TextToNumber(text);
    // Like number text, the conversion leaves no flag for a check to find.
    EXPECT_EQ(FpuStatus() & 0x3F, 0) << c.text;
    if (std::isinf(c.expected)) {
      EXPECT_EQ(got, c.expected) << c.text;
    } else {
      EXPECT_NEAR(static_cast<double>(got), static_cast<double>(c.expected), std::fabs(static_cast<double>(c.expected)) * 1e-17)
          << c.text;
    }
  }
  // A text of ten thousand digits and a huge exponent are read to their end.
  std::string digits(10000, '7');
  EXPECT_TRUE(std::isinf(TextToNumber(AtPageEnd(digits))));
  EXPECT_EQ(TextToNumber(AtPageEnd("1e" + std::string(5000, '9'))), inf);
}

TEST_F(Language, StoringIntoAnIntegerRoundsToEvenAndMarksWhatDoesNotFit) {
  EXPECT_EQ(RoundToInteger(2.5L), 2);
  EXPECT_EQ(RoundToInteger(3.5L), 4);
  EXPECT_EQ(RoundToInteger(-2.5L), -2);
  EXPECT_EQ(RoundToInteger(2147483647.4L), 2147483647);
  EXPECT_EQ(RoundToInteger(2147483648.0L), INT32_MIN);
  EXPECT_EQ(RoundToInteger(-1e30L), INT32_MIN);
  EXPECT_EQ(RoundToInteger(std::numeric_limits<long double>::quiet_NaN()), INT32_MIN);
  EXPECT_EQ(IntegerAdd(INT32_MAX, 1), INT32_MIN);
  EXPECT_EQ(IntegerAdd(INT32_MIN, -1), INT32_MIN);
  EXPECT_EQ(IntegerAdd(5, -7), -2);
}

TEST_F(Language, WholeDivisionNeverStopsTheProgram) {
  struct Case {
    int32_t a, b, quotient, remainder;
  };
  const Case cases[] = {{7, 2, 3, 1},   {-7, 2, -3, -1}, {7, -2, -3, 1}, {7, 0, INT32_MIN, INT32_MIN},
                        {INT32_MIN, -1, INT32_MIN, 0},   {INT32_MIN, 1, INT32_MIN, 0}, {0, 5, 0, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(IntegerDivide(c.a, c.b), c.quotient) << c.a << " \\ " << c.b;
    EXPECT_EQ(IntegerModulo(c.a, c.b), c.remainder) << c.a << " MOD " << c.b;
  }
}

long double PowerOnTheFpuStack(long double x, long double y) {
  long double r;
  asm volatile("call %P3" : "=t"(r) : "u"(x), "0"(y), "i"(&NumberPowerX87) : "st(1)", "eax", "ecx", "edx", "memory");
  return r;
}

TEST_F(Language, PowersWholeAndFractional) {
  struct Case {
    long double x, y, expected;
  };
  const Case cases[] = {{2, 10, 1024}, {2, -2, 0.25L}, {-2, 3, -8}, {-2, 2, 4}, {10, 0, 1},
                        {4, 0.5L, 2},  {0, 3, 0},      {2, 0.5L, std::sqrt(2.0L)}, {1e10L, 0.3L, 1000}};
  for (const Case& c : cases) {
    EXPECT_NEAR(static_cast<double>(NumberPower(c.x, c.y)), static_cast<double>(c.expected),
                std::fabs(static_cast<double>(c.expected)) * 1e-15) << c.x << " ^ " << c.y;
    EXPECT_EQ(PowerOnTheFpuStack(c.x, c.y), NumberPower(c.x, c.y)) << c.x << " ^ " << c.y;
  }
  EXPECT_TRUE(std::isinf(NumberPower(0, -1)));
  EXPECT_TRUE(std::isnan(NumberPower(-8, 1.0L / 3)));
}

TEST_F(Language, FloorRoundsDownAndLeavesTheRoundingAsItWas) {
  EXPECT_EQ(NumberFloor(2.5L), 2);
  EXPECT_EQ(NumberFloor(-2.5L), -3);
  EXPECT_EQ(NumberFloor(-1e-20L), -1);
  EXPECT_EQ(NumberFloor(1e20L), 1e20L);
  EXPECT_EQ(RoundToInteger(2.5L), 2);  // still to nearest
}

TEST_F(Language, NumbersWithoutAnOrderCompareEqual) {
  long double nan = std::numeric_limits<long double>::quiet_NaN();
  EXPECT_TRUE(NumberEqual(nan, 1));
  EXPECT_FALSE(NumberNotEqual(nan, 1));
  EXPECT_FALSE(NumberLess(nan, 1));
  EXPECT_FALSE(NumberGreater(nan, 1));
  EXPECT_TRUE(NumberLessEqual(nan, 1));
  EXPECT_TRUE(NumberGreaterEqual(nan, 1));
  EXPECT_TRUE(ForContinues(1, 2, 0));
  EXPECT_FALSE(ForContinues(1, nan, 1));
  EXPECT_FALSE(ForContinues(1, 2, nan));
  EXPECT_TRUE(ForContinues(2, 1, -1));
}

TEST_F(Language, CopiesAreTheirsAlone) {
  StringDescriptor parameter = {}, temp = {};
  char text[] = "argument";
  StrTakeArgument(&parameter, text);
  text[0] = 'X';
  EXPECT_EQ(Text(ValueOf(parameter)), "argument");
  StrTakeArgument(&parameter, nullptr);
  EXPECT_EQ(parameter.length, 0);
  StrTemp(&temp, ValueOf(parameter));
  EXPECT_EQ(temp.length, 0);
  StrTemp(&temp, StringValue{"abc", 3});
  EXPECT_EQ(Text(ValueOf(temp)), "abc");
  EXPECT_EQ(temp.text[3], 0);
  EXPECT_EQ(CheckedIndex(0, 0), 0);
  EXPECT_EQ(CheckedIndex(10, 10), 10);
}

}  // namespace
