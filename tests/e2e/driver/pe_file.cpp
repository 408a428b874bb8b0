#include "driver.h"

namespace driver {

PeFile ReadPeFile(const std::string& path) { return PeFile{ReadFileBytes(path)}; }

const IMAGE_NT_HEADERS32* PeFile::Headers() const {
  if (bytes.size() < sizeof(IMAGE_DOS_HEADER)) return nullptr;
  auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes.data());
  if (dos->e_magic != IMAGE_DOS_SIGNATURE) return nullptr;
  if (dos->e_lfanew < 0 || static_cast<size_t>(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS32) > bytes.size())
    return nullptr;
  auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(bytes.data() + dos->e_lfanew);
  if (nt->Signature != IMAGE_NT_SIGNATURE || nt->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR32_MAGIC)
    return nullptr;
  return nt;
}

std::vector<IMAGE_SECTION_HEADER> PeFile::Sections() const {
  std::vector<IMAGE_SECTION_HEADER> sections;
  const IMAGE_NT_HEADERS32* nt = Headers();
  if (nt == nullptr) return sections;
  auto* first = reinterpret_cast<const IMAGE_SECTION_HEADER*>(reinterpret_cast<const char*>(&nt->OptionalHeader) +
                                                              nt->FileHeader.SizeOfOptionalHeader);
  for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
    const char* end = reinterpret_cast<const char*>(first + i + 1);
    if (end > bytes.data() + bytes.size()) break;
    sections.push_back(first[i]);
  }
  return sections;
}

IMAGE_DATA_DIRECTORY PeFile::Directory(int index) const {
  const IMAGE_NT_HEADERS32* nt = Headers();
  if (nt == nullptr || index < 0 || static_cast<DWORD>(index) >= nt->OptionalHeader.NumberOfRvaAndSizes)
    return IMAGE_DATA_DIRECTORY{};
  return nt->OptionalHeader.DataDirectory[index];
}

const char* PeFile::AtRva(DWORD rva) const {
  for (const IMAGE_SECTION_HEADER& section : Sections()) {
    if (rva < section.VirtualAddress || rva >= section.VirtualAddress + section.SizeOfRawData) continue;
    size_t offset = section.PointerToRawData + (rva - section.VirtualAddress);
    return offset < bytes.size() ? bytes.data() + offset : nullptr;
  }
  return nullptr;
}

}  // namespace driver
