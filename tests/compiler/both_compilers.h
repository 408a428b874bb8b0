// The compiler as a Windows program (tessaric.exe, run under Wine) beside
// the one of the build machine: over the same files, --emit-cpp must give the
// same C++, the same diagnostics and the same exit code.
#pragma once

#include <string>
#include <vector>

namespace compilertest {

// TESSARIC_COMPILER_WIN32; "" when the test runs without it.
std::string WindowsCompilerPath();

// Writes the modules into a fresh folder named after the running test
// (main.bas, then module1.bas, ...) and expects the same of both compilers.
// Skips the test without tessaric.exe.
void ExpectSameFromBothCompilers(const std::vector<std::string>& modules);

// The same for files already on disk, named relative to dir (the main module
// first).
void ExpectSameFromBothCompilersIn(const std::string& dir, const std::vector<std::string>& files);

}  // namespace compilertest
