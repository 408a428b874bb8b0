// The compiler's linker (compiler/link/) on objects made by hand, each case
// as small as its point: the relocations, archive members pulled only when
// needed, one section of a COMDAT group, the sections nothing uses left out,
// imports of the routines in use only, a library's exports and base
// relocations, common symbols, the zero tail of the data, and an image that
// Wine runs.
#include <gtest/gtest.h>

#include <algorithm>

#include "link/coff.h"
#include "link_support.h"
#include "support.h"

namespace {

using namespace linktest;
using namespace tbc::link;

constexpr uint32_t kText = 0x1000, kData = 0x2000;  // where the first two sections go

const char kTable[] =
    "library kernel32 KERNEL32.dll\n"
    "Beep@8 20\n"
    "ExitProcess@4 355\n"
    "library user32 USER32.dll\n"
    "MessageBeep@4 7\n";

const SystemTable& Table() {
  static const SystemTable table = SystemTable::Parse(kTable, "table");
  return table;
}

LinkJob Job(std::vector<InputFile> objects) {
  LinkJob job;
  job.entry = "_start";
  job.objects = std::move(objects);
  job.system = &Table();
  return job;
}

ImageView Linked(const LinkJob& job, LinkReport* report = nullptr) {
  Bytes image;
  std::string error;
  EXPECT_TRUE(Link(job, image, error, report)) << error;
  return ImageView(image);
}

std::string Refusal(const LinkJob& job) {
  Bytes image;
  std::string error;
  EXPECT_FALSE(Link(job, image, error));
  return error;
}

// The bytes of a section of the image.
Bytes SectionBytes(const ImageView& image, const std::string& name) {
  const ImageView::Section* s = image.Find(name);
  return s == nullptr ? Bytes{} : image.Read(s->rva, s->size);
}

bool Holds(const Bytes& bytes, const std::string& text) {
  return std::search(bytes.begin(), bytes.end(), text.begin(), text.end()) != bytes.end();
}

const Bytes kReturn = {0xC3, 0x90, 0x90, 0x90};

// Each kind of relocation, from a field at 0x1004 to a symbol at 0x2004
// (4 bytes into the data), with the addend the field holds.
struct RelocationCase {
  const char* name;
  uint16_t type;
  bool sectionSymbol;  // through the data section's own symbol, 4 added
  uint32_t addend;
  uint32_t expected;
};

const RelocationCase kRelocations[] = {
    {"dir32", kRelDir32, false, 0x10, 0x400000 + 0x2004 + 0x10},
    {"dir32_section_symbol", kRelDir32, true, 4, 0x400000 + 0x2004},
    {"rel32", kRelRel32, false, 0, 0x2004 - (0x1004 + 4)},
    {"rel32_addend", kRelRel32, false, 0xFFFFFFFC, 0x2004 - (0x1004 + 4) - 4},
    {"dir32nb", kRelDir32NB, false, 8, 0x2004 + 8},
};

class Relocations : public testing::TestWithParam<RelocationCase> {};

TEST_P(Relocations, PutTheTargetsAddressInTheField) {
  const RelocationCase& c = GetParam();
  ObjectMaker o;
  Bytes code = kReturn;
  Writer field;
  field.u32(c.addend);
  code.insert(code.end(), field.bytes.begin(), field.bytes.end());
  int text = o.AddSection(".text", kCode, code);
  int data = o.AddSection(".data", kData, {1, 2, 3, 4, 5, 6, 7, 8});
  o.Define("_start", text, 0);
  int target = c.sectionSymbol ? o.Define(".data", data, 0, false) : o.Define("_target", data, 4);
  o.Relocate(text, 4, target, c.type);
  ImageView image = Linked(Job({o.Make("main.o")}));
  EXPECT_EQ(image.Read32(kText + 4), c.expected);
  EXPECT_EQ(image.entry, kText);
  EXPECT_EQ(image.Read32(kData), 0x04030201u) << "the data moved";
}

INSTANTIATE_TEST_SUITE_P(Table, Relocations, testing::ValuesIn(kRelocations),
                         [](const testing::TestParamInfo<RelocationCase>& info) { return std::string(info.param.name); });

TEST(Link, RefusesARelocationItDoesNotKnow) {
  ObjectMaker o;
  int text = o.AddSection(".text", kCode, {0xC3, 0, 0, 0, 0});
  o.Define("_start", text, 0);
  o.Relocate(text, 1, o.Define(".text", text, 0, false), 0x0B);  // SECREL
  std::string error = Refusal(Job({o.Make("main.o")}));
  EXPECT_NE(error.find("main.o: the relocation of type 0xb at 0x1 in .text is not handled"), std::string::npos)
      << error;
}

TEST(Link, RefusesAnUndefinedSymbolInUse) {
  ObjectMaker o;
  int text = o.AddSection(".text", kCode, {0xE8, 0, 0, 0, 0, 0xC3});
  o.Define("_start", text, 0);
  o.Relocate(text, 1, o.Undefined("_nowhere"), kRelRel32);
  std::string error = Refusal(Job({o.Make("main.o")}));
  EXPECT_NE(error.find("undefined symbol _nowhere, used by main.o in .text"), std::string::npos) << error;
}

TEST(Link, RefusesASectionTheLayoutHasNoPlaceFor) {
  ObjectMaker o;
  int text = o.AddSection(".text", kCode, {0xA1, 0, 0, 0, 0, 0xC3});
  int tls = o.AddSection(".tls", kData, {1, 2, 3, 4});
  o.Define("_start", text, 0);
  o.Relocate(text, 1, o.Define("_t", tls, 0), kRelDir32);
  std::string error = Refusal(Job({o.Make("main.o")}));
  EXPECT_NE(error.find("main.o: the image has no place for the section .tls"), std::string::npos) << error;
}

// A member comes in only when it defines a symbol still undefined, also
// one that another member uses; the long name comes from the name table.
TEST(Link, PullsOnlyTheMembersThatDefineWhatIsUsed) {
  ObjectMaker main, a, b, c;
  int text = main.AddSection(".text", kCode, {0xE8, 0, 0, 0, 0, 0xC3});
  main.Define("_start", text, 0);
  main.Relocate(text, 1, main.Undefined("_a"), kRelRel32);
  int at = a.AddSection(".text", kCode, {0xE8, 0, 0, 0, 0, 0xC3});
  a.Define("_a", at, 0);
  a.Relocate(at, 1, a.Undefined("_b"), kRelRel32);
  b.Define("_b", b.AddSection(".text", kCode, kReturn), 0);
  c.Define("_c", c.AddSection(".text", kCode, kReturn), 0);
  ArchiveMaker library;
  library.Add("c.o", c.Make("c.o"), {"_c"});
  library.Add("member_with_a_long_name.o", a.Make("a.o"), {"_a"});
  library.Add("b.o", b.Make("b.o"), {"_b"});
  LinkJob job = Job({main.Make("main.o")});
  job.archives.push_back(library.Make("lib.a"));
  LinkReport report;
  ImageView image = Linked(job, &report);
  EXPECT_EQ(report.members, (std::vector<std::string>{"lib.a(member_with_a_long_name.o)", "lib.a(b.o)"}));
  EXPECT_EQ(image.Find(".text")->size, 8u + 8u + 4u) << "main, a and b, each at a multiple of 4";
}

// Two objects give the same COMDAT function with a section that goes with
// it: the first object's pair is kept, the second's left out.
TEST(Link, KeepsTheFirstSectionOfACOMDATGroup) {
  auto maker = [](const std::string& code, const std::string& constant, bool start) {
    ObjectMaker o;
    int f = o.AddSection(".text$f", kCode, Bytes(code.begin(), code.end()));
    o.MakeComdat(f, kComdatAny);
    o.Define("_f", f, 0);
    int k = o.AddSection(".rdata$k", kReadOnly, Bytes(constant.begin(), constant.end()));
    o.MakeComdat(k, kComdatAssociative, f);
    if (start) {
      int text = o.AddSection(".text", kCode, {0xE8, 0, 0, 0, 0, 0xC3});
      o.Define("_start", text, 0);
      o.Relocate(text, 1, o.Undefined("_f"), kRelRel32);
    }
    return o.Make(code + ".o");
  };
  ImageView image = Linked(Job({maker("FIRST", "one", true), maker("SECOND", "two", false)}));
  Bytes text = SectionBytes(image, ".text");
  EXPECT_TRUE(Holds(text, "FIRST"));
  EXPECT_TRUE(Holds(text, "one")) << "the section that goes with the kept one is left out";
  EXPECT_FALSE(Holds(text, "SECOND"));
  EXPECT_FALSE(Holds(text, "two"));
}

TEST(Link, LeavesOutTheSectionsNothingUses) {
  ObjectMaker o;
  int a = o.AddSection(".text$a", kCode, {0xE8, 0, 0, 0, 0, 0xC3});
  int b = o.AddSection(".text$b", kCode, {'B', 'B', 'B', 0xC3});
  int c = o.AddSection(".text$c", kCode, {0xE8, 0, 0, 0, 0, 0xC3});
  int d = o.AddSection(".text$d", kCode, {'D', 'D', 'D', 0xC3});
  int unused = o.AddSection(".data", kData, {'U', 'U', 'U', 'U'});
  o.Define("_start", a, 0);
  o.Relocate(a, 1, o.Define("_b", b, 0), kRelRel32);
  o.Relocate(c, 1, o.Define("_d", d, 0), kRelRel32);
  o.Define("_unused", unused, 0);
  ImageView image = Linked(Job({o.Make("main.o")}));
  Bytes text = SectionBytes(image, ".text");
  EXPECT_TRUE(Holds(text, "BBB"));
  EXPECT_FALSE(Holds(text, "DDD")) << "only the unused section calls it";
  EXPECT_EQ(image.Find(".data"), nullptr) << "no data is used";
}

// A routine that only an unused section calls gets no entry.
TEST(Link, ImportsOnlyTheRoutinesInUse) {
  ObjectMaker o;
  Bytes call = {0xFF, 0x15, 0, 0, 0, 0, 0xFF, 0x15, 0, 0, 0, 0, 0xC3};
  int used = o.AddSection(".text$used", kCode, call);
  int unused = o.AddSection(".text$unused", kCode, {0xFF, 0x15, 0, 0, 0, 0, 0xC3});
  o.Define("_start", used, 0);
  o.Relocate(used, 2, o.Undefined("__imp__MessageBeep@4"), kRelDir32);
  o.Relocate(used, 8, o.Undefined("__imp__ExitProcess@4"), kRelDir32);
  o.Relocate(unused, 2, o.Undefined("__imp__Beep@8"), kRelDir32);
  LinkReport report;
  ImageView image = Linked(Job({o.Make("main.o")}), &report);
  EXPECT_EQ(image.Imports(), (std::vector<std::string>{"KERNEL32.dll!ExitProcess", "USER32.dll!MessageBeep"}));
  // The call goes through the slot whose name is the routine's.
  uint32_t slot = image.Read32(kText + 8) - image.base;
  EXPECT_EQ(image.ReadString(image.Read32(slot) + 2), "ExitProcess");
  EXPECT_EQ(image.Read(image.Read32(slot), 2), (Bytes{355 & 0xFF, 355 >> 8})) << "the hint";
  EXPECT_EQ(image.directory[12][0], slot) << "the address table starts with KERNEL32's slots";
}

TEST(Link, ImportsTheDeclaredRoutinesOfOtherLibraries) {
  ObjectMaker o;
  int text = o.AddSection(".text", kCode, {0xFF, 0x15, 0, 0, 0, 0, 0xFF, 0x15, 0, 0, 0, 0, 0xC3});
  o.Define("_start", text, 0);
  o.Relocate(text, 2, o.Undefined("__imp__HelloFromDll@0"), kRelDir32);
  o.Relocate(text, 8, o.Undefined("__imp__ExitProcess@4"), kRelDir32);
  LinkJob job = Job({o.Make("main.o")});
  job.imports.push_back({"demolib.dll", "HelloFromDll@0"});
  EXPECT_EQ(Linked(job).Imports(), (std::vector<std::string>{"demolib.dll!HelloFromDll", "KERNEL32.dll!ExitProcess"}));
}

TEST(Link, WritesALibrarysExportsAndBaseRelocations) {
  ObjectMaker o;
  Bytes code = {0xC2, 0x0C, 0x00, 0x90, 'Z', 0xC3, 0x90, 0x90, 'A', 0xC2, 0x04, 0x00,
                0xA1, 0,    0,    0,    0,   0xE8, 0,    0,    0,   0,    0xC3};  // mov eax, [data]; call _Zeta@0
  int text = o.AddSection(".text", kCode, code);
  int data = o.AddSection(".data", kData, {1, 2, 3, 4});
  o.Define("_entry@12", text, 0);
  int zeta = o.Define("_Zeta@0", text, 4);
  o.Define("_Alpha@4", text, 8);
  o.Relocate(text, 13, o.Define("_value", data, 0), kRelDir32);
  o.Relocate(text, 18, zeta, kRelRel32);
  LinkJob job = Job({o.Make("library.o")});
  job.kind = ImageKind::Library;
  job.entry = "_entry@12";
  job.libraryName = "mine.dll";
  job.exports = {{"Zeta", "_Zeta@0", 2}, {"Alpha", "_Alpha@4", 1}};
  ImageView image = Linked(job);
  EXPECT_EQ(image.base, 0x10000000u);
  EXPECT_NE(image.characteristics & 0x2000, 0u) << "a DLL";
  EXPECT_EQ(image.ReadString(image.Read32(image.directory[0][0] + 12)), "mine.dll");
  std::vector<ImageView::Export> exports = image.Exports();
  ASSERT_EQ(exports.size(), 2u);
  EXPECT_EQ(exports[0].name, "Alpha");
  EXPECT_EQ(exports[0].ordinal, 1u);
  EXPECT_EQ(image.Read(exports[0].rva, 1)[0], 'A');
  EXPECT_EQ(exports[1].name, "Zeta");
  EXPECT_EQ(exports[1].ordinal, 2u);
  EXPECT_EQ(image.Read(exports[1].rva, 1)[0], 'Z');
  // The export data opens the code; the entry point follows it.
  EXPECT_EQ(image.directory[0][0], kText);
  EXPECT_EQ(exports[1].rva, image.entry + 4);
  // Only the 32-bit address needs moving with the library, not the relative call.
  EXPECT_EQ(image.BaseRelocations(), (std::vector<uint32_t>{image.entry + 13}));
  EXPECT_EQ(image.Read32(image.entry + 13), 0x10000000u + image.Find(".data")->rva);
  EXPECT_NE(image.Find(".reloc"), nullptr);
}

TEST(Link, PutsCommonSymbolsInAZeroFilledSectionOfTheirOwn) {
  ObjectMaker o;
  int text = o.AddSection(".text", kCode, {0xA1, 0, 0, 0, 0, 0xC3});
  o.Define("_start", text, 0);
  o.AddSection(".data", kData, {1, 2, 3, 4});  // a small data section: 4 bytes
  o.Relocate(text, 1, o.Common("_big", 0x30000), kRelDir32);
  o.Common("_unused", 0x1000);
  o.Directives(" -aligncomm:\"_big\",4");
  ImageView image = Linked(Job({o.Make("main.o")}));
  const ImageView::Section* bss = image.Find(".bss");
  ASSERT_NE(bss, nullptr);
  EXPECT_EQ(bss->size, 0x30000u) << "the unused common symbol takes no room";
  EXPECT_EQ(bss->rawSize, 0u);
  EXPECT_EQ(bss->characteristics, 0xC0000080u);
  EXPECT_EQ(image.Read32(kText + 1), image.base + bss->rva);
  EXPECT_EQ(image.Find(".data"), nullptr) << "the data nothing uses is left out";
}

TEST(Link, LeavesTheZeroTailOfTheDataOutOfTheFile) {
  ObjectMaker o;
  int text = o.AddSection(".text", kCode, {0xA1, 0, 0, 0, 0, 0xC3});
  Bytes data(8192, 0);
  data[700] = 1;
  int d = o.AddSection(".data", kData, data);
  o.Define("_start", text, 0);
  o.Relocate(text, 1, o.Define("_d", d, 0), kRelDir32);
  ImageView image = Linked(Job({o.Make("main.o")}));
  const ImageView::Section* section = image.Find(".data");
  ASSERT_NE(section, nullptr);
  EXPECT_EQ(section->size, 8192u);
  EXPECT_EQ(section->rawSize, 1024u) << "up to the last byte that is not zero, in 512-byte steps";
  EXPECT_EQ(image.file.size(), section->rawOffset + 1024u);
  EXPECT_EQ(image.Find(".bss"), nullptr);
  EXPECT_EQ(image.checksum, image.ComputedChecksum());
}

// The smallest program: ExitProcess(42) through the import table.
TEST(Link, MakesAProgramThatWineRuns) {
  ObjectMaker o;
  int text = o.AddSection(".text", kCode, {0x6A, 42, 0xFF, 0x15, 0, 0, 0, 0});
  o.Define("_start", text, 0);
  o.Relocate(text, 4, o.Undefined("__imp__ExitProcess@4"), kRelDir32);
  ImageView image = Linked(Job({o.Make("main.o")}));
  EXPECT_EQ(image.subsystem, 3u);
  std::string dir = compilertest::ScratchDir("link/wine");
  compilertest::WriteFile(dir + "/exit42.exe", std::string(image.file.begin(), image.file.end()));
  compilertest::RunResult run = compilertest::RunProgram(dir + "/exit42.exe", "");
  EXPECT_EQ(run.exitCode, 42) << run.output << run.errors;
}

}  // namespace
