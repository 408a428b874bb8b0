// The compiler's linker beside the tools it replaced: programs linked by it
// and by ld (TESSARIC_LINKER=ld) behave alike, the resources of every script
// of the repository are windres's byte for byte, scripts of other forms are
// refused at their line, the kit's table lists the system libraries'
// routines, and the images the compiler writes keep their run bit and take no
// room for large arrays.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <set>
#include <sstream>

#include "link/coff.h"
#include "link/linker.h"
#include "support.h"

namespace {

using namespace compilertest;
using namespace tbc::link;

// A program: its files (paths in the repository, or name and text), its
// standard input, and the library it calls, built first into twice.dll.
struct Program {
  const char* name;
  std::vector<std::pair<const char*, const char*>> files;  // {path, text}: text null for a repository file
  const char* input;
  const char* library = nullptr;
};

const char kLibrary[] =
    "OPTION LIBRARY\n"
    "FUNCTION Twice(n AS INTEGER) AS INTEGER EXPORT 5\n"
    "  Twice = 2 * n\n"
    "END FUNCTION\n"
    "FUNCTION Length(s AS STRING) AS INTEGER EXPORT\n"
    "  Length = LEN(s)\n"
    "END FUNCTION\n";

// The console programs of the samples and examples, and programs for what
// they leave out: common symbols, a declared system routine, a library.
const Program kPrograms[] = {
    {"floatcatch", {{"samples/floatcatch/floatcatch.bas", nullptr}}, ""},
    {"subcheck", {{"samples/subcheck/subcheck.bas", nullptr}}, ""},
    {"modjoin", {{"samples/modjoin/modjoin.bas", nullptr}, {"samples/modjoin/extmod.bas", nullptr}}, ""},
    {"hivepeek", {{"samples/hivepeek/hivepeek.bas", nullptr}}, ""},
    {"hello", {{"examples/hello/hello.bas", nullptr}}, ""},
    {"large_arrays",
     {{"large.bas", "DIM a(100000) AS DOUBLE, s(20000) AS STRING, n AS INTEGER\na(100000) = 2.5: s(20000) = \"end\"\n"
                    "INPUT n\nPRINT a(100000) * n; s(20000); LEN(s(0))\n"}},
     "4\n"},
    {"system_routine",
     {{"length.bas", "DECLARE FUNCTION lstrlenA LIB \"Kernel32.DLL\" (s AS STRING) AS INTEGER\n"
                     "PRINT lstrlenA(\"four\")\n"}},
     ""},
    {"library",
     {{"caller.bas", "DECLARE FUNCTION Twice LIB \"twice.dll\" (n AS INTEGER) AS INTEGER\n"
                     "DECLARE FUNCTION Length LIB \"twice.dll\" (s AS STRING) AS INTEGER\n"
                     "PRINT Twice(21); Length(\"seven\")\n"}},
     "",
     kLibrary},
};

// Builds the program into dir, through ld or not; the program to run.
std::string Build(const Program& p, const std::string& dir, bool ld, std::string& problems) {
  std::vector<std::string> files;
  for (const auto& [path, text] : p.files) {
    std::string name = path;
    name = name.substr(name.find_last_of('/') + 1);
    WriteFile(dir + "/" + name, text != nullptr ? text : ReadFile(SourceRoot() + "/" + path));
    files.push_back(dir + "/" + name);
  }
  std::vector<std::string> env = {"env", ld ? "TESSARIC_LINKER=ld" : "-uTESSARIC_LINKER"};
  if (p.library != nullptr) {
    WriteFile(dir + "/twice.bas", p.library);
    std::vector<std::string> command = env;
    command.insert(command.end(), {CompilerPath(), dir + "/twice.bas", "-o", dir + "/twice.dll"});
    RunResult r = RunCommand(command, "", 120, true);
    if (r.exitCode != 0) problems += r.errors;
  }
  std::string program = dir + "/" + p.name + ".exe";
  std::vector<std::string> command = env;
  command.push_back(CompilerPath());
  command.insert(command.end(), files.begin(), files.end());
  command.insert(command.end(), {"-o", program});
  RunResult r = RunCommand(command, "", 120, true);
  if (r.exitCode != 0) problems += r.errors;
  return program;
}

class LinkedBothWays : public testing::TestWithParam<Program> {};

TEST_P(LinkedBothWays, BehavesAlike) {
  const Program& p = GetParam();
  std::string dir = ScratchDir(std::string("link/both/") + p.name);
  RunCommand({"mkdir", "-p", dir + "/own", dir + "/ld"}, "", 60);
  std::string problems;
  std::string own = Build(p, dir + "/own", false, problems);
  std::string ld = Build(p, dir + "/ld", true, problems);
  ASSERT_EQ(problems, "");
  RunResult a = RunProgram(own, p.input), b = RunProgram(ld, p.input);
  EXPECT_EQ(a.exitCode, 0) << a.errors;
  EXPECT_NE(a.output.find("Press a key"), std::string::npos) << a.output;
  EXPECT_EQ(a.output, b.output);
  EXPECT_EQ(a.exitCode, b.exitCode);
  EXPECT_LE(ReadFile(own).size(), ReadFile(ld).size()) << "the image grew";
}

INSTANTIATE_TEST_SUITE_P(Programs, LinkedBothWays, testing::ValuesIn(kPrograms),
                         [](const testing::TestParamInfo<Program>& info) { return std::string(info.param.name); });

// The .rsrc section windres makes of a script, placed at rva.
Bytes WindresResources(const std::string& script, const std::string& dir, uint32_t rva) {
  std::string object = script + ".o";
  RunResult r = RunCommand({KitValue("windres"), "-I", dir, script, "-O", "coff", "-o", object}, "", 60, true);
  EXPECT_EQ(r.exitCode, 0) << r.errors;
  std::string bytes = ReadFile(object);
  Object o = ReadObject(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), object);
  for (size_t k = 0; k < o.sections.size(); ++k) {
    const Section& s = o.sections[k];
    if (s.name != ".rsrc") continue;
    Bytes section(s.data, s.data + s.size);
    for (const Relocation& rel : s.relocations) {
      EXPECT_EQ(rel.type, kRelDir32NB);
      EXPECT_EQ(o.symbols[rel.symbol].section, static_cast<int>(k));
      Put32(&section[rel.offset], Get32(&section[rel.offset]) + rva + o.symbols[rel.symbol].value);
    }
    return section;
  }
  ADD_FAILURE() << "windres made no .rsrc of " << script;
  return {};
}

// Every resource script of the repository, with the images it names, made
// from their text art in the repository.
struct Script {
  const char* path;
  std::vector<std::pair<const char*, const char*>> images;  // the file the script names, its art
};

const Script kScripts[] = {
    {"samples/tintbox/tintbox.rc", {{"w_cur.cur", "samples/tintbox/w_cur.txt"}}},
    {"tests/unit/gui/probe.rc",
     {{"probe.ico", "tests/unit/gui/probe_pointer.txt"},
      {"probe.cur", "tests/unit/gui/probe_pointer.txt"},
      {"probe.bmp", "tests/unit/gui/probe_bitmap.txt"}}},
};

// Scripts made for the test: names and numbers of each kind out of order,
// quoted and bare, comments, several images of one file.
const char* const kMadeScripts[] = {
    "B CURSOR probe.cur\n7 CURSOR \"probe.cur\"\nab CURSOR probe.cur // lower case\n_X ICON probe.ico\n"
    "/* a comment\n over lines */ 3 BITMAP probe.bmp\n\"q\" ICON \"probe.ico\"\n0x10 ICON probe.ico\n",
    "1 ICON \"twice.ico\"\n2 CURSOR \"twice.cur\"\n",
};

void MakeImages(const Script& script, const std::string& dir) {
  for (const auto& [file, art] : script.images) {
    RunResult r = RunCommand({SourceRoot() + "/cmake/make_image.sh", SourceRoot() + "/" + art, dir + "/" + file}, "", 60);
    ASSERT_EQ(r.exitCode, 0) << r.output;
  }
}

// An icon or cursor file holding its one image twice.
void DoubleImage(const std::string& from, const std::string& to) {
  std::string f = ReadFile(from);
  uint32_t size = Get32(reinterpret_cast<const uint8_t*>(&f[14]));
  std::string image = f.substr(22, size);
  std::string entry = f.substr(6, 16);
  std::string out = f.substr(0, 4) + std::string("\2\0", 2) + entry + entry + image;
  uint32_t second = 6 + 32 + size;
  Put32(reinterpret_cast<uint8_t*>(&out[22 + 12]), second);
  Put32(reinterpret_cast<uint8_t*>(&out[6 + 12]), 6 + 32);
  WriteFile(to, out + image);
}

void ExpectSameResources(const std::string& script, const std::string& dir) {
  const uint32_t rva = 0x5000;
  ResourceCompiler compiler;
  std::string error;
  ASSERT_TRUE(compiler.AddScript(script, {dir}, error)) << error;
  Bytes mine = ResourceSection(compiler.resources, rva);
  Bytes theirs = WindresResources(script, dir, rva);
  EXPECT_EQ(mine.size(), theirs.size());
  EXPECT_TRUE(mine == theirs) << script << ": the resources differ from windres's";
}

TEST(Resources, AreWindressByteForByteForEveryScriptOfTheRepository) {
  for (const Script& script : kScripts) {
    SCOPED_TRACE(script.path);
    std::string name = script.path;
    name = name.substr(name.find_last_of('/') + 1);
    std::string dir = ScratchDir("link/resources/" + name);
    MakeImages(script, dir);
    WriteFile(dir + "/" + name, ReadFile(SourceRoot() + "/" + script.path));
    ExpectSameResources(dir + "/" + name, dir);
  }
}

TEST(Resources, AreWindressByteForByteForScriptsOfEveryForm) {
  std::string dir = ScratchDir("link/resources/made");
  MakeImages(kScripts[1], dir);
  DoubleImage(dir + "/probe.ico", dir + "/twice.ico");
  DoubleImage(dir + "/probe.cur", dir + "/twice.cur");
  for (size_t i = 0; i < std::size(kMadeScripts); ++i) {
    SCOPED_TRACE(kMadeScripts[i]);
    std::string script = dir + "/made" + std::to_string(i) + ".rc";
    WriteFile(script, kMadeScripts[i]);
    ExpectSameResources(script, dir);
  }
}

TEST(Resources, TheTableHoldsEveryScriptOfTheRepository) {
  RunResult listed = RunCommand({"git", "-C", SourceRoot(), "ls-files", "*.rc"}, "", 60);
  ASSERT_EQ(listed.exitCode, 0) << listed.output;
  std::set<std::string> repository, table;
  std::istringstream lines(listed.output);
  for (std::string line; std::getline(lines, line);)
    if (!line.empty()) repository.insert(line);
  for (const Script& s : kScripts) table.insert(s.path);
  EXPECT_EQ(repository, table) << "compare every resource script with windres: add it to kScripts";
}

struct Refusal {
  const char* name;
  const char* script;
  const char* error;
};

const Refusal kRefusals[] = {
    {"string_table", "1 ICON probe.ico\nSTRINGTABLE\nBEGIN\n  1, \"one\"\nEND\n",
     "x.rc:2: a resource script here holds only lines of the forms ID ICON \"file\", ID CURSOR \"file\" and ID "
     "BITMAP \"file\""},
    {"lower_case_kind", "1 icon \"probe.ico\"\n", "x.rc:1: a resource script here holds only"},
    {"preprocessor", "#include \"other.rc\"\n", "x.rc:1: a resource script here holds only"},
    {"options", "1 ICON DISCARDABLE \"probe.ico\"\n", "x.rc:1: a resource script here holds only"},
    {"missing_file", "\n1 ICON \"none.ico\"\n", "x.rc:2: cannot find none.ico"},
    {"icon_as_cursor", "1 CURSOR probe.ico\n", "x.rc:1: probe.ico is no cursor file"},
    {"not_a_bitmap", "1 BITMAP probe.ico\n", "x.rc:1: probe.ico is no bitmap file"},
    {"twice", "A ICON probe.ico\na ICON probe.ico\n", "x.rc:2: probe.ico is the second resource of its kind named A"},
    {"open_comment", "1 ICON probe.ico /* no end\n", "x.rc:1: a string or comment does not end"},
    {"number_too_large", "65536 ICON probe.ico\n", "x.rc:1: a resource script here holds only"},
};

class RefusedScript : public testing::TestWithParam<Refusal> {};

TEST_P(RefusedScript, IsRefusedAtItsLine) {
  std::string dir = ScratchDir(std::string("link/refused/") + GetParam().name);
  MakeImages(kScripts[1], dir);
  ResourceCompiler compiler;
  std::string error;
  EXPECT_FALSE(compiler.AddText(GetParam().script, "x.rc", {dir}, error));
  EXPECT_EQ(error.compare(0, std::string(GetParam().error).size(), GetParam().error), 0) << error;
}

INSTANTIATE_TEST_SUITE_P(Table, RefusedScript, testing::ValuesIn(kRefusals),
                         [](const testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

TEST(SystemTable, TheKitsListsTheSystemLibrariesRoutines) {
  std::string path = KitValue("system");
  ASSERT_FALSE(path.empty()) << KitPath() << " names no system table";
  SystemTable table = SystemTable::Parse(ReadFile(path), path);
  const SystemRoutine* box = table.Find("MessageBoxA@16");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->file, "USER32.dll");
  EXPECT_EQ(box->name, "MessageBoxA");
  for (const char* library : {"kernel32", "user32", "gdi32", "comctl32", "advapi32"})
    EXPECT_TRUE(table.HasLibrary(library)) << library;
  EXPECT_TRUE(table.Provides("kernel32", "ExitProcess@4"));
  EXPECT_TRUE(table.Provides("advapi32", "RegOpenKeyExA@20"));
  EXPECT_FALSE(table.Provides("user32", "ExitProcess@4")) << "each library has its own routines";
  EXPECT_FALSE(table.Provides("user32", "MessageBoxA@12")) << "the argument bytes are part of the name";
  EXPECT_TRUE(table.Provides("user32", "wsprintfA")) << "a routine of the C convention, without argument bytes";
}

mode_t Mode(const std::string& path) {
  struct stat s;
  return stat(path.c_str(), &s) == 0 ? s.st_mode & 07777 : 0;
}

TEST(CompiledImage, KeepsTheRunBit) {
  std::string dir = ScratchDir("link/run_bit");
  WriteFile(dir + "/run.bas", "DIM t(1000) AS INTEGER\nt(1000) = 7\nPRINT t(1000)\n");
  RunResult built = Compile(dir, {"run.bas"}, dir + "/run.exe");
  ASSERT_EQ(built.exitCode, 0) << built.output << built.errors;
  EXPECT_NE(Mode(dir + "/run.exe") & 0111, 0u) << "the program lost its run bit";
}

TEST(CompiledImage, ALargeArrayTakesNoRoomInTheImage) {
  std::string dir = ScratchDir("link/large");
  WriteFile(dir + "/large.bas",
            "SUB Local\n  DIM l(4000000) AS INTEGER\n  l(4000000) = l(4000000) + 1\n  PRINT l(4000000); \" \";\nEND SUB\n"
            "DIM a(16777215) AS DOUBLE, s(60000) AS STRING, n AS INTEGER\n"
            "a(16777215) = 2.5: s(60000) = \"end\"\n"
            "Local: Local\n"
            "PRINT a(16777215); \" \"; a(0); \" \"; s(60000); LEN(s(0))\n");
  RunResult built = Compile(dir, {"large.bas"}, dir + "/large.exe");
  ASSERT_EQ(built.exitCode, 0) << built.output << built.errors;
  EXPECT_LT(ReadFile(dir + "/large.exe").size(), 16384u);
  RunResult run = RunProgram(dir + "/large.exe", "");
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_EQ(run.output, CrLf("1 1 2.5 0 end0\nPress a key to continue...\n"));
}

}  // namespace
