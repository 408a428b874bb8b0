// Arrays whose bounds come while the program runs: a dynamic array (DIM a(),
// then REDIM) in an ArrayRecord of its own, an array parameter holding the
// address of the caller's, and a fixed array passed whole through a view
// (an ArrayRecord over its elements, made as the program starts).
#include "lower_internal.h"

namespace tbc {
namespace native {

namespace {

// The ArrayRecord: data, block, dimensions, then each dimension's lower
// bound and count.
constexpr int32_t kArrayRecordBytes = 12 + 8 * 8;
constexpr int32_t kArrayData = 0;
constexpr int32_t kArrayDimensionCount = 8;
int32_t LowerAt(size_t k) { return 12 + 8 * static_cast<int32_t>(k); }
int32_t CountAt(size_t k) { return 16 + 8 * static_cast<int32_t>(k); }

}  // namespace

int32_t Lowering::ArrayRecordBytes() { return kArrayRecordBytes; }

void Lowering::ArrayRecordAddress(Reg r, const Symbol& s) {
  if (s.reference) {
    a_.Load(r, variables_.at(&s));
    return;
  }
  AddressOf(r, s.fixedArray() ? views_.at(&s) : variables_.at(&s));
}

// Each index less its dimension's lower bound, compared unsigned with its
// count (an empty array has none): one outside goes to the index error.
// ECX is kept, as the callers expect of an element's address.
void Lowering::RecordElement(const Expr& e, const std::vector<Mem>& indexes) {
  const Symbol& s = *e.symbol;
  a_.Push(ECX);
  ArrayRecordAddress(ECX, s);
  for (size_t k = 0; k < indexes.size(); ++k) {
    a_.Load(EDX, indexes[k]);
    a_.AluLoad(kSub, EDX, At(ECX, LowerAt(k)));
    a_.AluLoad(kCmp, EDX, At(ECX, CountAt(k)));
    a_.Jcc(kAboveEqual, indexError_);
    indexChecks_ = true;
    if (k == 0) {
      a_.Mov(EAX, EDX);
    } else {
      a_.ImulLoad(EAX, At(ECX, CountAt(k)));
      a_.Alu(kAdd, EAX, EDX);
    }
  }
  a_.ImulImm(EAX, EAX, SizeOf(s.type, s.record));
  a_.AluLoad(kAdd, EAX, At(ECX, kArrayData));
  a_.Pop(ECX);
}

// The views of the fixed arrays passed whole, each filled once as the
// program starts: its elements, no block, its dimensions and bounds.
void Lowering::PlaceViews() {
  for (const auto& owned : program_.symbols) {
    const Symbol& s = *owned;
    if (!s.viewed || !variables_.count(&s) || !s.fixedArray()) continue;
    views_[&s] = Global(".bss", static_cast<int32_t>(object_.Reserve(bss_, kArrayRecordBytes, 4)));
  }
}

void Lowering::FillViews() {
  for (const auto& view : views_) {
    const Symbol& s = *view.first;
    Mem v = view.second;
    const Mem& elements = variables_.at(&s);
    a_.MovAddress(EAX, elements.symbol, elements.disp);
    a_.Store(v, EAX);
    a_.StoreImm(Global(v.symbol, v.disp + 4), 0);
    a_.StoreImm(Global(v.symbol, v.disp + kArrayDimensionCount), static_cast<int32_t>(s.bounds.size()));
    for (size_t k = 0; k < s.bounds.size(); ++k) {
      a_.StoreImm(Global(v.symbol, v.disp + LowerAt(k)), s.lower(k));
      a_.StoreImm(Global(v.symbol, v.disp + CountAt(k)), static_cast<int32_t>(int64_t{s.bounds[k]} - s.lower(k) + 1));
    }
  }
}

// What frees the elements that go: ReleaseStrings for STRINGs, a TYPE's
// release for records with strings, none else.
void Lowering::PushRelease(const Symbol& s) {
  if (s.record != nullptr) PushRecordRelease(s.record);
  else if (s.type == ValueType::String) a_.PushAddress(kReleaseStrings);
  else a_.PushImm(0);
}

void Lowering::EraseArray(const Symbol& s) {
  PushRelease(s);
  ArrayRecordAddress(EAX, s);
  a_.Push(EAX);
  CallEntry(kArrayErase);
}

// REDIM: for each array in turn its bounds, lower then upper per dimension
// (a lower bound left out is 0), each rounded as a store into an INTEGER,
// into slots of the frame; then ArrayRedim.
void Lowering::Redim(const Stmt& s) {
  for (const DimItem& item : s.dims) {
    const Symbol& a = *item.symbol;
    if (!a.arrayRecord()) Refuse(item.position);
    int32_t dimensions = static_cast<int32_t>(item.bounds.size());
    Mem bounds = At(EBP, FrameSlot(8 * dimensions));
    for (size_t k = 0; k < item.bounds.size(); ++k) {
      Mem lower = At(EBP, bounds.disp + 8 * static_cast<int32_t>(k));
      if (item.lowers[k]) {
        Integer(*item.lowers[k]);
        a_.Store(lower, EAX);
      } else {
        a_.StoreImm(lower, 0);
      }
      Integer(*item.bounds[k]);
      a_.Store(At(EBP, lower.disp + 4), EAX);
    }
    PushRelease(a);
    a_.PushImm(s.preserve ? 1 : 0);
    a_.Lea(EAX, bounds);
    a_.Push(EAX);
    a_.PushImm(dimensions);
    a_.PushImm(SizeOf(a.type, a.record));
    ArrayRecordAddress(EAX, a);
    a_.Push(EAX);
    CallEntry(kArrayRedim);
  }
}

// LBOUND and UBOUND that the checker could not work out: of a dynamic array,
// an array parameter, or a dimension given by a value (of a view then).
void Lowering::Bound(const Expr& e) {
  const Symbol& a = *e.args[0]->symbol;
  if (!a.arrayRecord() && !views_.count(&a)) Refuse(e.position);
  a_.AluImm(kSub, ESP, 8);
  if (e.args.size() > 1) Integer(*e.args[1]);
  else a_.MovImm(EAX, 1);
  a_.Store(At(ESP, 4), EAX);
  ArrayRecordAddress(EAX, a);
  a_.Store(At(ESP), EAX);
  CallEntry(std::string(e.builtin->name) == "LBOUND" ? kArrayLower : kArrayUpper);
}

}  // namespace native
}  // namespace tbc
