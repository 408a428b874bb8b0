// The sample library: a greeting box, a box listing three arguments, and a
// FUNCTION that returns 10. Its boxes are captioned with its ProgramName.
#include "core/numbers.h"
#include "core/program.h"
#include "demolib.h"

using namespace tessaric;

TESSARIC_PROGRAM("Tessaric9577", "demolib")

namespace {

// Exported routines copy their arguments into static variables, so they are
// not reentrant.
int32_t FirstArgument = 0;
int32_t SecondArgument = 0;
int32_t ThirdArgument = 0;
StringDescriptor Message = {};
FunctionResult ValueResult = {};

constexpr StringValue kLineEnd = {LineEnd, 2};

void AppendArgument(StringValue label, int32_t value) {
  ConcatAppend(label);
  ConcatAppend(SignedText(value));
  ConcatAppend(kLineEnd);
}

}  // namespace

extern "C" void __stdcall HelloFromDll() {
  MessageBoxA(nullptr, "Hello From Tessaric DLL!", tessaric::ProgramHeader.ProgramName, MB_SYSTEMMODAL);
}

extern "C" void __stdcall ArgsToDll(int32_t first, int32_t second, int32_t third) {
  FirstArgument = first;
  SecondArgument = second;
  ThirdArgument = third;
  StrAlloc(&Message, kVariableSize);
  ConcatBegin();
  ConcatAppend(Literal("Tessaric DLL Argument Test"));
  ConcatAppend(kLineEnd);
  AppendArgument(Literal("arg1 = "), FirstArgument);
  AppendArgument(Literal("arg2 = "), SecondArgument);
  AppendArgument(Literal("arg3 = "), ThirdArgument);
  StrAssign(ValueOf(ConcatAccumulator), &Message);
  MessageBoxA(nullptr, Message.text, tessaric::ProgramHeader.ProgramName, MB_SYSTEMMODAL);
}

extern "C" int32_t __stdcall ValueFromDll() {
  // An integer FUNCTION: the result goes through its record and leaves as an int.
  StoreResult(&ValueResult, 10.0L);
  return RoundToInt32(LoadNumberResult(&ValueResult));
}
