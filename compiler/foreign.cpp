#include "foreign.h"

namespace tbc {

namespace {

struct Row {
  Foreign form;
  const char* name;     // the name or type word that gives it away, where one does
  ValueType instead;    // for a type word: the type that stands in for it
  const char* message;
};

const Row kRows[] = {
    {Foreign::PrintUsing, nullptr, ValueType::None,
     "PRINT USING is not part of the language: make the text with STR$ and pad it, as in "
     "PRINT RIGHT$(SPACE$(8) + STR$(x), 8)"},
    {Foreign::OpenFile, nullptr, ValueType::None,
     "OPEN ... FOR ... AS #n is not part of the language: declare a FILE and use its members, as in "
     "DIM f AS FILE: f.Open \"data.txt\", 0: PRINT f.ReadLine"},
    {Foreign::FileNumber, nullptr, ValueType::None,
     "file numbers such as #1 are not part of the language: declare a FILE (DIM f AS FILE) and use its members "
     "f.Open, f.ReadLine, f.WriteLine, f.AtEnd and f.Close"},
    {Foreign::OnError, nullptr, ValueType::None,
     "ON ERROR is not part of the language: test results where they arise (f.Open gives -1 for a file it cannot "
     "open); floating-point errors have ON FLOAT ERROR CALL"},
    {Foreign::Resume, "RESUME", ValueType::None,
     "RESUME is not part of the language, nor is ON ERROR: test results where they arise"},
    {Foreign::DefFn, "DEF", ValueType::None,
     "DEF FN is not part of the language: write a FUNCTION, as in FUNCTION Square(x AS DOUBLE) AS DOUBLE "
     "... END FUNCTION"},
    {Foreign::DimShared, nullptr, ValueType::None,
     "DIM SHARED is not part of the language: every routine of a module sees the variables of its main code "
     "already; leave SHARED out"},
    {Foreign::Long, "LONG", ValueType::Integer, "LONG is not a type of the language: use INTEGER, a whole number of 32 bits"},
    {Foreign::Single, "SINGLE", ValueType::Double, "SINGLE is not a type of the language: use DOUBLE"},
    {Foreign::EndWhile, nullptr, ValueType::None,
     "WHILE ... END WHILE is not part of the language: a WHILE loop ends with WEND"},
    {Foreign::Eof, "EOF", ValueType::None, "EOF is not part of the language: a FILE tells its end with f.AtEnd"},
};

const Row& RowOf(Foreign form) {
  for (const Row& row : kRows)
    if (row.form == form) return row;
  return kRows[0];
}

}  // namespace

std::string ForeignMessage(Foreign form) { return RowOf(form).message; }

bool ForeignName(const std::string& upper, Foreign& form) {
  for (const Row& row : kRows) {
    if (row.name != nullptr && row.instead == ValueType::None && upper == row.name) {
      form = row.form;
      return true;
    }
  }
  return false;
}

bool ForeignType(const std::string& upper, Foreign& form, ValueType& instead) {
  for (const Row& row : kRows) {
    if (row.instead != ValueType::None && upper == row.name) {
      form = row.form;
      instead = row.instead;
      return true;
    }
  }
  return false;
}

}  // namespace tbc
