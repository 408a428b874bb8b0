// The table of the system libraries' routines that programs may import: for
// each library the kit links (kernel32, user32, ...) its file name and its
// routines, each as Name@8 (the argument bytes of a __stdcall routine; a
// plain name for others), with the hint and, where it differs from the name,
// the name the library exports it by. The build makes it from the cross
// compiler's import libraries (MakeSystemTable, run by tessaric-systable),
// and the kit names it, so that a link needs no import library.
//
// The text, one line each:
//   library kernel32 KERNEL32.dll
//   ExitProcess@4 355
//   SomeRoutine@8 12 ExportedName
#pragma once

#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "link/bytes.h"

namespace tbc::link {

struct SystemRoutine {
  std::string file;  // the library's file name, as the import table names it
  std::string name;  // the name it is imported by
  uint16_t hint = 0;
};

class SystemTable {
 public:
  // Throws LinkError when a line is malformed.
  static SystemTable Parse(const std::string& text, const std::string& name);

  // The routine behind the symbol __imp__<routine>, routine as Name@8; the
  // first library in the table's order that has it. Null when none has.
  const SystemRoutine* Find(const std::string& routine) const;
  // Whether the library ("user32") is in the table, and whether it has the routine.
  bool HasLibrary(const std::string& library) const;
  bool Provides(const std::string& library, const std::string& routine) const;

 private:
  struct Library {
    std::string name;  // as the kit lists it
    std::string file;
    std::unordered_map<std::string, SystemRoutine> routines;
  };
  std::vector<Library> libraries_;
};

// The table's text from the import libraries, each given with its kit name
// ("kernel32") and its bytes. Throws LinkError when one cannot be read.
std::string MakeSystemTable(const std::vector<std::pair<std::string, Bytes>>& libraries);

}  // namespace tbc::link
