// The built-in functions: most are one runtime routine, its arguments made
// in source order into the room of the call (a table below); the few that
// the C++ path computes in line (LEN, ASC, ABS, SQR, ATN, LOG, SGN, FIX,
// CINT, and the bounds of LEFT$, RIGHT$ and MID$) are lowered here the same way.
#include <climits>
#include <cstring>

#include "lower_internal.h"

namespace tbc {
namespace native {

namespace {

// A built-in that is one call: its arguments' kinds (S a text, I an INTEGER,
// N a number, P a position or count, C a byte: a text's first or a number's
// low 8 bits; lower case: optional, `absent` when left out), then a constant
// argument when `trailing` is set.
struct CallRow {
  const char* name;
  const char* args;
  const RuntimeEntry* entry;
  bool trailing;
  int32_t constant;
  int32_t absent;
};

const CallRow kCalls[] = {
    {"VAL", "S", &kTextToNumber, false, 0, 0},
    {"CHR$", "I", &kStrCharacter, false, 0, 0},
    {"UCASE$", "S", &kStrUpper, false, 0, 0},
    {"LCASE$", "S", &kStrLower, false, 0, 0},
    {"LTRIM$", "S", &kStrTrim, true, 1, 0},  // kTrimStart
    {"RTRIM$", "S", &kStrTrim, true, 2, 0},  // kTrimEnd
    {"TRIM$", "S", &kStrTrim, true, 3, 0},
    {"SPACE$", "P", &kStrRepeat, true, 32, 0},
    {"STRING$", "PC", &kStrRepeat, false, 0, 0},
    {"INSTRREV", "SSp", &kStrInstrRev, false, 0, 0x7FFFFFFF},
    {"REPLACE$", "SSS", &kStrReplace, false, 0, 0},
    {"INT", "N", &kNumberFloor, false, 0, 0},
    {"RND", "", &kRandomNumber, false, 0, 0},
    {"TIMER", "", &kClockSeconds, false, 0, 0},
    {"HEX$", "U", &kNumberPattern, true, 4, 0},
    {"OCT$", "U", &kNumberPattern, true, 3, 0},
    {"BIN$", "U", &kNumberPattern, true, 1, 0},
    {"CSRLIN", "", &kConsoleCursorRow, false, 0, 0},
    {"POS", "", &kConsoleCursorColumn, false, 0, 0},
    {"INKEY$", "", &kConsoleInkey, false, 0, 0},
    {"DATE$", "", &kClockText, true, 0, 0},  // kClockDate
    {"TIME$", "", &kClockText, true, 1, 0},  // kClockTime
    {"COMMAND$", "", &kCommandArguments, false, 0, 0},
    {"ENVIRON$", "T", &kEnvironmentText, false, 0, 0},
    {"SAVEFILE", "TS", &kFileSaveString, false, 0, 0},
    // Statements.
    {"CLS", "", &kConsoleClear, false, 0, 0},
    {"COLOR", "Ii", &kConsoleSetColor, false, 0, 0},
    {"LOCATE", "II", &kConsoleLocate, false, 0, 0},
    {"RANDOMIZE", "N", &kRandomSeed, false, 0, 0},
    {"WAITKEY", "", &kConsoleWaitKey, false, 0, 0},
    {"TAB", "I", &kPrintTab, false, 0, 0},
    {"SPC", "I", &kPrintSpaces, false, 0, 0},
};

// A built-in computed by a routine on the x87 stack.
struct StackRow {
  const char* name;
  const RuntimeEntry* entry;
};

const StackRow kOnStack[] = {
    {"SIN", &kNumberSinX87}, {"COS", &kNumberCosX87}, {"TAN", &kNumberTanX87},
    {"EXP", &kNumberExpX87}, {"MIN", &kNumberMinX87}, {"MAX", &kNumberMaxX87},
};

}  // namespace

// A number given as a position, a count or a length: rounded as a store
// into an INTEGER, but one beyond the range counts as its nearest end.
void Lowering::PositionOf(const Expr& e) {
  // Checked code compares as the C++ compiler's code does: not yet (nor
  // for checked code's value in extended precision, which the C++ path
  // takes as a number).
  if (checked_ && (e.type != ValueType::Integer || (IsX87(e) && !X87Scratch(e)))) Refuse(e.position);
  if (e.type == ValueType::Integer) {
    Integer(e);
    return;
  }
  Number(e);
  PositionOfTop();
}

// The number on the register stack as a position, into EAX. (Whichever
// compares the C++ compiler makes, a value raises the same flags: one not a
// number the invalid flag, at the latest as it is stored.)
void Lowering::PositionOfTop() {
  Assembler::Label round = a_.NewLabel(), top = a_.NewLabel(), bottom = a_.NewLabel(), done = a_.NewLabel();
  a_.FldExtended(NumberConstant(2147483647.0L));
  a_.Fucomip(1);
  a_.Jcc(kParity, round);      // not a number: as a store gives it
  a_.Jcc(kBelowEqual, top);    // 2147483647 <= x
  a_.FldExtended(NumberConstant(-2147483648.0L));
  a_.Fucomip(1);
  a_.Jcc(kAboveEqual, bottom);  // -2147483648 >= x
  a_.Bind(round);
  RoundToInteger();
  a_.Jmp(done);
  a_.Bind(top);
  a_.FstpSt(0);
  a_.MovImm(EAX, INT32_MAX);
  a_.Jmp(done);
  a_.Bind(bottom);
  a_.FstpSt(0);
  a_.MovImm(EAX, INT32_MIN);
  a_.Bind(done);
}

// The number on the register stack as USTR$ takes it, into EAX: rounded,
// one from 2^31 to 2^32 - 1 taken as itself, one from -2^31 to -1 as its
// pattern; beyond those, and not a number, -2147483648 as a store gives.
void Lowering::UnsignedOfTop() {
  Assembler::Label fits = a_.NewLabel(), beyond = a_.NewLabel();
  a_.AluImm(kSub, ESP, 8);
  a_.FistpInt64(At(ESP));
  a_.Pop(EAX);
  a_.Pop(EDX);
  a_.Test(EDX, EDX);
  a_.Jcc(kEqual, fits);
  a_.AluImm(kCmp, EDX, -1);
  a_.Jcc(kNotEqual, beyond);
  a_.Test(EAX, EAX);
  a_.Jcc(kSign, fits);
  a_.Bind(beyond);
  a_.MovImm(EAX, INT32_MIN);
  a_.Bind(fits);
}

// A constant argument: pushed as it stands, in any order, since making it
// changes nothing.
bool Lowering::Pushable(const Argument& a) {
  if (a.value == nullptr) return true;
  const Constant& c = a.value->constant;
  if (!c.known()) return false;
  if (a.kind == 'I' || a.kind == 'P') return c.type == ValueType::Integer;
  return (a.kind == 'S' || a.kind == 'T') && c.type == ValueType::String;
}

void Lowering::PushArgument(const Argument& a) {
  if (a.value == nullptr) {
    if (a.kind == 'A') a_.PushAddress(a.symbol, a.constant);
    else a_.PushImm(a.constant);
    return;
  }
  const Constant& c = a.value->constant;
  if (c.type == ValueType::Integer) {
    a_.PushImm(c.integer);
    return;
  }
  if (a.kind == 'S') a_.PushImm(static_cast<int32_t>(c.text.size()));
  a_.PushAddress(".rdata", static_cast<int32_t>(Literal(c.text)));
}

void Lowering::Arguments(const std::vector<Argument>& args) {
  // The constants at the end go first, pushed from the last; the room for
  // the others is made below them.
  size_t made = args.size();
  while (made > 0 && Pushable(args[made - 1])) --made;
  for (size_t i = args.size(); i > made; --i) PushArgument(args[i - 1]);
  int32_t bytes = 0;
  for (size_t i = 0; i < made; ++i) bytes += args[i].kind == 'S' ? 8 : args[i].kind == 'N' ? 12 : 4;
  if (bytes > 0) a_.AluImm(kSub, ESP, bytes);
  int32_t at = 0;
  std::vector<Rounded> rounded;
  for (size_t i = 0; i < made; ++i) {
    const Argument& a = args[i];
    if (a.value == nullptr) {
      if (a.kind == 'A') a_.StoreAddress(At(ESP, at), a.symbol, a.constant);
      else a_.StoreImm(At(ESP, at), a.constant);
      at += 4;
      continue;
    }
    const Expr& e = *a.value;
    switch (a.kind) {
      case 'S': {
        // A text that what follows could change is kept in a temporary.
        Storage storage = String(e);
        bool later = false;
        for (size_t j = i + 1; j < args.size(); ++j) later |= args[j].value != nullptr && Disturbs(*args[j].value);
        if (storage != Storage::Literal && storage != Storage::Temp && later) CopyToTemp();
        a_.Store(At(ESP, at), EAX);
        a_.Store(At(ESP, at + 4), EDX);
        at += 8;
        break;
      }
      case 'N':
        Number(e);
        a_.FstpExtended(At(ESP, at));
        at += 12;
        break;
      case 'P':
        if (checked_ && (e.type == ValueType::Double || (IsX87(e) && !X87Scratch(e)))) {
          rounded.push_back({LaterOperand(e, DisturbedAfter(args, i)), at, 'P'});
          at += 4;
          break;
        }
        PositionOf(e);
        a_.Store(At(ESP, at), EAX);
        at += 4;
        break;
      case 'T': {
        // A text to its NUL; an element with no block reads as "". A
        // record's buffer need not end in a NUL: its text is copied at once.
        Assembler::Label has = a_.NewLabel();
        Storage storage = String(e);
        bool later = false;
        for (size_t j = i + 1; j < args.size(); ++j) later |= args[j].value != nullptr && Disturbs(*args[j].value);
        if (storage == Storage::Record || (storage != Storage::Literal && storage != Storage::Temp && later)) CopyToTemp();
        if (storage != Storage::Literal) {
          a_.Test(EAX, EAX);
          a_.Jcc(kNotEqual, has);
          a_.MovAddress(EAX, kEmptyText);
          a_.Bind(has);
        }
        a_.Store(At(ESP, at), EAX);
        at += 4;
        break;
      }
      case 'U':
        // USTR$'s number as 32 bits (UnsignedOfTop); checked code's rounded
        // as the call is made.
        if (checked_ && (e.type == ValueType::Double || (IsX87(e) && !X87Scratch(e)))) {
          rounded.push_back({LaterOperand(e, DisturbedAfter(args, i)), at, 'U'});
          at += 4;
          break;
        }
        if (e.type == ValueType::Integer) {
          Integer(e);
        } else {
          Number(e);
          UnsignedOfTop();
        }
        a_.Store(At(ESP, at), EAX);
        at += 4;
        break;
      case 'C':
        if (RoundedLater(e)) {
          rounded.push_back({LaterOperand(e, DisturbedAfter(args, i)), at, 'C'});
          at += 4;
          break;
        }
        if (e.type == ValueType::String) {
          // The first byte, or -1 for the empty text.
          Assembler::Label none = a_.NewLabel(), done = a_.NewLabel();
          String(e);
          a_.Test(EDX, EDX);
          a_.Jcc(kLessEqual, none);
          a_.LoadByte(EAX, At(EAX));
          a_.Jmp(done);
          a_.Bind(none);
          a_.MovImm(EAX, -1);
          a_.Bind(done);
        } else {
          Integer(e);
          a_.AluImm(kAnd, EAX, 255);
        }
        a_.Store(At(ESP, at), EAX);
        at += 4;
        break;
      default:
        if (RoundedLater(e)) {
          rounded.push_back({LaterOperand(e, DisturbedAfter(args, i)), at, 'I'});
          at += 4;
          break;
        }
        Integer(e);
        a_.Store(At(ESP, at), EAX);
        at += 4;
        break;
    }
  }
  StoreRounded(rounded);
}

bool Lowering::DisturbedAfter(const std::vector<Argument>& args, size_t i) const {
  for (size_t j = i + 1; j < args.size(); ++j)
    if (args[j].value != nullptr && Disturbs(*args[j].value)) return true;
  return false;
}

const Expr& Lowering::Unwrapped(const Expr& e) {
  // INT, FIX and CINT of an INTEGER are the INTEGER itself.
  if (e.kind == Expr::Kind::Name && e.ref == Expr::Ref::Builtin && e.builtin != nullptr &&
      e.builtin->special == Special::Int && e.args.size() == 1 && e.args[0]->type == ValueType::Integer)
    return Unwrapped(*e.args[0]);
  return e;
}

void Lowering::Builtin(const Expr& e) {
  const std::string name = e.builtin->name;
  for (const CallRow& row : kCalls) {
    if (name != row.name) continue;
    std::vector<Argument> args;
    size_t kinds = std::strlen(row.args);
    if (e.args.size() > kinds) Refuse(e.position);
    for (size_t i = 0; i < kinds; ++i) {
      char kind = static_cast<char>(row.args[i] & ~0x20);  // upper case
      if (i < e.args.size()) args.push_back({e.args[i].get(), kind, 0});
      else args.push_back({nullptr, 'I', row.absent});
    }
    if (row.trailing) args.push_back({nullptr, 'I', row.constant});
    Arguments(args);
    CallEntry(*row.entry);
    return;
  }
  for (const StackRow& row : kOnStack) {
    if (name != row.name) continue;
    Number(*e.args[0]);
    if (e.args.size() == 2) {
      // The first operand in ST(1), the second in ST(0).
      a_.AluImm(kSub, ESP, 12);
      a_.FstpExtended(At(ESP));
      Number(*e.args[1]);
      a_.FldExtended(At(ESP));
      a_.AluImm(kAdd, ESP, 12);
      a_.Fxch(1);
    }
    CallEntry(*row.entry);
    return;
  }
  if (name == "USTR$") {
    Arguments({{nullptr, 'I', 0}, {e.args[0].get(), 'U', 0}});  // kUnsignedNumber
    CallEntry(kIntegerText);
    return;
  }
  if (name == "INSTR") {
    // INSTR(text, find) starts at 1.
    std::vector<Argument> args;
    if (e.args.size() == 2) args.push_back({nullptr, 'I', 1});
    else args.push_back({e.args[0].get(), 'P', 0});
    args.push_back({e.args[e.args.size() - 2].get(), 'S', 0});
    args.push_back({e.args[e.args.size() - 1].get(), 'S', 0});
    Arguments(args);
    CallEntry(kStrInstr);
    return;
  }
  if (name == "TITLE") {
    // SetConsoleTitleA takes its argument off the stack itself.
    Arguments({{e.args[0].get(), 'T', 0}});
    a_.CallIndirect(Global(kSetConsoleTitle));
    return;
  }
  if (name == "LBOUND" || name == "UBOUND") {
    Bound(e);
    return;
  }
  if (name == "LEN") {
    String(*e.args[0]);
    a_.Mov(EAX, EDX);
    return;
  }
  if (name == "ASC") {
    // The first byte, 0 for the empty text.
    Assembler::Label none = a_.NewLabel(), done = a_.NewLabel();
    String(*e.args[0]);
    a_.Test(EDX, EDX);
    a_.Jcc(kLessEqual, none);
    a_.LoadByte(EAX, At(EAX));
    a_.Jmp(done);
    a_.Bind(none);
    a_.Alu(kXor, EAX, EAX);
    a_.Bind(done);
    return;
  }
  if (name == "CINT") {
    Integer(*e.args[0]);
    return;
  }
  if (name == "ABS" || name == "SQR" || name == "ATN" || name == "LOG" || name == "FIX") {
    Number(*e.args[0]);
    if (name == "ABS") {
      a_.Fabs();
    } else if (name == "SQR") {
      a_.Fsqrt();
    } else if (name == "ATN") {
      a_.Fld1();
      a_.Fpatan();
    } else if (name == "LOG") {
      a_.Fldln2();
      a_.Fxch(1);
      a_.Fyl2x();
    } else {
      // FIX: rounded toward zero, with the rounding control bits set for
      // the one instruction.
      a_.AluImm(kSub, ESP, 8);
      a_.Fnstcw(At(ESP));
      a_.Load(EAX, At(ESP));
      a_.AluImm(kAnd, EAX, 0xF3FF);
      a_.AluImm(kOr, EAX, 0x0C00);
      a_.Store(At(ESP, 4), EAX);
      a_.Fldcw(At(ESP, 4));
      a_.Frndint();
      a_.Fldcw(At(ESP));
      a_.AluImm(kAdd, ESP, 8);
    }
    return;
  }
  if (name == "SGN") {
    // 1 above 0, -1 below, else 0 (a value that is not a number too).
    Assembler::Label negative = a_.NewLabel(), positive = a_.NewLabel(), done = a_.NewLabel();
    Number(*e.args[0]);
    a_.Fldz();
    a_.Fucomip(1);
    a_.FstpSt(0);
    a_.MovImm(EAX, 0);
    a_.Jcc(kParity, done);
    a_.Jcc(kAbove, negative);  // 0 > x
    a_.Jcc(kBelow, positive);  // 0 < x
    a_.Jmp(done);
    a_.Bind(negative);
    a_.MovImm(EAX, -1);
    a_.Jmp(done);
    a_.Bind(positive);
    a_.MovImm(EAX, 1);
    a_.Bind(done);
    return;
  }
  if (name == "LEFT$" || name == "RIGHT$" || name == "MID$") {
    SliceArguments(e);
    CallEntry(kStrSlice);
    return;
  }
  if (GuiBuiltin(e)) return;
  Refuse(e.position);
}

// StrSlice(text, begin, count): the text, then the count (for MID$ the
// start, then the count) made in order into the room; then the place
// within the text worked out from them.
void Lowering::SliceArguments(const Expr& e) {
  const std::string name = e.builtin->name;
  std::vector<Argument> args = {{e.args[0].get(), 'S', 0}, {e.args[1].get(), 'P', 0}};
  if (name == "MID$") args.push_back(e.args.size() > 2 ? Argument{e.args[2].get(), 'P', 0} : Argument{nullptr, 'I', 0x7FFFFFFF});
  else args.push_back({nullptr, 'I', 0});
  Arguments(args);
  Assembler::Label a = a_.NewLabel(), b = a_.NewLabel(), c = a_.NewLabel();
  a_.Load(EDX, At(ESP, 4));  // the length
  if (name == "MID$") {
    // begin: 0 for a start below 1, the length for one beyond it.
    a_.Load(EAX, At(ESP, 8));
    a_.AluImm(kSub, EAX, 1);
    a_.Jcc(kGreaterEqual, a);  // start >= 1 (no overflow: INT32_MIN - 1 sets OF and SF apart)
    a_.Alu(kXor, EAX, EAX);
    a_.Bind(a);
    a_.Alu(kCmp, EAX, EDX);
    a_.Jcc(kLessEqual, b);
    a_.Mov(EAX, EDX);
    a_.Bind(b);
    a_.Store(At(ESP, 8), EAX);
    a_.Load(EAX, At(ESP, 12));
  } else {
    a_.Load(EAX, At(ESP, 8));  // the count
  }
  a_.Test(EAX, EAX);
  a_.Jcc(kGreaterEqual, c);
  a_.Alu(kXor, EAX, EAX);
  a_.Bind(c);
  if (name == "RIGHT$") {
    // keep = min(count, length), from length - keep.
    Assembler::Label d = a_.NewLabel();
    a_.Alu(kCmp, EAX, EDX);
    a_.Jcc(kLessEqual, d);
    a_.Mov(EAX, EDX);
    a_.Bind(d);
    a_.Store(At(ESP, 12), EAX);
    a_.Alu(kSub, EDX, EAX);
    a_.Store(At(ESP, 8), EDX);
  } else {
    a_.Store(At(ESP, 12), EAX);
    if (name == "LEFT$") a_.StoreImm(At(ESP, 8), 0);
  }
}

}  // namespace native
}  // namespace tbc
