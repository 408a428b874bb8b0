// The linker: COFF objects and archives (as files or as bytes made in
// memory) to a Windows image in the layout of cmake/image_layout.ld, with the
// import table written from the table of the system libraries' routines, a
// library's export directory and base relocations, and the resources of the
// program's scripts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "link/bytes.h"
#include "link/resources.h"
#include "link/system_table.h"

namespace tbc::link {

enum class ImageKind { Console, Window, Library };

// An object or an archive, with a name for messages.
struct InputFile {
  std::string name;
  Bytes bytes;
};

// False, with a message, when the file cannot be read.
bool ReadInputFile(const std::string& path, InputFile& file, std::string& error);

// A routine of a library outside the table, which the program declares:
// imported through the symbol __imp__<routine>, by its name up to the '@'.
struct DeclaredImport {
  std::string file;     // the library's file name, as the import table names it
  std::string routine;  // Name@8
};

// A routine a library exports, by name and ordinal.
struct Export {
  std::string name;    // as other programs import it
  std::string symbol;  // the symbol that defines it, _Name@8
  uint16_t ordinal = 0;
};

struct LinkJob {
  ImageKind kind = ImageKind::Console;
  std::string entry;               // the entry point's symbol
  std::vector<InputFile> objects;  // linked whole, in this order: the main module first
  std::vector<InputFile> archives; // members pulled when they define a symbol left undefined
  const SystemTable* system = nullptr;
  std::vector<DeclaredImport> imports;  // found before the system table's routines
  std::string libraryName;              // a library's file name, for its export directory
  std::vector<Export> exports;
  std::vector<Resource> resources;
};

// What the linker did beyond the image, for tests and for reports.
struct LinkReport {
  std::vector<std::string> members;  // the archive members pulled, in order
  std::vector<std::string> imports;  // FILE!Name for each routine imported
};

// Links; false, with the reason, when the inputs cannot be linked (an
// undefined symbol, a relocation or section the linker does not handle,
// malformed input). The reason is the linker's, not the program's.
bool Link(const LinkJob& job, Bytes& image, std::string& error, LinkReport* report = nullptr);

}  // namespace tbc::link
