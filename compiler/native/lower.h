// The native back end: a checked program straight to an i386 COFF object
// with x87 arithmetic, which links with the runtime as the C++ compiler's
// object does. Each construct is lowered to the runtime calls the C++ made
// from it makes; a construct not lowered yet is refused, never built wrong.
#pragma once

#include <string>
#include <vector>

#include "../check.h"

namespace tbc {

extern const char kNativeNotYet[];  // "the native back end cannot build this yet"

// The object of the program's main module in object; false, with an error
// at the first construct it cannot build, when it refuses the program.
bool LowerNative(const Program& program, std::string& object, Diagnostics& diagnostics);

}  // namespace tbc
