// Expressions, in source order, each to the place its kind of value comes
// in: an INTEGER in EAX, a number in ST(0), a text in EAX:EDX. Numbers are
// computed as the rules say, in the x87's extended precision; an operation
// that the integer path computes in a 64-bit integer gives the same exact
// whole number there, so one x87 computation serves both.
#include <algorithm>
#include <climits>
#include <cmath>

#include "../sequence.h"
#include "lower_internal.h"

namespace tbc {
namespace native {

namespace {

bool IsVariable(const Expr& e) { return e.kind == Expr::Kind::Name && e.ref == Expr::Ref::Variable; }

bool IsCall(const Expr& e) { return e.kind == Expr::Kind::Name && e.ref == Expr::Ref::Routine && e.routine != nullptr; }

bool IsBuiltin(const Expr& e) {
  return e.kind == Expr::Kind::Name && e.ref == Expr::Ref::Builtin && e.builtin != nullptr;
}

bool IsStr(const Expr& e) {
  return e.kind == Expr::Kind::Name && e.ref == Expr::Ref::Builtin && e.builtin != nullptr &&
         e.builtin->special == Special::Str;
}

bool IsArithmetic(BinaryOp op) {
  return op == BinaryOp::Add || op == BinaryOp::Subtract || op == BinaryOp::Multiply || op == BinaryOp::Divide ||
         op == BinaryOp::Power;
}

}  // namespace

bool Hazard(const Expr& e) {
  if (IsCall(e) || e.kind == Expr::Kind::Member) return true;
  if (IsConcat(e) && !e.constant.known()) return true;
  for (const auto& a : e.args)
    if (Hazard(*a)) return true;
  return false;
}

// The condition under which "ST(0) above ST(i)" (or, for integers, the
// comparison of the left with the right) makes the comparison true.
Cond SignedCondition(BinaryOp op) {
  switch (op) {
    case BinaryOp::Equal: return kEqual;
    case BinaryOp::NotEqual: return kNotEqual;
    case BinaryOp::Less: return kLess;
    case BinaryOp::Greater: return kGreater;
    case BinaryOp::LessEqual: return kLessEqual;
    default: return kGreaterEqual;
  }
}

// EAX \ ECX or EAX MOD ECX into EAX: \ truncates toward zero; a zero
// divisor, and the one quotient beyond 32 bits (-2147483648 \ -1), give
// -2147483648, the integer indefinite. MOD takes the dividend's sign; by -1
// it is 0.
void Lowering::IntegerDivide(bool quotient) {
  Assembler::Label zero = a_.NewLabel(), divide = a_.NewLabel(), done = a_.NewLabel();
  a_.Test(ECX, ECX);
  a_.Jcc(kEqual, zero);
  a_.AluImm(kCmp, ECX, -1);
  a_.Jcc(kNotEqual, divide);
  if (quotient) a_.Neg(EAX);
  else a_.Alu(kXor, EAX, EAX);
  a_.Jmp(done);
  a_.Bind(divide);
  a_.Cdq();
  a_.Idiv(ECX);
  if (!quotient) a_.Mov(EAX, EDX);
  a_.Jmp(done);
  a_.Bind(zero);
  a_.MovImm(EAX, INT32_MIN);
  a_.Bind(done);
}

bool Lowering::IsElement(const Expr& e) const {
  if (e.kind == Expr::Kind::Field) return IsField(e);
  if (e.kind != Expr::Kind::Name || e.ref != Expr::Ref::Variable || e.symbol == nullptr || !variables_.count(e.symbol))
    return false;
  if (e.symbol->arrayRecord()) return !e.args.empty() && e.args.size() <= kArrayDimensions;
  return e.symbol->fixedArray() && e.args.size() == e.symbol->bounds.size();
}

std::vector<Mem> Lowering::Indexes(const Expr& e) {
  // A field's are those of the element it stands in.
  if (e.kind == Expr::Kind::Field) return Indexes(*e.args[0]);
  std::vector<Mem> slots;
  for (const auto& index : e.args) {
    Integer(*index);
    Mem slot = At(EBP, FrameSlot(4));
    a_.Store(slot, EAX);
    slots.push_back(slot);
  }
  return slots;
}

// Each index less the lower bound, compared unsigned with the last place:
// one outside (below too) goes to the routine's index error. Row by row,
// the last index varying fastest.
void Lowering::Element(const Expr& e, const std::vector<Mem>& indexes) {
  if (e.kind == Expr::Kind::Field) {
    FieldPlace(e, indexes);
    return;
  }
  const Symbol& s = *e.symbol;
  if (s.arrayRecord()) {
    RecordElement(e, indexes);
    return;
  }
  for (size_t k = 0; k < s.bounds.size(); ++k) {
    int32_t lower = s.lower(k);
    int64_t last = int64_t{s.bounds[k]} - lower;
    a_.Load(EDX, indexes[k]);
    if (lower != 0) a_.AluImm(kSub, EDX, lower);
    a_.AluImm(kCmp, EDX, static_cast<int32_t>(last));
    a_.Jcc(kAbove, indexError_);
    indexChecks_ = true;
    if (k == 0) {
      a_.Mov(EAX, EDX);
    } else {
      a_.ImulImm(EAX, EAX, static_cast<int32_t>(last + 1));
      a_.Alu(kAdd, EAX, EDX);
    }
  }
  a_.ImulImm(EAX, EAX, SizeOf(s.type, s.record));
  const Mem& base = variables_.at(&s);
  if (base.base == kNoBase) {
    a_.AddAddress(EAX, base.symbol, base.disp);
    return;
  }
  // A recursive routine's array, in its frame.
  a_.AluImm(kAdd, EAX, base.disp);
  a_.Alu(kAdd, EAX, static_cast<Reg>(base.base));
}

bool Lowering::Leaf(const Expr& e) const {
  if (e.constant.known()) return e.constant.type != ValueType::String;
  // An element found from simple indexes uses the integer unit only.
  if (FastElement(e)) return true;
  return IsVariable(e) && e.symbol != nullptr && !e.symbol->isArray() && variables_.count(e.symbol) &&
         e.type != ValueType::String;
}

// Leaves, negations and + - * / of them: made on the x87 stack alone, with
// no call and no machine stack, in depth registers of it (the right operand
// of each operation made above the left when it needs at most three).
bool Lowering::OnFpuStack(const Expr& e, int& depth) {
  if (Leaf(e)) {
    depth = 1;
    return true;
  }
  if (e.kind == Expr::Kind::Unary && e.unary == UnaryOp::Negate && !WideNode(e)) return OnFpuStack(*e.args[0], depth);
  if (e.kind != Expr::Kind::Binary || !IsArithmetic(e.binary) || e.binary == BinaryOp::Power ||
      e.type == ValueType::String || WideNode(e))
    return false;
  int left = 0, right = 0;
  if (!OnFpuStack(*e.args[0], left) || !OnFpuStack(*e.args[1], right)) return false;
  depth = right <= kAboveLeft ? std::max(left, right + 1) : std::max(left, right);
  return true;
}

bool Lowering::Disturbs(const Expr& e) const {
  if (IsConcat(e) && !e.constant.known()) return true;
  if (e.kind == Expr::Kind::Name && (e.ref == Expr::Ref::Builtin || e.ref == Expr::Ref::Routine)) return true;
  if (e.kind == Expr::Kind::Member) return true;
  for (const auto& a : e.args)
    if (Disturbs(*a)) return true;
  return false;
}

void Lowering::RoundToInteger() {
  // fistp rounds to nearest, ties to even (the control word since start-up);
  // a value out of range, or not a number, stores -2147483648.
  a_.Push(ECX);
  a_.FistpInt32(At(ESP));
  a_.Pop(EAX);
}

void Lowering::Integer(const Expr& expr) {
  if (CheckedValue(expr, true)) return;
  OperandsFirst(expr);
  // Stored into an INTEGER, a value's zero has no sign.
  integers_.SignIgnored(expr);
  const Expr& e = Unwrapped(expr);
  integers_.SignIgnored(e);
  if (WideNode(e)) {
    IntegerOfWide(e);
    return;
  }
  if (e.constant.known()) {
    if (e.constant.type == ValueType::Integer) {
      a_.MovImm(EAX, e.constant.integer);
      return;
    }
    if (e.constant.type == ValueType::String) Refuse(e.position);
    Number(e);
    RoundToInteger();
    return;
  }
  if (IsElement(e) && e.type == ValueType::Integer) {
    if (!ElementNow(e)) Element(e, Indexes(e));
    a_.Load(EAX, At(EAX));
    return;
  }
  if (IsVariable(e) && e.type == ValueType::Integer) {
    a_.Load(EAX, Variable(e));
    return;
  }
  if (IsObjectMember(e) && e.type == ValueType::Integer) {
    ObjectMember(e);
    return;
  }
  if (e.kind == Expr::Kind::Member && e.type == ValueType::Integer) {
    MemberRead(e);
    return;
  }
  if (IsCall(e) && e.type == ValueType::Integer) {
    CallRoutine(e);
    return;
  }
  if (IsBuiltin(e) && e.type == ValueType::Integer) {
    Builtin(e);
    return;
  }
  if (e.kind == Expr::Kind::Unary && e.unary == UnaryOp::Not) {
    Integer(*e.args[0]);
    a_.Test(EAX, EAX);
    a_.Setcc(kEqual, EAX);
    a_.MovzxByte(EAX, EAX);
    return;
  }
  if (e.kind == Expr::Kind::Binary && IsComparison(e.binary)) {
    if (e.args[0]->type == ValueType::String) CompareTexts(e);
    else Compare(e);
    return;
  }
  if (e.kind == Expr::Kind::Binary && !IsArithmetic(e.binary)) {
    IntegerOperation(e);
    return;
  }
  if (e.type == ValueType::Double || (e.kind == Expr::Kind::Unary) ||
      (e.kind == Expr::Kind::Binary && IsArithmetic(e.binary))) {
    Number(e);
    RoundToInteger();
    return;
  }
  Refuse(e.position);
}

void Lowering::Number(const Expr& expr) {
  if (CheckedValue(expr, false)) return;
  OperandsFirst(expr);
  const Expr& e = Unwrapped(expr);
  if (e.constant.known()) {
    if (e.constant.type == ValueType::String) Refuse(e.position);
    long double v = e.constant.AsNumber();
    if (v == 0 && !std::signbit(v)) a_.Fldz();
    else if (v == 1) a_.Fld1();
    else a_.FldExtended(NumberConstant(v));
    return;
  }
  if (WideNode(e)) {
    NumberOfWide(e);
    return;
  }
  if (e.kind == Expr::Kind::Unary && e.unary == UnaryOp::Negate) {
    Number(*e.args[0]);
    a_.Fchs();
    return;
  }
  if (e.kind == Expr::Kind::Binary && IsArithmetic(e.binary) && e.type != ValueType::String) {
    Arithmetic(e);
    return;
  }
  if (IsElement(e) && e.type == ValueType::Double) {
    if (!ElementNow(e)) Element(e, Indexes(e));
    a_.FldExtended(At(EAX));
    return;
  }
  if (IsVariable(e) && e.type == ValueType::Double) {
    a_.FldExtended(Variable(e));
    return;
  }
  if (IsCall(e) && e.type == ValueType::Double) {
    CallRoutine(e);
    return;
  }
  if (IsBuiltin(e) && e.type == ValueType::Double) {
    Builtin(e);
    return;
  }
  if (IsVariable(e) && e.type == ValueType::Integer && !IsElement(e)) {
    a_.FildInt32(Variable(e));
    return;
  }
  if (e.type == ValueType::Integer) {
    Integer(e);
    a_.Push(EAX);
    a_.FildInt32(At(ESP));
    a_.Pop(ECX);
    return;
  }
  Refuse(e.position);
}

// + - * / in extended precision, the left operand first; ^ through the
// runtime's NumberPower.
void Lowering::Arithmetic(const Expr& e) {
  const Expr& l = *e.args[0];
  const Expr& r = *e.args[1];
  if (e.binary == BinaryOp::Power) {
    a_.AluImm(kSub, ESP, 24);
    Number(l);
    a_.FstpExtended(At(ESP));
    Number(r);
    a_.FstpExtended(At(ESP, 12));
    CallEntry(kNumberPower);
    return;
  }
  Number(l);
  int depth = 0;
  if (Leaf(r) || (OnFpuStack(r, depth) && depth <= kAboveLeft)) {
    // ST(0) is the right operand, ST(1) the left.
    Number(r);
    FpuOp op = e.binary == BinaryOp::Add ? kFAdd : e.binary == BinaryOp::Subtract ? kFSub
               : e.binary == BinaryOp::Multiply ? kFMul : kFDiv;
    a_.FArithPop(op, 1);
    return;
  }
  // The left waits on the machine stack while the right is made (which may
  // call the runtime); then ST(0) is the left, ST(1) the right.
  a_.AluImm(kSub, ESP, 12);
  a_.FstpExtended(At(ESP));
  Number(r);
  a_.FldExtended(At(ESP));
  a_.AluImm(kAdd, ESP, 12);
  FpuOp op = e.binary == BinaryOp::Add ? kFAdd : e.binary == BinaryOp::Subtract ? kFSubR
             : e.binary == BinaryOp::Multiply ? kFMul : kFDivR;
  a_.FArithPop(op, 1);
}

// \ MOD AND OR XOR: both operands stored into INTEGERs, in order.
void Lowering::IntegerOperation(const Expr& e) {
  const Expr& r = *e.args[1];
  bool quotient = e.binary == BinaryOp::IntDivide;
  if ((quotient || e.binary == BinaryOp::Modulo) && r.constant.known() && r.constant.type == ValueType::Integer &&
      r.constant.integer != 0 && r.constant.integer != -1) {
    // A constant divisor other than 0 and -1: the division alone.
    Integer(*e.args[0]);
    a_.MovImm(ECX, r.constant.integer);
    a_.Cdq();
    a_.Idiv(ECX);
    if (!quotient) a_.Mov(EAX, EDX);
    return;
  }
  if ((e.binary == BinaryOp::And || e.binary == BinaryOp::Or || e.binary == BinaryOp::Xor) && r.constant.known() &&
      r.constant.type == ValueType::Integer) {
    Integer(*e.args[0]);
    a_.AluImm(e.binary == BinaryOp::And ? kAnd : e.binary == BinaryOp::Or ? kOr : kXor, EAX, r.constant.integer);
    return;
  }
  IntegerPair(*e.args[0], r);
  switch (e.binary) {
    case BinaryOp::And: a_.Alu(kAnd, EAX, ECX); return;
    case BinaryOp::Or: a_.Alu(kOr, EAX, ECX); return;
    case BinaryOp::Xor: a_.Alu(kXor, EAX, ECX); return;
    case BinaryOp::IntDivide:
    case BinaryOp::Modulo: {
      IntegerDivide(e.binary == BinaryOp::IntDivide);
      return;
    }
    default: Refuse(e.position);
  }
}

// A comparison of numbers: of two INTEGERs in the integer unit, else in the
// x87, where a pair with no order (a value that is not a number) is equal:
// = and <= and >= hold, < > <> do not.
void Lowering::Compare(const Expr& e) {
  const Expr& l = *e.args[0];
  const Expr& r = *e.args[1];
  Cond holds;
  if (CompareInIntegers(e, holds)) {
    a_.Setcc(holds, EAX);
    a_.MovzxByte(EAX, EAX);
    return;
  }
  if (CompareWide(e)) return;
  Number(l);
  bool leftOnTop;
  if (Leaf(r)) {
    Number(r);
    leftOnTop = false;
  } else {
    a_.AluImm(kSub, ESP, 12);
    a_.FstpExtended(At(ESP));
    Number(r);
    a_.FldExtended(At(ESP));
    a_.AluImm(kAdd, ESP, 12);
    leftOnTop = true;
  }
  // FUCOMIP sets "above" only for an ordered ST(0) > ST(i), and "below or
  // equal" for ST(0) <= ST(i) or no order: > and <= ask with the left on top,
  // < and >= with the right; = and <> need ZF only, which no order sets.
  bool wantLeft = e.binary == BinaryOp::Greater || e.binary == BinaryOp::LessEqual;
  bool wantRight = e.binary == BinaryOp::Less || e.binary == BinaryOp::GreaterEqual;
  if ((wantLeft && !leftOnTop) || (wantRight && leftOnTop)) a_.Fxch(1);
  a_.Fucomip(1);
  a_.FstpSt(0);
  Cond c = e.binary == BinaryOp::Equal ? kEqual : e.binary == BinaryOp::NotEqual ? kNotEqual
           : (e.binary == BinaryOp::Greater || e.binary == BinaryOp::Less) ? kAbove : kBelowEqual;
  a_.Setcc(c, EAX);
  a_.MovzxByte(EAX, EAX);
}

// Texts compare byte by byte as unsigned, a shorter one first when it is the
// start of the other (StrCompare); = holds for the same bytes, as many.
void Lowering::CompareTexts(const Expr& e) {
  if (CompareWithByte(e)) {
    a_.Setcc(e.binary == BinaryOp::Equal ? kEqual : kNotEqual, EAX);
    a_.MovzxByte(EAX, EAX);
    return;
  }
  a_.AluImm(kSub, ESP, 16);
  // A slice is compared where it lies, unless making the right may change
  // the text under the left.
  if (Disturbs(*e.args[1]) || !TextView(*e.args[0])) {
    // The left as it was made: a copy when making the right may overwrite
    // it (the ring, the accumulator), or, by a call, change the variable or
    // the FUNCTION result it lies in.
    Storage left = String(*e.args[0]);
    bool temporary = left == Storage::Ring || left == Storage::Accumulator;
    if ((temporary && Disturbs(*e.args[1])) ||
        (left != Storage::Literal && left != Storage::Temp && Hazard(*e.args[1])))
      CopyToTemp();
  }
  a_.Store(At(ESP), EAX);
  a_.Store(At(ESP, 4), EDX);
  if (!TextView(*e.args[1])) String(*e.args[1]);
  a_.Store(At(ESP, 8), EAX);
  a_.Store(At(ESP, 12), EDX);
  CallEntry(kStrCompare);
  a_.Test(EAX, EAX);
  a_.Setcc(SignedCondition(e.binary), EAX);
  a_.MovzxByte(EAX, EAX);
}

// = and <> with a literal of at most one byte: the other text's length,
// then its byte, in line; ZF set when they are the same. The literal makes
// nothing, so the order of the two does not show.
bool Lowering::CompareWithByte(const Expr& e) {
  if (e.binary != BinaryOp::Equal && e.binary != BinaryOp::NotEqual) return false;
  auto isByte = [](const Expr& x) {
    return x.constant.known() && x.constant.type == ValueType::String && x.constant.text.size() <= 1;
  };
  int literal = isByte(*e.args[1]) ? 1 : isByte(*e.args[0]) ? 0 : -1;
  if (literal < 0) return false;
  const Expr& other = *e.args[static_cast<size_t>(1 - literal)];
  const std::string& bytes = e.args[static_cast<size_t>(literal)]->constant.text;
  if (!TextView(other)) String(other);
  Assembler::Label done = a_.NewLabel();
  a_.AluImm(kCmp, EDX, static_cast<int32_t>(bytes.size()));
  if (!bytes.empty()) {
    a_.Jcc(kNotEqual, done);
    a_.LoadByte(ECX, At(EAX));
    a_.AluImm(kCmp, ECX, static_cast<uint8_t>(bytes[0]));
  }
  a_.Bind(done);
  return true;
}

void Lowering::CopyToTemp() {
  Mem t = Temp();
  lastTemp_ = t;
  a_.Push(EDX);
  a_.Push(EAX);
  PushPlace(t);
  CallEntry(kStrTemp);
}

void Lowering::LoadTemp(const Mem& temp) {
  Mem length = temp;
  length.disp += 8;
  a_.Load(EAX, temp);
  a_.Load(EDX, length);
}

Storage Lowering::String(const Expr& e) {
  if (TakePremadeText(e)) return Storage::Temp;
  OperandsFirst(e);
  if (e.constant.known()) {
    if (e.constant.type != ValueType::String) Refuse(e.position);
    a_.MovAddress(EAX, ".rdata", static_cast<int32_t>(Literal(e.constant.text)));
    a_.MovImm(EDX, static_cast<int32_t>(e.constant.text.size()));
    return Storage::Literal;
  }
  if (IsElement(e) && e.type == ValueType::String) {
    // An element that has never held a text has no block: (null, 0).
    Element(e, Indexes(e));
    a_.Load(EDX, At(EAX, 8));
    a_.Load(EAX, At(EAX));
    return Storage::Variable;
  }
  if (IsVariable(e) && e.type == ValueType::String) {
    Mem v = Variable(e);
    a_.Load(EAX, v);
    v.disp += 8;  // the descriptor's length
    a_.Load(EDX, v);
    return Storage::Variable;
  }
  if (IsStr(e)) {
    NumberToText(*e.args[0]);
    return Storage::Ring;
  }
  if (IsCall(e) && e.type == ValueType::String) {
    // A recursive FUNCTION's result comes in a temporary of the ring.
    CallRoutine(e);
    return e.routine->recursive ? Storage::Ring : Storage::Result;
  }
  if (IsObjectMember(e) && e.type == ValueType::String) return ObjectMember(e);
  if (IsBuiltin(e) && e.builtin->storage == Storage::FileBuffer && std::string(e.builtin->name) == "READFILE$") {
    ReadWholeFile(e);
    return Storage::FileBuffer;
  }
  if (IsBuiltin(e) && e.type == ValueType::String &&
      (e.builtin->storage == Storage::Ring || e.builtin->storage == Storage::Literal)) {
    Builtin(e);
    return e.builtin->storage;
  }
  if (IsConcat(e)) return Concat(e);
  if (e.kind == Expr::Kind::Member && e.type == ValueType::String) return MemberRead(e);
  Refuse(e.position);
  return Storage::Temp;
}

Storage Lowering::Text(const Expr& e) {
  if (e.type == ValueType::String) return String(e);
  NumberToText(e);
  return Storage::Ring;
}

Storage Lowering::PushText(const Expr& e, const std::function<void()>& between) {
  if (e.type == ValueType::String && e.constant.known() && e.constant.type == ValueType::String) {
    a_.PushImm(static_cast<int32_t>(e.constant.text.size()));
    if (between) between();
    a_.PushAddress(".rdata", static_cast<int32_t>(Literal(e.constant.text)));
    return Storage::Literal;
  }
  Storage storage = Text(e);
  a_.Push(EDX);
  if (between) between();
  a_.Push(EAX);
  return storage;
}

// An INTEGER as its digits; any other number as FloatText writes it.
void Lowering::NumberToText(const Expr& expr) {
  const Expr& e = Unwrapped(expr);
  if (e.type == ValueType::Integer) {
    Integer(e);
    a_.Push(EAX);
    a_.PushImm(1);  // kSignedNumber
    CallEntry(kIntegerText);
    return;
  }
  a_.AluImm(kSub, ESP, 12);
  Number(e);
  a_.FstpExtended(At(ESP));
  CallEntry(kFloatText);
}

// A concatenation is built in the one accumulator. The pieces up to the last
// one that could use the accumulator itself or run program code are made
// first, in order, each kept in a temporary of the statement (a literal
// needs none); then the accumulator starts and takes the pieces in order.
// The pieces that could disturb the accumulator (a call, a concatenation of
// their own) made first and kept, in order; then the accumulator started and
// given the pieces in order, all but the last, which is left to the use (as
// in the C++ path, where the use makes the last append). A concatenation
// begun early waits in the accumulator for its use.
void Lowering::BeginConcat(const Expr& e) {
  std::vector<const Expr*> pieces;
  ConcatPieces(e, pieces);
  size_t early = 0;
  for (size_t i = 0; i < pieces.size(); ++i)
    if (Hazard(*pieces[i])) early = i + 1;
  std::vector<Mem> kept(early);
  for (size_t i = 0; i < early; ++i) {
    if (pieces[i]->constant.known()) continue;
    Text(*pieces[i]);
    CopyToTemp();
    kept[i] = lastTemp_;
  }
  CallEntry(kConcatBegin);
  // The last piece too when it is kept: then all are appended here.
  size_t appended = early == pieces.size() ? pieces.size() : pieces.size() - 1;
  for (size_t i = 0; i < appended; ++i) {
    if (i < early && !pieces[i]->constant.known()) {
      LoadTemp(kept[i]);
      a_.Push(EDX);
      a_.PushAddress(kConcatAccumulator);
      a_.Push(EAX);
    } else {
      PushText(*pieces[i], [&] { a_.PushAddress(kConcatAccumulator); });
    }
    CallEntry(kStrAppend);
  }
  if (early == pieces.size()) lastAppended_.insert(&e);
}

Storage Lowering::Concat(const Expr& e) {
  if (!begunConcats_.erase(&e)) BeginConcat(e);
  if (lastAppended_.erase(&e)) return Storage::Accumulator;
  std::vector<const Expr*> pieces;
  ConcatPieces(e, pieces);
  PushText(*pieces.back(), [&] { a_.PushAddress(kConcatAccumulator); });
  CallEntry(kStrAppend);
  return Storage::Accumulator;
}

void Lowering::CallRoutine(const Expr& e) {
  const Routine& r = *e.routine;
  auto target = routines_.find(&r);
  if ((target == routines_.end() && !r.fromLibrary) || e.args.size() != r.params.size()) Refuse(e.position);
  if (InlineCall(e)) return;
  int32_t bytes = 0;
  for (const Param& p : r.params) bytes += ParamBytes(p);
  if (bytes > 0) a_.AluImm(kSub, ESP, bytes);
  int32_t at = 0;
  // A BYREF argument is the address of the caller's place: an element's
  // indexes are made in their turn, the element itself found (and checked)
  // when all the arguments are made.
  struct Place {
    const Expr* element;
    std::vector<Mem> indexes;
    int32_t at;
  };
  std::vector<Place> elements;
  std::vector<Rounded> rounded;
  for (size_t i = 0; i < e.args.size(); ++i) {
    const Expr& arg = *e.args[i];
    if (r.params[i].dimensions > 0) {
      // An array: the address of its record (or view).
      if (arg.symbol == nullptr || !arg.symbol->isArray() || !variables_.count(arg.symbol) ||
          (arg.symbol->fixedArray() && !views_.count(arg.symbol)))
        Refuse(arg.position);
      ArrayRecordAddress(EAX, *arg.symbol);
      a_.Store(At(ESP, at), EAX);
      at += 4;
      continue;
    }
    if (r.params[i].byReference || r.params[i].type == ValueType::Record) {
      if (IsElement(arg)) {
        elements.push_back({&arg, Indexes(arg), at});
      } else if (arg.kind == Expr::Kind::Name && arg.ref == Expr::Ref::Variable && arg.symbol != nullptr &&
                 !arg.symbol->isArray() && arg.args.empty() && arg.type == r.params[i].type) {
        AddressOf(EAX, Variable(arg));
        a_.Store(At(ESP, at), EAX);
      } else {
        Refuse(arg.position);
      }
      at += 4;
      continue;
    }
    switch (r.params[i].type) {
      case ValueType::Integer:
        if (RoundedLater(arg)) {
          bool later = false;
          for (size_t j = i + 1; j < e.args.size(); ++j) later |= Disturbs(*e.args[j]);
          rounded.push_back({LaterOperand(arg, later), at, 'I'});
          at += 4;
          break;
        }
        Integer(arg);
        a_.Store(At(ESP, at), EAX);
        at += 4;
        break;
      case ValueType::Double:
        Number(arg);
        a_.FstpExtended(At(ESP, at));
        at += 12;
        break;
      case ValueType::String: {
        // The text to its NUL, which must outlive the arguments after it.
        // A record's buffer need not end in a NUL: its text is copied at once.
        Storage storage = String(arg);
        bool later = false;
        for (size_t j = i + 1; j < e.args.size(); ++j) later |= Disturbs(*e.args[j]);
        if (storage == Storage::Record || (storage != Storage::Literal && storage != Storage::Temp && later)) CopyToTemp();
        if (storage == Storage::Variable) {
          // An element with no block reads as "".
          Assembler::Label has = a_.NewLabel();
          a_.Test(EAX, EAX);
          a_.Jcc(kNotEqual, has);
          a_.MovAddress(EAX, kEmptyText);
          a_.Bind(has);
        }
        a_.Store(At(ESP, at), EAX);
        at += 4;
        break;
      }
      default: Refuse(arg.position);
    }
  }
  StoreRounded(rounded);
  for (const Place& p : elements) {
    Element(*p.element, p.indexes);
    a_.Store(At(ESP, p.at), EAX);
  }
  if (r.fromLibrary) CallLibraryRoutine(r);
  else a_.Call(target->second);
}

}  // namespace native
}  // namespace tbc
