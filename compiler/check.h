// Names, types, routine signatures and the kind of program: everything the
// user is told about before any code is made. The checker annotates the tree
// and describes the program for the emitter.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "builtins.h"
#include "syntax.h"

namespace tbc {

enum class ProgramKind { Console, Window, Library };

// Dynamic arrays and array parameters have at most this many dimensions.
constexpr size_t kArrayDimensions = 8;

// A TYPE: its fields in order, each a value or another record.
struct RecordInfo {
  std::string name;  // as declared
  Position position;
  struct Field {
    std::string name;
    ValueType type = ValueType::Error;
    const RecordInfo* record = nullptr;  // a field that is itself a record
    std::string cppName;
  };
  std::vector<Field> fields;
  bool strings = false;  // holds a STRING, itself or in a record field
  std::string cppName;

  const Field* find(const std::string& upper) const {
    for (const Field& f : fields)
      if (ToUpper(f.name) == upper) return &f;
    return nullptr;
  }
};

struct Symbol {
  enum class Kind { Variable, Constant, Object };
  Kind kind = Kind::Variable;
  std::string name;  // as declared
  Position position;
  ValueType type = ValueType::Error;
  std::vector<int32_t> bounds;  // an array's upper bounds, one per dimension
  std::vector<int32_t> lowers;  // and its lower bounds (0 unless DIM gave one)
  Constant value;               // Constant
  ObjectKind object = ObjectKind::Form;
  int bitmapWidth = 0, bitmapHeight = 0, bitmapDepth = 0;
  uint32_t registryRoot = 0x80000001;  // HKEY_CURRENT_USER
  Symbol* parent = nullptr;            // a control's form, given with IN; a menu entry's form or menu
  Routine* owner = nullptr;            // null for a module's variables
  const RecordInfo* record = nullptr;  // a record, or an array of records: its TYPE
  bool dynamic = false;                // DIM a(): bounds come with REDIM
  bool reference = false;              // a parameter that is the caller's variable (BYREF, a record, an array)
  int dimensions = 0;                  // of a dynamic array or an array parameter (0 while unknown)
  bool viewed = false;                 // a fixed array passed whole: it needs an ArrayRecord view
  int parameter = -1;                  // the parameter's place, counting from 0
  bool result = false;                 // a FUNCTION's result variable
  bool failed = false;                 // its declaration had an error: say nothing more
  int module = 0;
  std::string cppName;

  bool isArray() const { return !bounds.empty() || dynamic || (parameter >= 0 && dimensions > 0); }
  bool fixedArray() const { return !bounds.empty(); }
  // An array that lives in an ArrayRecord: a dynamic one, or an array parameter.
  bool arrayRecord() const { return isArray() && !fixedArray(); }
  size_t rank() const { return fixedArray() ? bounds.size() : static_cast<size_t>(dimensions); }
  int32_t lower(size_t dimension) const { return dimension < lowers.size() ? lowers[dimension] : 0; }
};

// A library that the program binds through its import table.
struct ImportLibrary {
  std::string file;
  std::vector<Routine*> routines;
};

struct ResourceScript {
  std::string name;
  Position position;  // of its name in OPTION RESOURCES
};

struct Program {
  std::vector<Module>* modules = nullptr;
  ProgramKind kind = ProgramKind::Console;
  std::string name;       // ProgramName
  std::string signature;  // "Tessaric" and four digits
  uint32_t generation = kLatest;
  bool caretScroll = true;
  bool trapped = false;   // a statement sets a floating-point handler
  uint32_t needs = 0;     // what the rows it uses need of the window library (Needs)
  bool tabStops = false;  // OPTION TABSTOPS: a dialog's keys on the program's forms
  std::vector<ResourceScript> resources;  // to compile, as written, in order

  std::vector<std::unique_ptr<Symbol>> symbols;          // owns every symbol
  std::vector<std::vector<Symbol*>> moduleVariables;     // per module, in declaration order
  std::vector<Symbol*> guiObjects;                       // forms, controls and menu entries, in declaration order
  std::vector<Routine*> routines;                        // definitions, in order
  std::vector<ImportLibrary> imports;                    // load-time bound libraries
  std::vector<Routine*> dynamicRoutines;                 // run-time bound, in declaration order
  std::vector<std::unique_ptr<RecordInfo>> records;      // every TYPE, each after those it holds
  std::vector<DataValue> data;                           // the DATA items, in source order
  bool reads = false;                                    // a READ or RESTORE uses them
  bool mainGosub = false;                                // the main code holds a GOSUB
  bool printPositions = false;  // a PRINT uses ',', TAB or SPC: every PRINT counts its columns
};

// A name as C++ can spell it.
std::string CppSpelling(const std::string& name);
// A label as the checker knows it: names in upper case, line numbers as
// numbers (010 is line 10).
std::string LabelKey(const std::string& label);

// Checks the modules (the first is the main module) together. Errors go to
// diagnostics; the program is usable only when there are none.
void Check(std::vector<Module>& modules, const std::vector<SourceFile>& files, Program& program,
           Diagnostics& diagnostics);

}  // namespace tbc
