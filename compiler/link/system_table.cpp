#include "link/system_table.h"

#include <map>
#include <sstream>

#include "link/archive.h"
#include "link/coff.h"

namespace tbc::link {

SystemTable SystemTable::Parse(const std::string& text, const std::string& name) {
  SystemTable table;
  std::istringstream in(text);
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    std::istringstream words(line);
    std::string first;
    if (!(words >> first) || first[0] == '#') continue;
    auto malformed = [&] { Fail(name + ":" + std::to_string(number) + ": malformed line: " + line); };
    if (first == "library") {
      Library library;
      if (!(words >> library.name >> library.file)) malformed();
      table.libraries_.push_back(library);
      continue;
    }
    if (table.libraries_.empty()) malformed();
    unsigned hint = 0;
    SystemRoutine routine;
    if (!(words >> hint) || hint > 0xFFFF) malformed();
    if (!(words >> routine.name)) routine.name = first.substr(0, first.find('@'));
    routine.file = table.libraries_.back().file;
    routine.hint = static_cast<uint16_t>(hint);
    table.libraries_.back().routines.emplace(first, routine);
  }
  return table;
}

const SystemRoutine* SystemTable::Find(const std::string& routine) const {
  for (const Library& library : libraries_) {
    auto found = library.routines.find(routine);
    if (found != library.routines.end()) return &found->second;
  }
  return nullptr;
}

bool SystemTable::HasLibrary(const std::string& library) const {
  for (const Library& l : libraries_)
    if (l.name == library) return true;
  return false;
}

bool SystemTable::Provides(const std::string& library, const std::string& routine) const {
  for (const Library& l : libraries_)
    if (l.name == library && l.routines.count(routine)) return true;
  return false;
}

// An import library as dlltool makes it: a head member whose .idata$2 holds
// the library's import directory entry and points (at offset 12) to the
// symbol <...>_iname, which the tail member defines in its .idata$7: the
// library's file name. Each routine's member defines __imp__Name@8 in its
// .idata$5 (the address slot), holds the hint and the name in .idata$6, and
// names the head's symbol __head_<...>. Members importing by ordinal (no
// .idata$6) are left out: a program cannot name them.
std::string MakeSystemTable(const std::vector<std::pair<std::string, Bytes>>& libraries) {
  std::ostringstream out;
  out << "# The system libraries' routines: made by tessaric-systable from the import libraries.\n";
  for (const auto& [kitName, bytes] : libraries) {
    Archive archive = ReadArchive(bytes.data(), bytes.size(), kitName);
    std::map<std::string, std::string> headName;  // head symbol -> iname symbol
    std::map<std::string, std::string> fileOf;    // iname symbol -> file name
    struct Routine {
      std::string key, name, head;
      uint16_t hint;
    };
    std::vector<Routine> routines;
    for (const Archive::Member& member : archive.members) {
      Object object = ReadObject(member.data, member.size, member.name);
      std::string head, imp;
      for (const Symbol& s : object.symbols) {
        if (s.kind == SymbolKind::Undefined && s.name.compare(0, 7, "__head_") == 0) head = s.name;
        if (s.kind != SymbolKind::Defined || !s.external) continue;
        const Section& section = object.sections[s.section];
        if (s.name.compare(0, 7, "__head_") == 0 && section.name == ".idata$2") {
          for (const Relocation& r : section.relocations)
            if (r.offset == 12) headName[s.name] = object.symbols[r.symbol].name;
        } else if (section.name == ".idata$7" && section.data != nullptr) {
          std::string file(section.data, section.data + section.size);
          fileOf[s.name] = file.substr(0, file.find('\0'));
        } else if (section.name == ".idata$5" && s.name.compare(0, 7, "__imp__") == 0) {
          imp = s.name.substr(7);
        }
      }
      if (imp.empty() || head.empty()) continue;
      for (const Section& section : object.sections) {
        if (section.name != ".idata$6" || section.data == nullptr || section.size < 3) continue;
        std::string name(section.data + 2, section.data + section.size);
        routines.push_back({imp, name.substr(0, name.find('\0')), head, Get16(section.data)});
      }
    }
    std::map<std::string, std::map<std::string, const Routine*>> byFile;
    for (const Routine& r : routines) {
      auto iname = headName.find(r.head);
      auto file = iname == headName.end() ? fileOf.end() : fileOf.find(iname->second);
      if (file == fileOf.end()) Fail(kitName + ": the routine " + r.key + " belongs to no library file");
      byFile[file->second].emplace(r.key, &r);
    }
    for (const auto& [file, entries] : byFile) {
      out << "library " << kitName << " " << file << "\n";
      for (const auto& [key, r] : entries) {
        out << key << " " << r->hint;
        if (r->name != key.substr(0, key.find('@'))) out << " " << r->name;
        out << "\n";
      }
    }
  }
  return out.str();
}

}  // namespace tbc::link
