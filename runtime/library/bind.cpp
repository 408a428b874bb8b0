#include "core/strings.h"
#include "library/library.h"

namespace tessaric {

void BindDeclaredFunction(const char* libraryName, char* name) {
  // One load per declared function only raises the library's reference count.
  HMODULE library = LoadLibraryA(libraryName);
  if (library == nullptr) FatalError(0);
  FARPROC entry = GetProcAddress(library, name);
  if (entry == nullptr) FatalError(1);
  // The slot follows the name unaligned.
  MemCopy(&entry, name + StrLength(name) + 1, sizeof entry);
}

}  // namespace tessaric
