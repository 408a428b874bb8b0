// The memory that x87 code reads and writes (its operands, its scratch
// integers, its results) is static, like a routine's variables: a frame
// would grow with every expression of the routine, since the C++ compiler
// does not share small stack slots between statements. A recursive routine
// keeps it on the stack, like its variables.
//
// Numeric code of a program with a floating-point handler: each numeric
// expression becomes x87 code in source order, every instruction that
// computes a value followed by a call of FpuCheck (loads and stores are not),
// and nothing is folded. The handler empties the register stack when it
// returns, so what an expression still had pending is lost, as the trap
// defines. Calls and other operands that are not arithmetic are made before
// the arithmetic of their expression.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <functional>

#include "emit_internal.h"

namespace tbc {

namespace {

// Builds one asm statement.
class Asm {
 public:
  std::string Input(const std::string& lvalue, ValueType type) {
    std::string name = "i" + std::to_string(inputs_.size() + 1);
    inputs_.push_back("[" + name + "] \"m\"(" + lvalue + ")");
    (void)type;
    return "%[" + name + "]";
  }
  void Scratch(const std::string& local) { scratch_.push_back("[" + local + "] \"+m\"(" + local + ")"); }
  void Code(const std::string& line) { code_.push_back(line); }
  void Check() { Code("call %P[check]"); }
  int NextLabel() { return ++labels_; }
  // A call of a runtime routine that works on the register stack.
  void Call(const std::string& routine) {
    bool known = false;
    for (const std::string& r : routines_) known |= r == routine;
    if (!known) routines_.push_back(routine);
    Code("call %P[" + routine + "]");
  }
  // A function's code from its row: instructions separated by ';', `call
  // Name` for a routine, and $a, $b... for the scratch integers that
  // newScratch makes, one for each letter.
  void RowCode(const std::string& code, const std::function<std::string()>& newScratch) {
    std::map<char, std::string> scratches;
    for (size_t start = 0; start <= code.size();) {
      size_t end = std::min(code.find(';', start), code.size());
      std::string line = code.substr(start, end - start);
      start = end + 1;
      if (line.rfind("call ", 0) == 0) {
        Call(line.substr(5));
        continue;
      }
      std::string out;
      for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '$' && i + 1 < line.size() && std::islower(static_cast<unsigned char>(line[i + 1]))) {
          auto found = scratches.find(line[i + 1]);
          if (found == scratches.end()) found = scratches.emplace(line[i + 1], newScratch()).first;
          out += "%[" + found->second + "]";
          ++i;
        } else {
          out += line[i];
        }
      }
      Code(out);
    }
  }

  std::string Statement(const std::string& output) const {
    std::string text = "asm volatile(";
    for (size_t i = 0; i < code_.size(); ++i)
      text += "\"" + code_[i] + (i + 1 < code_.size() ? "\\n\\t\"\n      " : "\"");
    text += "\n      : ";
    std::vector<std::string> outs = scratch_;
    if (!output.empty()) outs.insert(outs.begin(), "[out] \"=m\"(" + output + ")");
    for (size_t i = 0; i < outs.size(); ++i) text += (i ? ", " : "") + outs[i];
    text += "\n      : ";
    std::vector<std::string> ins = inputs_;
    ins.push_back("[check] \"i\"(&FpuCheck)");
    for (const std::string& r : routines_) ins.push_back("[" + r + "] \"i\"(&" + r + ")");
    for (size_t i = 0; i < ins.size(); ++i) text += (i ? ", " : "") + ins[i];
    text += "\n      : \"eax\", \"ecx\", \"edx\", \"cc\", \"memory\", \"st\", \"st(1)\", \"st(2)\", \"st(3)\", "
            "\"st(4)\", \"st(5)\", \"st(6)\", \"st(7)\");";
    return text;
  }

 private:
  std::vector<std::string> code_, inputs_, scratch_, routines_;
  int labels_ = 0;
};

}  // namespace

// The operations that become x87 code.
bool Emitter::X87(const Expr& e) const {
  if (e.type != ValueType::Integer && e.type != ValueType::Double) return false;
  if (e.kind == Expr::Kind::Unary) return true;
  if (e.kind == Expr::Kind::Binary) return e.args[0]->type != ValueType::String;
  if (e.kind != Expr::Kind::Name || e.ref != Expr::Ref::Builtin || e.args.empty()) return false;
  return IsX87Function(*e.builtin, e.args[0]->type);
}

std::string Emitter::ConstantOperand(long double value, bool integer) {
  std::string key = (integer ? "i" : "n") + NumberLiteral(value);
  auto found = constantNames_.find(key);
  if (found != constantNames_.end()) return found->second;
  std::string name = "X87Constant" + std::to_string(constantNames_.size() + 1);
  constants_.push_back(integer ? "const int32_t " + name + " = " + IntegerLiteral(static_cast<int32_t>(value)) + ";"
                               : "const long double " + name + " = " + NumberLiteral(value) + ";");
  constantNames_[key] = name;
  return name;
}

namespace {

// Where an operand of the asm ends up: on the register stack, or as a 32-bit
// integer in a scratch local (the results of NOT, AND, OR, XOR, \, MOD and
// the comparisons).
struct Place {
  bool onStack = true;
  std::string scratch;
  bool boolean = false;
};

}  // namespace

Value Emitter::EmitX87(const Expr& root, Future future, const Symbol* destination) {
  // The operands that are not arithmetic, in source order.
  std::vector<const Expr*> leaves;
  std::function<void(const Expr&)> collect = [&](const Expr& e) {
    bool constant = e.constant.known() && (e.kind == Expr::Kind::Integer || e.kind == Expr::Kind::Number ||
                                           (e.kind == Expr::Kind::Name && e.ref == Expr::Ref::Constant));
    if (!constant && X87(e)) {
      for (auto& a : e.args) collect(*a);
    } else {
      leaves.push_back(&e);
    }
  };
  collect(root);
  X87Operands in;
  std::vector<const Expr*> made;
  for (const Expr* e : leaves)
    if (!(e->constant.known() && e->type != ValueType::String)) made.push_back(e);
  std::vector<Value> values = EmitOperands(made, future);
  for (size_t i = 0; i < made.size(); ++i) {
    const Expr& e = *made[i];
    Value v = values[i];
    // An element whose index is computed would need a register to address.
    bool computedIndex = e.kind == Expr::Kind::Field;
    if (e.kind == Expr::Kind::Name && e.ref == Expr::Ref::Variable) {
      computedIndex = e.symbol->arrayRecord() || e.symbol->reference;
      for (auto& index : e.args) computedIndex |= !index->constant.known();
    }
    if (computedIndex) v = Evaluate(v, {});
    v = InMemory(v);
    in.cpp[&e] = v.cpp;
    in.types[&e] = v.boolean ? ValueType::Integer : v.type;
  }
  SplitX87(root, in);
  return X87Code(root, in, destination);
}

namespace {

bool ConstantLeaf(const Expr& e) {
  return e.kind == Expr::Kind::Integer || e.kind == Expr::Kind::Number ||
         (e.kind == Expr::Kind::Name && e.ref == Expr::Ref::Constant);
}

// The operands that one asm statement may have: GCC takes 30, and the check
// routine, the power routine and the result may take three; the routines of
// functions count with their calls.
constexpr int kAsmOperands = 27;

}  // namespace

// At most the number of operands the asm of e needs.
int Emitter::X87OperandCount(const Expr& e, const X87Operands& in) const {
  if (in.cpp.count(&e) || ConstantLeaf(e) || !X87(e)) return 1;
  if (e.kind == Expr::Kind::Name) {
    int count = X87CodeOperands(*e.builtin);
    for (auto& a : e.args) count += X87OperandCount(*a, in);
    return count;
  }
  if (e.kind == Expr::Kind::Unary) return X87OperandCount(*e.args[0], in) + 1;
  return X87OperandCount(*e.args[0], in) + X87OperandCount(*e.args[1], in) + 3;
}

// An expression too long for one asm statement is computed in parts, from
// the first operand on: each part's value goes to memory (exactly, in
// extended precision), where the next part reads it.
void Emitter::SplitX87(const Expr& e, X87Operands& in) {
  if (in.cpp.count(&e) || ConstantLeaf(e) || !X87(e)) return;
  for (auto& a : e.args) SplitX87(*a, in);
  for (auto& a : e.args) {
    if (X87OperandCount(e, in) <= kAsmOperands) return;
    if (in.cpp.count(a.get()) || ConstantLeaf(*a) || !X87(*a)) continue;
    Value part = X87Code(*a, in, nullptr);
    in.cpp[a.get()] = part.cpp;
    in.types[a.get()] = part.boolean ? ValueType::Integer : part.type;
  }
}

Value Emitter::X87Code(const Expr& root, X87Operands& in, const Symbol* destination) {
  Asm a;
  std::vector<std::string> scratchLocals;
  auto newScratch = [&]() {
    std::string local = NewLocal();
    scratchLocals.push_back(local);
    a.Scratch(local);
    return local;
  };
  auto toStack = [&](Place& p) {
    if (p.onStack) return;
    a.Code("fildl %[" + p.scratch + "]");
    p.onStack = true;
  };
  auto toScratch = [&](Place& p) {
    if (!p.onStack) return;
    p.scratch = newScratch();
    a.Code("fistpl %[" + p.scratch + "]");
    p.onStack = false;
  };

  std::function<Place(const Expr&)> build = [&](const Expr& e) -> Place {
    Place p;
    auto found = in.cpp.find(&e);
    if (found != in.cpp.end()) {
      a.Code((in.types[&e] == ValueType::Integer ? "fildl " : "fldt ") + a.Input(found->second, in.types[&e]));
      return p;
    }
    bool constantLeaf = e.kind == Expr::Kind::Integer || e.kind == Expr::Kind::Number ||
                        (e.kind == Expr::Kind::Name && e.ref == Expr::Ref::Constant);
    if (constantLeaf || !X87(e)) {
      // A value known when compiling: a load, like any other operand.
      long double v = e.constant.AsNumber();
      if (v == 0 && !std::signbit(v)) a.Code("fldz");
      else if (v == 1) a.Code("fld1");
      else if (e.constant.type == ValueType::Integer) a.Code("fildl " + a.Input(ConstantOperand(v, true), ValueType::Integer));
      else a.Code("fldt " + a.Input(ConstantOperand(v, false), ValueType::Double));
      return p;
    }
    if (e.kind == Expr::Kind::Name) {
      // A function: its arguments on the stack, the last on top, then its row's code.
      Place x = build(*e.args[0]);
      toStack(x);
      for (size_t i = 1; i < e.args.size(); ++i) {
        Place next = build(*e.args[i]);
        toStack(next);
      }
      a.RowCode(e.builtin->x87, newScratch);
      a.Check();
      return x;
    }
    if (e.kind == Expr::Kind::Unary) {
      Place x = build(*e.args[0]);
      if (e.unary == UnaryOp::Negate) {
        toStack(x);
        a.Code("fchs");
        a.Check();
        return x;
      }
      toScratch(x);
      a.Code("cmpl $0, %[" + x.scratch + "]");
      a.Code("sete %%al");
      a.Code("movzbl %%al, %%eax");
      a.Code("movl %%eax, %[" + x.scratch + "]");
      x.boolean = true;
      return x;
    }
    BinaryOp op = e.binary;
    bool integral = op == BinaryOp::And || op == BinaryOp::Or || op == BinaryOp::Xor || op == BinaryOp::IntDivide ||
                    op == BinaryOp::Modulo;
    Place l = build(*e.args[0]);
    if (integral) toScratch(l);
    else toStack(l);
    Place r = build(*e.args[1]);
    if (integral) toScratch(r);
    else toStack(r);
    if (integral) {
      std::string x = "%[" + l.scratch + "]", y = "%[" + r.scratch + "]";
      a.Code("movl " + x + ", %%eax");
      if (op == BinaryOp::And) a.Code("andl " + y + ", %%eax");
      else if (op == BinaryOp::Or) a.Code("orl " + y + ", %%eax");
      else if (op == BinaryOp::Xor) a.Code("xorl " + y + ", %%eax");
      else {
        // A zero divisor, and the one quotient beyond 32 bits, give the integer indefinite.
        std::string n = std::to_string(a.NextLabel());
        bool divide = op == BinaryOp::IntDivide;
        a.Code("movl " + y + ", %%ecx");
        a.Code("testl %%ecx, %%ecx");
        a.Code("jz .Lzero" + n + "_%=");
        a.Code("cmpl $-1, %%ecx");
        a.Code("jne .Ldivide" + n + "_%=");
        a.Code(divide ? "negl %%eax" : "xorl %%eax, %%eax");
        a.Code("jmp .Ldone" + n + "_%=");
        a.Code(".Ldivide" + n + "_%=: cltd");
        a.Code("idivl %%ecx");
        if (!divide) a.Code("movl %%edx, %%eax");
        a.Code("jmp .Ldone" + n + "_%=");
        a.Code(".Lzero" + n + "_%=: movl $0x80000000, %%eax");
        a.Code(".Ldone" + n + "_%=:");
      }
      a.Code("movl %%eax, " + x);
      return l;
    }
    if (IsComparison(op)) {
      // st(0) is the right operand; > and <= compare the left one instead.
      const char* set = "sete";
      switch (op) {
        case BinaryOp::Equal: set = "sete"; break;
        case BinaryOp::NotEqual: set = "setne"; break;
        case BinaryOp::Less: set = "seta"; break;
        case BinaryOp::GreaterEqual: set = "setbe"; break;
        case BinaryOp::Greater: a.Code("fxch"); set = "seta"; break;
        default: a.Code("fxch"); set = "setbe"; break;
      }
      a.Code("fcomip %%st(1), %%st");
      a.Code("fstp %%st(0)");
      Place result;
      result.onStack = false;
      result.scratch = newScratch();
      result.boolean = true;
      a.Code(std::string(set) + " %%al");
      a.Code("movzbl %%al, %%eax");
      a.Code("movl %%eax, %[" + result.scratch + "]");
      a.Check();
      return result;
    }
    switch (op) {
      case BinaryOp::Add: a.Code("faddp"); break;
      case BinaryOp::Subtract: a.Code("fsubrp"); break;  // st(1) - st(0), as GAS spells it
      case BinaryOp::Multiply: a.Code("fmulp"); break;
      case BinaryOp::Divide: a.Code("fdivrp"); break;    // st(1) / st(0)
      default: a.Call("NumberPowerX87"); break;
    }
    a.Check();
    return l;
  };

  Place result = build(root);
  for (const std::string& s : scratchLocals) Line(X87Storage() + "int32_t " + s + ";");
  Value v;
  if (destination != nullptr) {
    // The store into the variable is the asm's own, so it stays in the code
    // even when nothing reads the variable again.
    bool integer = destination->type == ValueType::Integer;
    if (!result.onStack) a.Code("fildl %[" + result.scratch + "]");
    a.Code(integer ? "fistpl %[out]" : "fstpt %[out]");
    Line(a.Statement(destination->cppName));
    v.cpp = destination->cppName;
    v.type = destination->type;
    v.lvalue = true;
    return v;
  }
  if (result.onStack) {
    std::string out = NewLocal();
    Line(X87Storage() + "long double " + out + ";");
    a.Code("fstpt %[out]");
    Line(a.Statement(out));
    v.cpp = out;
    v.type = ValueType::Double;
  } else {
    Line(a.Statement(""));
    v.cpp = result.scratch;
    v.type = ValueType::Integer;
    v.boolean = result.boolean;
  }
  v.lvalue = true;
  return v;
}

// Static, except in a recursive routine, where each call needs its own.
std::string Emitter::X87Storage() const { return routine_ != nullptr && routine_->recursive ? "" : "static "; }

Value Emitter::InMemory(const Value& v) {
  if (v.lvalue) return v;
  return Evaluate(v, {});
}

Value Emitter::EmitX87Binary(BinaryOp op, const Value& left, const Value& right) {
  Asm a;
  auto load = [&](const Value& v) {
    bool integer = v.type == ValueType::Integer || v.boolean;
    a.Code((integer ? "fildl " : "fldt ") + a.Input(v.cpp, v.type));
  };
  load(left);
  load(right);
  Value v;
  if (op == BinaryOp::Add) {
    a.Code("faddp");
    a.Check();
    std::string out = NewLocal();
    Line(X87Storage() + "long double " + out + ";");
    a.Code("fstpt %[out]");
    Line(a.Statement(out));
    v.cpp = out;
    v.type = ValueType::Double;
    v.lvalue = true;
    return v;
  }
  // st(0) is the right operand; > and <= compare the left one instead.
  const char* set = "sete";
  switch (op) {
    case BinaryOp::NotEqual: set = "setne"; break;
    case BinaryOp::Less: set = "seta"; break;
    case BinaryOp::GreaterEqual: set = "setbe"; break;
    case BinaryOp::Greater: a.Code("fxch"); set = "seta"; break;
    case BinaryOp::LessEqual: a.Code("fxch"); set = "setbe"; break;
    default: break;
  }
  std::string result = NewLocal();
  Line(X87Storage() + "int32_t " + result + ";");
  a.Scratch(result);
  a.Code("fcomip %%st(1), %%st");
  a.Code("fstp %%st(0)");
  a.Code(std::string(set) + " %%al");
  a.Code("movzbl %%al, %%eax");
  a.Code("movl %%eax, %[" + result + "]");
  a.Check();
  Line(a.Statement(""));
  v.cpp = result;
  v.type = ValueType::Integer;
  v.boolean = true;
  v.lvalue = true;
  return v;
}

}  // namespace tbc
