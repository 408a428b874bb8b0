// The order of operands in a program with a floating-point handler. There
// every instruction that computes a value is checked, and an unchecked
// rounding leaves its flag for the next check, so where each piece of code
// runs shows. Both back ends follow the sequencing stage's plan for the
// operands of each operation (its indexes, its arguments, the operands of
// checked code): the operands it makes first, each whole and in order; then,
// for the others in order, what making them does before the operation itself
// (their own checked code, and their operands that must come first); then the
// operation, which reads those values where they were kept. Made early, a
// value waits in premade_ until its use takes it.
#include "lower_internal.h"

namespace tbc {
namespace native {

namespace {

bool IsIndexed(const Expr& e) {
  return e.kind == Expr::Kind::Name && e.ref == Expr::Ref::Variable && e.symbol != nullptr && e.symbol->isArray();
}

// The element whose indexes a place has: itself, or the one a field stands in.
const Expr* IndexOwner(const Expr& e) {
  if (e.kind == Expr::Kind::Field) return IndexOwner(*e.args[0]);
  return IsIndexed(e) ? &e : nullptr;
}

void IndexesOf(const Expr& place, std::vector<const Expr*>& out) {
  if (const Expr* owner = IndexOwner(place))
    for (const auto& index : owner->args) out.push_back(index.get());
}

// The operands of arguments of these kinds: a bitmap or an array names its
// object, a reference is a place whose indexes alone are values.
void ArgumentOperands(const Expr& e, const char* kinds, std::vector<const Expr*>& out) {
  for (size_t i = 0; i < e.args.size(); ++i) {
    char kind = kinds != nullptr && i < std::char_traits<char>::length(kinds) ? kinds[i] : 'I';
    if (kind == 'B' || kind == 'A') continue;
    if (kind == '&') IndexesOf(*e.args[i], out);
    else out.push_back(e.args[i].get());
  }
}

}  // namespace

std::vector<const Expr*> Lowering::OperandsOf(const Expr& e) const {
  std::vector<const Expr*> out;
  if (Folded(e)) return out;
  switch (e.kind) {
    case Expr::Kind::Field: IndexesOf(e, out); break;
    case Expr::Kind::Member: ArgumentOperands(e, e.member != nullptr ? e.member->args : nullptr, out); break;
    case Expr::Kind::Binary:
      if (IsComparison(e.binary) && e.args[0]->type == ValueType::String)
        out = {e.args[0].get(), e.args[1].get()};
      break;
    case Expr::Kind::Name:
      if (e.ref == Expr::Ref::Variable) {
        IndexesOf(e, out);
      } else if (e.ref == Expr::Ref::Routine && e.routine != nullptr) {
        std::string kinds;
        for (const Param& p : e.routine->params)
          kinds += p.dimensions > 0 ? 'A' : (p.byReference || p.type == ValueType::Record) ? '&' : 'I';
        ArgumentOperands(e, kinds.c_str(), out);
      } else if (e.ref == Expr::Ref::Builtin && e.builtin != nullptr) {
        ArgumentOperands(e, e.builtin->args, out);
      }
      break;
    default: break;
  }
  return out;
}

void Lowering::MakeOperands(const std::vector<const Expr*>& operands, const Future& outer) {
  std::vector<Summary> summaries;
  for (const Expr* e : operands) summaries.push_back(sequencer_.Summarize(*e));
  Sequencer::Plan plan = sequencer_.PlanOperands(summaries, outer);
  // Checked code among them plans its own operands with what may happen
  // after it, as the C++ path's code does.
  for (size_t i = 0; i < operands.size(); ++i) futures_[operands[i]] = plan.futures[i];
  for (size_t i = 0; i < operands.size(); ++i)
    if (plan.first[i]) MakeWhole(*operands[i]);
  for (size_t i = 0; i < operands.size(); ++i)
    if (!plan.first[i]) Prepare(*operands[i], plan.futures[i]);
}

// An operation about to be made: its operands as the plan orders them,
// once (its making may have begun early, or pass through here again on its
// way to the kind of value it gives).
void Lowering::OperandsFirst(const Expr& e) {
  if (!checked_ || Folded(e)) return;
  const Expr* owner = e.kind == Expr::Kind::Field ? IndexOwner(e) : &e;
  if (owner == nullptr || !prepared_.insert(owner).second) return;
  std::vector<const Expr*> operands = OperandsOf(e);
  if (!operands.empty()) MakeOperands(operands, {});
}

// A value made now, whole, and kept until its use.
void Lowering::MakeWhole(const Expr& e) {
  if (Folded(e)) return;
  if (e.type == ValueType::Integer || e.type == ValueType::Double) {
    premade_[&e] = CheckedOperand(e);
    return;
  }
  // A text: made now, and kept in a temporary.
  String(e);
  CopyToTemp();
  premadeTexts_[&e] = lastTemp_;
}

// What making e does before the operation that uses it: e whole, when what
// comes between would change it; else its checked code, and its operands'
// early parts.
void Lowering::Prepare(const Expr& e, const Future& future) {
  if (Folded(e) && e.type != ValueType::String) return;
  if ((IsX87(e) && checked_) || MustSettle(sequencer_.Summarize(e), e.type, future)) {
    MakeWhole(e);
    return;
  }
  BeginEarly(e, future);
}

void Lowering::BeginEarly(const Expr& e, const Future& future) {
  if (IsConcat(e) && !e.constant.known()) {
    // The C++ path builds a concatenation in statements before its use, all
    // but the last append, and the last piece's early parts with them.
    BeginConcat(e);
    begunConcats_.insert(&e);
    if (!lastAppended_.count(&e)) {
      std::vector<const Expr*> pieces;
      ConcatPieces(e, pieces);
      Prepare(*pieces.back(), future);
    }
    return;
  }
  const Expr& inner = Unwrapped(e);
  if (&inner != &e) {
    // INT, FIX or CINT of an INTEGER: the INTEGER itself.
    Prepare(inner, future);
    prepared_.insert(&e);
    return;
  }
  std::vector<const Expr*> operands = OperandsOf(e);
  if (operands.empty()) return;
  Future f = future;
  if (e.kind == Expr::Kind::Name && e.ref == Expr::Ref::Builtin && (e.builtin->effects & kRing) && !IsSliceView(e))
    f.rings += 1;  // its temporary of the ring is taken before the arguments are read
  MakeOperands(operands, f);
  if (const Expr* owner = e.kind == Expr::Kind::Field ? IndexOwner(e) : &e) prepared_.insert(owner);
}

// What may happen between making e, an operand, and its use; nothing for
// an expression of its own.
Future Lowering::FutureOf(const Expr& e) const {
  auto found = futures_.find(&e);
  return found != futures_.end() ? found->second : Future{};
}

// A value made early, taken by its use.
bool Lowering::TakePremade(const Expr& e, X87Operand& o) {
  auto found = premade_.find(&e);
  if (found == premade_.end()) return false;
  o = found->second;
  premade_.erase(found);
  return true;
}

// A text made early: from its temporary, into EAX:EDX.
bool Lowering::TakePremadeText(const Expr& e) {
  auto found = premadeTexts_.find(&e);
  if (found == premadeTexts_.end()) return false;
  LoadTemp(found->second);
  premadeTexts_.erase(found);
  return true;
}

}  // namespace native
}  // namespace tbc
