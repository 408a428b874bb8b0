// Random programs from a seed: globals of each type and arrays of each type,
// a few SUBs and FUNCTIONs (each calls only those before it, so there is no
// recursion) that change globals and are called in the middle of
// expressions, and a main code of assignments, PRINTs, IFs, loops, SELECTs
// and calls, with deep nesting of string functions and concatenations.
// Loops run a bounded number of passes: their counters are reserved, and no
// routine changes them.
#include <algorithm>
#include <random>

#include "model.h"

namespace difftest {

namespace {

ExprPtr Make(Expr e) { return std::make_shared<const Expr>(std::move(e)); }
StmtPtr Make(Stmt s) { return std::make_shared<const Stmt>(std::move(s)); }

ExprPtr Integer(int64_t v) {
  Expr e;
  e.kind = Expr::Kind::Integer;
  e.integer = v;
  return Make(e);
}

ExprPtr Operation(const std::string& op, Type type, std::vector<ExprPtr> args) {
  Expr e;
  e.kind = args.size() == 1 ? Expr::Kind::Unary : Expr::Kind::Binary;
  e.name = op;
  e.type = type;
  e.args = std::move(args);
  return Make(e);
}

ExprPtr Builtin(const std::string& name, Type type, std::vector<ExprPtr> args) {
  Expr e;
  e.kind = Expr::Kind::Builtin;
  e.name = name;
  e.type = type;
  e.args = std::move(args);
  return Make(e);
}

class Generator {
 public:
  Generator(uint64_t seed, bool trapped) : rng_(seed), trapped_(trapped) {}

  Program Run() {
    p_.trapped = trapped_;
    const char* names[] = {"gi1", "gi2", "gi3", "gd1", "gd2", "gs1", "gs2", "gs3"};
    const Type types[] = {Type::Integer, Type::Integer, Type::Integer, Type::Double,
                          Type::Double,  Type::String,  Type::String,  Type::String};
    for (int i = 0; i < 8; ++i) p_.globals.push_back({names[i], types[i], -1});
    p_.globals.push_back({"ti", Type::Integer, 3});
    p_.globals.push_back({"td", Type::Double, 3});
    p_.globals.push_back({"ts", Type::String, 3});
    for (const char* counter : {"c1", "c2", "c3", "w1", "w2", "w3"}) p_.globals.push_back({counter, Type::Integer, -1});

    int routines = Pick(5);
    for (int i = 0; i < routines; ++i) {
      Routine r;
      r.isFunction = Chance(65);
      r.name = (r.isFunction ? "F" : "S") + std::to_string(i + 1);
      r.result = AnyType();
      int params = Pick(4);
      for (int k = 0; k < params; ++k) r.params.push_back({"p" + std::to_string(k + 1), AnyType(), -1});
      // A recursive routine counts down its first parameter.
      if (Chance(35)) {
        if (r.params.empty()) r.params.push_back({"p1", Type::Integer, -1});
        r.params[0].type = Type::Integer;
        recursive_.push_back(static_cast<int>(i));
      }
      int locals = Pick(3);
      for (int k = 0; k < locals; ++k) r.locals.push_back({"q" + std::to_string(k + 1), AnyType(), -1});
      for (const char* counter : {"k1", "k2", "m1", "m2"}) r.locals.push_back({counter, Type::Integer, -1});
      p_.routines.push_back(r);
    }
    for (size_t i = 0; i < p_.routines.size(); ++i) {
      routine_ = static_cast<int>(i);
      Routine& r = p_.routines[i];
      r.body = Statements(2, 2 + Pick(5));
      if (r.isFunction) {
        // The result is set at least once, at the top level of the body.
        Stmt s;
        s.kind = Stmt::Kind::Assign;
        s.name = r.name;
        s.value = Value(r.result, 2);
        r.body.insert(r.body.begin() + Pick(static_cast<int>(r.body.size()) + 1), Make(s));
      }
      if (std::find(recursive_.begin(), recursive_.end(), static_cast<int>(i)) != recursive_.end())
        r.body.insert(r.body.begin() + Pick(static_cast<int>(r.body.size()) + 1), SelfCall(r));
    }
    routine_ = -1;
    p_.main = Statements(3, 8 + Pick(10));
    return p_;
  }

 private:
  int Pick(int n) { return n <= 1 ? 0 : static_cast<int>(rng_() % static_cast<uint64_t>(n)); }
  bool Chance(int percent) { return Pick(100) < percent; }
  Type AnyType() { return static_cast<Type>(Pick(3)); }

  bool Reserved(const std::string& name) const {
    return name[0] == 'c' || name[0] == 'w' || name[0] == 'k' || name[0] == 'm';
  }

  // The scalars seen here, of one type: parameters, locals and the result
  // first, then the globals. Loop counters only for reading.
  std::vector<std::string> Scalars(Type t, bool forWriting) {
    std::vector<std::string> names;
    if (routine_ >= 0) {
      const Routine& r = p_.routines[static_cast<size_t>(routine_)];
      // A recursive routine's count is only read.
      bool counts = std::find(recursive_.begin(), recursive_.end(), routine_) != recursive_.end();
      for (const Variable& v : r.params)
        if (v.type == t && !(forWriting && counts && v.name == "p1")) names.push_back(v.name);
      for (const Variable& v : r.locals)
        if (v.type == t && !(forWriting && Reserved(v.name))) names.push_back(v.name);
      if (r.isFunction && r.result == t) names.push_back(r.name);
    }
    for (const Variable& v : p_.globals) {
      if (v.type != t || v.bound >= 0 || (forWriting && Reserved(v.name))) continue;
      bool hidden = false;
      for (const std::string& n : names) hidden |= n == v.name;
      if (!hidden) names.push_back(v.name);
    }
    return names;
  }

  std::string Array(Type t) { return t == Type::Integer ? "ti" : t == Type::Double ? "td" : "ts"; }

  // An index always within 0 to 3.
  ExprPtr Index(int depth) { return Operation("AND", Type::Integer, {Number(depth), Integer(3)}); }

  // The routines this code may call: those before the routine being made.
  std::vector<const Routine*> Callable(bool functions, Type result) {
    std::vector<const Routine*> found;
    size_t end = routine_ < 0 ? p_.routines.size() : static_cast<size_t>(routine_);
    for (size_t i = 0; i < end; ++i) {
      const Routine& r = p_.routines[i];
      if (r.isFunction == functions && (!functions || r.result == result)) found.push_back(&r);
    }
    return found;
  }

  std::vector<ExprPtr> Arguments(const Routine& r, int depth) {
    std::vector<ExprPtr> args;
    for (const Variable& v : r.params) args.push_back(Value(v.type, depth));
    // A recursive routine's count starts small.
    size_t index = static_cast<size_t>(&r - p_.routines.data());
    if (std::find(recursive_.begin(), recursive_.end(), static_cast<int>(index)) != recursive_.end())
      args[0] = Operation("AND", Type::Integer, {Number(depth), Integer(3)});
    return args;
  }

  ExprPtr Number(int depth) {
    // Trapped programs stay with whole numbers mostly: a rounding would
    // raise a flag.
    return Value(Chance(trapped_ ? 75 : 55) ? Type::Integer : Type::Double, depth);
  }

  ExprPtr Literal(Type t) {
    Expr e;
    e.type = t;
    if (t == Type::Integer) {
      e.kind = Expr::Kind::Integer;
      e.integer = Chance(90) ? Pick(21) : Chance(50) ? Pick(100000) : 2147483647 - Pick(3);
    } else if (t == Type::Double) {
      e.kind = Expr::Kind::Double;
      // Whole in a trapped program, where a rounding store raises a flag.
      e.number = trapped_ ? Pick(25) : static_cast<long double>(Pick(200)) / 8;
    } else {
      e.kind = Expr::Kind::String;
      static const char kAlphabet[] = "abcXYZ 019,.-\"";
      int length = Pick(6);
      for (int i = 0; i < length; ++i) e.text += kAlphabet[Pick(sizeof kAlphabet - 1)];
    }
    return Make(e);
  }

  ExprPtr Leaf(Type t) {
    std::vector<std::string> names = Scalars(t, false);
    int choice = Pick(10);
    if (choice < 4 && !names.empty()) {
      Expr e;
      e.kind = Expr::Kind::Variable;
      e.type = t;
      e.name = names[static_cast<size_t>(Pick(static_cast<int>(names.size())))];
      return Make(e);
    }
    if (choice < 6) {
      Expr e;
      e.kind = Expr::Kind::Element;
      e.type = t;
      e.name = Array(t);
      e.args.push_back(Index(0));
      return Make(e);
    }
    return Literal(t);
  }

  ExprPtr Call(Type t, int depth) {
    std::vector<const Routine*> functions = Callable(true, t);
    if (functions.empty()) return nullptr;
    const Routine& r = *functions[static_cast<size_t>(Pick(static_cast<int>(functions.size())))];
    Expr e;
    e.kind = Expr::Kind::Call;
    e.type = t;
    e.name = r.name;
    e.args = Arguments(r, depth);
    return Make(e);
  }

  ExprPtr Value(Type t, int depth) {
    if (depth <= 0 || Chance(25)) return Leaf(t);
    int d = depth - 1;
    if (Chance(12))
      if (ExprPtr call = Call(t, d)) return call;
    switch (t) {
      case Type::Integer:
        switch (Pick(9)) {
          case 0: return Operation(Chance(50) ? "\\" : "MOD", t, {Number(d), Number(d)});
          case 1: {
            static const char* const kOps[] = {"AND", "OR", "XOR"};
            return Operation(kOps[Pick(3)], t, {Number(d), Number(d)});
          }
          case 2: return Operation("NOT", t, {Number(d)});
          case 3: {
            static const char* const kOps[] = {"=", "<>", "<", ">", "<=", ">="};
            bool text = Chance(40);
            return Operation(kOps[Pick(6)], t, {text ? Value(Type::String, d) : Number(d),
                                                 text ? Value(Type::String, d) : Number(d)});
          }
          case 4: return Builtin("LEN", t, {Value(Type::String, d)});
          case 5: return Builtin("ASC", t, {Value(Type::String, d)});
          case 6:
            if (Chance(50)) return Builtin("INSTR", t, {Value(Type::String, d), Value(Type::String, d)});
            return Builtin("INSTR", t, {Operation("AND", Type::Integer, {Number(d), Integer(7)}),
                                        Value(Type::String, d), Value(Type::String, d)});
          case 7: return Builtin("INT", t, {Value(Type::Integer, d)});
          default: return Leaf(t);
        }
      case Type::Double:
        switch (Pick(trapped_ ? 8 : 10)) {
          case 0:
          case 1: {
            static const char* const kOps[] = {"+", "-", "*"};
            return Operation(kOps[Pick(3)], t, {Number(d), Number(d)});
          }
          case 2: return Operation("-", t, {Number(d)});
          case 3:
            return Operation("^", t, {Operation("AND", Type::Integer, {Number(d), Integer(7)}), Integer(Pick(4))});
          case 4: return Builtin("ABS", t, {Number(d)});
          case 5: return Builtin("INT", t, {Value(Type::Double, d)});
          case 6: return Builtin("VAL", t, {Value(Type::String, d)});
          case 7: return Operation("+", t, {Number(d), Number(d)});
          case 8: return Operation("/", t, {Number(d), Number(d)});
          default: return Builtin("SQR", t, {Number(d)});
        }
      default:
        switch (Pick(11)) {
          case 0:
          case 1:
          case 2: {
            int form = Pick(4);
            return Operation("+", t, {form == 2 ? Number(d) : Value(t, d), form == 1 ? Number(d) : Value(t, d)});
          }
          case 3: return Builtin(Chance(50) ? "LEFT$" : "RIGHT$", t, {Value(t, d), Number(d)});
          case 4:
            if (Chance(50)) return Builtin("MID$", t, {Value(t, d), Number(d)});
            return Builtin("MID$", t, {Value(t, d), Number(d), Number(d)});
          case 5: return Builtin(Chance(50) ? "UCASE$" : "LCASE$", t, {Value(t, d)});
          case 6: {
            // A byte from 48 to 111: printable, never NUL.
            ExprPtr code = Operation("+", Type::Double, {Operation("AND", Type::Integer, {Number(d), Integer(63)}),
                                                         Integer(48)});
            return Builtin("CHR$", t, {code});
          }
          case 7: return Builtin("STR$", t, {Number(d)});
          case 8: return Builtin("USTR$", t, {Value(Type::Integer, d)});
          default: return Leaf(t);
        }
    }
  }

  // IF p1 > 0 THEN the routine again with p1 - 1: for a FUNCTION, its result
  // takes the inner call's (joined to it, for a STRING).
  StmtPtr SelfCall(const Routine& r) {
    Expr p1;
    p1.kind = Expr::Kind::Variable;
    p1.name = "p1";
    std::vector<ExprPtr> args = Arguments(r, 1);
    args[0] = Operation("-", Type::Double, {Make(p1), Integer(1)});
    Stmt inner;
    if (r.isFunction) {
      Expr call;
      call.kind = Expr::Kind::Call;
      call.type = r.result;
      call.name = r.name;
      call.args = args;
      Expr result;
      result.kind = Expr::Kind::Variable;
      result.type = r.result;
      result.name = r.name;
      inner.kind = Stmt::Kind::Assign;
      inner.name = r.name;
      inner.value = Operation("+", r.result == Type::String ? Type::String : Type::Double, {Make(result), Make(call)});
    } else {
      inner.kind = Stmt::Kind::Call;
      inner.name = r.name;
      inner.items = args;
      inner.form = Pick(2);
    }
    Stmt s;
    s.kind = Stmt::Kind::If;
    s.oneLine = true;
    s.branches.push_back({Operation(">", Type::Integer, {Make(p1), Integer(0)}), Block{Make(inner)}});
    return Make(s);
  }

  Block Statements(int depth, int count) {
    Block block;
    for (int i = 0; i < count; ++i) block.push_back(Statement(depth));
    return block;
  }

  // A statement that fits on one line after THEN.
  StmtPtr SimpleStatement() {
    if (forDepth_ > 0 && Chance(15)) return Make(Stmt{Stmt::Kind::ExitFor});
    if (doDepth_ > 0 && Chance(15)) return Make(Stmt{Stmt::Kind::ExitDo});
    if (routine_ >= 0 && Chance(8)) return Make(Stmt{Stmt::Kind::ExitRoutine});
    switch (Pick(3)) {
      case 0: return Assignment(1);
      case 1: return Printing(1);
      default: {
        StmtPtr call = SubCall(1);
        return call ? call : Printing(1);
      }
    }
  }

  StmtPtr Assignment(int depth) {
    Stmt s;
    s.kind = Stmt::Kind::Assign;
    Type t = AnyType();
    std::vector<std::string> names = Scalars(t, true);
    if (names.empty() || Chance(25)) {
      s.name = Array(t);
      s.index = Index(1);
    } else {
      s.name = names[static_cast<size_t>(Pick(static_cast<int>(names.size())))];
    }
    s.value = t == Type::String ? Value(t, depth + 1) : Number(depth + 1);
    return Make(s);
  }

  StmtPtr Printing(int depth) {
    Stmt s;
    s.kind = Stmt::Kind::Print;
    int items = Pick(4) + (Chance(90) ? 1 : 0);
    for (int i = 0; i < items; ++i) s.items.push_back(Value(AnyType(), depth + 1));
    s.keepLine = !s.items.empty() && Chance(20);
    return Make(s);
  }

  StmtPtr SubCall(int depth) {
    std::vector<const Routine*> subs = Callable(false, Type::Integer);
    if (subs.empty()) return nullptr;
    const Routine& r = *subs[static_cast<size_t>(Pick(static_cast<int>(subs.size())))];
    Stmt s;
    s.kind = Stmt::Kind::Call;
    s.name = r.name;
    s.items = Arguments(r, depth);
    s.form = Pick(2);
    return Make(s);
  }

  // A loop counter of this code that no enclosing loop uses.
  std::string Counter(bool forLoop) {
    const char* const main[2][3] = {{"w1", "w2", "w3"}, {"c1", "c2", "c3"}};
    const char* const routine[2][3] = {{"m1", "m2", ""}, {"k1", "k2", ""}};
    const char* const(&names)[3] = routine_ < 0 ? main[forLoop] : routine[forLoop];
    for (const char* name : names) {
      if (!*name) break;
      bool used = false;
      for (const std::string& u : counters_) used |= u == name;
      if (!used) return name;
    }
    return "";
  }

  StmtPtr Statement(int depth) {
    int choice = Pick(100);
    if (depth <= 0) choice = Pick(60);
    if (choice < 25) return Assignment(2);
    if (choice < 43) return Printing(2);
    if (choice < 55) {
      StmtPtr call = SubCall(2);
      if (call) return call;
      return Assignment(2);
    }
    if (choice < 60) return SimpleStatement();
    if (choice < 72) return Conditional(depth);
    if (choice < 80) {
      std::string counter = Counter(true);
      if (counter.empty()) return Printing(1);
      Stmt s;
      s.kind = Stmt::Kind::For;
      s.name = counter;
      static const int kSteps[] = {1, 1, 1, 2, -1, -2};
      s.step = kSteps[Pick(6)];
      s.from = Chance(50) ? Integer(Pick(4)) : Index(1);
      s.to = Chance(50) ? Integer(Pick(6)) : Operation("AND", Type::Integer, {Number(1), Integer(7)});
      counters_.push_back(counter);
      ++forDepth_;
      s.body = Statements(depth - 1, 1 + Pick(3));
      --forDepth_;
      counters_.pop_back();
      return Make(s);
    }
    if (choice < 88) {
      std::string counter = Counter(false);
      if (counter.empty()) return Printing(1);
      Stmt s;
      bool isDo = Chance(60);
      s.kind = isDo ? Stmt::Kind::Do : Stmt::Kind::While;
      s.name = counter;
      s.passes = Pick(4);
      s.form = Pick(4);
      counters_.push_back(counter);
      if (isDo) ++doDepth_;
      s.body = Statements(depth - 1, 1 + Pick(3));
      if (isDo) --doDepth_;
      counters_.pop_back();
      return Make(s);
    }
    return Selection(depth);
  }

  StmtPtr Conditional(int depth) {
    Stmt s;
    s.kind = Stmt::Kind::If;
    if (Chance(35)) {
      s.oneLine = true;
      Block body;
      int n = 1 + Pick(2);
      for (int i = 0; i < n; ++i) body.push_back(SimpleStatement());
      s.branches.push_back({Number(2), body});
      s.hasElse = Chance(40);
      if (s.hasElse) s.elseBody.push_back(SimpleStatement());
      return Make(s);
    }
    int branches = 1 + Pick(3);
    for (int i = 0; i < branches; ++i) s.branches.push_back({Number(2), Statements(depth - 1, 1 + Pick(3))});
    s.hasElse = Chance(50);
    if (s.hasElse) s.elseBody = Statements(depth - 1, 1 + Pick(2));
    return Make(s);
  }

  StmtPtr Selection(int depth) {
    Stmt s;
    s.kind = Stmt::Kind::Select;
    Type t = Chance(60) ? (Chance(60) ? Type::Integer : Type::Double) : Type::String;
    auto value = [&]() { return t == Type::String ? Value(t, 1) : Number(1); };
    s.value = value();
    int clauses = 1 + Pick(3);
    for (int i = 0; i < clauses; ++i) {
      CaseClause c;
      int items = 1 + Pick(3);
      for (int k = 0; k < items; ++k) {
        CaseItem item;
        item.kind = static_cast<CaseItem::Kind>(Pick(3));
        item.first = value();
        if (item.kind == CaseItem::Kind::Range) item.last = value();
        if (item.kind == CaseItem::Kind::Is) {
          static const char* const kOps[] = {"=", "<>", "<", ">", "<=", ">="};
          item.op = kOps[Pick(6)];
        }
        c.items.push_back(item);
      }
      c.body = Statements(depth - 1, 1 + Pick(2));
      s.cases.push_back(c);
    }
    s.hasElse = Chance(50);
    if (s.hasElse) s.elseBody = Statements(depth - 1, 1 + Pick(2));
    return Make(s);
  }

  std::mt19937_64 rng_;
  bool trapped_;
  Program p_;
  int routine_ = -1;  // the routine being made; -1 in the main code
  std::vector<std::string> counters_;
  int forDepth_ = 0, doDepth_ = 0;
  std::vector<int> recursive_;  // routines that call themselves
};

}  // namespace

Program Generate(uint64_t seed, bool trapped) { return Generator(seed, trapped).Run(); }

}  // namespace difftest
