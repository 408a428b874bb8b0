// Statements: one runtime call sequence each, under a comment with the
// source line. A statement that needs locals gets a block of its own, so that
// no jump (END, EXIT) crosses their initialisation.
#include "emit_internal.h"

namespace tbc {

namespace {

const char* Constructor(ObjectKind kind) {
  switch (kind) {
    case ObjectKind::Form: return "CreateForm";
    case ObjectKind::Button: return "CreateButton";
    case ObjectKind::CheckBox: return "CreateCheckBox";
    case ObjectKind::RadioButton: return "CreateRadioButton";
    case ObjectKind::ComboBox: return "CreateComboBox";
    case ObjectKind::Edit: return "CreateEdit";
    case ObjectKind::Memo: return "CreateMemo";
    case ObjectKind::RichEdit: return "CreateRichEdit";
    case ObjectKind::Label: return "CreateLabel";
    case ObjectKind::Picture: return "CreatePicture";
    case ObjectKind::ListBox: return "CreateListBox";
    case ObjectKind::StatusBar: return "CreateFormStatusBar";
    default: return nullptr;
  }
}

std::string Trim(const std::string& text) {
  size_t start = text.find_first_not_of(" \t");
  if (start == std::string::npos) return "";
  size_t end = text.find_last_not_of(" \t");
  return text.substr(start, end - start + 1);
}

// The source text as a comment: nothing in it may end the comment early or
// continue it onto the next line.
std::string CommentText(const std::string& text) {
  std::string out;
  for (unsigned char c : Trim(text)) {
    if (c == '\\') out += "\\ ";  // a backslash at the end would continue the comment
    else if (c < 32 || c == 127) out += ' ';
    else out += static_cast<char>(c);
  }
  while (!out.empty() && (out.back() == ' ' || out.back() == '\\')) out.pop_back();
  return out;
}

}  // namespace

void Emitter::Line(const std::string& text) { *out_ << std::string(static_cast<size_t>(indent_) * 2, ' ') << text << '\n'; }

void Emitter::Comment(const Stmt& s) {
  if (s.position.line == lastLine_) return;
  lastLine_ = s.position.line;
  Line("// " + std::to_string(s.position.line) + ": " + CommentText(files_[m_.file].line(s.position.line)));
}

void Emitter::OpenScope() {
  Line("{");
  ++indent_;
}

void Emitter::CloseScope() {
  --indent_;
  Line("}");
}

void Emitter::EmitBlock(const Block& block) {
  for (const auto& s : block) EmitStatement(*s);
}

void Emitter::EmitStatement(const Stmt& s) {
  if (s.kind == Stmt::Kind::Const || s.kind == Stmt::Kind::Option || s.kind == Stmt::Kind::Declare ||
      s.kind == Stmt::Kind::Data)
    return;
  if (s.kind == Stmt::Kind::Label) {
    // A C++ label needs a statement after it.
    *out_ << "L_" << CppSpelling(LabelKey(s.word)) << ":;\n";
    return;
  }
  if (s.kind == Stmt::Kind::Dim) {
    bool acts = false;
    for (const DimItem& d : s.dims)
      acts |= d.symbol != nullptr && d.symbol->kind == Symbol::Kind::Object &&
              (IsTableKind(d.symbol->object) || d.symbol->object == ObjectKind::Bitmap);
    if (!acts) return;
  }
  Comment(s);
  // The statement goes to a buffer first: it gets a block of its own when it declared locals.
  std::ostringstream buffer;
  std::ostringstream* outer = out_;
  out_ = &buffer;
  int locals = locals_;
  int temps = temps_;
  temps_ = 0;
  ++indent_;
  switch (s.kind) {
    case Stmt::Kind::Dim: EmitDim(s); break;
    case Stmt::Kind::Assign: EmitAssign(s); break;
    case Stmt::Kind::Call: EmitCallStatement(s); break;
    case Stmt::Kind::Print: EmitPrint(s); break;
    case Stmt::Kind::LineInput:
    case Stmt::Kind::Input: EmitInput(s); break;
    case Stmt::Kind::If: EmitIf(s); break;
    case Stmt::Kind::For: EmitFor(s); break;
    case Stmt::Kind::While: EmitWhile(s); break;
    case Stmt::Kind::Do: EmitDo(s); break;
    case Stmt::Kind::Select: EmitSelect(s); break;
    case Stmt::Kind::Exit: EmitExit(s); break;
    case Stmt::Kind::End: EmitEnd(s); break;
    case Stmt::Kind::OnFloatError:
      if (s.routine != nullptr)
        Line("FpuErrorHandler = reinterpret_cast<FpuHandler>(" + s.routine->cppName + ");");
      break;
    case Stmt::Kind::OpenConsole: Line("ConsoleOpen();"); break;
    case Stmt::Kind::Goto: Line("goto L_" + CppSpelling(LabelKey(s.word)) + ";"); break;
    case Stmt::Kind::Gosub: {
      std::string back = "Return" + std::to_string(++labels_);
      Line("GosubPush(&&" + back + ");");
      Line("goto L_" + CppSpelling(LabelKey(s.word)) + ";");
      Line(back + ":;");
      break;
    }
    case Stmt::Kind::Return: Line("goto *GosubPop(Gosubs.base);"); break;
    case Stmt::Kind::OnJump: EmitOnJump(s); break;
    case Stmt::Kind::Read: EmitRead(s); break;
    case Stmt::Kind::Restore: Line("RestoreData(" + std::to_string(s.dataIndex) + ");"); break;
    case Stmt::Kind::Swap: EmitSwap(s); break;
    case Stmt::Kind::Redim: EmitRedim(s); break;
    default: break;
  }
  --indent_;
  temps_ = temps;
  out_ = outer;
  std::string code = buffer.str();
  if (locals_ != locals) {
    Line("{");
    *out_ << code;
    Line("}");
  } else {
    // Not wrapped: the lines move out by one level.
    std::istringstream lines(code);
    for (std::string line; std::getline(lines, line);) *out_ << (line.size() >= 2 ? line.substr(2) : line) << '\n';
  }
}

void Emitter::EmitDim(const Stmt& s) {
  for (const DimItem& d : s.dims) {
    const Symbol* o = d.symbol;
    if (o == nullptr || o->kind != Symbol::Kind::Object) continue;
    if (o->object == ObjectKind::Bitmap) {
      Line("CreateBitmapObject(&" + o->cppName + ");");
      continue;
    }
    if ((Kinds(o->object) & kMenuKinds) != 0) {
      // On the bar of the form, or in the popup of the menu, named by IN or
      // declared last before it.
      if (o->parent == nullptr) continue;
      bool onBar = o->parent->object == ObjectKind::Form;
      Line("CurrentObject = &" + o->cppName + "; " + (onBar ? "CreateMenuOn(&" : "CreateMenuIn(&") + o->parent->cppName +
           ", " + (o->object == ObjectKind::Menu ? "true" : "false") + ");");
      continue;
    }
    const char* make = Constructor(o->object);
    if (make == nullptr) continue;
    if (o->parent != nullptr) Line(o->cppName + ".ParentWindow = " + o->parent->cppName + ".WindowHandle;");
    Line("CurrentObject = &" + o->cppName + "; " + make + "();");
    if (o->object == ObjectKind::RichEdit)
      Line("SendMessageA(" + o->cppName + ".WindowHandle, kRichEditSetupMessage, 0, kRichEditSetupValue);");
  }
}

void Emitter::EmitAssign(const Stmt& s) {
  const Expr& t = *s.target;
  if (t.ref == Expr::Ref::Builtin) {
    EmitBuiltinAssign(s);
    return;
  }
  if (t.kind == Expr::Kind::Member) {
    const Member& m = *t.member;
    if (m.valueKind == 'H') {
      Line(Template(m.write, t, {}, "reinterpret_cast<EventHandler>(" + s.value->routine->cppName + ")"));
      return;
    }
    // The write sets CurrentObject first: the value must not move it after.
    Value v = Emit(*s.value, Future{kSlots, 0});
    Line(Template(m.write, t, {}, Convert(v, m.valueKind)));
    return;
  }
  if (checked_ && X87(*s.value) && t.kind == Expr::Kind::Name && !t.symbol->isArray() && !t.symbol->reference &&
      t.type != ValueType::String) {
    EmitX87(*s.value, {}, t.symbol);
    return;
  }
  if (AppendInPlace(t, *s.value)) return;
  if (t.type == ValueType::Integer) SignIgnored(*s.value);
  // The target's indexes, then the value, in source order.
  std::vector<const Expr*> operands;
  CollectIndexes(t, operands);
  operands.push_back(s.value.get());
  std::vector<Value> values = EmitOperands(operands, {});
  size_t next = 0;
  std::string place = PlaceOf(t, values, next);
  const Value& v = values.back();
  // A large text of the ring or the accumulator is handed over rather than copied.
  bool temporary = v.storage == Storage::Ring || v.storage == Storage::Accumulator;
  switch (t.type) {
    case ValueType::String: Line((temporary ? "StrAssignTemp(" : "StrAssign(") + AsString(v) + ", &" + place + ");"); break;
    case ValueType::Integer: Line(place + " = " + AsInteger(v) + ";"); break;
    case ValueType::Record: Line("CopyRecord(&" + place + ", &" + v.cpp + ");"); break;
    default: Line(place + " = " + AsNumber(v) + ";"); break;
  }
}

// MID$(s, start, n) = value: the element's indexes, the arguments and the
// value in source order, then the row's statement on the variable's descriptor.
void Emitter::EmitBuiltinAssign(const Stmt& s) {
  const Expr& t = *s.target;
  const Builtin& b = *t.builtin;
  // The target as any assignment's: a variable (a BYREF parameter's is the
  // caller's), an element of any array, a field.
  std::vector<const Expr*> operands;
  CollectIndexes(*t.args[0], operands);
  size_t indexes = operands.size();
  for (size_t i = 1; i < t.args.size(); ++i) operands.push_back(t.args[i].get());
  operands.push_back(s.value.get());
  std::vector<Value> values = EmitOperands(operands, {});
  size_t next = 0;
  std::string place = PlaceOf(*t.args[0], values, next);
  std::vector<std::string> args = {"&" + place};
  int optional = 0;
  for (size_t i = 1; b.args[i] != '\0'; ++i) {
    bool given = i < t.args.size();
    if (given) args.push_back(Convert(values[indexes + i - 1], b.args[i]));
    if (std::islower(static_cast<unsigned char>(b.args[i]))) {
      if (!given) args.push_back(DefaultArg(b.defaults, optional));
      ++optional;
    }
  }
  std::string code = b.assign;
  for (size_t i = args.size(); i-- > 0;) {
    std::string mark = "$" + std::to_string(i + 1);
    size_t at = code.find(mark);
    if (at != std::string::npos) code.replace(at, mark.size(), args[i]);
  }
  size_t at = code.find("$v");
  if (at != std::string::npos) code.replace(at, 2, AsString(values.back()));
  Line(code);
}

namespace {

bool Mentions(const Expr& e, const Symbol* symbol, bool anyReference) {
  if (e.kind == Expr::Kind::Name && e.ref == Expr::Ref::Variable && e.symbol != nullptr &&
      (e.symbol == symbol || (anyReference && e.symbol->reference && e.symbol->type == ValueType::String)))
    return true;
  for (const auto& a : e.args)
    if (Mentions(*a, symbol, anyReference)) return true;
  return false;
}

void Pieces(const Expr& e, std::vector<const Expr*>& out) {
  if (IsConcat(e) && !e.constant.known()) {
    Pieces(*e.args[0], out);
    Pieces(*e.args[1], out);
  } else {
    out.push_back(&e);
  }
}

}  // namespace

// s = s + a + b, where nothing after s can reach s (no call, no s, no
// variable that may be s by another name): the pieces are appended to s's own
// block in order, which grows by a quarter at a time, rather than joined in
// the accumulator and copied back whole.
bool Emitter::AppendInPlace(const Expr& target, const Expr& value) {
  if (target.kind != Expr::Kind::Name || target.symbol == nullptr || target.symbol->isArray() ||
      target.symbol->reference || target.type != ValueType::String || !IsConcat(value) || value.constant.known())
    return false;
  std::vector<const Expr*> pieces;
  Pieces(value, pieces);
  const Expr& first = *pieces[0];
  if (first.kind != Expr::Kind::Name || first.ref != Expr::Ref::Variable || first.symbol != target.symbol) return false;
  for (size_t i = 1; i < pieces.size(); ++i)
    if ((Summarize(*pieces[i]).does.effects & kHazard) || Mentions(*pieces[i], target.symbol, true)) return false;
  for (size_t i = 1; i < pieces.size(); ++i)
    Line("StrAppendInPlace(" + AsString(Text(Emit(*pieces[i], {}))) + ", &" + target.symbol->cppName + ");");
  return true;
}

void Emitter::EmitCallStatement(const Stmt& s) {
  const Expr& c = *s.callee;
  if (c.kind == Expr::Kind::Member) {
    const Member& m = *c.member;
    std::vector<const Expr*> args;
    for (auto& a : c.args) args.push_back(a.get());
    Value effects;
    std::vector<std::string> converted = EmitArgs(args, m.args, Future{kSlots, 0}, effects);
    int optional = 0;
    for (size_t i = 0; m.args[i]; ++i) {
      if (std::islower(static_cast<unsigned char>(m.args[i]))) {
        if (i >= converted.size()) converted.push_back(DefaultArg(m.defaults, optional));
        ++optional;
      }
    }
    Line(Template(m.write, c, converted, ""));
    return;
  }
  Value v = c.ref == Expr::Ref::Routine ? EmitCall(c, {}) : EmitBuiltin(c, {});
  Line(v.cpp.back() == ';' ? v.cpp : v.cpp + ";");
  if (c.ref == Expr::Ref::Builtin && c.builtin->special == Special::EndsLine && program_.printPositions)
    Line("PrintColumn = 0;");
}

// In a program that moves the print position (',', TAB, SPC), every PRINT
// and prompt writes through PrintWrite, which counts the columns.
void Emitter::EmitPrint(const Stmt& s) {
  bool counted = program_.printPositions;
  for (const PrintItem& item : s.items) {
    if (!item.value) {
      Line("PrintZone();");
      continue;
    }
    const Expr& e = *item.value;
    if (e.ref == Expr::Ref::Builtin && e.builtin->special == Special::PrintPosition) {
      Line(EmitBuiltin(e, {}).cpp);
      continue;
    }
    SignIgnored(e);  // -0 prints as 0
    Value v = Emit(e, {});
    Line(std::string(counted ? "PrintWrite(" : "ConsoleWrite(") + (v.type == ValueType::String ? AsString(v) : NumberText(v)) +
         ");");
  }
  if (!s.keepLine) Line(counted ? "PrintNewLine();" : "ConsoleNewLine();");
}

void Emitter::EmitInput(const Stmt& s) {
  const char* write = program_.printPositions ? "PrintWrite(" : "ConsoleWrite(";
  if (!s.targets.empty()) {
    // One line, read once; then each variable in turn, its indexes made at its
    // turn, takes the next field: a number as VAL reads it, a STRING its text.
    if (s.value) Line(write + AsString(Emit(*s.value, {})) + ");");
    std::string line = NewLocal(), at = NewLocal();
    Line("const StringValue " + line + " = InputLine(&" + NewTemp() + ");");
    Line("int32_t " + at + " = 0;");
    for (const auto& t : s.targets) {
      std::string place = TargetPlace(*t, {});
      std::string field = "InputField(" + line + ", &" + at + ")";
      switch (t->type) {
        case ValueType::String: Line("StrAssign(" + field + ", &" + place + ");"); break;
        case ValueType::Integer: Line(place + " = RoundToInteger(TextToNumber(" + field + "));"); break;
        default: Line(place + " = TextToNumber(" + field + ");"); break;
      }
    }
    return;
  }
  if (s.value) Line(write + AsString(Emit(*s.value, Summarize(*s.target).does)) + ");");
  const Expr& t = *s.target;
  std::string place = TargetPlace(t, {});
  if (t.type == ValueType::String) Line("ConsoleReadLine(&" + place + ");");
  else if (t.type == ValueType::Integer) Line(place + " = RoundToInteger(ConsoleReadNumber());");
  else Line(place + " = ConsoleReadNumber();");
}

void Emitter::EmitIf(const Stmt& s) {
  int open = 0;  // nested blocks opened for conditions that need code of their own
  for (size_t i = 0; i < s.branches.size(); ++i) {
    const IfBranch& b = s.branches[i];
    if (b.condition == nullptr) {
      Line("} else {");
    } else if (i == 0) {
      Line("if (" + Condition(*b.condition) + ") {");
    } else {
      std::ostringstream before;
      std::ostringstream* outer = out_;
      out_ = &before;
      std::string condition = Condition(*b.condition);
      out_ = outer;
      if (before.str().empty()) {
        Line("} else if (" + condition + ") {");
      } else {
        Line("} else {");
        ++indent_;
        ++open;
        std::istringstream lines(before.str());
        for (std::string line; std::getline(lines, line);) *out_ << "  " << line << '\n';
        Line("if (" + condition + ") {");
      }
    }
    ++indent_;
    EmitBlock(b.body);
    --indent_;
  }
  Line("}");
  for (; open > 0; --open) CloseScope();
}

void Emitter::EmitFor(const Stmt& s) {
  const Symbol& c = *s.target->symbol;
  const std::string v = c.reference ? "(*" + c.cppName + ")" : c.cppName;
  bool integerCounter = c.type == ValueType::Integer;
  if (integerCounter) {
    SignIgnored(*s.start);
    SignIgnored(*s.end);
    if (s.step) SignIgnored(*s.step);
  }
  Future afterStart = Summarize(*s.end).does;
  if (s.step) afterStart = afterStart | Summarize(*s.step).does;
  Value start = Emit(*s.start, afterStart);
  // A start that an INTEGER counter cannot hold runs no pass; the counter
  // holds what the store gives, -2147483648.
  std::string fits;
  if (integerCounter && start.type == ValueType::Double && !start.boolean) {
    if (!start.lvalue) start = Evaluate(start, {});
    fits = std::string(start.wide ? "WideFitsInteger(" : "FitsInteger(") + start.cpp + ") && ";
  }
  Line(v + " = " + (integerCounter ? AsInteger(start) : AsNumber(start)) + ";");
  int direction = 0;
  if (!s.step) direction = 1;
  else if (s.step->constant.type == ValueType::Integer && (s.step->constant.integer == 1 || s.step->constant.integer == -1))
    direction = s.step->constant.integer;
  bool fast = integerCounter && s.end->type == ValueType::Integer && direction != 0 && !checked_;
  loops_.push_back({LoopKind::For, 0});
  // After a pass, a sum that an INTEGER counter cannot hold ends the loop.
  auto next = [&](const std::string& sum) { return integerCounter ? "FitsInteger(" + sum + ") && " : std::string(); };
  if (fast) {
    // Whole steps of one: the counter leaves the loop one past its end, as the
    // exact sum stored into an INTEGER, without the loop ever running on.
    std::string end = NewLocal();
    Line("const int32_t " + end + " = " + AsInteger(Emit(*s.end, {})) + ";");
    Line("if (" + fits + v + (direction > 0 ? " <= " : " >= ") + end + ") for (;;) {");
    ++indent_;
    EmitBlock(s.body);
    // Short of the end the step cannot overflow; at the end the counter
    // takes the exact sum stored, -2147483648 past the range.
    Line("if (" + v + (direction > 0 ? " >= " : " <= ") + end + ") {");
    Line("  " + v + " = IntegerAdd(" + v + ", " + std::to_string(direction) + ");");
    Line("  break;");
    Line("}");
    Line(v + (direction > 0 ? " += 1;" : " -= 1;"));
    --indent_;
    Line("}");
  } else if (integerCounter && !checked_ && integers_.Of(*s.end).integral() &&
             (!s.step || integers_.Of(*s.step).integral())) {
    // The integer path: the end and the step exact in 64-bit integers, the
    // sum too; a sum beyond the INTEGER range ends the loop.
    // A step that is an INTEGER adds in 32 bits, the processor's overflow
    // flag saying when the sum leaves the range.
    bool narrowStep = !s.step || integers_.Of(*s.step).kind == IntegerForm::Kind::Int32;
    std::string end = NewLocal(), step = NewLocal();
    Line("const int64_t " + end + " = " + AsWide(Emit(*s.end, s.step ? Summarize(*s.step).does : Future{})) + ";");
    Line(std::string(narrowStep ? "const int32_t " : "const int64_t ") + step + " = " +
         (!s.step ? std::string("1") : narrowStep ? AsInteger(Emit(*s.step, {})) : AsWide(Emit(*s.step, {}))) + ";");
    auto continues = [&](const std::string& value) {
      return "(" + step + " >= 0 ? " + value + " <= " + end + " : " + value + " >= " + end + ")";
    };
    Line("if (" + fits + continues(v) + ") for (;;) {");
    ++indent_;
    EmitBlock(s.body);
    if (narrowStep) {
      Line("if (!ForNextInteger(&" + v + ", " + step + ", " + end + ")) break;");
    } else {
      std::string sum = NewLocal();
      Line("const int64_t " + sum + " = " + v + " + " + step + ";");
      Line(v + " = StoreInteger(" + sum + ");");
      Line("if (!(" + sum + " == " + v + " && " + continues(sum) + ")) break;");
    }
    --indent_;
    Line("}");
  } else if (!checked_) {
    std::string end = NewLocal(), step = NewLocal();
    Line("const long double " + end + " = " + AsNumber(Emit(*s.end, s.step ? Summarize(*s.step).does : Future{})) + ";");
    Line("const long double " + step + " = " + (s.step ? AsNumber(Emit(*s.step, {})) : std::string("1.0L")) + ";");
    Line("if (" + fits + "ForContinues(" + (integerCounter ? "static_cast<long double>(" + v + ")" : v) + ", " + end +
         ", " + step + ")) for (;;) {");
    ++indent_;
    EmitBlock(s.body);
    std::string sum = NewLocal();
    Line("const long double " + sum + " = " + (integerCounter ? "static_cast<long double>(" + v + ")" : v) + " + " +
         step + ";");
    Line(v + " = " + (integerCounter ? "RoundToInteger(" + sum + ")" : sum) + ";");
    Line("if (!(" + next(sum) + "ForContinues(" + sum + ", " + end + ", " + step + "))) break;");
    --indent_;
    Line("}");
  } else {
    // The same loop in x87 code with its checks; its operands are in memory.
    Value end = InMemory(Settle(Emit(*s.end, s.step ? Summarize(*s.step).does : Future{}), Future{kHazard, 0}));
    Value step;
    if (s.step) {
      step = Emit(*s.step, {});
    } else {
      step.cpp = ConstantOperand(1, true);
      step.type = ValueType::Integer;
      step.lvalue = true;
    }
    step = InMemory(Settle(step, Future{kHazard, 0}));
    Value counter;
    counter.cpp = v;
    counter.type = c.type;
    Value zero;
    zero.cpp = ConstantOperand(0, true);
    zero.type = ValueType::Integer;
    Value up = EmitX87Binary(BinaryOp::GreaterEqual, step, zero);
    auto continues = [&](const Value& value) {
      Value below = EmitX87Binary(BinaryOp::LessEqual, value, end);
      Value above = EmitX87Binary(BinaryOp::GreaterEqual, value, end);
      return up.cpp + " ? " + below.cpp + " : " + above.cpp;
    };
    Line("if (" + fits + "(" + continues(counter) + ")) for (;;) {");
    ++indent_;
    EmitBlock(s.body);
    Value sum = EmitX87Binary(BinaryOp::Add, counter, step);
    Line(v + " = " + (integerCounter ? AsInteger(sum) : sum.cpp) + ";");
    Line("if (!(" + next(sum.cpp) + "(" + continues(sum) + "))) break;");
    --indent_;
    Line("}");
  }
  int label = loops_.back().label;
  loops_.pop_back();
  if (label != 0) Line("Exit" + std::to_string(label) + ":;");
}

void Emitter::EmitWhile(const Stmt& s) {
  std::ostringstream before;
  std::ostringstream* outer = out_;
  out_ = &before;
  std::string condition = Condition(*s.condition);
  out_ = outer;
  loops_.push_back({LoopKind::While, 0});
  if (before.str().empty()) {
    Line("while (" + condition + ") {");
    ++indent_;
  } else {
    // The condition needs code of its own, run before every test.
    Line("for (;;) {");
    ++indent_;
    Line("if (!(" + Condition(*s.condition) + ")) break;");
  }
  EmitBlock(s.body);
  --indent_;
  Line("}");
  int label = loops_.back().label;
  loops_.pop_back();
  if (label != 0) Line("Exit" + std::to_string(label) + ":;");
}

void Emitter::EmitDo(const Stmt& s) {
  loops_.push_back({LoopKind::Do, 0});
  auto test = [&]() {
    std::string c = Condition(*s.condition);
    return s.test == Stmt::Test::While ? "!(" + c + ")" : "(" + c + ")";
  };
  Line("for (;;) {");
  ++indent_;
  if (s.test != Stmt::Test::None && !s.testAtEnd) Line("if (" + test() + ") break;");
  EmitBlock(s.body);
  if (s.test != Stmt::Test::None && s.testAtEnd) Line("if (" + test() + ") break;");
  --indent_;
  Line("}");
  int label = loops_.back().label;
  loops_.pop_back();
  if (label != 0) Line("Exit" + std::to_string(label) + ":;");
}

void Emitter::EmitSelect(const Stmt& s) {
  Value selector = Emit(*s.value, Future{kHazard, 0});
  bool text = s.value->type == ValueType::String;
  int reserved = 0;
  if (text && selector.storage != Storage::Literal && selector.storage != Storage::Temp) selector = Copy(selector);
  if (text && selector.storage == Storage::Temp) {
    // The copy lives through every CASE test and body.
    reserved = temps_;
    tempBase_ += reserved;
    temps_ = 0;
  } else if (!text && !selector.lvalue && !s.value->constant.known()) {
    // Evaluated once, whatever its CASEs do.
    selector = Evaluate(selector, {});
  }
  if (!text && checked_) selector = InMemory(selector);
  auto compare = [&](BinaryOp op, const Value& v) {
    if (text) return "(StrCompare(" + selector.cpp + ", " + AsString(v) + ") " + CppOperator(op) + " 0)";
    if (checked_) return EmitX87Binary(op, selector, InMemory(v)).cpp;
    bool integers = selector.type == ValueType::Integer && (v.type == ValueType::Integer || v.boolean);
    if (integers) return "(" + selector.cpp + " " + CppOperator(op) + " " + v.cpp + ")";
    return std::string(NumberComparison(op)) + "(" + AsNumber(selector) + ", " + AsNumber(v) + ")";
  };
  // A CASE tests its values from left to right, and the first that matches
  // ends the tests: the values after it are not evaluated. A range makes
  // both its ends, in order, before it tests them. Tests that need code of
  // their own run only while nothing has matched.
  auto caseTest = [&](const CaseClause& c) {
    std::string pending;  // tests since the last flush, evaluated where they stand
    std::string matched;  // a local that holds the result once code intervened
    for (const CaseItem& item : c.items) {
      std::ostringstream code;
      std::ostringstream* outer = out_;
      out_ = &code;
      std::string test;
      if (item.kind == CaseItem::Kind::Range) {
        std::vector<Value> ends = EmitOperands({item.first.get(), item.last.get()}, {}, nullptr, true);
        test = "(" + compare(BinaryOp::GreaterEqual, ends[0]) + " && " + compare(BinaryOp::LessEqual, ends[1]) + ")";
      } else {
        test = compare(item.kind == CaseItem::Kind::Is ? item.op : BinaryOp::Equal, Emit(*item.first, {}));
      }
      out_ = outer;
      if (code.str().empty()) {
        pending += (pending.empty() ? "" : " || ") + test;
        continue;
      }
      if (matched.empty() && pending.empty()) {
        *out_ << code.str();
        pending = test;
        continue;
      }
      if (matched.empty()) {
        matched = NewLocal();
        Line("bool " + matched + " = " + pending + ";");
      } else if (!pending.empty()) {
        Line(matched + " = " + matched + " || " + pending + ";");
      }
      pending.clear();
      Line("if (!" + matched + ") {");
      *out_ << code.str();
      Line("  " + matched + " = " + test + ";");
      Line("}");
    }
    if (matched.empty()) return pending.empty() ? std::string("false") : pending;
    return pending.empty() ? matched : matched + " || " + pending;
  };
  int open = 0;
  bool first = true;
  for (const CaseClause& c : s.cases) {
    if (c.isElse) {
      Line(first ? "{" : "} else {");
    } else {
      std::ostringstream before;
      std::ostringstream* outer = out_;
      out_ = &before;
      std::string condition = caseTest(c);
      out_ = outer;
      std::string code = before.str();
      if (!code.empty() && !first) {
        Line("} else {");
        ++indent_;
        ++open;
      }
      std::istringstream lines(code);
      for (std::string line; std::getline(lines, line);) *out_ << line << '\n';
      Line(std::string(first || !code.empty() ? "if (" : "} else if (") + condition + ") {");
    }
    first = false;
    ++indent_;
    EmitBlock(c.body);
    --indent_;
  }
  if (!first) Line("}");
  for (; open > 0; --open) CloseScope();
  tempBase_ -= reserved;
}

// ON n GOTO|GOSUB: the label at place n of the list (rounded as a store into
// an INTEGER, from 1); any other n goes on with the next statement.
void Emitter::EmitOnJump(const Stmt& s) {
  std::string back = s.gosub ? "Return" + std::to_string(++labels_) : "";
  Line("switch (" + AsInteger(Emit(*s.value, {})) + ") {");
  for (size_t i = 0; i < s.labels.size(); ++i) {
    std::string jump = "goto L_" + CppSpelling(LabelKey(s.labels[i])) + ";";
    Line("  case " + std::to_string(i + 1) + ": " + (s.gosub ? "GosubPush(&&" + back + "); " : "") + jump);
  }
  Line("}");
  if (s.gosub) Line(back + ":;");
}

// The place a target names: a variable or an element; its indexes are made
// now, in order.
std::string Emitter::TargetPlace(const Expr& t, Future future) {
  std::vector<const Expr*> indexes;
  CollectIndexes(t, indexes);
  size_t next = 0;
  return PlaceOf(t, EmitOperands(indexes, future), next);
}

// READ takes the next item for each target in turn: a number as VAL reads
// its text, a STRING the text itself.
void Emitter::EmitRead(const Stmt& s) {
  for (const auto& t : s.targets) {
    std::string place = TargetPlace(*t, {});
    switch (t->type) {
      case ValueType::String: Line("StrAssign(ReadDataText(), &" + place + ");"); break;
      case ValueType::Integer: Line(place + " = RoundToInteger(ReadDataNumber());"); break;
      default: Line(place + " = ReadDataNumber();"); break;
    }
  }
}

// SWAP exchanges the two values whole: for STRINGs, their descriptors.
void Emitter::EmitSwap(const Stmt& s) {
  std::string first = TargetPlace(*s.targets[0], Summarize(*s.targets[1]).does);
  std::string second = TargetPlace(*s.targets[1], {});
  Line("SwapValues(&" + first + ", &" + second + ");");
}

// REDIM: each array's bounds, lower then upper per dimension (a lower bound
// left out is 0), rounded as a store into an INTEGER rounds them.
void Emitter::EmitRedim(const Stmt& s) {
  for (const DimItem& item : s.dims) {
    const Symbol& a = *item.symbol;
    std::vector<const Expr*> operands;
    for (size_t k = 0; k < item.bounds.size(); ++k) {
      if (item.lowers[k]) operands.push_back(item.lowers[k].get());
      operands.push_back(item.bounds[k].get());
    }
    std::vector<Value> values = EmitOperands(operands, {});
    std::string bounds;
    size_t next = 0;
    for (size_t k = 0; k < item.bounds.size(); ++k) {
      bounds += k ? ", " : "";
      bounds += item.lowers[k] ? AsInteger(values[next++]) : std::string("0");
      bounds += ", " + AsInteger(values[next++]);
    }
    std::string local = NewLocal();
    Line("const int32_t " + local + "[] = {" + bounds + "};");
    Line("ArrayRedim(" + std::string(a.reference ? "" : "&") + a.cppName + ", sizeof(" + StorageType(a.type, a.record) +
         "), " + std::to_string(item.bounds.size()) + ", " + local + ", " + (s.preserve ? "true" : "false") + ", " +
         Release(a.type, a.record) + ");");
  }
}

void Emitter::EmitExit(const Stmt& s) {
  switch (s.exits) {
    case Stmt::Exits::For:
    case Stmt::Exits::Do:
    case Stmt::Exits::While: {
      LoopKind want = s.exits == Stmt::Exits::For ? LoopKind::For
                      : s.exits == Stmt::Exits::Do ? LoopKind::Do
                                                   : LoopKind::While;
      for (size_t i = loops_.size(); i-- > 0;) {
        if (loops_[i].kind != want) continue;
        if (i + 1 == loops_.size()) {
          Line("break;");
        } else {
          if (loops_[i].label == 0) loops_[i].label = ++labels_;
          Line("goto Exit" + std::to_string(loops_[i].label) + ";");
        }
        return;
      }
      break;
    }
    case Stmt::Exits::Sub:
      if (routine_->fpuHandler) Line("ResetFpu();");
      Line(routine_->handler ? "return 0;" : "return;");
      break;
    case Stmt::Exits::Function:
      functionEnd_ = true;
      Line("goto FunctionEnd;");
      break;
  }
}

void Emitter::EmitEnd(const Stmt& s) {
  (void)s;
  bool console = program_.kind == ProgramKind::Console;
  if (console) Line("ConsoleWaitKey();");
  Line(routine_ == nullptr ? "return 0;" : "ExitProcess(0);");
}

}  // namespace tbc
