// The symbols an archive (an import library such as libuser32.a) defines, read
// from its symbol index, so that a declared routine can be looked up before
// the link.
#pragma once

#include <set>
#include <string>

namespace tbc {

// False when the file is no archive with a symbol index.
bool ReadArchiveSymbols(const std::string& path, std::set<std::string>& symbols);

}  // namespace tbc
