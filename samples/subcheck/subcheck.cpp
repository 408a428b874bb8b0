// subcheck: SUBs and FUNCTIONs declared in the program itself, with string and
// integer arguments and results; one line for every check that holds.
#include "console/console.h"
#include "core/numbers.h"

using namespace tessaric;

TESSARIC_PROGRAM("Tessaric3437", "subcheck")

namespace {

StringDescriptor A = {};
StringDescriptor B = {};
StringDescriptor T = {};
int32_t V = 0;

// Each routine's parameter is a static variable of its own, which also
// serves the caller as the argument temporary.
int32_t CorrigeCompraAmount = 0;
const char* HayProvText = nullptr;
StringDescriptor HayProvL = {};

FunctionResult FechaResult = {};
FunctionResult HayProvResult = {};

StringValue __stdcall Fecha();
void __stdcall Avance();
void __stdcall CorrigeCompra(int32_t amount);
int32_t __stdcall HayProv(const char* text);

void PrintLine(StringValue text) {
  ConsoleWrite(text);
  ConsoleNewLine();
}

}  // namespace

int ProgramBody() {
  StrAlloc(&A, kVariableSize);
  StrAlloc(&B, kVariableSize);
  StrAlloc(&T, kVariableSize);
  StrAssign(Literal("una fecha"), &T);
  StrAssign(ValueOf(T), &A);
  StrAssign(Fecha(), &B);
  if (StrCompare(ValueOf(T), ValueOf(B)) == 0) PrintLine(Literal("Fecha FUNCTION worked"));
  Avance();
  if (StrCompare(Literal("Avance"), ValueOf(T)) == 0) PrintLine(Literal("Avance SUB worked"));
  CorrigeCompra(100);
  if (FloatCompare(V, 100) == 0) PrintLine(Literal("CorrigeCompra SUB worked"));
  StrAssign(Literal("una Prov"), &T);
  V = HayProv(T.text);
  if (FloatCompare(V, T.length) == 0) PrintLine(Literal("HayProv FUNCTION worked"));
  ConsoleWaitKey();
  return 0;
}

namespace {

StringValue __stdcall Fecha() {
  // The result is A's own pair, not a copy.
  StoreResult(&FechaResult, kStringResult, ValueOf(A));
  return LoadStringResult(&FechaResult);
}

void __stdcall Avance() { StrAssign(Literal("Avance"), &T); }

void __stdcall CorrigeCompra(int32_t amount) {
  CorrigeCompraAmount = amount;
  V = CorrigeCompraAmount;
}

int32_t __stdcall HayProv(const char* text) {
  HayProvText = text;
  StrAlloc(&HayProvL, kVariableSize);
  StrAssign(HayProvText, &HayProvL, StrLength(HayProvText));
  StoreResult(&HayProvResult, static_cast<long double>(HayProvL.length));
  return RoundToInt32(LoadNumberResult(&HayProvResult));
}

}  // namespace
