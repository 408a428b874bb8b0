// Expressions: names, calls, members, operators, and the values known when
// compiling (which the emitter may use instead of the operations).
#include <cmath>

#include "check_internal.h"

namespace tbc {

namespace {

const char* OpText(BinaryOp op) {
  switch (op) {
    case BinaryOp::Or: return "OR";
    case BinaryOp::Xor: return "XOR";
    case BinaryOp::And: return "AND";
    case BinaryOp::Equal: return "=";
    case BinaryOp::NotEqual: return "<>";
    case BinaryOp::Less: return "<";
    case BinaryOp::Greater: return ">";
    case BinaryOp::LessEqual: return "<=";
    case BinaryOp::GreaterEqual: return ">=";
    case BinaryOp::Add: return "+";
    case BinaryOp::Subtract: return "-";
    case BinaryOp::Multiply: return "*";
    case BinaryOp::Divide: return "/";
    case BinaryOp::IntDivide: return "\\";
    case BinaryOp::Modulo: return "MOD";
    case BinaryOp::Power: return "^";
  }
  return "";
}

// Storing into an INTEGER: round to nearest, ties to even; out of range (or
// not a number) gives the x87's integer indefinite.
int32_t RoundToInteger(long double x) {
  if (!(x >= -2147483648.5L && x <= 2147483647.5L)) return INT32_MIN;
  long double r = std::nearbyint(x);
  if (r > 2147483647.0L || r < -2147483648.0L) return INT32_MIN;
  return static_cast<int32_t>(r);
}

Constant IntegerConstant(int64_t v) {
  Constant c;
  if (v >= INT32_MIN && v <= INT32_MAX) {
    c.type = ValueType::Integer;
    c.integer = static_cast<int32_t>(v);
  } else {
    c.type = ValueType::Double;
    c.number = static_cast<long double>(v);
  }
  return c;
}

Constant NumberConstant(long double v) {
  Constant c;
  c.type = ValueType::Double;
  c.number = v;
  return c;
}

Constant Truth(bool v) { return IntegerConstant(v ? 1 : 0); }

// pi rounded to the x87's 64-bit mantissa, as fldpi gives it: the constant PI.
constexpr long double kPi = 0xc.90fdaa22168c235p-2L;

// As StrCompare: bytes compare unsigned, and a longer text with the same start is greater.
int CompareBytes(const std::string& a, const std::string& b) {
  size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

// Whole powers by repeated squaring, in the order the runtime multiplies.
long double WholePower(long double base, int64_t exponent) {
  bool negative = exponent < 0;
  uint64_t e = negative ? static_cast<uint64_t>(-exponent) : static_cast<uint64_t>(exponent);
  long double result = 1;
  while (e != 0) {
    if (e & 1) result *= base;
    base *= base;
    e >>= 1;
  }
  return negative ? 1 / result : result;
}

}  // namespace

int32_t IntegerDivideConstant(int32_t a, int32_t b);

ValueType Checker::CheckExpr(Expr& e, bool wholeRecord) {
  switch (e.kind) {
    case Expr::Kind::Integer:
      e.constant = IntegerConstant(e.integer);
      e.type = e.constant.type;
      e.constant.integer = static_cast<int32_t>(e.integer);
      break;
    case Expr::Kind::Number:
      e.constant = NumberConstant(e.number);
      e.type = ValueType::Double;
      break;
    case Expr::Kind::String:
      e.constant.type = ValueType::String;
      e.constant.text = e.text;
      e.type = ValueType::String;
      break;
    case Expr::Kind::Name: e.type = CheckName(e); break;
    case Expr::Kind::Member: e.type = CheckMember(e, false); break;
    case Expr::Kind::Unary: e.type = CheckUnary(e); break;
    case Expr::Kind::Binary: e.type = CheckBinary(e); break;
    case Expr::Kind::Field: e.type = CheckField(e); break;
  }
  if (e.type == ValueType::Record && !wholeRecord) {
    Error(e.position, (e.kind == Expr::Kind::Name ? e.name : "this") + std::string(" is a record: use its fields, as in ") +
                          (e.kind == Expr::Kind::Name ? e.name : "r") + "." +
                          (e.record != nullptr && !e.record->fields.empty() ? e.record->fields[0].name : "field"));
    e.type = ValueType::Error;
  }
  return e.type;
}

// object.name, where object is a record variable: its field. The tree is
// made the one a field of an element has, base then field.
bool Checker::RecordMember(Expr& e) {
  Found f = Lookup(ToUpper(e.object));
  if (f.symbol == nullptr || f.symbol->kind != Symbol::Kind::Variable || f.symbol->type != ValueType::Record) return false;
  auto base = std::make_unique<Expr>();
  base->kind = Expr::Kind::Name;
  base->name = e.object;
  base->position = e.objectPosition;
  if (e.parenthesised) {
    Error(e.position, "a field of a record takes no index");
    e.parenthesised = false;
  }
  e.args.clear();
  e.args.push_back(std::move(base));
  e.kind = Expr::Kind::Field;
  return true;
}

ValueType Checker::CheckField(Expr& e) {
  Expr& base = *e.args[0];
  ValueType t = CheckExpr(base, true);
  if (t == ValueType::Error) return ValueType::Error;
  if (t != ValueType::Record || base.record == nullptr) {
    Error(e.position, "only a record has fields; " + (base.kind == Expr::Kind::Name ? base.name : std::string("this")) +
                          " is " + (t == ValueType::Integer ? "an " : "a ") + TypeName(t));
    return ValueType::Error;
  }
  const RecordInfo::Field* field = base.record->find(ToUpper(e.name));
  if (field == nullptr) {
    Error(e.position, "the TYPE " + base.record->name + " has no field " + e.name);
    return ValueType::Error;
  }
  e.record = field->record;
  e.ref = Expr::Ref::Variable;
  return field->type;
}

Symbol* Checker::ArrayArgument(Expr& arg, const std::string& what) {
  // The array's name alone, or with empty parentheses: a, a().
  bool whole = arg.kind == Expr::Kind::Name && arg.args.empty();
  Found f = whole ? Lookup(ToUpper(arg.name)) : Found{};
  if (f.symbol == nullptr || f.symbol->kind != Symbol::Kind::Variable || !f.symbol->isArray()) {
    Error(arg.position, what + " is the name of an array, as in a or a()");
    return nullptr;
  }
  arg.symbol = f.symbol;
  arg.ref = Expr::Ref::Variable;
  arg.type = f.symbol->type;
  arg.record = f.symbol->record;
  if (f.symbol->fixedArray()) {
    f.symbol->viewed = true;
    if (f.symbol->rank() > kArrayDimensions) Error(arg.position, what + " has more than 8 dimensions");
  }
  return f.symbol;
}

Checker::Found Checker::Lookup(const std::string& upper) const {
  Found f;
  if (routine_ != nullptr) {
    auto l = localScope_.find(upper);
    if (l != localScope_.end()) {
      f.symbol = l->second;
      return f;
    }
  }
  auto m = moduleScopes_[module_].find(upper);
  if (m != moduleScopes_[module_].end()) {
    f.symbol = m->second;
    return f;
  }
  auto lib = moduleLibraries_[module_].find(upper);
  if (lib != moduleLibraries_[module_].end()) {
    f.routine = lib->second;
    return f;
  }
  auto r = routines_.find(upper);
  if (r != routines_.end()) {
    f.routine = r->second;
    return f;
  }
  f.builtin = FindBuiltin(upper);
  return f;
}

bool Checker::Undeclared(Expr& e, const std::string& name, Position position) {
  (void)e;
  std::string key = std::to_string(module_) + ":" + ToUpper(name);
  if (undeclared_.insert(key).second) Error(position, name + " is not declared");
  return false;
}

bool Checker::RefuseForeign(Expr& e) {
  Foreign form;
  if (!ForeignName(ToUpper(e.name), form)) return false;
  Error(e.position, ForeignMessage(form));
  // DEF FNname(x) = ... reads as a call of DEF with a comparison: the name it
  // would have defined is not reported again where the program uses it.
  if (form == Foreign::DefFn && !e.args.empty()) {
    const Expr* defined = e.args[0].get();
    if (defined->kind == Expr::Kind::Binary && defined->binary == BinaryOp::Equal) defined = defined->args[0].get();
    if (defined->kind == Expr::Kind::Name) undeclared_.insert(std::to_string(module_) + ":" + ToUpper(defined->name));
  }
  return true;
}

bool Checker::UsedTooEarly(const Symbol& s, Position use) {
  bool sameContext = s.owner == routine_ && s.parameter < 0 && !s.result;
  if (!sameContext || s.module != module_ || !(use < s.position)) return false;
  std::string key = "early:" + std::to_string(reinterpret_cast<uintptr_t>(&s));
  if (undeclared_.insert(key).second)
    Error(use, s.name + " is used before its declaration on line " + std::to_string(s.position.line));
  return true;
}

bool Checker::Allowed(uint32_t programs, Position position, const std::string& what) {
  uint32_t kind = program_.kind == ProgramKind::Console ? kConsole
                  : program_.kind == ProgramKind::Window ? kWindow
                                                          : kLibrary;
  if (programs & kind) return true;
  if (programs == kWindow) Error(position, what + " belongs to window programs, which declare a FORM");
  else Error(position, what + " cannot be used in this kind of program");
  return false;
}

ValueType Checker::CheckName(Expr& e) {
  std::string upper = ToUpper(e.name);
  Found f = Lookup(upper);
  if (Symbol* s = f.symbol) {
    e.symbol = s;
    if (UsedTooEarly(*s, e.position)) return ValueType::Error;
    switch (s->kind) {
      case Symbol::Kind::Constant:
        e.ref = Expr::Ref::Constant;
        if (e.parenthesised) {
          Error(e.position, e.name + " is a constant, not an array or a FUNCTION");
          return ValueType::Error;
        }
        if (s->failed) return ValueType::Error;
        e.constant = s->value;
        return s->type;
      case Symbol::Kind::Object:
        Error(e.position, e.name + " is a " + KindName(s->object) + "; use one of its properties");
        return ValueType::Error;
      case Symbol::Kind::Variable:
        break;
    }
    if (s->result && e.parenthesised && !s->isArray()) {
      // F(...) inside F is a call of F itself.
      for (auto& r : modules_[module_].routines)
        if (r.get() == routine_) return CheckCall(e, *r, false);
    }
    e.ref = Expr::Ref::Variable;
    e.record = s->record;
    if (s->isArray()) {
      if (!e.parenthesised) {
        Error(e.position, e.name + " is an array; give its index, as in " + e.name + "(0)");
        return ValueType::Error;
      }
      // A dynamic array's first use (REDIM or index) gives its number of dimensions.
      if (s->rank() == 0 && !e.args.empty() && e.args.size() <= kArrayDimensions) s->dimensions = static_cast<int>(e.args.size());
      if (e.args.size() != s->rank()) {
        Error(e.position, e.name + " has " + std::to_string(s->rank()) + " dimension" + (s->rank() == 1 ? "" : "s") +
                              ", given " + std::to_string(e.args.size()) + " ind" + (e.args.size() == 1 ? "ex" : "ices"));
        return ValueType::Error;
      }
      for (auto& a : e.args)
        if (!IsNumeric(CheckExpr(*a))) Error(a->position, "an array index is a number");
    } else if (e.parenthesised) {
      Error(e.position, e.name + " is not an array or a FUNCTION");
      return ValueType::Error;
    }
    return s->failed ? ValueType::Error : s->type;
  }
  if (Routine* r = f.routine) {
    if (!r->isFunction) {
      Error(e.position, e.name + " is a SUB and gives no value");
      for (auto& a : e.args) CheckExpr(*a);
      return ValueType::Error;
    }
    if (!e.parenthesised) {
      Error(e.position, "a call of the FUNCTION " + e.name + " needs parentheses: " + e.name + "()");
      return ValueType::Error;
    }
    return CheckCall(e, *r, false);
  }
  if (const Builtin* b = f.builtin) return CheckBuiltin(e, *b, false);
  if (RefuseForeign(e)) return ValueType::Error;
  for (auto& a : e.args) CheckExpr(*a);
  Undeclared(e, e.name, e.position);
  return ValueType::Error;
}

ValueType Checker::CheckCall(Expr& e, Routine& r, bool statement) {
  e.ref = Expr::Ref::Routine;
  e.routine = &r;
  r.called = true;
  if (r.module != module_) r.crossModule = true;
  if (routine_ != nullptr && !r.fromLibrary) calls_[routine_].push_back({&r, e.position});
  if (e.args.size() != r.params.size()) {
    for (auto& a : e.args)
      if (!(a->kind == Expr::Kind::Name && a->args.empty() && Lookup(ToUpper(a->name)).symbol != nullptr &&
            Lookup(ToUpper(a->name)).symbol->isArray()))
        CheckExpr(*a, true);
    Error(e.position, r.name + " takes " + std::to_string(r.params.size()) + " argument" +
                          (r.params.size() == 1 ? "" : "s") + ", given " + std::to_string(e.args.size()));
    return statement ? ValueType::None : r.result;
  }
  for (size_t i = 0; i < e.args.size(); ++i) {
    Expr& arg = *e.args[i];
    const Param& p = r.params[i];
    std::string what = "argument " + std::to_string(i + 1) + " of " + r.name;
    if (p.dimensions > 0) {
      // An array by reference, of the parameter's type and dimensions.
      Symbol* a = ArrayArgument(arg, what);
      if (a == nullptr || a->failed || p.type == ValueType::Error) continue;
      if (a->rank() == 0) a->dimensions = p.dimensions;
      if (a->type != p.type || a->record != p.record)
        Error(arg.position, what + " is an array of " + (p.record ? p.record->name : TypeName(p.type)) + ", found one of " +
                                (a->record ? a->record->name : TypeName(a->type)));
      else if (a->rank() != static_cast<size_t>(p.dimensions))
        Error(arg.position, what + " is an array of " + std::to_string(p.dimensions) + " dimension" +
                                (p.dimensions == 1 ? "" : "s") + ", found one of " + std::to_string(a->rank()));
      continue;
    }
    if (p.byReference || p.type == ValueType::Record) {
      // The caller's own variable, element or field, of exactly the parameter's type.
      bool place = arg.kind == Expr::Kind::Field || arg.kind == Expr::Kind::Member ||
                   (arg.kind == Expr::Kind::Name && Lookup(ToUpper(arg.name)).symbol != nullptr &&
                    Lookup(ToUpper(arg.name)).symbol->kind == Symbol::Kind::Variable);
      if (!place) {
        CheckExpr(arg, true);
        Error(arg.position, what + (p.type == ValueType::Record ? " is a record, passed by reference: give a variable"
                                                                 : " is BYREF: give a variable, an element or a field"));
        continue;
      }
      if (!CheckTarget(arg, "passed by reference")) continue;
      if (arg.kind == Expr::Kind::Member) {
        Error(arg.position, "a property cannot be passed by reference");
        continue;
      }
      if (arg.type != p.type || arg.record != p.record)
        Error(arg.position, what + " is " + (p.record ? "a " + p.record->name : std::string(p.type == ValueType::Integer ? "an " : "a ") + TypeName(p.type)) +
                                ", found " + (arg.record ? "a " + arg.record->name : std::string(arg.type == ValueType::Integer ? "an " : "a ") + TypeName(arg.type)));
      continue;
    }
    ValueType got = CheckExpr(arg);
    ValueType want = p.type;
    if (got == ValueType::Error || want == ValueType::Error) continue;
    bool ok = want == ValueType::String ? got == ValueType::String : IsNumeric(got);
    if (!ok)
      Error(arg.position, what + " is " + (want == ValueType::String ? "a STRING" : "a number") + ", found " +
                              (got == ValueType::String ? "a STRING" : "a number"));
  }
  return statement ? ValueType::None : r.result;
}

bool Checker::CheckArg(Expr& arg, char kind, const std::string& what) {
  if (kind == 'A') return ArrayArgument(arg, what) != nullptr;
  if (kind == 'B') {
    Found f = arg.kind == Expr::Kind::Name && !arg.parenthesised ? Lookup(ToUpper(arg.name)) : Found{};
    if (f.symbol == nullptr || f.symbol->kind != Symbol::Kind::Object || f.symbol->object != ObjectKind::Bitmap) {
      Error(arg.position, what + " is the name of a BITMAP");
      return false;
    }
    arg.symbol = f.symbol;
    arg.ref = Expr::Ref::Variable;
    arg.type = ValueType::None;
    return true;
  }
  ValueType t = CheckExpr(arg);
  if (t == ValueType::Error) return true;
  char k = static_cast<char>(std::toupper(static_cast<unsigned char>(kind)));
  bool either = k == 'R' || k == 'C';
  bool ok = (k == 'S' || k == 'T') ? t == ValueType::String : either ? t != ValueType::None : IsNumeric(t);
  if (!ok) Error(arg.position, what + " is " + ((k == 'S' || k == 'T') ? "a STRING" : "a number"));
  return ok;
}

bool Checker::CheckArgs(Expr& e, const char* kinds, const char* what, size_t first) {
  int given = static_cast<int>(e.args.size());
  int required = RequiredArgs(kinds + first), most = MaxArgs(kinds + first);
  bool ok = true;
  if (given < required || given > most) {
    std::string count = required == most ? std::to_string(required) : std::to_string(required) + " to " + std::to_string(most);
    Error(e.position, std::string(what) + " takes " + count + " argument" + (most == 1 ? "" : "s") + ", given " +
                          std::to_string(given));
    // The count is the one mistake: the arguments are checked for their own
    // errors only, since which is which is unknown.
    for (auto& a : e.args) {
      bool object = a->kind == Expr::Kind::Name && !a->parenthesised && Lookup(ToUpper(a->name)).symbol != nullptr &&
                    Lookup(ToUpper(a->name)).symbol->kind == Symbol::Kind::Object;
      if (!object) CheckExpr(*a);
    }
    return false;
  }
  for (int i = 0; i < given; ++i) {
    char kind = i < most ? kinds[first + i] : 'N';
    if (!CheckArg(*e.args[i], kind, "argument " + std::to_string(i + 1) + " of " + what)) ok = false;
  }
  return ok;
}

ValueType Checker::CheckBuiltin(Expr& e, const Builtin& b, bool statement) {
  e.ref = Expr::Ref::Builtin;
  e.builtin = &b;
  const std::string& name = e.name;  // as the program spells it
  if (b.special == Special::PrintPosition) {
    // CheckPrint takes TAB and SPC as items; anywhere else they are a mistake.
    Error(e.position, name + " stands only as an item of PRINT, as in PRINT " + name + "(10); x");
    for (auto& a : e.args) CheckExpr(*a);
    return ValueType::Error;
  }
  if (statement && !b.statement) {
    Error(e.position, name + " gives a value and cannot stand as a statement");
    return ValueType::Error;
  }
  if (!statement && b.result == ValueType::None) {
    Error(e.position, name + " is a statement and gives no value");
    return ValueType::Error;
  }
  if (!Allowed(b.programs, e.position, name)) return ValueType::Error;
  if (!statement && !e.parenthesised && b.args[0] != '\0') {
    Error(e.position, name + " takes its arguments in parentheses");
    return ValueType::Error;
  }
  bool ok;
  if (b.special == Special::Instr && e.args.size() == 2) ok = CheckArgs(e, b.args, name.c_str(), 1);
  else ok = CheckArgs(e, b.args, name.c_str());
  ValueType result = statement ? ValueType::None : b.result;
  if (b.special == Special::Int && !e.args.empty() && e.args[0]->type == ValueType::Integer) result = ValueType::Integer;
  if (ok && !statement) Fold(e);
  if (ok && b.special == Special::Bound) FoldBound(e);
  return result;
}

const Member* Checker::FindMember(Expr& e, Symbol& object, bool statement) {
  std::string upper = ToUpper(e.name);
  std::vector<const Member*> rows = FindMembers(upper);
  if (rows.empty()) {
    Error(e.position, e.name + " is not a property or method of any object");
    return nullptr;
  }
  std::vector<const Member*> fit;
  for (const Member* m : rows)
    if ((m->kinds & Kinds(object.object)) && (m->generations & program_.generation)) fit.push_back(m);
  if (fit.empty()) {
    Error(e.position, std::string("a ") + KindName(object.object) + " has no property or method " + e.name);
    return nullptr;
  }
  int given = static_cast<int>(e.args.size());
  for (const Member* m : fit) {
    bool usable = statement ? m->write != nullptr : m->read != nullptr;
    if (usable && given >= RequiredArgs(m->args) && given <= MaxArgs(m->args)) return m;
  }
  for (const Member* m : fit)
    if (statement ? m->write != nullptr : m->read != nullptr) return m;
  return fit[0];
}

ValueType Checker::CheckMember(Expr& e, bool statement) {
  if (RecordMember(e)) {
    if (!statement) return CheckField(e);
    Error(e.position, e.args[0]->name + "." + e.name + " is a field: set it with " + e.args[0]->name + "." + e.name +
                          " = value");
    return ValueType::Error;
  }
  Found f = Lookup(ToUpper(e.object));
  if (f.symbol == nullptr || f.symbol->kind != Symbol::Kind::Object) {
    for (auto& a : e.args) CheckExpr(*a);
    if (f.symbol == nullptr && f.routine == nullptr && f.builtin == nullptr) Undeclared(e, e.object, e.objectPosition);
    else Error(e.objectPosition, e.object + " is not an object, so it has no properties");
    return ValueType::Error;
  }
  Symbol& object = *f.symbol;
  e.symbol = &object;
  e.ref = Expr::Ref::Member;
  if (UsedTooEarly(object, e.objectPosition) || object.failed) {
    for (auto& a : e.args) CheckExpr(*a);
    return ValueType::Error;
  }
  const Member* m = FindMember(e, object, statement);
  if (m == nullptr) {
    for (auto& a : e.args) CheckExpr(*a);
    return ValueType::Error;
  }
  e.member = m;
  program_.needs |= m->needs;
  std::string what = e.object + "." + e.name;
  if (m->use == Member::Use::Event) {
    Error(e.position, e.name + " is an event slot: set it to a SUB with " + e.object + "." + e.name + " = SubName");
    return ValueType::Error;
  }
  if (statement) {
    if (m->use == Member::Use::Property) {
      Error(e.position, e.name + " is a property: set it with " + what + " = value");
      return ValueType::Error;
    }
    if (m->write == nullptr) {
      Error(e.position, what + " gives a value and cannot stand as a statement");
      return ValueType::Error;
    }
  } else {
    if (m->read == nullptr) {
      Error(e.position, m->use == Member::Use::Method ? what + " gives no value" : what + " cannot be read, only set");
      return ValueType::Error;
    }
    if (m->use == Member::Use::Property && e.parenthesised && !e.args.empty()) {
      Error(e.position, e.name + " is a property and takes no arguments");
      return ValueType::Error;
    }
  }
  if (m->use == Member::Use::Method) CheckArgs(e, m->args, what.c_str());
  return statement ? ValueType::None : m->type;
}

ValueType Checker::CheckUnary(Expr& e) {
  ValueType t = CheckExpr(*e.args[0]);
  if (t == ValueType::Error) return t;
  if (!IsNumeric(t)) {
    Error(e.position, std::string(e.unary == UnaryOp::Not ? "NOT" : "'-'") + " needs a number, found a STRING");
    return ValueType::Error;
  }
  Fold(e);
  if (e.constant.known()) return e.constant.type;
  return e.unary == UnaryOp::Not ? ValueType::Integer : ValueType::Double;
}

ValueType Checker::CheckBinary(Expr& e) {
  ValueType l = CheckExpr(*e.args[0]);
  ValueType r = CheckExpr(*e.args[1]);
  if (l == ValueType::Error || r == ValueType::Error) return ValueType::Error;
  BinaryOp op = e.binary;
  ValueType result;
  if (op == BinaryOp::Add && (l == ValueType::String || r == ValueType::String)) {
    result = ValueType::String;  // a number joins as its text
  } else if (IsComparison(op)) {
    if ((l == ValueType::String) != (r == ValueType::String)) {
      Error(e.position, std::string("'") + OpText(op) + "' compares a STRING with a STRING or a number with a number");
      return ValueType::Error;
    }
    result = ValueType::Integer;
  } else {
    if (l == ValueType::String || r == ValueType::String) {
      Error(e.position, std::string("'") + OpText(op) + "' needs numbers, found a STRING");
      return ValueType::Error;
    }
    bool integral = op == BinaryOp::IntDivide || op == BinaryOp::Modulo || op == BinaryOp::And ||
                    op == BinaryOp::Or || op == BinaryOp::Xor;
    result = integral ? ValueType::Integer : ValueType::Double;
  }
  Fold(e);
  if (e.constant.known() && result != ValueType::String) return e.constant.type;
  return result;
}

Symbol* Checker::FindVariable(Expr& e) {
  Found f = Lookup(ToUpper(e.name));
  return f.symbol;
}

bool Checker::CheckTarget(Expr& e, const char* what) {
  if (e.kind == Expr::Kind::Field || (e.kind == Expr::Kind::Member && RecordMember(e))) {
    e.type = CheckField(e);
    return e.type != ValueType::Error;
  }
  if (e.kind == Expr::Kind::Member) {
    Found f = Lookup(ToUpper(e.object));
    if (f.symbol == nullptr || f.symbol->kind != Symbol::Kind::Object) {
      if (f.symbol == nullptr && f.routine == nullptr && f.builtin == nullptr) Undeclared(e, e.object, e.objectPosition);
      else Error(e.objectPosition, e.object + " is not an object, so it has no properties");
      return false;
    }
    e.symbol = f.symbol;
    e.ref = Expr::Ref::Member;
    if (UsedTooEarly(*f.symbol, e.objectPosition) || f.symbol->failed) return false;
    std::vector<const Member*> rows = FindMembers(ToUpper(e.name));
    const Member* chosen = nullptr;
    bool anyKind = false;
    for (const Member* m : rows) {
      if (!(m->kinds & Kinds(f.symbol->object)) || !(m->generations & program_.generation)) continue;
      anyKind = true;
      if (m->write != nullptr && m->use != Member::Use::Method) chosen = m;
    }
    if (rows.empty()) {
      Error(e.position, e.name + " is not a property of any object");
      return false;
    }
    if (!anyKind) {
      Error(e.position, std::string("a ") + KindName(f.symbol->object) + " has no property " + e.name);
      return false;
    }
    if (chosen == nullptr) {
      bool method = false;
      for (const Member* m : rows) method |= m->use == Member::Use::Method;
      Error(e.position, method ? e.name + " is a method: call it as " + e.object + "." + e.name + " arguments"
                               : e.object + "." + e.name + " can be read but not set");
      return false;
    }
    if (e.parenthesised) {
      Error(e.position, e.name + " is a property and takes no arguments");
      return false;
    }
    e.member = chosen;
    e.type = chosen->type;
    program_.needs |= chosen->needs;
    return true;
  }
  Found f = Lookup(ToUpper(e.name));
  if (f.symbol == nullptr) {
    for (auto& a : e.args) CheckExpr(*a);
    if (f.routine != nullptr) Error(e.position, e.name + " is a " + (f.routine->isFunction ? "FUNCTION" : "SUB") +
                                                    " and cannot be " + what);
    else if (f.builtin != nullptr) Error(e.position, e.name + " is built in and cannot be " + what);
    else Undeclared(e, e.name, e.position);
    return false;
  }
  if (f.symbol->kind == Symbol::Kind::Constant) {
    Error(e.position, e.name + " is a constant and cannot be " + what);
    return false;
  }
  if (f.symbol->kind == Symbol::Kind::Object) {
    Error(e.position, e.name + " is a " + KindName(f.symbol->object) + "; set one of its properties instead");
    return false;
  }
  if (f.symbol->result && e.parenthesised) {
    Error(e.position, e.name + " is the FUNCTION's result and takes no index");
    return false;
  }
  CheckExpr(e, true);
  return e.type != ValueType::Error;
}

// ---- values known when compiling

// LBOUND and UBOUND of a fixed array, for a dimension known when compiling.
void Checker::FoldBound(Expr& e) {
  const Symbol* a = e.args[0]->symbol;
  if (a == nullptr || !a->fixedArray()) return;
  int64_t dimension = 1;
  if (e.args.size() > 1) {
    const Constant& c = e.args[1]->constant;
    if (!c.known() || c.type == ValueType::String) return;
    dimension = RoundToInteger(c.AsNumber());
  }
  if (dimension < 1 || dimension > static_cast<int64_t>(a->bounds.size())) {
    Error(e.args.size() > 1 ? e.args[1]->position : e.position,
          a->name + " has " + std::to_string(a->bounds.size()) + " dimension" + (a->bounds.size() == 1 ? "" : "s"));
    return;
  }
  bool lower = std::string(e.builtin->name) == "LBOUND";
  size_t k = static_cast<size_t>(dimension - 1);
  e.constant = IntegerConstant(lower ? a->lower(k) : a->bounds[k]);
}

void Checker::Fold(Expr& e) {
  for (auto& a : e.args)
    if (!a->constant.known()) return;
  if (e.kind == Expr::Kind::Unary) {
    const Constant& a = e.args[0]->constant;
    if (e.unary == UnaryOp::Not) {
      e.constant = Truth(RoundToInteger(a.AsNumber()) == 0);
    } else if (a.type == ValueType::Integer) {
      e.constant = IntegerConstant(-static_cast<int64_t>(a.integer));
    } else {
      e.constant = NumberConstant(-a.number);
    }
    return;
  }
  if (e.kind == Expr::Kind::Name && e.ref == Expr::Ref::Builtin) {
    std::string n = e.builtin->name;
    if (n == "LEN" && e.args.size() == 1) e.constant = IntegerConstant(static_cast<int64_t>(e.args[0]->constant.text.size()));
    if (n == "PI" && e.args.empty()) e.constant = NumberConstant(kPi);
    if (n == "CHR$" && e.args.size() == 1) {
      e.constant.type = ValueType::String;
      e.constant.text = std::string(1, static_cast<char>(RoundToInteger(e.args[0]->constant.AsNumber()) & 0xFF));
    }
    return;
  }
  if (e.kind != Expr::Kind::Binary) return;
  const Constant& a = e.args[0]->constant;
  const Constant& b = e.args[1]->constant;
  BinaryOp op = e.binary;
  if (a.type == ValueType::String || b.type == ValueType::String) {
    if (op == BinaryOp::Add) {
      // A number joins as its text; the text of a DOUBLE is left to the runtime.
      if (a.type == ValueType::Double || b.type == ValueType::Double) return;
      auto text = [](const Constant& c) { return c.type == ValueType::String ? c.text : std::to_string(c.integer); };
      e.constant.type = ValueType::String;
      e.constant.text = text(a) + text(b);
      return;
    }
    int order = CompareBytes(a.text, b.text);
    switch (op) {
      case BinaryOp::Equal: e.constant = Truth(order == 0); break;
      case BinaryOp::NotEqual: e.constant = Truth(order != 0); break;
      case BinaryOp::Less: e.constant = Truth(order < 0); break;
      case BinaryOp::Greater: e.constant = Truth(order > 0); break;
      case BinaryOp::LessEqual: e.constant = Truth(order <= 0); break;
      case BinaryOp::GreaterEqual: e.constant = Truth(order >= 0); break;
      default: break;
    }
    return;
  }
  bool integers = a.type == ValueType::Integer && b.type == ValueType::Integer;
  long double x = a.AsNumber(), y = b.AsNumber();
  // Comparisons as the runtime makes them: an unordered pair compares equal.
  bool less = x < y, greater = x > y, equal = !less && !greater;
  switch (op) {
    case BinaryOp::Add: e.constant = integers ? IntegerConstant(int64_t{a.integer} + b.integer) : NumberConstant(x + y); break;
    case BinaryOp::Subtract: e.constant = integers ? IntegerConstant(int64_t{a.integer} - b.integer) : NumberConstant(x - y); break;
    case BinaryOp::Multiply: e.constant = integers ? IntegerConstant(int64_t{a.integer} * b.integer) : NumberConstant(x * y); break;
    case BinaryOp::Divide: e.constant = NumberConstant(x / y); break;
    case BinaryOp::IntDivide: e.constant = IntegerConstant(IntegerDivideConstant(RoundToInteger(x), RoundToInteger(y))); break;
    case BinaryOp::Modulo: {
      int32_t p = RoundToInteger(x), q = RoundToInteger(y);
      e.constant = IntegerConstant(q == 0 ? INT32_MIN : q == -1 ? 0 : p % q);
      break;
    }
    case BinaryOp::Power: {
      long double whole = std::nearbyint(y);
      if (whole != y || std::fabs(y) > 64) return;  // left to the runtime
      e.constant = NumberConstant(WholePower(x, static_cast<int64_t>(whole)));
      break;
    }
    case BinaryOp::And: e.constant = IntegerConstant(RoundToInteger(x) & RoundToInteger(y)); break;
    case BinaryOp::Or: e.constant = IntegerConstant(RoundToInteger(x) | RoundToInteger(y)); break;
    case BinaryOp::Xor: e.constant = IntegerConstant(RoundToInteger(x) ^ RoundToInteger(y)); break;
    case BinaryOp::Equal: e.constant = Truth(equal); break;
    case BinaryOp::NotEqual: e.constant = Truth(!equal); break;
    case BinaryOp::Less: e.constant = Truth(less); break;
    case BinaryOp::Greater: e.constant = Truth(greater); break;
    case BinaryOp::LessEqual: e.constant = Truth(!greater); break;
    case BinaryOp::GreaterEqual: e.constant = Truth(!less); break;
  }
}

// \ divides truncating toward zero; a zero divisor, and the one quotient
// beyond 32 bits, give the integer indefinite.
int32_t IntegerDivideConstant(int32_t a, int32_t b) {
  if (b == 0 || (a == INT32_MIN && b == -1)) return INT32_MIN;
  return a / b;
}

}  // namespace tbc
