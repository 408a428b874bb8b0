// The compiler's speed: translating a generated program of 10,000 lines to C++
// (--emit-cpp) beside the cross compiler's time on the C++ it makes, each the
// median of three runs. The translation must take at most a tenth of that.
// And whole builds through the native back end, which needs no C++ compiler:
// hello in at most 20 ms, the generated program in at most half a second.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../compiler/support.h"

using namespace compilertest;

namespace {

constexpr int kLines = 10000;
constexpr int kRuns = 3;

// Pairs of routines with every kind of statement, each called from the main
// code so that the C++ compiler makes code for all of them; no routine calls
// another, so the program is valid however many pairs it has.
std::string GenerateProgram() {
  std::ostringstream p, calls;
  p << "' A generated program for the compiler's benchmark.\n"
       "DIM total AS INTEGER, text AS STRING, x AS DOUBLE\n";
  int lines = 3;
  for (int n = 1; lines < kLines; ++n) {
    calls << "Step" << n << " " << n % 13 << ", \"s" << n << "\"\n"
          << "x = x + Value" << n << "(" << n << ", 1.5)\n";
    lines += 2;
    std::string k = std::to_string(n);
    std::string pair =
        "SUB Step" + k + "(n AS INTEGER, s AS STRING)\n"
        "  DIM i AS INTEGER, local AS STRING\n"
        "  FOR i = 1 TO n\n"
        "    IF i MOD 3 = 0 THEN\n"
        "      local = local + s + STR$(i)\n"
        "    ELSEIF i MOD 5 = 0 THEN\n"
        "      total = total + i * 2\n"
        "    ELSE\n"
        "      x = x + i / 7\n"
        "    END IF\n"
        "  NEXT\n"
        "  SELECT CASE n\n"
        "    CASE 1 TO 3: PRINT \"low \"; n\n"
        "    CASE IS > 10: PRINT LEFT$(local, 10)\n"
        "    CASE ELSE: text = UCASE$(s) + MID$(local, 2, 3)\n"
        "  END SELECT\n"
        "  WHILE n > 0: n = n - 1: total = total XOR n: WEND\n"
        "  PRINT \"step " + k + ": \"; total; \" \"; x\n"
        "END SUB\n"
        "FUNCTION Value" + k + "(a AS INTEGER, b AS DOUBLE) AS DOUBLE\n"
        "  DIM t AS STRING\n"
        "  t = \"v\" + STR$(a)\n"
        "  Value" + k + " = a * b + SQR(ABS(b)) - INT(b / 3) + LEN(t)\n"
        "END FUNCTION\n";
    p << pair;
    lines += static_cast<int>(std::count(pair.begin(), pair.end(), '\n'));
  }
  return p.str() + calls.str() + "PRINT total; \" \"; x; \" \"; text\n";
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

template <typename F>
double TimeOf(F run) {
  auto start = std::chrono::steady_clock::now();
  run();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main() {
  std::string dir = ScratchDir("compiler-bench");
  std::string source = dir + "/generated.bas";
  std::string program = GenerateProgram();
  WriteFile(source, program);
  std::string cpp = dir + "/generated.cpp";

  std::vector<double> translation;
  for (int i = 0; i < kRuns; ++i) {
    RunResult r;
    translation.push_back(TimeOf([&] { r = RunCommand({CompilerPath(), source, "--emit-cpp", "-o", cpp}, "", 600, true); }));
    if (r.exitCode != 0) {
      std::printf("the compiler refused the generated program:\n%s\n", r.errors.c_str());
      return 1;
    }
  }
  std::vector<std::string> command = {KitValue("cxx")};
  std::istringstream flags(KitValue("flags"));
  for (std::string f; flags >> f;) command.push_back(f);
  command.insert(command.end(), {"-std=gnu++17", "-I", KitValue("pch"), "-I", KitValue("include"), "-c",
                                 cpp, "-o", dir + "/generated.o"});
  std::vector<double> compilation;
  for (int i = 0; i < kRuns; ++i) {
    RunResult r;
    compilation.push_back(TimeOf([&] { r = RunCommand(command, "", 1800, true); }));
    if (r.exitCode != 0) {
      std::printf("the C++ compiler refused the code:\n%s\n", r.errors.c_str());
      return 1;
    }
  }
  // Whole builds, object and link, through the native back end.
  auto nativeBuild = [&](const std::string& bas, const std::string& exe, double& seconds) {
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
      RunResult r;
      times.push_back(TimeOf([&] { r = RunCommand({CompilerPath(), bas, "--backend", "native", "-o", exe}, "", 600, true); }));
      if (r.exitCode != 0) {
        std::printf("the native back end did not build %s:\n%s\n", bas.c_str(), r.errors.c_str());
        return false;
      }
    }
    seconds = Median(times);
    return true;
  };
  std::string hello = dir + "/hello.bas";
  WriteFile(hello, "PRINT \"Hello, world!\"\n");
  double nativeHello = 0, nativeGenerated = 0;
  if (!nativeBuild(hello, dir + "/hello.exe", nativeHello) ||
      !nativeBuild(source, dir + "/generated.exe", nativeGenerated))
    return 1;

  double t = Median(translation), c = Median(compilation);
  int lines = static_cast<int>(std::count(program.begin(), program.end(), '\n'));
  std::printf("compiler: translating a generated program of %d lines (--emit-cpp): %8.3f s, median of %d\n", lines, t,
              kRuns);
  std::printf("compiler: the C++ compiler on the code it emits:                %8.3f s, median of %d\n", c, kRuns);
  std::printf("compiler: translation / C++ compilation = %.4f (at most 0.1)\n", t / c);
  std::printf("compiler: hello built with --backend native:                   %8.3f s (at most 0.020)\n", nativeHello);
  std::printf("compiler: the generated program built with --backend native:   %8.3f s (at most 0.5)\n", nativeGenerated);
  return t / c <= 0.1 && nativeHello <= 0.020 && nativeGenerated <= 0.5 ? 0 : 1;
}
