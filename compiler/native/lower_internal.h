// The lowering's state, shared by its files: the program and its object
// (lower_program.cpp), statements (lower_statements.cpp), expressions
// (lower_expressions.cpp), built-ins (lower_builtins.cpp), arrays and
// records (lower_arrays.cpp, lower_records.cpp), files and the registry
// (lower_objects.cpp), DECLAREd routines (lower_declared.cpp), the checked
// x87 code of programs with a floating-point handler (lower_fpu.cpp) and
// the order of its operands (lower_order.cpp), the integer path and its kin
// (lower_integers.cpp, lower_inline.cpp, lower_append.cpp,
// lower_views.cpp), the objects of window programs (lower_gui.cpp) and a
// library's start (lower_library.cpp).
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
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "../builtins.h"
#include "../check.h"
#include "../integers.h"
#include "../sequence.h"
#include "coff_object.h"
#include "entries.h"
#include "lower.h"
#include "x86.h"

namespace tbc {
namespace native {

struct GuiRow;  // a member of a window program's object (lower_gui.cpp)
// Which pointer takes an object's record before a member acts on it.
enum class GuiSelect { None, Current, Query };

// Thrown at a construct the back end cannot lower yet.
struct NotYet {
  Position at;
};

// Whether making e may use the accumulator or run program code: a call of a
// routine, or a concatenation of its own.
bool Hazard(const Expr& e);
// Whether e reads the variable (by its own name).
bool Reads(const Expr& e, const Symbol* variable);

// The jump condition under which a comparison of signed integers holds.
Cond SignedCondition(BinaryOp op);

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
  // A variable's address, or an element's whose indexes were made: EAX.
  void PlaceAddress(const Expr& e, const std::vector<Mem>& indexes);
  static int32_t ElementBytes(ValueType type) { return type == ValueType::String ? 20 : type == ValueType::Double ? 12 : 4; }
  bool IsElement(const Expr& e) const;
  Mem Temp();                                       // a statement's temporary string
  int32_t FrameSlot(int32_t bytes);                 // EBP-relative room of the routine
  void CallEntry(const RuntimeEntry& entry);
  // The address of a place (static, or in the frame): pushed (through ECX),
  // or into a register.
  void PushPlace(const Mem& m);
  void AddressOf(Reg r, const Mem& m);
  void StoreAddressOf(const Mem& to, const Mem& m);  // m's address into [to], through ECX if need be
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
  bool X87Scratch(const Expr& e) const;  // such code's value is a scratch INTEGER
  bool Folded(const Expr& e) const;      // a constant used as one
  // Checked code as an operand of anything else: its value made exactly in
  // the frame, then read from there (into EAX, or onto the register stack,
  // as integer says); false for any other value.
  bool CheckedValue(const Expr& e, bool integer);
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
  void IntegerOperand(const X87Operand& o);  // EAX
  // An argument rounded as the call is made ('I', 'P', 'U' or 'C', as Arguments
  // names them), into the argument's place at ESP.
  struct Rounded {
    X87Operand value;
    int32_t at;
    char kind;
  };
  bool RoundedLater(const Expr& e) const;
  X87Operand LaterOperand(const Expr& e, bool disturbedAfter);
  void StoreRounded(const std::vector<Rounded>& rounded);
  Mem CheckedCompare(BinaryOp op, const X87Operand& left, const X87Operand& right);
  void FitsInteger(const Mem& value, Assembler::Label no);
  void CheckedFor(const Stmt& s);
  X87Operand StandingOperand(const Expr& e);
  bool StandingVariable(const Expr& e) const;
  void CheckedElementAssign(const Stmt& s);
  void CheckedSelect(const Stmt& s);

  // ---- lower_order.cpp
  // The operands of an operation in a program with a floating-point
  // handler, in the sequencing stage's order: those it makes first whole,
  // then the others' early parts; their values wait in premade_.
  std::vector<const Expr*> OperandsOf(const Expr& e) const;
  void MakeOperands(const std::vector<const Expr*>& operands, const Future& outer);
  void OperandsFirst(const Expr& e);  // as e's making starts
  void MakeWhole(const Expr& e);
  void Prepare(const Expr& e, const Future& future);
  void BeginEarly(const Expr& e, const Future& future);
  bool TakePremade(const Expr& e, X87Operand& o);
  Future FutureOf(const Expr& e) const;
  bool TakePremadeText(const Expr& e);

  // ---- lower_declared.cpp
  void CheckLibraryRoutine(const Routine& r);
  void PlaceLibraryRoutines();
  void BindLibraryRoutines(int module);
  void CallLibraryRoutine(const Routine& r);  // its arguments made, on the stack

  // ---- lower_objects.cpp
  static bool IsFileObject(const Symbol& s) { return s.object == ObjectKind::File || s.object == ObjectKind::Registry; }
  void PlaceFileObject(const Symbol& s);  // a FILE's or REGISTRY's record
  bool IsObjectMember(const Expr& e) const;  // a member of a FILE or REGISTRY
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
  void CaseClauses(const Stmt& s, const std::function<void(const CaseItem&, Assembler::Label match)>& test);
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
  void JumpWhen(const Expr& condition, bool truth, Assembler::Label to);
  // Whether a FOR loop goes on with value (in ST(0), popped): up to end with
  // a step of 0 or more, down to it with a negative one; never with a step or
  // an end that is not a number. Jumps to yes, or falls through.
  void ForContinues(const Mem& end, const Mem& step, Assembler::Label yes);

  // ---- lower_expressions.cpp
  void Integer(const Expr& e);   // EAX, as a store into an INTEGER makes it
  void Number(const Expr& e);    // ST(0)
  Storage String(const Expr& e);  // EAX:EDX, and where the text lives
  Storage Text(const Expr& e);    // a string, or a number as the text PRINT and + make
  // Text(e) pushed for a call: its length, what `between` pushes, then its
  // address; a literal's as two immediates.
  Storage PushText(const Expr& e, const std::function<void()>& between = nullptr);
  void NumberToText(const Expr& e);
  bool Leaf(const Expr& e) const;  // a constant or a variable: loaded with no call
  // Whether e is made on the x87 stack alone (then in how many of its
  // registers); a right operand that needs at most kAboveLeft is made above
  // the left, which keeps every expression within four.
  bool OnFpuStack(const Expr& e, int& depth);
  static constexpr int kAboveLeft = 3;
  void Arithmetic(const Expr& e);
  void Compare(const Expr& e);     // EAX: 1 or 0
  void CompareTexts(const Expr& e);
  // = or <> of texts, one a literal of at most one byte: ZF set when they
  // are the same; false, with nothing made, for any other comparison.
  bool CompareWithByte(const Expr& e);
  // EAX \ ECX or EAX MOD ECX into EAX, as the rules give them.
  void IntegerDivide(bool quotient);
  void IntegerOperation(const Expr& e);
  Storage Concat(const Expr& e);
  void BeginConcat(const Expr& e);  // all but the last piece's append
  // A SUB or FUNCTION of the program: its arguments in source order, each
  // made into the room of its parameter, then the call; the routine takes
  // them off (stdcall). A FUNCTION's result comes as its kind of value does.
  void CallRoutine(const Expr& e);
  // ---- lower_integers.cpp
  // The integer path: operations that the integer plan shows exact in a
  // 32- or 64-bit integer are made in the integer unit. Not in a program
  // with a floating-point handler, which keeps its x87 code.
  bool Planned() const { return !program_.trapped; }
  // Whether e is made as an exact whole number: an INTEGER value, or a wide
  // one (asks the plan, so before e's operands are made).
  bool Exact(const Expr& e);
  bool WideNode(const Expr& e) { return Planned() && integers_.Wide(e); }
  // An exact e as a 64-bit integer in EDX:EAX.
  void Wide64(const Expr& e);
  // A wide e stored into an INTEGER (EAX), and as a number (ST(0)).
  void IntegerOfWide(const Expr& e);
  void NumberOfWide(const Expr& e);
  // A constant INTEGER or an INTEGER variable: loaded with no call and no
  // other register than ECX.
  bool SimpleInteger(const Expr& e) const;
  void LoadSimple(Reg r, const Expr& e);
  // Two INTEGERs made in order: the left in EAX, the right in ECX.
  void IntegerPair(const Expr& l, const Expr& r);
  // A comparison of two exact operands: the flags set (EAX and ECX used) and
  // the condition under which it holds; false, with nothing made, when an
  // operand is not exact or they take 64 bits.
  bool CompareInIntegers(const Expr& e, Cond& holds);
  // Both exact, in 64 bits: EAX 1 or 0.
  bool CompareWide(const Expr& e);
  // An element of a fixed array whose indexes after the first are simple:
  // its address in EAX, the bounds checked, with no slot of the frame. False
  // when an index is not simple.
  // An INTEGER or number element of a static fixed array whose indexes are
  // constants or variables: found in registers by ElementNow.
  bool FastElement(const Expr& e) const;
  bool ElementNow(const Expr& e);
  bool SimpleIndexes(const Expr& e) const;
  // FOR with an INTEGER counter whose end and step are exact: the tests and
  // sums in the integer unit. False, with nothing made, otherwise.
  bool IntegerFor(const Stmt& s);
  const Stmt* Accumulation(const tbc::Block& body);
  // An INTEGER that the number in the slot (ST(0) stored there) fits: at
  // least -2147483648.5, below 2147483647.5; else on to exit.
  void JumpUnlessFits(const Mem& sum, Assembler::Label exit);
  // ---- lower_inline.cpp
  // A call of a small routine of numbers made in place; false, with nothing
  // made, for any other.
  bool InlineCall(const Expr& e);
  bool Inlinable(const Routine& r) const;
  // ---- lower_append.cpp
  // s = s + a + b with nothing after s that reaches s: the pieces appended
  // to s's own block in order. False, with nothing made, otherwise.
  bool AppendInPlace(const Expr& target, const Expr& value);
  static constexpr size_t kShortPiece = 16;  // literal bytes stored in line

  // ---- lower_builtins.cpp
  // An argument of a runtime routine: a value of a kind (S I N P C), or a
  // constant when value is null: an INTEGER, or with kind A the address
  // symbol + constant.
  struct Argument {
    const Expr* value;
    char kind;
    int32_t constant;
    std::string symbol = {};
  };
  static Argument AddressArgument(const Mem& m) { return {nullptr, 'A', m.disp, m.symbol}; }
  // Makes the arguments in source order into a room on the machine stack
  // that the routine then takes: S eight bytes, N twelve, the others four.
  void Arguments(const std::vector<Argument>& args);
  static bool Pushable(const Argument& a);
  void PushArgument(const Argument& a);  // a Pushable one
  void PositionOf(const Expr& e);  // EAX
  void PositionOfTop();             // the number on the register stack, into EAX
  void UnsignedOfTop();             // the same, as USTR$ takes it
  bool DisturbedAfter(const std::vector<Argument>& args, size_t i) const;
  // A built-in function's value, where its kind of value comes.
  void Builtin(const Expr& e);
  // LEFT$, RIGHT$ or MID$: StrSlice's arguments (text, begin, count) in the
  // room on the machine stack, begin and count within the text.
  void SliceArguments(const Expr& e);
  // ---- lower_views.cpp
  // A LEFT$, RIGHT$ or MID$ as the bytes of its text it names, in EAX:EDX,
  // with no copy: only for a use that takes the length and reads the bytes
  // before anything changes the text. False, with nothing made, for any
  // other e.
  bool TextView(const Expr& e);
  bool MidInRegisters(const Expr& e);
  static const Expr& Unwrapped(const Expr& e);

  // ---- lower_gui.cpp
  int DataSection();                     // .data, made at its first use
  void PlaceObject(const Symbol& s);     // a record of the object table, or a timer
  void WriteGuiTable();                  // the object table, its size, the generation
  void StartWindows();                   // the form class, first in the main code
  Mem ObjectPlace(const Symbol& s);
  void DimObjects(const Stmt& s);        // the constructors of a DIM's objects
  void GuiAct(const GuiRow& row, const Expr& member, const Expr* value, char valueKind);
  void SelectRecord(GuiSelect select, const Mem& place);
  void MemberWrite(const Stmt& s);
  void MemberCall(const Expr& c);
  Storage MemberRead(const Expr& e);
  bool GuiBuiltin(const Expr& e);        // MSGBOX, TITLE, DOEVENTS, the event values
  void OpenConsole();
  // ---- lower_library.cpp
  static std::string ExportSymbol(const Routine& r);  // _Name@bytes
  bool LowerLibraryStart();              // false when the library needs none

  // A number in ST(0) stored into an INTEGER: EAX.
  void RoundToInteger();
  // Whether evaluating e may overwrite a text of the ring or the accumulator.
  bool Disturbs(const Expr& e) const;
  // A copy of the text in EAX:EDX into a temporary of the statement.
  void CopyToTemp();
  void LoadTemp(const Mem& temp);  // a temporary's text into EAX:EDX

  const Program& program_;
  IntegerPlan integers_;
  Assembler a_;
  CoffObject object_;
  int text_ = 0, rdata_ = 0, header_ = 0, bss_ = 0;
  int data_ = -1;                                   // .data, made when a record or a DYNAMIC routine needs it
  std::map<const Routine*, uint32_t> dynamicRoutines_;  // each one's name and address, in .data
  std::map<const Symbol*, Mem> variables_;  // each variable's storage (an array's first element)
  std::map<const Symbol*, uint32_t> selections_;     // a rich edit's CHARRANGE, in .bss
  Assembler::Label libraryStart_ = 0;                // where LibraryStart begins
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
  Sequencer sequencer_;
  std::map<const Expr*, X87Operand> premade_;  // values made early, until their use
  std::set<const Expr*> prepared_;             // operations whose operands were made early
  std::map<const Expr*, Future> futures_;      // each planned operand's
  std::map<const Expr*, Mem> premadeTexts_;    // texts made early, each in a temporary
  std::set<const Expr*> begunConcats_;         // concatenations begun early
  std::set<const Expr*> lastAppended_;         // of those, and of any begun, the ones complete
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
