// The lowering's state, shared by its files: the program and its object
// (lower_program.cpp), statements (lower_statements.cpp) and expressions
// (lower_expressions.cpp).
//
// Values: an INTEGER comes in EAX, a number in ST(0) with the rest of the
// x87 stack empty, a text as a StringValue, its address in EAX and its
// length in EDX. Code between statements keeps the x87 stack empty, as every
// runtime routine expects. A value waiting for the next one lives on the
// machine stack, so that each expression leaves ESP as it found it; the
// arguments of a call get their room first and are stored into it in source
// order.
#pragma once

#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "../builtins.h"
#include "../check.h"
#include "coff_object.h"
#include "entries.h"
#include "lower.h"
#include "x86.h"

namespace tbc {
namespace native {

// Thrown at a construct the back end cannot lower yet.
struct NotYet {
  Position at;
};

class Lowering {
 public:
  explicit Lowering(const Program& program);
  std::string Run();  // the object's bytes; throws NotYet

 private:
  // ---- lower_program.cpp
  void CheckProgram();
  void PlaceVariables();
  void LowerMain();
  void LowerRoutine(const Routine& r);
  // Frame and return of the routine being lowered (the main code or a
  // SUB or FUNCTION): the prologue, and the patch of its frame's size.
  uint32_t Prologue();
  void Epilogue(uint32_t frame);
  void LargeFrame(uint32_t frame);
  void DropGosubs();
  void WriteHeader();
  void WriteData();
  uint32_t Literal(const std::string& bytes);       // a text and its NUL in .rdata
  Mem NumberConstant(long double value);            // an extended value in .rdata
  Mem Variable(const Expr& e);                      // a scalar variable's storage
  // An element of a fixed array: its indexes made in order into slots of the
  // frame, then (Element) checked against the bounds, its address in EAX.
  std::vector<Mem> Indexes(const Expr& e);
  void Element(const Expr& e, const std::vector<Mem>& indexes);
  static int32_t ElementBytes(ValueType type) { return type == ValueType::String ? 20 : type == ValueType::Double ? 12 : 4; }
  bool IsElement(const Expr& e) const;
  Mem Temp();                                       // a statement's temporary string
  int32_t FrameSlot(int32_t bytes);                 // EBP-relative room of the routine
  void CallEntry(const RuntimeEntry& entry);
  // The address of a place (static, or in the frame): pushed (through ECX),
  // or into a register.
  void PushPlace(const Mem& m);
  void AddressOf(Reg r, const Mem& m);
  bool Recursive() const { return routine_ != nullptr && routine_->recursive; }
  // A STRING of one call of a recursive routine, in its frame: empty, then
  // given its block.
  void LocalString(const Mem& m);
  void Refuse(const Position& at) const { throw NotYet{at}; }

  // ---- lower_arrays.cpp
  static int32_t ArrayRecordBytes();
  // The address of the array's ArrayRecord (its own, the caller's, or its view).
  void ArrayRecordAddress(Reg r, const Symbol& s);
  void RecordElement(const Expr& e, const std::vector<Mem>& indexes);
  void PlaceViews();
  void FillViews();
  void PushRelease(const Symbol& s);
  void EraseArray(const Symbol& s);  // all its elements gone: a routine's at each call
  void Redim(const Stmt& s);
  void Bound(const Expr& e);  // LBOUND, UBOUND: EAX
  // The bytes a parameter takes on the stack.
  static int32_t ParamBytes(const Param& p) {
    return p.type == ValueType::Double && !p.byReference && p.dimensions == 0 ? 12 : 4;
  }

  // ---- lower_records.cpp
  // The bytes of a value of the kind, or of a record of the TYPE.
  static int32_t SizeOf(ValueType type, const RecordInfo* record);
  static int32_t FieldOffset(const RecordInfo& record, const std::string& name);
  bool IsRecordVariable(const Expr& e) const;  // a whole record that is no element
  bool IsField(const Expr& e) const;
  void FieldPlace(const Expr& e, const std::vector<Mem>& indexes);  // EAX
  void AssignRecord(const Stmt& s);
  Assembler::Label RecordCopy(const RecordInfo& r);     // (destination, source)
  Assembler::Label RecordRelease(const RecordInfo& r);  // an ElementRelease
  void PushRecordRelease(const RecordInfo* r);           // or 0 for a TYPE without strings
  void PlaceRecordRoutines();
  void RecordRoutines();
  void WriteRecordCopy(const RecordInfo& r);
  void WriteRecordRelease(const RecordInfo& r);
  void ResetRecords(const Symbol& s, const Mem& place, int32_t count);

  // ---- lower_fpu.cpp
  bool IsX87(const Expr& e) const;  // checked x87 code in a program with a handler
  void RefuseChecked(const Expr& e) const;  // such code where it is not built yet
  void OnFloatError(const Stmt& s);
  Mem IntegerConstant(int32_t value);  // an int32 in .rdata
  int X87Operands(const Expr& e, const std::map<const Expr*, Mem>& made) const;
  // Where checked code leaves a value: on the register stack, or in a
  // scratch INTEGER of the frame (a comparison, NOT, AND, OR, XOR, \, MOD).
  struct X87Place {
    bool onStack = true;
    Mem scratch;
  };
  X87Place CheckedCode(const Expr& root);
  void CheckedAssign(const Stmt& s);
  void CheckedPrintItem(const Expr& e);  // its text into EAX:EDX
  void CheckedCondition(const Expr& e);  // EAX
  // A condition of IF, ELSEIF, WHILE or DO: EAX, as a store into an INTEGER.
  void Condition(const Expr& e);
  // A value in memory for checked code: loaded with fild or fld.
  struct X87Operand {
    Mem place;
    bool integer;
  };
  X87Operand CheckedOperand(const Expr& e);
  void LoadOperand(const X87Operand& o);
  Mem CheckedCompare(BinaryOp op, const X87Operand& left, const X87Operand& right);
  void FitsInteger(const Mem& value, Assembler::Label no);
  void CheckedFor(const Stmt& s);
  X87Operand StandingOperand(const Expr& e);
  void CheckedElementAssign(const Stmt& s);
  void CheckedSelect(const Stmt& s);

  // ---- lower_library.cpp
  void CheckLibraryRoutine(const Routine& r);
  void PlaceLibraryRoutines();
  void BindLibraryRoutines(int module);
  void CallLibraryRoutine(const Routine& r);  // its arguments made, on the stack

  // ---- lower_objects.cpp
  void PlaceObject(const Symbol& s);
  bool IsObjectMember(const Expr& e) const;
  // A FILE's or REGISTRY's member: an INTEGER in EAX, a text in EAX:EDX and
  // where it lives.
  Storage ObjectMember(const Expr& e);
  void ReadWholeFile(const Expr& e);  // READFILE$

  // ---- lower_statements.cpp
  void Block(const tbc::Block& block);
  void Statement(const Stmt& s);
  void Assign(const Stmt& s);
  void Print(const Stmt& s);
  void If(const Stmt& s);
  void For(const Stmt& s);
  void While(const Stmt& s);
  void Do(const Stmt& s);
  void Select(const Stmt& s);
  void Exit(const Stmt& s);
  void End();
  void CallStatement(const Stmt& s);
  void Input(const Stmt& s);
  void Gosub(Assembler::Label target);
  Assembler::Label LabelOf(const std::string& label);
  // A target of INPUT: a variable, or an element whose indexes were made.
  // The number in ST(0), or the text in EAX:EDX, stored into it.
  void StoreNumber(const Expr& target, const std::vector<Mem>& indexes);
  void StoreText(const Expr& target, const std::vector<Mem>& indexes, Storage storage);
  // Jumps to no when the condition is false (rounded as a store into an INTEGER).
  void JumpUnless(const Expr& condition, Assembler::Label no);
  // Whether a FOR loop goes on with value (in ST(0), popped): up to end with
  // a step of 0 or more, down to it with a negative one; never with a step or
  // an end that is not a number. Jumps to yes, or falls through.
  void ForContinues(const Mem& end, const Mem& step, Assembler::Label yes);

  // ---- lower_expressions.cpp
  void Integer(const Expr& e);   // EAX, as a store into an INTEGER makes it
  void Number(const Expr& e);    // ST(0)
  Storage String(const Expr& e);  // EAX:EDX, and where the text lives
  Storage Text(const Expr& e);    // a string, or a number as the text PRINT and + make
  void NumberToText(const Expr& e);
  bool Leaf(const Expr& e) const;  // a constant or a variable: loaded with no call
  void Arithmetic(const Expr& e);
  void Compare(const Expr& e);     // EAX: 1 or 0
  void CompareTexts(const Expr& e);
  void IntegerOperation(const Expr& e);
  Storage Concat(const Expr& e);
  // A SUB or FUNCTION of the program: its arguments in source order, each
  // made into the room of its parameter, then the call; the routine takes
  // them off (stdcall). A FUNCTION's result comes as its kind of value does.
  void CallRoutine(const Expr& e);
  // ---- lower_builtins.cpp
  // An argument of a runtime routine: a value of a kind (S I N P C), or a
  // constant INTEGER when value is null.
  struct Argument {
    const Expr* value;
    char kind;
    int32_t constant;
  };
  // Makes the arguments in source order into a room on the machine stack
  // that the routine then takes: S eight bytes, N twelve, the others four.
  void Arguments(const std::vector<Argument>& args);
  void PositionOf(const Expr& e);  // EAX
  // A built-in function's value, where its kind of value comes.
  void Builtin(const Expr& e);
  static const Expr& Unwrapped(const Expr& e);

  // A number in ST(0) stored into an INTEGER: EAX.
  void RoundToInteger();
  // Whether evaluating e may overwrite a text of the ring or the accumulator.
  bool Disturbs(const Expr& e) const;
  // A copy of the text in EAX:EDX into a temporary of the statement.
  void CopyToTemp();

  const Program& program_;
  Assembler a_;
  CoffObject object_;
  int text_ = 0, rdata_ = 0, header_ = 0, bss_ = 0;
  int data_ = -1;                                   // .data, made when a DYNAMIC routine needs it
  std::map<const Routine*, uint32_t> dynamicRoutines_;  // each one's name and address, in .data
  std::map<const Symbol*, Mem> variables_;  // each variable's storage (an array's first element)
  std::map<const Symbol*, Mem> views_;      // the view of each fixed array passed whole
  std::map<const RecordInfo*, Assembler::Label> recordCopies_, recordReleases_;
  std::map<std::string, uint32_t> literals_;
  std::map<std::string, uint32_t> numbers_;      // by their ten bytes
  std::vector<uint32_t> temps_;                   // the statement temporaries of the routine, in .bss
  // A recursive routine's temporaries: each call has its own, in a region
  // of its frame emptied as the call starts and freed as it ends.
  static constexpr int32_t kFrameTemps = 16;
  int32_t frameTempRoom_ = kFrameTemps;  // the region's room, in temporaries
  std::vector<Mem> frameTemps_;
  int32_t frameTempsAt_ = 0;
  Position statement_;  // of the statement being lowered
  bool checked_ = false;  // numeric code checked for the floating-point handler
  size_t tempsUsed_ = 0;                          // by the current statement
  Mem lastTemp_;                                  // the one CopyToTemp took last
  int32_t frame_ = 0;                             // bytes below EBP
  int32_t frameUsed_ = 0;                         // of them, by the statements being lowered
  int commons_ = 0;                               // large arrays named so far
  struct Loop {
    Stmt::Exits kind;
    Assembler::Label exit;
  };
  std::vector<Loop> loops_;
  Assembler::Label end_ = 0;  // the end of the main code
  const Routine* routine_ = nullptr;  // the routine being lowered; null for the main code
  Assembler::Label routineEnd_ = 0;   // where EXIT SUB and EXIT FUNCTION go
  Assembler::Label indexError_ = 0;   // the routine's call of ArrayIndexError
  bool indexChecks_ = false;          // whether the routine jumps there
  std::map<const Routine*, Assembler::Label> routines_;
  std::map<std::string, Assembler::Label> labels_;  // of the routine being lowered
  Mem gosubBase_;                                  // GosubDepth when the routine started
};

}  // namespace native
}  // namespace tbc
