// The checker's state, shared by its three files: the program and its
// declarations (check.cpp), statements (check_statements.cpp) and
// expressions (check_expressions.cpp).
#pragma once

#include <map>
#include <set>

#include "check.h"
#include "foreign.h"

namespace tbc {

struct Call {
  Routine* callee;
  Position position;
};

class Checker {
 public:
  Checker(std::vector<Module>& modules, const std::vector<SourceFile>& files, Program& program,
          Diagnostics& diagnostics)
      : modules_(modules), files_(files), program_(program), diagnostics_(diagnostics) {}

  void Run();

  // ---- check.cpp
 private:
  void Error(Position position, const std::string& message) { diagnostics_.error(position, message); }
  void Warning(Position position, const std::string& message) { diagnostics_.warning(position, message); }
  void CheckOptions();
  void DeclareTypes();
  // The TYPE a name gives, or null; reports an unknown one when asked.
  const RecordInfo* FindType(const std::string& upper) const;
  void DeclareRoutines();
  void CheckSignature(Routine& r);
  void DecideKind();
  void DeclareBlock(Block& block, bool topLevel);
  void DeclareDim(DimItem& item, Position statement, bool topLevel);
  void DeclareObject(DimItem& item, Symbol& s, bool topLevel);
  void EvaluateConsts(Block& block);
  Symbol* NewSymbol(Symbol::Kind kind, const std::string& name, Position position);
  bool Declare(Symbol* symbol);
  void CheckRoutine(Routine& r);
  void CheckRecursion();
  void NumberExports();
  void NameEverything();
  void CheckRegisterDepth();
  void CheckWindowProgram();
  void DecideCanvas();

  // ---- check_statements.cpp
  void CheckBlock(Block& block);
  void CheckStatement(Stmt& s);
  void CheckAssign(Stmt& s);
  bool CheckBuiltinAssign(Stmt& s);
  void CheckCallStatement(Stmt& s);
  void CheckPrint(Stmt& s);
  void CheckInput(Stmt& s);
  void CheckIf(Stmt& s);
  void CheckFor(Stmt& s);
  void CheckLoop(Stmt& s);
  void CheckSelect(Stmt& s);
  void CheckExit(Stmt& s);
  void CheckOnFloatError(Stmt& s);
  void CheckDimStatement(Stmt& s);
  void PlaceObject(DimItem& item, Symbol& object);
  void CheckCondition(Expr* e);
  void CheckLabel(Stmt& s);
  void CheckJump(Stmt& s);
  void CheckData(Stmt& s);
  void CheckTargets(Stmt& s);
  void CheckRedim(Stmt& s);
  // Labels of the routine or main code just checked: each jump finds its own.
  void ResolveJumps();


  // ---- check_expressions.cpp
 public:
  // The type of e; annotates e and its children. Error types are silent. A
  // whole record is a value only where wholeRecord says so.
  ValueType CheckExpr(Expr& e, bool wholeRecord = false);
 private:
  ValueType CheckName(Expr& e);
  ValueType CheckMember(Expr& e, bool statement);
  ValueType CheckField(Expr& e);
  // object.name where object is a record: its field.
  bool RecordMember(Expr& e);
  // An argument that names a whole array (for an array parameter, LBOUND...).
  Symbol* ArrayArgument(Expr& arg, const std::string& what);
  ValueType CheckUnary(Expr& e);
  ValueType CheckBinary(Expr& e);
  ValueType CheckCall(Expr& e, Routine& r, bool statement);
  ValueType CheckBuiltin(Expr& e, const Builtin& b, bool statement);
  bool CheckArgs(Expr& e, const char* kinds, const char* what, size_t first = 0);
  bool CheckArg(Expr& arg, char kind, const std::string& what);
  bool CheckTarget(Expr& e, const char* what);
  const Member* FindMember(Expr& e, Symbol& object, bool statement);
  Symbol* FindVariable(Expr& e);
  void Fold(Expr& e);
  void FoldBound(Expr& e);

  struct Found {
    Symbol* symbol = nullptr;
    Routine* routine = nullptr;
    const Builtin* builtin = nullptr;
  };
  Found Lookup(const std::string& upper) const;
  bool Undeclared(Expr& e, const std::string& name, Position position);
  // A statement or function of other BASICs that the program does not declare
  // (DEF FN, RESUME, EOF): refused with its own message, its arguments unchecked.
  bool RefuseForeign(Expr& e);
  bool UsedTooEarly(const Symbol& s, Position use);
  bool Allowed(uint32_t programs, Position position, const std::string& what);

  std::vector<Module>& modules_;
  const std::vector<SourceFile>& files_;
  Program& program_;
  Diagnostics& diagnostics_;

  std::vector<std::map<std::string, Symbol*>> moduleScopes_;
  std::vector<std::map<std::string, Routine*>> moduleLibraries_;
  std::map<std::string, Routine*> routines_;
  std::map<std::string, RecordInfo*> types_;
  std::map<std::string, Symbol*> localScope_;
  std::set<std::string> undeclared_;
  std::map<Routine*, std::vector<Call>> calls_;
  bool hasDynamic_ = false;

  int module_ = 0;
  Routine* routine_ = nullptr;  // null in the main code
  bool declarationsOnly_ = false;
  int depth_ = 0;  // nesting of the blocks being checked
  struct Loop {
    Stmt::Kind kind;
    std::string counter;
  };
  std::vector<Loop> loops_;

  // Labels and jumps of the code being checked. A block is known by its
  // number; a label may be reached from its own block and the blocks inside it.
  struct LabelInfo {
    Position position;
    std::vector<int> blocks;
    int dataIndex = 0;  // the DATA items before it
  };
  struct Jump {
    Stmt* statement;
    std::string label;
    Position position;
    std::vector<int> blocks;
  };
  std::map<std::string, LabelInfo> labels_;
  std::vector<Jump> jumps_;
  std::vector<int> blocks_;
  int nextBlock_ = 0;
};

}  // namespace tbc
