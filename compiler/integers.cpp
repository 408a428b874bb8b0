#include "integers.h"

#include "check.h"
#include "sequence.h"

namespace tbc {

namespace {

constexpr long double kInt32Bound = 2147483648.0L;
// The largest magnitude a 64-bit integer holds.
constexpr long double kWideBound = 9223372036854775807.0L;

IntegerForm Int32() { return {IntegerForm::Kind::Int32, kInt32Bound}; }

IntegerForm WideForm(long double bound, bool negativeZero) {
  if (bound > kWideBound) return {};
  return {IntegerForm::Kind::Wide, bound, negativeZero};
}

// The same variable on both sides: a product of two equal signs, never -0.
bool SameVariable(const Expr& a, const Expr& b) {
  return a.kind == Expr::Kind::Name && b.kind == Expr::Kind::Name && a.ref == Expr::Ref::Variable &&
         b.ref == Expr::Ref::Variable && a.symbol == b.symbol && a.args.empty() && b.args.empty();
}

bool Positive(const Expr& e) { return e.constant.known() && e.constant.AsNumber() > 0; }

// Operations whose INTEGER or 0-or-1 result does not see the sign of a zero
// operand.
bool IntegerOperation(const Expr& e) {
  if (e.kind == Expr::Kind::Unary) return e.unary == UnaryOp::Not;
  if (e.kind != Expr::Kind::Binary || IsConcat(e) || e.args[0]->type == ValueType::String) return false;
  return e.binary != BinaryOp::Add && e.binary != BinaryOp::Subtract && e.binary != BinaryOp::Multiply &&
         e.binary != BinaryOp::Divide && e.binary != BinaryOp::Power;
}

}  // namespace

bool IntegerPlan::Wide(const Expr& e) {
  const IntegerForm& form = Of(e);
  bool wide = form.kind == IntegerForm::Kind::Wide && (!form.negativeZero || signIgnored_.count(&e));
  if (wide || IntegerOperation(e))
    for (const auto& a : e.args) signIgnored_.insert(a.get());
  return wide;
}

const IntegerForm& IntegerPlan::Of(const Expr& e) {
  auto found = forms_.find(&e);
  if (found != forms_.end()) return found->second;
  IntegerForm form;
  if (e.constant.known()) {
    if (e.constant.type == ValueType::Integer) form = Int32();
  } else if (e.type == ValueType::Integer && e.kind != Expr::Kind::Binary && e.kind != Expr::Kind::Unary) {
    // Variables, elements, fields, calls, built-ins and properties of type INTEGER.
    form = Int32();
  } else if (e.kind == Expr::Kind::Unary) {
    const IntegerForm& x = Of(*e.args[0]);
    if (e.unary == UnaryOp::Not) form = Int32();
    else if (x.integral()) form = WideForm(x.bound, true);  // -(0) is -0
  } else if (e.kind == Expr::Kind::Binary && !IsConcat(e) && e.args[0]->type != ValueType::String) {
    const IntegerForm l = Of(*e.args[0]);
    const IntegerForm r = Of(*e.args[1]);
    switch (e.binary) {
      case BinaryOp::Add:  // -0 only from -0 + -0
        if (l.integral() && r.integral()) form = WideForm(l.bound + r.bound, l.negativeZero && r.negativeZero);
        break;
      case BinaryOp::Subtract:  // -0 only from -0 - 0
        if (l.integral() && r.integral()) form = WideForm(l.bound + r.bound, l.negativeZero);
        break;
      case BinaryOp::Multiply:  // a zero times a number of the other sign is -0
        if (l.integral() && r.integral())
          form = WideForm(l.bound * r.bound, !SameVariable(*e.args[0], *e.args[1]) &&
                                             !(Positive(*e.args[1]) && !l.negativeZero) &&
                                             !(Positive(*e.args[0]) && !r.negativeZero));
        break;
      case BinaryOp::Divide:
      case BinaryOp::Power: break;
      default:
        // \ MOD AND OR XOR give INTEGERs whatever their operands, and a
        // comparison 0 or 1.
        form = Int32();
        break;
    }
  }
  return forms_[&e] = form;
}

}  // namespace tbc
