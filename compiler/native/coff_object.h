// An i386 COFF object as the mingw linker takes it: sections of bytes (or of
// zeros, for .bss), their relocations, and a symbol table of the symbols the
// object defines and those it uses.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "x86.h"

namespace tbc {
namespace native {

class CoffObject {
 public:
  enum class Kind { Code, ReadOnly, Data, Zeros };
  // A section; its own name is also a symbol that relocations may name (its
  // start).
  int AddSection(const std::string& name, Kind kind);
  // Appends bytes (aligned first); returns their offset in the section.
  uint32_t Append(int section, const std::vector<uint8_t>& bytes, uint32_t alignment = 1);
  // Reserves zeros in a .bss section; returns their offset.
  uint32_t Reserve(int section, uint32_t size, uint32_t alignment = 4);
  // Relocations of the section's bytes, at offsets from base.
  void AddRelocations(int section, const std::vector<Relocation>& relocations, uint32_t base);
  // A global symbol at an offset of a section; function marks code.
  void Define(const std::string& name, int section, uint32_t offset, bool function);
  // A common symbol of size bytes: zeros that the linker places with the
  // other common symbols, never in the file.
  void DefineCommon(const std::string& name, uint32_t size);
  // The whole object file. A relocation naming neither a section nor a
  // defined symbol refers to an external one.
  std::string Write() const;

 private:
  struct Section {
    std::string name;
    Kind kind;
    std::vector<uint8_t> bytes;
    uint32_t size = 0;  // of a Zeros section
    std::vector<Relocation> relocations;
  };
  struct Defined {
    std::string name;
    int section;
    uint32_t offset;
    bool function;
  };
  std::vector<Section> sections_;
  std::vector<Defined> defined_;
  std::vector<std::pair<std::string, uint32_t>> common_;
};

}  // namespace native
}  // namespace tbc
