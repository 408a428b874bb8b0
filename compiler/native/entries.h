// The runtime's entry points that native code calls: each routine's symbol
// (its mingw i686 C++ name), the bytes of arguments the caller pushes and
// removes (cdecl), and where its result comes back.
#pragma once

#include <cstdint>

namespace tbc {
namespace native {

enum class Result {
  None,
  Integer,  // EAX
  Number,   // ST(0), an x87 extended value
  Text,     // a StringValue: the text in EAX, its length in EDX
};

struct RuntimeEntry {
  const char* symbol;
  uint16_t argumentBytes;
  Result result;
};

// Routines.
extern const RuntimeEntry kConsoleWrite;     // (const char*, uint32_t)
extern const RuntimeEntry kConsoleNewLine;   // ()
extern const RuntimeEntry kConsoleWaitKey;   // ()
extern const RuntimeEntry kPrintWrite;       // (const char*, uint32_t)
extern const RuntimeEntry kPrintNewLine;     // ()
extern const RuntimeEntry kPrintZone;        // ()
extern const RuntimeEntry kIntegerText;      // NumberToText(int32_t kind, uint32_t value)
extern const RuntimeEntry kFloatText;        // NumberToText(long double)
extern const RuntimeEntry kStrAlloc;         // (StringDescriptor*, uint32_t)
extern const RuntimeEntry kStrAssign;        // (const char*, StringDescriptor*, int32_t)
extern const RuntimeEntry kStrAssignTemp;    // (const char*, StringDescriptor*, int32_t)
extern const RuntimeEntry kStrAppend;        // (const char*, StringDescriptor*, int32_t)
extern const RuntimeEntry kStrTemp;          // (StringDescriptor*, StringValue)
extern const RuntimeEntry kStrCompare;       // (const char*, int32_t, const char*, int32_t)
extern const RuntimeEntry kConcatBegin;      // ()
extern const RuntimeEntry kNumberPower;      // (long double, long double)
extern const RuntimeEntry kStrTakeArgument;  // (StringDescriptor*, const char*)

// kernel32's ExitProcess, through the program's import table.
extern const char* const kExitProcess;

// Data.
extern const char* const kConcatAccumulator;  // StringDescriptor

// The symbols that a program's object defines for the start-up stub.
extern const char* const kProgramBody;    // int ProgramBody()
extern const char* const kProgramHeader;  // ProgramHeaderRecord, in .data.header

}  // namespace native
}  // namespace tbc
