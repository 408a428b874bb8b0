// A program with a floating-point handler: outside the handler, a numeric
// expression is x87 code in source order, each instruction that computes a
// value followed by a call of FpuCheck (loads and stores are not), nothing
// folded, the operands that are not arithmetic made first. That code must be
// the very sequence the C++ path makes, since the handler empties the
// register stack and what follows depends on it; this back end builds it for
// an expression stored into a variable, and refuses the other places a
// checked expression stands (conditions, PRINT, arguments, FOR, SELECT CASE).
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
// expression beyond it is computed in parts there (not yet here).
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

void Lowering::RefuseChecked(const Expr& e) const {
  if (checked_ && IsX87(e)) Refuse(e.position);
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
  CheckedCode(*s.value);
  Mem place = variables_.at(target.symbol);
  if (target.type == ValueType::Integer) a_.FistpInt32(place);
  else a_.FstpExtended(place);
}

// A PRINT item: the value kept in the frame, then written as a number that
// need not be whole (whatever the expression's type), as the C++ path's
// value of such code is.
void Lowering::CheckedPrintItem(const Expr& e) {
  CheckedCode(e);
  Mem slot = At(EBP, FrameSlot(12));
  a_.FstpExtended(slot);
  a_.AluImm(kSub, ESP, 12);
  a_.FldExtended(slot);
  a_.FstpExtended(At(ESP));
  CallEntry(kFloatText);
}

// The value in ST(0): the operands that are not arithmetic made in source
// order (a variable is read where the code loads it), then the code, each
// computing instruction checked.
void Lowering::CheckedCode(const Expr& root) {
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
  std::map<const Expr*, Mem> made;
  std::map<const Expr*, bool> integer;
  for (const Expr* e : leaves) {
    if (e->constant.known() && e->type != ValueType::String) continue;
    bool whole = e->type == ValueType::Integer;
    if (e->kind == Expr::Kind::Name && e->ref == Expr::Ref::Variable && e->symbol != nullptr && e->args.empty() &&
        !e->symbol->isArray() && !e->symbol->reference && variables_.count(e->symbol) &&
        (whole || e->type == ValueType::Double)) {
      made[e] = variables_.at(e->symbol);
    } else if (e->kind == Expr::Kind::Name && e->ref == Expr::Ref::Builtin && (whole || e->type == ValueType::Double)) {
      // A built-in that is not arithmetic (RND, TIMER, LEN...): made first,
      // its value kept in the frame.
      Mem slot = At(EBP, FrameSlot(whole ? 4 : 12));
      if (whole) {
        Integer(*e);
        a_.Store(slot, EAX);
      } else {
        Number(*e);
        a_.FstpExtended(slot);
      }
      made[e] = slot;
    } else {
      Refuse(e->position);
    }
    integer[e] = whole;
  }
  if (X87Operands(root, made) > kStretchOperands) Refuse(root.position);
  auto check = [&]() { a_.Call(kFpuCheck.symbol); };
  std::function<void(const Expr&)> build = [&](const Expr& e) {
    auto found = made.find(&e);
    if (found != made.end()) {
      if (integer[&e]) a_.FildInt32(found->second);
      else a_.FldExtended(found->second);
      return;
    }
    if (ConstantLeaf(e) || !IsX87(e)) {
      // A value known when compiling: a load, like any other operand.
      long double v = e.constant.AsNumber();
      if (v == 0 && !std::signbit(v)) a_.Fldz();
      else if (v == 1) a_.Fld1();
      else if (e.constant.type == ValueType::Integer) a_.FildInt32(IntegerConstant(static_cast<int32_t>(v)));
      else a_.FldExtended(NumberConstant(v));
      return;
    }
    if (e.kind == Expr::Kind::Name) {
      // A function: its arguments on the stack, the last on top, then its code.
      for (const auto& a : e.args) build(*a);
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
      return;
    }
    if (e.kind == Expr::Kind::Unary) {
      if (e.unary != UnaryOp::Negate) Refuse(e.position);
      build(*e.args[0]);
      a_.Fchs();
      check();
      return;
    }
    BinaryOp op = e.binary;
    if (op != BinaryOp::Add && op != BinaryOp::Subtract && op != BinaryOp::Multiply && op != BinaryOp::Divide &&
        op != BinaryOp::Power)
      Refuse(e.position);
    build(*e.args[0]);
    build(*e.args[1]);
    switch (op) {
      case BinaryOp::Add: a_.FArithPop(kFAdd, 1); break;
      case BinaryOp::Subtract: a_.FArithPop(kFSub, 1); break;  // ST(1) - ST(0)
      case BinaryOp::Multiply: a_.FArithPop(kFMul, 1); break;
      case BinaryOp::Divide: a_.FArithPop(kFDiv, 1); break;    // ST(1) / ST(0)
      default: a_.Call(kNumberPowerX87.symbol); break;
    }
    check();
  };
  build(root);
}

}  // namespace native
}  // namespace tbc
