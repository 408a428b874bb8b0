// What the compiler's tests share: files in a scratch folder, running a
// command with a time limit, compiling with the built compiler and running
// a program under Wine.
#pragma once

#include <string>
#include <vector>

namespace compilertest {

// From the environment that ctest sets.
std::string CompilerPath();  // TESSARIC_COMPILER
std::string SourceRoot();    // TESSARIC_SOURCE
// The kit the compiler reads (TESSARIC_KIT, else the one beside it), and a
// value it names.
std::string KitPath();
std::string KitValue(const std::string& key);
// A fresh, empty folder under TESSARIC_TMP.
std::string ScratchDir(const std::string& name);

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& text);

struct RunResult {
  int exitCode = -1;    // -1 when it had to be stopped or died from a signal
  bool timedOut = false;
  std::string output;   // standard output, and standard error unless separate
  std::string errors;   // standard error when asked for separately
};

// Runs the command with input as its standard input, in workingDir when given.
RunResult RunCommand(const std::vector<std::string>& command, const std::string& input, int timeoutSeconds,
                     bool separateErrors = false, const std::string& workingDir = "");

// Compiles the sources (written into dir) into program, with the options
// (such as a back end) given; the compiler's result.
RunResult Compile(const std::string& dir, const std::vector<std::string>& sources, const std::string& program,
                  const std::vector<std::string>& options = {});
// Runs a Windows console program under Wine, in its folder, with input as its
// standard input.
RunResult RunProgram(const std::string& program, const std::string& input);

// The text with every line end made CR LF, as PRINT writes it.
std::string CrLf(const std::string& text);

}  // namespace compilertest
