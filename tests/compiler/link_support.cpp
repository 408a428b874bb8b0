#include "link_support.h"

#include <cstring>

namespace linktest {

namespace {

using tbc::link::Get16;
using tbc::link::Get32;
using tbc::link::Writer;

// Names of more than 8 bytes go to the string table, which starts with its size.
class Strings {
 public:
  uint32_t Add(const std::string& s) {
    uint32_t at = 4 + static_cast<uint32_t>(text_.size());
    text_ += s;
    text_ += '\0';
    return at;
  }
  void Write(Writer& w) const {
    w.u32(4 + static_cast<uint32_t>(text_.size()));
    w.text(text_);
  }

 private:
  std::string text_;
};

void Name8(Writer& w, const std::string& s) {
  w.text(s);
  w.zeros(8 - s.size());
}

}  // namespace

int ObjectMaker::AddSection(const std::string& name, uint32_t characteristics, const Bytes& data) {
  sections_.push_back({name, characteristics, data, static_cast<uint32_t>(data.size()), {}});
  return static_cast<int>(sections_.size()) - 1;
}

int ObjectMaker::AddZeroSection(const std::string& name, uint32_t size) {
  sections_.push_back({name, kZero, {}, size, {}});
  return static_cast<int>(sections_.size()) - 1;
}

int ObjectMaker::AddSymbol(const std::string& name, uint32_t value, int16_t section, uint8_t storage,
                           const Bytes& aux) {
  Writer w;
  w.zeros(8);  // the name, filled in by Make
  w.u32(value);
  w.u16(static_cast<uint16_t>(section));
  w.u16(0);
  w.u8(storage);
  w.u8(aux.empty() ? 0 : 1);
  int index = count_;
  symbols_.push_back(w.bytes);
  symbolNames_.push_back(name);
  ++count_;
  if (!aux.empty()) {
    symbols_.push_back(aux);
    symbolNames_.push_back("");
    ++count_;
  }
  return index;
}

void ObjectMaker::MakeComdat(int section, uint8_t selection, int associate) {
  sections_[section].characteristics |= kComdat;
  Writer aux;
  aux.u32(sections_[section].size);
  aux.zeros(8);
  aux.u16(static_cast<uint32_t>(associate + 1));
  aux.u8(selection);
  aux.zeros(3);
  AddSymbol(sections_[section].name, 0, static_cast<int16_t>(section + 1), 3, aux.bytes);
}

int ObjectMaker::Define(const std::string& name, int section, uint32_t value, bool external) {
  return AddSymbol(name, value, static_cast<int16_t>(section + 1), external ? 2 : 3);
}

int ObjectMaker::Undefined(const std::string& name) { return AddSymbol(name, 0, 0, 2); }

int ObjectMaker::Common(const std::string& name, uint32_t size) { return AddSymbol(name, size, 0, 2); }

void ObjectMaker::Relocate(int section, uint32_t offset, int symbol, uint16_t type) {
  Writer w;
  w.u32(offset);
  w.u32(static_cast<uint32_t>(symbol));
  w.u16(type);
  sections_[section].relocations.push_back(w.bytes);
}

void ObjectMaker::Directives(const std::string& text) {
  AddSection(".drectve", 0x00100A00, Bytes(text.begin(), text.end()));
}

InputFile ObjectMaker::Make(const std::string& name) const {
  Strings strings;
  uint32_t at = 20 + 40 * static_cast<uint32_t>(sections_.size());
  std::vector<uint32_t> raw, relocations;
  for (const Section& s : sections_) {
    raw.push_back(s.data.empty() ? 0 : at);
    at += static_cast<uint32_t>(s.data.size());
    relocations.push_back(s.relocations.empty() ? 0 : at);
    at += 10 * static_cast<uint32_t>(s.relocations.size());
  }
  Writer w;
  w.u16(0x14c);
  w.u16(static_cast<uint32_t>(sections_.size()));
  w.u32(0);
  w.u32(at);
  w.u32(static_cast<uint32_t>(count_));
  w.u32(0);
  for (size_t i = 0; i < sections_.size(); ++i) {
    const Section& s = sections_[i];
    Name8(w, s.name.size() <= 8 ? s.name : "/" + std::to_string(strings.Add(s.name)));
    w.u32(0);
    w.u32(0);
    w.u32(s.size);
    w.u32(raw[i]);
    w.u32(relocations[i]);
    w.u32(0);
    w.u16(static_cast<uint32_t>(s.relocations.size()));
    w.u16(0);
    w.u32(s.characteristics);
  }
  for (const Section& s : sections_) {
    w.append(s.data.data(), s.data.size());
    for (const Bytes& r : s.relocations) w.append(r.data(), r.size());
  }
  for (size_t i = 0; i < symbols_.size(); ++i) {
    Bytes record = symbols_[i];
    const std::string& n = symbolNames_[i];
    if (!n.empty()) {  // not an auxiliary record
      if (n.size() <= 8) {
        std::memcpy(record.data(), n.data(), n.size());
      } else {
        tbc::link::Put32(record.data(), 0);
        tbc::link::Put32(record.data() + 4, strings.Add(n));
      }
    }
    w.append(record.data(), record.size());
  }
  strings.Write(w);
  return {name, w.bytes};
}

void ArchiveMaker::Add(const std::string& member, const InputFile& object, const std::vector<std::string>& symbols) {
  members_.push_back({member, object.bytes, symbols});
}

InputFile ArchiveMaker::Make(const std::string& name) const {
  auto header = [](Writer& w, const std::string& field, size_t size) {
    std::string h = field;
    h.resize(16, ' ');
    std::string rest = "0           0     0     644     " + std::to_string(size);
    rest.resize(42, ' ');
    w.text(h + rest + "`\n");
  };
  std::string longNames;
  std::vector<std::string> fields;
  for (const Member& m : members_) {
    if (m.name.size() + 1 > 16) {
      fields.push_back("/" + std::to_string(longNames.size()));
      longNames += m.name + "/\n";
    } else {
      fields.push_back(m.name + "/");
    }
  }
  size_t symbolCount = 0, nameBytes = 0;
  for (const Member& m : members_)
    for (const std::string& s : m.symbols) symbolCount += 1, nameBytes += s.size() + 1;
  size_t indexSize = 4 + 4 * symbolCount + nameBytes;
  size_t at = 8 + 60 + indexSize + (indexSize & 1);
  if (!longNames.empty()) at += 60 + longNames.size() + (longNames.size() & 1);
  std::vector<size_t> offsets;
  for (const Member& m : members_) {
    offsets.push_back(at);
    at += 60 + m.bytes.size() + (m.bytes.size() & 1);
  }
  Writer w;
  w.text("!<arch>\n");
  header(w, "/", indexSize);
  auto bigEndian = [&](size_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) w.u8(static_cast<uint32_t>(v >> shift));
  };
  bigEndian(symbolCount);
  for (size_t i = 0; i < members_.size(); ++i)
    for (size_t k = 0; k < members_[i].symbols.size(); ++k) bigEndian(offsets[i]);
  for (const Member& m : members_)
    for (const std::string& s : m.symbols) w.text(s + std::string(1, '\0'));
  w.align(2);
  if (!longNames.empty()) {
    header(w, "//", longNames.size());
    w.text(longNames);
    w.align(2);
  }
  for (size_t i = 0; i < members_.size(); ++i) {
    header(w, fields[i], members_[i].bytes.size());
    w.append(members_[i].bytes.data(), members_[i].bytes.size());
    w.align(2);
  }
  return {name, w.bytes};
}

ImageView::ImageView(Bytes bytes) : file(std::move(bytes)) {
  if (file.size() < 64) return;
  uint32_t pe = Get32(&file[60]);
  uint32_t count = Get16(&file[pe + 6]);
  characteristics = Get16(&file[pe + 22]);
  uint32_t optional = pe + 24;
  entry = Get32(&file[optional + 16]);
  base = Get32(&file[optional + 28]);
  checksum = Get32(&file[optional + 64]);
  subsystem = Get16(&file[optional + 68]);
  for (int i = 0; i < 16; ++i) {
    directory[i][0] = Get32(&file[optional + 96 + 8 * i]);
    directory[i][1] = Get32(&file[optional + 100 + 8 * i]);
  }
  uint32_t table = optional + Get16(&file[pe + 20]);
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t* h = &file[table + 40 * i];
    std::string name(h, h + 8);
    name = name.substr(0, name.find('\0'));
    sections.push_back({name, Get32(h + 12), Get32(h + 8), Get32(h + 16), Get32(h + 20), Get32(h + 36)});
  }
}

const ImageView::Section* ImageView::Find(const std::string& name) const {
  for (const Section& s : sections)
    if (s.name == name) return &s;
  return nullptr;
}

Bytes ImageView::Read(uint32_t rva, uint32_t count) const {
  Bytes out(count, 0);
  for (const Section& s : sections) {
    for (uint32_t i = 0; i < count; ++i) {
      uint32_t a = rva + i;
      if (a >= s.rva && a < s.rva + s.size && a - s.rva < s.rawSize) out[i] = file[s.rawOffset + a - s.rva];
    }
  }
  return out;
}

uint32_t ImageView::Read32(uint32_t rva) const {
  Bytes b = Read(rva, 4);
  return Get32(b.data());
}

std::string ImageView::ReadString(uint32_t rva) const {
  std::string s;
  for (;; ++rva) {
    char c = static_cast<char>(Read(rva, 1)[0]);
    if (c == 0) return s;
    s += c;
  }
}

std::vector<std::string> ImageView::Imports() const {
  std::vector<std::string> imports;
  for (uint32_t d = directory[1][0]; d != 0 && Read32(d + 16) != 0; d += 20) {
    std::string library = ReadString(Read32(d + 12));
    for (uint32_t slot = Read32(d); Read32(slot) != 0; slot += 4) {
      uint32_t lookup = Read32(slot);
      Bytes slotValue = Read(Read32(d + 16) + (slot - Read32(d)), 4);
      if (Get32(slotValue.data()) != lookup) imports.push_back("address table differs from lookup table");
      imports.push_back(library + "!" + ReadString(lookup + 2));
    }
  }
  return imports;
}

std::vector<ImageView::Export> ImageView::Exports() const {
  std::vector<Export> exports;
  uint32_t d = directory[0][0];
  if (d == 0) return exports;
  uint32_t base = Read32(d + 16), names = Read32(d + 24);
  for (uint32_t i = 0; i < names; ++i) {
    uint32_t index = Get16(Read(Read32(d + 36) + 2 * i, 2).data());
    exports.push_back({ReadString(Read32(Read32(d + 32) + 4 * i)), base + index, Read32(Read32(d + 28) + 4 * index)});
  }
  return exports;
}

std::vector<uint32_t> ImageView::BaseRelocations() const {
  std::vector<uint32_t> places;
  uint32_t at = directory[5][0], end = at + directory[5][1];
  while (at < end) {
    uint32_t page = Read32(at), size = Read32(at + 4);
    if (size < 8) break;
    for (uint32_t e = 8; e < size; e += 2) {
      uint32_t entry = Get16(Read(at + e, 2).data());
      if (entry >> 12 == 3) places.push_back(page + (entry & 0xFFF));
    }
    at += size;
  }
  return places;
}

uint32_t ImageView::ComputedChecksum() const {
  uint32_t pe = Get32(&file[60]);
  size_t field = pe + 24 + 64;
  uint32_t sum = 0;
  for (size_t i = 0; i < file.size(); i += 2) {
    if (i == field || i == field + 2) continue;
    sum += file[i] | (i + 1 < file.size() ? file[i + 1] << 8 : 0);
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  return sum + static_cast<uint32_t>(file.size());
}

}  // namespace linktest
