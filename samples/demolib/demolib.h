// The three routines that demolib.dll exports, with the standard calling
// convention and undecorated names.
#pragma once

#include <stdint.h>

extern "C" {
void __stdcall ArgsToDll(int32_t first, int32_t second, int32_t third);
void __stdcall HelloFromDll();
int32_t __stdcall ValueFromDll();
}
