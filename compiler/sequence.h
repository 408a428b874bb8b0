// The order of evaluation and the lifetimes of values inside one expression.
// The language evaluates operands from left to right and keeps every value
// alive for as long as its expression needs it; C++ (and any other back end
// that keeps operands in one expression) leaves the order of operands open.
// This stage says, from the checked tree alone, what evaluating a
// subexpression does and reads, which operands must therefore be made before
// their neighbours, and what may happen to a value between the moment it is
// made and the moment it is used. Back ends ask; they decide none of it again.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "builtins.h"
#include "syntax.h"

namespace tbc {

// What reading a value depends on, besides its effects: the kinds of state
// that effects change, and one bit for each storage whose string it holds.
enum Reads : uint32_t {
  kReadsVariable = 1u << 4,  // a program variable: changed only by program code
  kReadsObject = 1u << 5,    // a record's field: changed by runtime operations too
};
constexpr uint32_t Holds(Storage s) { return 1u << (8 + static_cast<int>(s)); }

// What happens in a stretch of an expression's evaluation: its effects, and
// how many temporaries of the ring it takes.
struct Future {
  uint32_t effects = 0;
  int rings = 0;
  Future operator|(const Future& other) const { return {effects | other.effects, rings + other.rings}; }
};

// What evaluating a subexpression does, and what it reads (the strings its
// operands and its own value hold included).
struct Summary {
  Future does;
  uint32_t reads = 0;
  Storage storage = Storage::Temp;  // where its STRING value lives
};

// A string in that storage is overwritten by what the future does.
bool Vulnerable(Storage storage, const Future& future);
// What was read is changed by what the future does.
bool Disturbed(uint32_t reads, const Future& future);
// Two effects must keep their source order.
bool InOrder(uint32_t first, uint32_t second);
// A value with this summary must be made at once, before the future happens.
bool MustSettle(const Summary& value, ValueType type, const Future& future);

class Sequencer {
 public:
  const Summary& Summarize(const Expr& e);

  // The operands of one operation, in source order: which must be made first,
  // each in a statement of its own and in order, and what may happen between
  // making each one and its use, given what may happen around the whole
  // operation (`outer`). An operand is made first when it and a later one
  // would give another result in the other order: an effect that must come
  // first, or an effect of either that changes what the other reads or where
  // the other's value lives. The others stay in the expression, where any
  // order gives the same. With `allFirst` every operand is made first.
  struct Plan {
    std::vector<bool> first;
    std::vector<Future> futures;
  };
  Plan PlanOperands(const std::vector<Summary>& operands, const Future& outer, bool allFirst = false) const;

 private:
  std::map<const Expr*, Summary> summaries_;
};

bool IsConcat(const Expr& e);
// The pieces of a chain of concatenations, first to last (a constant one is
// one piece).
void ConcatPieces(const Expr& e, std::vector<const Expr*>& pieces);
// LEFT$, RIGHT$ or MID$ of a variable's text (an element's, a field's) or of
// a literal: a view into that text, which lives where the text does.
bool IsSliceView(const Expr& e);

}  // namespace tbc
