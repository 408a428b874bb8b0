#include "link/archive.h"

#include <cstdlib>
#include <cstring>
#include <map>

namespace tbc::link {

namespace {

constexpr char kMagic[] = "!<arch>\n";
constexpr size_t kMagicSize = 8, kHeaderSize = 60;

std::string Field(const uint8_t* p, size_t n) {
  std::string s(p, p + n);
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

}  // namespace

bool IsArchive(const uint8_t* data, size_t size) {
  return size >= kMagicSize && std::memcmp(data, kMagic, kMagicSize) == 0;
}

// Each member follows a 60-byte header: its name (16 bytes), date, owner,
// group, mode, its size in decimal (10 bytes at 48) and "`\n"; members
// start at even offsets. The member "/" is the symbol index: a big-endian
// count, as many member offsets, then the names, each ended by a zero byte.
// The member "//" holds long names, each ended by "/\n", which a member's
// name "/123" points into; a short name ends with "/".
Archive ReadArchive(const uint8_t* data, size_t size, const std::string& name) {
  if (!IsArchive(data, size)) Fail(name + ": not an archive");
  Archive archive;
  std::map<size_t, size_t> memberAt;  // header offset -> place in members
  const uint8_t* indexData = nullptr;
  size_t indexSize = 0;
  std::string longNames;
  size_t at = kMagicSize;
  while (at + kHeaderSize <= size) {
    const uint8_t* h = data + at;
    if (h[58] != '`' || h[59] != '\n') Fail(name + ": a member header is malformed");
    std::string field = Field(h, 16);
    std::string sizeText = Field(h + 48, 10);
    char* end = nullptr;
    unsigned long long n = std::strtoull(sizeText.c_str(), &end, 10);
    if (sizeText.empty() || *end != 0 || n > size - at - kHeaderSize) Fail(name + ": a member is cut short");
    const uint8_t* body = h + kHeaderSize;
    size_t length = static_cast<size_t>(n);
    if (field == "/" || field == "/SYM64/") {
      if (field != "/") Fail(name + ": 64-bit symbol indexes are not handled");
      if (indexData == nullptr) {  // a second "/" is the Microsoft form of the same
        indexData = body;
        indexSize = length;
      }
    } else if (field == "//") {
      longNames.assign(body, body + length);
    } else {
      std::string member = field;
      if (member.size() > 1 && member[0] == '/') {
        size_t offset = std::strtoul(member.c_str() + 1, nullptr, 10);
        if (offset >= longNames.size()) Fail(name + ": a member's long name is missing");
        size_t stop = longNames.find('\n', offset);
        member = longNames.substr(offset, stop == std::string::npos ? std::string::npos : stop - offset);
      }
      if (!member.empty() && member.back() == '/') member.pop_back();
      memberAt[at] = archive.members.size();
      archive.members.push_back({name + "(" + member + ")", body, length});
    }
    at += kHeaderSize + length + (length & 1);
  }

  if (indexData != nullptr) {
    if (indexSize < 4) Fail(name + ": the symbol index is cut short");
    uint32_t count = uint32_t{indexData[0]} << 24 | uint32_t{indexData[1]} << 16 | uint32_t{indexData[2]} << 8 |
                     indexData[3];
    if (count > (indexSize - 4) / 4) Fail(name + ": the symbol index is cut short");
    const uint8_t* names = indexData + 4 + 4 * size_t{count};
    const uint8_t* end = indexData + indexSize;
    for (uint32_t i = 0; i < count; ++i) {
      const uint8_t* o = indexData + 4 + 4 * i;
      size_t offset = size_t{o[0]} << 24 | size_t{o[1]} << 16 | size_t{o[2]} << 8 | o[3];
      const uint8_t* stop = static_cast<const uint8_t*>(std::memchr(names, 0, static_cast<size_t>(end - names)));
      if (stop == nullptr) Fail(name + ": the symbol index is cut short");
      auto member = memberAt.find(offset);
      if (member == memberAt.end()) Fail(name + ": the symbol index names no member");
      archive.index.emplace_back(std::string(names, stop), member->second);
      names = stop + 1;
    }
  }
  return archive;
}

}  // namespace tbc::link
