// The compiler's host layer (compiler/host.h) and its paths, built for the
// machine the compiler runs on: on Linux, and as a Windows program run under
// Wine. The program starts itself as the child whose arguments, output and
// exit code the tests look at.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "host.h"
#include "paths.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

using namespace tbc;

bool Exists(const std::string& path) { return static_cast<bool>(std::ifstream(path)); }

void Write(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// The arguments it was given after "echo", one per line between brackets,
// on standard output, then "done" on standard error, and the exit code asked for.
int Echo(int argc, char** argv) {
  for (int i = 3; i < argc; ++i) std::printf("[%s]\n", argv[i]);
  std::fflush(stdout);
  std::fprintf(stderr, "done\n");
  return std::atoi(argv[2]);
}

// 2 MB of lines.
const std::string& Flood() {
  static const std::string text = [] {
    std::string t;
    for (int i = 0; i < 20000; ++i) t += std::to_string(i) + std::string(94, 'x') + "\n";
    return t;
  }();
  return text;
}

// The child: its arguments, how many bytes standard input holds, or a flood
// of output. Its streams carry the bytes it writes, as the compiler's do.
int Child(int argc, char** argv) {
  host::UseBinaryStreams();
  std::string what = argv[1];
  if (what == "echo") return Echo(argc, argv);
  if (what == "read") {
    size_t n = 0;
    while (std::getchar() != EOF) ++n;
    std::printf("%zu bytes\n", n);
    return 0;
  }
  if (what == "flood") {
    std::fwrite(Flood().data(), 1, Flood().size(), stdout);
    return 0;
  }
  return 100;
}

std::vector<std::string> Self(std::initializer_list<std::string> args) {
  std::vector<std::string> command = {host::ProgramPath(), "--child"};
  command.insert(command.end(), args);
  return command;
}

std::string Expected(const std::vector<std::string>& args) {
  std::string text;
  for (const std::string& a : args) text += "[" + a + "]\n";
  return text + "done\n";
}

TEST(Host, ProgramPathIsThisProgram) {
  std::string self = host::ProgramPath();
  ASSERT_FALSE(self.empty());
  EXPECT_TRUE(host::IsAbsolute(self)) << self;
  EXPECT_TRUE(Exists(self)) << self;
  EXPECT_NE(FileNameOf(self).find("compiler_host"), std::string::npos) << self;
}

// Each argument arrives as it was given: blanks, quotes, backslashes and
// empty arguments are what the command line of a Windows program spoils.
TEST(Host, ArgumentsArriveWhole) {
  const std::vector<std::string> cases[] = {
      {"plain"},
      {"two words", "", "tab\there"},
      {"say \"hi\"", "\"", "\"\""},
      {"C:\\dir\\", "a\\\\b", "back\\\"quote", "\\\\\"", "end\\"},
      {"with 'single' quotes", "%PATH%", "$HOME", "a*b?", "<in>|&^"},
  };
  for (const std::vector<std::string>& args : cases) {
    std::vector<std::string> command = Self({"echo", "0"});
    command.insert(command.end(), args.begin(), args.end());
    host::Process p = host::RunProcess(command);
    ASSERT_TRUE(p.started);
    EXPECT_EQ(p.exitCode, 0);
    EXPECT_EQ(p.output, Expected(args));
  }
}

TEST(Host, ExitCodesPassThrough) {
  for (int code : {0, 1, 3, 42, 255}) {
    host::Process p = host::RunProcess(Self({"echo", std::to_string(code)}));
    ASSERT_TRUE(p.started);
    EXPECT_EQ(p.exitCode, code);
  }
}

TEST(Host, StandardInputIsEmpty) {
  host::Process p = host::RunProcess(Self({"read"}));
  ASSERT_TRUE(p.started);
  EXPECT_EQ(p.output, "0 bytes\n");
}

// More than any pipe holds: read while the child writes, or both would wait.
TEST(Host, OutputOfAnyLengthIsCollected) {
  host::Process p = host::RunProcess(Self({"flood"}));
  ASSERT_TRUE(p.started);
  EXPECT_EQ(p.exitCode, 0);
  EXPECT_EQ(p.output, Flood());
}

TEST(Host, AProgramThatIsNotThereIsNotStarted) {
  std::string folder = DirectoryOf(host::ProgramPath());
  for (const std::string& name : {JoinPath(folder, "no-such-program"), std::string("tessaric-no-such-program")}) {
    EXPECT_EQ(host::FindProgram(name), "") << name;
    host::Process p = host::RunProcess({name, "x"});
    EXPECT_FALSE(p.started) << name;
  }
  EXPECT_FALSE(host::RunProcess({}).started);
}

// A bare name is looked for on the search path; on Windows ".exe" is added
// to a name without an extension, as starting it does.
TEST(Host, FindsAProgramOnTheSearchPath) {
  std::string self = host::ProgramPath();
  EXPECT_EQ(host::FindProgram(self), self);
  std::string name = FileNameOf(self);
#ifdef _WIN32
  name = name.substr(0, name.size() - 4);
  EXPECT_EQ(host::FindProgram(JoinPath(DirectoryOf(self), name)), JoinPath(DirectoryOf(self), name) + ".exe");
  ASSERT_TRUE(SetEnvironmentVariableA("PATH", DirectoryOf(self).c_str()));
#else
  ASSERT_EQ(setenv("PATH", ("/nowhere:" + DirectoryOf(self)).c_str(), 1), 0);
#endif
  std::string found = host::FindProgram(name);
  EXPECT_EQ(FileNameOf(found), FileNameOf(self));
  host::Process p = host::RunProcess({name, "--child", "echo", "5", "by name"});
  ASSERT_TRUE(p.started);
  EXPECT_EQ(p.exitCode, 5);
  EXPECT_EQ(p.output, Expected({"by name"}));
}

TEST(Host, ScratchFoldersAreNewAndGoWithWhatTheyHold) {
  std::string a, b, message;
  ASSERT_TRUE(host::MakeScratchFolder(a, message)) << message;
  ASSERT_TRUE(host::MakeScratchFolder(b, message)) << message;
  EXPECT_NE(a, b);
  EXPECT_TRUE(host::IsAbsolute(a)) << a;
  // Nested folders and files, one of them read-only.
  ASSERT_TRUE(host::MakeFolder(JoinPath(a, "inner")));
  EXPECT_TRUE(host::MakeFolder(JoinPath(a, "inner"))) << "a folder that is there counts as made";
  ASSERT_TRUE(host::MakeFolder(JoinPath(a, "inner/deeper")));
  Write(JoinPath(a, "one.txt"), "1");
  Write(JoinPath(a, "inner/two.txt"), "2");
  Write(JoinPath(a, "inner/deeper/three.txt"), "3");
  std::string readOnly = JoinPath(a, "inner/kept.txt");
  Write(readOnly, "4");
#ifdef _WIN32
  SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
#endif
  ASSERT_TRUE(Exists(JoinPath(a, "inner/deeper/three.txt")));
  EXPECT_TRUE(host::RemoveTree(a));
  EXPECT_FALSE(Exists(JoinPath(a, "one.txt")));
  EXPECT_FALSE(host::MakeFolder(JoinPath(a, "inner/again"))) << "the folder is still there";
  EXPECT_TRUE(host::RemoveTree(b));
}

struct PathCase {
  const char* path;
  bool absolute;
  const char* directory;
  const char* file;
  const char* exe;  // WithExtension(path, ".exe")
};

const PathCase kPaths[] = {
    {"prog.bas", false, ".", "prog.bas", "prog.exe"},
    {"dir/prog.bas", false, "dir", "prog.bas", "dir/prog.exe"},
    {"/usr/x/prog", true, "/usr/x", "prog", "/usr/x/prog.exe"},
    {"/prog.bas", true, "/", "prog.bas", "/prog.exe"},
    {"a.b/prog", false, "a.b", "prog", "a.b/prog.exe"},
    {"dir/.hidden", false, "dir", ".hidden", "dir/.hidden.exe"},
    {"two.dots.bas", false, ".", "two.dots.bas", "two.dots.exe"},
#ifdef _WIN32
    {"C:\\work\\prog.bas", true, "C:\\work", "prog.bas", "C:\\work\\prog.exe"},
    {"C:\\prog.bas", true, "C:\\", "prog.bas", "C:\\prog.exe"},
    {"a.b\\prog", false, "a.b", "prog", "a.b\\prog.exe"},
    {"\\\\server\\share\\p.bas", true, "\\\\server\\share", "p.bas", "\\\\server\\share\\p.exe"},
    {"C:relative.bas", false, ".", "C:relative.bas", "C:relative.exe"},
#else
    {"a\\b.bas", false, ".", "a\\b.bas", "a\\b.exe"},
#endif
};

TEST(Paths, TakenApartAsTheSystemSpellsThem) {
  for (const PathCase& c : kPaths) {
    EXPECT_EQ(host::IsAbsolute(c.path), c.absolute) << c.path;
    EXPECT_EQ(DirectoryOf(c.path), c.directory) << c.path;
    EXPECT_EQ(FileNameOf(c.path), c.file) << c.path;
    EXPECT_EQ(WithExtension(c.path, ".exe"), c.exe) << c.path;
  }
}

TEST(Paths, Joined) {
  EXPECT_EQ(JoinPath("lib/", "kit.txt"), "lib/kit.txt");
  EXPECT_EQ(JoinPath("", "kit.txt"), "kit.txt");
  EXPECT_EQ(JoinPath("lib", "/abs/kit.txt"), "/abs/kit.txt");
#ifdef _WIN32
  EXPECT_EQ(JoinPath("lib", "kit.txt"), "lib\\kit.txt");
  EXPECT_EQ(JoinPath("C:\\lib\\", "kit.txt"), "C:\\lib\\kit.txt");
  EXPECT_EQ(JoinPath("lib", "D:\\kit.txt"), "D:\\kit.txt");
#else
  EXPECT_EQ(JoinPath("lib", "kit.txt"), "lib/kit.txt");
#endif
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 2 && std::strcmp(argv[1], "--child") == 0) return Child(argc - 1, argv + 1);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
