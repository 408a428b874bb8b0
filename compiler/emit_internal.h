// The emitter's state, shared by its files: the module and its declarations
// (emit_cpp.cpp), statements (emit_statements.cpp), expressions
// (emit_expressions.cpp) and the x87 code of a program with a
// floating-point handler (emit_x87.cpp).
#pragma once

#include <map>
#include <sstream>

#include "emit_cpp.h"
#include "integers.h"
#include "sequence.h"

namespace tbc {

// C++ spellings that the emitter's files share (emit_expressions.cpp).
std::string CppText(const std::string& bytes);  // a string literal of the bytes
std::string NumberLiteral(long double v);
std::string IntegerLiteral(int32_t v);
const char* CppOperator(BinaryOp op);
// A comparison of numbers as the runtime makes it: an unordered pair is equal.
const char* NumberComparison(BinaryOp op);
// The C++ type that holds a value (an element of an array) of this type.
std::string StorageType(ValueType type, const RecordInfo* record);

struct Value {
  std::string cpp;
  ValueType type = ValueType::Integer;
  bool boolean = false;      // a C++ comparison: 0 or 1
  Storage storage = Storage::Temp;
  std::string descriptor;    // the StringDescriptor that holds a string, when there is one
  uint32_t effects = 0;      // of evaluating cpp
  uint32_t reads = 0;        // what evaluating cpp reads (Reads, Holds)
  bool lvalue = false;       // cpp names storage: a variable, an element, a local
  bool made = false;         // a string that exists already (a variable, a local, the
                             // accumulator's content), rather than one cpp makes
  bool wide = false;         // a DOUBLE that is an exact whole number in an int64_t (the integer path)
  bool view = false;         // a piece of another text, in place: no NUL after it
  std::string narrow;        // a wide value's C++ as stored into an INTEGER, when cheaper than StoreInteger

  bool integral() const { return type == ValueType::Integer || boolean || wide; }
};

class Emitter {
 public:
  Emitter(const Program& program, const std::vector<SourceFile>& files, int module);
  std::string Run();

 private:
  // ---- emit_cpp.cpp: the module
  void EmitDeclarations(std::ostringstream& out);
  void EmitRoutinePrototypes(std::ostringstream& out);
  void EmitBody(std::ostringstream& out);
  void EmitModuleStart(std::ostringstream& out);
  void EmitData(std::ostringstream& out);
  void EmitRoutine(std::ostringstream& out, const Routine& r);
  std::string RoutineSignature(const Routine& r, bool definition) const;
  bool Quiet(const Block& block);
  // A number of a quiet routine lives on the stack.
  bool OnStack(const Routine& r, const Symbol& s) const {
    return quiet_ && !r.recursive && !s.reference && !s.isArray() && (s.type == ValueType::Integer || s.type == ValueType::Double);
  }
  std::string Storage(const Symbol& s) const;
  std::string Reset(const Symbol& s) const;
  std::string View(const Symbol& s) const;
  static std::string Release(ValueType type, const RecordInfo* record);
  void EmitRecords(std::ostringstream& out);

  // ---- emit_statements.cpp
  void Line(const std::string& text);
  void Comment(const Stmt& s);
  void EmitBlock(const Block& block);
  void EmitStatement(const Stmt& s);
  void EmitDim(const Stmt& s);
  void EmitAssign(const Stmt& s);
  bool AppendInPlace(const Expr& target, const Expr& value);
  void EmitBuiltinAssign(const Stmt& s);
  void EmitCallStatement(const Stmt& s);
  void EmitPrint(const Stmt& s);
  void EmitInput(const Stmt& s);
  void EmitIf(const Stmt& s);
  void EmitFor(const Stmt& s);
  void EmitWhile(const Stmt& s);
  void EmitDo(const Stmt& s);
  void EmitSelect(const Stmt& s);
  void EmitExit(const Stmt& s);
  void EmitOnJump(const Stmt& s);
  void EmitRead(const Stmt& s);
  void EmitSwap(const Stmt& s);
  void EmitRedim(const Stmt& s);
  std::string TargetPlace(const Expr& t, Future future);
  void EmitEnd(const Stmt& s);
  std::string Template(const char* text, const Expr& member, const std::vector<std::string>& args,
                       const std::string& value);
  void OpenScope();
  void CloseScope();

  // ---- emit_expressions.cpp
 public:
  Value Emit(const Expr& e, Future future);
  const Summary& Summarize(const Expr& e) { return sequencer_.Summarize(e); }
 private:
  Value EmitConstant(const Constant& c);
  Value EmitName(const Expr& e, Future future);
  Value EmitElement(const Expr& e, Future future);
  Value EmitCall(const Expr& e, Future future);
  Value EmitBuiltin(const Expr& e, Future future);
  Value EmitMember(const Expr& e, Future future);
  Value EmitUnary(const Expr& e, Future future);
  Value EmitBinary(const Expr& e, Future future);
  Value EmitConcat(const Expr& e, Future future);
  Value EmitCompare(const Expr& e, Future future);
  // The values of one operation's operands, in source order (see Sequencer);
  // with kinds (argument letters), a text in a record's buffer is copied.
  std::vector<Value> EmitOperands(const std::vector<const Expr*>& operands, Future future,
                                  const char* kinds = nullptr, bool allFirst = false);
  // The arguments as C++; what evaluating them inline does is added to into.
  std::vector<std::string> EmitArgs(const std::vector<const Expr*>& args, const char* kinds, Future future,
                                    Value& into);
  // A value used inside another adds what it does and reads to that one.
  static void Absorb(Value& into, const Value& operand);
  std::string Convert(const Value& v, char kind);
  // Settle: made at once when the future would disturb it; Evaluate: made at
  // once in any case; Now: made at once when it has an effect.
  Value Settle(Value v, Future future);
  Value Evaluate(Value v, Future future);
  Value Now(Value v, Future future);
  Value Copy(const Value& v);
  // A number as the text a concatenation joins.
  Value Text(const Value& v);
  std::string NewLocal();
  std::string NewTemp();
 public:
  std::string AsInteger(const Value& v);
  std::string AsWide(const Value& v);
  std::string AsNumber(const Value& v);
  std::string AsString(const Value& v);
  std::string AsText(const Value& v);
  std::string NumberText(const Value& v);
  std::string Condition(const Expr& e);
  std::string Index(const Expr& e, Future future);
  std::string IndexOf(const Symbol& s, const std::vector<Value>& indexes, size_t first = 0);
  // A variable, an element or a field: the index expressions it needs, in
  // source order, then its C++ place from their values.
  void CollectIndexes(const Expr& e, std::vector<const Expr*>& out);
  std::string PlaceOf(const Expr& e, const std::vector<Value>& indexes, size_t& next);
  Value EmitPlace(const Expr& e, Future future);
  // A number as an operand of x87 code: a value in memory that the code can
  // address without a register.
  Value InMemory(const Value& v);
 private:

  // ---- emit_x87.cpp
  // The operands of x87 code that are made before it, in memory.
  struct X87Operands {
    std::map<const Expr*, std::string> cpp;
    std::map<const Expr*, ValueType> types;
  };
  bool X87(const Expr& e) const;
  std::string X87Storage() const;
  int X87OperandCount(const Expr& e, const X87Operands& in) const;
  void SplitX87(const Expr& e, X87Operands& in);
  Value X87Code(const Expr& root, X87Operands& in, const Symbol* destination);
  // With a destination (a variable of the expression's kind of number), the
  // result is stored there by the x87 code itself.
  Value EmitX87(const Expr& e, Future future, const Symbol* destination = nullptr);
  // One operation on two operands that name storage (for FOR and CASE).
  Value EmitX87Binary(BinaryOp op, const Value& left, const Value& right);
  std::string ConstantOperand(long double value, bool integer);

  const Program& program_;
  const std::vector<SourceFile>& files_;
  int module_;
  const Module& m_;

  // The routine being emitted (null for the main code) and where its code goes.
  const Routine* routine_ = nullptr;
  bool checked_ = false;  // x87 code with a check after each computing instruction
  bool quiet_ = false;    // the routine being emitted is Quiet
  std::ostringstream* out_ = nullptr;
  int indent_ = 1;
  int lastLine_ = -1;
  int locals_ = 0;      // t1, t2... in the routine
  int temps_ = 0;       // string temporaries in use by the statement
  int tempBase_ = 0;    // temporaries kept alive by an enclosing statement
  int maxTemps_ = 0;
  bool functionEnd_ = false;  // EXIT FUNCTION jumps to the function's end
  enum class LoopKind { For, While, Do };
  struct Loop {
    LoopKind kind;
    int label;  // non-zero once an EXIT needs a label after the loop
  };
  std::vector<Loop> loops_;
  int labels_ = 0;
  std::vector<std::string> constants_;  // the x87 constants of the module
  std::map<std::string, std::string> constantNames_;
  Sequencer sequencer_;
  IntegerPlan integers_;
  // The integer path: whether e computes in integer registers here. Asked
  // before e's operands are emitted.
  bool Wide(const Expr& e) { return !checked_ && integers_.Wide(e); }
  // e is used where the sign of a zero makes no difference.
  void SignIgnored(const Expr& e) { integers_.SignIgnored(e); }
};

}  // namespace tbc
