// The routines of the object module extmod, as the main program declares them.
// Arguments are pushed last to first and removed by the callee; a string
// travels as the address of its NUL-terminated text.
#pragma once

#include <stdint.h>

extern "C" {
void __stdcall ObjSub1();
void __stdcall ObjSub2(int32_t n, const char* text);
int32_t __stdcall ObjFun1(int32_t a, int32_t b);
}
