// The reference: the language's rules (docs/language.md) applied to a
// program tree, in this machine's x87 extended precision, which is the
// language's DOUBLE. It knows nothing of the compiler. Whatever it cannot
// predict exactly makes the program unusable: a number whose text would need
// rounding to 16 digits, a power that is not exact, a VAL of an unusual text;
// in a trapped program, any operation that raises a floating-point flag
// (the handler would run).
#include <cfenv>
#include <climits>
#include <cmath>
#include <map>

#include "model.h"

namespace difftest {

namespace {

struct Value {
  Type type = Type::Integer;
  int32_t integer = 0;
  long double number = 0;
  std::string text;

  long double Number() const { return type == Type::Integer ? integer : number; }
};

Value Int(int32_t v) {
  Value x;
  x.integer = v;
  return x;
}

Value Dbl(long double v) {
  Value x;
  x.type = Type::Double;
  x.number = v;
  return x;
}

Value Str(std::string s) {
  Value x;
  x.type = Type::String;
  x.text = std::move(s);
  return x;
}

// The program cannot be used; why.
struct Unusable {
  std::string why;
};

enum class Flow { Normal, ExitFor, ExitDo, ExitRoutine };

constexpr int kFlags = FE_INEXACT | FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW | FE_UNDERFLOW
#ifdef __FE_DENORM
                       | __FE_DENORM
#endif
    ;

class Reference {
 public:
  explicit Reference(const Program& p) : p_(p) {}

  std::string Run() {
    for (const Variable& v : p_.globals) Declare(globals_, v);
    Execute(p_.main);
    return output_;
  }

 private:
  struct Frame {
    const Routine* routine;
    std::map<std::string, std::vector<Value>> variables;
  };

  static Value Zero(Type t) {
    Value v;
    v.type = t;
    return v;
  }

  void Declare(std::map<std::string, std::vector<Value>>& scope, const Variable& v) {
    scope[v.name] = std::vector<Value>(static_cast<size_t>(v.bound < 0 ? 1 : v.bound + 1), Zero(v.type));
  }

  [[noreturn]] void Reject(const std::string& why) { throw Unusable{why}; }

  // A floating-point flag: the handler of a trapped program would run.
  void Flag(const char* what) {
    if (p_.trapped) Reject(std::string("a flag in a trapped program: ") + what);
  }

  void Step() {
    if (++steps_ > 20000) Reject("runs too long");
  }

  // One x87 operation, with the flags it raises.
  long double Arithmetic(char op, long double a, long double b) {
    volatile long double x = a, y = b, r = 0;
    std::feclearexcept(FE_ALL_EXCEPT);
    switch (op) {
      case '+': r = x + y; break;
      case '-': r = x - y; break;
      case '*': r = x * y; break;
      case '/': r = x / y; break;
      case 'q': r = std::sqrt(x); break;
    }
    if (std::fetestexcept(kFlags)) Flag("arithmetic");
    return r;
  }

  // Storing into an INTEGER: to nearest, ties to even; out of range or not a
  // number gives -2147483648.
  int32_t Store(long double x) {
    if (!(x >= -2147483648.5L && x <= 2147483647.5L)) {
      Flag("a store out of range");
      return INT32_MIN;
    }
    long double r = std::nearbyint(x);
    if (r > 2147483647.0L) {
      Flag("a store out of range");
      return INT32_MIN;
    }
    if (r != x) Flag("a rounded store");
    return static_cast<int32_t>(r);
  }

  // A position, count or length: a number beyond the INTEGER range acts as
  // the nearest end of the range.
  int32_t Position(long double x) {
    if (std::isnan(x)) Reject("a position that is not a number");
    if (x > 2147483647.5L) {
      Flag("a position out of range");
      return INT32_MAX;
    }
    if (x < -2147483648.5L) {
      Flag("a position out of range");
      return INT32_MIN;
    }
    return Store(x);
  }

  // As STR$ writes a number: the digits of an INTEGER; a DOUBLE with at most
  // 16 significant digits, no leading blank, trailing zeros of the fraction
  // left out; ERROR for a value that is infinite or not a number. Values whose
  // exact decimal form is longer than 15 digits are not predicted.
  std::string Text(const Value& v) {
    if (v.type == Type::String) return v.text;
    if (v.type == Type::Integer) return std::to_string(v.integer);
    long double x = v.number;
    if (std::isnan(x) || std::isinf(x)) return "ERROR";
    if (x == 0) return "0";
    long double scaled = x * 1024;
    if (scaled != std::nearbyint(scaled) || std::fabs(x) >= 1e15L) Reject("a number whose text would be rounded");
    bool negative = x < 0;
    unsigned long long units = static_cast<unsigned long long>(std::fabs(scaled));
    unsigned long long whole = units / 1024, fraction = units % 1024 * 9765625ULL;  // ten decimals exactly
    std::string decimals = std::to_string(fraction);
    decimals = std::string(10 - decimals.size(), '0') + decimals;
    while (!decimals.empty() && decimals.back() == '0') decimals.pop_back();
    std::string digits = std::to_string(whole);
    size_t significant = (whole ? digits.size() : 0) + decimals.size();
    if (!whole) significant = decimals.size() - decimals.find_first_not_of('0');
    if (significant > 15) Reject("a number whose text would be rounded");
    return (negative ? "-" : "") + digits + (decimals.empty() ? "" : "." + decimals);
  }

  // VAL, for the texts whose number is plainly written: blanks, a sign,
  // digits with a point, an exponent, or &H and hexadecimal digits.
  long double Val(const std::string& s) {
    size_t i = s.find_first_not_of(' ');
    if (i == std::string::npos) return 0;
    std::string rest = s.substr(i);
    if (rest.size() >= 2 && rest[0] == '&') Reject("a hexadecimal VAL");
    size_t j = 0;
    if (j < rest.size() && (rest[j] == '-' || rest[j] == '+')) ++j;
    size_t digitsStart = j;
    while (j < rest.size() && std::isdigit(static_cast<unsigned char>(rest[j]))) ++j;
    if (j < rest.size() && rest[j] == '.') {
      ++j;
      while (j < rest.size() && std::isdigit(static_cast<unsigned char>(rest[j]))) ++j;
    }
    std::string mantissa = rest.substr(digitsStart, j - digitsStart);
    if (mantissa.find_first_of("0123456789") == std::string::npos) {
      if (j < rest.size() && (rest[j] == 'e' || rest[j] == 'E')) Reject("an exponent without digits in VAL");
      return 0;
    }
    if (j < rest.size() && (rest[j] == 'e' || rest[j] == 'E' || rest[j] == 'd' || rest[j] == 'D'))
      Reject("an exponent in VAL");
    size_t significant = 0;
    bool started = false;
    for (char c : mantissa) {
      if (c == '.') continue;
      started |= c != '0';
      if (started) ++significant;
    }
    if (significant > 15) Reject("a long VAL");
    return std::strtold(rest.substr(0, j).c_str(), nullptr);
  }

  bool Truth(const Value& v) { return v.type == Type::Integer ? v.integer != 0 : Store(v.number) != 0; }

  // Numbers compare with a value that is not a number as equal; texts byte by
  // byte, unsigned, the longer greater when one starts the other.
  int Compare(const Value& a, const Value& b) {
    if (a.type == Type::String) {
      size_t n = std::min(a.text.size(), b.text.size());
      for (size_t i = 0; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(a.text[i]), y = static_cast<unsigned char>(b.text[i]);
        if (x != y) return x < y ? -1 : 1;
      }
      return a.text.size() == b.text.size() ? 0 : a.text.size() < b.text.size() ? -1 : 1;
    }
    long double x = a.Number(), y = b.Number();
    if (std::isnan(x) || std::isnan(y)) {
      Flag("a comparison with a value that is not a number");
      return 0;
    }
    return x < y ? -1 : x > y ? 1 : 0;
  }

  static bool Holds(const std::string& op, int order) {
    if (op == "=") return order == 0;
    if (op == "<>") return order != 0;
    if (op == "<") return order < 0;
    if (op == ">") return order > 0;
    if (op == "<=") return order <= 0;
    return order >= 0;
  }

  Value Power(long double x, long double y) {
    if (std::nearbyint(y) != y || std::fabs(y) > 64) Reject("a power that is not whole");
    long long e = static_cast<long long>(std::fabs(y));
    long double result = 1, base = x;
    std::feclearexcept(FE_ALL_EXCEPT);
    while (e != 0) {
      if (e & 1) result = Arithmetic('*', result, base);
      base = Arithmetic('*', base, base);
      e >>= 1;
    }
    if (y < 0) result = Arithmetic('/', 1, result);
    if (std::fetestexcept(kFlags)) Reject("a power that is not exact");
    return Dbl(result);
  }

  std::vector<Value>& Storage(const std::string& name) {
    if (!frames_.empty()) {
      auto found = frames_.back().variables.find(name);
      if (found != frames_.back().variables.end()) return found->second;
    }
    return globals_.at(name);
  }

  size_t Element(const Expr& index) {
    int32_t i = Store(Evaluate(index).Number());
    if (i < 0 || i > 3) Reject("an index out of its bounds");
    return static_cast<size_t>(i);
  }

  Value Convert(const Value& v, Type t) {
    if (t == Type::String) return v;
    if (t == Type::Integer) return Int(v.type == Type::Integer ? v.integer : Store(v.number));
    return Dbl(v.Number());
  }

  Value Call(const std::string& name, const std::vector<ExprPtr>& args) {
    const Routine* r = nullptr;
    for (const Routine& candidate : p_.routines)
      if (candidate.name == name) r = &candidate;
    if (r == nullptr) Reject("a routine that is not there");
    std::vector<Value> values;
    for (const ExprPtr& a : args) values.push_back(Evaluate(*a));
    Frame frame{r, {}};
    for (size_t i = 0; i < r->params.size(); ++i) frame.variables[r->params[i].name] = {Convert(values[i], r->params[i].type)};
    for (const Variable& v : r->locals) Declare(frame.variables, v);
    if (r->isFunction) frame.variables[r->name] = {Zero(r->result)};
    if (frames_.size() >= 200) Reject("calls nested too deeply");
    frames_.push_back(frame);
    Step();
    Execute(r->body);
    Value result = r->isFunction ? frames_.back().variables[r->name][0] : Value{};
    frames_.pop_back();
    return result;
  }

  Value Builtin(const Expr& e) {
    std::vector<Value> a;
    for (const ExprPtr& arg : e.args) a.push_back(Evaluate(*arg));
    const std::string& n = e.name;
    if (n == "LEN") return Int(static_cast<int32_t>(a[0].text.size()));
    if (n == "ASC") return Int(a[0].text.empty() ? 0 : static_cast<unsigned char>(a[0].text[0]));
    if (n == "STR$") return Str(Text(a[0]));
    if (n == "USTR$") return Str(std::to_string(static_cast<uint32_t>(Store(a[0].Number()))));
    if (n == "VAL") return Dbl(Val(a[0].text));
    if (n == "CHR$") return Str(std::string(1, static_cast<char>(Store(a[0].Number()) & 0xFF)));
    if (n == "ABS") return Dbl(std::fabs(a[0].Number()));
    if (n == "SQR") return Dbl(Arithmetic('q', a[0].Number(), 0));
    if (n == "INT") {
      if (a[0].type == Type::Integer) return a[0];
      long double x = a[0].number, f = std::floor(x);
      if (f != x) Flag("INT of a fraction");
      return Dbl(f);
    }
    if (n == "UCASE$" || n == "LCASE$") {
      std::string s = a[0].text;
      for (char& c : s) {
        if (n == "UCASE$" && c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
        if (n == "LCASE$" && c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
      }
      return Str(s);
    }
    const std::string& s = a[0].text;
    int64_t length = static_cast<int64_t>(s.size());
    if (n == "LEFT$" || n == "RIGHT$") {
      int64_t count = Position(a[1].Number());
      count = count < 0 ? 0 : count > length ? length : count;
      return Str(n == "LEFT$" ? s.substr(0, static_cast<size_t>(count)) : s.substr(static_cast<size_t>(length - count)));
    }
    if (n == "MID$") {
      int64_t start = Position(a[1].Number());
      int64_t count = a.size() > 2 ? Position(a[2].Number()) : INT32_MAX;
      if (start < 1) start = 1;
      if (start > length || count <= 0) return Str("");
      return Str(s.substr(static_cast<size_t>(start - 1), static_cast<size_t>(std::min<int64_t>(count, length))));
    }
    // INSTR([start,] text, find)
    int64_t start = 1;
    size_t at = 0;
    if (a.size() == 3) {
      start = Position(a[0].Number());
      at = 1;
    }
    const std::string& text = a[at].text;
    const std::string& find = a[at + 1].text;
    if (start < 1) start = 1;
    if (find.empty()) return Int(start > static_cast<int64_t>(text.size()) + 1 ? 0 : static_cast<int32_t>(start));
    if (start > static_cast<int64_t>(text.size())) return Int(0);
    size_t found = text.find(find, static_cast<size_t>(start - 1));
    return Int(found == std::string::npos ? 0 : static_cast<int32_t>(found + 1));
  }

  Value Evaluate(const Expr& e) {
    switch (e.kind) {
      case Expr::Kind::Integer: return Int(static_cast<int32_t>(e.integer));
      case Expr::Kind::Double: return Dbl(e.number);
      case Expr::Kind::String: return Str(e.text);
      case Expr::Kind::Variable: return Storage(e.name)[0];
      case Expr::Kind::Element: {
        std::vector<Value>& array = Storage(e.name);
        return array[Element(*e.args[0])];
      }
      case Expr::Kind::Call: return Call(e.name, e.args);
      case Expr::Kind::Builtin: return Builtin(e);
      case Expr::Kind::Unary: {
        Value x = Evaluate(*e.args[0]);
        if (e.name == "-") return Dbl(-x.Number());
        return Int(Store(x.Number()) == 0 ? 1 : 0);
      }
      case Expr::Kind::Binary: break;
    }
    Value a = Evaluate(*e.args[0]);
    Value b = Evaluate(*e.args[1]);
    const std::string& op = e.name;
    if (op == "+" && (a.type == Type::String || b.type == Type::String)) {
      std::string joined = Text(a) + Text(b);
      if (joined.size() > 400) Reject("a text too long");
      return Str(joined);
    }
    if (op == "+" || op == "-" || op == "*" || op == "/") return Dbl(Arithmetic(op[0], a.Number(), b.Number()));
    if (op == "^") return Power(a.Number(), b.Number());
    if (op == "\\" || op == "MOD") {
      int32_t x = Store(a.Number()), y = Store(b.Number());
      if (y == 0) return Int(INT32_MIN);
      if (y == -1) return Int(op == "MOD" ? 0 : x == INT32_MIN ? INT32_MIN : -x);
      return Int(op == "MOD" ? x % y : x / y);
    }
    if (op == "AND" || op == "OR" || op == "XOR") {
      int32_t x = Store(a.Number()), y = Store(b.Number());
      return Int(op == "AND" ? x & y : op == "OR" ? x | y : x ^ y);
    }
    return Int(Holds(op, Compare(a, b)) ? 1 : 0);
  }

  void Assign(const std::string& name, const Value& v) {
    std::vector<Value>& storage = Storage(name);
    storage[0] = Convert(v, storage[0].type);
  }

  Flow Execute(const Block& block) {
    for (const StmtPtr& s : block) {
      Flow flow = Execute(*s);
      if (flow != Flow::Normal) return flow;
    }
    return Flow::Normal;
  }

  Flow Execute(const Stmt& s) {
    Step();
    switch (s.kind) {
      case Stmt::Kind::Assign: {
        // An element's index, then the value.
        size_t at = s.index ? Element(*s.index) : 0;
        Value v = Evaluate(*s.value);
        std::vector<Value>& target = Storage(s.name);
        target[at] = Convert(v, target[at].type);
        return Flow::Normal;
      }
      case Stmt::Kind::Print:
        for (const ExprPtr& item : s.items) output_ += Text(Evaluate(*item));
        if (!s.keepLine) output_ += "\r\n";
        if (output_.size() > 20000) Reject("prints too much");
        return Flow::Normal;
      case Stmt::Kind::Call: Call(s.name, s.items); return Flow::Normal;
      case Stmt::Kind::ExitFor: return Flow::ExitFor;
      case Stmt::Kind::ExitDo: return Flow::ExitDo;
      case Stmt::Kind::ExitRoutine: return Flow::ExitRoutine;
      case Stmt::Kind::If:
        for (const auto& branch : s.branches)
          if (Truth(Evaluate(*branch.first))) return Execute(branch.second);
        return s.hasElse ? Execute(s.elseBody) : Flow::Normal;
      case Stmt::Kind::For: return For(s);
      case Stmt::Kind::While:
      case Stmt::Kind::Do: return Loop(s);
      case Stmt::Kind::Select: return Select(s);
    }
    return Flow::Normal;
  }

  // The start, then the end, once; while the counter is not past the end:
  // the body, then the counter plus the step. A sum beyond the INTEGER range
  // ends the loop.
  Flow For(const Stmt& s) {
    Assign(s.name, Evaluate(*s.from));
    long double end = Evaluate(*s.to).Number();
    auto continues = [&](long double v) { return s.step >= 0 ? v <= end : v >= end; };
    if (!continues(Storage(s.name)[0].integer)) return Flow::Normal;
    for (;;) {
      Flow flow = Execute(s.body);
      if (flow == Flow::ExitFor) return Flow::Normal;
      if (flow != Flow::Normal) return flow;
      long double sum = static_cast<long double>(Storage(s.name)[0].integer) + s.step;
      Storage(s.name)[0] = Int(Store(sum));
      if (!continues(sum)) return Flow::Normal;
      Step();
    }
  }

  Flow Loop(const Stmt& s) {
    Storage(s.name)[0] = Int(0);
    auto below = [&]() { return Storage(s.name)[0].integer < s.passes; };
    bool atTop = s.kind == Stmt::Kind::While || s.form < 2;
    for (;;) {
      if (atTop && !below()) return Flow::Normal;
      Flow flow = Execute(s.body);
      if (flow == Flow::ExitDo && s.kind == Stmt::Kind::Do) return Flow::Normal;
      if (flow != Flow::Normal) return flow;
      Storage(s.name)[0] = Int(Storage(s.name)[0].integer + 1);
      if (!atTop && !below()) return Flow::Normal;
      Step();
    }
  }

  // The selector once; each CASE's values from left to right, up to the
  // first match; a range makes both ends before it tests them.
  Flow Select(const Stmt& s) {
    Value selector = Evaluate(*s.value);
    for (const CaseClause& c : s.cases) {
      for (const CaseItem& item : c.items) {
        bool match;
        if (item.kind == CaseItem::Kind::Range) {
          Value low = Evaluate(*item.first);
          Value high = Evaluate(*item.last);
          match = Compare(selector, low) >= 0 && Compare(selector, high) <= 0;
        } else {
          Value v = Evaluate(*item.first);
          match = Holds(item.kind == CaseItem::Kind::Is ? item.op : "=", Compare(selector, v));
        }
        if (match) return Execute(c.body);
      }
    }
    return s.hasElse ? Execute(s.elseBody) : Flow::Normal;
  }

  const Program& p_;
  std::map<std::string, std::vector<Value>> globals_;
  std::vector<Frame> frames_;
  std::string output_;
  int steps_ = 0;
};

}  // namespace

Outcome Evaluate(const Program& p) {
  Outcome o;
  try {
    o.output = Reference(p).Run();
    o.usable = true;
  } catch (const Unusable& u) {
    o.why = u.why;
  }
  return o;
}

}  // namespace difftest
