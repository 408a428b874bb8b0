#include "link/export_table.h"

#include <algorithm>
#include <set>

#include "link/linker.h"

namespace tbc::link {

ExportTable::ExportTable(const std::string& libraryName, const std::vector<Export>& exports)
    : libraryName_(libraryName), exports_(exports) {
  if (exports.empty()) return;
  std::set<uint16_t> ordinals;
  for (size_t i = 0; i < exports.size(); ++i) {
    if (exports[i].ordinal == 0 || !ordinals.insert(exports[i].ordinal).second)
      Fail("the export " + exports[i].name + " has no ordinal of its own");
    byName_.push_back(i);
  }
  std::sort(byName_.begin(), byName_.end(), [&](size_t a, size_t b) { return exports[a].name < exports[b].name; });
  for (size_t i = 1; i < byName_.size(); ++i)
    if (exports[byName_[i]].name == exports[byName_[i - 1]].name) Fail("the export " + exports[byName_[i]].name + " is given twice");
  base_ = *ordinals.begin();
  count_ = *ordinals.rbegin() - base_ + 1u;
  uint32_t n = static_cast<uint32_t>(exports.size());
  size_ = 40 + 4 * count_ + 4 * n + 2 * n + static_cast<uint32_t>(libraryName.size()) + 1;
  for (const Export& e : exports) size_ += static_cast<uint32_t>(e.name.size()) + 1;
}

Bytes ExportTable::Write(uint32_t rva, const std::vector<uint32_t>& addresses) const {
  Bytes table(size_, 0);
  if (exports_.empty()) return table;
  uint32_t n = static_cast<uint32_t>(exports_.size());
  uint32_t functions = 40, names = functions + 4 * count_, ordinals = names + 4 * n, text = ordinals + 2 * n;
  Put32(&table[12], rva + text);
  Put32(&table[16], base_);
  Put32(&table[20], count_);
  Put32(&table[24], n);
  Put32(&table[28], rva + functions);
  Put32(&table[32], rva + names);
  Put32(&table[36], rva + ordinals);
  std::copy(libraryName_.begin(), libraryName_.end(), table.begin() + text);
  text += static_cast<uint32_t>(libraryName_.size()) + 1;
  for (size_t i = 0; i < exports_.size(); ++i) Put32(&table[functions + 4 * (exports_[i].ordinal - base_)], addresses[i]);
  for (size_t k = 0; k < byName_.size(); ++k) {
    const Export& e = exports_[byName_[k]];
    Put32(&table[names + 4 * k], rva + text);
    Put16(&table[ordinals + 2 * k], e.ordinal - base_);
    std::copy(e.name.begin(), e.name.end(), table.begin() + text);
    text += static_cast<uint32_t>(e.name.size()) + 1;
  }
  return table;
}

Bytes BaseRelocations(std::vector<uint32_t> places) {
  std::sort(places.begin(), places.end());
  places.erase(std::unique(places.begin(), places.end()), places.end());
  Writer out;
  for (size_t i = 0; i < places.size();) {
    uint32_t page = places[i] & ~0xFFFu;
    size_t start = out.size();
    out.u32(page);
    out.u32(0);
    for (; i < places.size() && (places[i] & ~0xFFFu) == page; ++i) out.u16(0x3000 | (places[i] & 0xFFF));
    out.align(4);
    out.put32(start + 4, static_cast<uint32_t>(out.size() - start));
  }
  return out.bytes;
}

}  // namespace tbc::link
