#include "link/linker.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>

#include "link/archive.h"
#include "link/coff.h"
#include "link/export_table.h"
#include "link/import_table.h"
#include "link/layout.h"
#include "link/pe_image.h"
#include "link/resolve.h"

namespace tbc::link {

namespace {

constexpr uint32_t kProgramBase = 0x400000, kLibraryBase = 0x10000000;
constexpr uint32_t kCodeSection = 0x60000060, kDataSection = 0xC0000040, kZeroSection = 0xC0000080,
                   kResourceSection = 0x40000040, kRelocationSection = 0x42000040;

std::string Hex(uint32_t v) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%x", v);
  return text;
}

// The image being made: its sections, and where each part went.
class Image {
 public:
  Image(const LinkJob& job, Resolution& resolution) : job_(job), resolution_(resolution) {
    base_ = job.kind == ImageKind::Library ? kLibraryBase : kProgramBase;
  }

  Bytes Make(LinkReport* report);

 private:
  uint32_t AddressOf(const Target& t) const;
  void Fill(ImageSection& section, const OutputPlan& plan, const Bytes& exports, const Bytes& imports);
  void Relocate(ImageSection& section, const Piece& piece);

  const LinkJob& job_;
  Resolution& resolution_;
  uint32_t base_;
  std::vector<uint32_t> places_;  // the RVAs of the addresses in the image
};

uint32_t Image::AddressOf(const Target& t) const {
  switch (t.kind) {
    case Target::InSection:
      return base_ + resolution_.state[t.section.object][t.section.section].rva + t.value;
    case Target::Common:
      return base_ + resolution_.commons[t.index].rva;
    case Target::Import:
      return base_ + resolution_.imports[t.index].slot;
    case Target::Absolute:
      return t.value;
    case Target::Undefined:
      break;
  }
  Fail("an undefined symbol has no address");
}

// COFF relocations of i386 keep their addend in the field itself.
void Image::Relocate(ImageSection& section, const Piece& piece) {
  const Object& object = *resolution_.objects[piece.input.object];
  const Section& input = object.sections[piece.input.section];
  for (const Relocation& r : input.relocations) {
    if (r.type == kRelAbsolute) continue;
    if (r.offset > input.size || input.size - r.offset < 4)
      Fail(object.name + ": a relocation lies outside the section " + input.name);
    uint8_t* field = &section.data[piece.offset + r.offset];
    uint32_t place = section.rva + piece.offset + r.offset;
    Target target = resolution_.Resolve(piece.input.object, r.symbol);
    uint32_t address = AddressOf(target);
    uint32_t addend = Get32(field);
    switch (r.type) {
      case kRelDir32:
        Put32(field, addend + address);
        if (target.kind != Target::Absolute) places_.push_back(place);
        break;
      case kRelDir32NB:
        Put32(field, addend + address - base_);
        break;
      case kRelRel32:
        Put32(field, addend + address - (base_ + place + 4));
        break;
      default:
        Fail(object.name + ": the relocation of type " + Hex(r.type) + " at " + Hex(r.offset) + " in " + input.name +
             " is not handled");
    }
  }
}

void Image::Fill(ImageSection& section, const OutputPlan& plan, const Bytes& exports, const Bytes& imports) {
  section.data.assign(plan.size, 0);
  for (const Piece& piece : plan.pieces) {
    const uint8_t* from = nullptr;
    if (piece.kind == Piece::Input)
      from = resolution_.objects[piece.input.object]->sections[piece.input.section].data;
    else if (piece.kind == Piece::Exports)
      from = exports.data();
    else if (piece.kind == Piece::Imports)
      from = imports.data();
    if (from != nullptr) std::copy(from, from + piece.size, section.data.begin() + piece.offset);
  }
  for (const Piece& piece : plan.pieces)
    if (piece.kind == Piece::Input) Relocate(section, piece);
}

Bytes Image::Make(LinkReport* report) {
  bool library = job_.kind == ImageKind::Library;

  // The roots: the entry point, the exports, the program header.
  std::vector<Target> roots;
  Target entry = resolution_.ResolveGlobal(job_.entry);
  if (entry.kind != Target::InSection) Fail("the entry point " + job_.entry + " is not defined");
  roots.push_back(entry);
  std::vector<Target> exported;
  for (const Export& e : job_.exports) {
    Target t = resolution_.ResolveGlobal(e.symbol);
    if (t.kind != Target::InSection) Fail("the exported routine " + e.symbol + " is not defined");
    exported.push_back(t);
    roots.push_back(t);
  }
  for (size_t o = 0; o < resolution_.objects.size(); ++o)
    for (size_t k = 0; k < resolution_.objects[o]->sections.size(); ++k)
      if (resolution_.objects[o]->sections[k].name == ".data.header" && !resolution_.state[o][k].discarded)
        roots.push_back(Target{Target::InSection, {static_cast<int>(o), static_cast<int>(k)}});
  resolution_.MarkLive(roots);

  ImportTable imports(resolution_.imports);
  std::unique_ptr<ExportTable> exports;
  if (library) exports = std::make_unique<ExportTable>(job_.libraryName, job_.exports);
  Layout layout = PlaceSections(resolution_, exports ? exports->size() : 0, imports.size());

  // The addresses: the sections one after the other, 4 KB apart.
  std::vector<ImageSection> sections;
  uint32_t rva = kSectionAlignment;
  auto add = [&](const char* name, uint32_t characteristics, uint32_t size) -> ImageSection* {
    if (size == 0) return nullptr;
    sections.push_back({name, characteristics, rva, size, {}});
    rva = AlignUp(rva + size, kSectionAlignment);
    return &sections.back();
  };
  sections.reserve(5);
  ImageSection* text = add(".text", kCodeSection, layout.text.size);
  ImageSection* data = add(".data", kDataSection, layout.data.size);
  ImageSection* bss = add(".bss", kZeroSection, layout.bss.size);
  uint32_t exportRva = 0, importRva = 0;
  for (const auto& [plan, section] : {std::make_pair(&layout.text, text), std::make_pair(&layout.data, data),
                                      std::make_pair(&layout.bss, bss)}) {
    for (const Piece& piece : plan->pieces) {
      uint32_t at = (section == nullptr ? 0 : section->rva) + piece.offset;  // empty pieces of an empty section
      if (piece.kind == Piece::Input) resolution_.state[piece.input.object][piece.input.section].rva = at;
      if (piece.kind == Piece::Common) resolution_.commons[piece.common].rva = at;
      if (piece.kind == Piece::Exports) exportRva = at;
      if (piece.kind == Piece::Imports) importRva = at;
    }
  }
  if (text == nullptr) Fail("the image has no code");

  ImageHeader header;
  header.library = library;
  header.base = base_;
  header.subsystem = job_.kind == ImageKind::Window ? 2 : 3;
  Bytes importBytes;
  if (!imports.empty()) {
    importBytes = imports.Write(importRva);
    header.directories[kImportDirectory][0] = imports.directoryRva;
    header.directories[kImportDirectory][1] = imports.directorySize;
    header.directories[kAddressTableDirectory][0] = imports.addressRva;
    header.directories[kAddressTableDirectory][1] = imports.addressSize;
  }
  Bytes exportBytes;
  if (exports) {
    std::vector<uint32_t> addresses;
    for (const Target& t : exported) addresses.push_back(AddressOf(t) - base_);
    exportBytes = exports->Write(exportRva, addresses);
    header.directories[kExportDirectory][0] = exportRva;
    header.directories[kExportDirectory][1] = exports->size();
  }
  Fill(*text, layout.text, exportBytes, importBytes);
  if (data != nullptr) Fill(*data, layout.data, exportBytes, importBytes);
  header.entry = AddressOf(entry) - base_;

  if (!job_.resources.empty()) {
    Bytes rsrc = ResourceSection(job_.resources, rva);
    header.directories[kResourceDirectory][0] = rva;
    header.directories[kResourceDirectory][1] = static_cast<uint32_t>(rsrc.size());
    add(".rsrc", kResourceSection, static_cast<uint32_t>(rsrc.size()))->data = std::move(rsrc);
  }
  if (library) {
    Bytes relocations = BaseRelocations(places_);
    if (relocations.empty()) relocations = {0, 0, 0, 0, 8, 0, 0, 0};  // one empty block
    header.directories[kRelocationDirectory][0] = rva;
    header.directories[kRelocationDirectory][1] = static_cast<uint32_t>(relocations.size());
    add(".reloc", kRelocationSection, static_cast<uint32_t>(relocations.size()))->data = std::move(relocations);
  }

  if (report != nullptr) {
    report->members = resolution_.members;
    for (const ImportSymbol& i : resolution_.imports)
      if (i.live) report->imports.push_back(i.file + "!" + i.name);
  }
  return WriteImage(header, sections);
}

}  // namespace

bool ReadInputFile(const std::string& path, InputFile& file, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read " + path;
    return false;
  }
  file.name = path;
  file.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

bool Link(const LinkJob& job, Bytes& image, std::string& error, LinkReport* report) {
  try {
    std::vector<Object> objects;
    std::vector<Archive> archives;
    objects.reserve(job.objects.size());
    archives.reserve(job.archives.size());
    for (const InputFile& f : job.objects) objects.push_back(ReadObject(f.bytes.data(), f.bytes.size(), f.name));
    for (const InputFile& f : job.archives) archives.push_back(ReadArchive(f.bytes.data(), f.bytes.size(), f.name));
    std::vector<const Object*> objectList;
    std::vector<const Archive*> archiveList;
    for (const Object& o : objects) objectList.push_back(&o);
    for (const Archive& a : archives) archiveList.push_back(&a);
    std::vector<std::string> required = {job.entry};
    for (const Export& e : job.exports) required.push_back(e.symbol);
    Resolution resolution(objectList, archiveList, required, job.imports, job.system);
    image = Image(job, resolution).Make(report);
    return true;
  } catch (const LinkError& e) {
    error = e.what();
    return false;
  }
}

}  // namespace tbc::link
