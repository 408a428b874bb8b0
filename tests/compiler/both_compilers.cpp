#include "both_compilers.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "support.h"

namespace compilertest {

namespace {

// The C++ files in a folder, each with its text, in name order.
std::string FolderListing(const std::string& dir) {
  std::string listing;
  RunResult names = RunCommand({"ls", "-1", dir}, "", 60);
  size_t start = 0;
  for (size_t end; (end = names.output.find('\n', start)) != std::string::npos; start = end + 1) {
    std::string name = names.output.substr(start, end - start);
    listing += "== " + name + "\n" + ReadFile(dir + "/" + name);
  }
  return listing;
}

}  // namespace

std::string WindowsCompilerPath() {
  const char* path = std::getenv("TESSARIC_COMPILER_WIN32");
  return path != nullptr ? path : "";
}

void ExpectSameFromBothCompilers(const std::vector<std::string>& modules) {
  const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(test->test_suite_name()) + "." + test->name();
  for (char& c : name)
    if (c == '/') c = '_';
  std::string dir = ScratchDir("both/" + name);
  std::vector<std::string> files;
  for (size_t i = 0; i < modules.size(); ++i) {
    files.push_back(i == 0 ? "main.bas" : "module" + std::to_string(i) + ".bas");
    WriteFile(dir + "/" + files.back(), modules[i]);
  }
  ExpectSameFromBothCompilersIn(dir, files);
}

void ExpectSameFromBothCompilersIn(const std::string& dir, const std::vector<std::string>& files) {
  if (WindowsCompilerPath().empty()) GTEST_SKIP() << "TESSARIC_COMPILER_WIN32 names no Windows compiler";
  // Several modules go into a folder of C++ files, one into standard output.
  // The files are named as they are given, relative to the folder both run
  // in, since the names stand in the C++ and in every message.
  bool folder = files.size() > 1;
  auto run = [&](std::vector<std::string> command, const std::string& out) {
    command.insert(command.end(), files.begin(), files.end());
    command.push_back("--emit-cpp");
    if (folder) {
      RunCommand({"rm", "-rf", dir + "/" + out}, "", 60);
      command.insert(command.end(), {"-o", out});
    }
    return RunCommand(command, "", 120, true, dir);
  };
  RunResult onLinux = run({CompilerPath()}, "linux-cpp");
  RunResult onWindows = run({"wine", WindowsCompilerPath()}, "windows-cpp");
  ASSERT_FALSE(onWindows.timedOut);
  EXPECT_EQ(onWindows.exitCode, onLinux.exitCode) << onWindows.errors;
  EXPECT_EQ(onWindows.errors, onLinux.errors);
  EXPECT_TRUE(onWindows.output == onLinux.output) << "the C++ on standard output differs";
  if (folder) EXPECT_TRUE(FolderListing(dir + "/windows-cpp") == FolderListing(dir + "/linux-cpp")) << "the C++ files differ";
  // Something to compare: the C++, or a diagnostic.
  EXPECT_FALSE(onLinux.output.empty() && onLinux.errors.empty() && FolderListing(dir + "/linux-cpp").empty());
}

}  // namespace compilertest
