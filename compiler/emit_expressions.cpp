// Expressions. A value is C++ that is evaluated where it is used, which in
// C++ is in no fixed order among its neighbours. The sequencing stage says
// which operands of an operation must be made first, in statements of their
// own, and what may happen between making each value and using it ("the
// future"); a value that the future would disturb (an effect that must come
// first, a read that code in between could change, a string whose storage
// could be overwritten) is settled into a local or copied into a temporary of
// the statement right away.
#include <cmath>
#include <cstdio>

#include <cstring>

#include "emit_internal.h"

namespace tbc {

const char* CppOperator(BinaryOp op) {
  switch (op) {
    case BinaryOp::Equal: return "==";
    case BinaryOp::NotEqual: return "!=";
    case BinaryOp::Less: return "<";
    case BinaryOp::Greater: return ">";
    case BinaryOp::LessEqual: return "<=";
    case BinaryOp::GreaterEqual: return ">=";
    case BinaryOp::Add: return "+";
    case BinaryOp::Subtract: return "-";
    case BinaryOp::Multiply: return "*";
    case BinaryOp::Divide: return "/";
    case BinaryOp::And: return "&";
    case BinaryOp::Or: return "|";
    case BinaryOp::Xor: return "^";
    default: return "?";
  }
}

const char* NumberComparison(BinaryOp op) {
  switch (op) {
    case BinaryOp::Equal: return "NumberEqual";
    case BinaryOp::NotEqual: return "NumberNotEqual";
    case BinaryOp::Less: return "NumberLess";
    case BinaryOp::Greater: return "NumberGreater";
    case BinaryOp::LessEqual: return "NumberLessEqual";
    default: return "NumberGreaterEqual";
  }
}

std::string CppText(const std::string& bytes) {
  std::string out = "\"";
  for (unsigned char c : bytes) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '?': out += "\\?"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 32 || c >= 127) {
          char buffer[8];
          std::snprintf(buffer, sizeof buffer, "\\%03o", c);
          out += buffer;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

std::string NumberLiteral(long double v) {
  if (std::isnan(v)) return "__builtin_nanl(\"\")";
  if (std::isinf(v)) return v > 0 ? "__builtin_infl()" : "(-__builtin_infl())";
  char buffer[64];
  if (v == std::nearbyint(v) && std::fabs(v) < 1e18L) {
    std::snprintf(buffer, sizeof buffer, "%.0Lf.0L", v);
    if (v == 0 && std::signbit(v)) return "(-0.0L)";
  } else {
    // Hexadecimal: exact, whatever the value.
    std::snprintf(buffer, sizeof buffer, "%LaL", v);
  }
  std::string text = buffer;
  return text[0] == '-' ? "(" + text + ")" : text;
}

std::string IntegerLiteral(int32_t v) {
  if (v == INT32_MIN) return "INT32_MIN";
  return std::to_string(v);
}

// ---- settling values

std::string Emitter::NewLocal() { return "t" + std::to_string(++locals_); }

std::string Emitter::NewTemp() {
  int index = tempBase_ + temps_++;
  if (index + 1 > maxTemps_) maxTemps_ = index + 1;
  return "Temp[" + std::to_string(index) + "]";
}

Value Emitter::Copy(const Value& v) {
  std::string temp = NewTemp();
  Line("StrTemp(&" + temp + ", " + AsString(v) + ");");
  Value c;
  c.type = ValueType::String;
  c.storage = Storage::Temp;
  c.descriptor = temp;
  c.cpp = "ValueOf(" + temp + ")";
  c.made = true;
  return c;
}

void Emitter::Absorb(Value& into, const Value& operand) {
  into.effects |= operand.effects;
  into.reads |= operand.reads;
}

Value Emitter::Settle(Value v, Future future) {
  // A whole record is a place (copied, passed, swapped), never a value made early.
  if (v.type == ValueType::Record) return v;
  bool order = InOrder(v.effects, future.effects);
  bool stale = Disturbed(v.reads, future);
  bool vulnerable = v.type == ValueType::String && Vulnerable(v.storage, future);
  if (!order && !stale && !vulnerable) return v;
  return Evaluate(v, future);
}

Value Emitter::Now(Value v, Future future) { return v.effects != 0 ? Evaluate(v, future) : Settle(v, future); }

Value Emitter::Evaluate(Value v, Future future) {
  if (v.type == ValueType::Record) return v;
  if (v.type == ValueType::String) {
    // Made now, the string lives where it was made: a copy only when the
    // future would overwrite that.
    if (Vulnerable(v.storage, future)) return Copy(v);
    std::string local = NewLocal();
    Line("const StringValue " + local + " = " + v.cpp + ";");
    Value s = v;
    s.cpp = local;
    s.descriptor.clear();
    s.effects = 0;
    s.reads = v.storage == Storage::Literal || v.storage == Storage::Temp ? 0 : Holds(v.storage);
    s.lvalue = true;
    s.made = true;
    return s;
  }
  std::string local = NewLocal();
  bool integer = v.type == ValueType::Integer || v.boolean;
  const char* type = integer ? "int32_t " : v.wide ? "int64_t " : "long double ";
  // In x87 code a number lives in memory (see emit_x87.cpp).
  if (checked_ && !X87Storage().empty()) {
    Line(X87Storage() + type + local + ";");
    Line(local + " = " + v.cpp + ";");
  } else {
    Line("const " + std::string(type) + local + " = " + v.cpp + ";");
  }
  Value n;
  n.cpp = local;
  n.type = integer ? ValueType::Integer : ValueType::Double;
  n.wide = v.wide;
  n.lvalue = true;
  return n;
}

std::vector<Value> Emitter::EmitOperands(const std::vector<const Expr*>& operands, Future future, const char* kinds,
                                         bool allFirst) {
  std::vector<Summary> summaries;
  for (const Expr* e : operands) summaries.push_back(Summarize(*e));
  Sequencer::Plan plan = sequencer_.PlanOperands(summaries, future, allFirst);
  std::vector<Value> values(operands.size());
  auto make = [&](size_t i) {
    Value v = Emit(*operands[i], plan.futures[i]);
    if (plan.first[i]) v = Now(v, plan.futures[i]);
    // The bytes of a record's buffer need not end in a NUL within the buffer:
    // a text taken from one is copied while it is still there.
    char kind = kinds != nullptr ? static_cast<char>(std::toupper(static_cast<unsigned char>(kinds[i]))) : 0;
    if ((kind == 'T' || kind == 'R') && v.type == ValueType::String && v.storage == Storage::Record) v = Copy(v);
    values[i] = v;
  };
  for (size_t i = 0; i < operands.size(); ++i)
    if (plan.first[i]) make(i);
  for (size_t i = 0; i < operands.size(); ++i)
    if (!plan.first[i]) make(i);
  return values;
}

// ---- conversions

std::string Emitter::AsInteger(const Value& v) {
  if (!v.narrow.empty()) return v.narrow;
  if (v.wide) return "StoreInteger(" + v.cpp + ")";
  if (v.type == ValueType::Double && !v.boolean) return "RoundToInteger(" + v.cpp + ")";
  return v.cpp;
}

std::string Emitter::AsWide(const Value& v) {
  if (v.wide) return v.cpp;
  return "static_cast<int64_t>(" + v.cpp + ")";
}

std::string Emitter::AsNumber(const Value& v) {
  if (v.type == ValueType::Double && !v.boolean && !v.wide) return v.cpp;
  return "static_cast<long double>(" + v.cpp + ")";
}

std::string Emitter::AsString(const Value& v) { return v.cpp; }

std::string Emitter::AsText(const Value& v) {
  // The bytes of a record's buffer need not end in a NUL within the buffer,
  // nor do those of a view.
  if (v.storage == Storage::Record || v.view) return AsText(Copy(v));
  // An element of a STRING array, a field of a record, or a variable reached
  // by reference may have no block yet: its text is then "". (A plain STRING
  // variable has its block from the start.)
  if (v.storage == Storage::Variable && (v.descriptor.empty() || v.descriptor.find_first_of("[(.") != std::string::npos))
    return "TextOf(" + v.cpp + ")";
  if (!v.descriptor.empty()) return v.descriptor + ".text";
  if (v.storage == Storage::Literal && v.cpp.rfind("Literal(", 0) == 0) return v.cpp.substr(8, v.cpp.size() - 9);
  return "(" + v.cpp + ").text";
}

std::string Emitter::NumberText(const Value& v) {
  if (v.type == ValueType::Double && !v.boolean) return "FloatText(" + AsNumber(v) + ")";
  return "SignedText(" + v.cpp + ")";
}

std::string Emitter::Convert(const Value& v, char kind) {
  switch (kind) {
    case 'I': case 'i': return AsInteger(v);
    case 'N': case 'n': return AsNumber(v);
    case 'S': case 's': return AsString(v);
    case 'T': case 't': return AsText(v);
    case 'R': case 'r':
      if (v.type == ValueType::String) return AsText(v);
      return "ResourceNumber(" + AsInteger(v) + ")";
    case 'P': case 'p': return v.type == ValueType::Double && !v.boolean ? "PositionOf(" + v.cpp + ")" : v.cpp;
    case 'U': return v.type == ValueType::Double && !v.boolean ? "UnsignedOf(" + v.cpp + ")" : v.cpp;
    case 'C': case 'c':
      if (v.type == ValueType::String) return "StrFirstByte(" + AsString(v) + ")";
      return "(" + AsInteger(v) + " & 255)";
    default: return v.cpp;
  }
}

std::string Emitter::Condition(const Expr& e) {
  SignIgnored(e);
  Value v = Emit(e, {});
  if (v.boolean) return v.cpp;
  if (v.type == ValueType::Double && !v.wide) return "RoundToInteger(" + v.cpp + ") != 0";
  return v.cpp + " != 0";
}

// ---- expressions

Value Emitter::EmitConstant(const Constant& c) {
  Value v;
  v.type = c.type;
  switch (c.type) {
    case ValueType::Integer: v.cpp = IntegerLiteral(c.integer); break;
    case ValueType::Double: v.cpp = NumberLiteral(c.number); break;
    case ValueType::String:
      v.cpp = "Literal(" + CppText(c.text) + ")";
      v.storage = Storage::Literal;
      break;
    default: v.cpp = "0"; v.type = ValueType::Integer; break;
  }
  return v;
}

Value Emitter::Emit(const Expr& e, Future future) {
  Value v;
  bool leaf = e.kind == Expr::Kind::Integer || e.kind == Expr::Kind::Number || e.kind == Expr::Kind::String ||
              (e.kind == Expr::Kind::Name && e.ref == Expr::Ref::Constant);
  // Values known when compiling are used as such, except that a program with
  // a floating-point handler computes every numeric operation as written.
  if (e.constant.known() && (leaf || !checked_ || e.constant.type == ValueType::String || !X87(e))) {
    v = EmitConstant(e.constant);
  } else if (checked_ && X87(e)) {
    v = EmitX87(e, future);
  } else {
    switch (e.kind) {
      case Expr::Kind::Name: v = EmitName(e, future); break;
      case Expr::Kind::Field: v = EmitPlace(e, future); break;
      case Expr::Kind::Member: v = EmitMember(e, future); break;
      case Expr::Kind::Unary: v = EmitUnary(e, future); break;
      case Expr::Kind::Binary:
        if (IsConcat(e)) v = EmitConcat(e, future);
        else if (IsComparison(e.binary) && e.args[0]->type == ValueType::String) v = EmitCompare(e, future);
        else v = EmitBinary(e, future);
        break;
      default: v = EmitConstant(e.constant); break;
    }
  }
  return Settle(v, future);
}

std::string Emitter::IndexOf(const Symbol& s, const std::vector<Value>& indexes, size_t first) {
  std::string index;
  for (size_t k = 0; k < s.bounds.size(); ++k) {
    int32_t lower = s.lower(k);
    std::string i = AsInteger(indexes[first + k]);
    std::string checked = lower == 0 ? "CheckedIndex(" + i + ", " + std::to_string(s.bounds[k]) + ")"
                                     : "CheckedOffset(" + i + ", " + IntegerLiteral(lower) + ", " +
                                           std::to_string(int64_t{s.bounds[k]} - lower) + ")";
    index = k == 0 ? checked : "(" + index + ") * " + std::to_string(int64_t{s.bounds[k]} - lower + 1) + " + " + checked;
  }
  return index;
}

std::string Emitter::Index(const Expr& e, Future future) {
  std::vector<const Expr*> indexes;
  for (auto& a : e.args) {
    SignIgnored(*a);
    indexes.push_back(a.get());
  }
  return IndexOf(*e.symbol, EmitOperands(indexes, future));
}

void Emitter::CollectIndexes(const Expr& e, std::vector<const Expr*>& out) {
  if (e.kind == Expr::Kind::Field) {
    CollectIndexes(*e.args[0], out);
    return;
  }
  if (e.kind == Expr::Kind::Name && e.symbol != nullptr && e.symbol->isArray())
    for (auto& a : e.args) {
      SignIgnored(*a);
      out.push_back(a.get());
    }
}

std::string Emitter::PlaceOf(const Expr& e, const std::vector<Value>& indexes, size_t& next) {
  if (e.kind == Expr::Kind::Field) {
    const Expr& base = *e.args[0];
    std::string place = PlaceOf(base, indexes, next);
    return place + "." + base.record->find(ToUpper(e.name))->cppName;
  }
  const Symbol& s = *e.symbol;
  if (!s.isArray()) return s.reference ? "(*" + s.cppName + ")" : s.cppName;
  if (s.fixedArray()) {
    std::string index = IndexOf(s, indexes, next);
    next += s.rank();
    return s.cppName + "[" + index + "]";
  }
  // A dynamic array, or an array parameter (which already is the address).
  std::string at = "ArrayAt<" + StorageType(s.type, s.record) + ">(" + (s.reference ? "" : "&") + s.cppName;
  for (size_t k = 0; k < s.rank(); ++k) at += ", " + AsInteger(indexes[next++]);
  return at + ")";
}

// A variable, an element or a field, read: its indexes made in order.
Value Emitter::EmitPlace(const Expr& e, Future future) {
  Value v;
  v.type = e.type;
  v.reads = kReadsVariable;
  v.lvalue = true;
  std::vector<const Expr*> indexes;
  CollectIndexes(e, indexes);
  std::vector<Value> values = EmitOperands(indexes, future);
  for (const Value& i : values) Absorb(v, i);
  size_t next = 0;
  std::string place = PlaceOf(e, values, next);
  if (v.type == ValueType::String) {
    v.storage = Storage::Variable;
    v.reads |= Holds(Storage::Variable);
    v.made = true;
    v.descriptor = place;
    v.cpp = "ValueOf(" + place + ")";
  } else {
    v.cpp = place;
  }
  return v;
}

Value Emitter::EmitName(const Expr& e, Future future) {
  switch (e.ref) {
    case Expr::Ref::Routine: return EmitCall(e, future);
    case Expr::Ref::Builtin: return EmitBuiltin(e, future);
    case Expr::Ref::Constant: return EmitConstant(e.constant);
    case Expr::Ref::Variable: return EmitPlace(e, future);
    default: return EmitConstant(Constant{});
  }
}

std::vector<std::string> Emitter::EmitArgs(const std::vector<const Expr*>& args, const char* kinds, Future future,
                                           Value& into) {
  // A bitmap argument names its object and an array argument its array; a
  // reference (P) is the address of a place, of which only the indexes are
  // values; the others are values.
  std::vector<const Expr*> operands;
  std::string operandKinds;
  for (size_t i = 0; i < args.size(); ++i) {
    if (kinds[i] == 'B' || kinds[i] == 'A') continue;
    if (kinds[i] == '&') {
      std::vector<const Expr*> indexes;
      CollectIndexes(*args[i], indexes);
      operands.insert(operands.end(), indexes.begin(), indexes.end());
      operandKinds += std::string(indexes.size(), 'I');
      continue;
    }
    operands.push_back(args[i]);
    operandKinds += kinds[i];
  }
  for (size_t i = 0; i < operands.size(); ++i)
    if (std::strchr("IiPpUCc", operandKinds[i])) SignIgnored(*operands[i]);
  std::vector<Value> values = EmitOperands(operands, future, operandKinds.c_str());
  for (const Value& v : values) Absorb(into, v);
  std::vector<std::string> out;
  size_t next = 0;
  for (size_t i = 0; i < args.size(); ++i) {
    const Expr& arg = *args[i];
    if (kinds[i] == 'B') {
      out.push_back(arg.symbol->cppName);
    } else if (kinds[i] == 'A') {
      // A fixed array travels as its view; a dynamic one as its record; an
      // array parameter is already the address of one.
      const Symbol& a = *arg.symbol;
      out.push_back(a.reference ? a.cppName : "&" + a.cppName + (a.fixedArray() ? "$view" : ""));
    } else if (kinds[i] == '&') {
      out.push_back("&" + PlaceOf(arg, values, next));
    } else {
      out.push_back(Convert(values[next++], kinds[i]));
    }
  }
  return out;
}

Value Emitter::EmitCall(const Expr& e, Future future) {
  const Routine& r = *e.routine;
  std::string kinds;
  std::vector<const Expr*> args;
  for (size_t i = 0; i < e.args.size() && i < r.params.size(); ++i) {
    const Param& p = r.params[i];
    ValueType t = p.type;
    if (p.dimensions > 0) kinds += 'A';
    else if (p.byReference || t == ValueType::Record) kinds += '&';
    else kinds += t == ValueType::String ? 'T' : t == ValueType::Double ? 'N' : 'I';
    args.push_back(e.args[i].get());
  }
  ValueType result = r.isFunction ? r.result : ValueType::None;
  // A call made at once uses its arguments at once.
  bool now = MustSettle(Summarize(e), result, future);
  Value v;
  std::vector<std::string> converted = EmitArgs(args, kinds.c_str(), now ? Future{} : future, v);
  std::string call = r.cppName + (r.dynamic ? ".entry(" : "(");
  for (size_t i = 0; i < converted.size(); ++i) call += (i ? ", " : "") + converted[i];
  call += ")";
  v.cpp = call;
  v.type = result;
  v.effects |= kHazard;
  v.storage = r.recursive ? Storage::Ring : Storage::Result;
  return now ? Evaluate(v, future) : v;
}

Value Emitter::EmitBuiltin(const Expr& e, Future future) {
  const Builtin& b = *e.builtin;
  if (b.special == Special::Int && e.args[0]->type == ValueType::Integer) return Emit(*e.args[0], future);
  std::vector<const Expr*> args;
  for (auto& a : e.args) args.push_back(a.get());
  Value v;
  v.type = b.result;
  v.effects = b.effects;
  v.storage = b.storage;
  bool now = b.result != ValueType::None && MustSettle(Summarize(e), b.result, future);
  Future argsFuture = now ? Future{} : future;
  bool view = IsSliceView(e);
  if (view) {
    // A piece of a variable's text or a literal, read in place.
    v.effects = 0;
    v.storage = e.args[0]->constant.known() ? Storage::Literal : Storage::Variable;
    v.made = true;
    v.view = true;
  } else if (b.effects & kRing) {
    // A temporary of the ring is taken before the arguments are read.
    argsFuture.rings += 1;
  }
  if (b.special == Special::Str) {
    SignIgnored(*args[0]);  // -0 reads as 0
    Value n = EmitOperands(args, argsFuture)[0];
    Absorb(v, n);
    v.cpp = NumberText(n);
    return now ? Evaluate(v, future) : v;
  }
  std::string kinds = b.args;
  std::vector<std::string> converted;
  if (b.special == Special::Instr && args.size() == 2) {
    converted = EmitArgs(args, "SS", argsFuture, v);
    converted.insert(converted.begin(), "1");
  } else {
    converted = EmitArgs(args, kinds.c_str(), argsFuture, v);
    int optional = 0;
    for (size_t i = 0; i < kinds.size(); ++i) {
      bool omitted = i >= converted.size();
      if (std::islower(static_cast<unsigned char>(kinds[i]))) {
        if (omitted) converted.push_back(DefaultArg(b.defaults, optional));
        ++optional;
      }
    }
  }
  if (std::string(b.name) == "LEN" && !args.empty()) {
    // A variable's length is in its descriptor.
    const std::string& s = converted[0];
    if (s.rfind("ValueOf(", 0) == 0) v.cpp = s.substr(8, s.size() - 9) + ".length";
    else v.cpp = "(" + s + ").length";
    return now ? Evaluate(v, future) : v;
  }
  std::string text = view ? b.view : b.emit;
  for (size_t i = converted.size(); i-- > 0;) {
    std::string mark = "$" + std::to_string(i + 1);
    size_t at = text.find(mark);
    if (at != std::string::npos) text.replace(at, mark.size(), converted[i]);
  }
  v.cpp = text;
  return now ? Evaluate(v, future) : v;
}

// Expands $1..$9 (arguments), $v (the value), $o (the object), $s (a rich
// edit's selection), $c (the object as a drawing target) and $Q (the query
// slot) in one pass, so that nothing an argument contains is expanded again.
std::string Emitter::Template(const char* text, const Expr& member, const std::vector<std::string>& args,
                              const std::string& value) {
  const Symbol& o = *member.symbol;
  std::string out;
  for (const char* p = text; *p; ++p) {
    if (*p != '$' || p[1] == '\0') {
      out += *p;
      continue;
    }
    char mark = *++p;
    if (mark >= '1' && mark <= '9') {
      size_t i = static_cast<size_t>(mark - '1');
      out += i < args.size() ? args[i] : "0";
    } else if (mark == 'v') {
      out += value;
    } else if (mark == 'o') {
      out += o.cppName;
    } else if (mark == 's') {
      out += o.cppName + "$Selection";
    } else if (mark == 'c') {
      // A form or control as a drawing target: through a canvas of its
      // window when the program needs one, else the record as it stands.
      bool canvas = IsGuiKind(o.object) && (program_.needs & kNeedsCanvas) == kNeedsCanvas;
      out += canvas ? "WindowCanvas(&" + o.cppName + ")" : "&" + o.cppName;
    } else if (mark == 'Q') {
      // In the earliest generation one pointer serves both.
      out += program_.generation == kEarliest ? "CurrentObject" : "QueryObject";
    } else {
      out += '$';
      out += mark;
    }
  }
  return out;
}

Value Emitter::EmitMember(const Expr& e, Future future) {
  const Member& m = *e.member;
  std::vector<const Expr*> args;
  for (auto& a : e.args) args.push_back(a.get());
  bool now = MustSettle(Summarize(e), m.type, future);
  Value v;
  std::vector<std::string> converted = EmitArgs(args, m.args, now ? Future{} : future, v);
  int optional = 0;
  for (size_t i = 0; m.args[i]; ++i) {
    if (std::islower(static_cast<unsigned char>(m.args[i]))) {
      if (i >= converted.size()) converted.push_back(DefaultArg(m.defaults, optional));
      ++optional;
    }
  }
  v.type = m.type;
  v.effects |= m.effects;
  v.storage = m.storage;
  if (m.effects == kPure) v.reads |= kReadsObject;
  v.cpp = Template(m.read, e, converted, "");
  return now ? Evaluate(v, future) : v;
}

Value Emitter::EmitUnary(const Expr& e, Future future) {
  bool wide = Wide(e);
  Value x = Emit(*e.args[0], future);
  Value v;
  Absorb(v, x);
  if (e.unary == UnaryOp::Not) {
    v.type = ValueType::Integer;
    v.boolean = true;
    v.cpp = "(" + AsInteger(x) + " == 0)";
  } else if (wide) {
    v.type = ValueType::Double;
    v.wide = true;
    v.cpp = "(-" + AsWide(x) + ")";
  } else {
    v.type = ValueType::Double;
    v.cpp = "(-" + AsNumber(x) + ")";
  }
  return v;
}

Value Emitter::EmitBinary(const Expr& e, Future future) {
  bool wide = Wide(e);
  std::vector<Value> operands = EmitOperands({e.args[0].get(), e.args[1].get()}, future);
  const Value& l = operands[0];
  const Value& r = operands[1];
  Value v;
  Absorb(v, l);
  Absorb(v, r);
  BinaryOp op = e.binary;
  bool integers = l.integral() && r.integral();
  if (wide) {
    // Exact in a 64-bit integer: the integer path says it fits. Of two
    // INTEGERs, stored into an INTEGER, the overflow flag does the range check.
    v.type = ValueType::Double;
    v.wide = true;
    v.cpp = "(" + AsWide(l) + " " + CppOperator(op) + " " + AsWide(r) + ")";
    if ((l.type == ValueType::Integer || l.boolean) && (r.type == ValueType::Integer || r.boolean) && !l.wide && !r.wide) {
      const char* narrow = op == BinaryOp::Add ? "IntegerAdd(" : op == BinaryOp::Subtract ? "IntegerSub(" : "IntegerMul(";
      v.narrow = narrow + l.cpp + ", " + r.cpp + ")";
    }
    return v;
  }
  switch (op) {
    case BinaryOp::Add:
    case BinaryOp::Subtract:
    case BinaryOp::Multiply:
    case BinaryOp::Divide:
      // Exact in extended precision, whatever the operands' types: the left
      // operand is made a long double and C++ promotes the right one.
      v.type = ValueType::Double;
      v.cpp = "(" + AsNumber(l) + " " + CppOperator(op) + " " + r.cpp + ")";
      break;
    case BinaryOp::IntDivide:
    case BinaryOp::Modulo:
      v.type = ValueType::Integer;
      v.cpp = std::string(op == BinaryOp::IntDivide ? "IntegerDivide(" : "IntegerModulo(") + AsInteger(l) + ", " +
              AsInteger(r) + ")";
      break;
    case BinaryOp::Power:
      v.type = ValueType::Double;
      v.cpp = "NumberPower(" + AsNumber(l) + ", " + AsNumber(r) + ")";
      break;
    case BinaryOp::And:
    case BinaryOp::Or:
    case BinaryOp::Xor:
      v.type = ValueType::Integer;
      v.cpp = "(" + AsInteger(l) + " " + CppOperator(op) + " " + AsInteger(r) + ")";
      break;
    default:
      v.type = ValueType::Integer;
      v.boolean = true;
      if (integers) v.cpp = "(" + l.cpp + " " + CppOperator(op) + " " + r.cpp + ")";
      else v.cpp = std::string(NumberComparison(op)) + "(" + AsNumber(l) + ", " + AsNumber(r) + ")";
      break;
  }
  return v;
}

Value Emitter::EmitCompare(const Expr& e, Future future) {
  std::vector<Value> operands = EmitOperands({e.args[0].get(), e.args[1].get()}, future);
  Value v;
  v.type = ValueType::Integer;
  v.boolean = true;
  Absorb(v, operands[0]);
  Absorb(v, operands[1]);
  if (e.binary == BinaryOp::Equal || e.binary == BinaryOp::NotEqual)
    v.cpp = std::string(e.binary == BinaryOp::Equal ? "" : "!") + "StrEqual(" + AsString(operands[0]) + ", " +
            AsString(operands[1]) + ")";
  else
    v.cpp = "(StrCompare(" + AsString(operands[0]) + ", " + AsString(operands[1]) + ") " + CppOperator(e.binary) + " 0)";
  return v;
}

Value Emitter::Text(const Value& v) {
  if (v.type == ValueType::String) return v;
  Value text;
  text.type = ValueType::String;
  text.storage = Storage::Ring;
  text.effects = v.effects | kRing;
  text.reads = v.reads;
  text.cpp = NumberText(v);
  return text;
}

// A concatenation is built in the one accumulator. The pieces whose
// evaluation could disturb it (a routine, another concatenation, anything in
// source order) are made first, in order, and kept; then the accumulator
// starts and takes the pieces in order. The last append is left to the
// consumer.
Value Emitter::EmitConcat(const Expr& e, Future future) {
  std::vector<const Expr*> pieces;
  ConcatPieces(e, pieces);
  size_t n = pieces.size();
  std::vector<Future> does(n);
  int last = -1;
  for (size_t i = 0; i < n; ++i) {
    does[i] = Summarize(*pieces[i]).does;
    if (pieces[i]->type != ValueType::String) does[i].rings += 1;
    if (does[i].effects & (kOrdered | kHazard)) last = static_cast<int>(i);
  }
  // A piece is made with what follows it until its append: the pieces made
  // early after it, and the start of the accumulator.
  auto piece = [&](size_t i, Future later) { return Settle(Text(Emit(*pieces[i], later)), later); };
  std::vector<Value> early;
  for (int i = 0; i <= last; ++i) {
    Future later = Future{kOrdered, 0};
    for (int j = i + 1; j <= last; ++j) later = later | does[j];
    early.push_back(Now(piece(static_cast<size_t>(i), later), later));
  }
  Line("ConcatBegin();");
  for (const Value& v : early) Line("ConcatAppend(" + AsString(v) + ");");
  Value result;
  result.type = ValueType::String;
  result.storage = Storage::Accumulator;
  if (last == static_cast<int>(n) - 1) {
    result.cpp = "ValueOf(ConcatAccumulator)";
    result.descriptor = "ConcatAccumulator";
    result.reads = Holds(Storage::Accumulator);
    result.made = true;
    return result;
  }
  for (size_t i = static_cast<size_t>(last + 1); i + 1 < n; ++i) Line("ConcatAppend(" + AsString(piece(i, {})) + ");");
  bool now = MustSettle(Summarize(e), ValueType::String, future);
  Value tail = piece(n - 1, now ? Future{} : future);
  result.cpp = "ConcatAppend(" + AsString(tail) + ")";
  Absorb(result, tail);
  result.effects |= kOrdered;
  return now ? Evaluate(result, future) : result;
}

}  // namespace tbc
