#include "core/strings.h"
#include "library/library.h"

namespace tessaric {

void BindDeclaredFunction(const char* libraryName, char* name, uint32_t size) {
  // One load per declared function only raises the library's reference count.
  HMODULE library = LoadLibraryA(libraryName);
  if (library == nullptr) FatalError(0);
  FARPROC entry = nullptr;
  if (!IS_INTRESOURCE(name)) {
    // The slot's first byte ends a name that fills its whole array; the slot
    // is written next in any case.
    name[size] = 0;
    entry = GetProcAddress(library, name);
  }
  if (entry == nullptr) FatalError(1);
  // The slot follows the name unaligned.
  MemCopy(&entry, name + size, sizeof entry);
}

void BindDeclaredFunction(const char* libraryName, char* name) {
  BindDeclaredFunction(libraryName, name, IS_INTRESOURCE(name) ? 0 : StrLength(name) + 1);
}

}  // namespace tessaric
