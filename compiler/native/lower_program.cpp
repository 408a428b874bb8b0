// The program's object: its sections, the program header, the variables,
// the constants, and ProgramBody, the main code, which ends as the C++ path
// ends it: the closing key wait, then 0 for the exit code.
#include <cstring>

#include "lower_internal.h"

namespace tbc {

const char kNativeNotYet[] = "the native back end cannot build this yet";

namespace native {

Lowering::Lowering(const Program& program) : program_(program) {
  text_ = object_.AddSection(".text", CoffObject::Kind::Code);
  rdata_ = object_.AddSection(".rdata", CoffObject::Kind::ReadOnly);
  header_ = object_.AddSection(".data.header", CoffObject::Kind::Data);
  bss_ = object_.AddSection(".bss", CoffObject::Kind::Zeros);
}

// What this back end does not build yet, told at the first place that shows it.
void Lowering::CheckProgram() {
  const std::vector<Module>& modules = *program_.modules;
  if (modules.size() > 1) Refuse(Position{modules[1].file, 1, 1});
  const Module& main = modules[0];
  if (program_.kind != ProgramKind::Console) {
    if (!program_.guiObjects.empty()) Refuse(program_.guiObjects[0]->position);
    for (const auto& r : main.routines)
      if (r->exported) Refuse(r->position);
    Refuse(Position{main.file, 1, 1});
  }
  if (!main.types.empty()) Refuse(main.types[0].position);
  for (const auto& r : main.routines) Refuse(r->position);
  if (!program_.resources.empty()) Refuse(program_.resources[0].position);
}

// The module's variables in .bss, as zeros: an INTEGER in four bytes, a
// number in twelve (ten used), a STRING's descriptor in twenty.
void Lowering::PlaceVariables() {
  for (const auto& owned : program_.symbols) {
    const Symbol& s = *owned;
    if (s.module != 0 || s.owner != nullptr || s.kind == Symbol::Kind::Constant || s.failed) continue;
    if (s.kind == Symbol::Kind::Object || s.isArray() || s.record != nullptr) Refuse(s.position);
    uint32_t size = s.type == ValueType::String ? 20 : s.type == ValueType::Double ? 12 : 4;
    variables_[&s] = object_.Reserve(bss_, size, 4);
  }
}

Mem Lowering::Variable(const Expr& e) {
  auto found = variables_.find(e.symbol);
  if (found == variables_.end()) Refuse(e.position);
  return Global(".bss", static_cast<int32_t>(found->second));
}

uint32_t Lowering::Literal(const std::string& bytes) {
  auto found = literals_.find(bytes);
  if (found != literals_.end()) return found->second;
  std::vector<uint8_t> data(bytes.begin(), bytes.end());
  data.push_back(0);
  uint32_t at = object_.Append(rdata_, data, 1);
  literals_[bytes] = at;
  return at;
}

Mem Lowering::NumberConstant(long double value) {
  // The host's long double is the x87's extended format: its first ten bytes.
  static_assert(sizeof(long double) >= 10, "an x87 extended long double");
  std::vector<uint8_t> data(10);
  std::memcpy(data.data(), &value, 10);
  std::string key(data.begin(), data.end());
  auto found = numbers_.find(key);
  if (found == numbers_.end()) found = numbers_.emplace(key, object_.Append(rdata_, data, 4)).first;
  return Global(".rdata", static_cast<int32_t>(found->second));
}

Mem Lowering::Temp() {
  if (tempsUsed_ == temps_.size()) temps_.push_back(object_.Reserve(bss_, 20, 4));
  return Global(".bss", static_cast<int32_t>(temps_[tempsUsed_++]));
}

int32_t Lowering::FrameSlot(int32_t bytes) {
  frame_ += bytes;
  return -frame_;
}

void Lowering::CallEntry(const RuntimeEntry& entry) {
  a_.Call(entry.symbol);
  if (entry.argumentBytes != 0) a_.AluImm(kAdd, ESP, entry.argumentBytes);
}

// int ProgramBody(): a frame for the slots of its statements; each STRING
// variable gets its block; the statements; the closing key wait; 0.
void Lowering::LowerMain() {
  a_.Push(EBP);
  a_.Mov(EBP, ESP);
  uint32_t frame = a_.SubEspPatchable();
  end_ = a_.NewLabel();
  for (const auto& owned : program_.symbols) {
    auto v = variables_.find(owned.get());
    if (v == variables_.end() || owned->type != ValueType::String) continue;
    a_.PushImm(59);  // kVariableSize
    a_.PushAddress(".bss", static_cast<int32_t>(v->second));
    CallEntry(kStrAlloc);
  }
  Block((*program_.modules)[0].main);
  a_.Bind(end_);
  CallEntry(kConsoleWaitKey);
  a_.Alu(kXor, EAX, EAX);
  a_.Leave();
  a_.Ret();
  a_.Finish();
  a_.Patch32(frame, frame_);
  uint32_t at = object_.Append(text_, a_.Bytes(), 16);
  object_.AddRelocations(text_, a_.Relocations(), at);
  object_.Define(kProgramBody, text_, at, true);
}

// The signature, its NUL, then the program's name, NUL-padded to 19 bytes.
void Lowering::WriteHeader() {
  std::vector<uint8_t> header(32, 0);
  std::memcpy(header.data(), program_.signature.data(), std::min<size_t>(program_.signature.size(), 12));
  std::memcpy(header.data() + 13, program_.name.data(), std::min<size_t>(program_.name.size(), 18));
  object_.Define(kProgramHeader, header_, object_.Append(header_, header, 4), false);
}

std::string Lowering::Run() {
  CheckProgram();
  PlaceVariables();
  LowerMain();
  WriteHeader();
  return object_.Write();
}

}  // namespace native

bool LowerNative(const Program& program, std::string& object, Diagnostics& diagnostics) {
  try {
    native::Lowering lowering(program);
    object = lowering.Run();
    return true;
  } catch (const native::NotYet& refusal) {
    diagnostics.error(refusal.at, kNativeNotYet);
    return false;
  }
}

}  // namespace tbc
