#include "link/resources.h"

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <sys/stat.h>

namespace tbc::link {

namespace {

enum : uint16_t { kCursor = 1, kBitmap = 2, kIcon = 3, kGroupCursor = 12, kGroupIcon = 14 };

const char kForms[] = "a resource script here holds only lines of the forms ID ICON \"file\", ID CURSOR \"file\" "
                      "and ID BITMAP \"file\"";

struct Token {
  std::string text;
  bool quoted = false;
  int line = 0;
};

// The words and quoted strings of the script, without its comments. False
// at a string or comment that does not end.
bool Tokens(const std::string& text, std::vector<Token>& tokens, int& line) {
  line = 1;
  size_t i = 0;
  while (i < text.size()) {
    char c = text[i];
    if (c == '\n') {
      ++line;
      ++i;
    } else if (std::isspace(static_cast<unsigned char>(c))) {
      ++i;
    } else if (text.compare(i, 2, "//") == 0) {
      while (i < text.size() && text[i] != '\n') ++i;
    } else if (text.compare(i, 2, "/*") == 0) {
      size_t end = text.find("*/", i + 2);
      if (end == std::string::npos) return false;
      for (; i < end + 2; ++i) line += text[i] == '\n';
    } else if (c == '"') {
      Token t{"", true, line};
      for (++i;; ++i) {
        if (i >= text.size() || text[i] == '\n') return false;
        if (text[i] == '"' && i + 1 < text.size() && text[i + 1] == '"') {
          t.text += '"';
          ++i;
        } else if (text[i] == '"') {
          ++i;
          break;
        } else if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == '\\' || text[i + 1] == '"')) {
          t.text += text[++i];
        } else {
          t.text += text[i];
        }
      }
      tokens.push_back(t);
    } else {
      Token t{"", false, line};
      while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i])) && text.compare(i, 2, "//") != 0 &&
             text.compare(i, 2, "/*") != 0)
        t.text += text[i++];
      tokens.push_back(t);
    }
  }
  return true;
}

// A number (decimal, or hexadecimal after 0x) below 65536, or a name in
// upper case. False for what is neither.
bool Identifier(const Token& t, ResourceId& id) {
  if (t.text.empty()) return false;
  if (!t.quoted && std::isdigit(static_cast<unsigned char>(t.text[0]))) {
    bool hex = t.text.size() > 2 && t.text[0] == '0' && (t.text[1] == 'x' || t.text[1] == 'X');
    char* end = nullptr;
    unsigned long n = std::strtoul(t.text.c_str() + (hex ? 2 : 0), &end, hex ? 16 : 10);
    if (*end != 0 || n > 0xFFFF) return false;
    id.number = static_cast<uint16_t>(n);
    return true;
  }
  id.named = true;
  for (char c : t.text) {
    if (static_cast<unsigned char>(c) < 0x21 || static_cast<unsigned char>(c) > 0x7E) return false;
    id.name += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return true;
}

bool Exists(const std::string& path) {
  struct stat s;
  return stat(path.c_str(), &s) == 0 && S_ISREG(s.st_mode);
}

bool ReadBytes(const std::string& path, Bytes& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

std::string Folder(const std::string& path) {
  size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? "." : path.substr(0, slash);
}

ResourceId Number(uint16_t n) {
  ResourceId id;
  id.number = n;
  return id;
}

}  // namespace

bool operator<(const ResourceId& a, const ResourceId& b) {
  if (a.named != b.named) return a.named;
  return a.named ? a.name < b.name : a.number < b.number;
}

bool operator==(const ResourceId& a, const ResourceId& b) {
  return a.named == b.named && (a.named ? a.name == b.name : a.number == b.number);
}

bool ResourceCompiler::AddScript(const std::string& path, const std::vector<std::string>& searchDirs,
                                 std::string& error) {
  Bytes text;
  if (!ReadBytes(path, text)) {
    error = "cannot read " + path;
    return false;
  }
  return AddText(std::string(text.begin(), text.end()), path, searchDirs, error);
}

bool ResourceCompiler::AddText(const std::string& text, const std::string& path,
                               const std::vector<std::string>& searchDirs, std::string& error) {
  std::vector<Token> tokens;
  int line = 0;
  if (!Tokens(text, tokens, line)) {
    error = path + ":" + std::to_string(line) + ": a string or comment does not end";
    return false;
  }
  // A line at a time: its three words.
  for (size_t i = 0, end = 0; i < tokens.size(); i = end) {
    for (end = i; end < tokens.size() && tokens[end].line == tokens[i].line;) ++end;
    auto fail = [&](const std::string& problem) {
      error = path + ":" + std::to_string(tokens[i].line) + ": " + problem;
      return false;
    };
    ResourceId name;
    if (end - i != 3 || !Identifier(tokens[i], name) || tokens[i + 1].quoted) return fail(kForms);
    const std::string& kind = tokens[i + 1].text;
    if (kind != "ICON" && kind != "CURSOR" && kind != "BITMAP") return fail(kForms);
    std::string file = tokens[i + 2].text;
    std::vector<std::string> candidates = {file};
    if (!file.empty() && file[0] != '/') {
      for (const std::string& dir : searchDirs) candidates.push_back(dir + "/" + file);
      candidates.push_back(Folder(path) + "/" + file);
    }
    std::string found;
    for (const std::string& c : candidates)
      if (found.empty() && Exists(c)) found = c;
    Bytes bytes;
    if (found.empty() || !ReadBytes(found, bytes)) return fail("cannot find " + file);
    std::string problem;
    if (!AddFile(name, kind, bytes, problem)) return fail(file + " " + problem);
  }
  return true;
}

// An icon or cursor file: a directory (reserved 0, type 1 for icons and 2
// for cursors, the count), an entry of 16 bytes for each image (width,
// height, colours, reserved, then planes and bits per pixel for an icon or
// the hot spot for a cursor, the image's size and its offset in the file),
// and the images. Each image becomes a resource of its own, numbered in
// order across the scripts; the group names them with the entry's fields,
// a cursor's as windres writes them (the height doubled, one plane, one bit).
// A bitmap file loses its 14-byte file header.
bool ResourceCompiler::AddFile(const ResourceId& name, const std::string& kind, const Bytes& file,
                               std::string& problem) {
  auto add = [&](uint16_t type, const ResourceId& id, Bytes data) {
    for (const Resource& r : resources)
      if (r.type == Number(type) && r.name == id) return false;
    resources.push_back({Number(type), id, 0x409, std::move(data)});
    return true;
  };
  const std::string twice = "is the second resource of its kind named " + (name.named ? name.name : std::to_string(name.number));
  if (kind == "BITMAP") {
    if (file.size() < 14 || file[0] != 'B' || file[1] != 'M') {
      problem = "is no bitmap file";
      return false;
    }
    if (!add(kBitmap, name, Bytes(file.begin() + 14, file.end()))) {
      problem = twice;
      return false;
    }
    return true;
  }
  bool cursor = kind == "CURSOR";
  if (file.size() < 6 || Get16(&file[0]) != 0 || Get16(&file[2]) != (cursor ? 2 : 1) || Get16(&file[4]) == 0 ||
      file.size() < 6 + 16 * size_t{Get16(&file[4])}) {
    problem = cursor ? "is no cursor file" : "is no icon file";
    return false;
  }
  uint16_t count = Get16(&file[4]);
  Writer group;
  group.u16(0);
  group.u16(cursor ? 2 : 1);
  group.u16(count);
  std::vector<std::pair<uint16_t, Bytes>> images;
  for (uint16_t k = 0; k < count; ++k) {
    const uint8_t* e = &file[6 + 16 * k];
    uint32_t size = Get32(e + 8), offset = Get32(e + 12);
    if (offset > file.size() || size > file.size() - offset) {
      problem = "is cut short";
      return false;
    }
    uint16_t number = cursor ? nextCursor_++ : nextIcon_++;
    Writer image;
    if (cursor) {
      image.append(e + 4, 4);  // the hot spot
      group.u16(e[0]);
      group.u16(e[1] * 2u);
      group.u16(1);
      group.u16(1);
      group.u32(size + 4);
    } else {
      group.append(e, 12);
    }
    group.u16(number);
    image.append(&file[offset], size);
    images.emplace_back(number, std::move(image.bytes));
  }
  if (!add(cursor ? kGroupCursor : kGroupIcon, name, std::move(group.bytes))) {
    problem = twice;
    return false;
  }
  for (auto& [number, bytes] : images) add(cursor ? kCursor : kIcon, Number(number), std::move(bytes));
  return true;
}

Bytes ResourceSection(const std::vector<Resource>& resources, uint32_t rva) {
  using Languages = std::map<uint16_t, const Resource*>;
  using Names = std::map<ResourceId, Languages>;
  std::map<ResourceId, Names> types;
  for (const Resource& r : resources) types[r.type][r.name].emplace(r.language, &r);

  // Where each part goes.
  auto directory = [](size_t entries) { return 16 + 8 * static_cast<uint32_t>(entries); };
  uint32_t at = directory(types.size());
  std::map<const void*, uint32_t> place;  // each directory's and name's offset
  for (const auto& [type, names] : types) {
    place[&names] = at;
    at += directory(names.size());
    for (const auto& [name, languages] : names) {
      place[&languages] = at;
      at += directory(languages.size());
    }
  }
  std::map<const ResourceId*, uint32_t> strings;
  for (const auto& [type, names] : types) {
    if (type.named) strings[&type] = at, at += 2 + 2 * static_cast<uint32_t>(type.name.size());
    for (const auto& [name, languages] : names)
      if (name.named) strings[&name] = at, at += 2 + 2 * static_cast<uint32_t>(name.name.size());
  }
  at = AlignUp(at, 8);
  std::vector<const Resource*> order;
  for (const auto& [type, names] : types)
    for (const auto& [name, languages] : names)
      for (const auto& [language, r] : languages) order.push_back(r);
  std::map<const Resource*, uint32_t> entry, data;
  for (const Resource* r : order) entry[r] = at, at += 16;
  for (const Resource* r : order) {
    at = AlignUp(at, 8);
    data[r] = at;
    at += static_cast<uint32_t>(r->data.size());
  }

  Bytes section(AlignUp(at, 8), 0);
  auto writeDirectory = [&](uint32_t offset, size_t named, size_t numbered) {
    Put16(&section[offset + 12], static_cast<uint32_t>(named));
    Put16(&section[offset + 14], static_cast<uint32_t>(numbered));
    return offset + 16;
  };
  auto key = [&](const ResourceId& id) { return id.named ? 0x80000000u | strings.at(&id) : id.number; };
  auto countNamed = [](const auto& map) {
    size_t n = 0;
    for (const auto& item : map) n += item.first.named;
    return n;
  };
  uint32_t e = writeDirectory(0, countNamed(types), types.size() - countNamed(types));
  for (const auto& [type, names] : types) {
    Put32(&section[e], key(type));
    Put32(&section[e + 4], 0x80000000u | place[&names]);
    e += 8;
    uint32_t n = writeDirectory(place[&names], countNamed(names), names.size() - countNamed(names));
    for (const auto& [name, languages] : names) {
      Put32(&section[n], key(name));
      Put32(&section[n + 4], 0x80000000u | place[&languages]);
      n += 8;
      uint32_t l = writeDirectory(place[&languages], 0, languages.size());
      for (const auto& [language, r] : languages) {
        Put32(&section[l], language);
        Put32(&section[l + 4], entry[r]);
        l += 8;
      }
    }
  }
  for (const auto& [id, offset] : strings) {
    Put16(&section[offset], static_cast<uint32_t>(id->name.size()));
    for (size_t i = 0; i < id->name.size(); ++i) Put16(&section[offset + 2 + 2 * i], static_cast<uint8_t>(id->name[i]));
  }
  for (const Resource* r : order) {
    Put32(&section[entry[r]], rva + data[r]);
    Put32(&section[entry[r] + 4], static_cast<uint32_t>(r->data.size()));
    std::copy(r->data.begin(), r->data.end(), section.begin() + data[r]);
  }
  return section;
}

}  // namespace tbc::link
