// The resource compiler: scripts of the forms the language documents,
//   ID ICON "file.ico"     ID CURSOR "file.cur"     ID BITMAP "file.bmp"
// one a line (ID a number or a name, the file quoted or not, // and /* */
// comments),
// and the .rsrc section made of their resources, laid out as windres and ld
// lay it out: the directories of types, names and languages depth first, the
// names, the data entries, then the data, each 8-byte aligned.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "link/bytes.h"

namespace tbc::link {

// A resource's type or name: a number, or a name in upper case.
struct ResourceId {
  bool named = false;
  uint16_t number = 0;
  std::string name;
};

bool operator<(const ResourceId& a, const ResourceId& b);  // names first, as the directories order them
bool operator==(const ResourceId& a, const ResourceId& b);

struct Resource {
  ResourceId type;
  ResourceId name;
  uint16_t language = 0x409;  // windres's default: English (United States)
  Bytes data;
};

class ResourceCompiler {
 public:
  // Adds the resources of the script at path; a relative file it names is
  // found as given, else in each search folder in turn, else beside the
  // script, as windres finds it with -I. False, with the reason as
  // "SCRIPT:LINE: ...", when the script holds anything else or a file
  // cannot be read or is not of its kind.
  bool AddScript(const std::string& path, const std::vector<std::string>& searchDirs, std::string& error);
  // The same from the script's text.
  bool AddText(const std::string& text, const std::string& path, const std::vector<std::string>& searchDirs,
               std::string& error);

  std::vector<Resource> resources;

 private:
  bool AddFile(const ResourceId& name, const std::string& kind, const Bytes& file, std::string& problem);

  uint16_t nextIcon_ = 1;    // the numbers of the single images of icons
  uint16_t nextCursor_ = 1;  // and of cursors
};

// The .rsrc section for the resources, placed at rva (the data entries hold
// addresses). Two resources of the same type, name and language are an error
// of the caller: the section then holds the first.
Bytes ResourceSection(const std::vector<Resource>& resources, uint32_t rva);

}  // namespace tbc::link
