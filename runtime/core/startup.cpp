// The process entry of every program: fills the runtime globals, resets the
// FPU, runs the program body and exits with its result.
#include "core/program.h"

extern "C" void __stdcall Start() {
  using namespace tessaric;
  InstanceHandle = GetModuleHandleA(nullptr);
  CommandLine = GetCommandLineA();
  ResetFpu();
  StdOutputHandle = GetStdHandle(STD_OUTPUT_HANDLE);
  StdInputHandle = GetStdHandle(STD_INPUT_HANDLE);
  StdErrorHandle = GetStdHandle(STD_ERROR_HANDLE);
  ExitProcess(ProgramBody());
}
