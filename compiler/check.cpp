// The program as a whole: options, routines and their signatures,
// declarations, the kind of program, recursion and exports.
#include <algorithm>
#include <functional>
#include <set>

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
  DeclareTypes();
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
    ResolveJumps();
  }
  CheckRecursion();
  if (program_.kind == ProgramKind::Window) DecideCanvas();
  NumberExports();
  if (program_.trapped) CheckRegisterDepth();
  // Warnings only for a program without errors, whose checks all ran.
  if (diagnostics_.empty() && program_.kind == ProgramKind::Window) CheckWindowProgram();
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

namespace {

void WalkExpr(const Expr* e, const std::function<void(const Expr&)>& expression) {
  if (e == nullptr) return;
  expression(*e);
  for (const auto& a : e->args) WalkExpr(a.get(), expression);
}

// Every statement of the block and of the blocks inside it, and every
// expression they evaluate. The value of an event slot is a routine's name,
// not a call: it is left out.
void WalkBlock(const Block& block, const std::function<void(const Stmt&)>& statement,
               const std::function<void(const Expr&)>& expression) {
  for (const auto& s : block) {
    statement(*s);
    bool handler = s->kind == Stmt::Kind::Assign && s->target && s->target->kind == Expr::Kind::Member &&
                   s->target->member != nullptr && s->target->member->valueKind == 'H';
    for (const Expr* e : {s->target.get(), handler ? nullptr : s->value.get(), s->callee.get(), s->start.get(),
                          s->end.get(), s->step.get(), s->condition.get()})
      WalkExpr(e, expression);
    for (const PrintItem& i : s->items) WalkExpr(i.value.get(), expression);
    for (const IfBranch& b : s->branches) {
      WalkExpr(b.condition.get(), expression);
      WalkBlock(b.body, statement, expression);
    }
    for (const CaseClause& c : s->cases) {
      for (const CaseItem& i : c.items) {
        WalkExpr(i.first.get(), expression);
        WalkExpr(i.last.get(), expression);
      }
      WalkBlock(c.body, statement, expression);
    }
    WalkBlock(s->body, statement, expression);
  }
}

// A statement that acts on the object through one of its members of that name.
bool UsesMember(const Stmt& s, const Symbol* object, const char* member) {
  const Expr* e = s.kind == Stmt::Kind::Call ? s.callee.get() : s.kind == Stmt::Kind::Assign ? s.target.get() : nullptr;
  return e != nullptr && e->kind == Expr::Kind::Member && e->symbol == object && e->member != nullptr &&
         std::string(e->member->name) == member;
}

}  // namespace

// Sure mistakes of a window program, which are warned about and built all the
// same. A control declared before any form has no form to stand on: its window
// is never made. A main form that nothing can show (no Show, no write of its
// Style, no library routine that could be handed its window) leaves the
// program running unseen, unless the main code, or a routine that it or the
// floating-point handler calls, may END it first.
void Checker::CheckWindowProgram() {
  const Symbol* mainForm = nullptr;
  for (const Symbol* o : program_.guiObjects) {
    if (o->object == ObjectKind::Form) {
      if (mainForm == nullptr) mainForm = o;
    } else if (mainForm == nullptr && o->parent == nullptr) {
      Warning(o->position, std::string("the ") + KindName(o->object) + " " + o->name +
                               " is declared before any FORM, so it has no form to stand on and is never made; "
                               "declare a FORM before it");
    }
  }
  if (mainForm == nullptr || !program_.imports.empty() || !program_.dynamicRoutines.empty()) return;

  bool shown = false;
  auto shows = [&](const Stmt& s) {
    for (const char* member : {"SHOW", "STYLE", "SHOWMODAL", "VISIBLE"}) shown |= UsesMember(s, mainForm, member);
  };
  auto nothing = [](const Expr&) {};
  for (auto& m : modules_) {
    WalkBlock(m.main, shows, nothing);
    for (auto& r : m.routines) WalkBlock(r->body, shows, nothing);
  }
  if (shown) return;

  bool ends = false;
  std::set<const Routine*> reached;
  std::vector<const Routine*> pending;
  auto reach = [&](const Routine* r) {
    if (r != nullptr && !r->fromLibrary && reached.insert(r).second) pending.push_back(r);
  };
  auto end = [&](const Stmt& s) { ends |= s.kind == Stmt::Kind::End; };
  auto call = [&](const Expr& e) {
    if (e.ref == Expr::Ref::Routine) reach(e.routine);
  };
  WalkBlock(modules_[0].main, end, call);
  for (const Routine* r : program_.routines)
    if (r->fpuHandler) reach(r);
  while (!pending.empty()) {
    const Routine* r = pending.back();
    pending.pop_back();
    WalkBlock(r->body, end, call);
  }
  if (ends) return;
  Warning(mainForm->position, "the main form " + mainForm->name + " is never shown, so the program would run unseen "
                              "until it is ended; show it with " + mainForm->name + ".Show");
}

// Whether the program draws on its forms through canvases of their windows
// (kNeedsCanvas), which draw at once outside OnPaint and into the paint inside
// it. A program whose every drawing on a form stands in a routine that only
// that form's OnPaint runs (no call, no other slot), and that draws on no
// bitmap and runs nothing that could (no routine, no handler, no arithmetic
// that a floating-point handler watches), draws into the paint's DC without
// one: the canvas would give it that very DC. Any other drawing on a form
// needs the canvas, as do the rows that say so.
void Checker::DecideCanvas() {
  if ((program_.needs & kNeedsCanvas) == kNeedsCanvas) return;
  // The slots each routine is set into, and the routines that code calls.
  std::map<const Routine*, std::set<std::pair<const Symbol*, std::string>>> slots;
  std::set<const Routine*> called;
  auto handlers = [&](const Stmt& s) {
    if (s.kind == Stmt::Kind::Assign && s.target && s.target->kind == Expr::Kind::Member && s.target->member != nullptr &&
        s.target->member->valueKind == 'H' && s.value && s.value->routine != nullptr)
      slots[s.value->routine].insert({s.target->symbol, s.target->member->name});
  };
  auto calls = [&](const Expr& e) {
    if (e.ref == Expr::Ref::Routine && e.routine != nullptr) called.insert(e.routine);
  };
  for (auto& m : modules_) {
    WalkBlock(m.main, handlers, calls);
    for (auto& r : m.routines) WalkBlock(r->body, handlers, calls);
  }

  // What one routine (or the main code) does: the forms it draws on, whether
  // it draws on a bitmap, whether it may run other code.
  struct Drawing {
    std::set<const Symbol*> forms;
    bool bitmap = false;
    bool hazard = false;
  };
  auto survey = [&](const Block& body) {
    Drawing d;
    auto member = [&](const Expr& e) {
      if (e.kind != Expr::Kind::Member || e.member == nullptr || e.symbol == nullptr) return;
      if (e.member->draws && e.symbol->object == ObjectKind::Form) d.forms.insert(e.symbol);
      if (e.member->draws && e.symbol->object == ObjectKind::Bitmap) d.bitmap = true;
    };
    auto statement = [&](const Stmt& s) {
      if (s.kind == Stmt::Kind::Call && s.callee) {
        const Expr& c = *s.callee;
        member(c);
        if (c.ref == Expr::Ref::Routine || (c.member != nullptr && (c.member->effects & kHazard)) ||
            (c.ref == Expr::Ref::Builtin && c.builtin != nullptr && (c.builtin->effects & kHazard)))
          d.hazard = true;
      }
      // A property write reaches a window, whose procedure may run handlers.
      if (s.kind == Stmt::Kind::Assign && s.target && s.target->kind == Expr::Kind::Member && s.target->member != nullptr &&
          s.target->member->valueKind != 'H')
        d.hazard = true;
    };
    auto expression = [&](const Expr& e) {
      member(e);
      if (e.ref == Expr::Ref::Routine || (e.kind == Expr::Kind::Member && e.member != nullptr && (e.member->effects & kHazard)) ||
          (e.ref == Expr::Ref::Builtin && e.builtin != nullptr && (e.builtin->effects & kHazard)))
        d.hazard = true;
    };
    WalkBlock(body, statement, expression);
    return d;
  };

  bool canvas = !survey(modules_[0].main).forms.empty();
  for (auto& m : modules_) {
    for (auto& r : m.routines) {
      if (canvas) break;
      if (r->fromLibrary || r->forward) continue;
      Drawing d = survey(r->body);
      if (d.forms.empty()) continue;
      const auto& set = slots[r.get()];
      bool onlyPaint = d.forms.size() == 1 && set.size() == 1 && set.begin()->first == *d.forms.begin() &&
                       set.begin()->second == std::string("ONPAINT");
      // In a program with a floating-point handler any arithmetic may run it.
      canvas = !onlyPaint || called.count(r.get()) || r->fpuHandler || d.bitmap || d.hazard || program_.trapped;
    }
  }
  if (canvas) program_.needs |= kNeedsCanvas;
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
      } else if (word == "TABSTOPS") {
        if (!args.empty()) Error(after, "OPTION TABSTOPS takes no value");
        program_.tabStops = true;
      } else if (word == "RESOURCES") {
        for (size_t i = 0; i < args.size(); ++i) {
          if (args[i]->kind == Expr::Kind::String && !args[i]->text.empty()) program_.resources.push_back({args[i]->text, args[i]->position});
          else Error(args[i]->position, "OPTION RESOURCES takes the names of resource scripts in quotes");
        }
        if (args.empty()) Error(after, "OPTION RESOURCES takes the names of resource scripts in quotes");
      } else {
        Error(s->wordPosition, "unknown option " + word + "; the options are SIGNATURE, NAME, LIBRARY, GUI, RESOURCES and TABSTOPS");
      }
    }
  }
}

// ---- records

const RecordInfo* Checker::FindType(const std::string& upper) const {
  auto found = types_.find(upper);
  return found == types_.end() ? nullptr : found->second;
}

// TYPEs are the program's, whichever module declares them. A record's field
// may be another record, declared before or after it, but never the record
// itself, directly or through others.
void Checker::DeclareTypes() {
  std::vector<std::pair<RecordType*, RecordInfo*>> declared;
  for (auto& m : modules_) {
    for (RecordType& t : m.types) {
      std::string upper = ToUpper(t.name);
      if (t.name.empty()) continue;
      bool objectKind = false;
      for (int k = 0; k < kObjectKinds; ++k) objectKind |= upper == KindName(static_cast<ObjectKind>(k));
      if (objectKind || upper == "INTEGER" || upper == "DOUBLE" || upper == "STRING") {
        Error(t.position, t.name + " is already a type of the language");
        continue;
      }
      if (types_.count(upper)) {
        Error(t.position, "TYPE " + t.name + " is already declared at " + Where(files_, types_[upper]->position));
        continue;
      }
      auto info = std::make_unique<RecordInfo>();
      info->name = t.name;
      info->position = t.position;
      info->cppName = "R_" + CppSpelling(t.name);
      types_[upper] = info.get();
      declared.push_back({&t, info.get()});
      program_.records.push_back(std::move(info));
    }
  }
  for (auto& [t, info] : declared) {
    std::set<std::string> names;
    bool faulty = false;
    for (RecordField& f : t->fields) {
      RecordInfo::Field field;
      field.name = f.name;
      field.cppName = "f_" + CppSpelling(f.name);
      if (!names.insert(ToUpper(f.name)).second) {
        Error(f.position, "the field " + f.name + " is given twice");
        faulty = true;
        continue;
      }
      if (f.typeName == "INTEGER") field.type = ValueType::Integer;
      else if (f.typeName == "DOUBLE") field.type = ValueType::Double;
      else if (f.typeName == "STRING") field.type = ValueType::String;
      else if (const RecordInfo* r = FindType(f.typeName)) field.type = ValueType::Record, field.record = r;
      else {
        Error(f.typePosition, "unknown type " + f.typeName + "; a field is INTEGER, DOUBLE, STRING or a TYPE");
        faulty = true;
        continue;
      }
      ValueType suffix = SuffixType(f.name);
      if (suffix != ValueType::None && suffix != field.type) Error(f.typePosition, SuffixRule(f.name));
      info->fields.push_back(field);
    }
    if (info->fields.empty() && !faulty) Error(t->position, "TYPE " + t->name + " has no fields");
  }
  // Each record after those it holds, so that C++ knows them in that order;
  // one that holds itself is refused.
  std::vector<std::unique_ptr<RecordInfo>> ordered;
  std::map<const RecordInfo*, int> state;  // 1 on the way, 2 done
  std::function<bool(RecordInfo*)> place = [&](RecordInfo* r) {
    if (state[r] == 2) return true;
    if (state[r] == 1) return false;
    state[r] = 1;
    for (const RecordInfo::Field& f : r->fields) {
      if (f.record == nullptr) continue;
      if (!place(const_cast<RecordInfo*>(f.record))) {
        Error(r->position, "TYPE " + r->name + " holds itself through its field " + f.name);
        const_cast<RecordInfo::Field&>(f).record = nullptr;
        const_cast<RecordInfo::Field&>(f).type = ValueType::Error;
      }
      r->strings |= f.record != nullptr && f.record->strings;
    }
    for (const RecordInfo::Field& f : r->fields) r->strings |= f.type == ValueType::String;
    state[r] = 2;
    for (auto& owned : program_.records)
      if (owned.get() == r) ordered.push_back(std::move(owned));
    return true;
  };
  for (auto& owned : std::vector<RecordInfo*>([&] {
         std::vector<RecordInfo*> all;
         for (auto& o : program_.records) all.push_back(o.get());
         return all;
       }()))
    place(owned);
  program_.records = std::move(ordered);
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
    for (size_t i = 0; same && i < d.params.size(); ++i)
      same = d.params[i].type == f->params[i].type && d.params[i].typeName == f->params[i].typeName &&
             d.params[i].byReference == f->params[i].byReference && d.params[i].dimensions == f->params[i].dimensions;
    if (!same) Error(f->position, "this declaration of " + f->name + " differs from its definition at " +
                                      Where(files_, d.position));
  }
}

void Checker::CheckSignature(Routine& r) {
  std::set<std::string> names;
  for (Param& p : r.params) {
    std::string upper = ToUpper(p.name);
    if (!names.insert(upper).second) Error(p.position, "the parameter " + p.name + " is given twice");
    if (!p.typeName.empty()) {
      p.record = FindType(p.typeName);
      if (p.record == nullptr) {
        Error(p.typePosition, "unknown type " + p.typeName + "; a parameter is INTEGER, DOUBLE, STRING or a TYPE");
      } else {
        p.type = ValueType::Record;
      }
    }
    bool reference = p.byReference || p.dimensions > 0 || p.type == ValueType::Record;
    if (reference && (r.fromLibrary || r.exported)) {
      Error(p.position, std::string("only INTEGER and STRING values pass ") + (r.fromLibrary ? "to a library routine" : "out of a library") +
                            ": no BYREF, arrays or records");
      continue;
    }
    if (p.byReference && (p.dimensions > 0 || p.type == ValueType::Record))
      Error(p.position, "arrays and records pass by reference already: drop BYREF");
    ValueType suffix = SuffixType(p.name);
    if (suffix != ValueType::None && p.type != suffix && p.type != ValueType::Error)
      Error(p.typePosition, SuffixRule(p.name));
    if (r.fromLibrary && p.type == ValueType::Double)
      Error(p.typePosition, "only INTEGER and STRING values are passed to a library routine");
  }
  ValueType suffix = SuffixType(r.name);
  if (suffix != ValueType::None && r.isFunction && r.result != suffix && r.result != ValueType::Error)
    Error(r.resultPosition, SuffixRule(r.name));
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
  } else {
    program_.kind = program_.guiObjects.empty() ? ProgramKind::Console : ProgramKind::Window;
  }
  // A timer ticks in the message loop of a window program.
  if (program_.kind == ProgramKind::Window) return;
  for (const auto& symbol : program_.symbols)
    if (symbol->kind == Symbol::Kind::Object && symbol->object == ObjectKind::Timer && !symbol->failed) {
      Error(symbol->position, "a TIMER ticks in a window program, which declares a FORM");
      break;
    }
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
  ValueType suffix = SuffixType(item.name);
  if (isObject) {
    s->object = kind;
  } else if (t == "INTEGER") {
    s->type = ValueType::Integer;
  } else if (t == "DOUBLE") {
    s->type = ValueType::Double;
  } else if (t == "STRING") {
    s->type = ValueType::String;
  } else if (const RecordInfo* record = FindType(t)) {
    s->type = ValueType::Record;
    s->record = record;
  } else if (t.empty() && suffix != ValueType::None) {
    s->type = suffix;
  } else if (t.empty()) {
    Error(item.position, "give " + item.name + " a type: DIM " + item.name + " AS INTEGER, DOUBLE or STRING");
    s->failed = true;
  } else {
    Error(item.typePosition, "unknown type " + t + "; a variable is INTEGER, DOUBLE, STRING or a TYPE, an object "
                             "FORM, BUTTON, LABEL and so on");
    s->failed = true;
  }
  if (suffix != ValueType::None && !s->failed && (isObject || s->type != suffix)) {
    Error(item.typePosition, SuffixRule(item.name));
    s->failed = true;
  }
  if (!Declare(s)) s->failed = true;
  if (item.dynamic) {
    s->dynamic = true;
    s->dimensions = item.rank;
  }
  if (isObject) DeclareObject(item, *s, topLevel);
}

void Checker::DeclareObject(DimItem& item, Symbol& s, bool topLevel) {
  bool gui = IsWindowLibraryKind(s.object);
  // Menus and timers are named apart, so that the rule reads true for them.
  const char* kinds = Kinds(s.object) & (kMenuKinds | Kinds(ObjectKind::Timer)) ? "menus and timers"
                                                                                 : "forms, controls and bitmaps";
  if (routine_ != nullptr) {
    Error(item.position, std::string("a ") + KindName(s.object) + " is declared in the main code, not in a routine");
    s.failed = true;
  } else if (gui && module_ != 0) {
    Error(item.position, std::string(kinds) + " are declared in the main module, the first file of the program");
    s.failed = true;
  } else if (gui && !topLevel) {
    Error(item.position, std::string(kinds) + " are declared at the top level of the main code, outside every block");
    s.failed = true;
  }
  if (!item.bounds.empty()) {
    Error(item.bounds[0]->position, "there are no arrays of objects");
    item.bounds.clear();
  }
  if (!s.failed && IsTableKind(s.object)) program_.guiObjects.push_back(&s);
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
        ValueType suffix = SuffixType(item.name);
        bool fits = suffix == ValueType::None || suffix == item.symbol->type ||
                    (suffix == ValueType::Double && item.symbol->type == ValueType::Integer);
        if (!fits) Error(item.position, SuffixRule(item.name));
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
    s->record = p.record;
    s->parameter = static_cast<int>(i);
    s->dimensions = p.dimensions;
    s->reference = p.byReference || p.dimensions > 0 || p.type == ValueType::Record;
    if (p.type == ValueType::Error) s->failed = true;
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
  ResolveJumps();
  routine_ = nullptr;
  localScope_.clear();
}

// Routines in a cycle of calls (one that calls itself, or several that call
// each other round) are recursive: each call gets its own variables. The
// others keep theirs in static storage.
void Checker::CheckRecursion() {
  // Tarjan's strongly connected components over the calls.
  std::map<Routine*, int> index, low;
  std::map<Routine*, bool> onStack;
  std::vector<Routine*> stack;
  int next = 0;
  std::function<void(Routine*)> visit = [&](Routine* r) {
    index[r] = low[r] = next++;
    stack.push_back(r);
    onStack[r] = true;
    for (const Call& c : calls_[r]) {
      if (c.callee == r) r->recursive = true;
      if (!index.count(c.callee)) {
        visit(c.callee);
        low[r] = std::min(low[r], low[c.callee]);
      } else if (onStack[c.callee]) {
        low[r] = std::min(low[r], index[c.callee]);
      }
    }
    if (low[r] != index[r]) return;
    std::vector<Routine*> component;
    for (Routine* w = nullptr; w != r;) {
      w = stack.back();
      stack.pop_back();
      onStack[w] = false;
      component.push_back(w);
    }
    if (component.size() > 1)
      for (Routine* w : component) w->recursive = true;
  };
  for (Routine* r : program_.routines)
    if (!index.count(r)) visit(r);
  // Each call's arrays are on the stack.
  for (Routine* r : program_.routines) {
    if (!r->recursive) continue;
    for (Symbol* s : r->locals) {
      if (!s->isArray() || s->failed) continue;
      int64_t bytes = s->type == ValueType::String ? 20 : s->type == ValueType::Double ? 12 : 4;
      for (size_t k = 0; k < s->bounds.size(); ++k) bytes *= int64_t{s->bounds[k]} - s->lower(k) + 1;
      if (bytes > 1024)
        Error(s->position, "a recursive routine keeps its arrays on the stack, at most 1024 bytes each: make " + s->name +
                               " a variable of the main code, or use DIM " + s->name + "() and REDIM");
    }
  }
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
  for (auto& s : program_.symbols) s->cppName = "b_" + CppSpelling(s->name);
  for (auto& m : modules_)
    for (auto& r : m.routines) r->cppName = (r->fromLibrary ? "l_" : "r_") + CppSpelling(r->name);
}

std::string LabelKey(const std::string& label) {
  if (label.empty() || label.find_first_not_of("0123456789") != std::string::npos) return ToUpper(label);
  size_t first = label.find_first_not_of('0');
  return first == std::string::npos ? "0" : label.substr(first);
}

// A name's type suffix in C++, where only $ may stand in a name: $ stays, and
// the others become $ and a letter, which no name of the program can spell.
std::string CppSpelling(const std::string& name) {
  switch (name.empty() ? '\0' : name.back()) {
    case '%': return name.substr(0, name.size() - 1) + "$i";
    case '&': return name.substr(0, name.size() - 1) + "$l";
    case '!': return name.substr(0, name.size() - 1) + "$s";
    case '#': return name.substr(0, name.size() - 1) + "$d";
    default: return name;
  }
}

}  // namespace tbc
