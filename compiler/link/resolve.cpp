#include "link/resolve.h"

#include <algorithm>

#include "link/linker.h"

namespace tbc::link {

Resolution::Resolution(const std::vector<const Object*>& linked, const std::vector<const Archive*>& archives,
                       const std::vector<std::string>& required, const std::vector<DeclaredImport>& declared,
                       const SystemTable* system) {
  referenced_.insert(required.begin(), required.end());
  for (const Object* object : linked) Add(object);
  // As ld searches an archive: each symbol of the index in turn, pulling its
  // member while the symbol is used and still undefined, until a pass over
  // every archive pulls nothing more.
  std::vector<std::vector<bool>> pulled;
  for (const Archive* archive : archives) pulled.emplace_back(archive->members.size(), false);
  for (bool more = true; more;) {
    more = false;
    for (size_t a = 0; a < archives.size(); ++a) {
      for (const auto& [name, m] : archives[a]->index) {
        if (pulled[a][m] || !referenced_.count(name) || globals_.count(name)) continue;
        pulled[a][m] = true;
        const Archive::Member& member = archives[a]->members[m];
        members_.push_back(std::make_unique<Object>(ReadObject(member.data, member.size, member.name)));
        members.push_back(member.name);
        Add(members_.back().get());
        more = true;
      }
    }
  }
  ResolveImports(declared, system);
}

void Resolution::Add(const Object* object) {
  int o = static_cast<int>(objects.size());
  objects.push_back(object);
  const std::vector<Section>& sections = object->sections;
  std::vector<SectionState>& states = state.emplace_back(sections.size());

  // The first object to give a COMDAT group keeps it; a section that goes
  // with another is kept or discarded with it.
  for (size_t k = 0; k < sections.size(); ++k) {
    const Section& s = sections[k];
    if ((s.characteristics & kScnComdat) == 0 || s.selection == kComdatAssociative) continue;
    auto [kept, fresh] = comdats_.emplace(s.comdatName, SectionRef{o, static_cast<int>(k)});
    if (fresh) continue;
    if (s.selection == kComdatNoDuplicates)
      Fail(s.comdatName + " is defined in both " + objects[kept->second.object]->name + " and " + object->name);
    states[k].discarded = true;
  }
  for (size_t k = 0; k < sections.size(); ++k) {
    int parent = static_cast<int>(k);
    for (size_t depth = 0; sections[parent].selection == kComdatAssociative; ++depth) {
      if (depth > sections.size()) Fail(object->name + ": COMDAT sections go with each other in a circle");
      parent = sections[parent].associate;
    }
    states[k].discarded = states[parent].discarded;
  }

  for (const Symbol& sym : object->symbols) {
    if (!sym.external) continue;
    auto found = globals_.find(sym.name);
    switch (sym.kind) {
      case SymbolKind::Defined:
      case SymbolKind::Absolute: {
        if (sym.kind == SymbolKind::Defined && states[sym.section].discarded) break;
        Global g;
        g.object = o;
        g.target.kind = sym.kind == SymbolKind::Defined ? Target::InSection : Target::Absolute;
        g.target.section = {o, sym.section};
        g.target.value = sym.value;
        if (found == globals_.end())
          globals_.emplace(sym.name, g);
        else if (found->second.target.kind == Target::Common)
          found->second = g;  // a definition takes the place of a common symbol
        else
          Fail(sym.name + " is defined in both " + objects[found->second.object]->name + " and " + object->name);
        break;
      }
      case SymbolKind::Common: {
        auto aligned = object->commonAlignment.find(sym.name);
        uint32_t alignment = aligned == object->commonAlignment.end() ? 4 : aligned->second;
        if (found == globals_.end()) {
          Global g;
          g.object = o;
          g.target.kind = Target::Common;
          g.target.index = static_cast<int>(commons.size());
          commons.push_back({sym.name, sym.value, alignment});
          globals_.emplace(sym.name, g);
        } else if (found->second.target.kind == Target::Common) {
          CommonSymbol& c = commons[found->second.target.index];
          c.size = std::max(c.size, sym.value);
          c.alignment = std::max(c.alignment, alignment);
        }
        break;
      }
      case SymbolKind::Undefined:
        referenced_.insert(sym.name);
        break;
      case SymbolKind::Other:
        break;
    }
  }
}

// A symbol __imp__Name@8 left undefined is the address slot of a routine:
// of a library the program declares, else of the system table.
void Resolution::ResolveImports(const std::vector<DeclaredImport>& declared, const SystemTable* system) {
  std::unordered_map<std::string, const DeclaredImport*> declaredBy;
  for (const DeclaredImport& d : declared) declaredBy.emplace("__imp__" + d.routine, &d);
  std::vector<std::string> names(referenced_.begin(), referenced_.end());
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) {
    if (globals_.count(name) || name.compare(0, 7, "__imp__") != 0) continue;
    std::string routine = name.substr(7);
    ImportSymbol import;
    import.symbol = name;
    auto d = declaredBy.find(name);
    if (d != declaredBy.end()) {
      import.file = d->second->file;
      import.name = routine.substr(0, routine.find('@'));
    } else if (const SystemRoutine* r = system == nullptr ? nullptr : system->Find(routine)) {
      import.file = r->file;
      import.name = r->name;
      import.hint = r->hint;
    } else {
      continue;
    }
    Global g;
    g.target.kind = Target::Import;
    g.target.index = static_cast<int>(imports.size());
    imports.push_back(import);
    globals_.emplace(name, g);
  }
}

Target Resolution::ResolveGlobal(const std::string& name) const {
  auto found = globals_.find(name);
  return found == globals_.end() ? Target{} : found->second.target;
}

Target Resolution::Resolve(int object, uint32_t index) const {
  const Symbol& sym = objects[object]->symbols[index];
  if (sym.external) return ResolveGlobal(sym.name);
  Target t;
  if (sym.kind == SymbolKind::Defined) {
    t.kind = Target::InSection;
    t.section = {object, sym.section};
    t.value = sym.value;
  } else if (sym.kind == SymbolKind::Absolute) {
    t.kind = Target::Absolute;
    t.value = sym.value;
  } else {
    Fail(objects[object]->name + ": a relocation refers to entry " + std::to_string(index) +
         " of the symbol table, which is no symbol");
  }
  return t;
}

void Resolution::MarkLive(const std::vector<Target>& roots) {
  // The sections that go with each section, kept when it is.
  std::vector<std::vector<std::vector<int>>> followers(objects.size());
  for (size_t o = 0; o < objects.size(); ++o) {
    const std::vector<Section>& sections = objects[o]->sections;
    followers[o].resize(sections.size());
    for (size_t k = 0; k < sections.size(); ++k)
      if (sections[k].selection == kComdatAssociative) followers[o][sections[k].associate].push_back(static_cast<int>(k));
  }
  std::vector<SectionRef> work;
  auto reach = [&](const Target& t, const SectionRef& from) {
    switch (t.kind) {
      case Target::InSection: {
        SectionState& s = state[t.section.object][t.section.section];
        if (s.discarded)
          Fail(objects[from.object]->name + ": " + objects[from.object]->sections[from.section].name +
               " refers to a COMDAT section that another object gives");
        if (!s.live) {
          s.live = true;
          work.push_back(t.section);
        }
        break;
      }
      case Target::Common:
        commons[t.index].live = true;
        break;
      case Target::Import:
        imports[t.index].live = true;
        break;
      case Target::Undefined:
      case Target::Absolute:
        break;
    }
  };
  for (const Target& root : roots) reach(root, root.section);
  while (!work.empty()) {
    SectionRef r = work.back();
    work.pop_back();
    for (int follower : followers[r.object][r.section]) reach(Target{Target::InSection, {r.object, follower}}, r);
    const Object& object = *objects[r.object];
    for (const Relocation& relocation : object.sections[r.section].relocations) {
      if (relocation.type == kRelAbsolute) continue;
      Target t = Resolve(r.object, relocation.symbol);
      if (t.kind == Target::Undefined)
        Fail("undefined symbol " + object.symbols[relocation.symbol].name + ", used by " + object.name + " in " +
             object.sections[r.section].name);
      reach(t, r);
    }
  }
}

}  // namespace tbc::link
