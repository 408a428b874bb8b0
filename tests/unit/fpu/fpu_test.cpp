#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

#include "core/numbers.h"
#include "fpu/fpu.h"

using namespace tessaric;

namespace {

int Calls = 0;
uint16_t StatusAtCall = 0;

uint16_t StatusWord() {
  uint16_t status;
  asm volatile("fnstsw %0" : "=a"(status));
  return status;
}

// A handler as programs write it: its own statements, then the re-initialisation.
void CountingHandler() {
  ++Calls;
  StatusAtCall = StatusWord();
  ResetFpu();
}

class FpuTrap : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetFpu();
    Calls = 0;
    StatusAtCall = 0;
    FpuErrorHandler = CountingHandler;
  }
  void TearDown() override {
    FpuErrorHandler = nullptr;
    ResetFpu();
  }
};

// Statements the way compiled code runs them: load a, load b, combine into
// st(1) and pop, FpuCheck with the result still on the stack, then store it.
#define CHECKED_BINARY(Name, Instruction)                                                     \
  void Name(const long double& a, const long double& b, long double* result) {               \
    asm volatile("fldt %1\n\tfldt %2\n\t" Instruction "\n\tcall %P3\n\tfstpt %0"             \
                 : "=m"(*result)                                                              \
                 : "m"(a), "m"(b), "i"(&FpuCheck)                                             \
                 : "eax", "ecx", "edx", "memory", "cc", "st", "st(1)");                       \
  }
CHECKED_BINARY(CheckedDivide, "fdivrp")
CHECKED_BINARY(CheckedMultiply, "fmulp")
CHECKED_BINARY(CheckedAdd, "faddp")

// Load, negate and check; take the square root and check; store.
void CheckedNegativeRoot(const long double& a, long double* result) {
  asm volatile("fldt %1\n\tfchs\n\tcall %P2\n\tfsqrt\n\tcall %P2\n\tfstpt %0"
               : "=m"(*result)
               : "m"(a), "i"(&FpuCheck)
               : "eax", "ecx", "edx", "memory", "cc", "st");
}

// A compare that sets condition codes and pops both, then a check.
void CheckedCompare(const long double& a, const long double& b) {
  asm volatile("fldt %0\n\tfldt %1\n\tfcompp\n\tcall %P2"
               :
               : "m"(a), "m"(b), "i"(&FpuCheck)
               : "eax", "ecx", "edx", "memory", "cc", "st", "st(1)");
}

// Pending ones, then the square root of -1 and its check with all of them
// still on the stack: pending + 1 registers in use when the handler runs.
void CheckedRootUnder(uint32_t pending) {
  asm volatile("jecxz 2f\n"
               "1:\n\t"
               "fld1\n\t"
               "loop 1b\n"
               "2:\n\t"
               "fld1\n\tfchs\n\tfsqrt\n\t"
               "call %P1"
               : "+c"(pending)
               : "i"(&FpuCheck)
               : "eax", "edx", "memory", "cc", "st", "st(1)", "st(2)", "st(3)", "st(4)", "st(5)", "st(6)", "st(7)");
}

// The tag word: two bits per register, 3 for an empty one.
uint16_t TagWord() {
  uint32_t environment[7];
  asm volatile("fnstenv %0" : "=m"(environment));
  return static_cast<uint16_t>(environment[2]);
}

// The x87 indefinite value: a quiet NaN with the sign set and mantissa 0xC000000000000000.
bool IsIndefinite(const long double& value) {
  const unsigned char expected[10] = {0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0xFF};
  return std::memcmp(&value, expected, 10) == 0;
}

constexpr uint16_t kInvalid = 0x01, kDenormal = 0x02, kZeroDivide = 0x04, kOverflow = 0x08, kUnderflow = 0x10,
                   kPrecision = 0x20, kStackFault = 0x40;

TEST_F(FpuTrap, ExactOperationsDoNotCallTheHandler) {
  long double result = 0;
  CheckedDivide(6, 3, &result);
  EXPECT_EQ(result, 2.0L) << "the divide must compute st(1) / st(0)";
  CheckedMultiply(1.5L, 4, &result);
  EXPECT_EQ(result, 6.0L);
  CheckedAdd(1, 1, &result);
  EXPECT_EQ(result, 2.0L);
  EXPECT_EQ(Calls, 0);
}

TEST_F(FpuTrap, DivisionByZeroCallsTheHandlerOnceAtTheDivision) {
  long double result = 0;
  CheckedDivide(3, 0, &result);
  EXPECT_EQ(Calls, 1);
  EXPECT_EQ(StatusAtCall & kFpuExceptionFlags, kZeroDivide);
  // The handler emptied the stack, so the store found nothing to store.
  EXPECT_TRUE(IsIndefinite(result));
  EXPECT_EQ(StatusWord() & kFpuExceptionFlags, kInvalid | kStackFault);
}

TEST_F(FpuTrap, TheFlagsOfTheEmptyStoreCallTheHandlerAtTheNextCheck) {
  long double result = 0;
  CheckedDivide(3, 0, &result);
  ASSERT_EQ(Calls, 1);
  // 1 + 1 is exact; only the flags left by the store make the check fire.
  CheckedAdd(1, 1, &result);
  EXPECT_EQ(Calls, 2);
  EXPECT_EQ(StatusAtCall & kFpuExceptionFlags, kInvalid | kStackFault);
  EXPECT_TRUE(IsIndefinite(result));
}

TEST_F(FpuTrap, SquareRootOfMinusOneCallsTheHandler) {
  FpuErrorHandler = nullptr;
  long double result = 0;
  CheckedNegativeRoot(1, &result);
  EXPECT_NE(result, result) << "no handler: the masked response flows into the result";
  EXPECT_EQ(Calls, 0);

  ResetFpu();
  FpuErrorHandler = CountingHandler;
  CheckedNegativeRoot(1, &result);
  // The negation is exact; only the root's check fires.
  EXPECT_EQ(Calls, 1);
  EXPECT_EQ(StatusAtCall & kFpuExceptionFlags, kInvalid);
}

TEST_F(FpuTrap, AnInexactResultCounts) {
  long double result = 0;
  CheckedDivide(1, 3, &result);
  EXPECT_EQ(Calls, 1);
  EXPECT_EQ(StatusAtCall & kFpuExceptionFlags, kPrecision);
}

TEST_F(FpuTrap, EveryExceptionFlagCalls) {
  const long double huge = std::numeric_limits<long double>::max();
  const long double tiny = std::numeric_limits<long double>::min();
  const long double denormal = std::numeric_limits<long double>::denorm_min();
  struct Case {
    const char* name;
    long double a, b;
    uint16_t flag;
  } cases[] = {
      {"overflow", huge, huge, kOverflow},
      {"underflow", tiny, tiny, kUnderflow},
      {"denormal operand", denormal, 2, kDenormal},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Calls = 0;
    long double result;
    CheckedMultiply(c.a, c.b, &result);
    EXPECT_EQ(Calls, 1);
    EXPECT_EQ(StatusAtCall & c.flag, c.flag);
  }
}

TEST_F(FpuTrap, ConditionCodesAndStackTopAreNotErrors) {
  // 0 against 1 sets condition code C0; the loads move the stack top.
  CheckedCompare(1, 0);
  EXPECT_NE(StatusWord() & 0x0100, 0) << "the compare should have set C0";
  EXPECT_EQ(Calls, 0);
}

TEST_F(FpuTrap, WithoutAHandlerTheFlagsStaySet) {
  FpuErrorHandler = nullptr;
  long double result = 0;
  CheckedDivide(3, 0, &result);
  EXPECT_EQ(Calls, 0);
  EXPECT_EQ(StatusWord() & kZeroDivide, kZeroDivide);
  EXPECT_EQ(result, std::numeric_limits<long double>::infinity());
}

TEST_F(FpuTrap, FloatConversionClearsPendingFlags) {
  long double result = 0;
  FpuErrorHandler = nullptr;
  CheckedDivide(1, 3, &result);
  ASSERT_NE(StatusWord() & kPrecision, 0);
  FpuErrorHandler = CountingHandler;
  EXPECT_EQ(std::string(FloatText(result).text), "0.333333333333333");
  CheckedAdd(1, 1, &result);
  EXPECT_EQ(Calls, 0);

  // Without the conversion the same pending flag would have fired.
  FpuErrorHandler = nullptr;
  CheckedDivide(1, 3, &result);
  FpuErrorHandler = CountingHandler;
  CheckedAdd(1, 1, &result);
  EXPECT_EQ(Calls, 1);
}

// A handler whose own statements compute and check, as a SUB that it calls
// does; a depth bound keeps a handler that is called again from recursing
// for ever.
int Depth = 0;
int DeepestDepth = 0;
long double InnerQuotient = 0;
void ComputingHandler() {
  ++Calls;
  DeepestDepth = std::max(DeepestDepth, ++Depth);
  if (Depth < 4) CheckedDivide(1, 3, &InnerQuotient);
  --Depth;
  ResetFpu();
}

TEST_F(FpuTrap, ChecksInsideTheHandlerDoNotCallItAgain) {
  Depth = DeepestDepth = 0;
  InnerQuotient = 0;
  FpuErrorHandler = ComputingHandler;
  long double result = 0;
  CheckedDivide(3, 0, &result);
  EXPECT_EQ(DeepestDepth, 1);
  EXPECT_EQ(Calls, 1);
  volatile long double one = 1, three = 3;
  EXPECT_EQ(InnerQuotient, one / three) << "the handler's own statement ran as written";
  EXPECT_TRUE(IsIndefinite(result));
  // Once the handler has returned, checks call it again.
  CheckedAdd(1, 1, &result);
  EXPECT_EQ(Calls, 2);
  EXPECT_EQ(DeepestDepth, 1);
}

// What a handler converts to text, whatever the interrupted statement left
// on the stack.
std::string HandlerText;
volatile long double HandlerOperand = 10;
void ConvertingHandler() {
  ++Calls;
  HandlerText = FloatText(HandlerOperand / 4).text;
  ResetFpu();
}

TEST_F(FpuTrap, TheHandlerComputesAndConvertsWhateverTheStackHolds) {
  FpuErrorHandler = ConvertingHandler;
  for (uint32_t pending = 0; pending <= 7; ++pending) {
    SCOPED_TRACE(pending);
    ResetFpu();
    Calls = 0;
    HandlerText.clear();
    CheckedRootUnder(pending);
    uint16_t tags = TagWord();
    ResetFpu();
    EXPECT_EQ(Calls, 1);
    EXPECT_EQ(HandlerText, "2.5");
    // The handler's reset empties the stack, the pending operands with it.
    EXPECT_EQ(tags, 0xFFFF);
  }
}

}  // namespace
