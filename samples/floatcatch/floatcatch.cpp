// The floating-point trap sample: a handler that prints the running test's
// description, a division by zero and the square root of a negative number.
// The handler empties the FPU stack, so each store that follows finds nothing
// to store and leaves flags that make the next check fire: three calls in all.
#include "console/console.h"
#include "core/program.h"
#include "fpu/fpu.h"

using namespace tessaric;

TESSARIC_PROGRAM("Tessaric6386", "floatcatch")

namespace {

StringDescriptor Message = {};
long double Result = 0;
const long double Three = 3;
const long double Zero = 0;

void ReportFpuError() {
  ConsoleWrite(ValueOf(Message));
  ConsoleNewLine();
  ResetFpu();
}

}  // namespace

int ProgramBody() {
  StrAlloc(&Message, kVariableSize);
  StrAssign(Literal("Tessaric Compiler floatcatchor Test "), &Message);
  ConsoleWrite(ValueOf(Message));
  ConsoleNewLine();
  FpuErrorHandler = ReportFpuError;

  StrAssign(Literal("divide by zero"), &Message);
  // Result = 3 / 0, checked after the division and before the store.
  asm volatile("fldt %1\n\tfldt %2\n\tfdivrp\n\tcall %P3\n\tfstpt %0"
               : "=m"(Result)
               : "m"(Three), "m"(Zero), "i"(&FpuCheck)
               : "eax", "ecx", "edx", "memory", "cc", "st", "st(1)");

  StrAssign(Literal("sqr of negative number"), &Message);
  // Result = sqr(-1): the negation and the root each followed by a check.
  asm volatile("fld1\n\tfchs\n\tcall %P1\n\tfsqrt\n\tcall %P1\n\tfstpt %0"
               : "=m"(Result)
               : "i"(&FpuCheck)
               : "eax", "ecx", "edx", "memory", "cc", "st");

  ConsoleWrite(Literal("Done"));
  ConsoleNewLine();
  ConsoleWaitKey();
  return 0;
}
