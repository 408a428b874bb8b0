// The compiler as a Windows program (tessaric.exe, under Wine) beside the
// compiler of the build machine, over every sample and example and the
// command line's own mistakes; the tables of the diagnostics and programs
// tests are compared in those tests (their *OnWindows suites). Without a
// C++ compiler to build with, tessaric.exe says that it cannot build yet.
#include <gtest/gtest.h>

#include <dirent.h>

#include <algorithm>

#include "both_compilers.h"
#include "support.h"

namespace {

using namespace compilertest;

std::vector<std::string> Entries(const std::string& dir) {
  std::vector<std::string> names;
  if (DIR* d = opendir(dir.c_str())) {
    while (dirent* e = readdir(d))
      if (e->d_name[0] != '.') names.push_back(e->d_name);
    closedir(d);
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Each program of a folder of programs (samples/, examples/): <name>/<name>.bas
// first, then the folder's other modules.
void ExpectEveryProgramTheSame(const std::string& folder) {
  std::vector<std::string> programs = Entries(SourceRoot() + "/" + folder);
  ASSERT_FALSE(programs.empty()) << folder;
  for (const std::string& name : programs) {
    std::string dir = SourceRoot() + "/" + folder + "/" + name;
    std::vector<std::string> entries = Entries(dir);
    if (std::find(entries.begin(), entries.end(), name + ".bas") == entries.end()) continue;  // not a program
    std::vector<std::string> files = {name + ".bas"};
    for (const std::string& file : entries)
      if (EndsWith(file, ".bas") && file != name + ".bas") files.push_back(file);
    SCOPED_TRACE(dir);
    // Both write into the program's own folder only with several modules; a
    // scratch copy keeps the checkout clean.
    std::string copy = ScratchDir("both/" + folder + "/" + name);
    for (const std::string& file : files) WriteFile(copy + "/" + file, ReadFile(dir + "/" + file));
    ExpectSameFromBothCompilersIn(copy, files);
  }
}

TEST(WindowsCompiler, GivesTheSameCppOfEverySample) { ExpectEveryProgramTheSame("samples"); }

TEST(WindowsCompiler, GivesTheSameCppOfEveryExample) { ExpectEveryProgramTheSame("examples"); }

// The command line's mistakes: the same message and exit code.
TEST(WindowsCompiler, RefusesTheSameCommandLines) {
  if (WindowsCompilerPath().empty()) GTEST_SKIP() << "TESSARIC_COMPILER_WIN32 names no Windows compiler";
  std::string dir = ScratchDir("both/command_lines");
  WriteFile(dir + "/a.bas", "PRINT 1\n");
  WriteFile(dir + "/b.bas", "SUB B\nEND SUB\n");
  const std::vector<std::string> lines[] = {
      {},
      {"--help"},
      {"a.bas", "--frobnicate"},
      {"missing.bas", "--emit-cpp"},
      {"a.bas", "-o"},
      {"a.bas", "-o", "x.cpp", "-o", "y.cpp", "--emit-cpp"},
      {"a.bas", "b.bas", "--emit-cpp"},
      {"-I"},
  };
  for (const std::vector<std::string>& args : lines) {
    std::vector<std::string> here = {CompilerPath()}, there = {"wine", WindowsCompilerPath()};
    here.insert(here.end(), args.begin(), args.end());
    there.insert(there.end(), args.begin(), args.end());
    RunResult onLinux = RunCommand(here, "", 60, true, dir);
    RunResult onWindows = RunCommand(there, "", 60, true, dir);
    std::string line = args.empty() ? "(nothing)" : args[0] + (args.size() > 1 ? " " + args[1] : "");
    EXPECT_EQ(onWindows.exitCode, onLinux.exitCode) << line;
    EXPECT_EQ(onWindows.output, onLinux.output) << line;
    EXPECT_EQ(onWindows.errors, onLinux.errors) << line;
  }
}

// tessaric.exe has no C++ compiler to build with: it says it cannot build
// yet, with exit code 3, and writes nothing; --emit-cpp works all the same.
TEST(WindowsCompiler, SaysItCannotBuildYet) {
  if (WindowsCompilerPath().empty()) GTEST_SKIP() << "TESSARIC_COMPILER_WIN32 names no Windows compiler";
  std::string dir = ScratchDir("both/cannot_build");
  WriteFile(dir + "/hello.bas", "PRINT \"Hello\"\n");
  RunResult built = RunCommand({"wine", WindowsCompilerPath(), "hello.bas"}, "", 60, true, dir);
  EXPECT_EQ(built.exitCode, 3);
  EXPECT_EQ(built.errors.rfind("tessaric: cannot build programs here yet: no kit names a C++ compiler and the runtime "
                               "to build with (looked for ",
                               0),
            0u)
      << built.errors;
  EXPECT_TRUE(EndsWith(built.errors, "tessaric-kit.txt); --emit-cpp writes the program's C++ all the same\n"))
      << built.errors;
  EXPECT_EQ(Entries(dir), std::vector<std::string>{"hello.bas"}) << "it wrote something";
  RunResult emitted = RunCommand({"wine", WindowsCompilerPath(), "hello.bas", "--emit-cpp"}, "", 60, true, dir);
  EXPECT_EQ(emitted.exitCode, 0) << emitted.errors;
  EXPECT_NE(emitted.output.find("PRINT \"Hello\""), std::string::npos) << "no C++ made from the source:\n"
                                                                      << emitted.output;
}

}  // namespace
