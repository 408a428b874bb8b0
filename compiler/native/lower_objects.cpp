// The objects of a console program: a FILE is a FileRecord of the module, a
// REGISTRY a RegistryRecord bound to its root, and each of their members one
// runtime call, its arguments made in source order into the room of the call
// (a table below), or a field of the record read in place. READFILE$ and
// SAVEFILE read and write whole files.
#include <cstring>

#include "gui_entries.h"

#include "lower_internal.h"

namespace tbc {
namespace native {

namespace {

// How a member reaches its record: as the call's first argument, through
// CurrentObject or QueryObject set just before the call (both for Close,
// which also takes it), bound by RegistryBind before the call, or as a field
// read in place.
enum class Through { Argument, Current, Query, CurrentArgument, Bind, Field };

// A member of an object of a kind: its arguments' kinds (as Arguments takes
// them; lower case: optional, `constant` when left out), its routine, a
// constant argument after them when `trailing` is set, where a text it gives
// lives; or the field's offset in the record (in `constant`).
struct ObjectRow {
  ObjectKind kind;
  const char* name;
  Through through;
  const char* args;
  const RuntimeEntry* entry;
  bool trailing;
  int32_t constant;
  Storage storage;
};

constexpr ObjectKind F = ObjectKind::File;
constexpr ObjectKind R = ObjectKind::Registry;

const ObjectRow kObjectRows[] = {
    {F, "OPEN", Through::Current, "TI", &kFileOpen, false, 0, Storage::Temp},
    {F, "CLOSE", Through::Current, "", &kFileClose, false, 0, Storage::Temp},
    {F, "READ", Through::Argument, "P", &kFileReadText, false, 0, Storage::Ring},
    {F, "READLINE", Through::Argument, "", &kFileReadLine, false, 0, Storage::Ring},
    {F, "WRITE", Through::Argument, "S", &kFileTransfer, true, 1, Storage::Temp},  // kFileWriteBytes
    {F, "WRITELINE", Through::Current, "S", &kFileWriteLine, false, 0, Storage::Temp},
    {F, "SEEK", Through::Current, "P", &kFileSeek, false, 0, Storage::Temp},
    {F, "SIZE", Through::Current, "", &kFileRefreshSize, false, 0, Storage::Temp},
    {F, "ATEND", Through::Query, "", &kFileAtEnd, false, 0, Storage::Temp},
    // The record's memory copy, which its next transfer may change.
    {F, "LOAD", Through::Argument, "", &kFileLoad, false, 0, Storage::Record},
    {F, "SAVE", Through::Argument, "T", &kFileSaveText, false, 0, Storage::Temp},
    // Position and length of its descriptor, the file handle, the mode.
    {F, "POSITION", Through::Field, "", nullptr, false, 4, Storage::Temp},
    {F, "LENGTH", Through::Field, "", nullptr, false, 8, Storage::Temp},
    {F, "HANDLE", Through::Field, "", nullptr, false, 20, Storage::Temp},
    {F, "MODE", Through::Field, "", nullptr, false, 24, Storage::Temp},

    {R, "OPEN", Through::Argument, "Si", &kRegistryOpen, false, 0, Storage::Temp},
    {R, "CLOSE", Through::CurrentArgument, "", &kRegistryClose, false, 0, Storage::Temp},
    {R, "READSTRING", Through::Query, "S", &kRegistryReadString, false, 0, Storage::Record},
    {R, "CLASS", Through::Query, "", &kRegistryClass, false, 0, Storage::Record},
    {R, "NAME", Through::Query, "", &kRegistryName, false, 0, Storage::Record},
    {R, "KEYPATH", Through::Query, "", &kRegistryKeyPath, false, 0, Storage::Record},
    {R, "VALUEDATA", Through::Query, "", &kRegistryValueData, false, 0, Storage::Record},
    {R, "VALUEDATA", Through::Query, "P", &kRegistryValueDataAt, false, 0, Storage::Record},
    {R, "SUBKEYNAME", Through::Query, "P", &kRegistrySubkeyNameAt, false, 0, Storage::Record},
    {R, "QUERYVALUE", Through::Bind, "T", &kRegistryQueryValue, false, 0, Storage::Temp},
    {R, "KEYHANDLE", Through::Field, "", nullptr, false, 4, Storage::Temp},
    {R, "ERROR", Through::Field, "", nullptr, false, 8, Storage::Temp},
    {R, "INDEX", Through::Field, "", nullptr, false, 12, Storage::Temp},
    {R, "SUBKEYCOUNT", Through::Field, "", nullptr, false, 16, Storage::Temp},
    {R, "VALUECOUNT", Through::Field, "", nullptr, false, 20, Storage::Temp},
    {R, "KEYPATHLENGTH", Through::Field, "", nullptr, false, 28, Storage::Temp},
    {R, "DATALENGTH", Through::Field, "", nullptr, false, 36, Storage::Temp},
    {R, "VALUETYPE", Through::Field, "", nullptr, false, 40, Storage::Temp},
};

}  // namespace

// A FILE, and a REGISTRY with the root it is bound to in its first field
// (the rest zeros), in the module's data.
void Lowering::PlaceFileObject(const Symbol& s) {
  if (s.owner != nullptr || s.isArray()) Refuse(s.position);
  if (s.object == ObjectKind::File) {
    variables_[&s] = Global(".bss", static_cast<int32_t>(object_.Reserve(bss_, 28, 4)));
    return;
  }
  std::vector<uint8_t> record(864, 0);  // sizeof(RegistryRecord)
  for (int i = 0; i < 4; ++i) record[static_cast<size_t>(i)] = static_cast<uint8_t>(s.registryRoot >> (8 * i));
  variables_[&s] = Global(".data", static_cast<int32_t>(object_.Append(DataSection(), record, 4)));
}

bool Lowering::IsObjectMember(const Expr& e) const {
  return e.kind == Expr::Kind::Member && e.symbol != nullptr && e.symbol->kind == Symbol::Kind::Object &&
         IsFileObject(*e.symbol) && variables_.count(e.symbol) && e.member != nullptr;
}

Storage Lowering::ObjectMember(const Expr& e) {
  if (!IsObjectMember(e)) Refuse(e.position);
  const Mem& record = variables_.at(e.symbol);
  const std::string name = e.member->name;
  for (const ObjectRow& row : kObjectRows) {
    if (row.kind != e.symbol->object || name != row.name) continue;
    size_t kinds = std::strlen(row.args);
    size_t required = 0;
    while (required < kinds && row.args[required] >= 'A' && row.args[required] <= 'Z') ++required;
    if (e.args.size() < required || e.args.size() > kinds) continue;
    if (row.through == Through::Field) {
      a_.Load(EAX, Global(record.symbol, record.disp + row.constant));
      return row.storage;
    }
    std::vector<Argument> args;
    bool first = row.through == Through::Argument || row.through == Through::CurrentArgument;
    if (first) args.push_back({nullptr, 'I', 0});
    for (size_t i = 0; i < kinds; ++i) {
      char kind = static_cast<char>(row.args[i] & ~0x20);  // upper case
      if (i < e.args.size()) args.push_back({e.args[i].get(), kind, 0});
      else args.push_back({nullptr, 'I', row.constant});
    }
    if (row.trailing) args.push_back({nullptr, 'I', row.constant});
    Arguments(args);
    a_.MovAddress(EAX, record.symbol, record.disp);
    if (first) a_.Store(At(ESP), EAX);
    if (row.through == Through::Current || row.through == Through::CurrentArgument)
      a_.Store(Global(kCurrentObject), EAX);
    if (row.through == Through::Query) a_.Store(Global(kQueryObject), EAX);
    if (row.through == Through::Bind) {
      a_.Push(EAX);
      CallEntry(kRegistryBind);
    }
    CallEntry(*row.entry);
    return row.storage;
  }
  Refuse(e.position);
  return Storage::Temp;
}

// READFILE$(name): into the one FileTextBuffer, which the next read reuses.
void Lowering::ReadWholeFile(const Expr& e) {
  Arguments({{nullptr, 'I', 0}, {e.args[0].get(), 'T', 0}});
  a_.MovAddress(EAX, kFileTextBuffer);
  a_.Store(At(ESP), EAX);
  CallEntry(kFileReadAll);
}

}  // namespace native
}  // namespace tbc
