// Small programs, their input, and the output that the language's rules give
// them, compiled with the built compiler and run under Wine with standard
// input a file. Every console program ends with the closing key wait, whose
// prompt and line end follow the program's own output.
#include <gtest/gtest.h>

#include "both_compilers.h"
#include "program_table.h"
#include "support.h"

namespace {

using namespace compilertest;

using Case = ProgramCase;

class CompiledProgram : public testing::TestWithParam<Case> {};

TEST_P(CompiledProgram, PrintsWhatTheRulesGive) {
  const Case& c = GetParam();
  std::string dir = ScratchDir(std::string("programs/") + c.name);
  std::vector<std::string> files;
  for (size_t i = 0; i < c.modules.size(); ++i) {
    std::string file = i == 0 ? "main.bas" : "module" + std::to_string(i) + ".bas";
    WriteFile(dir + "/" + file, c.modules[i]);
    files.push_back(file);
  }
  std::string program = dir + "/main.exe";
  RunResult built = Compile(dir, files, program);
  ASSERT_EQ(built.exitCode, 0) << built.output << built.errors;
  RunResult run = RunProgram(program, c.input);
  EXPECT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_EQ(run.output, CrLf(c.output) + "Press a key to continue...\r\n");
}

INSTANTIATE_TEST_SUITE_P(Table, CompiledProgram, testing::ValuesIn(ProgramCases()),
                         [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

// The compiler as a Windows program makes the same C++ of each.
class CompiledProgramOnWindows : public testing::TestWithParam<Case> {};

TEST_P(CompiledProgramOnWindows, GetsTheSameCpp) {
  ExpectSameFromBothCompilers(std::vector<std::string>(GetParam().modules.begin(), GetParam().modules.end()));
}

INSTANTIATE_TEST_SUITE_P(Table, CompiledProgramOnWindows, testing::ValuesIn(ProgramCases()),
                         [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace

namespace {

// Programs the checks accept and the build refuses: the error is still the
// program's, at the place that caused it.
struct BuildRefusal {
  const char* name;
  const char* source;
  const char* error;
};

const BuildRefusal kBuildRefusals[] = {
    // The kit's own import library serves the system libraries: a routine one
    // of them lacks is looked up there before the link.
    {"missing_routine",
     "PRINT 1\n"
     "DECLARE SUB NoSuchRoutine LIB \"User32.DLL\" (n AS INTEGER)\n"
     "NoSuchRoutine 1\n",
     "main.bas:2:13: error: User32.DLL has no routine NoSuchRoutine taking 4 bytes of arguments"},
    {"missing_resources", "OPTION RESOURCES \"none.rc\"\nPRINT 1\n",
     "main.bas:1:18: error: the resource compiler rejected none.rc"},
};

class RefusedBuild : public testing::TestWithParam<BuildRefusal> {};

TEST_P(RefusedBuild, IsTheProgramsErrorAtItsPlace) {
  const BuildRefusal& c = GetParam();
  std::string dir = ScratchDir(std::string("programs/") + c.name);
  WriteFile(dir + "/main.bas", c.source);
  RunResult built = Compile(dir, {"main.bas"}, dir + "/main.exe");
  EXPECT_EQ(built.exitCode, 1);
  EXPECT_NE(built.errors.find(c.error), std::string::npos) << built.errors;
}

INSTANTIATE_TEST_SUITE_P(Table, RefusedBuild, testing::ValuesIn(kBuildRefusals),
                         [](const testing::TestParamInfo<BuildRefusal>& info) { return std::string(info.param.name); });

}  // namespace

namespace {

// A warning is told on standard error, in the form of an error, and the
// program is built all the same.
TEST(WarnedBuild, TellsTheWarningAndBuildsTheProgram) {
  std::string dir = ScratchDir("programs/warned");
  WriteFile(dir + "/main.bas", "DIM Form AS FORM\nForm.Caption = \"unseen\"\n");
  RunResult built = Compile(dir, {"main.bas"}, dir + "/main.exe");
  EXPECT_EQ(built.exitCode, 0);
  EXPECT_EQ(built.errors, dir + "/main.bas:1:5: warning: the main form Form is never shown, so the program would run "
                                "unseen until it is ended; show it with Form.Show\n"
                                "DIM Form AS FORM\n"
                                "    ^\n");
  EXPECT_FALSE(ReadFile(dir + "/main.exe").empty()) << "the program is not built";
}

}  // namespace

namespace {

// A compiler whose kit names a C++ compiler that is not installed cannot
// build through C++: asked to, it says so and why, writes nothing and ends
// with exit code 3. Not asked, it builds through the native back end.
TEST(UnbuildableProgram, SaysTheCompilerCannotBuildHere) {
  std::string dir = ScratchDir("programs/no_cxx");
  std::string compiler = CompilerPath();
  std::string kit = ReadFile(compiler.substr(0, compiler.find_last_of('/')) + "/tessaric-kit.txt");
  ASSERT_NE(kit.find("\ncxx="), std::string::npos);
  size_t at = kit.find("\ncxx=") + 5;
  kit.replace(at, kit.find('\n', at) - at, dir + "/no-such-g++");
  WriteFile(dir + "/kit.txt", kit);
  WriteFile(dir + "/main.bas", "PRINT 1\n");
  RunCommand({"mkdir", dir + "/tmp"}, "", 60);
  RunResult built = RunCommand({"env", "TESSARIC_KIT=" + dir + "/kit.txt", "TMPDIR=" + dir + "/tmp", compiler,
                                dir + "/main.bas", "-o", dir + "/main.exe", "--backend", "cpp"},
                               "", 120, true);
  EXPECT_EQ(built.exitCode, 3);
  EXPECT_EQ(built.errors, "tessaric: cannot build programs here yet: the C++ compiler " + dir + "/no-such-g++ that " + dir +
                              "/kit.txt names is not here; --emit-cpp writes the program's C++ all the same\n");
  EXPECT_TRUE(ReadFile(dir + "/main.exe").empty()) << "a program was written";
  EXPECT_EQ(RunCommand({"ls", "-A", dir + "/tmp"}, "", 60).output, "") << "scratch files were left";
  // (Linked by the compiler's own linker: the link through ld takes the C++ compiler's driver.)
  RunResult native = RunCommand({"env", "-u", "TESSARIC_LINKER", "TESSARIC_KIT=" + dir + "/kit.txt", "TMPDIR=" + dir + "/tmp", compiler,
                                 dir + "/main.bas", "-o", dir + "/main.exe"},
                                "", 120, true);
  ASSERT_EQ(native.exitCode, 0) << native.errors;
  RunResult run = RunProgram(dir + "/main.exe", "");
  EXPECT_EQ(run.output, CrLf("1\nPress a key to continue...\n"));
  // --emit-cpp needs no C++ compiler.
  RunResult emitted = RunCommand({"env", "TESSARIC_KIT=" + dir + "/kit.txt", compiler, dir + "/main.bas", "--emit-cpp"},
                                 "", 120, true);
  EXPECT_EQ(emitted.exitCode, 0) << emitted.errors;
  EXPECT_NE(emitted.output.find("PRINT 1"), std::string::npos);
}

}  // namespace
