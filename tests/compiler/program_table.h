// The table of small programs, their input, and the output that the
// language's rules give them: run through the C++ back end by the programs
// test, and through both back ends by the back ends test.
#pragma once

#include <vector>

namespace compilertest {

struct ProgramCase {
  const char* name;
  std::vector<const char*> modules;  // the main module first
  const char* input;
  const char* output;                // \n stands for CR LF
};

const std::vector<ProgramCase>& ProgramCases();

}  // namespace compilertest
