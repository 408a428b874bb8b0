// A program with a floating-point handler: outside the handler, a numeric
// expression is x87 code in source order, each instruction that computes a
// value followed by a call of FpuCheck (loads and stores are not), nothing
// folded, the operands that are not arithmetic made first. That code must be
// the very sequence the C++ path makes, since the handler empties the
// register stack and what follows depends on it (and the x87's flags stay
// set until a check sees them, so even unchecked conversions must come where
// the C++ path has them). An expression stored into a plain variable or an
// element, printed, a condition, a FOR loop and a numeric SELECT CASE have
// their own sequences; anywhere else the code's value is made into the frame
// (an argument given as an INTEGER rounded as the call is made). The
// operands come in the order lower_order.cpp plans.
#include <cmath>

#include "lower_internal.h"

namespace tbc {
namespace native {

namespace {

bool ConstantLeaf(const Expr& e) {
  return e.kind == Expr::Kind::Integer || e.kind == Expr::Kind::Number ||
         (e.kind == Expr::Kind::Name && e.ref == Expr::Ref::Constant);
}

// The operands that one stretch of the C++ path's x87 code may have; an
// expression beyond it is computed in parts.
constexpr int kStretchOperands = 27;

// A function's x87 code: its routine (on the register stack), or what the
// code does in line.
enum class Row { Call, Abs, Sqrt, Atn, Log, RoundDown, RoundToZero, Cint };
struct FunctionRow {
  const char* name;
  Row row;
  const RuntimeEntry* entry;
};
const FunctionRow kFunctionRows[] = {
    {"ABS", Row::Abs, nullptr},           {"SQR", Row::Sqrt, nullptr},
    {"ATN", Row::Atn, nullptr},           {"LOG", Row::Log, nullptr},
    {"INT", Row::RoundDown, nullptr},     {"FIX", Row::RoundToZero, nullptr},
    {"CINT", Row::Cint, nullptr},         {"SIN", Row::Call, &kNumberSinX87},
    {"COS", Row::Call, &kNumberCosX87},   {"TAN", Row::Call, &kNumberTanX87},
    {"EXP", Row::Call, &kNumberExpX87},   {"SGN", Row::Call, &kNumberSignX87},
    {"MIN", Row::Call, &kNumberMinX87},   {"MAX", Row::Call, &kNumberMaxX87},
};

}  // namespace

bool Lowering::IsX87(const Expr& e) const {
  if (e.type != ValueType::Integer && e.type != ValueType::Double) return false;
  if (e.kind == Expr::Kind::Unary) return true;
  if (e.kind == Expr::Kind::Binary) return e.args[0]->type != ValueType::String;
  if (e.kind != Expr::Kind::Name || e.ref != Expr::Ref::Builtin || e.builtin == nullptr || e.args.empty()) return false;
  return IsX87Function(*e.builtin, e.args[0]->type);
}

// A value known when compiling that is used as such: in a program with a
// handler only a literal, a named constant, or a value that is no
// arithmetic; arithmetic of constants is computed there as written.
bool Lowering::Folded(const Expr& e) const {
  return e.constant.known() && (!checked_ || ConstantLeaf(e) || !IsX87(e));
}

bool Lowering::X87Scratch(const Expr& e) const {
  if (e.kind == Expr::Kind::Unary) return e.unary == UnaryOp::Not;
  if (e.kind != Expr::Kind::Binary) return false;
  BinaryOp op = e.binary;
  return IsComparison(op) || op == BinaryOp::And || op == BinaryOp::Or || op == BinaryOp::Xor ||
         op == BinaryOp::IntDivide || op == BinaryOp::Modulo;
}

// The C++ path's value of such code is a local in memory (the result stored
// exactly, in extended precision), which the operation around it then reads:
// an INTEGER is rounded as a store into one.
// A value made early is read the same way.
bool Lowering::CheckedValue(const Expr& e, bool integer) {
  X87Operand o;
  if (!TakePremade(e, o)) {
    if (!checked_ || !IsX87(e)) return false;
    o = CheckedOperand(e);
  }
  if (integer) IntegerOperand(o);
  else LoadOperand(o);
  return true;
}

// ON FLOAT ERROR CALL: the handler's address in FpuErrorHandler.
void Lowering::OnFloatError(const Stmt& s) {
  if (s.routine == nullptr) return;
  a_.PushLabel(routines_.at(s.routine));
  a_.Pop(EAX);
  a_.Store(Global(kFpuErrorHandler), EAX);
}

Mem Lowering::IntegerConstant(int32_t value) {
  std::vector<uint8_t> bytes(4);
  for (int i = 0; i < 4; ++i) bytes[static_cast<size_t>(i)] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
  std::string key = "i" + std::string(bytes.begin(), bytes.end());
  auto found = numbers_.find(key);
  if (found == numbers_.end()) found = numbers_.emplace(key, object_.Append(rdata_, bytes, 4)).first;
  return Global(".rdata", static_cast<int32_t>(found->second));
}

int Lowering::X87Operands(const Expr& e, const std::map<const Expr*, Mem>& made) const {
  if (made.count(&e) || ConstantLeaf(e) || !IsX87(e)) return 1;
  if (e.kind == Expr::Kind::Name) {
    int count = X87CodeOperands(*e.builtin);
    for (const auto& a : e.args) count += X87Operands(*a, made);
    return count;
  }
  if (e.kind == Expr::Kind::Unary) return X87Operands(*e.args[0], made) + 1;
  return X87Operands(*e.args[0], made) + X87Operands(*e.args[1], made) + 3;
}

// The value stored into a plain variable, unchecked (a flag the store sets
// waits for the next check).
void Lowering::CheckedAssign(const Stmt& s) {
  const Expr& target = *s.target;
  X87Place result = CheckedCode(*s.value);
  if (!result.onStack) a_.FildInt32(result.scratch);
  Mem place = variables_.at(target.symbol);
  if (target.type == ValueType::Integer) a_.FistpInt32(place);
  else a_.FstpExtended(place);
}

// A numeric variable of the routine's own or the program's, which checked
// code can read where it stands.
bool Lowering::StandingVariable(const Expr& e) const {
  return e.kind == Expr::Kind::Name && e.ref == Expr::Ref::Variable && e.args.empty() && e.symbol != nullptr &&
         !e.symbol->isArray() && !e.symbol->reference && variables_.count(e.symbol) &&
         (e.type == ValueType::Integer || e.type == ValueType::Double);
}

// A value that checked code reads where it stands: one made early, a
// constant, a plain variable; any other made now.
Lowering::X87Operand Lowering::StandingOperand(const Expr& e) {
  X87Operand early;
  if (TakePremade(e, early)) return early;
  if (Folded(e) && e.constant.type == ValueType::Integer)
    return {IntegerConstant(static_cast<int32_t>(e.constant.integer)), true};
  if (Folded(e) && e.constant.type == ValueType::Double) return {NumberConstant(e.constant.number), false};
  if (StandingVariable(e)) return {variables_.at(e.symbol), e.type == ValueType::Integer};
  return CheckedOperand(e);
}

// An element given checked code (as its value or an index): the indexes and
// the value as operands of one operation, in the plan's order; then the
// indexes stored into INTEGERs, the element found, and the value stored into
// it, as the C++ path's one statement does.
void Lowering::CheckedElementAssign(const Stmt& s) {
  const Expr& t = *s.target;
  std::vector<const Expr*> operands;
  for (const auto& index : t.args) operands.push_back(index.get());
  operands.push_back(s.value.get());
  MakeOperands(operands, {});
  std::vector<X87Operand> made;
  for (const auto& index : t.args) made.push_back(StandingOperand(*index));
  X87Operand value = StandingOperand(*s.value);
  std::vector<Mem> indexes;
  for (const X87Operand& o : made) {
    Mem slot = At(EBP, FrameSlot(4));
    IntegerOperand(o);
    a_.Store(slot, EAX);
    indexes.push_back(slot);
  }
  if (t.type == ValueType::Integer) {
    if (value.integer) {
      a_.Load(ECX, value.place);
    } else {
      a_.FldExtended(value.place);
      RoundToInteger();
      a_.Mov(ECX, EAX);
    }
    Element(t, indexes);
    a_.Store(At(EAX), ECX);
    return;
  }
  LoadOperand(value);
  Element(t, indexes);
  a_.FstpExtended(At(EAX));
}

// A PRINT item: a value on the register stack is kept in the frame, then
// written as a number that need not be whole (whatever the expression's
// type), as the C++ path's value of such code is; one in a scratch INTEGER
// (a comparison, NOT, AND...) as an INTEGER.
void Lowering::CheckedPrintItem(const Expr& e) {
  X87Place result = CheckedCode(e);
  if (!result.onStack) {
    a_.Push(result.scratch);
    a_.PushImm(1);  // kSignedNumber
    CallEntry(kIntegerText);
    return;
  }
  Mem slot = At(EBP, FrameSlot(12));
  a_.FstpExtended(slot);
  a_.AluImm(kSub, ESP, 12);
  a_.FldExtended(slot);
  a_.FstpExtended(At(ESP));
  CallEntry(kFloatText);
}

// A condition: a scratch INTEGER as it is, a value on the register stack
// kept in the frame, then rounded as a store into an INTEGER.
void Lowering::CheckedCondition(const Expr& e) {
  X87Place result = CheckedCode(e);
  if (!result.onStack) {
    a_.Load(EAX, result.scratch);
    return;
  }
  Mem slot = At(EBP, FrameSlot(12));
  a_.FstpExtended(slot);
  a_.FldExtended(slot);
  RoundToInteger();
}

void Lowering::Condition(const Expr& e) {
  if (checked_ && IsX87(e)) CheckedCondition(e);
  else Integer(e);
}

// The value of the code: the operands that are not arithmetic made in
// source order (a variable is read where the code loads it); an expression
// too long for one stretch computed in parts, from its first operand on,
// each part's value kept in the frame; then the code, each computing
// instruction checked.
Lowering::X87Place Lowering::CheckedCode(const Expr& root) {
  std::vector<const Expr*> leaves;
  std::function<void(const Expr&)> collect = [&](const Expr& e) {
    bool constant = e.constant.known() && ConstantLeaf(e);
    if (!constant && IsX87(e)) {
      for (const auto& a : e.args) collect(*a);
    } else {
      leaves.push_back(&e);
    }
  };
  collect(root);
  // The operands in the plan's order (see lower_order.cpp), then each one's
  // value in source order: a plain variable is read where the code loads
  // it, unless it was made early.
  std::vector<const Expr*> operands;
  for (const Expr* e : leaves)
    if (!(e->constant.known() && e->type != ValueType::String)) operands.push_back(e);
  MakeOperands(operands, FutureOf(root));
  std::map<const Expr*, Mem> made;
  std::map<const Expr*, bool> integer;
  for (const Expr* e : operands) {
    if (e->type != ValueType::Integer && e->type != ValueType::Double) Refuse(e->position);
    X87Operand o = StandingOperand(*e);
    made[e] = o.place;
    integer[e] = o.integer;
  }
  auto check = [&]() { a_.Call(kFpuCheck.symbol); };
  auto toStack = [&](X87Place& p) {
    if (p.onStack) return;
    a_.FildInt32(p.scratch);
    p.onStack = true;
  };
  auto toScratch = [&](X87Place& p) {
    if (!p.onStack) return;
    p.scratch = At(EBP, FrameSlot(4));
    a_.FistpInt32(p.scratch);
    p.onStack = false;
  };
  std::function<X87Place(const Expr&)> build = [&](const Expr& e) -> X87Place {
    X87Place p;
    auto found = made.find(&e);
    if (found != made.end()) {
      if (integer[&e]) a_.FildInt32(found->second);
      else a_.FldExtended(found->second);
      return p;
    }
    if (ConstantLeaf(e) || !IsX87(e)) {
      // A value known when compiling: a load, like any other operand.
      long double v = e.constant.AsNumber();
      if (v == 0 && !std::signbit(v)) a_.Fldz();
      else if (v == 1) a_.Fld1();
      else if (e.constant.type == ValueType::Integer) a_.FildInt32(IntegerConstant(static_cast<int32_t>(v)));
      else a_.FldExtended(NumberConstant(v));
      return p;
    }
    if (e.kind == Expr::Kind::Name) {
      // A function: its arguments on the stack, the last on top, then its code.
      X87Place x = build(*e.args[0]);
      toStack(x);
      for (size_t i = 1; i < e.args.size(); ++i) {
        X87Place next = build(*e.args[i]);
        toStack(next);
      }
      const FunctionRow* row = nullptr;
      for (const FunctionRow& r : kFunctionRows)
        if (std::string(e.builtin->name) == r.name) row = &r;
      if (row == nullptr) Refuse(e.position);
      switch (row->row) {
        case Row::Call: a_.Call(row->entry->symbol); break;
        case Row::Abs: a_.Fabs(); break;
        case Row::Sqrt: a_.Fsqrt(); break;
        case Row::Atn:
          a_.Fld1();
          a_.Fpatan();
          break;
        case Row::Log:
          a_.Fldln2();
          a_.Fxch(1);
          a_.Fyl2x();
          break;
        case Row::Cint: {
          Mem scratch = At(EBP, FrameSlot(4));
          a_.FistpInt32(scratch);
          a_.FildInt32(scratch);
          break;
        }
        default: {
          // Rounded with the rounding bits set for the one instruction:
          // down for INT, toward zero for FIX.
          Mem saved = At(EBP, FrameSlot(4)), rounding = At(EBP, FrameSlot(4));
          a_.Fnstcw(saved);
          a_.Load(EAX, saved);
          a_.AluImm(kAnd, EAX, 0xF3FF);
          a_.AluImm(kOr, EAX, row->row == Row::RoundDown ? 0x0400 : 0x0C00);
          a_.Store(rounding, EAX);
          a_.Fldcw(rounding);
          a_.Frndint();
          a_.Fldcw(saved);
          break;
        }
      }
      check();
      return x;
    }
    if (e.kind == Expr::Kind::Unary) {
      X87Place x = build(*e.args[0]);
      if (e.unary == UnaryOp::Negate) {
        toStack(x);
        a_.Fchs();
        check();
        return x;
      }
      // NOT of the value stored into an INTEGER.
      toScratch(x);
      a_.Load(ECX, x.scratch);
      a_.Test(ECX, ECX);
      a_.Setcc(kEqual, EAX);
      a_.MovzxByte(EAX, EAX);
      a_.Store(x.scratch, EAX);
      return x;
    }
    BinaryOp op = e.binary;
    bool integral = op == BinaryOp::And || op == BinaryOp::Or || op == BinaryOp::Xor || op == BinaryOp::IntDivide ||
                    op == BinaryOp::Modulo;
    X87Place l = build(*e.args[0]);
    if (integral) toScratch(l);
    else toStack(l);
    X87Place r = build(*e.args[1]);
    if (integral) toScratch(r);
    else toStack(r);
    if (integral) {
      a_.Load(EAX, l.scratch);
      if (op == BinaryOp::And) {
        a_.AluLoad(kAnd, EAX, r.scratch);
      } else if (op == BinaryOp::Or) {
        a_.AluLoad(kOr, EAX, r.scratch);
      } else if (op == BinaryOp::Xor) {
        a_.AluLoad(kXor, EAX, r.scratch);
      } else {
        a_.Load(ECX, r.scratch);
        IntegerDivide(op == BinaryOp::IntDivide);
      }
      a_.Store(l.scratch, EAX);
      return l;
    }
    if (IsComparison(op)) {
      // ST(0) is the right operand; > and <= compare the left one instead.
      Cond c = kEqual;
      switch (op) {
        case BinaryOp::Equal: c = kEqual; break;
        case BinaryOp::NotEqual: c = kNotEqual; break;
        case BinaryOp::Less: c = kAbove; break;
        case BinaryOp::GreaterEqual: c = kBelowEqual; break;
        case BinaryOp::Greater:
          a_.Fxch(1);
          c = kAbove;
          break;
        default:
          a_.Fxch(1);
          c = kBelowEqual;
          break;
      }
      a_.Fcomip(1);
      a_.FstpSt(0);
      X87Place result;
      result.onStack = false;
      result.scratch = At(EBP, FrameSlot(4));
      a_.Setcc(c, EAX);
      a_.MovzxByte(EAX, EAX);
      a_.Store(result.scratch, EAX);
      check();
      return result;
    }
    switch (op) {
      case BinaryOp::Add: a_.FArithPop(kFAdd, 1); break;
      case BinaryOp::Subtract: a_.FArithPop(kFSub, 1); break;  // ST(1) - ST(0)
      case BinaryOp::Multiply: a_.FArithPop(kFMul, 1); break;
      case BinaryOp::Divide: a_.FArithPop(kFDiv, 1); break;    // ST(1) / ST(0)
      default: a_.Call(kNumberPowerX87.symbol); break;
    }
    check();
    return l;
  };
  // Parts, from the first operand on, while the whole is too long.
  std::function<void(const Expr&)> split = [&](const Expr& e) {
    if (made.count(&e) || ConstantLeaf(e) || !IsX87(e)) return;
    for (const auto& a : e.args) split(*a);
    for (const auto& a : e.args) {
      if (X87Operands(e, made) <= kStretchOperands) return;
      if (made.count(a.get()) || ConstantLeaf(*a) || !IsX87(*a)) continue;
      X87Place part = build(*a);
      if (part.onStack) {
        Mem slot = At(EBP, FrameSlot(12));
        a_.FstpExtended(slot);
        made[a.get()] = slot;
        integer[a.get()] = false;
      } else {
        made[a.get()] = part.scratch;
        integer[a.get()] = true;
      }
    }
  };
  split(root);
  return build(root);
}

// A value that checked code reads from memory, made once: checked code's
// own (a value on the register stack kept in the frame), a constant, or any
// other value copied into the frame.
Lowering::X87Operand Lowering::CheckedOperand(const Expr& e) {
  X87Operand early;
  if (TakePremade(e, early)) return early;
  if (checked_ && IsX87(e)) {
    X87Place result = CheckedCode(e);
    if (!result.onStack) return {result.scratch, true};
    Mem slot = At(EBP, FrameSlot(12));
    a_.FstpExtended(slot);
    return {slot, false};
  }
  if (e.constant.known() && e.constant.type == ValueType::Integer)
    return {IntegerConstant(static_cast<int32_t>(e.constant.integer)), true};
  if (e.constant.known() && e.constant.type == ValueType::Double) return {NumberConstant(e.constant.number), false};
  if (e.type == ValueType::Integer) {
    Mem slot = At(EBP, FrameSlot(4));
    Integer(e);
    a_.Store(slot, EAX);
    return {slot, true};
  }
  Mem slot = At(EBP, FrameSlot(12));
  Number(e);
  a_.FstpExtended(slot);
  return {slot, false};
}

void Lowering::LoadOperand(const X87Operand& o) {
  if (o.integer) a_.FildInt32(o.place);
  else a_.FldExtended(o.place);
}

// In checked code a number given as an INTEGER (or a position, or a
// character code) is rounded as the call is made, after all the arguments'
// code, where the C++ path's call expression rounds it: the flags the
// rounding raises wait for the next check.
bool Lowering::RoundedLater(const Expr& e) const {
  return checked_ && (IsX87(e) || e.type == ValueType::Double);
}

// Such a number until then: checked code's value, or a constant, in memory;
// a plain variable read where it stands, as the C++ path reads it, unless a
// later argument may change it; any other value made now.
Lowering::X87Operand Lowering::LaterOperand(const Expr& e, bool disturbedAfter) {
  return disturbedAfter ? CheckedOperand(e) : StandingOperand(e);
}

void Lowering::StoreRounded(const std::vector<Rounded>& rounded) {
  for (const Rounded& r : rounded) {
    if (r.kind == 'P' || r.kind == 'U') {
      if (r.value.integer) {
        a_.Load(EAX, r.value.place);
      } else {
        a_.FldExtended(r.value.place);
        if (r.kind == 'P') PositionOfTop();
        else UnsignedOfTop();
      }
    } else {
      IntegerOperand(r.value);
      if (r.kind == 'C') a_.AluImm(kAnd, EAX, 255);
    }
    a_.Store(At(ESP, r.at), EAX);
  }
}

// EAX: the value in memory as a store into an INTEGER gives it.
void Lowering::IntegerOperand(const X87Operand& o) {
  if (o.integer) {
    a_.Load(EAX, o.place);
    return;
  }
  a_.FldExtended(o.place);
  RoundToInteger();
}

// "left op right" of two values in memory, checked, into a scratch INTEGER:
// the right on top, > and <= compare the left instead.
Mem Lowering::CheckedCompare(BinaryOp op, const X87Operand& left, const X87Operand& right) {
  LoadOperand(left);
  LoadOperand(right);
  Cond c = op == BinaryOp::NotEqual ? kNotEqual : op == BinaryOp::Less ? kAbove
           : op == BinaryOp::GreaterEqual ? kBelowEqual : op == BinaryOp::Greater ? kAbove
           : op == BinaryOp::LessEqual ? kBelowEqual : kEqual;
  if (op == BinaryOp::Greater || op == BinaryOp::LessEqual) a_.Fxch(1);
  Mem result = At(EBP, FrameSlot(4));
  a_.Fcomip(1);
  a_.FstpSt(0);
  a_.Setcc(c, EAX);
  a_.MovzxByte(EAX, EAX);
  a_.Store(result, EAX);
  a_.Call(kFpuCheck.symbol);
  return result;
}

// Whether the value in memory can be stored into an INTEGER: at least
// -2147483648.5, below 2147483647.5, with the compares the C++ compiler
// makes of it (the first one signalling for a value that is not a number).
// Jumps to no when not.
void Lowering::FitsInteger(const Mem& value, Assembler::Label no) {
  a_.FldExtended(NumberConstant(-2147483648.5L));
  a_.FldExtended(value);
  a_.Fcomip(1);
  a_.FstpSt(0);
  a_.Jcc(kBelow, no);
  a_.FldExtended(value);
  a_.FldExtended(NumberConstant(2147483647.5L));
  a_.Fcomip(1);
  a_.FstpSt(0);
  a_.Jcc(kBelowEqual, no);
}

// FOR in checked code: the start stored into the counter; the end and the
// step made once, into memory; whether the step goes up, then whether the
// counter is short of the end both ways, each a checked compare; after a
// pass the checked sum, stored into the counter, compared the same way. An
// INTEGER counter given a start or a sum it cannot hold ends the loop.
void Lowering::CheckedFor(const Stmt& s) {
  const Expr& t = *s.target;
  Mem counter = Variable(t);
  bool integerCounter = t.type == ValueType::Integer;
  X87Operand start = CheckedOperand(*s.start);
  bool fits = integerCounter && !start.integer;
  if (integerCounter) {
    IntegerOperand(start);
    a_.Store(counter, EAX);
  } else {
    LoadOperand(start);
    a_.FstpExtended(counter);
  }
  X87Operand end = CheckedOperand(*s.end);
  X87Operand step = s.step ? CheckedOperand(*s.step) : X87Operand{IntegerConstant(1), true};
  Mem up = CheckedCompare(BinaryOp::GreaterEqual, step, {IntegerConstant(0), true});
  Assembler::Label top = a_.NewLabel(), exit = a_.NewLabel();
  // (up ? value <= end : value >= end), both compares made first.
  auto continues = [&](const X87Operand& value) {
    Mem below = CheckedCompare(BinaryOp::LessEqual, value, end);
    Mem above = CheckedCompare(BinaryOp::GreaterEqual, value, end);
    return std::make_pair(below, above);
  };
  auto decide = [&](std::pair<Mem, Mem> tests) {
    Assembler::Label down = a_.NewLabel(), tested = a_.NewLabel();
    a_.Load(EAX, up);
    a_.Test(EAX, EAX);
    a_.Jcc(kEqual, down);
    a_.Load(EAX, tests.first);
    a_.Jmp(tested);
    a_.Bind(down);
    a_.Load(EAX, tests.second);
    a_.Bind(tested);
    a_.Test(EAX, EAX);
    a_.Jcc(kEqual, exit);
  };
  std::pair<Mem, Mem> first = continues({counter, integerCounter});
  if (fits) FitsInteger(start.place, exit);
  decide(first);
  a_.Bind(top);
  loops_.push_back({Stmt::Exits::For, exit});
  Block(s.body);
  loops_.pop_back();
  Mem sum = At(EBP, FrameSlot(12));
  LoadOperand({counter, integerCounter});
  LoadOperand(step);
  a_.FArithPop(kFAdd, 1);
  a_.Call(kFpuCheck.symbol);
  a_.FstpExtended(sum);
  a_.FldExtended(sum);
  if (integerCounter) {
    RoundToInteger();
    a_.Store(counter, EAX);
  } else {
    a_.FstpExtended(counter);
  }
  std::pair<Mem, Mem> next = continues({sum, false});
  if (integerCounter) FitsInteger(sum, exit);
  decide(next);
  a_.Jmp(top);
  a_.Bind(exit);
}

// SELECT CASE of a number in checked code: the selector made once; each CASE's
// values tested from left to right in checked compares until one matches,
// a range making both its ends and both its compares before it decides.
void Lowering::CheckedSelect(const Stmt& s) {
  X87Operand selector = CheckedOperand(*s.value);
  CaseClauses(s, [&](const CaseItem& item, Assembler::Label match) {
    int32_t used = frameUsed_;
    if (item.kind == CaseItem::Kind::Range) {
      X87Operand first = CheckedOperand(*item.first);
      X87Operand last = CheckedOperand(*item.last);
      Mem above = CheckedCompare(BinaryOp::GreaterEqual, selector, first);
      Mem below = CheckedCompare(BinaryOp::LessEqual, selector, last);
      a_.Load(EAX, above);
      a_.AluLoad(kAnd, EAX, below);
    } else {
      X87Operand value = CheckedOperand(*item.first);
      Mem test = CheckedCompare(item.kind == CaseItem::Kind::Is ? item.op : BinaryOp::Equal, selector, value);
      a_.Load(EAX, test);
    }
    frameUsed_ = used;
    a_.Test(EAX, EAX);
    a_.Jcc(kNotEqual, match);
  });
}

}  // namespace native
}  // namespace tbc
