// A slice of a text named in place: LEFT$, RIGHT$ and MID$ compared or
// appended need no copy of their bytes, only where they start and how many.
#include "lower_internal.h"

namespace tbc {
namespace native {

bool Lowering::TextView(const Expr& e) {
  if (e.kind != Expr::Kind::Name || e.ref != Expr::Ref::Builtin || e.builtin == nullptr) return false;
  const std::string name = e.builtin->name;
  if (name != "LEFT$" && name != "RIGHT$" && name != "MID$") return false;
  if (premadeTexts_.count(&e)) return false;  // made already
  OperandsFirst(e);
  if (name == "MID$" && MidInRegisters(e)) return true;
  SliceArguments(e);
  // (text + begin, min(count, length - begin)).
  Assembler::Label fits = a_.NewLabel();
  a_.Load(EAX, At(ESP, 8));
  a_.Load(EDX, At(ESP, 4));
  a_.Alu(kSub, EDX, EAX);
  a_.Load(ECX, At(ESP, 12));
  a_.Alu(kCmp, ECX, EDX);
  a_.Jcc(kGreaterEqual, fits);
  a_.Mov(EDX, ECX);
  a_.Bind(fits);
  a_.AluLoad(kAdd, EAX, At(ESP));
  a_.AluImm(kAdd, ESP, 16);
  return true;
}

// MID$(text, start[, count]) with a simple start and a constant count (or
// none): nothing made after the text, so all of it in registers. begin is 0
// for a start below 1 and the length for one beyond it.
bool Lowering::MidInRegisters(const Expr& e) {
  if (!SimpleInteger(*e.args[1])) return false;
  int32_t count = 0x7FFFFFFF;
  if (e.args.size() > 2) {
    const Expr& n = *e.args[2];
    if (!n.constant.known() || n.constant.type != ValueType::Integer) return false;
    count = n.constant.integer < 0 ? 0 : n.constant.integer;
  }
  String(*e.args[0]);
  Assembler::Label low = a_.NewLabel(), inside = a_.NewLabel(), room = a_.NewLabel();
  LoadSimple(ECX, *e.args[1]);  // ECX alone, also through a BYREF parameter
  a_.AluImm(kSub, ECX, 1);
  a_.Jcc(kGreaterEqual, low);  // start >= 1 (INT32_MIN - 1 sets OF and SF apart)
  a_.Alu(kXor, ECX, ECX);
  a_.Bind(low);
  a_.Alu(kCmp, ECX, EDX);
  a_.Jcc(kLessEqual, inside);
  a_.Mov(ECX, EDX);
  a_.Bind(inside);
  a_.Alu(kSub, EDX, ECX);
  a_.Alu(kAdd, EAX, ECX);
  a_.AluImm(kCmp, EDX, count);
  a_.Jcc(kLessEqual, room);
  a_.MovImm(EDX, count);
  a_.Bind(room);
  return true;
}

}  // namespace native
}  // namespace tbc
