// Random programs for the differential test: a small tree of the language's
// forms, printed as BASIC source, generated at random from a seed, and
// evaluated by a reference written from the language's rules (not from the
// compiler). A program the reference cannot predict exactly (a number whose
// text would need rounding, a floating-point flag in a trapped program, a
// loop too long) is not used.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace difftest {

enum class Type { Integer, Double, String };

struct Expr;
using ExprPtr = std::shared_ptr<const Expr>;

struct Expr {
  enum class Kind { Integer, Double, String, Variable, Element, Call, Builtin, Unary, Binary };
  Kind kind = Kind::Integer;
  Type type = Type::Integer;  // as the language's rules type it
  int64_t integer = 0;        // Integer: 0 to 2147483647
  long double number = 0;     // Double: a multiple of 1/8, written with a point
  std::string text;           // String
  std::string name;           // variable, array, routine, built-in; the operator of Unary and Binary
  std::vector<ExprPtr> args;  // operands, arguments, an element's index
};

struct Stmt;
using StmtPtr = std::shared_ptr<const Stmt>;
using Block = std::vector<StmtPtr>;

struct CaseItem {
  enum class Kind { Value, Range, Is } kind = Kind::Value;
  std::string op;  // Is: the comparison
  ExprPtr first, last;
};

struct CaseClause {
  std::vector<CaseItem> items;
  Block body;
};

struct Stmt {
  enum class Kind { Assign, Print, If, For, While, Do, Select, Call, ExitFor, ExitDo, ExitRoutine };
  Kind kind = Kind::Print;
  std::string name;                                 // Assign: the target; loops: the counter; Call: the SUB
  ExprPtr index;                                    // Assign to an element
  ExprPtr value;                                    // Assign; Select: the selector
  std::vector<ExprPtr> items;                       // Print; Call: the arguments
  bool keepLine = false;                            // Print ending in ';'
  bool oneLine = false;                             // If on one line
  std::vector<std::pair<ExprPtr, Block>> branches;  // If: IF, then ELSEIF
  bool hasElse = false;                             // If, Select
  Block elseBody;                                   // If, Select
  ExprPtr from, to;                                 // For
  int step = 1;                                     // For
  int passes = 0;                                   // While, Do: the passes its counter allows
  int form = 0;                                     // Do: WHILE/UNTIL at DO/LOOP; Call: with CALL
  Block body;                                       // For, While, Do
  std::vector<CaseClause> cases;                    // Select
};

struct Variable {
  std::string name;
  Type type = Type::Integer;
  int bound = -1;  // an array's upper bound; -1 for a scalar
};

struct Routine {
  std::string name;
  bool isFunction = false;
  Type result = Type::Integer;
  std::vector<Variable> params;
  std::vector<Variable> locals;
  Block body;
};

struct Program {
  bool trapped = false;  // with a floating-point handler
  std::vector<Variable> globals;
  std::vector<Routine> routines;
  Block main;
};

// The program's source text.
std::string Source(const Program& p);

Program Generate(uint64_t seed, bool trapped);

struct Outcome {
  bool usable = false;
  std::string output;  // what the program writes, CR LF line ends included
  std::string why;     // why it is not usable
};
Outcome Evaluate(const Program& p);

// Programs one step smaller than p (a statement gone, a block replaced by its
// body, an expression replaced by a part of it or a literal), for shrinking a
// failure.
std::vector<Program> Shrinks(const Program& p);

}  // namespace difftest
