// COFF objects for i386, as the cross compiler writes them and as a code
// generator may make them in memory: sections with their bytes and
// relocations, the symbol table, and the linker directives (.drectve) that
// give common symbols their alignment.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "link/bytes.h"

namespace tbc::link {

// Section characteristics the linker reads.
enum : uint32_t {
  kScnCode = 0x20,
  kScnInitialized = 0x40,
  kScnUninitialized = 0x80,
  kScnRemove = 0x800,     // .drectve: not part of the image
  kScnComdat = 0x1000,
  kScnRelocOverflow = 0x01000000,
  kScnExecute = 0x20000000,
  kScnRead = 0x40000000,
  kScnWrite = 0x80000000,
};

// Relocation types of i386.
enum : uint16_t {
  kRelAbsolute = 0x00,  // nothing to do
  kRelDir32 = 0x06,     // the target's address
  kRelDir32NB = 0x07,   // the target's address less the image base
  kRelRel32 = 0x14,     // the target's address less the address after the field
};

// COMDAT selections.
enum : uint8_t {
  kComdatNoDuplicates = 1,
  kComdatAny = 2,
  kComdatSameSize = 3,
  kComdatExactMatch = 4,
  kComdatAssociative = 5,
  kComdatLargest = 6,
};

struct Relocation {
  uint32_t offset;  // in the section
  uint32_t symbol;  // index in the object's symbol table
  uint16_t type;
};

struct Section {
  std::string name;
  uint32_t characteristics = 0;
  uint32_t size = 0;
  const uint8_t* data = nullptr;  // null for zero-filled data
  uint32_t alignment = 1;
  std::vector<Relocation> relocations;
  // A COMDAT section: its selection, the symbol that names it (for all but
  // associative ones) or the section (index from 0) it goes with.
  uint8_t selection = 0;
  std::string comdatName;
  int associate = -1;
};

enum class SymbolKind { Defined, Undefined, Common, Absolute, Other };

struct Symbol {
  std::string name;
  uint32_t value = 0;  // the offset in its section, a common symbol's size, an absolute value
  int section = -1;    // from 0; -1 when the symbol is not in a section
  bool external = false;
  SymbolKind kind = SymbolKind::Other;
};

struct Object {
  std::string name;  // for messages: the file, or archive(member)
  std::vector<Section> sections;
  // Indexed as relocations index them: auxiliary records hold kind Other.
  std::vector<Symbol> symbols;
  std::map<std::string, uint32_t> commonAlignment;  // -aligncomm in .drectve
};

// Reads an object whose bytes stay alive as long as the result; throws
// LinkError when it is not an i386 COFF object or is malformed.
Object ReadObject(const uint8_t* data, size_t size, const std::string& name);

}  // namespace tbc::link
