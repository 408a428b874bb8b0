// The object module extmod: compiled on its own and linked into modjoin. Each
// routine copies its arguments into its own static variables.
#include "extmod.h"

#include "console/console.h"
#include "core/numbers.h"

using namespace tessaric;

namespace {

int32_t ObjSub2N = 0;
const char* ObjSub2Text = nullptr;
int32_t ObjSub2Counter = 0;
StringDescriptor ObjSub2L = {};

int32_t ObjFun1A = 0;
int32_t ObjFun1B = 0;
FunctionResult ObjFun1Result = {};

}  // namespace

extern "C" {

void __stdcall ObjSub1() {
  ConsoleWrite(Literal("Hello From ObjSub1!"));
  ConsoleNewLine();
  ConsoleNewLine();
}

void __stdcall ObjSub2(int32_t n, const char* text) {
  ObjSub2N = n;
  ObjSub2Text = text;
  StrAlloc(&ObjSub2L, kVariableSize);
  ConsoleWrite(Literal("Hello From ObjSub2!  Using arguments to do something:"));
  ConsoleNewLine();
  StrAssign(ObjSub2Text, &ObjSub2L, StrLength(ObjSub2Text));
  // FOR counter = 1 TO n: the count of passes is taken once, before the first.
  ObjSub2Counter = 1;
  for (int32_t passes = ObjSub2N + 1 - ObjSub2Counter; passes > 0; --passes, ++ObjSub2Counter) {
    ConsoleWrite(ValueOf(ObjSub2L));
    ConsoleNewLine();
  }
}

int32_t __stdcall ObjFun1(int32_t a, int32_t b) {
  ObjFun1A = a;
  ObjFun1B = b;
  ObjFun1A = RoundToInt32(static_cast<long double>(ObjFun1A) + ObjFun1B);
  ConsoleWrite(Literal("extmod.obj ObjFun1 says the sum is "));
  ConsoleWrite(SignedText(ObjFun1A));
  ConsoleNewLine();
  StoreResult(&ObjFun1Result, static_cast<long double>(ObjFun1A));
  return RoundToInt32(LoadNumberResult(&ObjFun1Result));
}

}
