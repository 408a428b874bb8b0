// Program identity, runtime globals, start-up and the one fatal path.
#pragma once

#include <stdint.h>
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace tessaric {

// The first bytes of a module's writable data. The signature names the form
// window class; ProgramName captions fatal boxes and is the default form caption.
struct ProgramHeaderRecord {
  char Signature[13];      // "Tessaric" and four digits, then a NUL so it is also a C string
  char ProgramName[19];    // NUL-terminated base name of the program
};
static_assert(sizeof(ProgramHeaderRecord) == 32, "header layout");
static_assert(__builtin_offsetof(ProgramHeaderRecord, ProgramName) == 13, "header layout");

// Every module defines its own header with TESSARIC_PROGRAM.
extern "C" ProgramHeaderRecord ProgramHeader;

// Written by the start-up stub (and again by ConsoleOpen for the handles).
extern HINSTANCE InstanceHandle;
extern char* CommandLine;
extern HANDLE StdOutputHandle;
extern HANDLE StdInputHandle;
extern HANDLE StdErrorHandle;

// Fixed runtime literals that operations address directly.
extern const char LineEnd[3];      // CR LF
extern const char EmptyText[1];    // a lone NUL

// Four 20-byte slots; entry n starts at byte 20 * n.
extern const char FatalMessageTable[4][20];

// Shows FatalMessageTable[index] in an ownerless box captioned ProgramName,
// then ends the process with exit code index + 1. An index beyond the table
// counts as the last one.
[[noreturn]] void FatalError(uint32_t index);

// Puts the x87 unit in its start-up state: control word 0x037F, flags clear,
// register stack empty.
inline void ResetFpu() { asm volatile("fwait\n\tfninit" ::: "memory"); }

}  // namespace tessaric

// The program body that the start-up stub calls; its result is the exit code.
int ProgramBody();

// Defines the module's ProgramHeader, in a section that the image layout puts
// at the very start of the writable data.
#define TESSARIC_PROGRAM(signature, name)                                          \
  static_assert(sizeof(signature) == 13, "signature is Tessaric plus four digits"); \
  static_assert(sizeof(name) <= 19, "program name too long");                      \
  extern "C" {                                                                     \
  __attribute__((section(".data.header"), used))                                   \
  ::tessaric::ProgramHeaderRecord ProgramHeader = {signature, name};               \
  }
