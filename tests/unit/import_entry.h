// A test stands in for a system function by pointing the program's own import
// entry for it elsewhere: the runtime is linked into the test program, so its
// calls go through that entry too.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string.h>

namespace unittest {

// The program's import entry from library that holds address; null if none does.
inline void** ImportEntryHolding(const char* library, const void* address) {
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto* module = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); module->Name != 0;
       ++module) {
    if (_stricmp(reinterpret_cast<char*>(base + module->Name), library) != 0) continue;
    for (auto* entry = reinterpret_cast<void**>(base + module->FirstThunk); *entry != nullptr; ++entry)
      if (*entry == address) return entry;
  }
  return nullptr;
}

inline bool PatchImportEntry(void** entry, void* value) {
  DWORD protection = 0;
  if (entry == nullptr || !VirtualProtect(entry, sizeof *entry, PAGE_READWRITE, &protection)) return false;
  *entry = value;
  VirtualProtect(entry, sizeof *entry, protection, &protection);
  return true;
}

}  // namespace unittest
