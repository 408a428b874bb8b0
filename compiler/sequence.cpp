#include "sequence.h"

namespace tbc {

bool IsConcat(const Expr& e) {
  return e.kind == Expr::Kind::Binary && e.binary == BinaryOp::Add && e.type == ValueType::String;
}

void ConcatPieces(const Expr& e, std::vector<const Expr*>& pieces) {
  if (IsConcat(e) && !e.constant.known()) {
    ConcatPieces(*e.args[0], pieces);
    ConcatPieces(*e.args[1], pieces);
  } else {
    pieces.push_back(&e);
  }
}

bool IsSliceView(const Expr& e) {
  if (e.kind != Expr::Kind::Name || e.ref != Expr::Ref::Builtin || e.builtin == nullptr || e.builtin->view == nullptr ||
      e.args.empty())
    return false;
  const Expr& text = *e.args[0];
  if (text.constant.known()) return text.constant.type == ValueType::String;
  return (text.kind == Expr::Kind::Name && text.ref == Expr::Ref::Variable) || text.kind == Expr::Kind::Field;
}

bool Vulnerable(Storage storage, const Future& f) {
  switch (storage) {
    case Storage::Literal:
    case Storage::Temp: return false;
    case Storage::Variable:
    case Storage::Result: return (f.effects & kHazard) != 0;
    case Storage::Ring: return (f.effects & kHazard) != 0 || f.rings >= 8;
    default: return (f.effects & (kOrdered | kHazard)) != 0;
  }
}

bool Disturbed(uint32_t reads, const Future& f) {
  if ((reads & kReadsVariable) && (f.effects & kHazard)) return true;
  if ((reads & kReadsObject) && (f.effects & (kOrdered | kHazard))) return true;
  for (int s = 0; s <= static_cast<int>(Storage::Record); ++s)
    if ((reads & Holds(static_cast<Storage>(s))) && Vulnerable(static_cast<Storage>(s), f)) return true;
  return false;
}

// Two effects keep their order when either may run program code, or both
// change the same kind of shared state.
bool InOrder(uint32_t first, uint32_t second) {
  if ((first | second) & kHazard)
    return (first & (kOrdered | kSlots | kHazard)) && (second & (kOrdered | kSlots | kHazard));
  return ((first & second) & (kOrdered | kSlots)) != 0;
}

bool MustSettle(const Summary& value, ValueType type, const Future& future) {
  return InOrder(value.does.effects, future.effects) || Disturbed(value.reads, future) ||
         (type == ValueType::String && Vulnerable(value.storage, future));
}

namespace {

void HoldString(Summary& s, const Expr& e, Storage storage) {
  if (e.type != ValueType::String) return;
  s.storage = storage;
  if (storage != Storage::Literal && storage != Storage::Temp) s.reads |= Holds(storage);
}

void Takes(Summary& s, uint32_t effects) {
  s.does.effects |= effects;
  if (effects & kRing) s.does.rings += 1;
}

}  // namespace

const Summary& Sequencer::Summarize(const Expr& e) {
  auto found = summaries_.find(&e);
  if (found != summaries_.end()) return found->second;
  Summary s;
  if (e.constant.known()) {
    // Used as the value it is: numbers fold only from operations without effects.
    s.storage = Storage::Literal;
    return summaries_[&e] = s;
  }
  for (auto& a : e.args) {
    const Summary& operand = Summarize(*a);
    s.does = s.does | operand.does;
    s.reads |= operand.reads;
  }
  switch (e.kind) {
    case Expr::Kind::Name:
      switch (e.ref) {
        case Expr::Ref::Variable:
          s.reads |= kReadsVariable;
          HoldString(s, e, Storage::Variable);
          break;
        case Expr::Ref::Routine:
          // A recursive FUNCTION hands its STRING result over in a ring temporary.
          Takes(s, e.routine != nullptr && e.routine->recursive && e.type == ValueType::String ? kHazard | kRing : kHazard);
          HoldString(s, e, e.routine != nullptr && e.routine->recursive ? Storage::Ring : Storage::Result);
          break;
        case Expr::Ref::Builtin:
          if (e.builtin == nullptr) break;
          if (IsSliceView(e)) {
            HoldString(s, e, e.args[0]->constant.known() ? Storage::Literal : Storage::Variable);
            break;
          }
          Takes(s, e.builtin->effects);
          HoldString(s, e, e.builtin->storage);
          break;
        default: HoldString(s, e, Storage::Literal); break;
      }
      break;
    case Expr::Kind::Member:
      if (e.member == nullptr) break;
      Takes(s, e.member->effects);
      if (e.member->effects == kPure) s.reads |= kReadsObject;
      HoldString(s, e, e.member->storage);
      break;
    case Expr::Kind::Field:
      s.reads |= kReadsVariable;
      HoldString(s, e, Storage::Variable);
      break;
    case Expr::Kind::Binary:
      if (IsConcat(e)) {
        // Numbers join as their text, each in a temporary of the ring.
        s.does.effects |= kOrdered;
        for (auto& a : e.args)
          if (a->type != ValueType::String) s.does.rings += 1;
        HoldString(s, e, Storage::Accumulator);
      }
      break;
    default: HoldString(s, e, Storage::Literal); break;
  }
  return summaries_[&e] = s;
}

Sequencer::Plan Sequencer::PlanOperands(const std::vector<Summary>& operands, const Future& outer,
                                        bool allFirst) const {
  size_t n = operands.size();
  Plan plan;
  plan.first.assign(n, allFirst);
  for (size_t i = 0; i < n && !allFirst; ++i) {
    for (size_t j = i + 1; j < n && !plan.first[i]; ++j) {
      const Summary& a = operands[i];
      const Summary& b = operands[j];
      plan.first[i] = InOrder(a.does.effects, b.does.effects) || Disturbed(a.reads, b.does) ||
                      Disturbed(b.reads, a.does);
    }
  }
  // Operands made first run in order before all the others; those left in
  // the expression run in any order among themselves.
  plan.futures.assign(n, outer);
  for (size_t i = 0; i < n; ++i) {
    for (size_t k = 0; k < n; ++k) {
      if (k == i) continue;
      bool after = plan.first[i] ? (k > i || !plan.first[k]) : !plan.first[k];
      if (after) plan.futures[i] = plan.futures[i] | operands[k].does;
    }
  }
  return plan;
}

}  // namespace tbc
