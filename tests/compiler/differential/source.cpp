// A program tree as BASIC source: every operation in parentheses, so that the
// tree alone decides the order of operations.
#include <cstdio>
#include <sstream>

#include "model.h"

namespace difftest {

namespace {

const char* TypeName(Type t) {
  switch (t) {
    case Type::Integer: return "INTEGER";
    case Type::Double: return "DOUBLE";
    default: return "STRING";
  }
}

std::string Quote(const std::string& text) {
  std::string out = "\"";
  for (char c : text) out += c == '"' ? std::string("\"\"") : std::string(1, c);
  return out + "\"";
}

// A multiple of 1/8 with a point, exactly.
std::string DoubleLiteral(long double v) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.3Lf", v);
  std::string text = buffer;
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text += '0';
  return text;
}

std::string Expression(const Expr& e) {
  switch (e.kind) {
    case Expr::Kind::Integer: return std::to_string(e.integer);
    case Expr::Kind::Double: return DoubleLiteral(e.number);
    case Expr::Kind::String: return Quote(e.text);
    case Expr::Kind::Variable: return e.name;
    case Expr::Kind::Unary:
      return e.name == "-" ? "(-" + Expression(*e.args[0]) + ")" : "(NOT " + Expression(*e.args[0]) + ")";
    case Expr::Kind::Binary:
      return "(" + Expression(*e.args[0]) + " " + e.name + " " + Expression(*e.args[1]) + ")";
    default: {
      std::string text = e.name + "(";
      for (size_t i = 0; i < e.args.size(); ++i) text += (i ? ", " : "") + Expression(*e.args[i]);
      return text + ")";
    }
  }
}

class Printer {
 public:
  explicit Printer(std::ostringstream& out) : out_(out) {}

  void Block(const difftest::Block& block, int indent) {
    for (const StmtPtr& s : block) Statement(*s, indent);
  }

  // A statement that fits after THEN on one line.
  std::string Simple(const Stmt& s) {
    switch (s.kind) {
      case Stmt::Kind::Assign:
        return s.name + (s.index ? "(" + Expression(*s.index) + ")" : "") + " = " + Expression(*s.value);
      case Stmt::Kind::Print: {
        std::string text = "PRINT";
        for (size_t i = 0; i < s.items.size(); ++i) text += (i ? "; " : " ") + Expression(*s.items[i]);
        return s.keepLine ? text + ";" : text;
      }
      case Stmt::Kind::Call: {
        std::string args;
        for (size_t i = 0; i < s.items.size(); ++i) args += (i ? ", " : "") + Expression(*s.items[i]);
        if (s.form == 1) return "CALL " + s.name + "(" + args + ")";
        return args.empty() ? s.name : s.name + " " + args;
      }
      case Stmt::Kind::ExitFor: return "EXIT FOR";
      case Stmt::Kind::ExitDo: return "EXIT DO";
      case Stmt::Kind::ExitRoutine: return routineExit_;
      default: return "";
    }
  }

  void Statement(const Stmt& s, int indent) {
    std::string pad(static_cast<size_t>(indent) * 2, ' ');
    switch (s.kind) {
      case Stmt::Kind::If:
        if (s.oneLine) {
          out_ << pad << "IF " << Expression(*s.branches[0].first) << " THEN " << Joined(s.branches[0].second);
          if (s.hasElse) out_ << " ELSE " << Joined(s.elseBody);
          out_ << "\n";
          return;
        }
        for (size_t i = 0; i < s.branches.size(); ++i) {
          out_ << pad << (i ? "ELSEIF " : "IF ") << Expression(*s.branches[i].first) << " THEN\n";
          Block(s.branches[i].second, indent + 1);
        }
        if (s.hasElse) {
          out_ << pad << "ELSE\n";
          Block(s.elseBody, indent + 1);
        }
        out_ << pad << "END IF\n";
        return;
      case Stmt::Kind::For:
        out_ << pad << "FOR " << s.name << " = " << Expression(*s.from) << " TO " << Expression(*s.to);
        if (s.step != 1) out_ << " STEP " << s.step;
        out_ << "\n";
        Block(s.body, indent + 1);
        out_ << pad << "NEXT " << s.name << "\n";
        return;
      case Stmt::Kind::While:
        out_ << pad << s.name << " = 0\n" << pad << "WHILE " << s.name << " < " << s.passes << "\n";
        Block(s.body, indent + 1);
        out_ << pad << "  " << s.name << " = " << s.name << " + 1\n" << pad << "WEND\n";
        return;
      case Stmt::Kind::Do: {
        std::string whileTest = s.name + " < " + std::to_string(s.passes);
        std::string untilTest = s.name + " >= " + std::to_string(s.passes);
        out_ << pad << s.name << " = 0\n" << pad << "DO";
        if (s.form == 0) out_ << " WHILE " << whileTest;
        if (s.form == 1) out_ << " UNTIL " << untilTest;
        out_ << "\n";
        Block(s.body, indent + 1);
        out_ << pad << "  " << s.name << " = " << s.name << " + 1\n" << pad << "LOOP";
        if (s.form == 2) out_ << " WHILE " << whileTest;
        if (s.form == 3) out_ << " UNTIL " << untilTest;
        out_ << "\n";
        return;
      }
      case Stmt::Kind::Select:
        out_ << pad << "SELECT CASE " << Expression(*s.value) << "\n";
        for (const CaseClause& c : s.cases) {
          out_ << pad << "  CASE ";
          for (size_t i = 0; i < c.items.size(); ++i) {
            const CaseItem& item = c.items[i];
            if (i) out_ << ", ";
            if (item.kind == CaseItem::Kind::Value) out_ << Expression(*item.first);
            if (item.kind == CaseItem::Kind::Range) out_ << Expression(*item.first) << " TO " << Expression(*item.last);
            if (item.kind == CaseItem::Kind::Is) out_ << "IS " << item.op << " " << Expression(*item.first);
          }
          out_ << "\n";
          Block(c.body, indent + 2);
        }
        if (s.hasElse) {
          out_ << pad << "  CASE ELSE\n";
          Block(s.elseBody, indent + 2);
        }
        out_ << pad << "END SELECT\n";
        return;
      default: out_ << pad << Simple(s) << "\n"; return;
    }
  }

  std::string routineExit_;

 private:
  std::string Joined(const difftest::Block& block) {
    std::string text;
    for (size_t i = 0; i < block.size(); ++i) text += (i ? ": " : "") + Simple(*block[i]);
    return text;
  }

  std::ostringstream& out_;
};

std::string Declaration(const Variable& v) {
  return v.name + (v.bound >= 0 ? "(" + std::to_string(v.bound) + ")" : "") + " AS " + TypeName(v.type);
}

}  // namespace

std::string Source(const Program& p) {
  std::ostringstream out;
  Printer printer(out);
  if (p.trapped) out << "ON FLOAT ERROR CALL Trapped\n";
  for (const Variable& v : p.globals) out << "DIM " << Declaration(v) << "\n";
  printer.Block(p.main, 0);
  for (const Routine& r : p.routines) {
    out << "\n" << (r.isFunction ? "FUNCTION " : "SUB ") << r.name << "(";
    for (size_t i = 0; i < r.params.size(); ++i) out << (i ? ", " : "") << Declaration(r.params[i]);
    out << ")";
    if (r.isFunction) out << " AS " << TypeName(r.result);
    out << "\n";
    for (const Variable& v : r.locals) out << "  DIM " << Declaration(v) << "\n";
    printer.routineExit_ = r.isFunction ? "EXIT FUNCTION" : "EXIT SUB";
    printer.Block(r.body, 1);
    out << (r.isFunction ? "END FUNCTION\n" : "END SUB\n");
  }
  if (p.trapped) out << "\nSUB Trapped\n  PRINT \"[trap]\"\nEND SUB\n";
  return out.str();
}

}  // namespace difftest
