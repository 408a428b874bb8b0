// Statements: what each may name and hold, loops and their exits, handlers.
#include "check_internal.h"

namespace tbc {

namespace {

bool Executable(const Stmt& s) {
  return s.kind != Stmt::Kind::Dim && s.kind != Stmt::Kind::Const && s.kind != Stmt::Kind::Option;
}

// The value of a constant expression as a whole number, if it is one.
bool WholeNumber(const Expr& e, int64_t& value) {
  if (!e.constant.known() || e.constant.type == ValueType::String) return false;
  long double v = e.constant.AsNumber();
  if (!(v >= -2147483648.0L && v <= 2147483647.0L) || static_cast<int64_t>(v) != v) return false;
  value = static_cast<int64_t>(v);
  return true;
}

}  // namespace

void Checker::CheckBlock(Block& block) {
  ++depth_;
  blocks_.push_back(nextBlock_++);
  for (auto& s : block) {
    if (declarationsOnly_ && Executable(*s)) {
      Error(s->position, program_.kind == ProgramKind::Library && module_ == 0
                             ? "a library has no main code: statements stand in its SUBs and FUNCTIONs"
                             : "only the main module, the first file, has main code: statements stand in SUBs "
                               "and FUNCTIONs here");
      continue;
    }
    CheckStatement(*s);
  }
  blocks_.pop_back();
  --depth_;
}

void Checker::CheckCondition(Expr* e) {
  if (e == nullptr) return;
  ValueType t = CheckExpr(*e);
  if (t == ValueType::String) Error(e->position, "a condition is a number; compare texts with = or <>");
}

void Checker::CheckStatement(Stmt& s) {
  switch (s.kind) {
    case Stmt::Kind::Dim:
    case Stmt::Kind::Const: break;  // checked with the declarations
    case Stmt::Kind::Option:
      // Options at the top level were read first; one anywhere else is a mistake.
      if (routine_ != nullptr || depth_ > 1) Error(s.position, "OPTION stands at the top level of the main code");
      break;
    case Stmt::Kind::Assign: CheckAssign(s); break;
    case Stmt::Kind::Call: CheckCallStatement(s); break;
    case Stmt::Kind::Print: CheckPrint(s); break;
    case Stmt::Kind::LineInput:
    case Stmt::Kind::Input: CheckInput(s); break;
    case Stmt::Kind::If: CheckIf(s); break;
    case Stmt::Kind::For: CheckFor(s); break;
    case Stmt::Kind::While:
    case Stmt::Kind::Do: CheckLoop(s); break;
    case Stmt::Kind::Select: CheckSelect(s); break;
    case Stmt::Kind::Exit: CheckExit(s); break;
    case Stmt::Kind::End:
      if (program_.kind == ProgramKind::Library) Error(s.position, "a library cannot END the program that loaded it");
      break;
    case Stmt::Kind::OnFloatError: CheckOnFloatError(s); break;
    case Stmt::Kind::OpenConsole:
      if (program_.kind != ProgramKind::Window)
        Error(s.position, "OPEN CONSOLE is for window programs; a console program has its console already");
      break;
    case Stmt::Kind::Declare: break;
    case Stmt::Kind::Label: CheckLabel(s); break;
    case Stmt::Kind::Goto:
    case Stmt::Kind::Gosub:
    case Stmt::Kind::Restore:
    case Stmt::Kind::OnJump: CheckJump(s); break;
    case Stmt::Kind::Return:
      if (routine_ != nullptr) routine_->gosub = true;
      else program_.mainGosub = true;
      break;
    case Stmt::Kind::Data: CheckData(s); break;
    case Stmt::Kind::Read:
    case Stmt::Kind::Swap: CheckTargets(s); break;
    case Stmt::Kind::Redim: CheckRedim(s); break;
  }
}

// A name and ':' at the start of a line names a SUB called without arguments
// when there is one (or a statement such as CLS); otherwise it is a label.
void Checker::CheckLabel(Stmt& s) {
  bool number = s.word.find_first_not_of("0123456789") == std::string::npos;
  if (!number) {
    Found f = Lookup(ToUpper(s.word));
    bool sub = f.routine != nullptr && !f.routine->isFunction;
    bool statement = f.symbol == nullptr && f.routine == nullptr && f.builtin != nullptr && f.builtin->statement &&
                     RequiredArgs(f.builtin->args) == 0;
    if (sub || statement) {
      s.kind = Stmt::Kind::Call;
      s.callee = std::make_unique<Expr>();
      s.callee->kind = Expr::Kind::Name;
      s.callee->name = s.word;
      s.callee->position = s.wordPosition;
      CheckCallStatement(s);
      return;
    }
  }
  std::string key = LabelKey(s.word);
  auto found = labels_.find(key);
  if (found != labels_.end()) {
    Error(s.wordPosition, (number ? "line " : "the label ") + s.word + " is already given on line " +
                              std::to_string(found->second.position.line));
    return;
  }
  labels_[key] = {s.wordPosition, blocks_, static_cast<int>(program_.data.size())};
}

void Checker::CheckJump(Stmt& s) {
  if (s.kind == Stmt::Kind::OnJump) {
    const Expr* v = s.value.get();
    if (v != nullptr && v->kind == Expr::Kind::Name && !v->parenthesised && ToUpper(v->name) == "ERROR" &&
        Lookup("ERROR").symbol == nullptr && Lookup("ERROR").routine == nullptr) {
      // ON ERROR GOTO, of other BASICs, rather than ON n GOTO with a variable.
      Error(s.position, ForeignMessage(Foreign::OnError));
      return;
    }
    ValueType t = s.value ? CheckExpr(*s.value) : ValueType::Error;
    if (t == ValueType::String) Error(s.value->position, "ON takes a number: the place of the label in the list");
    for (size_t i = 0; i < s.labels.size(); ++i) jumps_.push_back({&s, s.labels[i], s.labelPositions[i], blocks_});
  } else if (s.kind == Stmt::Kind::Restore) {
    program_.reads = true;
    if (routine_ != nullptr && !s.word.empty()) {
      Error(s.wordPosition, "RESTORE names a label of the main code, where the DATA stands; RESTORE alone starts again");
      return;
    }
    if (!s.word.empty()) jumps_.push_back({&s, s.word, s.wordPosition, {}});
  } else {
    jumps_.push_back({&s, s.word, s.wordPosition, blocks_});
  }
  if (s.kind == Stmt::Kind::Gosub || (s.kind == Stmt::Kind::OnJump && s.gosub)) {
    if (routine_ != nullptr) routine_->gosub = true;
    else program_.mainGosub = true;
  }
}

void Checker::ResolveJumps() {
  const char* where = routine_ != nullptr ? "in this routine" : "in the main code";
  for (const Jump& j : jumps_) {
    auto found = labels_.find(LabelKey(j.label));
    if (found == labels_.end()) {
      bool number = j.label.find_first_not_of("0123456789") == std::string::npos;
      Error(j.position, std::string(number ? "there is no line " : "there is no label ") + j.label + " " + where +
                            (routine_ == nullptr ? "" : "; a jump stays inside its routine"));
      continue;
    }
    const LabelInfo& label = found->second;
    if (j.statement->kind == Stmt::Kind::Restore) {
      j.statement->dataIndex = label.dataIndex;
      continue;
    }
    // The label's block must be the jump's own or one around it.
    bool reachable = label.blocks.size() <= j.blocks.size() &&
                     std::equal(label.blocks.begin(), label.blocks.end(), j.blocks.begin());
    if (!reachable)
      Error(j.position, "a jump cannot enter a block from outside it: " + j.label + " stands inside an IF, a loop or a "
                        "SELECT CASE that this jump is not in");
  }
  labels_.clear();
  jumps_.clear();
}

void Checker::CheckData(Stmt& s) {
  if (routine_ != nullptr || module_ != 0) {
    Error(s.position, "DATA stands in the main code");
    return;
  }
  for (const DataValue& d : s.data) program_.data.push_back(d);
}

// READ into variables; SWAP two of the same type.
void Checker::CheckTargets(Stmt& s) {
  const char* what = s.kind == Stmt::Kind::Read ? "read into" : "swapped";
  if (s.kind == Stmt::Kind::Read) program_.reads = true;
  std::vector<ValueType> types;
  for (auto& t : s.targets) {
    if (!CheckTarget(*t, what)) {
      types.push_back(ValueType::Error);
      continue;
    }
    if (t->kind == Expr::Kind::Member) {
      Error(t->position, std::string("a property cannot be ") + what);
      types.push_back(ValueType::Error);
      continue;
    }
    types.push_back(t->type);
  }
  if (s.kind == Stmt::Kind::Read)
    for (size_t i = 0; i < types.size(); ++i)
      if (types[i] == ValueType::Record) Error(s.targets[i]->position, "READ reads into a number or a STRING, not a record");
  if (s.kind == Stmt::Kind::Swap && types.size() == 2 && types[0] != ValueType::Error && types[1] != ValueType::Error &&
      (types[0] != types[1] || s.targets[0]->record != s.targets[1]->record))
    Error(s.targets[1]->position, std::string("SWAP exchanges two variables of one type: this is ") +
                                      (types[1] == ValueType::Integer ? "an " : "a ") + TypeName(types[1]) + ", the first " +
                                      (types[0] == ValueType::Integer ? "an " : "a ") + TypeName(types[0]));
}

// REDIM gives a dynamic array its bounds while the program runs; the first
// REDIM or index of an array declared with () alone gives its number of
// dimensions.
void Checker::CheckRedim(Stmt& s) {
  for (DimItem& item : s.dims) {
    for (auto* bounds : {&item.bounds, &item.lowers})
      for (auto& b : *bounds)
        if (b && CheckExpr(*b) == ValueType::String) Error(b->position, "an array's bound is a number");
    Found f = Lookup(ToUpper(item.name));
    Symbol* a = f.symbol;
    if (a == nullptr) {
      if (f.routine == nullptr && f.builtin == nullptr) {
        Expr e;
        Undeclared(e, item.name, item.position);
      } else {
        Error(item.position, item.name + " is not an array");
      }
      continue;
    }
    if (UsedTooEarly(*a, item.position)) continue;
    if (a->kind != Symbol::Kind::Variable || !a->dynamic) {
      Error(item.position, "REDIM gives new bounds to an array declared with DIM " + item.name + "() AS type; " +
                               item.name + (a->isArray() ? " has fixed bounds" : " is not an array"));
      continue;
    }
    item.symbol = a;
    if (item.bounds.size() > kArrayDimensions) {
      Error(item.position, "a dynamic array has at most 8 dimensions");
      continue;
    }
    if (a->rank() == 0) a->dimensions = static_cast<int>(item.bounds.size());
    if (a->rank() != item.bounds.size()) {
      Error(item.position, item.name + " has " + std::to_string(a->rank()) + " dimension" + (a->rank() == 1 ? "" : "s") +
                               ", given " + std::to_string(item.bounds.size()) + " bound" +
                               (item.bounds.size() == 1 ? "" : "s"));
      continue;
    }
    if (s.preserve && a->rank() != 1)
      Error(item.position, "REDIM PRESERVE keeps the elements of an array of one dimension");
  }
}

void Checker::CheckDimStatement(Stmt& s) {
  for (DimItem& item : s.dims) {
    Symbol* sym = item.symbol;
    if (sym == nullptr) continue;
    if (sym->kind == Symbol::Kind::Variable) {
      int64_t elements = 1;
      for (size_t k = 0; k < item.bounds.size(); ++k) {
        Expr& b = *item.bounds[k];
        Expr* l = k < item.lowers.size() ? item.lowers[k].get() : nullptr;
        CheckExpr(b);
        if (l != nullptr) CheckExpr(*l);
        int64_t bound = 0, lower = 0;
        if (b.type == ValueType::Error || (l != nullptr && l->type == ValueType::Error)) {
          sym->failed = true;
          continue;
        }
        if (!WholeNumber(b, bound) || (l != nullptr && !WholeNumber(*l, lower))) {
          Error((l != nullptr && !WholeNumber(*l, lower) ? *l : b).position,
                "an array's bound is a whole number known when compiling (a literal or a CONST); use DIM a() "
                "and REDIM for bounds known only while the program runs");
          sym->failed = true;
        } else if (l == nullptr && bound < 0) {
          Error(b.position, "an array's bound is 0 or more");
          sym->failed = true;
        } else if (bound < lower) {
          Error(b.position, "the upper bound is below the lower bound " + std::to_string(lower));
          sym->failed = true;
        } else {
          sym->lowers.push_back(static_cast<int32_t>(lower));
          sym->bounds.push_back(static_cast<int32_t>(bound));
          elements *= bound - lower + 1;
          if (elements > (1 << 24)) {
            Error(b.position, "the array is too large: at most 16777216 elements");
            sym->failed = true;
            elements = 1;
          }
        }
      }
      if (sym->failed && !item.bounds.empty() && sym->bounds.size() != item.bounds.size()) {
        sym->bounds.assign(item.bounds.size(), 0);
        sym->lowers.assign(item.bounds.size(), 0);
      }
      if (!item.typeArgs.empty()) Error(item.typeArgs[0]->position, "only BITMAP and REGISTRY take values after their type");
      if (!item.parent.empty()) Error(item.parentPosition, "IN places a control on a form");
      continue;
    }
    if (sym->kind != Symbol::Kind::Object) continue;
    std::vector<int64_t> values;
    for (auto& a : item.typeArgs) {
      CheckExpr(*a);
      int64_t v = 0;
      if (a->type != ValueType::Error && !WholeNumber(*a, v))
        Error(a->position, "a value known when compiling is needed here");
      values.push_back(v);
    }
    if (sym->object == ObjectKind::Bitmap) {
      if (values.size() != 3) {
        Error(item.typePosition, "a BITMAP is declared with its width, height and colour depth: BITMAP(64, 64, 16)");
        sym->failed = true;
      } else if (values[0] < 1 || values[0] > 16384 || values[1] < 1 || values[1] > 16384) {
        Error(item.typeArgs[0]->position, "a BITMAP's width and height are from 1 to 16384");
        sym->failed = true;
      } else if (values[2] != 16 && values[2] != 24 && values[2] != 32) {
        Error(item.typeArgs[2]->position, "a BITMAP's colour depth is 16, 24 or 32");
        sym->failed = true;
      } else {
        sym->bitmapWidth = static_cast<int>(values[0]);
        sym->bitmapHeight = static_cast<int>(values[1]);
        sym->bitmapDepth = static_cast<int>(values[2]);
      }
    } else if (sym->object == ObjectKind::Registry) {
      if (values.size() > 1) Error(item.typeArgs[1]->position, "a REGISTRY takes one value, its root key");
      if (values.size() == 1) sym->registryRoot = static_cast<uint32_t>(values[0]);
    } else if (!values.empty()) {
      Error(item.typeArgs[0]->position, std::string("a ") + KindName(sym->object) + " takes no values after its type");
    }
    PlaceObject(item, *sym);
  }
}

// IN: a control on a form; a menu on a form's bar or in a menu; a menu item
// in a menu or on a form's bar. A menu entry without IN goes where the one
// declared last before it that can hold it is: a MENU on the last FORM's
// bar, a MENUITEM in the last MENU.
void Checker::PlaceObject(DimItem& item, Symbol& object) {
  bool menu = (Kinds(object.object) & kMenuKinds) != 0;
  KindSet holders = menu ? Kinds(ObjectKind::Form) | Kinds(ObjectKind::Menu) : Kinds(ObjectKind::Form);
  if (item.parent.empty()) {
    if (!menu || object.failed) return;
    ObjectKind wanted = object.object == ObjectKind::Menu ? ObjectKind::Form : ObjectKind::Menu;
    for (Symbol* o : program_.guiObjects)
      if (o->object == wanted && o->position < item.position) object.parent = o;
    if (object.parent == nullptr)
      Error(item.position, object.object == ObjectKind::Menu
                               ? "a MENU goes on the bar of a FORM declared before it: declare the FORM first"
                               : "a MENUITEM goes in a MENU declared before it, or on a FORM's bar with IN");
    return;
  }
  Found f = Lookup(ToUpper(item.parent));
  if (!IsTableKind(object.object) || object.object == ObjectKind::Form) {
    Error(item.parentPosition, "IN places a control on a form");
  } else if (f.symbol == nullptr || f.symbol->kind != Symbol::Kind::Object || !(Kinds(f.symbol->object) & holders)) {
    Error(item.parentPosition, item.parent + (menu ? " is not a FORM or a MENU" : " is not a FORM"));
  } else if (!(f.symbol->position < item.position)) {
    Error(item.parentPosition, std::string("the ") + KindName(f.symbol->object) + " " + item.parent +
                                   " is declared after this " + (menu ? KindName(object.object) : "control"));
  } else {
    object.parent = f.symbol;
  }
}

void Checker::CheckAssign(Stmt& s) {
  if (s.target && CheckBuiltinAssign(s)) return;
  if (!s.target || !CheckTarget(*s.target, "set")) {
    // A routine's bare name is meant for an event slot: the target's error is the one mistake.
    bool handler = s.value && s.value->kind == Expr::Kind::Name && !s.value->parenthesised &&
                   Lookup(ToUpper(s.value->name)).routine != nullptr;
    if (s.value && !handler) CheckExpr(*s.value);
    return;
  }
  Expr& t = *s.target;
  if (t.kind == Expr::Kind::Member && t.member->valueKind == 'H') {
    // An event slot takes a SUB that takes no arguments.
    Expr& v = *s.value;
    Found f = v.kind == Expr::Kind::Name && !v.parenthesised ? Lookup(ToUpper(v.name)) : Found{};
    Routine* r = f.routine;
    if (r == nullptr || r->fromLibrary) {
      Error(v.position, "an event slot is set to the name of a SUB of the program");
      return;
    }
    bool onMessage = ToUpper(t.name) == "ONMESSAGE";
    if (!r->params.empty()) Error(v.position, "a handler takes no arguments, and " + r->name + " does");
    else if (r->isFunction && !(onMessage && r->result == ValueType::Integer))
      Error(v.position, "a handler is a SUB (OnMessage may also take a FUNCTION with an INTEGER result)");
    v.ref = Expr::Ref::Routine;
    v.routine = r;
    r->handler = true;
    if (r->module != module_) r->crossModule = true;
    return;
  }
  ValueType want = t.type;
  ValueType got = CheckExpr(*s.value, want == ValueType::Record);
  if (want == ValueType::Error || got == ValueType::Error) return;
  if (want == ValueType::Record || got == ValueType::Record) {
    // A whole record takes a copy of another of its TYPE, its strings too.
    if (got != want || s.value->record != t.record)
      Error(s.value->position, "a " + (t.record ? t.record->name : std::string("value")) + " takes a copy of another " +
                                   (t.record ? t.record->name : std::string("value")));
    return;
  }
  if (t.kind == Expr::Kind::Member) {
    char k = t.member->valueKind;
    bool ok = (k == 'S' || k == 'T') ? got == ValueType::String : k == 'R' ? true : IsNumeric(got);
    if (!ok) Error(s.value->position, t.object + "." + t.name + " takes " + ((k == 'S' || k == 'T') ? "a STRING" : "a number"));
    if (t.member->constantValue && !s.value->constant.known())
      Error(s.value->position, t.object + "." + t.name + " takes a value known when compiling (a literal or a CONST)");
    return;
  }
  bool ok = want == ValueType::String ? got == ValueType::String : IsNumeric(got);
  if (!ok) Error(s.value->position, std::string("cannot store ") + (got == ValueType::String ? "a STRING" : "a number") +
                                        " in the " + TypeName(want) + " " + t.name);
}

// NAME(args) = value for a built-in with a statement form (MID$): the first
// argument is the STRING variable or element that it changes.
bool Checker::CheckBuiltinAssign(Stmt& s) {
  Expr& t = *s.target;
  if (t.kind != Expr::Kind::Name || !t.parenthesised) return false;
  Found f = Lookup(ToUpper(t.name));
  if (f.builtin == nullptr || f.builtin->assign == nullptr) return false;
  const Builtin& b = *f.builtin;
  t.ref = Expr::Ref::Builtin;
  t.builtin = &b;
  t.type = ValueType::None;
  bool ok = CheckArgs(t, b.args, t.name.c_str());
  ValueType got = CheckExpr(*s.value);
  if (ok) {
    const Expr& place = *t.args[0];
    if (place.type != ValueType::Error && (place.kind != Expr::Kind::Name || place.ref != Expr::Ref::Variable))
      Error(place.position, "the first argument of " + t.name + " = is the STRING variable it changes");
  }
  if (got != ValueType::Error && got != ValueType::String)
    Error(s.value->position, "cannot store a number in part of a STRING");
  return true;
}

void Checker::CheckCallStatement(Stmt& s) {
  if (!s.callee) return;
  Expr& c = *s.callee;
  if (c.kind == Expr::Kind::Member) {
    CheckMember(c, true);
    return;
  }
  Found f = Lookup(ToUpper(c.name));
  // A variable cannot be called: a statement of that name is the built-in one.
  if (f.symbol != nullptr && f.symbol->kind != Symbol::Kind::Object) {
    const Builtin* b = FindBuiltin(ToUpper(c.name));
    if (b != nullptr && b->statement && (c.parenthesised || !c.args.empty() || b->args[0] == '\0')) {
      CheckBuiltin(c, *b, true);
      return;
    }
  }
  if (f.symbol != nullptr) {
    for (auto& a : c.args) CheckExpr(*a);
    if (f.symbol->kind == Symbol::Kind::Variable && !c.parenthesised)
      Error(c.position, "expected '=' after " + c.name + " to set it");
    else Error(c.position, c.name + " is not a SUB");
    return;
  }
  if (Routine* r = f.routine) {
    if (r->isFunction) {
      for (auto& a : c.args) CheckExpr(*a);
      Error(c.position, r->name + " is a FUNCTION: use its result, as in x = " + r->name + "(...)");
      return;
    }
    CheckCall(c, *r, true);
    return;
  }
  if (const Builtin* b = f.builtin) {
    CheckBuiltin(c, *b, true);
    return;
  }
  if (RefuseForeign(c)) return;
  for (auto& a : c.args) CheckExpr(*a);
  Undeclared(c, c.name, c.position);
}

// A ',' item, TAB and SPC move the print position: then every PRINT of the
// program counts the columns it writes (see PrintWrite).
void Checker::CheckPrint(Stmt& s) {
  for (PrintItem& item : s.items) {
    if (!item.value) {
      program_.printPositions = true;
      continue;
    }
    Expr& e = *item.value;
    const Builtin* b = e.kind == Expr::Kind::Name ? Lookup(ToUpper(e.name)).builtin : nullptr;
    if (b == nullptr || b->special != Special::PrintPosition) {
      CheckExpr(e);
      continue;
    }
    program_.printPositions = true;
    e.ref = Expr::Ref::Builtin;
    e.builtin = b;
    e.type = ValueType::None;
    if (!e.parenthesised) Error(e.position, e.name + " takes its argument in parentheses, as in " + e.name + "(10)");
    else CheckArgs(e, b->args, e.name.c_str());
  }
}

void Checker::CheckInput(Stmt& s) {
  if (s.value && CheckExpr(*s.value) != ValueType::String && s.value->type != ValueType::Error)
    Error(s.value->position, "the prompt is a STRING");
  std::vector<Expr*> targets;
  if (s.target) targets.push_back(s.target.get());
  for (auto& t : s.targets) targets.push_back(t.get());
  for (Expr* t : targets) {
    if (!CheckTarget(*t, "read into")) continue;
    if (t->kind == Expr::Kind::Member) {
      Error(t->position, "input is read into a variable");
      continue;
    }
    if (s.kind == Stmt::Kind::LineInput && t->type != ValueType::String)
      Error(t->position, "LINE INPUT reads into a STRING variable");
  }
}

void Checker::CheckIf(Stmt& s) {
  for (IfBranch& b : s.branches) {
    CheckCondition(b.condition.get());
    CheckBlock(b.body);
  }
}

void Checker::CheckFor(Stmt& s) {
  std::string counter;
  if (s.target) {
    Expr& t = *s.target;
    Found f = Lookup(ToUpper(t.name));
    if (f.symbol == nullptr) {
      if (f.routine == nullptr && f.builtin == nullptr) Undeclared(t, t.name, t.position);
      else Error(t.position, t.name + " is not a variable");
    } else if (f.symbol->kind != Symbol::Kind::Variable || f.symbol->isArray() || f.symbol->type == ValueType::String) {
      if (!f.symbol->failed) Error(t.position, "the counter of a FOR loop is an INTEGER or DOUBLE variable");
    } else {
      CheckExpr(t);
      counter = ToUpper(t.name);
    }
  }
  for (Expr* e : {s.start.get(), s.end.get(), s.step.get()}) {
    if (e != nullptr && CheckExpr(*e) == ValueType::String) Error(e->position, "FOR counts with numbers");
  }
  if (!s.nextName.empty() && !counter.empty() && ToUpper(s.nextName) != counter)
    Error(s.nextPosition, "NEXT " + s.nextName + " does not match FOR " + s.target->name);
  loops_.push_back({Stmt::Kind::For, counter});
  CheckBlock(s.body);
  loops_.pop_back();
}

void Checker::CheckLoop(Stmt& s) {
  CheckCondition(s.condition.get());
  loops_.push_back({s.kind, ""});
  CheckBlock(s.body);
  loops_.pop_back();
}

void Checker::CheckSelect(Stmt& s) {
  ValueType selector = s.value ? CheckExpr(*s.value) : ValueType::Error;
  for (CaseClause& c : s.cases) {
    for (CaseItem& item : c.items) {
      for (Expr* e : {item.first.get(), item.last.get()}) {
        if (e == nullptr) continue;
        ValueType t = CheckExpr(*e);
        if (t == ValueType::Error || selector == ValueType::Error) continue;
        if ((t == ValueType::String) != (selector == ValueType::String))
          Error(e->position, selector == ValueType::String ? "this SELECT CASE compares texts" : "this SELECT CASE compares numbers");
      }
    }
    CheckBlock(c.body);
  }
}

void Checker::CheckExit(Stmt& s) {
  switch (s.exits) {
    case Stmt::Exits::For:
    case Stmt::Exits::Do: {
      Stmt::Kind want = s.exits == Stmt::Exits::For ? Stmt::Kind::For : Stmt::Kind::Do;
      bool inside = false;
      for (const Loop& l : loops_) inside |= l.kind == want;
      if (!inside) Error(s.position, s.exits == Stmt::Exits::For ? "EXIT FOR outside a FOR loop" : "EXIT DO outside a DO loop");
      break;
    }
    case Stmt::Exits::While: {
      bool inside = false;
      for (const Loop& l : loops_) inside |= l.kind == Stmt::Kind::While;
      if (!inside) Error(s.position, "EXIT WHILE outside a WHILE loop");
      break;
    }
    case Stmt::Exits::Sub:
      if (routine_ == nullptr || routine_->isFunction) Error(s.position, "EXIT SUB outside a SUB");
      break;
    case Stmt::Exits::Function:
      if (routine_ == nullptr || !routine_->isFunction) Error(s.position, "EXIT FUNCTION outside a FUNCTION");
      break;
  }
}

void Checker::CheckOnFloatError(Stmt& s) {
  if (s.word.empty()) return;
  Found f = Lookup(ToUpper(s.word));
  Routine* r = f.routine;
  if (r == nullptr || r->fromLibrary) {
    if (f.symbol == nullptr && f.routine == nullptr && f.builtin == nullptr) {
      Expr e;
      Undeclared(e, s.word, s.wordPosition);
    } else {
      Error(s.wordPosition, s.word + " is not a SUB of the program");
    }
    return;
  }
  if (r->isFunction || !r->params.empty()) {
    Error(s.wordPosition, "the floating-point handler is a SUB without arguments");
    return;
  }
  r->fpuHandler = true;
  if (r->module != module_) r->crossModule = true;
  s.routine = r;
  program_.trapped = true;
}

}  // namespace tbc
