// The command line: reads the modules, runs the stages, and turns the C++
// into a program with the cross compiler, the runtime and the linker.
#pragma once

#include <string>
#include <vector>

namespace tbc {

// Exit codes of the compiler.
enum ExitCode { kBuilt = 0, kProgramErrors = 1, kBadUsage = 2, kInternalError = 3 };

int RunCompiler(const std::vector<std::string>& args);

}  // namespace tbc
