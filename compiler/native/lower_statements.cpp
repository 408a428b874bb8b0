// Statements: each to the runtime calls and the jumps that the C++ made
// from it has, in the same order.
#include "lower_internal.h"

namespace tbc {
namespace native {

namespace {

// A variable that is not an array: the program's own, or through a BYREF
// parameter the caller's.
bool IsPlainVariable(const Expr& e) {
  return e.kind == Expr::Kind::Name && e.ref == Expr::Ref::Variable && e.symbol != nullptr && !e.symbol->isArray() &&
         e.args.empty();
}

}  // namespace

void Lowering::Block(const tbc::Block& block) {
  for (const auto& s : block) Statement(*s);
}

void Lowering::Statement(const Stmt& s) {
  // The temporaries and frame slots of a statement live until it ends.
  size_t temps = tempsUsed_;
  int32_t slots = frameUsed_;
  statement_ = s.position;
  // What a statement made early was taken by its uses within it.
  premade_.clear();
  prepared_.clear();
  futures_.clear();
  premadeTexts_.clear();
  begunConcats_.clear();
  lastAppended_.clear();
  switch (s.kind) {
    case Stmt::Kind::Const:
    case Stmt::Kind::Option:
    case Stmt::Kind::Data:
    case Stmt::Kind::Dim: DimObjects(s); break;  // objects are made here; variables are placed with the module
    case Stmt::Kind::Declare: break;
    case Stmt::Kind::Assign: Assign(s); break;
    case Stmt::Kind::Print: Print(s); break;
    case Stmt::Kind::If: If(s); break;
    case Stmt::Kind::For: For(s); break;
    case Stmt::Kind::While: While(s); break;
    case Stmt::Kind::Do: Do(s); break;
    case Stmt::Kind::Select: Select(s); break;
    case Stmt::Kind::Exit: Exit(s); break;
    case Stmt::Kind::End: End(); break;
    case Stmt::Kind::Read:
      // Each target in turn, its indexes made at its turn, takes the next
      // item: a number as VAL reads its text, a STRING the text itself.
      for (const auto& t : s.targets) {
        if (!IsElement(*t) && !IsPlainVariable(*t)) Refuse(t->position);
        std::vector<Mem> indexes = IsElement(*t) ? Indexes(*t) : std::vector<Mem>{};
        if (t->type == ValueType::String) {
          CallEntry(kReadDataText);
          StoreText(*t, indexes, Storage::Literal);
        } else {
          CallEntry(kReadDataNumber);
          StoreNumber(*t, indexes);
        }
      }
      break;
    case Stmt::Kind::Swap: {
      // The two values exchanged whole (a STRING's descriptor with its block),
      // the first target's indexes made first.
      Mem first = At(EBP, FrameSlot(4));
      std::vector<Mem> indexes[2];
      for (int k = 0; k < 2; ++k) {
        const Expr& t = *s.targets[static_cast<size_t>(k)];
        if (!IsElement(t) && !IsPlainVariable(t)) Refuse(t.position);
        if (IsElement(t)) indexes[k] = Indexes(t);
      }
      for (int k = 0; k < 2; ++k) {
        const Expr& t = *s.targets[static_cast<size_t>(k)];
        PlaceAddress(t, indexes[k]);
        if (k == 0) a_.Store(first, EAX);
      }
      a_.Load(EDX, first);
      for (int32_t at = 0; at < SizeOf(s.targets[0]->type, s.targets[0]->record); at += 4) {
        a_.Load(ECX, At(EAX, at));
        a_.Push(ECX);
        a_.Load(ECX, At(EDX, at));
        a_.Store(At(EAX, at), ECX);
        a_.Pop(ECX);
        a_.Store(At(EDX, at), ECX);
      }
      break;
    }
    case Stmt::Kind::Restore:
      a_.PushImm(s.dataIndex);
      CallEntry(kRestoreData);
      break;
    case Stmt::Kind::LineInput:
    case Stmt::Kind::Input: Input(s); break;
    case Stmt::Kind::Label: a_.Bind(LabelOf(s.word)); break;
    case Stmt::Kind::Goto: a_.Jmp(LabelOf(s.word)); break;
    case Stmt::Kind::Gosub: Gosub(LabelOf(s.word)); break;
    case Stmt::Kind::Return:
      // On to the return point the routine's latest GOSUB pushed.
      a_.Push(gosubBase_);
      CallEntry(kGosubPop);
      a_.JmpTo(EAX);
      break;
    case Stmt::Kind::OnJump: {
      // ON n GOTO|GOSUB: the label at place n of the list (rounded as a store
      // into an INTEGER, from 1); any other n goes on with the next statement.
      Assembler::Label next = a_.NewLabel();
      Integer(*s.value);
      for (size_t i = 0; i < s.labels.size(); ++i) {
        Assembler::Label skip = a_.NewLabel();
        a_.AluImm(kCmp, EAX, static_cast<int32_t>(i + 1));
        a_.Jcc(kNotEqual, skip);
        if (s.gosub) {
          Gosub(LabelOf(s.labels[i]));
          a_.Jmp(next);
        } else {
          a_.Jmp(LabelOf(s.labels[i]));
        }
        a_.Bind(skip);
      }
      a_.Bind(next);
      break;
    }
    case Stmt::Kind::Call: CallStatement(s); break;
    case Stmt::Kind::OpenConsole: OpenConsole(); break;
    case Stmt::Kind::Redim: Redim(s); break;
    case Stmt::Kind::OnFloatError: OnFloatError(s); break;
    default: Refuse(s.position);
  }
  tempsUsed_ = temps;
  frameUsed_ = slots;
}

void Lowering::Assign(const Stmt& s) {
  const Expr& t = *s.target;
  if (t.kind == Expr::Kind::Member) {
    MemberWrite(s);
    return;
  }
  if (t.type == ValueType::Record) {
    AssignRecord(s);
    return;
  }
  if (checked_ && t.kind == Expr::Kind::Name && IsElement(t) && t.type != ValueType::String) {
    bool arithmetic = IsX87(*s.value);
    for (const auto& index : t.args) arithmetic |= IsX87(*index);
    if (arithmetic) {
      CheckedElementAssign(s);
      return;
    }
  }
  if (checked_ && IsX87(*s.value) && IsPlainVariable(t) && !t.symbol->reference && t.type != ValueType::String) {
    CheckedAssign(s);
    return;
  }
  if (t.kind == Expr::Kind::Name && t.ref == Expr::Ref::Builtin && t.builtin != nullptr &&
      std::string(t.builtin->name) == "MID$") {
    // MID$(s, start[, n]) = text: s's indexes, start, n and text made in
    // that order; s is checked as the statement stores.
    const Expr& target = *t.args[0];
    if (!IsElement(target) && !IsPlainVariable(target)) Refuse(target.position);
    std::vector<Mem> indexes = IsElement(target) ? Indexes(target) : std::vector<Mem>{};
    Arguments({{nullptr, 'I', 0},
               {t.args[1].get(), 'P', 0},
               t.args.size() > 2 ? Argument{t.args[2].get(), 'P', 0} : Argument{nullptr, 'I', 0x7FFFFFFF},
               {s.value.get(), 'S', 0}});
    PlaceAddress(target, indexes);
    a_.Store(At(ESP), EAX);
    CallEntry(kStrOverwrite);
    return;
  }
  if (FastElement(t) && !Hazard(*s.value)) {
    // Indexes that are constants or variables, which the value (running no
    // program code) cannot change: the value first, then the element found.
    const Expr& v = *s.value;
    if (t.type == ValueType::Integer && v.constant.known() && v.constant.type == ValueType::Integer) {
      ElementNow(t);
      a_.StoreImm(At(EAX), v.constant.integer);
    } else if (t.type == ValueType::Integer) {
      Integer(v);
      a_.Push(EAX);
      ElementNow(t);
      a_.Pop(ECX);
      a_.Store(At(EAX), ECX);
    } else {
      Number(v);
      ElementNow(t);
      a_.FstpExtended(At(EAX));
    }
    return;
  }
  if (IsElement(t)) {
    // The indexes, then the value; the bounds are checked as it is stored.
    std::vector<Mem> indexes = Indexes(t);
    switch (t.type) {
      case ValueType::Integer:
        Integer(*s.value);
        a_.Mov(ECX, EAX);
        Element(t, indexes);
        a_.Store(At(EAX), ECX);
        return;
      case ValueType::Double:
        Number(*s.value);
        Element(t, indexes);
        a_.FstpExtended(At(EAX));
        return;
      case ValueType::String: {
        Storage storage = PushText(*s.value);
        Element(t, indexes);
        // (text, descriptor, length) for the call.
        a_.Load(ECX, At(ESP));
        a_.Store(At(ESP), EAX);
        a_.Push(ECX);
        CallEntry(storage == Storage::Ring || storage == Storage::Accumulator ? kStrAssignTemp : kStrAssign);
        return;
      }
      default: Refuse(t.position);
    }
  }
  if (!IsPlainVariable(t)) Refuse(t.position);
  // The place after the value: a BYREF parameter's is found through ECX.
  switch (t.type) {
    case ValueType::Integer:
      Integer(*s.value);
      a_.Store(Variable(t), EAX);
      break;
    case ValueType::Double:
      Number(*s.value);
      a_.FstpExtended(Variable(t));
      break;
    case ValueType::String: {
      if (AppendInPlace(t, *s.value)) break;
      // A text of the ring or the accumulator may hand its block over.
      Storage storage = PushText(*s.value, [&] { PushPlace(Variable(t)); });
      CallEntry(storage == Storage::Ring || storage == Storage::Accumulator ? kStrAssignTemp : kStrAssign);
      break;
    }
    default: Refuse(t.position);
  }
}

// In a program that moves the print position (',', TAB, SPC), every PRINT
// writes through PrintWrite, which counts the columns.
void Lowering::Print(const Stmt& s) {
  bool counted = program_.printPositions;
  for (const PrintItem& item : s.items) {
    if (!item.value) {
      CallEntry(kPrintZone);
      continue;
    }
    const Expr& e = *item.value;
    if (e.ref == Expr::Ref::Builtin && e.builtin != nullptr && e.builtin->special == Special::PrintPosition) {
      Builtin(e);  // TAB, SPC
      continue;
    }
    if (checked_ && IsX87(e)) {
      CheckedPrintItem(e);
      a_.Push(EDX);
      a_.Push(EAX);
    } else {
      PushText(e);
    }
    CallEntry(counted ? kPrintWrite : kConsoleWrite);
  }
  if (!s.keepLine) CallEntry(counted ? kPrintNewLine : kConsoleNewLine);
}

void Lowering::JumpUnless(const Expr& condition, Assembler::Label no) { JumpWhen(condition, false, no); }

void Lowering::JumpWhen(const Expr& condition, bool truth, Assembler::Label to) {
  // In a program with a floating-point handler, the condition's checked code.
  if (checked_) {
    Condition(condition);
    a_.Test(EAX, EAX);
    a_.Jcc(truth ? kNotEqual : kEqual, to);
    return;
  }
  // A comparison of INTEGERs jumps on its own flags.
  integers_.SignIgnored(condition);
  if (Planned()) integers_.Wide(condition);  // notes that the operands' zeros have no sign either
  Cond holds;
  if (condition.kind == Expr::Kind::Binary && IsComparison(condition.binary) && CompareInIntegers(condition, holds)) {
    a_.Jcc(truth ? holds : static_cast<Cond>(holds ^ 1), to);
    return;
  }
  if (condition.kind == Expr::Kind::Binary && condition.args[0]->type == ValueType::String &&
      CompareWithByte(condition)) {
    bool equal = condition.binary == BinaryOp::Equal;
    a_.Jcc(equal == truth ? kEqual : kNotEqual, to);
    return;
  }
  Integer(condition);
  a_.Test(EAX, EAX);
  a_.Jcc(truth ? kNotEqual : kEqual, to);
}

void Lowering::If(const Stmt& s) {
  Assembler::Label end = a_.NewLabel();
  for (const IfBranch& b : s.branches) {
    if (b.condition == nullptr) {
      Block(b.body);
      continue;
    }
    Assembler::Label next = a_.NewLabel();
    JumpUnless(*b.condition, next);
    Block(b.body);
    a_.Jmp(end);
    a_.Bind(next);
  }
  a_.Bind(end);
}

void Lowering::ForContinues(const Mem& end, const Mem& step, Assembler::Label yes) {
  Assembler::Label down = a_.NewLabel(), noOrder = a_.NewLabel(), no = a_.NewLabel();
  // The step's sign: 0 against the step, which then goes.
  a_.FldExtended(step);
  a_.Fldz();
  a_.Fucomip(1);
  a_.FstpSt(0);
  a_.Jcc(kParity, noOrder);
  a_.Jcc(kAbove, down);
  // Up: value <= end, that is end on top "above or equal" (no order clears nothing: CF set).
  a_.FldExtended(end);
  a_.Fucomip(1);
  a_.FstpSt(0);
  a_.Jcc(kAboveEqual, yes);
  a_.Jmp(no);
  // Down: value >= end, the value on top.
  a_.Bind(down);
  a_.FldExtended(end);
  a_.Fxch(1);
  a_.Fucomip(1);
  a_.FstpSt(0);
  a_.Jcc(kAboveEqual, yes);
  a_.Jmp(no);
  a_.Bind(noOrder);
  a_.FstpSt(0);
  a_.Bind(no);
}

// FOR: the start stored into the counter, then the end and the step made
// once, in that order. An INTEGER counter runs no pass when the start is
// beyond its range, and ends the loop when a sum is. Every test and sum is
// made in extended precision, which for whole numbers is exact and so gives
// what the integer path gives.
void Lowering::For(const Stmt& s) {
  const Expr& t = *s.target;
  if (!IsPlainVariable(t) || t.symbol->reference) Refuse(t.position);
  if (checked_) {
    CheckedFor(s);
    return;
  }
  bool integerCounter = t.type == ValueType::Integer;
  if (integerCounter && Planned()) {
    // Stored into the counter, compared with it, or added to it: the sign of
    // a zero goes unseen.
    integers_.SignIgnored(*s.start);
    integers_.SignIgnored(*s.end);
    if (s.step) integers_.SignIgnored(*s.step);
  }
  if (IntegerFor(s)) return;
  Mem counter = Variable(t);
  bool checkStart = integerCounter && s.start->type == ValueType::Double;
  Mem sum = At(EBP, FrameSlot(12)), end = At(EBP, FrameSlot(12)), step = At(EBP, FrameSlot(12));
  Assembler::Label top = a_.NewLabel(), exit = a_.NewLabel(), next = a_.NewLabel();
  // An INTEGER holds the value in the sum slot.
  auto fits = [&]() { JumpUnlessFits(sum, exit); };
  auto loadCounter = [&]() {
    if (integerCounter) a_.FildInt32(counter);
    else a_.FldExtended(counter);
  };
  if (checkStart) {
    Number(*s.start);
    a_.FstpExtended(sum);
    a_.FldExtended(sum);
    RoundToInteger();
    a_.Store(counter, EAX);
  } else if (integerCounter) {
    Integer(*s.start);
    a_.Store(counter, EAX);
  } else {
    Number(*s.start);
    a_.FstpExtended(counter);
  }
  Number(*s.end);
  a_.FstpExtended(end);
  if (s.step) Number(*s.step);
  else a_.Fld1();
  a_.FstpExtended(step);
  if (checkStart) fits();
  loadCounter();
  ForContinues(end, step, top);
  a_.Jmp(exit);
  a_.Bind(top);
  loops_.push_back({Stmt::Exits::For, exit});
  Block(s.body);
  loops_.pop_back();
  a_.Bind(next);
  loadCounter();
  a_.FldExtended(step);
  a_.FArithPop(kFAdd, 1);
  a_.FstpExtended(sum);
  a_.FldExtended(sum);
  if (integerCounter) {
    RoundToInteger();
    a_.Store(counter, EAX);
    fits();
  } else {
    a_.FstpExtended(counter);
  }
  a_.FldExtended(sum);
  ForContinues(end, step, top);
  a_.Bind(exit);
}

void Lowering::While(const Stmt& s) {
  Assembler::Label top = a_.NewLabel(), exit = a_.NewLabel();
  a_.Bind(top);
  JumpUnless(*s.condition, exit);
  loops_.push_back({Stmt::Exits::While, exit});
  Block(s.body);
  loops_.pop_back();
  a_.Jmp(top);
  a_.Bind(exit);
}

void Lowering::Do(const Stmt& s) {
  Assembler::Label top = a_.NewLabel(), exit = a_.NewLabel();
  // WHILE goes on while the condition holds, UNTIL until it does.
  auto test = [&](Assembler::Label leave) { JumpWhen(*s.condition, s.test != Stmt::Test::While, leave); };
  a_.Bind(top);
  if (s.test != Stmt::Test::None && !s.testAtEnd) test(exit);
  loops_.push_back({Stmt::Exits::Do, exit});
  Block(s.body);
  loops_.pop_back();
  if (s.test != Stmt::Test::None && s.testAtEnd) test(exit);
  a_.Jmp(top);
  a_.Bind(exit);
}

// SELECT CASE: the selector made once (a text copied, unless a literal); each
// CASE tests its values from left to right and the first that matches runs
// its statements; a range makes both its ends before it tests them.
void Lowering::Select(const Stmt& s) {
  const Expr& selector = *s.value;
  bool text = selector.type == ValueType::String;
  if (checked_ && !text) {
    CheckedSelect(s);
    return;
  }
  bool integer = selector.type == ValueType::Integer;
  Mem slot = At(EBP, FrameSlot(12));
  if (text) {
    if (String(selector) != Storage::Literal) CopyToTemp();
    a_.Store(slot, EAX);
    a_.Store(At(EBP, slot.disp + 4), EDX);
  } else if (integer) {
    Integer(selector);
    a_.Store(slot, EAX);
  } else {
    Number(selector);
    a_.FstpExtended(slot);
  }
  // EAX: 1 when "selector op value" holds; the value made here, or (stored
  // not null) made before into that slot, as its kind of value.
  auto compareWith = [&](BinaryOp op, const Expr& value, const Mem* stored) {
    if (text) {
      a_.AluImm(kSub, ESP, 16);
      a_.Load(ECX, slot);
      a_.Store(At(ESP), ECX);
      a_.Load(ECX, At(EBP, slot.disp + 4));
      a_.Store(At(ESP, 4), ECX);
      if (stored != nullptr) {
        a_.Load(EAX, *stored);
        a_.Load(EDX, At(EBP, stored->disp + 4));
      } else {
        String(value);
      }
      a_.Store(At(ESP, 8), EAX);
      a_.Store(At(ESP, 12), EDX);
      CallEntry(kStrCompare);
      a_.Test(EAX, EAX);
    } else if (integer && value.type == ValueType::Integer) {
      if (stored != nullptr) a_.Load(EAX, *stored);
      else Integer(value);
      a_.Mov(ECX, EAX);
      a_.Load(EAX, slot);
      a_.Alu(kCmp, EAX, ECX);
    } else {
      if (stored != nullptr) a_.FldExtended(*stored);
      else Number(value);
      if (integer) a_.FildInt32(slot);
      else a_.FldExtended(slot);
      // The selector on top, the value below, as Compare has them.
      bool rightOnTop = op == BinaryOp::Less || op == BinaryOp::GreaterEqual;
      if (rightOnTop) a_.Fxch(1);
      a_.Fucomip(1);
      a_.FstpSt(0);
      Cond c = op == BinaryOp::Equal ? kEqual : op == BinaryOp::NotEqual ? kNotEqual
               : (op == BinaryOp::Greater || op == BinaryOp::Less) ? kAbove : kBelowEqual;
      a_.Setcc(c, EAX);
      a_.MovzxByte(EAX, EAX);
      a_.Test(EAX, EAX);
      return;
    }
    Cond c = op == BinaryOp::Equal ? kEqual : op == BinaryOp::NotEqual ? kNotEqual : op == BinaryOp::Less ? kLess
             : op == BinaryOp::Greater ? kGreater : op == BinaryOp::LessEqual ? kLessEqual : kGreaterEqual;
    a_.Setcc(c, EAX);
    a_.MovzxByte(EAX, EAX);
    a_.Test(EAX, EAX);
  };
  auto compare = [&](BinaryOp op, const Expr& value) { compareWith(op, value, nullptr); };
  auto compareStored = [&](BinaryOp op, const Mem& stored, const Expr& value) { compareWith(op, value, &stored); };
  CaseClauses(s, [&](const CaseItem& item, Assembler::Label match) {
    if (item.kind == CaseItem::Kind::Range) {
      // Both ends made first, in order; then selector >= first and <= last.
      Mem ends[2] = {At(EBP, FrameSlot(12)), At(EBP, FrameSlot(12))};
      const Expr* range[2] = {item.first.get(), item.last.get()};
      for (int k = 0; k < 2; ++k) {
        const Expr& end = *range[k];
        if (text) {
          Storage storage = String(end);
          if (k == 0 && storage != Storage::Literal && storage != Storage::Temp && Disturbs(*range[1])) CopyToTemp();
          a_.Store(ends[k], EAX);
          a_.Store(At(EBP, ends[k].disp + 4), EDX);
        } else if (integer && end.type == ValueType::Integer) {
          Integer(end);
          a_.Store(ends[k], EAX);
        } else {
          Number(end);
          a_.FstpExtended(ends[k]);
        }
      }
      Assembler::Label outside = a_.NewLabel();
      compareStored(BinaryOp::GreaterEqual, ends[0], *range[0]);
      a_.Jcc(kEqual, outside);
      compareStored(BinaryOp::LessEqual, ends[1], *range[1]);
      a_.Jcc(kNotEqual, match);
      a_.Bind(outside);
    } else {
      compare(item.kind == CaseItem::Kind::Is ? item.op : BinaryOp::Equal, *item.first);
      a_.Jcc(kNotEqual, match);
    }
  });
}

// The clauses of a SELECT CASE: each item tested in turn (test jumps to
// match when it holds), the first clause that matches run, else CASE ELSE.
void Lowering::CaseClauses(const Stmt& s, const std::function<void(const CaseItem&, Assembler::Label)>& test) {
  Assembler::Label end = a_.NewLabel();
  for (const CaseClause& c : s.cases) {
    if (c.isElse) {
      Block(c.body);
      continue;
    }
    Assembler::Label match = a_.NewLabel(), next = a_.NewLabel();
    for (const CaseItem& item : c.items) test(item, match);
    a_.Jmp(next);
    a_.Bind(match);
    Block(c.body);
    a_.Jmp(end);
    a_.Bind(next);
  }
  a_.Bind(end);
}

Assembler::Label Lowering::LabelOf(const std::string& label) {
  std::string key = LabelKey(label);
  auto found = labels_.find(key);
  if (found == labels_.end()) found = labels_.emplace(key, a_.NewLabel()).first;
  return found->second;
}

// GOSUB: the point after it pushed, then on to the label.
void Lowering::Gosub(Assembler::Label target) {
  Assembler::Label back = a_.NewLabel();
  a_.PushLabel(back);
  CallEntry(kGosubPush);
  a_.Jmp(target);
  a_.Bind(back);
}

void Lowering::StoreNumber(const Expr& t, const std::vector<Mem>& indexes) {
  bool element = IsElement(t);
  if (t.type == ValueType::Integer) {
    RoundToInteger();
    if (element) {
      a_.Mov(ECX, EAX);
      Element(t, indexes);
      a_.Store(At(EAX), ECX);
    } else {
      a_.Store(Variable(t), EAX);
    }
  } else if (element) {
    Element(t, indexes);
    a_.FstpExtended(At(EAX));
  } else {
    a_.FstpExtended(Variable(t));
  }
}

void Lowering::StoreText(const Expr& t, const std::vector<Mem>& indexes, Storage storage) {
  // (text, descriptor, length) for the call.
  a_.Push(EDX);
  if (IsElement(t)) {
    a_.Push(EAX);
    Element(t, indexes);
    a_.Load(ECX, At(ESP));
    a_.Store(At(ESP), EAX);
    a_.Push(ECX);
  } else {
    Mem place = Variable(t);
    PushPlace(place);
    a_.Push(EAX);
  }
  CallEntry(storage == Storage::Ring || storage == Storage::Accumulator ? kStrAssignTemp : kStrAssign);
}

// INPUT of several variables: the line read once, then each variable in
// turn, its indexes made at its turn, takes the next field: a number as VAL
// reads it, a STRING its text. One variable (and LINE INPUT) takes the whole
// line, a number as VAL reads it.
void Lowering::Input(const Stmt& s) {
  const RuntimeEntry& write = program_.printPositions ? kPrintWrite : kConsoleWrite;
  auto target = [&](const Expr& t) {
    if (!IsElement(t) && !IsPlainVariable(t)) Refuse(t.position);
    return IsElement(t) ? Indexes(t) : std::vector<Mem>{};
  };
  if (s.value) {
    String(*s.value);
    a_.Push(EDX);
    a_.Push(EAX);
    CallEntry(write);
  }
  if (!s.targets.empty()) {
    Mem line = At(EBP, FrameSlot(8)), at = At(EBP, FrameSlot(4));
    Mem temp = Temp();
    PushPlace(temp);
    CallEntry(kInputLine);
    a_.Store(line, EAX);
    a_.Store(At(EBP, line.disp + 4), EDX);
    a_.StoreImm(at, 0);
    for (const auto& t : s.targets) {
      std::vector<Mem> indexes = target(*t);
      a_.Lea(ECX, at);
      a_.Push(ECX);
      a_.Push(At(EBP, line.disp + 4));
      a_.Push(line);
      CallEntry(kInputField);
      if (t->type == ValueType::String) {
        StoreText(*t, indexes, Storage::Temp);
      } else {
        a_.Push(EDX);
        a_.Push(EAX);
        CallEntry(kTextToNumber);
        StoreNumber(*t, indexes);
      }
    }
    return;
  }
  const Expr& t = *s.target;
  std::vector<Mem> indexes = target(t);
  if (t.type == ValueType::String) {
    if (IsElement(t)) {
      Element(t, indexes);
      a_.Push(EAX);
    } else {
      Mem place = Variable(t);
      PushPlace(place);
    }
    CallEntry(kConsoleReadLine);
  } else {
    CallEntry(kConsoleReadNumber);
    StoreNumber(t, indexes);
  }
}

// END: in the main code its end, the closing key wait and 0; in a routine
// the same wait, then the process ends with 0. A window program or a
// library has no key wait.
void Lowering::End() {
  if (program_.kind != ProgramKind::Console) {
    // A window program ends at once, with 0, its forms and loop left.
    if (routine_ == nullptr) {
      DropGosubs();
      a_.Alu(kXor, EAX, EAX);
      a_.Leave();
      a_.Ret();
      return;
    }
    a_.PushImm(0);
    a_.CallIndirect(Global(kExitProcess));
    return;
  }
  if (routine_ == nullptr) {
    a_.Jmp(end_);
    return;
  }
  CallEntry(kConsoleWaitKey);
  a_.PushImm(0);
  a_.CallIndirect(Global(kExitProcess));
}

// A SUB, or a FUNCTION whose result goes unused.
void Lowering::CallStatement(const Stmt& s) {
  const Expr& c = *s.callee;
  if (c.kind == Expr::Kind::Name && c.ref == Expr::Ref::Builtin && c.builtin != nullptr &&
      (std::string(c.builtin->name) == "SLEEP" || std::string(c.builtin->name) == "BEEP")) {
    if (c.args.empty()) {
      a_.PushImm(-1);  // MessageBeep(0xFFFFFFFF): the simple beep
      a_.CallIndirect(Global(kMessageBeep));
    } else {
      // No less than 0 milliseconds.
      Assembler::Label positive = a_.NewLabel();
      Integer(*c.args[0]);
      a_.Test(EAX, EAX);
      a_.Jcc(kGreater, positive);
      a_.Alu(kXor, EAX, EAX);
      a_.Bind(positive);
      a_.Push(EAX);
      a_.CallIndirect(Global(kSleep));
    }
    return;
  }
  if (IsObjectMember(c)) {
    ObjectMember(c);
    return;
  }
  if (c.kind == Expr::Kind::Member) {
    MemberCall(c);
    return;
  }
  if (c.kind == Expr::Kind::Name && c.ref == Expr::Ref::Builtin && c.builtin != nullptr &&
      (c.builtin->result == ValueType::None || c.builtin->special == Special::MsgBox)) {
    Builtin(c);
    // The closing key wait's line end: output to a file counts from column 0.
    if (c.builtin->special == Special::EndsLine && program_.printPositions)
      a_.StoreImm(Global(kPrintColumn), 0);
    return;
  }
  if (c.kind != Expr::Kind::Name || c.ref != Expr::Ref::Routine) Refuse(c.position);
  CallRoutine(c);
  if (c.routine->isFunction && c.routine->result == ValueType::Double) a_.FstpSt(0);
}

// EXIT FOR, DO, WHILE: past the innermost loop of its kind; EXIT SUB and
// EXIT FUNCTION: to the routine's end, where a FUNCTION gives its result.
void Lowering::Exit(const Stmt& s) {
  if (s.exits == Stmt::Exits::Sub || s.exits == Stmt::Exits::Function) {
    if (routine_ == nullptr) Refuse(s.position);
    a_.Jmp(routineEnd_);
    return;
  }
  for (size_t i = loops_.size(); i-- > 0;) {
    if (loops_[i].kind != s.exits) continue;
    a_.Jmp(loops_[i].exit);
    return;
  }
  Refuse(s.position);
}

}  // namespace native
}  // namespace tbc
