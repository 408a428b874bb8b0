// The syntax tree: plain structs, each node with its position. The parser
// fills the syntax; the checker fills the parts marked "checked".
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "source.h"
#include "types.h"

namespace tbc {

enum class UnaryOp { Negate, Not };
// The comparisons stand together, from Equal to GreaterEqual.
enum class BinaryOp { Or, Xor, And, Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual,
                      Add, Subtract, Multiply, Divide, IntDivide, Modulo, Power };

inline bool IsComparison(BinaryOp op) { return op >= BinaryOp::Equal && op <= BinaryOp::GreaterEqual; }

struct Symbol;
struct Routine;
struct RecordInfo;
struct Builtin;
struct Member;

struct Expr;
using ExprPtr = std::unique_ptr<Expr>;

struct Expr {
  enum class Kind {
    Integer,  // integer
    Number,   // number, spelling in text
    String,   // text
    Name,     // name, optionally with (args): a variable, an array element, a call
    Member,   // object.name, optionally with (args)
    Unary,    // args[0]
    Binary,   // args[0] op args[1]
    Field,    // args[0].name: a field of a record
  };
  Kind kind = Kind::Integer;
  Position position;
  std::string name;        // Name: the identifier; Member: the member
  std::string object;      // Member: the object's name
  Position objectPosition;
  int64_t integer = 0;
  long double number = 0;
  std::string text;
  bool parenthesised = false;  // Name/Member written with an argument list
  UnaryOp unary = UnaryOp::Negate;
  BinaryOp binary = BinaryOp::Add;
  std::vector<ExprPtr> args;

  // checked
  ValueType type = ValueType::Error;
  enum class Ref { None, Variable, Constant, Routine, Builtin, Member, EventValue } ref = Ref::None;
  Symbol* symbol = nullptr;        // Variable, Constant; Member: the object
  Routine* routine = nullptr;      // Routine
  const Builtin* builtin = nullptr;
  const Member* member = nullptr;
  const RecordInfo* record = nullptr;  // a record value: its TYPE
  Constant constant;               // valid when constant.type != Error
};

struct Stmt;
using StmtPtr = std::unique_ptr<Stmt>;
using Block = std::vector<StmtPtr>;

struct DimItem {
  std::string name;
  Position position;
  std::vector<ExprPtr> bounds;  // DIM t(10, 3): upper bounds
  std::vector<ExprPtr> lowers;  // DIM t(1 TO 10): lower bounds, null where none is given
  bool dynamic = false;         // DIM t() AS ...: bounds come with REDIM
  int rank = 0;                 // DIM t(,): the dimensions of a dynamic array, 0 when not given
  std::string typeName;         // upper case; empty when no AS was written
  Position typePosition;
  std::vector<ExprPtr> typeArgs;  // BITMAP(64, 64, 16), REGISTRY(&H80000002)
  std::string parent;           // DIM b AS BUTTON IN Form2
  Position parentPosition;
  Symbol* symbol = nullptr;     // checked
};

struct ConstItem {
  std::string name;
  Position position;
  ExprPtr value;
  Symbol* symbol = nullptr;  // checked
};

struct PrintItem {
  ExprPtr value;  // null for a ',': on to the next print zone
};

struct CaseItem {
  enum class Kind { Value, Range, Is } kind = Kind::Value;
  BinaryOp op = BinaryOp::Equal;  // Is
  ExprPtr first, last;
};

struct CaseClause {
  Position position;
  bool isElse = false;
  std::vector<CaseItem> items;
  Block body;
};

struct IfBranch {
  ExprPtr condition;  // null for the ELSE branch
  Block body;
};

struct Param {
  const RecordInfo* record = nullptr;  // checked: a record's TYPE
  std::string name;
  Position position;
  ValueType type = ValueType::Error;
  std::string typeName;  // a record's type, upper case; empty for the three value types
  Position typePosition;
  bool byReference = false;  // BYREF: the caller's variable itself
  int dimensions = 0;        // an array taken by reference: a() is 1, a(,) is 2
};

// An item of a DATA line.
struct DataValue {
  std::string text;  // as written, without quotes
  bool quoted = false;
  Position position;
};

struct Stmt {
  enum class Kind {
    Dim, Const, Assign, Call, Print, LineInput, Input, If, For, While, Do, Select,
    Exit, End, Declare, Option, OnFloatError, OpenConsole,
    Label, Goto, Gosub, Return, OnJump, Data, Read, Restore, Swap, Redim,
  };
  Kind kind = Kind::Dim;
  Position position;

  std::vector<DimItem> dims;       // Dim
  std::vector<ConstItem> consts;   // Const
  ExprPtr target;                  // Assign, LineInput, Input; For: the counter
  ExprPtr value;                   // Assign; LineInput/Input: the prompt; Select: the selector
  ExprPtr callee;                  // Call: a Name or Member expression; its args are the arguments
  std::vector<PrintItem> items;    // Print
  bool keepLine = false;           // Print ending in ';'
  std::vector<IfBranch> branches;  // If: IF, ELSEIF..., then ELSE with a null condition
  ExprPtr start, end, step;        // For
  std::string nextName;            // For: the name after NEXT, if any
  Position nextPosition;
  ExprPtr condition;               // While; Do: the condition
  enum class Test { None, While, Until } test = Test::None;  // Do
  bool testAtEnd = false;          // Do ... LOOP WHILE/UNTIL
  Block body;                      // For, While, Do
  std::vector<CaseClause> cases;   // Select
  enum class Exits { For, Do, While, Sub, Function } exits = Exits::For;  // Exit
  std::string word;                // Option: the setting; OnFloatError: the handler;
                                   // Label: its name or line number; Goto, Gosub, Restore: the label
  std::vector<std::string> labels;     // OnJump: the labels, in order
  std::vector<Position> labelPositions;
  bool gosub = false;              // OnJump: GOSUB rather than GOTO
  std::vector<DataValue> data;     // Data
  std::vector<ExprPtr> targets;    // Read, Swap, Input of several: the variables
  bool preserve = false;           // Redim
  Position wordPosition;
  std::vector<ExprPtr> optionArgs; // Option: its values
  Routine* declared = nullptr;     // Declare
  Routine* routine = nullptr;      // checked: OnFloatError's handler
  int dataIndex = 0;               // checked: Restore: the first DATA item it starts from
};

// TYPE name ... END TYPE: a record's fields, in order.
struct RecordField {
  std::string name;
  Position position;
  std::string typeName;  // INTEGER, DOUBLE, STRING or a record type; upper case
  Position typePosition;
};

struct RecordType {
  std::string name;
  Position position;
  std::vector<RecordField> fields;
};

// A SUB or FUNCTION defined in a module, or one declared from a library.
struct Routine {
  std::string name;
  Position position;
  bool isFunction = false;
  std::vector<Param> params;
  ValueType result = ValueType::None;
  Position resultPosition;
  Block body;
  int module = 0;

  // Library routines (DECLARE ... LIB)
  bool fromLibrary = false;
  bool dynamic = false;  // bound while the program runs
  std::string library;   // the file name
  std::string alias;     // the exported name; the routine's own name when empty
  // A DECLARE without LIB only repeats a routine of the program.
  bool forward = false;

  // Exports of a library build
  bool exported = false;
  int ordinal = 0;  // 0: numbered in alphabetical order

  // checked
  std::vector<Symbol*> locals;      // parameters, the result variable, DIMs
  Symbol* resultSymbol = nullptr;
  bool handler = false;             // stored in an event slot
  bool fpuHandler = false;          // named by ON FLOAT ERROR
  bool called = false;
  bool crossModule = false;         // called or named from another module
  bool recursive = false;           // in a cycle of calls: each call has its own variables
  bool gosub = false;               // holds a GOSUB
  std::string cppName;
};

struct Module {
  int file = 0;
  std::string name;  // base name of the file
  Block main;        // statements outside routines
  std::vector<std::unique_ptr<Routine>> routines;  // definitions and declarations, in order
  std::vector<RecordType> types;                   // TYPE declarations, in order
};

}  // namespace tbc
