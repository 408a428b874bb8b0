// A small SUB or FUNCTION made where it is called: a few assignments of
// numbers, parameters by value. Its arguments go into slots of the caller's
// frame, in order, which are its parameters; its result starts at 0 in
// another; its statements are lowered there. The same steps as the call,
// without the call, its frame and its copies.
#include "lower_internal.h"

namespace tbc {
namespace native {

namespace {

constexpr size_t kInlineStatements = 3;

bool Numbers(const Expr& e) {
  if (e.type == ValueType::String || e.type == ValueType::Record || Hazard(e)) return false;
  for (const auto& a : e.args)
    if (!Numbers(*a)) return false;
  return true;
}

}  // namespace

bool Lowering::Inlinable(const Routine& r) const {
  // A program with a floating-point handler keeps each routine's checked code.
  if (program_.trapped || r.recursive || r.gosub || r.body.empty() || r.body.size() > kInlineStatements) return false;
  if (r.isFunction && r.result != ValueType::Integer && r.result != ValueType::Double) return false;
  for (const Param& p : r.params)
    if (p.byReference || p.dimensions > 0 || p.record != nullptr ||
        (p.type != ValueType::Integer && p.type != ValueType::Double))
      return false;
  for (const Symbol* s : r.locals)
    if (s->kind != Symbol::Kind::Constant && s->parameter < 0 && s != r.resultSymbol) return false;
  for (const auto& s : r.body) {
    if (s->kind != Stmt::Kind::Assign || s->target->type == ValueType::String || !Numbers(*s->target) ||
        !Numbers(*s->value))
      return false;
    if (s->target->kind != Expr::Kind::Name || s->target->ref != Expr::Ref::Variable) return false;
  }
  return true;
}

bool Lowering::InlineCall(const Expr& e) {
  const Routine& r = *e.routine;
  if (routine_ == &r || !Inlinable(r) || e.args.size() != r.params.size()) return false;
  // Whether the statements store into the variable.
  auto stored = [&](const Symbol* v) {
    for (const auto& s : r.body)
      if (s->target->symbol == v) return true;
    return false;
  };
  std::vector<const Symbol*> parameters(r.params.size());
  for (const Symbol* s : r.locals)
    if (s->kind == Symbol::Kind::Variable && s->parameter >= 0) parameters.at(static_cast<size_t>(s->parameter)) = s;
  bool calls = false;
  for (const auto& arg : e.args) calls |= Hazard(*arg);
  // The arguments, in order, into the parameters' slots. A variable of the
  // parameter's type that neither the statements nor the other arguments
  // change is its own parameter.
  std::vector<Mem> slots;
  for (size_t i = 0; i < e.args.size(); ++i) {
    const Expr& arg = *e.args[i];
    if (!calls && arg.kind == Expr::Kind::Name && arg.ref == Expr::Ref::Variable && arg.symbol != nullptr &&
        arg.args.empty() && !arg.symbol->isArray() && !arg.symbol->reference && arg.type == r.params[i].type &&
        variables_.count(arg.symbol) && parameters[i] != nullptr && !stored(parameters[i]) && !stored(arg.symbol)) {
      slots.push_back(variables_.at(arg.symbol));
      continue;
    }
    Mem slot = At(EBP, FrameSlot(r.params[i].type == ValueType::Double ? 12 : 4));
    if (r.params[i].type == ValueType::Integer) {
      Integer(*e.args[i]);
      a_.Store(slot, EAX);
    } else {
      Number(*e.args[i]);
      a_.FstpExtended(slot);
    }
    slots.push_back(slot);
  }
  // The parameters and the result live in the caller's frame while the
  // statements are made.
  std::vector<const Symbol*> bound;
  std::map<const Symbol*, Mem> saved;
  auto bind = [&](const Symbol* s, const Mem& m) {
    auto found = variables_.find(s);
    if (found != variables_.end()) saved[s] = found->second;
    variables_[s] = m;
    bound.push_back(s);
  };
  for (const Symbol* s : r.locals)
    if (s->kind == Symbol::Kind::Variable && s->parameter >= 0)
      bind(s, slots.at(static_cast<size_t>(s->parameter)));
  Mem result;
  if (r.isFunction) {
    result = At(EBP, FrameSlot(r.result == ValueType::Double ? 12 : 4));
    // It starts at 0, unless the first statement gives it a value that does
    // not read it.
    const Stmt& first = *r.body[0];
    bool given = first.target->symbol == r.resultSymbol && !Reads(*first.value, r.resultSymbol);
    if (!given && r.result == ValueType::Integer) {
      a_.StoreImm(result, 0);
    } else if (!given) {
      a_.Fldz();
      a_.FstpExtended(result);
    }
    bind(r.resultSymbol, result);
  }
  Position at = statement_;
  Block(r.body);
  statement_ = at;
  for (const Symbol* s : bound) {
    auto found = saved.find(s);
    if (found != saved.end()) variables_[s] = found->second;
    else variables_.erase(s);
  }
  if (r.isFunction) {
    if (r.result == ValueType::Integer) a_.Load(EAX, result);
    else a_.FldExtended(result);
  }
  return true;
}

}  // namespace native
}  // namespace tbc
