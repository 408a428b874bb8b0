// GNU ar archives, such as the runtime's libtessaric.a and the import
// libraries: the members with their names, and the symbol index that says
// which member defines which symbol.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "link/bytes.h"

namespace tbc::link {

struct Archive {
  struct Member {
    std::string name;  // for messages
    const uint8_t* data;
    size_t size;
  };
  std::vector<Member> members;
  // The index in its order: each symbol and the member (in members) that defines it.
  std::vector<std::pair<std::string, size_t>> index;
};

// Reads an archive whose bytes stay alive as long as the result; throws
// LinkError when it is none or is malformed. An archive without a symbol
// index has an empty index.
Archive ReadArchive(const uint8_t* data, size_t size, const std::string& name);

// Whether the bytes begin as an archive does.
bool IsArchive(const uint8_t* data, size_t size);

}  // namespace tbc::link
