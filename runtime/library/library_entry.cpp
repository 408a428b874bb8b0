#include "library/library.h"

// A library image does no start-up work: no runtime globals, no FPU reset; its
// code runs in the calling program's FPU state.
extern "C" BOOL __stdcall LibraryEntry(HINSTANCE, DWORD, void*) { return TRUE; }
