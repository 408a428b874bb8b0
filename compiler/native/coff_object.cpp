#include "coff_object.h"

#include <algorithm>
#include <map>

namespace tbc {
namespace native {

namespace {

// Section characteristics (winnt.h's IMAGE_SCN_*).
constexpr uint32_t kCode = 0x00000020, kInitialized = 0x00000040, kUninitialized = 0x00000080;
constexpr uint32_t kAlign4 = 0x00300000, kAlign16 = 0x00500000;
constexpr uint32_t kExecute = 0x20000000, kRead = 0x40000000, kWrite = 0x80000000;
// More relocations than 16 bits count: the count stands in the first one.
constexpr uint32_t kManyRelocations = 0x01000000;
constexpr size_t kRelocationField = 0xFFFF;

constexpr uint16_t kMachineI386 = 0x014C;
constexpr uint16_t kRelAddress = 0x0006;   // IMAGE_REL_I386_DIR32
constexpr uint16_t kRelRelative = 0x0014;  // IMAGE_REL_I386_REL32
constexpr uint8_t kClassExternal = 2, kClassStatic = 3;
constexpr uint16_t kTypeFunction = 0x20;

void Put16(std::string& out, uint16_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>(v >> 8);
}
void Put32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

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
  std::string Bytes() const {
    std::string out;
    Put32(out, static_cast<uint32_t>(4 + text_.size()));
    return out + text_;
  }

 private:
  std::string text_;
  std::map<std::string, uint32_t> offsets_;
};

void PutShortName(std::string& out, const std::string& name) {
  std::string field = name;
  field.resize(8, '\0');
  out += field;
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
  std::string symbols;
  uint32_t count = 0;
  auto symbol = [&](const std::string& name, uint32_t value, int16_t section, uint16_t type, uint8_t storage,
                    uint8_t aux) {
    if (name.size() <= 8) {
      PutShortName(symbols, name);
    } else {
      Put32(symbols, 0);
      Put32(symbols, strings.Add(name));
    }
    Put32(symbols, value);
    Put16(symbols, static_cast<uint16_t>(section));
    Put16(symbols, type);
    symbols += static_cast<char>(storage);
    symbols += static_cast<char>(aux);
    index[name] = count;
    count += 1 + aux;
  };
  for (size_t i = 0; i < sections_.size(); ++i) {
    const Section& s = sections_[i];
    symbol(s.name, 0, static_cast<int16_t>(i + 1), 0, kClassStatic, 1);
    // The auxiliary record: the section's length, its relocations, no line
    // numbers, no checksum, no COMDAT.
    Put32(symbols, s.kind == Kind::Zeros ? s.size : static_cast<uint32_t>(s.bytes.size()));
    Put16(symbols, static_cast<uint16_t>(std::min(s.relocations.size(), kRelocationField)));
    Put16(symbols, 0);
    symbols += std::string(10, '\0');
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
  std::string out;
  Put16(out, kMachineI386);
  Put16(out, static_cast<uint16_t>(sections_.size()));
  Put32(out, 0);   // no time stamp: the same program gives the same object
  Put32(out, at);  // the symbol table
  Put32(out, count);
  Put16(out, 0);  // no optional header
  Put16(out, 0);
  for (size_t i = 0; i < sections_.size(); ++i) {
    const Section& s = sections_[i];
    if (s.name.size() <= 8) PutShortName(out, s.name);
    else PutShortName(out, "/" + std::to_string(strings.Add(s.name)));
    Put32(out, 0);  // virtual size and address: none in an object
    Put32(out, 0);
    Put32(out, s.kind == Kind::Zeros ? s.size : static_cast<uint32_t>(s.bytes.size()));
    Put32(out, dataAt[i]);
    Put32(out, relocationsAt[i]);
    Put32(out, 0);
    bool many = s.relocations.size() >= kRelocationField;
    Put16(out, static_cast<uint16_t>(many ? kRelocationField : s.relocations.size()));
    Put16(out, 0);
    uint32_t flags = many ? kManyRelocations : 0;
    switch (s.kind) {
      case Kind::Code: flags |= kCode | kAlign16 | kExecute | kRead; break;
      case Kind::ReadOnly: flags |= kInitialized | kAlign4 | kRead; break;
      case Kind::Data: flags |= kInitialized | kAlign4 | kRead | kWrite; break;
      case Kind::Zeros: flags |= kUninitialized | kAlign4 | kRead | kWrite; break;
    }
    Put32(out, flags);
  }
  for (size_t i = 0; i < sections_.size(); ++i) {
    const Section& s = sections_[i];
    if (s.kind != Kind::Zeros) out.append(reinterpret_cast<const char*>(s.bytes.data()), s.bytes.size());
    if (s.relocations.size() >= kRelocationField) {
      // The first entry holds the count, itself included.
      Put32(out, static_cast<uint32_t>(s.relocations.size() + 1));
      Put32(out, 0);
      Put16(out, 0);
    }
    for (const Relocation& r : s.relocations) {
      Put32(out, r.offset);
      Put32(out, index.at(r.symbol));
      Put16(out, r.kind == Relocation::kAddress ? kRelAddress : kRelRelative);
    }
  }
  return out + symbols + strings.Bytes();
}

}  // namespace native
}  // namespace tbc
