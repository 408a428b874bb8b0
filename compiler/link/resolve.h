// Symbol resolution: the objects linked whole, the archive members pulled
// because they define a symbol still undefined, one section of each COMDAT
// group, common symbols, and the routines imported through __imp__ symbols.
// Then the sections in use, from the roots along the relocations, as
// ld --gc-sections finds them.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "link/archive.h"
#include "link/coff.h"
#include "link/system_table.h"

namespace tbc::link {

struct DeclaredImport;

struct SectionRef {
  int object = -1;
  int section = -1;
};

// Where a relocation's symbol leads.
struct Target {
  enum Kind { Undefined, InSection, Common, Import, Absolute } kind = Undefined;
  SectionRef section;
  uint32_t value = 0;  // the offset in the section, or the absolute value
  int index = -1;      // in commons or imports
};

struct CommonSymbol {
  std::string name;
  uint32_t size = 0;
  uint32_t alignment = 4;
  bool live = false;
  uint32_t rva = 0;
};

struct ImportSymbol {
  std::string symbol;  // __imp__Name@8
  std::string file;    // the library's file name
  std::string name;    // the name it is imported by
  uint16_t hint = 0;
  bool live = false;
  uint32_t slot = 0;   // the address slot's RVA
};

struct SectionState {
  bool discarded = false;  // a COMDAT section whose group another object gave
  bool live = false;
  uint32_t rva = 0;
};

class Resolution {
 public:
  // Loads the objects, pulls archive members for the symbols they use and
  // for those required (the entry point, the exports), and resolves the imports.
  Resolution(const std::vector<const Object*>& objects, const std::vector<const Archive*>& archives,
             const std::vector<std::string>& required, const std::vector<DeclaredImport>& declared,
             const SystemTable* system);

  // The target of symbol `symbol` of object `object`.
  Target Resolve(int object, uint32_t symbol) const;
  // The target of a global symbol by name.
  Target ResolveGlobal(const std::string& name) const;

  // Marks the sections in use from the roots, with the commons and imports
  // they reach. Throws LinkError for a symbol they use that nothing defines.
  void MarkLive(const std::vector<Target>& roots);

  std::vector<const Object*> objects;          // in order: linked whole, then members as pulled
  std::vector<std::string> members;            // the names of the members pulled
  std::vector<std::vector<SectionState>> state;  // per object, per section
  std::vector<CommonSymbol> commons;
  std::vector<ImportSymbol> imports;

 private:
  void Add(const Object* object);
  void ResolveImports(const std::vector<DeclaredImport>& declared, const SystemTable* system);

  struct Global {
    Target target;
    int object = -1;  // where it is defined, for messages
  };
  std::unordered_map<std::string, Global> globals_;
  std::unordered_map<std::string, SectionRef> comdats_;
  std::unordered_set<std::string> referenced_;  // names used while undefined
  std::vector<std::unique_ptr<Object>> members_;      // the pulled members' objects
};

}  // namespace tbc::link
