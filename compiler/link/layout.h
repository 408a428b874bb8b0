// The order of the sections in use, as cmake/image_layout.ld gives it:
//   .text  the export data, .text, .text$* (by name), .text.*, .rdata, .rdata$* (by name)
//   .data  .data.header, .data, .data$* (by name), the import table, .bss, .bss$* (by name)
//   .bss   the common symbols (the compiler's large arrays)
// Each input section starts at a multiple of its alignment; sections of the
// same name keep the order of their objects. A section in use that the
// layout has no place for stops the link.
#pragma once

#include <vector>

#include "link/resolve.h"

namespace tbc::link {

// A part of an output section: an input section, or the export data or the
// import table, which the linker writes itself.
struct Piece {
  enum Kind { Input, Exports, Imports, Common } kind = Input;
  SectionRef input;
  int common = -1;
  uint32_t offset = 0;  // in the output section
  uint32_t size = 0;
};

struct OutputPlan {
  std::vector<Piece> pieces;
  uint32_t size = 0;
};

struct Layout {
  OutputPlan text, data, bss;
};

// Places the live sections, the export data (exportSize bytes, none when 0)
// and the import table, and the live common symbols.
Layout PlaceSections(const Resolution& resolution, uint32_t exportSize, uint32_t importSize);

}  // namespace tbc::link
