// Records (TYPE): a record's fields lie in order, each in the bytes of its
// kind (an INTEGER 4, a number 12, a STRING's descriptor 20, a record its
// own), as the C++ compiler lays them out. A field is a place like an
// element: the indexes of the array it stands in are made first, then its
// address. Each TYPE gets two routines of the object: the copy of a whole
// record (its strings as StrAssign copies them) and, for a TYPE that holds
// strings, the release of the strings of some records in a row.
#include "lower_internal.h"

namespace tbc {
namespace native {

int32_t Lowering::SizeOf(ValueType type, const RecordInfo* record) {
  if (record == nullptr) return ElementBytes(type);
  int32_t bytes = 0;
  for (const RecordInfo::Field& f : record->fields) bytes += SizeOf(f.type, f.record);
  return bytes;
}

int32_t Lowering::FieldOffset(const RecordInfo& record, const std::string& name) {
  const RecordInfo::Field* field = record.find(ToUpper(name));
  int32_t at = 0;
  for (const RecordInfo::Field& f : record.fields) {
    if (&f == field) return at;
    at += SizeOf(f.type, f.record);
  }
  throw std::logic_error("a field its record does not have");
}

bool Lowering::IsRecordVariable(const Expr& e) const {
  return e.kind == Expr::Kind::Name && e.ref == Expr::Ref::Variable && e.symbol != nullptr && e.record != nullptr &&
         !e.symbol->isArray() && e.args.empty() && variables_.count(e.symbol);
}

bool Lowering::IsField(const Expr& e) const {
  if (e.kind != Expr::Kind::Field || e.args.empty() || e.args[0]->record == nullptr) return false;
  const Expr& base = *e.args[0];
  return IsElement(base) || IsRecordVariable(base);
}

// Like an element's address, found with EAX and EDX alone.
void Lowering::FieldPlace(const Expr& e, const std::vector<Mem>& indexes) {
  const Expr& base = *e.args[0];
  if (IsElement(base)) Element(base, indexes);
  else if (base.symbol->reference) a_.Load(EAX, variables_.at(base.symbol));  // the caller's record
  else AddressOf(EAX, variables_.at(base.symbol));
  int32_t at = FieldOffset(*base.record, e.name);
  if (at != 0) a_.AluImm(kAdd, EAX, at);
}

// A whole record, the target's indexes first, then the value's; then the
// copy, field by field.
void Lowering::AssignRecord(const Stmt& s) {
  const Expr& t = *s.target;
  const Expr& v = *s.value;
  bool targetElement = IsElement(t), valueElement = IsElement(v);
  if ((!targetElement && !IsRecordVariable(t)) || (!valueElement && !IsRecordVariable(v)) || t.record == nullptr)
    Refuse(s.position);
  std::vector<Mem> targetIndexes = targetElement ? Indexes(t) : std::vector<Mem>{};
  std::vector<Mem> valueIndexes = valueElement ? Indexes(v) : std::vector<Mem>{};
  PlaceAddress(v, valueIndexes);
  a_.Push(EAX);
  PlaceAddress(t, targetIndexes);
  a_.Push(EAX);
  a_.Call(RecordCopy(*t.record));
  a_.AluImm(kAdd, ESP, 8);
}

// Each TYPE's routines get their labels before any code is made: a routine
// lowered again (Run) finds them as they were.
void Lowering::PlaceRecordRoutines() {
  for (const auto& owned : program_.records) {
    recordCopies_[owned.get()] = a_.NewLabel();
    if (owned->strings) recordReleases_[owned.get()] = a_.NewLabel();
  }
}

Assembler::Label Lowering::RecordCopy(const RecordInfo& r) { return recordCopies_.at(&r); }

Assembler::Label Lowering::RecordRelease(const RecordInfo& r) { return recordReleases_.at(&r); }

void Lowering::PushRecordRelease(const RecordInfo* r) {
  if (r != nullptr && r->strings) a_.PushLabel(RecordRelease(*r));
  else a_.PushImm(0);
}

void Lowering::RecordRoutines() {
  for (const auto& owned : program_.records) {
    WriteRecordCopy(*owned);
    if (owned->strings) WriteRecordRelease(*owned);
  }
}

// (destination, source), cdecl: each field in order; a STRING as
// StrAssign(its text, the destination's descriptor, its length).
void Lowering::WriteRecordCopy(const RecordInfo& r) {
  a_.Bind(RecordCopy(r));
  a_.Push(EBP);
  a_.Mov(EBP, ESP);
  Mem destination = At(EBP, 8), source = At(EBP, 12);
  int32_t at = 0;
  for (const RecordInfo::Field& f : r.fields) {
    if (f.record != nullptr) {
      a_.Load(EAX, source);
      a_.AluImm(kAdd, EAX, at);
      a_.Push(EAX);
      a_.Load(EAX, destination);
      a_.AluImm(kAdd, EAX, at);
      a_.Push(EAX);
      a_.Call(RecordCopy(*f.record));
      a_.AluImm(kAdd, ESP, 8);
    } else if (f.type == ValueType::String) {
      a_.Load(ECX, source);
      a_.Push(At(ECX, at + 8));
      a_.Load(EAX, destination);
      a_.AluImm(kAdd, EAX, at);
      a_.Push(EAX);
      a_.Load(ECX, source);
      a_.Push(At(ECX, at));
      CallEntry(kStrAssign);
    } else if (f.type == ValueType::Double) {
      a_.Load(ECX, source);
      a_.FldExtended(At(ECX, at));
      a_.Load(ECX, destination);
      a_.FstpExtended(At(ECX, at));
    } else {
      a_.Load(ECX, source);
      a_.Load(EAX, At(ECX, at));
      a_.Load(ECX, destination);
      a_.Store(At(ECX, at), EAX);
    }
    at += SizeOf(f.type, f.record);
  }
  a_.Leave();
  a_.Ret();
}

// (records, count), cdecl, an ElementRelease: the strings of each record
// freed, its own and those of the records it holds.
void Lowering::WriteRecordRelease(const RecordInfo& r) {
  a_.Bind(RecordRelease(r));
  a_.Push(EBP);
  a_.Mov(EBP, ESP);
  a_.Push(EBX);
  a_.Push(ESI);
  a_.Load(ESI, At(EBP, 8));
  a_.Load(EBX, At(EBP, 12));
  Assembler::Label next = a_.NewLabel(), done = a_.NewLabel();
  a_.Bind(next);
  a_.Test(EBX, EBX);
  a_.Jcc(kLessEqual, done);
  int32_t at = 0;
  for (const RecordInfo::Field& f : r.fields) {
    bool strings = f.type == ValueType::String || (f.record != nullptr && f.record->strings);
    if (strings) {
      a_.PushImm(1);
      a_.Lea(EAX, At(ESI, at));
      a_.Push(EAX);
      if (f.record != nullptr) a_.Call(RecordRelease(*f.record));
      else a_.Call(kReleaseStrings);
      a_.AluImm(kAdd, ESP, 8);
    }
    at += SizeOf(f.type, f.record);
  }
  a_.AluImm(kAdd, ESI, SizeOf(ValueType::Record, &r));
  a_.AluImm(kSub, EBX, 1);
  a_.Jmp(next);
  a_.Bind(done);
  a_.Pop(ESI);
  a_.Pop(EBX);
  a_.Leave();
  a_.Ret();
}

// A record variable (or array of records) of a routine as a call starts:
// its strings freed, then all zeros.
void Lowering::ResetRecords(const Symbol& s, const Mem& place, int32_t count) {
  if (s.record->strings) {
    a_.PushImm(count);
    PushPlace(place);
    a_.Call(RecordRelease(*s.record));
    a_.AluImm(kAdd, ESP, 8);
  }
  int32_t bytes = count * SizeOf(ValueType::Record, s.record);
  a_.Push(EDI);
  AddressOf(EDI, place);
  a_.MovImm(ECX, bytes / 4);
  a_.Alu(kXor, EAX, EAX);
  a_.RepStosd();
  a_.Pop(EDI);
}

}  // namespace native
}  // namespace tbc
