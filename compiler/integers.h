// The integer path: which numeric operations a back end may compute in
// integer registers because the language's rules give the same result
// there. The rules compute + - * exactly, in the x87's 64-bit mantissa, and
// round only where a value is stored into an INTEGER; an exact integer whose
// magnitude stays below 2^63 is the same in a 64-bit integer register. So an
// operation of INTEGER operands is "wide" (an exact 64-bit integer) while a
// bound on its magnitude shows it fits, and x87 code otherwise (a product of
// three INTEGERs may need it). \ MOD AND OR XOR NOT and the comparisons of
// integer operands give INTEGERs. The x87 gives -0 where an integer cannot
// (-0, 0 * -5): such a value is computed in an integer only where its sign
// goes unseen. Decided once, on the checked tree, for any back end; a program
// with a floating-point handler keeps its x87 code.
#pragma once

#include <map>
#include <set>

#include "syntax.h"

namespace tbc {

struct IntegerForm {
  enum class Kind {
    None,   // computed as the rules say, in extended precision
    Int32,  // an INTEGER value: a variable, a call, a built-in, \ MOD AND...
    Wide,   // an exact whole number in a 64-bit integer
  };
  Kind kind = Kind::None;
  long double bound = 0;        // the largest magnitude the value can have
  bool negativeZero = false;    // the rules may give -0, which a 64-bit integer cannot hold

  bool integral() const { return kind != Kind::None; }
};

class IntegerPlan {
 public:
  const IntegerForm& Of(const Expr& e);
  // Whether e is computed in a 64-bit integer: exact there, and either never
  // -0 by the rules or used where the sign of a zero makes no difference.
  // Asked before e's operands are made, as it notes those whose sign does
  // not matter either (the operands of a wide or an integer operation).
  bool Wide(const Expr& e);
  // e's value is used where the sign of a zero makes no difference: stored
  // into an INTEGER, as an index, compared, or tested as a condition.
  void SignIgnored(const Expr& e) { signIgnored_.insert(&e); }

 private:
  std::map<const Expr*, IntegerForm> forms_;
  std::set<const Expr*> signIgnored_;
};

}  // namespace tbc
