// The import table of the routines a program calls: the directory (one
// entry for each library and an empty one), each library's lookup table,
// the address tables (the slots the code calls through), the hints with
// the names, and the libraries' names; in that order, as ld writes it.
#pragma once

#include <string>
#include <vector>

#include "link/bytes.h"
#include "link/resolve.h"

namespace tbc::link {

class ImportTable {
 public:
  // The imports in use, the libraries in the order of their names, the
  // routines of each in the order of theirs.
  explicit ImportTable(std::vector<ImportSymbol>& imports);

  bool empty() const { return libraries_.empty(); }
  uint32_t size() const { return size_; }

  // The table placed at rva; sets each import's slot.
  Bytes Write(uint32_t rva);

  // After Write: the directory and the address tables, for the image's header.
  uint32_t directoryRva = 0, directorySize = 0, addressRva = 0, addressSize = 0;

 private:
  struct Library {
    std::string file;
    std::vector<ImportSymbol*> routines;
  };
  std::vector<Library> libraries_;
  uint32_t size_ = 0;
};

}  // namespace tbc::link
