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
extern const RuntimeEntry kStrTakeArgument;
extern const RuntimeEntry kArrayIndexError;  // () never returns  // (StringDescriptor*, const char*)

// INPUT and LINE INPUT.
extern const RuntimeEntry kInputLine;         // (StringDescriptor*) -> the line
extern const RuntimeEntry kInputField;        // (StringValue line, int32_t* at) -> the next field
extern const RuntimeEntry kConsoleReadLine;   // (StringDescriptor*)
extern const RuntimeEntry kConsoleReadNumber; // () -> number
// GOSUB and RETURN.
extern const RuntimeEntry kGosubPush;         // (void* point)
extern const RuntimeEntry kGosubPop;          // (int32_t base) -> the point
extern const char* const kGosubDepth;         // int32_t

// The built-ins' routines.
extern const RuntimeEntry kTextToNumber;   // VAL: (StringValue) -> number
extern const RuntimeEntry kStrCharacter;   // CHR$: (int32_t)
extern const RuntimeEntry kStrUpper;       // (StringValue)
extern const RuntimeEntry kStrLower;       // (StringValue)
extern const RuntimeEntry kStrTrim;        // (StringValue, int32_t ends)
extern const RuntimeEntry kStrRepeat;      // (int32_t count, int32_t code)
extern const RuntimeEntry kStrInstr;       // (int32_t start, StringValue, StringValue)
extern const RuntimeEntry kStrInstrRev;    // (StringValue, StringValue, int32_t start)
extern const RuntimeEntry kStrReplace;     // (StringValue, StringValue, StringValue)
extern const RuntimeEntry kStrSlice;       // (StringValue, int32_t begin, int32_t count)
extern const RuntimeEntry kNumberFloor;    // INT: (long double)
extern const RuntimeEntry kRandomNumber;   // RND: ()
extern const RuntimeEntry kNumberPattern;  // HEX$ OCT$ BIN$: (uint32_t, int32_t bits)
extern const RuntimeEntry kClockSeconds;   // TIMER: ()
// The built-in statements' routines.
extern const RuntimeEntry kConsoleClear;     // CLS: ()
extern const RuntimeEntry kConsoleSetColor;  // COLOR: (int32_t, int32_t)
extern const RuntimeEntry kConsoleLocate;    // LOCATE: (int32_t, int32_t)
extern const RuntimeEntry kRandomSeed;       // RANDOMIZE: (long double)
extern const RuntimeEntry kPrintTab;         // TAB: (int32_t)
extern const RuntimeEntry kPrintSpaces;      // SPC: (int32_t)
extern const char* const kPrintColumn;       // uint32_t
extern const RuntimeEntry kConsoleCursorRow;     // CSRLIN: ()
extern const RuntimeEntry kConsoleCursorColumn;  // POS: ()
extern const RuntimeEntry kConsoleInkey;         // INKEY$: ()
extern const RuntimeEntry kClockText;            // DATE$ TIME$: (int32_t kind)
extern const RuntimeEntry kCommandArguments;     // COMMAND$: ()
extern const RuntimeEntry kEnvironmentText;      // ENVIRON$: (const char*)
extern const RuntimeEntry kStrOverwrite;         // the MID$ statement: (StringDescriptor*, int32_t, int32_t, StringValue)
// DATA, READ and RESTORE.
extern const RuntimeEntry kReadDataText;    // () -> the next item's text
extern const RuntimeEntry kReadDataNumber;  // () -> the next item as VAL reads it
extern const RuntimeEntry kRestoreData;     // (int32_t item)
extern const char* const kProgramData;       // DataItem[]: the program defines it
extern const char* const kProgramDataCount;  // int32_t: the program defines it
// Routines on the x87 stack: the operand in ST(0) (two: the first in ST(1))
// becomes the result in ST(0); no arguments on the machine stack.
extern const RuntimeEntry kNumberSinX87;
extern const RuntimeEntry kNumberCosX87;
extern const RuntimeEntry kNumberTanX87;
extern const RuntimeEntry kNumberExpX87;
extern const RuntimeEntry kNumberMinX87;
extern const RuntimeEntry kNumberMaxX87;
extern const RuntimeEntry kNumberSignX87;
extern const RuntimeEntry kNumberPowerX87;
// The floating-point handler.
extern const RuntimeEntry kFpuCheck;          // (): calls the handler when a flag is set
extern const char* const kFpuErrorHandler;    // void (*)()

extern const RuntimeEntry kStrRelease;  // (StringDescriptor*)
// Dynamic arrays and array parameters.
extern const RuntimeEntry kArrayRedim;  // (ArrayRecord*, int32_t size, int32_t dimensions, const int32_t*, bool, ElementRelease)
extern const RuntimeEntry kArrayLower;  // (const ArrayRecord*, int32_t dimension)
extern const RuntimeEntry kArrayUpper;  // (const ArrayRecord*, int32_t dimension)
extern const RuntimeEntry kArrayErase;  // (ArrayRecord*, ElementRelease)
extern const char* const kReleaseStrings;  // an ElementRelease: void (void*, int32_t)
// Recursive routines.
extern const RuntimeEntry kCheckStack;   // ()
extern const RuntimeEntry kStrFree;      // (StringDescriptor*)
extern const RuntimeEntry kStrHandOver;  // (StringDescriptor*) -> its text, now in the ring

// Files.
extern const RuntimeEntry kFileOpen;         // (const char*, uint32_t) -> the handle; on CurrentObject
extern const RuntimeEntry kFileClose;        // (); on CurrentObject
extern const RuntimeEntry kFileReadText;     // (FileRecord*, int32_t count)
extern const RuntimeEntry kFileReadLine;     // (FileRecord*)
extern const RuntimeEntry kFileTransfer;     // (FileRecord*, void*, int32_t count, int32_t direction)
extern const RuntimeEntry kFileWriteLine;    // (const char*, int32_t); on CurrentObject
extern const RuntimeEntry kFileSeek;         // (int32_t); on CurrentObject
extern const RuntimeEntry kFileRefreshSize;  // (); on CurrentObject
extern const RuntimeEntry kFileAtEnd;        // (); on QueryObject
extern const RuntimeEntry kFileLoad;         // (FileRecord*)
extern const RuntimeEntry kFileSaveText;     // (FileRecord*, const char*)
extern const RuntimeEntry kFileReadAll;      // READFILE$: (FileRecord*, const char*)
extern const RuntimeEntry kFileSaveString;   // SAVEFILE: (const char*, StringValue)
extern const char* const kFileTextBuffer;    // FileRecord
// The registry.
extern const RuntimeEntry kRegistryOpen;          // (RegistryRecord*, const char*, int32_t length, int32_t create)
extern const RuntimeEntry kRegistryClose;         // (RegistryRecord*); on CurrentObject too
extern const RuntimeEntry kRegistryBind;          // (RegistryRecord*)
extern const RuntimeEntry kRegistryQueryValue;    // (const char*); on the bound record
extern const RuntimeEntry kRegistryReadString;    // (const char*, int32_t length); on QueryObject
extern const RuntimeEntry kRegistryClass;         // (); on QueryObject, as the next four
extern const RuntimeEntry kRegistryName;
extern const RuntimeEntry kRegistryKeyPath;
extern const RuntimeEntry kRegistryValueData;
extern const RuntimeEntry kRegistryValueDataAt;   // (int32_t index)
extern const RuntimeEntry kRegistrySubkeyNameAt;  // (int32_t index)

// Library routines bound while the program runs.
extern const RuntimeEntry kBindDeclaredFunction;  // (const char* library, char* name, uint32_t size)

// System routines, through the program's import table (stdcall).
extern const char* const kExitProcess;  // kernel32
extern const char* const kSleep;        // kernel32
extern const char* const kMessageBeep;  // user32
extern const char* const kSetConsoleTitle;  // kernel32: TITLE

// Data.
extern const char* const kConcatAccumulator;  // StringDescriptor
extern const char* const kEmptyText;          // a lone NUL

// The symbols that a program's object defines for the start-up stub.
extern const char* const kProgramBody;    // int ProgramBody()
extern const char* const kProgramHeader;  // ProgramHeaderRecord, in .data.header

}  // namespace native
}  // namespace tbc
