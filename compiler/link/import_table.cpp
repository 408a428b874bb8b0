#include "link/import_table.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace tbc::link {

namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

uint32_t HintNameSize(const ImportSymbol& r) { return AlignUp(2 + static_cast<uint32_t>(r.name.size()) + 1, 2); }
uint32_t FileNameSize(const std::string& file) { return AlignUp(static_cast<uint32_t>(file.size()) + 1, 2); }

}  // namespace

ImportTable::ImportTable(std::vector<ImportSymbol>& imports) {
  std::map<std::string, size_t> byFile;  // lower-case file name -> library
  std::vector<ImportSymbol*> live;
  for (ImportSymbol& i : imports)
    if (i.live) live.push_back(&i);
  std::sort(live.begin(), live.end(), [](const ImportSymbol* a, const ImportSymbol* b) {
    return Lower(a->file) != Lower(b->file) ? Lower(a->file) < Lower(b->file) : a->name < b->name;
  });
  for (ImportSymbol* i : live) {
    auto [at, fresh] = byFile.emplace(Lower(i->file), libraries_.size());
    if (fresh) libraries_.push_back({i->file, {}});
    libraries_[at->second].routines.push_back(i);
  }
  if (libraries_.empty()) return;
  size_ = 20 * static_cast<uint32_t>(libraries_.size() + 1);
  for (const Library& l : libraries_) {
    size_ += 2 * 4 * static_cast<uint32_t>(l.routines.size() + 1);  // the lookup and address tables
    for (const ImportSymbol* r : l.routines) size_ += HintNameSize(*r);
    size_ += FileNameSize(l.file);
  }
}

Bytes ImportTable::Write(uint32_t rva) {
  Bytes table(size_, 0);
  uint32_t slots = 0;
  for (const Library& l : libraries_) slots += static_cast<uint32_t>(l.routines.size() + 1);
  uint32_t directory = 0;
  uint32_t lookup = 20 * static_cast<uint32_t>(libraries_.size() + 1);
  uint32_t address = lookup + 4 * slots;
  uint32_t names = address + 4 * slots;
  directoryRva = rva;
  directorySize = lookup;
  addressRva = rva + address;
  addressSize = 4 * slots;
  uint32_t hintNames = names;
  for (const Library& l : libraries_)
    for (const ImportSymbol* r : l.routines) names += HintNameSize(*r);
  for (const Library& l : libraries_) {
    Put32(&table[directory], rva + lookup);       // the lookup table
    Put32(&table[directory + 12], rva + names);   // the library's name
    Put32(&table[directory + 16], rva + address); // the address table
    directory += 20;
    std::copy(l.file.begin(), l.file.end(), table.begin() + names);
    names += FileNameSize(l.file);
    for (ImportSymbol* r : l.routines) {
      Put32(&table[lookup], rva + hintNames);
      Put32(&table[address], rva + hintNames);
      r->slot = rva + address;
      Put16(&table[hintNames], r->hint);
      std::copy(r->name.begin(), r->name.end(), table.begin() + hintNames + 2);
      hintNames += HintNameSize(*r);
      lookup += 4;
      address += 4;
    }
    lookup += 4;
    address += 4;
  }
  return table;
}

}  // namespace tbc::link
