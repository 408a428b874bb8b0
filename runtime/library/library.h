// Calls into shared libraries bound at run time, and the entry of a library build.
#pragma once

#include <stdint.h>

#include "core/program.h"

namespace tessaric {

// A function that a program binds at run time: its exported name with the code
// address directly after the name's array (0 until bound). Declare copies the
// name with its NUL, so the address follows the NUL. Function is the routine's
// type, so the bound entry is called like the routine itself.
template <typename Function, int N>
struct __attribute__((packed)) DeclaredFunction {
  char name[N];
  Function* entry;
};

template <typename Function, int N>
constexpr DeclaredFunction<Function, N> Declare(const char (&name)[N]) {
  DeclaredFunction<Function, N> function{};
  for (int i = 0; i < N; ++i) function.name[i] = name[i];
  return function;
}

// Loads the library and looks up the name held in the size bytes at name (all
// of them when no NUL ends it earlier); a missing library ends the program
// with FatalError(0), a missing function with FatalError(1). Writes the address
// right after those size bytes. The library is never freed.
void BindDeclaredFunction(const char* libraryName, char* name, uint32_t size);

// A declaration laid out by hand: the address goes right after the name's NUL.
// An ordinal in place of the name is refused like a missing function: there is
// no record behind it to take the address.
void BindDeclaredFunction(const char* libraryName, char* name);

template <typename Function, int N>
inline void BindDeclaredFunction(const char* libraryName, DeclaredFunction<Function, N>* function) {
  BindDeclaredFunction(libraryName, function->name, N);
}

}  // namespace tessaric

// The entry point of a library build: no start-up work, TRUE for every reason.
extern "C" BOOL __stdcall LibraryEntry(HINSTANCE instance, DWORD reason, void* reserved);
