// Both back ends on the same programs: every program of the table and every
// example is compiled through the C++ back end and the native one. Where the
// native one builds a program, the two programs must behave alike (output
// and exit code, on the same input); where it refuses one, it says so at a
// place of the program, with exit code 3, and writes nothing. The test says
// how many programs the native back end built, and fails if it built none.
#include <gtest/gtest.h>

#include <dirent.h>
#include <unistd.h>

#include <iostream>

#include "program_table.h"
#include "support.h"

namespace {

using namespace compilertest;

struct Subject {
  std::string name;
  std::string dir;                  // where the sources are
  std::vector<std::string> files;   // the main module first
  std::string input;
};

std::vector<Subject> Subjects() {
  std::vector<Subject> subjects;
  for (const ProgramCase& c : ProgramCases()) {
    Subject s;
    s.name = c.name;
    s.dir = ScratchDir(std::string("backends/") + c.name);
    for (size_t i = 0; i < c.modules.size(); ++i) {
      std::string file = i == 0 ? "main.bas" : "module" + std::to_string(i) + ".bas";
      WriteFile(s.dir + "/" + file, c.modules[i]);
      s.files.push_back(file);
    }
    s.input = c.input;
    subjects.push_back(s);
  }
  std::string examples = SourceRoot() + "/examples";
  if (DIR* d = opendir(examples.c_str())) {
    std::vector<std::string> names;
    while (dirent* e = readdir(d))
      if (e->d_name[0] != '.') names.push_back(e->d_name);
    closedir(d);
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
      std::string source = examples + "/" + name + "/" + name + ".bas";
      if (access(source.c_str(), R_OK) != 0) continue;
      Subject s;
      s.name = "example_" + name;
      s.dir = examples + "/" + name;
      s.files.push_back(name + ".bas");
      subjects.push_back(s);
    }
  }
  return subjects;
}

TEST(Backends, NativeProgramsBehaveAsTheCppOnes) {
  int built = 0, refused = 0;
  for (const Subject& s : Subjects()) {
    SCOPED_TRACE(s.name);
    std::string out = ScratchDir("backends_out/" + s.name);
    std::string cppProgram = out + "/cpp.exe", nativeProgram = out + "/native.exe";
    RunResult cpp = Compile(s.dir, s.files, cppProgram, {"--backend", "cpp"});
    ASSERT_EQ(cpp.exitCode, 0) << cpp.errors;
    RunResult native = Compile(s.dir, s.files, nativeProgram, {"--backend", "native"});
    if (native.exitCode == 3) {
      // Refused: an error at a line and column, and no program.
      EXPECT_NE(native.errors.find(": error: the native back end cannot build this yet"), std::string::npos)
          << native.errors;
      EXPECT_NE(access(nativeProgram.c_str(), F_OK), 0);
      ++refused;
      continue;
    }
    ASSERT_EQ(native.exitCode, 0) << native.errors;
    ++built;
    RunResult a = RunProgram(cppProgram, s.input);
    RunResult b = RunProgram(nativeProgram, s.input);
    EXPECT_FALSE(a.timedOut);
    EXPECT_FALSE(b.timedOut);
    EXPECT_EQ(b.output, a.output);
    EXPECT_EQ(b.exitCode, a.exitCode);
  }
  std::cout << "the native back end built " << built << " of " << built + refused << " programs\n";
  EXPECT_GT(built, 0);
}

}  // namespace
