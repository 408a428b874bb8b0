// The PE file: the MS-DOS header (no stub program), the PE headers and the
// sections, each starting at a multiple of 512 bytes in the file and of
// 4 KB in memory. A writable section's zero tail is not stored: its bytes in
// the file end at its last byte that is not zero, rounded up to 512, and the
// loader fills the rest with zeros. No timestamp; the checksum of the file.
#pragma once

#include <string>
#include <vector>

#include "link/bytes.h"

namespace tbc::link {

constexpr uint32_t kSectionAlignment = 0x1000, kFileAlignment = 0x200;

// The data directories the linker fills.
enum Directory { kExportDirectory = 0, kImportDirectory = 1, kResourceDirectory = 2, kRelocationDirectory = 5,
                 kAddressTableDirectory = 12 };

struct ImageSection {
  std::string name;
  uint32_t characteristics = 0;
  uint32_t rva = 0;
  uint32_t size = 0;  // in memory
  Bytes data;         // empty for zero-filled data
};

struct ImageHeader {
  bool library = false;
  uint16_t subsystem = 3;  // 2 windows, 3 console
  uint32_t base = 0x400000;
  uint32_t entry = 0;      // an RVA
  uint32_t directories[16][2] = {};
};

// The offset of the first section in the file, for this many sections.
uint32_t HeadersSize(size_t sections);

Bytes WriteImage(const ImageHeader& header, const std::vector<ImageSection>& sections);

}  // namespace tbc::link
