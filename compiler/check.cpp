// The program as a whole: options, routines and their signatures,
// declarations, the kind of program, recursion and exports.
#include <algorithm>
#include <functional>

#include "check_internal.h"

namespace tbc {

namespace {

std::string BaseName(const std::string& path) {
  size_t slash = path.find_last_of("/\\");
  std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  size_t dot = base.find_last_of('.');
  if (dot != std::string::npos && dot > 0) base = base.substr(0, dot);
  return base;
}

// Four digits that stay the same for the same name.
std::string DefaultSignature(const std::string& name) {
  uint32_t sum = 0;
  for (size_t i = 0; i < name.size(); ++i) sum = sum * 31 + static_cast<unsigned char>(name[i]);
  std::string digits = std::to_string(sum % 10000);
  return "Tessaric" + std::string(4 - digits.size(), '0') + digits;
}

const char* RoutineWord(const Routine& r) { return r.isFunction ? "FUNCTION" : "SUB"; }

std::string Where(const std::vector<SourceFile>& files, Position p) {
  return files[p.file].path + ":" + std::to_string(p.line);
}

}  // namespace

void Check(std::vector<Module>& modules, const std::vector<SourceFile>& files, Program& program,
           Diagnostics& diagnostics) {
  Checker(modules, files, program, diagnostics).Run();
}

void Checker::Run() {
  program_.modules = &modules_;
  size_t n = modules_.size();
  moduleScopes_.resize(n);
  moduleLibraries_.resize(n);
  program_.moduleVariables.resize(n);
  for (size_t i = 0; i < n; ++i) modules_[i].name = BaseName(files_[modules_[i].file].path);
  program_.name = modules_[0].name.substr(0, 18);

  CheckOptions();
  if (program_.signature.empty()) program_.signature = DefaultSignature(program_.name);
  DeclareRoutines();
  for (size_t i = 0; i < n; ++i) {
    module_ = static_cast<int>(i);
    DeclareBlock(modules_[i].main, true);
  }
  DecideKind();
  for (size_t i = 0; i < n; ++i) {
    module_ = static_cast<int>(i);
    EvaluateConsts(modules_[i].main);
  }
  for (size_t i = 0; i < n; ++i) {
    module_ = static_cast<int>(i);
    for (auto& r : modules_[i].routines)
      if (!r->fromLibrary && !r->forward) CheckRoutine(*r);
  }
  for (size_t i = 0; i < n; ++i) {
    module_ = static_cast<int>(i);
    routine_ = nullptr;
    localScope_.clear();
    // Only the main module of a program has main code; the others and a
    // library hold declarations and routines.
    declarationsOnly_ = i > 0 || program_.kind == ProgramKind::Library;
    CheckBlock(modules_[i].main);
  }
  CheckRecursion();
  NumberExports();
  if (program_.trapped) CheckRegisterDepth();
  NameEverything();
}

namespace {

bool IsX87Builtin(const Expr& e) {
  if (e.kind != Expr::Kind::Name || e.ref != Expr::Ref::Builtin || e.builtin == nullptr) return false;
  const Builtin& b = *e.builtin;
  int count = static_cast<int>(e.args.size());
  if (count == 0 || count != MaxArgs(b.args)) return false;
  return IsX87Function(b, e.args[0]->type);
}

// Whether a node is computed by x87 code in a program with a floating-point
// handler (as the emitter decides).
bool IsX87(const Expr& e) {
  if (e.type != ValueType::Integer && e.type != ValueType::Double) return false;
  if (e.kind == Expr::Kind::Unary) return true;
  if (e.kind == Expr::Kind::Binary) return e.args[0]->type != ValueType::String;
  return IsX87Builtin(e);
}

// The registers the x87 code of e needs: an operand takes one; the left one
// of an arithmetic operation or comparison waits on the stack while the right
// one is made; the operands of AND, OR, XOR, \ and MOD leave the stack as
// integers; a power calls a routine that needs five; a function's arguments
// wait likewise, and its code needs the registers its row gives.
int X87Depth(const Expr& e) {
  bool constantLeaf = e.kind == Expr::Kind::Integer || e.kind == Expr::Kind::Number ||
                      (e.kind == Expr::Kind::Name && e.ref == Expr::Ref::Constant);
  if (constantLeaf || !IsX87(e)) return 1;
  if (e.kind == Expr::Kind::Name) {
    int depth = e.builtin->x87Registers;
    for (size_t i = 0; i < e.args.size(); ++i) depth = std::max(depth, X87Depth(*e.args[i]) + static_cast<int>(i));
    return depth;
  }
  if (e.kind != Expr::Kind::Binary) return X87Depth(*e.args[0]);
  int left = X87Depth(*e.args[0]), right = X87Depth(*e.args[1]);
  switch (e.binary) {
    case BinaryOp::And: case BinaryOp::Or: case BinaryOp::Xor: case BinaryOp::IntDivide: case BinaryOp::Modulo:
      return std::max(left, right);
    case BinaryOp::Power: return std::max({left, right + 1, 5});
    default: return std::max(left, right + 1);
  }
}

}  // namespace

// A program with a floating-point handler computes each expression on the
// x87's eight registers, so one that needs more is refused.
void Checker::CheckRegisterDepth() {
  std::function<void(const Expr*, bool)> expr = [&](const Expr* e, bool insideX87) {
    if (e == nullptr) return;
    bool x87 = IsX87(*e);
    if (x87 && !insideX87 && X87Depth(*e) > 8)
      Error(e->position, "this expression needs more than the eight registers of the x87; in a program with a "
                         "floating-point handler, split it into smaller ones");
    for (auto& a : e->args) expr(a.get(), x87);
  };
  std::function<void(const Block&)> block = [&](const Block& b) {
    for (const auto& s : b) {
      expr(s->target.get(), false);
      expr(s->value.get(), false);
      expr(s->callee.get(), false);
      expr(s->start.get(), false);
      expr(s->end.get(), false);
      expr(s->step.get(), false);
      expr(s->condition.get(), false);
      for (const PrintItem& i : s->items) expr(i.value.get(), false);
      for (const IfBranch& br : s->branches) {
        expr(br.condition.get(), false);
        block(br.body);
      }
      for (const CaseClause& c : s->cases) {
        for (const CaseItem& i : c.items) {
          expr(i.first.get(), false);
          expr(i.last.get(), false);
        }
        block(c.body);
      }
      block(s->body);
    }
  };
  for (auto& m : modules_) {
    block(m.main);
    for (auto& r : m.routines)
      if (!r->fpuHandler) block(r->body);
  }
}

Symbol* Checker::NewSymbol(Symbol::Kind kind, const std::string& name, Position position) {
  auto s = std::make_unique<Symbol>();
  s->kind = kind;
  s->name = name;
  s->position = position;
  s->module = module_;
  s->owner = routine_;
  program_.symbols.push_back(std::move(s));
  return program_.symbols.back().get();
}

bool Checker::Declare(Symbol* symbol) {
  std::string upper = ToUpper(symbol->name);
  auto& scope = routine_ != nullptr ? localScope_ : moduleScopes_[module_];
  auto found = scope.find(upper);
  if (found != scope.end()) {
    Error(symbol->position, symbol->name + " is already declared at " + Where(files_, found->second->position));
    return false;
  }
  if (routine_ == nullptr) {
    auto r = routines_.find(upper);
    if (r != routines_.end()) {
      Error(symbol->position, symbol->name + " is already the name of a " + RoutineWord(*r->second) + " at " +
                                  Where(files_, r->second->position));
      return false;
    }
    auto l = moduleLibraries_[module_].find(upper);
    if (l != moduleLibraries_[module_].end()) {
      Error(symbol->position, symbol->name + " is already the name of a declared library routine");
      return false;
    }
  }
  scope[upper] = symbol;
  return true;
}

// ---- options

void Checker::CheckOptions() {
  std::set<std::string> seen;
  for (size_t m = 0; m < modules_.size(); ++m) {
    for (auto& s : modules_[m].main) {
      if (s->kind != Stmt::Kind::Option) continue;
      if (m > 0) {
        Error(s->position, "OPTION stands in the main module, the first file of the program");
        continue;
      }
      const std::string& word = s->word;
      if (!seen.insert(word).second) {
        Error(s->wordPosition, "OPTION " + word + " is given twice");
        continue;
      }
      auto& args = s->optionArgs;
      auto argAt = [&](size_t i) -> Expr* { return i < args.size() ? args[i].get() : nullptr; };
      Position after = args.empty() ? s->wordPosition : args[0]->position;
      if (word == "SIGNATURE") {
        Expr* a = argAt(0);
        if (a == nullptr || a->kind != Expr::Kind::Integer || a->integer < 0 || a->integer > 9999 || args.size() > 1) {
          Error(after, "OPTION SIGNATURE takes a number from 0 to 9999");
          continue;
        }
        std::string digits = std::to_string(a->integer);
        program_.signature = "Tessaric" + std::string(4 - digits.size(), '0') + digits;
      } else if (word == "NAME") {
        Expr* a = argAt(0);
        if (a == nullptr || a->kind != Expr::Kind::String || a->text.empty() || args.size() > 1) {
          Error(after, "OPTION NAME takes the program's name in quotes");
          continue;
        }
        if (a->text.size() > 18) {
          Error(a->position, "a program's name has at most 18 characters");
          continue;
        }
        if (a->text.find('\0') != std::string::npos) {
          Error(a->position, "a program's name cannot hold a zero byte");
          continue;
        }
        program_.name = a->text;
      } else if (word == "LIBRARY") {
        if (!args.empty()) Error(after, "OPTION LIBRARY takes no value");
        program_.kind = ProgramKind::Library;
      } else if (word == "GUI") {
        Expr* a = argAt(0);
        std::string g = a != nullptr && a->kind == Expr::Kind::Name ? a->name : "";
        if (g == "EARLIEST") program_.generation = kEarliest;
        else if (g == "MIDDLE") program_.generation = kMiddle;
        else if (g == "LATEST") program_.generation = kLatest;
        else {
          Error(after, "OPTION GUI takes EARLIEST, MIDDLE or LATEST");
          continue;
        }
        for (size_t i = 1; i < args.size(); ++i) {
          if (args[i]->kind == Expr::Kind::Name && args[i]->name == "NOSCROLL") program_.caretScroll = false;
          else Error(args[i]->position, "after the generation, OPTION GUI takes only NOSCROLL");
        }
      } else if (word == "RESOURCES") {
        for (size_t i = 0; i < args.size(); ++i) {
          if (args[i]->kind == Expr::Kind::String && !args[i]->text.empty()) program_.resources.push_back({args[i]->text, args[i]->position});
          else Error(args[i]->position, "OPTION RESOURCES takes the names of resource scripts in quotes");
        }
        if (args.empty()) Error(after, "OPTION RESOURCES takes the names of resource scripts in quotes");
      } else {
        Error(s->wordPosition, "unknown option " + word + "; the options are SIGNATURE, NAME, LIBRARY, GUI and RESOURCES");
      }
    }
  }
}

// ---- routines

void Checker::DeclareRoutines() {
  std::vector<Routine*> forwards;
  for (size_t m = 0; m < modules_.size(); ++m) {
    module_ = static_cast<int>(m);
    for (auto& owned : modules_[m].routines) {
      Routine& r = *owned;
      CheckSignature(r);
      std::string upper = ToUpper(r.name);
      if (r.forward) {
        forwards.push_back(&r);
        continue;
      }
      if (r.fromLibrary) {
        auto& libraries = moduleLibraries_[m];
        if (libraries.count(upper)) {
          Error(r.position, r.name + " is already declared in this module");
          continue;
        }
        libraries[upper] = &r;
        if (r.dynamic) {
          hasDynamic_ = true;
          program_.dynamicRoutines.push_back(&r);
        } else {
          auto library = std::find_if(program_.imports.begin(), program_.imports.end(), [&](const ImportLibrary& l) {
            return ToUpper(l.file) == ToUpper(r.library);
          });
          if (library == program_.imports.end()) {
            program_.imports.push_back({r.library, {}});
            library = program_.imports.end() - 1;
          }
          library->routines.push_back(&r);
        }
        continue;
      }
      auto found = routines_.find(upper);
      if (found != routines_.end()) {
        Error(r.position, std::string(RoutineWord(r)) + " " + r.name + " is already defined at " +
                              Where(files_, found->second->position));
        continue;
      }
      routines_[upper] = &r;
      program_.routines.push_back(&r);
    }
  }
  // A library routine and a routine of the program by the same name.
  for (size_t m = 0; m < modules_.size(); ++m)
    for (auto& [upper, r] : moduleLibraries_[m])
      if (routines_.count(upper)) Error(r->position, r->name + " is also the name of a routine of the program");
  for (Routine* f : forwards) {
    auto found = routines_.find(ToUpper(f->name));
    if (found == routines_.end()) {
      Error(f->position, std::string(RoutineWord(*f)) + " " + f->name + " is declared but defined in no module");
      continue;
    }
    Routine& d = *found->second;
    bool same = d.isFunction == f->isFunction && d.result == f->result && d.params.size() == f->params.size();
    for (size_t i = 0; same && i < d.params.size(); ++i) same = d.params[i].type == f->params[i].type;
    if (!same) Error(f->position, "this declaration of " + f->name + " differs from its definition at " +
                                      Where(files_, d.position));
  }
}

void Checker::CheckSignature(Routine& r) {
  std::set<std::string> names;
  for (Param& p : r.params) {
    std::string upper = ToUpper(p.name);
    if (!names.insert(upper).second) Error(p.position, "the parameter " + p.name + " is given twice");
    if (upper.back() == '$' && p.type != ValueType::String)
      Error(p.typePosition, "a name ending in $ is a STRING");
    if (r.fromLibrary && p.type == ValueType::Double)
      Error(p.typePosition, "only INTEGER and STRING values are passed to a library routine");
  }
  if (ToUpper(r.name).back() == '$' && r.isFunction && r.result != ValueType::String && r.result != ValueType::Error)
    Error(r.resultPosition, "a name ending in $ is a STRING");
  if (r.fromLibrary && r.isFunction && r.result != ValueType::Integer && r.result != ValueType::Error)
    Error(r.resultPosition, "a library FUNCTION gives an INTEGER");
  if (r.fromLibrary && r.library.empty()) Error(r.position, "the library's file name is empty");
}

void Checker::DecideKind() {
  if (program_.kind == ProgramKind::Library) {
    if (!program_.guiObjects.empty())
      Error(program_.guiObjects[0]->position, "a library cannot declare forms, controls or bitmaps");
    if (hasDynamic_)
      Error(program_.dynamicRoutines[0]->position, "a library binds its library routines when it is loaded: drop DYNAMIC");
    return;
  }
  program_.kind = program_.guiObjects.empty() ? ProgramKind::Console : ProgramKind::Window;
}

// ---- declarations: names first, values in a second sweep

void Checker::DeclareBlock(Block& block, bool topLevel) {
  for (auto& s : block) {
    if (s->kind == Stmt::Kind::Dim) {
      for (DimItem& item : s->dims) DeclareDim(item, s->position, topLevel);
    } else if (s->kind == Stmt::Kind::Const) {
      for (ConstItem& item : s->consts) {
        Symbol* c = NewSymbol(Symbol::Kind::Constant, item.name, item.position);
        item.symbol = c;
        if (!Declare(c)) c->failed = true;
      }
    }
    for (IfBranch& b : s->branches) DeclareBlock(b.body, false);
    DeclareBlock(s->body, false);
    for (CaseClause& c : s->cases) DeclareBlock(c.body, false);
  }
}

void Checker::DeclareDim(DimItem& item, Position statement, bool topLevel) {
  (void)statement;
  const std::string& t = item.typeName;
  bool isObject = false;
  ObjectKind kind = ObjectKind::Form;
  for (int k = 0; k < kObjectKinds; ++k) {
    if (t == KindName(static_cast<ObjectKind>(k))) {
      isObject = true;
      kind = static_cast<ObjectKind>(k);
    }
  }
  Symbol* s = NewSymbol(isObject ? Symbol::Kind::Object : Symbol::Kind::Variable, item.name, item.position);
  item.symbol = s;
  bool dollar = ToUpper(item.name).back() == '$';
  if (isObject) {
    s->object = kind;
  } else if (t == "INTEGER") {
    s->type = ValueType::Integer;
  } else if (t == "DOUBLE") {
    s->type = ValueType::Double;
  } else if (t == "STRING" || (t.empty() && dollar)) {
    s->type = ValueType::String;
  } else if (t.empty()) {
    Error(item.position, "give " + item.name + " a type: DIM " + item.name + " AS INTEGER, DOUBLE or STRING");
    s->failed = true;
  } else {
    Error(item.typePosition, "unknown type " + t + "; a variable is INTEGER, DOUBLE or STRING, an object FORM, "
                             "BUTTON, LABEL and so on");
    s->failed = true;
  }
  if (dollar && !s->failed && (isObject || s->type != ValueType::String)) {
    Error(item.typePosition, "a name ending in $ is a STRING");
    s->failed = true;
  }
  if (!Declare(s)) s->failed = true;
  if (isObject) DeclareObject(item, *s, topLevel);
}

void Checker::DeclareObject(DimItem& item, Symbol& s, bool topLevel) {
  bool gui = IsGuiKind(s.object) || s.object == ObjectKind::Bitmap;
  if (routine_ != nullptr) {
    Error(item.position, std::string("a ") + KindName(s.object) + " is declared in the main code, not in a routine");
    s.failed = true;
  } else if (gui && module_ != 0) {
    Error(item.position, "forms, controls and bitmaps are declared in the main module, the first file of the program");
    s.failed = true;
  } else if (gui && !topLevel) {
    Error(item.position, "forms, controls and bitmaps are declared at the top level of the main code, "
                         "outside every block");
    s.failed = true;
  }
  if (!item.bounds.empty()) {
    Error(item.bounds[0]->position, "there are no arrays of objects");
    item.bounds.clear();
  }
  if (!s.failed && IsGuiKind(s.object)) program_.guiObjects.push_back(&s);
}

void Checker::EvaluateConsts(Block& block) {
  for (auto& s : block) {
    if (s->kind == Stmt::Kind::Const) {
      for (ConstItem& item : s->consts) {
        ValueType t = CheckExpr(*item.value);
        if (item.symbol == nullptr) continue;
        if (!item.value->constant.known()) {
          if (t != ValueType::Error) Error(item.value->position, "the value of a CONST must be known when compiling");
          item.symbol->failed = true;
          item.symbol->type = ValueType::Error;
          continue;
        }
        item.symbol->value = item.value->constant;
        item.symbol->type = item.value->constant.type;
        if (ToUpper(item.name).back() == '$' && item.symbol->type != ValueType::String)
          Error(item.position, "a name ending in $ is a STRING");
      }
    } else if (s->kind == Stmt::Kind::Dim) {
      CheckDimStatement(*s);
    }
    for (IfBranch& b : s->branches) EvaluateConsts(b.body);
    EvaluateConsts(s->body);
    for (CaseClause& c : s->cases) EvaluateConsts(c.body);
  }
}

void Checker::CheckRoutine(Routine& r) {
  routine_ = &r;
  localScope_.clear();
  loops_.clear();
  declarationsOnly_ = false;
  for (size_t i = 0; i < r.params.size(); ++i) {
    Param& p = r.params[i];
    Symbol* s = NewSymbol(Symbol::Kind::Variable, p.name, p.position);
    s->type = p.type;
    s->parameter = static_cast<int>(i);
    // A parameter given twice was reported with the signature.
    if (!localScope_.count(ToUpper(p.name))) Declare(s);
    r.locals.push_back(s);
  }
  if (r.isFunction) {
    Symbol* s = NewSymbol(Symbol::Kind::Variable, r.name, r.position);
    s->type = r.result;
    s->result = true;
    r.resultSymbol = s;
    if (!localScope_.count(ToUpper(r.name))) localScope_[ToUpper(r.name)] = s;
    r.locals.push_back(s);
  }
  DeclareBlock(r.body, false);
  for (auto& [upper, s] : localScope_)
    if (s->parameter < 0 && !s->result) r.locals.push_back(s);
  std::sort(r.locals.begin() + static_cast<long>(r.params.size() + (r.isFunction ? 1 : 0)), r.locals.end(),
            [](const Symbol* a, const Symbol* b) { return a->position < b->position; });
  EvaluateConsts(r.body);
  CheckBlock(r.body);
  routine_ = nullptr;
  localScope_.clear();
}

// A routine's parameters live in static storage, so a routine that could call
// itself while it runs would overwrite its own arguments.
void Checker::CheckRecursion() {
  enum Mark { White, Grey, Black };
  std::map<Routine*, Mark> marks;
  std::vector<Routine*> path;
  std::function<void(Routine*)> visit = [&](Routine* r) {
    marks[r] = Grey;
    path.push_back(r);
    for (const Call& c : calls_[r]) {
      Mark m = marks[c.callee];
      if (m == Grey) {
        auto start = std::find(path.begin(), path.end(), c.callee);
        std::string cycle;
        for (auto i = start; i != path.end(); ++i) cycle += (*i)->name + " calls ";
        cycle += c.callee->name;
        Error(c.position, "routines cannot call themselves, directly or through others: " + cycle);
      } else if (m == White) {
        visit(c.callee);
      }
    }
    path.pop_back();
    marks[r] = Black;
  };
  for (Routine* r : program_.routines)
    if (marks[r] == White) visit(r);
}

void Checker::NumberExports() {
  std::vector<Routine*> exports;
  for (Routine* r : program_.routines) {
    if (!r->exported) continue;
    if (program_.kind != ProgramKind::Library) {
      Error(r->position, "EXPORT is for the routines of a library (OPTION LIBRARY)");
      continue;
    }
    for (Param& p : r->params)
      if (p.type == ValueType::Double) Error(p.typePosition, "an exported routine takes INTEGER and STRING values only");
    if (r->isFunction && r->result != ValueType::Integer && r->result != ValueType::Error)
      Error(r->resultPosition, "an exported FUNCTION gives an INTEGER");
    exports.push_back(r);
  }
  std::set<int> used;
  for (Routine* r : exports) {
    if (r->ordinal == 0) continue;
    if (r->ordinal < 1 || r->ordinal > 65535) Error(r->position, "an ordinal is a number from 1 to 65535");
    else if (!used.insert(r->ordinal).second) Error(r->position, "the ordinal " + std::to_string(r->ordinal) + " is given twice");
  }
  // The rest are numbered in alphabetical order of their names, in the numbers left free.
  std::stable_sort(exports.begin(), exports.end(), [](Routine* a, Routine* b) { return ToUpper(a->name) < ToUpper(b->name); });
  int next = 1;
  for (Routine* r : exports) {
    if (r->ordinal != 0) continue;
    while (used.count(next)) ++next;
    r->ordinal = next++;
  }
}

// C++ names: each kind of name has its own prefix, so no name of a program
// can meet a C++ keyword, a macro of the system headers or a runtime name.
void Checker::NameEverything() {
  for (auto& s : program_.symbols) s->cppName = "b_" + s->name;
  for (auto& m : modules_)
    for (auto& r : m.routines) r->cppName = (r->fromLibrary ? "l_" : "r_") + r->name;
}

}  // namespace tbc
