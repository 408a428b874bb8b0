#include "link/layout.h"

#include <algorithm>

namespace tbc::link {

namespace {

bool Prefixed(const std::string& name, const std::string& prefix) {
  return name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0;
}

// Where an input section goes: the output section (0 code, 1 data) and the
// place among its groups, or -1 when the layout has none.
struct Slot {
  int output = -1;
  int group = -1;
};

Slot SlotOf(const std::string& name) {
  if (name == ".text") return {0, 0};
  if (Prefixed(name, ".text$")) return {0, 1};
  if (Prefixed(name, ".text.")) return {0, 2};
  if (name == ".rdata") return {0, 3};
  if (Prefixed(name, ".rdata$")) return {0, 4};
  if (name == ".data.header") return {1, 0};
  if (name == ".data") return {1, 1};
  if (Prefixed(name, ".data$")) return {1, 2};
  // group 3 of the data is the import table
  if (name == ".bss") return {1, 4};
  if (Prefixed(name, ".bss$")) return {1, 5};
  return {};
}

bool SortedByName(const Slot& s) {
  return (s.output == 0 && (s.group == 1 || s.group == 4)) || (s.output == 1 && (s.group == 2 || s.group == 5));
}

void Append(OutputPlan& plan, Piece piece, uint32_t alignment) {
  piece.offset = AlignUp(plan.size, alignment);
  plan.size = piece.offset + piece.size;
  plan.pieces.push_back(piece);
}

}  // namespace

Layout PlaceSections(const Resolution& resolution, uint32_t exportSize, uint32_t importSize) {
  std::vector<SectionRef> groups[2][6];
  for (size_t o = 0; o < resolution.objects.size(); ++o) {
    const Object& object = *resolution.objects[o];
    for (size_t k = 0; k < object.sections.size(); ++k) {
      if (!resolution.state[o][k].live) continue;
      Slot slot = SlotOf(object.sections[k].name);
      if (slot.output < 0) Fail(object.name + ": the image has no place for the section " + object.sections[k].name);
      groups[slot.output][slot.group].push_back({static_cast<int>(o), static_cast<int>(k)});
    }
  }
  auto sectionOf = [&](const SectionRef& r) -> const Section& { return resolution.objects[r.object]->sections[r.section]; };
  for (int output = 0; output < 2; ++output)
    for (int group = 0; group < 6; ++group)
      if (SortedByName({output, group}))
        std::stable_sort(groups[output][group].begin(), groups[output][group].end(),
                         [&](const SectionRef& a, const SectionRef& b) { return sectionOf(a).name < sectionOf(b).name; });

  Layout layout;
  if (exportSize != 0) Append(layout.text, {Piece::Exports, {}, -1, 0, exportSize}, 4);
  for (int output = 0; output < 2; ++output) {
    OutputPlan& plan = output == 0 ? layout.text : layout.data;
    for (int group = 0; group < 6; ++group) {
      if (output == 1 && group == 3 && importSize != 0) Append(plan, {Piece::Imports, {}, -1, 0, importSize}, 4);
      for (const SectionRef& r : groups[output][group])
        Append(plan, {Piece::Input, r, -1, 0, sectionOf(r).size}, sectionOf(r).alignment);
    }
  }
  for (size_t c = 0; c < resolution.commons.size(); ++c) {
    const CommonSymbol& common = resolution.commons[c];
    if (common.live) Append(layout.bss, {Piece::Common, {}, static_cast<int>(c), 0, common.size}, common.alignment);
  }
  return layout;
}

}  // namespace tbc::link
