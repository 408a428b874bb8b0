#include "coff_object.h"

#include <algorithm>
#include <map>

#include "link/coff.h"

namespace tbc {
namespace native {

namespace {

using link::Writer;

// Section alignments, which the linker's table of characteristics leaves out.
constexpr uint32_t kAlign4 = 0x00300000, kAlign16 = 0x00500000;
// More relocations than 16 bits count: the count stands in the first one.
constexpr size_t kRelocationField = 0xFFFF;

constexpr uint16_t kMachineI386 = 0x014C;
constexpr uint8_t kClassExternal = 2, kClassStatic = 3;
constexpr uint16_t kTypeFunction = 0x20;

// A name of 8 bytes or fewer stands in its field; a longer one in the string
// table. Sections say "/offset"; symbols four zeros and the offset.
class StringTable {
 public:
  uint32_t Add(const std::string& name) {
    auto found = offsets_.find(name);
    if (found != offsets_.end()) return found->second;
    uint32_t at = static_cast<uint32_t>(4 + text_.size());
    text_ += name;
    text_ += '\0';
    offsets_[name] = at;
    return at;
  }
  void WriteTo(Writer& out) const {
    out.u32(static_cast<uint32_t>(4 + text_.size()));
    out.text(text_);
  }

 private:
  std::string text_;
  std::map<std::string, uint32_t> offsets_;
};

void PutShortName(Writer& out, const std::string& name) {
  std::string field = name;
  field.resize(8, '\0');
  out.text(field);
}

}  // namespace

int CoffObject::AddSection(const std::string& name, Kind kind) {
  sections_.push_back(Section{name, kind, {}, 0, {}});
  return static_cast<int>(sections_.size() - 1);
}

uint32_t CoffObject::Append(int section, const std::vector<uint8_t>& bytes, uint32_t alignment) {
  Section& s = sections_[static_cast<size_t>(section)];
  while (s.bytes.size() % alignment != 0) s.bytes.push_back(s.kind == Kind::Code ? 0x90 : 0);
  uint32_t at = static_cast<uint32_t>(s.bytes.size());
  s.bytes.insert(s.bytes.end(), bytes.begin(), bytes.end());
  return at;
}

uint32_t CoffObject::Reserve(int section, uint32_t size, uint32_t alignment) {
  Section& s = sections_[static_cast<size_t>(section)];
  s.size = (s.size + alignment - 1) / alignment * alignment;
  uint32_t at = s.size;
  s.size += size;
  return at;
}

void CoffObject::AddRelocations(int section, const std::vector<Relocation>& relocations, uint32_t base) {
  for (Relocation r : relocations) {
    r.offset += base;
    sections_[static_cast<size_t>(section)].relocations.push_back(r);
  }
}

void CoffObject::Define(const std::string& name, int section, uint32_t offset, bool function) {
  defined_.push_back(Defined{name, section, offset, function});
}

void CoffObject::DefineCommon(const std::string& name, uint32_t size) { common_.push_back({name, size}); }

std::string CoffObject::Write() const {
  StringTable strings;
  // The symbol table: each section's symbol (with its auxiliary record), the
  // defined symbols, then the external ones in the order relocations name them.
  std::map<std::string, uint32_t> index;
  Writer symbols;
  uint32_t count = 0;
  auto symbol = [&](const std::string& name, uint32_t value, int16_t section, uint16_t type, uint8_t storage,
                    uint8_t aux) {
    if (name.size() <= 8) {
      PutShortName(symbols, name);
    } else {
      symbols.u32(0);
      symbols.u32(strings.Add(name));
    }
    symbols.u32(value);
    symbols.u16(static_cast<uint16_t>(section));
    symbols.u16(type);
    symbols.u8(storage);
    symbols.u8(aux);
    index[name] = count;
    count += 1 + aux;
  };
  for (size_t i = 0; i < sections_.size(); ++i) {
    const Section& s = sections_[i];
    symbol(s.name, 0, static_cast<int16_t>(i + 1), 0, kClassStatic, 1);
    // The auxiliary record: the section's length, its relocations, no line
    // numbers, no checksum, no COMDAT.
    symbols.u32(s.kind == Kind::Zeros ? s.size : static_cast<uint32_t>(s.bytes.size()));
    symbols.u16(static_cast<uint16_t>(std::min(s.relocations.size(), kRelocationField)));
    symbols.u16(0);
    symbols.zeros(10);
  }
  for (const Defined& d : defined_)
    symbol(d.name, d.offset, static_cast<int16_t>(d.section + 1), d.function ? kTypeFunction : 0, kClassExternal, 0);
  // A common symbol is an external one with its size as its value.
  for (const auto& c : common_) symbol(c.first, c.second, 0, 0, kClassExternal, 0);
  for (const Section& s : sections_)
    for (const Relocation& r : s.relocations)
      if (!index.count(r.symbol)) symbol(r.symbol, 0, 0, kTypeFunction, kClassExternal, 0);

  // The file: header, section headers, each section's bytes and relocations,
  // the symbols, the strings.
  const uint32_t headers = 20 + 40 * static_cast<uint32_t>(sections_.size());
  uint32_t at = headers;
  std::vector<uint32_t> dataAt(sections_.size()), relocationsAt(sections_.size());
  for (size_t i = 0; i < sections_.size(); ++i) {
    const Section& s = sections_[i];
    dataAt[i] = s.kind == Kind::Zeros || s.bytes.empty() ? 0 : at;
    if (s.kind != Kind::Zeros) at += static_cast<uint32_t>(s.bytes.size());
    relocationsAt[i] = s.relocations.empty() ? 0 : at;
    at += 10 * static_cast<uint32_t>(s.relocations.size() + (s.relocations.size() >= kRelocationField ? 1 : 0));
  }
  Writer out;
  out.u16(kMachineI386);
  out.u16(static_cast<uint16_t>(sections_.size()));
  out.u32(0);   // no time stamp: the same program gives the same object
  out.u32(at);  // the symbol table
  out.u32(count);
  out.u16(0);  // no optional header
  out.u16(0);
  for (size_t i = 0; i < sections_.size(); ++i) {
    const Section& s = sections_[i];
    if (s.name.size() <= 8) PutShortName(out, s.name);
    else PutShortName(out, "/" + std::to_string(strings.Add(s.name)));
    out.u32(0);  // virtual size and address: none in an object
    out.u32(0);
    out.u32(s.kind == Kind::Zeros ? s.size : static_cast<uint32_t>(s.bytes.size()));
    out.u32(dataAt[i]);
    out.u32(relocationsAt[i]);
    out.u32(0);
    bool many = s.relocations.size() >= kRelocationField;
    out.u16(static_cast<uint16_t>(many ? kRelocationField : s.relocations.size()));
    out.u16(0);
    uint32_t flags = many ? uint32_t{link::kScnRelocOverflow} : 0u;
    switch (s.kind) {
      case Kind::Code: flags |= link::kScnCode | kAlign16 | link::kScnExecute | link::kScnRead; break;
      case Kind::ReadOnly: flags |= link::kScnInitialized | kAlign4 | link::kScnRead; break;
      case Kind::Data: flags |= link::kScnInitialized | kAlign4 | link::kScnRead | link::kScnWrite; break;
      case Kind::Zeros: flags |= link::kScnUninitialized | kAlign4 | link::kScnRead | link::kScnWrite; break;
    }
    out.u32(flags);
  }
  for (size_t i = 0; i < sections_.size(); ++i) {
    const Section& s = sections_[i];
    if (s.kind != Kind::Zeros) out.append(s.bytes.data(), s.bytes.size());
    if (s.relocations.size() >= kRelocationField) {
      // The first entry holds the count, itself included.
      out.u32(static_cast<uint32_t>(s.relocations.size() + 1));
      out.u32(0);
      out.u16(0);
    }
    for (const Relocation& r : s.relocations) {
      out.u32(r.offset);
      out.u32(index.at(r.symbol));
      out.u16(r.kind == Relocation::kAddress ? link::kRelDir32 : link::kRelRel32);
    }
  }
  out.append(symbols.bytes.data(), symbols.size());
  strings.WriteTo(out);
  return std::string(out.bytes.begin(), out.bytes.end());
}

}  // namespace native
}  // namespace tbc
