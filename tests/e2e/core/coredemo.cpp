// A small program on the runtime core alone: numbers of all three kinds as
// text, and a concatenation built in the accumulator.
#include "core/numbers.h"
#include "core/program.h"

using namespace tessaric;

TESSARIC_PROGRAM("Tessaric0042", "coredemo");

namespace {

StringDescriptor Line = {};

// Writes one line straight to standard output.
void PrintLine(StringValue text) {
  DWORD written;
  WriteFile(StdOutputHandle, text.text, static_cast<DWORD>(text.length), &written, nullptr);
  WriteFile(StdOutputHandle, LineEnd, 2, &written, nullptr);
}

void PrintLabelled(StringValue label, StringValue number) {
  ConcatBegin();
  ConcatAppend(label);
  PrintLine(ConcatAppend(number));
}

}  // namespace

int ProgramBody() {
  StrAlloc(&Line, kVariableSize);
  StrAssign(Literal("Tessaric core demonstration"), &Line);
  PrintLine(ValueOf(Line));
  PrintLabelled(Literal("unsigned 4294967295 = "), UnsignedText(4294967295u));
  PrintLabelled(Literal("signed -2147483648 = "), SignedText(-2147483647 - 1));
  PrintLabelled(Literal("float 1/3 = "), FloatText(1.0L / 3.0L));
  PrintLabelled(Literal("float -2.5 = "), FloatText(-2.5L));
  PrintLabelled(Literal("float 1.5E20 = "), FloatText(1.5e20L));

  // One expression of five pieces: literals and numbers side by side.
  ConcatBegin();
  ConcatAppend(Literal("concatenation: "));
  ConcatAppend(SignedText(10));
  ConcatAppend(Literal(" + "));
  ConcatAppend(SignedText(20));
  ConcatAppend(Literal(" = "));
  StrAssign(ConcatAppend(SignedText(30)), &Line);
  PrintLine(ValueOf(Line));
  return 0;
}
