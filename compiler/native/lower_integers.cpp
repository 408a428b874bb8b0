// The integer path in machine code: INTEGER operations in EAX (and ECX), an
// exact wide value in EDX:EAX, and the FOR loops of INTEGER counters in the
// integer unit. The integer plan says where this gives what the rules give;
// elsewhere the x87 code of lower_expressions.cpp serves.
#include <climits>

#include "lower_internal.h"

namespace tbc {
namespace native {

namespace {

Cond Unsigned(BinaryOp op) {
  switch (op) {
    case BinaryOp::Equal: return kEqual;
    case BinaryOp::NotEqual: return kNotEqual;
    case BinaryOp::Less: return kBelow;
    case BinaryOp::Greater: return kAbove;
    case BinaryOp::LessEqual: return kBelowEqual;
    default: return kAboveEqual;
  }
}

}  // namespace

bool Reads(const Expr& e, const Symbol* variable) {
  if (e.kind == Expr::Kind::Name && e.ref == Expr::Ref::Variable && e.symbol == variable) return true;
  for (const auto& a : e.args)
    if (Reads(*a, variable)) return true;
  return false;
}

// v = v + x or v = v - x as the whole body: v a DOUBLE variable of the
// program's own, x made on the x87 stack alone without v.
const Stmt* Lowering::Accumulation(const tbc::Block& body) {
  if (body.size() != 1 || body[0]->kind != Stmt::Kind::Assign) return nullptr;
  const Stmt& s = *body[0];
  const Expr& t = *s.target;
  const Expr& v = *s.value;
  if (t.kind != Expr::Kind::Name || t.ref != Expr::Ref::Variable || t.symbol == nullptr || t.symbol->isArray() ||
      t.symbol->reference || !t.args.empty() || t.type != ValueType::Double || !variables_.count(t.symbol))
    return nullptr;
  if (v.kind != Expr::Kind::Binary || (v.binary != BinaryOp::Add && v.binary != BinaryOp::Subtract) ||
      v.type != ValueType::Double)
    return nullptr;
  const Expr& l = *v.args[0];
  const Expr& r = *v.args[1];
  if (l.kind != Expr::Kind::Name || l.ref != Expr::Ref::Variable || l.symbol != t.symbol || !l.args.empty() ||
      l.type != ValueType::Double || Reads(r, t.symbol) || WideNode(v))
    return nullptr;
  int depth = 0;
  if (!OnFpuStack(r, depth) || depth > kAboveLeft) return nullptr;
  return &s;
}

bool Lowering::Exact(const Expr& e) {
  if (!Planned()) return false;
  if (integers_.Of(e).kind == IntegerForm::Kind::Int32) return true;
  return integers_.Wide(e);
}

bool Lowering::SimpleInteger(const Expr& e) const {
  if (e.constant.known()) return e.constant.type == ValueType::Integer;
  return e.kind == Expr::Kind::Name && e.ref == Expr::Ref::Variable && e.symbol != nullptr && !e.symbol->isArray() &&
         e.args.empty() && e.type == ValueType::Integer && variables_.count(e.symbol);
}

void Lowering::LoadSimple(Reg r, const Expr& e) {
  if (e.constant.known()) a_.MovImm(r, e.constant.integer);
  else a_.Load(r, Variable(e));  // through ECX for a BYREF parameter
}

void Lowering::IntegerPair(const Expr& l, const Expr& r) {
  Integer(l);
  if (SimpleInteger(r)) {
    LoadSimple(ECX, r);
    return;
  }
  a_.Push(EAX);
  Integer(r);
  a_.Mov(ECX, EAX);
  a_.Pop(EAX);
}

void Lowering::Wide64(const Expr& e) {
  if (!WideNode(e)) {
    Integer(e);
    a_.Cdq();
    return;
  }
  if (e.kind == Expr::Kind::Unary) {
    Wide64(*e.args[0]);
    a_.Neg(EAX);
    a_.AluImm(kAdc, EDX, 0);
    a_.Neg(EDX);
    return;
  }
  const Expr& l = *e.args[0];
  const Expr& r = *e.args[1];
  if (e.binary == BinaryOp::Multiply && integers_.Of(l).kind == IntegerForm::Kind::Int32 &&
      integers_.Of(r).kind == IntegerForm::Kind::Int32) {
    IntegerPair(l, r);
    a_.ImulWide(ECX);
    return;
  }
  if (e.binary != BinaryOp::Multiply && SimpleInteger(l) && !Hazard(r)) {
    // A constant or INTEGER variable on the left, which making the right
    // (no call) cannot change: the right first, then the left added.
    Wide64(r);
    if (e.binary == BinaryOp::Subtract) {
      a_.Neg(EAX);
      a_.AluImm(kAdc, EDX, 0);
      a_.Neg(EDX);
    }
    a_.Push(EDX);
    LoadSimple(ECX, l);
    a_.Mov(EDX, ECX);
    a_.SarImm(EDX, 31);
    a_.Alu(kAdd, EAX, ECX);
    a_.AluLoad(kAdc, EDX, At(ESP));
    a_.AluImm(kAdd, ESP, 4);
    return;
  }
  // The left waits on the machine stack: [ESP] its low half, [ESP+4] its high.
  Wide64(l);
  a_.Push(EDX);
  a_.Push(EAX);
  Wide64(r);
  switch (e.binary) {
    case BinaryOp::Subtract:
      // The right negated (its magnitude is below 2^63), then added.
      a_.Neg(EAX);
      a_.AluImm(kAdc, EDX, 0);
      a_.Neg(EDX);
      [[fallthrough]];
    case BinaryOp::Add:
      a_.AluLoad(kAdd, EAX, At(ESP));
      a_.AluLoad(kAdc, EDX, At(ESP, 4));
      break;
    default:
      // The low 64 bits of the product: low * low, and the two cross
      // products added to the high half.
      a_.Mov(ECX, EAX);
      a_.ImulLoad(EDX, At(ESP));
      a_.Load(EAX, At(ESP, 4));
      a_.Imul(EAX, ECX);
      a_.Alu(kAdd, EAX, EDX);
      a_.Store(At(ESP, 4), EAX);
      a_.Load(EAX, At(ESP));
      a_.Mul(ECX);
      a_.AluLoad(kAdd, EDX, At(ESP, 4));
      break;
  }
  a_.AluImm(kAdd, ESP, 8);
}

void Lowering::IntegerOfWide(const Expr& e) {
  Assembler::Label done = a_.NewLabel();
  bool narrow = e.kind == Expr::Kind::Binary && integers_.Of(*e.args[0]).kind == IntegerForm::Kind::Int32 &&
                integers_.Of(*e.args[1]).kind == IntegerForm::Kind::Int32;
  if (e.kind == Expr::Kind::Unary && integers_.Of(*e.args[0]).kind == IntegerForm::Kind::Int32) {
    // -(-2147483648) is out of range, which the store makes -2147483648.
    Integer(*e.args[0]);
    a_.Neg(EAX);
    return;
  }
  if (narrow) {
    // Two INTEGERs: the exact result fits exactly when the 32-bit operation
    // does not overflow; one that does not fit stores as -2147483648.
    const Expr& l = *e.args[0];
    const Expr& r = *e.args[1];
    if (r.constant.known() && r.constant.type == ValueType::Integer) {
      Integer(l);
      if (e.binary == BinaryOp::Multiply) a_.ImulImm(EAX, EAX, r.constant.integer);
      else a_.AluImm(e.binary == BinaryOp::Add ? kAdd : kSub, EAX, r.constant.integer);
    } else if (SimpleInteger(r)) {
      Integer(l);
      Mem m = Variable(r);
      if (e.binary == BinaryOp::Multiply) a_.ImulLoad(EAX, m);
      else a_.AluLoad(e.binary == BinaryOp::Add ? kAdd : kSub, EAX, m);
    } else {
      IntegerPair(l, r);
      if (e.binary == BinaryOp::Multiply) a_.Imul(EAX, ECX);
      else a_.Alu(e.binary == BinaryOp::Add ? kAdd : kSub, EAX, ECX);
    }
    a_.Jcc(kNoOverflow, done);
  } else {
    Wide64(e);
    // Fits when the high half is the low half's sign.
    a_.Mov(ECX, EAX);
    a_.SarImm(ECX, 31);
    a_.Alu(kCmp, ECX, EDX);
    a_.Jcc(kEqual, done);
  }
  a_.MovImm(EAX, INT32_MIN);
  a_.Bind(done);
}

void Lowering::NumberOfWide(const Expr& e) {
  // Exact: the x87's 64-bit mantissa holds every such value.
  Wide64(e);
  a_.Push(EDX);
  a_.Push(EAX);
  a_.FildInt64(At(ESP));
  a_.AluImm(kAdd, ESP, 8);
}

bool Lowering::CompareInIntegers(const Expr& e, Cond& holds) {
  const Expr& l = *e.args[0];
  const Expr& r = *e.args[1];
  if (l.type == ValueType::String) return false;
  bool narrow = (l.type == ValueType::Integer && r.type == ValueType::Integer) ||
                (Planned() && integers_.Of(l).kind == IntegerForm::Kind::Int32 &&
                 integers_.Of(r).kind == IntegerForm::Kind::Int32);
  if (!narrow) return false;
  if (r.constant.known() && r.constant.type == ValueType::Integer) {
    Integer(l);
    a_.AluImm(kCmp, EAX, r.constant.integer);
  } else {
    IntegerPair(l, r);
    a_.Alu(kCmp, EAX, ECX);
  }
  holds = SignedCondition(e.binary);
  return true;
}

bool Lowering::CompareWide(const Expr& e) {
  const Expr& l = *e.args[0];
  const Expr& r = *e.args[1];
  if (l.type == ValueType::String || !Exact(l) || !Exact(r)) return false;
  // The high halves compared signed; when they are equal, the low halves
  // unsigned.
  Wide64(l);
  a_.Push(EDX);
  a_.Push(EAX);
  Wide64(r);
  Assembler::Label high = a_.NewLabel(), done = a_.NewLabel();
  a_.Load(ECX, At(ESP, 4));
  a_.Alu(kCmp, ECX, EDX);
  a_.Jcc(kNotEqual, high);
  a_.Load(ECX, At(ESP));
  a_.Alu(kCmp, ECX, EAX);
  a_.Setcc(Unsigned(e.binary), EAX);
  a_.Jmp(done);
  a_.Bind(high);
  a_.Setcc(SignedCondition(e.binary), EAX);
  a_.Bind(done);
  a_.MovzxByte(EAX, EAX);
  a_.AluImm(kAdd, ESP, 8);
  return true;
}

bool Lowering::SimpleIndexes(const Expr& e) const {
  for (const auto& index : e.args)
    if (!SimpleInteger(*index)) return false;
  return true;
}

// Each index less its lower bound, compared unsigned with the last place,
// as Element does; the first index made into EAX, the others (simple)
// loaded in turn.
bool Lowering::FastElement(const Expr& e) const {
  if (e.kind != Expr::Kind::Name || e.symbol == nullptr || !e.symbol->fixedArray() || e.symbol->record != nullptr)
    return false;
  if (e.type != ValueType::Integer && e.type != ValueType::Double) return false;
  // A static array: one in a recursive call's frame is found through Element.
  auto place = variables_.find(e.symbol);
  return place != variables_.end() && place->second.base == kNoBase && !place->second.symbol.empty() &&
         SimpleIndexes(e);
}

bool Lowering::ElementNow(const Expr& e) {
  if (!FastElement(e)) return false;
  const Symbol& s = *e.symbol;
  for (size_t k = 0; k < s.bounds.size(); ++k) {
    int32_t lower = s.lower(k);
    int64_t last = int64_t{s.bounds[k]} - lower;
    Reg r = k == 0 ? EAX : EDX;
    if (k == 0) Integer(*e.args[0]);
    else LoadSimple(EDX, *e.args[k]);
    if (lower != 0) a_.AluImm(kSub, r, lower);
    a_.AluImm(kCmp, r, static_cast<int32_t>(last));
    a_.Jcc(kAbove, indexError_);
    indexChecks_ = true;
    if (k > 0) {
      a_.ImulImm(EAX, EAX, static_cast<int32_t>(last + 1));
      a_.Alu(kAdd, EAX, EDX);
    }
  }
  int32_t bytes = ElementBytes(s.type);
  if (bytes == 4) a_.ShlImm(EAX, 2);
  else a_.ImulImm(EAX, EAX, bytes);
  const Mem& base = variables_.at(&s);
  a_.AddAddress(EAX, base.symbol, base.disp);
  return true;
}

void Lowering::JumpUnlessFits(const Mem& sum, Assembler::Label exit) {
  Mem low = NumberConstant(-2147483648.5L), high = NumberConstant(2147483647.5L);
  a_.FldExtended(low);
  a_.FldExtended(sum);
  a_.Fucomip(1);
  a_.FstpSt(0);
  a_.Jcc(kBelow, exit);
  a_.FldExtended(sum);
  a_.FldExtended(high);
  a_.Fucomip(1);
  a_.FstpSt(0);
  a_.Jcc(kBelowEqual, exit);
}

// The start stored into the counter, then the end and the step made once,
// in that order. A start beyond the INTEGER range runs no pass (the counter
// holds -2147483648); after a pass the counter takes the exact sum stored,
// and a sum beyond the range ends the loop. The loop goes on while the
// counter is at most the end with a step of 0 or more, at least the end with
// a negative one.
bool Lowering::IntegerFor(const Stmt& s) {
  const Expr& t = *s.target;
  if (!Planned() || t.type != ValueType::Integer || !Exact(*s.end) || (s.step && !Exact(*s.step))) return false;
  Mem counter = Variable(t);
  Assembler::Label top = a_.NewLabel(), exit = a_.NewLabel(), test = a_.NewLabel(), overflow = a_.NewLabel();
  // The start.
  enum class Start { Fits, Wide, Number } start = Start::Fits;
  Mem startSlot;
  if (integers_.Of(*s.start).kind == IntegerForm::Kind::Int32) {
    Integer(*s.start);
  } else if (Exact(*s.start)) {
    start = Start::Wide;
    startSlot = At(EBP, FrameSlot(8));
    Wide64(*s.start);
    a_.Store(startSlot, EAX);
    a_.Store(At(EBP, startSlot.disp + 4), EDX);
    Assembler::Label fits = a_.NewLabel();
    a_.Mov(ECX, EAX);
    a_.SarImm(ECX, 31);
    a_.Alu(kCmp, ECX, EDX);
    a_.Jcc(kEqual, fits);
    a_.MovImm(EAX, INT32_MIN);
    a_.Bind(fits);
  } else {
    start = Start::Number;
    startSlot = At(EBP, FrameSlot(12));
    Number(*s.start);
    a_.FstpExtended(startSlot);
    a_.FldExtended(startSlot);
    RoundToInteger();
  }
  a_.Store(counter, EAX);
  // The end: 32 bits when an INTEGER, else 64.
  bool wideEnd = integers_.Of(*s.end).kind != IntegerForm::Kind::Int32;
  Mem end = At(EBP, FrameSlot(wideEnd ? 8 : 4));
  if (wideEnd) {
    Wide64(*s.end);
    a_.Store(end, EAX);
    a_.Store(At(EBP, end.disp + 4), EDX);
  } else {
    Integer(*s.end);
    a_.Store(end, EAX);
  }
  // The step: a constant, an INTEGER, or 64 bits.
  bool constantStep = !s.step || (s.step->constant.known() && s.step->constant.type == ValueType::Integer);
  int32_t stepValue = !s.step ? 1 : constantStep ? s.step->constant.integer : 0;
  bool wideStep = !constantStep && integers_.Of(*s.step).kind != IntegerForm::Kind::Int32;
  Mem step;
  if (!constantStep) {
    step = At(EBP, FrameSlot(wideStep ? 8 : 4));
    if (wideStep) {
      Wide64(*s.step);
      a_.Store(step, EAX);
      a_.Store(At(EBP, step.disp + 4), EDX);
    } else {
      Integer(*s.step);
      a_.Store(step, EAX);
    }
  }
  if (start == Start::Wide) {
    a_.Load(EAX, startSlot);
    a_.SarImm(EAX, 31);
    a_.AluLoad(kCmp, EAX, At(EBP, startSlot.disp + 4));
    a_.Jcc(kNotEqual, exit);
  } else if (start == Start::Number) {
    JumpUnlessFits(startSlot, exit);
  }
  // A body that only adds to a DOUBLE keeps it in ST(0) from the first
  // pass to the loop's end, which stores it: the same extended value,
  // without a store and a load at every pass.
  const Stmt* accumulation = Accumulation(s.body);
  Assembler::Label enter = top, leave = exit;
  Mem accumulator;
  if (accumulation != nullptr) {
    enter = a_.NewLabel();
    leave = a_.NewLabel();
    accumulator = Variable(*accumulation->target);
  }
  a_.Load(EAX, counter);
  a_.Jmp(test);

  if (accumulation != nullptr) {
    a_.Bind(enter);
    a_.FldExtended(accumulator);
  }
  a_.Bind(top);
  if (accumulation != nullptr) {
    const Expr& sum = *accumulation->value;
    Number(*sum.args[1]);
    a_.FArithPop(sum.binary == BinaryOp::Add ? kFAdd : kFSub, 1);
  } else {
    loops_.push_back({Stmt::Exits::For, exit});
    Block(s.body);
    loops_.pop_back();
  }
  // The sum, stored; beyond the range it ends the loop.
  a_.Load(EAX, counter);
  if (wideStep) {
    a_.Cdq();
    a_.AluLoad(kAdd, EAX, step);
    a_.AluLoad(kAdc, EDX, At(EBP, step.disp + 4));
    a_.Mov(ECX, EAX);
    a_.SarImm(ECX, 31);
    a_.Alu(kCmp, ECX, EDX);
    a_.Jcc(kNotEqual, overflow);
  } else {
    if (constantStep) a_.AluImm(kAdd, EAX, stepValue);
    else a_.AluLoad(kAdd, EAX, step);
    a_.Jcc(kOverflow, overflow);
  }
  a_.Store(counter, EAX);

  // Whether the counter in EAX goes on: on to yes, or to no. Before the
  // first pass, and after each.
  auto goesOn = [&](Assembler::Label yes, Assembler::Label no) {
    auto compare = [&](bool up) {
      if (!wideEnd) {
        a_.AluLoad(kCmp, EAX, end);
        a_.Jcc(up ? kLessEqual : kGreaterEqual, yes);
        a_.Jmp(no);
        return;
      }
      a_.Cdq();
      a_.AluLoad(kCmp, EDX, At(EBP, end.disp + 4));
      a_.Jcc(up ? kLess : kGreater, yes);
      a_.Jcc(kNotEqual, no);
      a_.AluLoad(kCmp, EAX, end);
      a_.Jcc(up ? kBelowEqual : kAboveEqual, yes);
      a_.Jmp(no);
    };
    if (constantStep) {
      compare(stepValue >= 0);
      return;
    }
    Assembler::Label down = a_.NewLabel();
    Mem sign = wideStep ? At(EBP, step.disp + 4) : step;
    a_.Load(ECX, sign);
    a_.Test(ECX, ECX);
    a_.Jcc(kSign, down);
    compare(true);
    a_.Bind(down);
    compare(false);
  };
  goesOn(top, leave);
  a_.Bind(test);
  goesOn(enter, exit);
  a_.Bind(overflow);
  a_.StoreImm(counter, INT32_MIN);
  if (accumulation != nullptr) {
    a_.Bind(leave);
    a_.FstpExtended(accumulator);
  }
  a_.Bind(exit);
  return true;
}

}  // namespace native
}  // namespace tbc
