#include "core/program.h"

namespace tessaric {

// Each text is 19 characters, trailing blanks included, padded to 20 bytes.
const char FatalMessageTable[4][20] = {
    "Library Not Found  ",
    "Function Not Found ",
    "Insufficient memory",
    "Array index error  ",
};

void FatalError(uint32_t index) {
  // Needs no allocation: the text and the caption are static.
  MessageBoxA(nullptr, FatalMessageTable[0] + 20 * index, ProgramHeader.ProgramName, MB_OK);
  ExitProcess(index + 1);
}

}  // namespace tessaric
