// s = s + a + b as appends to s's own block: its length grows by a quarter
// at a time, so a text built piece by piece costs what its pieces cost,
// rather than a copy of the whole text at every step.
#include "../sequence.h"
#include "lower_internal.h"

namespace tbc {
namespace native {

namespace {

// Whether e reads the variable, or a STRING that may be it by another name
// (a BYREF parameter).
bool Reaches(const Expr& e, const Symbol* variable) {
  if (e.kind == Expr::Kind::Name && e.ref == Expr::Ref::Variable && e.symbol != nullptr &&
      (e.symbol == variable || (e.symbol->reference && e.symbol->type == ValueType::String)))
    return true;
  for (const auto& a : e.args)
    if (Reaches(*a, variable)) return true;
  return false;
}

}  // namespace

// Each piece after s made in turn and appended where s ends; no piece runs
// program code or reads s, so none sees s half-built.
bool Lowering::AppendInPlace(const Expr& target, const Expr& value) {
  const Symbol* s = target.symbol;
  if (s == nullptr || s->reference || s->isArray() || !target.args.empty() || target.type != ValueType::String ||
      !IsConcat(value) || value.constant.known())
    return false;
  std::vector<const Expr*> pieces;
  ConcatPieces(value, pieces);
  const Expr& first = *pieces[0];
  if (first.kind != Expr::Kind::Name || first.ref != Expr::Ref::Variable || first.symbol != s || !first.args.empty())
    return false;
  for (size_t i = 1; i < pieces.size(); ++i)
    if (Hazard(*pieces[i]) || Reaches(*pieces[i], s)) return false;
  Mem place = Variable(target);
  Mem position = place, length = place;
  position.disp += 4;
  length.disp += 8;
  Mem capacity = place, text = place;
  capacity.disp += 12;
  for (size_t i = 1; i < pieces.size(); ++i) {
    const Expr& piece = *pieces[i];
    Assembler::Label done = a_.NewLabel();
    if (piece.constant.known() && piece.constant.type == ValueType::String && !piece.constant.text.empty() &&
        piece.constant.text.size() <= kShortPiece) {
      // A short literal, where the block has room for it and its NUL: its
      // bytes stored after the text.
      const std::string& bytes = piece.constant.text;
      int32_t n = static_cast<int32_t>(bytes.size());
      Assembler::Label slow = a_.NewLabel();
      a_.Load(ECX, length);
      a_.Lea(EDX, At(ECX, n));
      a_.AluLoad(kCmp, EDX, capacity);
      a_.Jcc(kGreaterEqual, slow);
      a_.Load(EAX, text);
      a_.Alu(kAdd, EAX, ECX);
      for (int32_t k = 0; k < n; ++k) a_.StoreByteImm(At(EAX, k), static_cast<uint8_t>(bytes[static_cast<size_t>(k)]));
      a_.StoreByteImm(At(EAX, n), 0);
      a_.Store(length, EDX);
      a_.Store(position, EDX);
      a_.Jmp(done);
      a_.Bind(slow);
    }
    Text(piece);
    // StrAppend writes at the descriptor's position: the end of the text.
    a_.Load(ECX, length);
    a_.Store(position, ECX);
    a_.Push(EDX);
    PushPlace(place);
    a_.Push(EAX);
    CallEntry(kStrAppend);
    a_.Bind(done);
  }
  return true;
}

}  // namespace native
}  // namespace tbc
