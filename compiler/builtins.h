// The tables of built-in functions and statements, and of the properties,
// methods and event slots of every kind of object. A new built-in or property
// is one row here; the checker and the emitter read the rows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "types.h"

namespace tbc {

// What evaluating something may disturb, so that the emitter can keep values
// alive and effects in source order.
enum Effect : uint32_t {
  kPure = 0,
  kRing = 1,     // takes one slot of the ring of temporaries
  kOrdered = 2,  // writes shared state (QueryObject, the accumulator, a file, a
                 // registry buffer, console input): happens in source order
  kHazard = 4,   // may run program code (a routine, an event handler): may change anything
  kSlots = 8,    // sets CurrentObject or QueryObject, as a statement on an object does
};

// Where a string value lives, and so what may overwrite it.
enum class Storage {
  Literal,      // constant data: never
  Variable,     // a program variable: code that runs in between
  Ring,         // a ring slot: eight further temporaries, or code that runs
  Accumulator,  // the concatenation accumulator: the next concatenation
  Result,       // a FUNCTION's result variable: its next call
  Temp,         // a temporary of the statement: never
  FileBuffer,   // FileTextBuffer: the next whole-file read
  Record,       // a buffer of an object (registry data, a file's memory copy)
};

// The kinds of program that may use a row.
enum Programs : uint32_t { kConsole = 1, kWindow = 2, kLibrary = 4, kAnyProgram = 7 };

// Emitters that a template cannot express. Int: a whole-number function
// (INT, FIX, CINT), which gives an INTEGER argument itself. PrintPosition: an
// item of PRINT only (TAB, SPC). EndsLine: ends the console's line (WAITKEY),
// so that a program that counts print columns starts the count again.
enum class Special { None, Str, Abs, Int, Instr, MsgBox, EventValue, Bound, PrintPosition, EndsLine };

// Argument letters: I integer, N number, S string, T text (a string passed as
// its NUL-terminated text), R resource (a number or a name), C a byte (a
// number, its low 8 bits, or a text, its first byte), B bitmap object,
// H handler (a SUB), P a position, count or length (an INTEGER, but a number
// beyond the range counts as its nearest end), U an unsigned 32-bit number
// (USTR$), A an array's name. Lower case: optional, with the C++ default from
// `defaults` (one per optional argument, separated by '|').
struct Builtin {
  const char* name;
  ValueType result;  // None: only a statement
  bool statement;    // may also stand as a statement
  const char* args;
  const char* defaults;
  const char* emit;  // $1... are the arguments
  uint32_t effects;
  Storage storage;   // of a STRING result
  uint32_t programs;
  Special special;
  const char* header;  // the runtime header its emit needs
  // In a program with a floating-point handler, a numeric function is x87
  // code: instructions separated by ';' that replace the arguments on the
  // register stack (the last in st(0)) with the result; `call Name` calls a
  // runtime routine, $a, $b... are 32-bit scratch integers in memory. Null:
  // the function is an operand made before the arithmetic.
  const char* x87 = nullptr;
  int x87Registers = 1;  // the registers that code needs, its arguments included
  // NAME(args) = value as a statement: its C++, with $1... the arguments (the
  // first, a STRING variable, as the address of its descriptor) and $v the value.
  const char* assign = nullptr;
  // A piece of its first argument: when that is a variable's text or a
  // literal, the C++ of a view into it (no temporary), as in IsSliceView.
  const char* view = nullptr;
};

// Library generations of the GUI: bit 0 the earliest, 1 the middle, 2 the latest.
enum Generations : uint32_t { kEarliest = 1, kMiddle = 2, kLatest = 4, kAllGenerations = 7 };

// What a program carries for the rows it uses: the newer window procedure
// (with records that have room for its further slot), and drawing on a form
// through a canvas of its window, which needs that procedure to know its paint.
enum Needs : uint32_t { kNeedsWindowProc = 1, kNeedsCanvas = 2 | kNeedsWindowProc };

struct Member {
  enum class Use { Property, Method, Event };
  const char* name;
  KindSet kinds;
  Use use;
  ValueType type;       // a property's type, a method's result (None: no result)
  char valueKind;       // how a property's written value is taken (argument letters)
  const char* args;     // a method's arguments, or a property's index
  const char* defaults;
  // The expression of a read or of a method with a result; $o the object, $Q
  // the query slot, $c the object as a drawing target (a form through its
  // canvas in a program that draws on forms so).
  const char* read;
  const char* write;    // the statements of a write ($v the value) or of a method
  uint32_t effects;     // of the read or the method
  Storage storage;      // of a STRING read
  uint32_t generations;
  bool constantValue;   // the written value must be known when compiling
  uint32_t needs = 0;   // Needs
  bool draws = false;   // draws on (or measures in) its object
};

const Builtin* FindBuiltin(const std::string& upper);
// Every row of that name; the checker picks the one for the object's kind.
std::vector<const Member*> FindMembers(const std::string& upper);
// The event slots, for messages.
bool IsEventName(const std::string& upper);

// Whether the built-in is x87 code in a program with a floating-point
// handler, given its first argument's type.
bool IsX87Function(const Builtin& b, ValueType firstArgument);
// The operands that its x87 code adds to an asm statement: its scratch
// integers and the routine it calls.
int X87CodeOperands(const Builtin& b);

int RequiredArgs(const char* args);
int MaxArgs(const char* args);
// The C++ for omitted optional argument n (0-based among the optional ones).
std::string DefaultArg(const char* defaults, int n);

}  // namespace tbc
