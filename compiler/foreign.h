// The common forms of other BASICs that this language does without. Each is
// refused with one message, at the form's first word, that names the form and
// says what to use instead, and nothing more is said of the statement.
#pragma once

#include <string>

#include "types.h"

namespace tbc {

enum class Foreign {
  PrintUsing,  // PRINT USING "##.##"; x
  OpenFile,    // OPEN "name" FOR INPUT AS #1
  FileNumber,  // #1 in PRINT #1, LINE INPUT #1, CLOSE #1
  OnError,     // ON ERROR GOTO label
  Resume,      // RESUME, RESUME NEXT
  DefFn,       // DEF FNname(x) = ...
  DimShared,   // DIM SHARED x AS INTEGER
  Long,        // AS LONG
  Single,      // AS SINGLE
  EndWhile,    // WHILE ... END WHILE
  Eof,         // EOF(1)
};

std::string ForeignMessage(Foreign form);

// A statement or function of other BASICs that a program did not declare
// (DEF, RESUME, EOF), by its upper-case name.
bool ForeignName(const std::string& upper, Foreign& form);

// A type word of other BASICs (LONG, SINGLE): its form, and the type of the
// language that stands in for it, so that a declaration that used it still
// declares its name.
bool ForeignType(const std::string& upper, Foreign& form, ValueType& instead);

}  // namespace tbc
