#include "link/coff.h"

#include <cstdlib>
#include <cstring>
#include <sstream>

namespace tbc::link {

namespace {

constexpr uint16_t kMachineI386 = 0x14c;
constexpr size_t kFileHeader = 20, kSectionHeader = 40, kSymbolSize = 18, kRelocationSize = 10;

enum : uint8_t {
  kClassExternal = 2,
  kClassStatic = 3,
  kClassLabel = 6,
  kClassWeakExternal = 105,
};

class Reader {
 public:
  Reader(const uint8_t* data, size_t size, const std::string& name) : data_(data), size_(size), name_(name) {}

  // The bytes [offset, offset + count), which must lie in the file.
  const uint8_t* At(size_t offset, size_t count) const {
    if (offset > size_ || count > size_ - offset) Fail(name_ + ": the object is cut short");
    return data_ + offset;
  }

  // A name from the string table that follows the symbols.
  std::string String(uint32_t offset) const {
    if (offset < 4 || offset >= strings_) Fail(name_ + ": a name lies outside the string table");
    const uint8_t* start = data_ + stringTable_ + offset;
    const uint8_t* end = data_ + stringTable_ + strings_;
    const uint8_t* stop = static_cast<const uint8_t*>(std::memchr(start, 0, static_cast<size_t>(end - start)));
    return std::string(start, stop == nullptr ? end : stop);
  }

  void SetStringTable(size_t at) {
    stringTable_ = at;
    strings_ = at + 4 <= size_ ? Get32(At(at, 4)) : 0;
    if (strings_ != 0) At(at, strings_);
  }

 private:
  const uint8_t* data_;
  size_t size_;
  const std::string& name_;
  size_t stringTable_ = 0;
  uint32_t strings_ = 0;
};

// An 8-byte name: inline, or (for sections) "/" and the decimal offset of
// the name in the string table, or (for symbols) zeros and that offset.
std::string ShortName(const uint8_t* p) {
  size_t n = 0;
  while (n < 8 && p[n] != 0) ++n;
  return std::string(p, p + n);
}

uint32_t Alignment(uint32_t characteristics) {
  uint32_t code = (characteristics >> 20) & 0xF;
  return code == 0 ? 4 : 1u << (code - 1);
}

// The linker directives: only -aligncomm:"name",power-of-two, which the
// compiler writes for each common symbol.
void ReadDirectives(const std::string& text, Object& object) {
  std::istringstream in(text);
  for (std::string word; in >> word;) {
    const std::string key = "-aligncomm:";
    if (word.compare(0, key.size(), key) != 0)
      Fail(object.name + ": the linker directive " + word + " is not handled");
    std::string rest = word.substr(key.size());
    size_t comma = rest.rfind(',');
    if (comma == std::string::npos) Fail(object.name + ": malformed directive " + word);
    std::string name = rest.substr(0, comma);
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"') name = name.substr(1, name.size() - 2);
    uint32_t power = static_cast<uint32_t>(std::strtoul(rest.c_str() + comma + 1, nullptr, 10));
    if (power > 13) Fail(object.name + ": malformed directive " + word);
    object.commonAlignment[name] = 1u << power;
  }
}

}  // namespace

Object ReadObject(const uint8_t* data, size_t size, const std::string& name) {
  Object object;
  object.name = name;
  Reader reader(data, size, object.name);
  const uint8_t* header = reader.At(0, kFileHeader);
  uint16_t machine = Get16(header);
  if (machine != kMachineI386) {
    std::ostringstream m;
    m << name << ": not an i386 COFF object (machine 0x" << std::hex << machine << ")";
    Fail(m.str());
  }
  uint16_t sectionCount = Get16(header + 2);
  uint32_t symbolTable = Get32(header + 8);
  uint32_t symbolCount = Get32(header + 12);
  size_t sectionTable = kFileHeader + Get16(header + 16);
  reader.At(symbolTable, size_t{symbolCount} * kSymbolSize);
  reader.SetStringTable(symbolTable + size_t{symbolCount} * kSymbolSize);

  for (uint16_t i = 0; i < sectionCount; ++i) {
    const uint8_t* h = reader.At(sectionTable + kSectionHeader * i, kSectionHeader);
    Section s;
    s.name = ShortName(h);
    if (s.name.size() > 1 && s.name[0] == '/')
      s.name = reader.String(static_cast<uint32_t>(std::strtoul(s.name.c_str() + 1, nullptr, 10)));
    s.size = Get32(h + 16);
    uint32_t raw = Get32(h + 20);
    uint32_t relocations = Get32(h + 24);
    uint32_t relocationCount = Get16(h + 32);
    s.characteristics = Get32(h + 36);
    s.alignment = Alignment(s.characteristics);
    if ((s.characteristics & kScnUninitialized) == 0 && s.size != 0) s.data = reader.At(raw, s.size);
    if ((s.characteristics & kScnRelocOverflow) != 0 && relocationCount == 0xFFFF) {
      // The count is in the first record, which is not itself a relocation.
      relocationCount = Get32(reader.At(relocations, kRelocationSize)) - 1;
      relocations += kRelocationSize;
    }
    const uint8_t* r = reader.At(relocations, size_t{relocationCount} * kRelocationSize);
    for (uint32_t k = 0; k < relocationCount; ++k, r += kRelocationSize) {
      Relocation relocation{Get32(r), Get32(r + 4), Get16(r + 8)};
      if (relocation.symbol >= symbolCount) Fail(name + ": a relocation of " + s.name + " names no symbol");
      s.relocations.push_back(relocation);
    }
    object.sections.push_back(s);
  }

  object.symbols.resize(symbolCount);
  std::vector<int> definitionSymbol(sectionCount, -1);  // each COMDAT section's symbol with the auxiliary record
  for (uint32_t i = 0; i < symbolCount; ++i) {
    const uint8_t* p = reader.At(symbolTable + kSymbolSize * i, kSymbolSize);
    Symbol& sym = object.symbols[i];
    sym.name = Get32(p) == 0 ? reader.String(Get32(p + 4)) : ShortName(p);
    sym.value = Get32(p + 8);
    int16_t section = static_cast<int16_t>(Get16(p + 12));
    uint8_t storage = p[16];
    uint8_t aux = p[17];
    if (storage == kClassWeakExternal) Fail(name + ": the weak external symbol " + sym.name + " is not handled");
    sym.external = storage == kClassExternal;
    if (section > 0) {
      if (section > sectionCount) Fail(name + ": the symbol " + sym.name + " names no section");
      sym.section = section - 1;
      if (sym.external || storage == kClassStatic || storage == kClassLabel) sym.kind = SymbolKind::Defined;
      // A section's own symbol: its auxiliary record says how a COMDAT section is chosen.
      if (storage == kClassStatic && aux >= 1 && sym.value == 0 && definitionSymbol[sym.section] < 0) {
        const uint8_t* a = reader.At(symbolTable + kSymbolSize * (i + 1), kSymbolSize);
        Section& s = object.sections[sym.section];
        if (s.characteristics & kScnComdat) {
          definitionSymbol[sym.section] = static_cast<int>(i);
          s.selection = a[14];
          if (s.selection == kComdatAssociative) s.associate = Get16(a + 12) - 1;
        }
      }
    } else if (section == 0 && sym.external) {
      sym.kind = sym.value == 0 ? SymbolKind::Undefined : SymbolKind::Common;
    } else if (section == -1) {
      sym.kind = SymbolKind::Absolute;
    }
    i += aux;
  }

  // A COMDAT section is named by the first symbol defined in it after the
  // section's own symbol.
  for (uint16_t k = 0; k < sectionCount; ++k) {
    Section& s = object.sections[k];
    if ((s.characteristics & kScnComdat) == 0) continue;
    if (definitionSymbol[k] < 0) Fail(name + ": the COMDAT section " + s.name + " has no definition");
    if (s.selection == kComdatAssociative) {
      if (s.associate < 0 || s.associate >= sectionCount || s.associate == k)
        Fail(name + ": the COMDAT section " + s.name + " goes with no section");
      continue;
    }
    if (s.selection < kComdatNoDuplicates || s.selection > kComdatLargest)
      Fail(name + ": the COMDAT section " + s.name + " has an unknown selection");
    for (uint32_t i = static_cast<uint32_t>(definitionSymbol[k]) + 1; i < symbolCount; ++i) {
      const Symbol& sym = object.symbols[i];
      if (sym.kind == SymbolKind::Defined && sym.section == k) {
        s.comdatName = sym.name;
        break;
      }
    }
    if (s.comdatName.empty()) Fail(name + ": the COMDAT section " + s.name + " has no symbol");
  }

  for (const Section& s : object.sections)
    if (s.name == ".drectve" && s.data != nullptr)
      ReadDirectives(std::string(s.data, s.data + s.size), object);
  return object;
}

}  // namespace tbc::link
