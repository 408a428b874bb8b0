// A slice of a text named in place: LEFT$, RIGHT$ and MID$ compared or
// appended need no copy of their bytes, only where they start and how many.
#include "lower_internal.h"

namespace tbc {
namespace native {

bool Lowering::TextView(const Expr& e) {
  if (e.kind != Expr::Kind::Name || e.ref != Expr::Ref::Builtin || e.builtin == nullptr) return false;
  const std::string name = e.builtin->name;
  if (name != "LEFT$" && name != "RIGHT$" && name != "MID$") return false;
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

}  // namespace native
}  // namespace tbc
