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
  // An index beyond the table is an index error itself: it takes the last
  // entry's text and exit code, never text from outside the table or a
  // wrapped-around exit code of 0.
  if (index > 3) index = 3;
  // Needs no allocation: the text and the caption are static.
  MessageBoxA(nullptr, FatalMessageTable[0] + 20 * index, ProgramHeader.ProgramName, MB_OK);
  ExitProcess(index + 1);
}

}  // namespace tessaric
