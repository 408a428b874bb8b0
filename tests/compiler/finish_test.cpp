// The finishing step of the images ld links (cmake/finish_image.cpp, the
// program that the kit names; the build runs it after linking each
// freestanding module): the same bytes as the script it replaced on the images
// the compiler links through ld (TESSARIC_LINKER=ld), the zero tail of the
// writable data out of the file however long it is, and the file's mode kept.
// Images are caught between the link and the finishing step with a kit whose
// finishing step only copies them.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "support.h"

namespace {

using namespace compilertest;

std::string Finisher() { return KitValue("finish"); }
std::string Reference() { return SourceRoot() + "/tests/compiler/finish_image_before.sh"; }

uint32_t Get32(const std::string& bytes, size_t at) {
  uint32_t v = 0;
  std::memcpy(&v, bytes.data() + at, 4);
  return v;
}
void Put32(std::string& bytes, size_t at, uint32_t v) { std::memcpy(&bytes[at], &v, 4); }

struct Section {
  size_t header;  // where its header is in the file
  uint32_t raw;
  uint32_t start;
  uint32_t flags;
};

std::vector<Section> Sections(const std::string& image) {
  uint32_t pe = Get32(image, 60);
  uint32_t count = Get32(image, pe + 4) >> 16;
  size_t table = pe + 24 + (Get32(image, pe + 20) & 0xFFFF);
  std::vector<Section> sections;
  for (uint32_t i = 0; i < count; ++i) {
    size_t h = table + 40 * i;
    sections.push_back({h, Get32(image, h + 16), Get32(image, h + 20), Get32(image, h + 36)});
  }
  return sections;
}

mode_t Mode(const std::string& path) {
  struct stat s;
  return stat(path.c_str(), &s) == 0 ? s.st_mode & 07777 : 0;
}

class Finish : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = ScratchDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
    ASSERT_FALSE(Finisher().empty()) << KitPath() << " names no finishing step";
    // The same kit, but its finishing step copies the linked image and the
    // link map to where the next Link asks for them.
    std::ifstream in(KitPath());
    std::string kit;
    for (std::string line; std::getline(in, line);)
      kit += (line.compare(0, 7, "finish=") == 0 ? "finish=" + dir + "/capture.sh" : line) + "\n";
    WriteFile(dir + "/kit.txt", kit);
  }

  // Compiles the program (resource scripts as further files) and gives the
  // path of its image as the linker left it; the link map is beside it, .map.
  std::string Link(const std::string& name, const std::string& source,
                   const std::vector<std::pair<std::string, std::string>>& files = {}) {
    std::string raw = dir + "/" + name + ".raw";
    WriteFile(dir + "/capture.sh", "#!/bin/sh\ncp \"$1\" '" + raw + "' && cp \"$2\" '" + raw + ".map'\n");
    chmod((dir + "/capture.sh").c_str(), 0755);
    WriteFile(dir + "/" + name + ".bas", source);
    for (const auto& [file, text] : files) WriteFile(dir + "/" + file, text);
    RunResult r = RunCommand({"env", "TESSARIC_KIT=" + dir + "/kit.txt", "TESSARIC_LINKER=ld", CompilerPath(),
                              dir + "/" + name + ".bas", "-o", dir + "/" + name + ".out"},
                             "", 120, true);
    EXPECT_EQ(r.exitCode, 0) << r.output << r.errors;
    return raw;
  }

  // A copy of the image finished by the program of the kit, or by the script.
  std::string Finished(const std::string& raw, const std::string& copy, bool reference = false) {
    RunCommand({"cp", raw, copy}, "", 60);
    std::vector<std::string> command = {reference ? Reference() : Finisher(), copy};
    if (FileSize(raw + ".map") > 0) command.push_back(raw + ".map");
    RunResult r = RunCommand(command, "", 600, true);
    EXPECT_EQ(r.exitCode, 0) << r.output << r.errors;
    return copy;
  }

  static off_t FileSize(const std::string& path) {
    struct stat s;
    return stat(path.c_str(), &s) == 0 ? s.st_size : -1;
  }

  // The image with zeros.size() more zeros at the end of its writable
  // section's raw data, and every header that counts them saying so. Written
  // sparse: a file of holes, as the linker leaves zeros.
  std::string Grown(const std::string& raw, uint64_t zeros, bool sparse) {
    std::string image = ReadFile(raw);
    std::vector<Section> sections = Sections(image);
    const Section* data = nullptr;
    for (const Section& s : sections)
      if ((s.flags & 0x80000000u) != 0 && s.raw != 0) data = &s;
    EXPECT_NE(data, nullptr);
    if (data == nullptr) return "";
    uint32_t end = data->start + data->raw;
    Put32(image, data->header + 16, static_cast<uint32_t>(data->raw + zeros));
    for (const Section& s : sections)
      if (s.start > data->start) Put32(image, s.header + 20, static_cast<uint32_t>(s.start + zeros));
    uint32_t pe = Get32(image, 60);
    Put32(image, pe + 24 + 8, static_cast<uint32_t>(Get32(image, pe + 24 + 8) + zeros));
    std::string path = raw + (sparse ? ".sparse" : ".dense");
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0755);
    EXPECT_GE(fd, 0);
    EXPECT_EQ(write(fd, image.data(), end), static_cast<ssize_t>(end));
    if (sparse) {
      EXPECT_EQ(ftruncate(fd, static_cast<off_t>(end + zeros)), 0);
    } else {
      std::string block(1 << 20, '\0');
      for (uint64_t done = 0; done < zeros; done += block.size())
        EXPECT_EQ(write(fd, block.data(), block.size()), static_cast<ssize_t>(block.size()));
    }
    EXPECT_EQ(pwrite(fd, image.data() + end, image.size() - end, static_cast<off_t>(end + zeros)),
              static_cast<ssize_t>(image.size() - end));
    close(fd);
    return path;
  }

  std::string dir;
};

const char kResources[] = "STRINGTABLE\nBEGIN\n  1, \"one\"\nEND\n";

TEST_F(Finish, MakesTheBytesTheScriptMadeOfEveryKindOfImage) {
  struct Program {
    const char* name;
    const char* source;
  };
  const Program programs[] = {
      {"console", "DIM s AS STRING, t(10) AS INTEGER\ns = \"Hello\"\nt(3) = 4\nPRINT s; t(3)\n"},
      {"window", "DIM f AS FORM\nDIM b AS BUTTON\nb.Caption = \"OK\"\nf.Show\n"},
      {"library", "OPTION LIBRARY\nDIM kept AS STRING\nFUNCTION Square(n AS INTEGER) AS INTEGER EXPORT\n"
                  "  Square = n * n\nEND FUNCTION\nSUB Keep(s AS STRING) EXPORT\n  kept = s\nEND SUB\n"},
      {"resources", "OPTION RESOURCES \"strings.rc\"\nPRINT 1\n"},
      {"large_array", "DIM a(100000) AS DOUBLE\na(5) = 1\nPRINT a(5)\n"},
  };
  for (const Program& p : programs) {
    SCOPED_TRACE(p.name);
    std::string raw = Link(p.name, p.source, {{"strings.rc", kResources}});
    std::string made = ReadFile(Finished(raw, raw + ".made"));
    std::string reference = ReadFile(Finished(raw, raw + ".reference", true));
    ASSERT_FALSE(made.empty());
    EXPECT_TRUE(made == reference) << "the finished image differs from the script's";
  }
}

TEST_F(Finish, TakesTheZeroTailOutOfTheFileAndKeepsTheMode) {
  // A library: its writable data ends in zeros, and .reloc follows it.
  std::string raw =
      Link("library", "OPTION LIBRARY\nDIM a(2000) AS INTEGER\nFUNCTION F(i AS INTEGER) AS INTEGER EXPORT\n"
                      "  F = a(i)\nEND FUNCTION\nSUB S(i AS INTEGER) EXPORT\n  a(i) = 1\nEND SUB\n");
  RunCommand({"cp", raw, raw + ".copy"}, "", 60);
  chmod((raw + ".copy").c_str(), 0751);
  std::string finished = Finished(raw + ".copy", raw + ".finished");
  EXPECT_EQ(Mode(raw + ".finished"), 0751u);
  std::string before = ReadFile(raw), after = ReadFile(finished);
  std::vector<Section> was = Sections(before), is = Sections(after);
  ASSERT_EQ(was.size(), is.size());
  uint32_t cut = 0;
  for (size_t i = 0; i < was.size(); ++i) {
    if ((was[i].flags & 0x80000000u) == 0) continue;
    ASSERT_LT(is[i].raw, was[i].raw) << "the zeros of section " << i << " stay";
    EXPECT_EQ(is[i].raw % 512, 0u);
    cut = was[i].raw - is[i].raw;
    // Only zeros were cut, and the bytes before them stay.
    EXPECT_EQ(after.substr(is[i].start, is[i].raw), before.substr(was[i].start, is[i].raw));
    EXPECT_EQ(before.substr(was[i].start + is[i].raw, cut), std::string(cut, '\0'));
  }
  EXPECT_EQ(after.size(), before.size() - cut);
  for (size_t i = 0; i < was.size(); ++i)
    if (was[i].start > was[1].start) EXPECT_EQ(is[i].start, was[i].start - cut);
}

TEST_F(Finish, HandlesHundredsOfMegabytesOfZeros) {
  // With a section after the writable data, which moves down by the cut.
  std::string raw = Link("resources", "OPTION RESOURCES \"strings.rc\"\nDIM t(10) AS DOUBLE\nPRINT t(1)\n",
                         {{"strings.rc", kResources}});
  std::string small = ReadFile(Finished(raw, raw + ".small"));
  ASSERT_FALSE(small.empty());
  for (bool sparse : {true, false}) {
    SCOPED_TRACE(sparse ? "sparse" : "dense");
    std::string grown = Grown(raw, sparse ? 768ull << 20 : 64ull << 20, sparse);
    EXPECT_TRUE(ReadFile(Finished(grown, grown + ".finished")) == small)
        << "the image with more zeros finishes differently";
    EXPECT_EQ(Mode(grown + ".finished"), 0755u);
  }
}

}  // namespace
