// A library's export directory and its base relocations.
//
// The export data, as ld writes it at the start of the code: the directory
// (40 bytes), the address table indexed by ordinal less the base (the
// lowest ordinal), the name pointers and their ordinals in the order of the
// names, the library's name, then the routines' names.
//
// The base relocations: the places of every 32-bit address in the image, so
// that the loader can move a library; a block for each 4 KB page with a
// 2-byte entry per place (type 3, HIGHLOW, and the offset in the page),
// padded to 4 bytes with an empty entry.
#pragma once

#include <string>
#include <vector>

#include "link/bytes.h"

namespace tbc::link {

struct Export;

class ExportTable {
 public:
  // Throws LinkError when two exports share a name or an ordinal.
  ExportTable(const std::string& libraryName, const std::vector<Export>& exports);

  uint32_t size() const { return size_; }

  // The export data placed at rva; addresses are the exports' RVAs, in the
  // order of the exports given.
  Bytes Write(uint32_t rva, const std::vector<uint32_t>& addresses) const;

 private:
  std::string libraryName_;
  const std::vector<Export>& exports_;
  std::vector<size_t> byName_;  // the exports in the order of their names
  uint32_t base_ = 1, count_ = 0, size_ = 0;
};

// The .reloc section's bytes for the places (RVAs) of the image's addresses.
Bytes BaseRelocations(std::vector<uint32_t> places);

}  // namespace tbc::link
