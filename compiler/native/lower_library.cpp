// A library (OPTION LIBRARY): no main code; its EXPORT routines are defined
// under the names other programs bind (_Name@bytes, stdcall), and when it
// has STRING variables, LibraryStart gives them their blocks as the library
// is loaded.
#include "lower_internal.h"

namespace tbc {
namespace native {

namespace {

// The bytes of arguments a caller pushes: twelve for a number, four for
// anything else.
int ArgumentBytes(const Routine& r) {
  int bytes = 0;
  for (const Param& p : r.params) bytes += p.type == ValueType::Double ? 12 : 4;
  return bytes;
}

}  // namespace

std::string Lowering::ExportSymbol(const Routine& r) {
  return "_" + (r.alias.empty() ? r.name : r.alias) + "@" + std::to_string(ArgumentBytes(r));
}

// BOOL __stdcall LibraryStart(HINSTANCE, DWORD reason, void*): on
// DLL_PROCESS_ATTACH (1) each module's STRING variables get their blocks, in
// module order; TRUE in any case. False when there are none, and the
// runtime's LibraryEntry serves.
bool Lowering::LowerLibraryStart() {
  std::vector<Mem> strings;
  for (size_t m = 0; m < program_.modules->size(); ++m)
    for (const auto& owned : program_.symbols) {
      auto v = variables_.find(owned.get());
      if (v == variables_.end() || owned->module != static_cast<int>(m) || owned->owner != nullptr ||
          owned->kind != Symbol::Kind::Variable || owned->type != ValueType::String || owned->isArray())
        continue;
      strings.push_back(v->second);
    }
  if (strings.empty()) return false;
  Assembler::Label done = a_.NewLabel();
  libraryStart_ = a_.NewLabel();
  a_.Bind(libraryStart_);
  a_.Load(EAX, At(ESP, 8));
  a_.AluImm(kCmp, EAX, 1);
  a_.Jcc(kNotEqual, done);
  for (const Mem& s : strings) {
    a_.PushImm(59);  // kVariableSize
    PushPlace(s);
    CallEntry(kStrAlloc);
  }
  a_.Bind(done);
  a_.MovImm(EAX, 1);
  a_.RetPop(12);
  return true;
}

}  // namespace native
}  // namespace tbc
