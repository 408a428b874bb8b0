#include "core/program.h"
#include "core/statements.h"

namespace tessaric {

void RunError(RunErrorCode code) {
  const char* text = code == kRecursionTooDeep    ? "Recursion too deep"
                     : code == kReturnWithoutGosub ? "RETURN without GOSUB"
                                                   : "Out of DATA";
  // Needs no allocation and little stack: the text and the caption are static.
  MessageBoxA(nullptr, text, ProgramHeader.ProgramName, MB_OK);
  ExitProcess(code);
}

}  // namespace tessaric
