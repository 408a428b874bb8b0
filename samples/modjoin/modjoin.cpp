// modjoin: a main program that calls the routines of a separately compiled
// object module (extmod) like its own.
#include "console/console.h"
#include "core/numbers.h"
#include "extmod.h"

using namespace tessaric;

TESSARIC_PROGRAM("Tessaric4834", "modjoin")

namespace {

StringDescriptor S = {};
int32_t R = 0;

}  // namespace

int ProgramBody() {
  StrAlloc(&S, kVariableSize);
  StrAssign(Literal("Tessaric .OBJ Module Link Tests"), &S);
  ConsoleSetTitle(S.text);
  ConsoleWrite(ValueOf(S));
  ConsoleNewLine();
  ConsoleNewLine();
  ObjSub1();
  StrAssign(Literal("I will write this five times."), &S);
  ObjSub2(5, S.text);
  ConsoleNewLine();
  R = ObjFun1(10, 20);
  ConsoleWrite(Literal("modjoin.bas Main Program gets 10 + 20 = "));
  ConsoleWrite(SignedText(R));
  ConsoleNewLine();
  ConsoleWaitKey();
  return 0;
}
