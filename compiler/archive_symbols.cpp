#include "archive_symbols.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

namespace tbc {

// An ar archive: "!<arch>\n", then members, each after a 60-byte header whose
// last 12 bytes before the end mark hold its size in decimal. The first
// member, named "/", is the symbol index: a big-endian count, as many member
// offsets, then the names, each ended by a zero byte.
bool ReadArchiveSymbols(const std::string& path, std::set<std::string>& symbols) {
  std::ifstream in(path, std::ios::binary);
  std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const size_t header = 8, memberHeader = 60;
  if (bytes.size() < header + memberHeader || std::string(bytes.begin(), bytes.begin() + header) != "!<arch>\n")
    return false;
  const unsigned char* member = bytes.data() + header;
  if (member[0] != '/' || member[1] != ' ') return false;
  size_t size = std::strtoul(std::string(member + 48, member + 58).c_str(), nullptr, 10);
  const unsigned char* index = member + memberHeader;
  const unsigned char* end = index + size;
  if (size < 4 || end > bytes.data() + bytes.size()) return false;
  uint32_t count = uint32_t{index[0]} << 24 | uint32_t{index[1]} << 16 | uint32_t{index[2]} << 8 | index[3];
  if (count > (size - 4) / 4) return false;
  const unsigned char* name = index + 4 + 4 * size_t{count};
  for (uint32_t i = 0; i < count && name < end; ++i) {
    const unsigned char* stop = name;
    while (stop < end && *stop != 0) ++stop;
    symbols.emplace(name, stop);
    name = stop + 1;
  }
  return true;
}

}  // namespace tbc
