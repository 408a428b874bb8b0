// Routines of a library (DECLARE ... LIB): called in the Windows standard
// convention through the import table's entry, or, for a DYNAMIC one,
// through the address that BindDeclaredFunction writes after its name as
// the program starts.
#include "lower_internal.h"

namespace tbc {
namespace native {

namespace {

std::string ExportedName(const Routine& r) { return r.alias.empty() ? r.name : r.alias; }

}  // namespace

// INTEGERs and STRINGs cross into a library, and an INTEGER comes back.
void Lowering::CheckLibraryRoutine(const Routine& r) {
  for (const Param& p : r.params)
    if (p.byReference || p.dimensions > 0 || (p.type != ValueType::Integer && p.type != ValueType::String))
      Refuse(p.position);
  if (r.isFunction && r.result != ValueType::Integer) Refuse(r.position);
}

// Each DYNAMIC routine's name, its NUL, then the four bytes of its address,
// in writable data.
void Lowering::PlaceLibraryRoutines() {
  for (const Routine* r : program_.dynamicRoutines) {
    std::string name = ExportedName(*r);
    std::vector<uint8_t> bytes(name.begin(), name.end());
    bytes.resize(bytes.size() + 5, 0);
    dynamicRoutines_[r] = object_.Append(DataSection(), bytes, 1);
  }
}

// The module's DYNAMIC routines bound in the order of their declarations.
void Lowering::BindLibraryRoutines(int module) {
  for (const Routine* r : program_.dynamicRoutines) {
    if (r->module != module) continue;
    a_.PushImm(static_cast<int32_t>(ExportedName(*r).size() + 1));
    a_.PushAddress(".data", static_cast<int32_t>(dynamicRoutines_.at(r)));
    a_.PushAddress(".rdata", static_cast<int32_t>(Literal(r->library)));
    CallEntry(kBindDeclaredFunction);
  }
}

void Lowering::CallLibraryRoutine(const Routine& r) {
  if (r.dynamic) {
    a_.CallIndirect(Global(".data", static_cast<int32_t>(dynamicRoutines_.at(&r) + ExportedName(r).size() + 1)));
    return;
  }
  int32_t bytes = 0;
  for (const Param& p : r.params) bytes += ParamBytes(p);
  a_.CallIndirect(Global("__imp__" + ExportedName(r) + "@" + std::to_string(bytes)));
}

}  // namespace native
}  // namespace tbc
