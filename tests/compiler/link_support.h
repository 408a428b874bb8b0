// What the linker's tests share: COFF objects and archives made by hand, as
// small as a case needs, and a reader of the images the linker writes.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "link/linker.h"

namespace linktest {

using tbc::link::Bytes;
using tbc::link::InputFile;

// Section characteristics: code, initialised data, zero-filled data, a
// COMDAT section; each with 4-byte alignment.
constexpr uint32_t kCode = 0x60300020, kData = 0xC0300040, kZero = 0xC0300080, kReadOnly = 0x40300040,
                   kComdat = 0x1000;

// A COFF object made by hand. Symbols and sections are numbered from 0 in
// the order they are added.
class ObjectMaker {
 public:
  int AddSection(const std::string& name, uint32_t characteristics, const Bytes& data);
  int AddZeroSection(const std::string& name, uint32_t size);
  // A COMDAT section: its own symbol with the selection (and the section it
  // goes with, for an associative one). Define its symbol right after.
  void MakeComdat(int section, uint8_t selection, int associate = -1);
  int Define(const std::string& name, int section, uint32_t value, bool external = true);
  int Undefined(const std::string& name);
  int Common(const std::string& name, uint32_t size);
  void Relocate(int section, uint32_t offset, int symbol, uint16_t type);
  void Directives(const std::string& text);
  InputFile Make(const std::string& name) const;

 private:
  struct Section {
    std::string name;
    uint32_t characteristics;
    Bytes data;
    uint32_t size;
    std::vector<std::vector<uint8_t>> relocations;
  };
  int AddSymbol(const std::string& name, uint32_t value, int16_t section, uint8_t storage, const Bytes& aux = {});
  std::vector<Section> sections_;
  std::vector<Bytes> symbols_;  // 18-byte records, names in strings_
  std::vector<std::string> symbolNames_;
  int count_ = 0;
};

// A GNU archive with its symbol index.
class ArchiveMaker {
 public:
  void Add(const std::string& member, const InputFile& object, const std::vector<std::string>& symbols);
  InputFile Make(const std::string& name) const;

 private:
  struct Member {
    std::string name;
    Bytes bytes;
    std::vector<std::string> symbols;
  };
  std::vector<Member> members_;
};

// An image the linker wrote, read back.
struct ImageView {
  explicit ImageView(Bytes file);

  struct Section {
    std::string name;
    uint32_t rva, size, rawSize, rawOffset, characteristics;
  };
  Bytes file;
  uint32_t base = 0, entry = 0, subsystem = 0, characteristics = 0, checksum = 0;
  uint32_t directory[16][2] = {};
  std::vector<Section> sections;

  const Section* Find(const std::string& name) const;
  // Bytes at an address, zeros past a section's stored bytes.
  Bytes Read(uint32_t rva, uint32_t count) const;
  uint32_t Read32(uint32_t rva) const;
  std::string ReadString(uint32_t rva) const;
  // FILE!Name of every imported routine, in the table's order.
  std::vector<std::string> Imports() const;
  // Each export's name, ordinal and address, in the order of the names.
  struct Export {
    std::string name;
    uint32_t ordinal, rva;
  };
  std::vector<Export> Exports() const;
  std::vector<uint32_t> BaseRelocations() const;
  // The checksum the header should hold.
  uint32_t ComputedChecksum() const;
};

}  // namespace linktest
