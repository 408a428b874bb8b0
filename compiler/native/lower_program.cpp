// The program's object: its sections, the program header, the variables,
// the constants, and ProgramBody, the main code, which ends as the C++ path
// ends it: the closing key wait, then 0 for the exit code.
#include <cstring>

#include "gui_entries.h"
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
  for (const Module& m : *program_.modules) {
    for (const auto& r : m.routines) {
      if (r->forward) continue;
      // Floating-point handlers with parameters or in a call cycle: not yet.
      if (r->fpuHandler && (r->recursive || !r->params.empty())) Refuse(r->position);
      if (r->fromLibrary) CheckLibraryRoutine(*r);
    }
  }
}

// The variables in .bss, as zeros: an INTEGER in four bytes, a number in
// twelve (ten used), a STRING's descriptor in twenty. A routine's variables
// too: a routine that never calls itself has one set of them, which it
// resets at every call.
void Lowering::PlaceVariables() {
  for (const auto& owned : program_.symbols) {
    const Symbol& s = *owned;
    if (s.kind == Symbol::Kind::Constant || s.failed) continue;
    if (s.owner != nullptr && (s.owner->fromLibrary || s.owner->forward)) continue;
    // A recursive routine's variables live in each call's frame.
    if (s.owner != nullptr && s.owner->recursive) {
      if (s.kind != Symbol::Kind::Variable) Refuse(s.position);
      continue;
    }
    if (s.kind == Symbol::Kind::Object) {
      if (IsFileObject(s)) PlaceFileObject(s);
      else PlaceObject(s);
      continue;
    }
    if (s.reference) {
      // A BYREF parameter holds the address of the caller's variable, an
      // array parameter that of the caller's ArrayRecord.
      variables_[&s] = Global(".bss", static_cast<int32_t>(object_.Reserve(bss_, 4, 4)));
      continue;
    }
    if (s.arrayRecord()) {
      // Empty until its first REDIM: all zeros.
      variables_[&s] = Global(".bss", static_cast<int32_t>(object_.Reserve(bss_, ArrayRecordBytes(), 4)));
      continue;
    }
    int64_t elements = 1;
    for (size_t k = 0; k < s.bounds.size(); ++k) elements *= int64_t{s.bounds[k]} - s.lower(k) + 1;
    int64_t size = elements * SizeOf(s.type, s.record);
    if (size >= 65536) {
      // A large array is a common symbol, as the C++ path makes it: its
      // zeros never reach the file.
      std::string name = "_TessaricArray" + std::to_string(commons_++);
      object_.DefineCommon(name, static_cast<uint32_t>(size));
      variables_[&s] = Global(name);
    } else {
      variables_[&s] = Global(".bss", static_cast<int32_t>(object_.Reserve(bss_, static_cast<uint32_t>(size), 4)));
    }
  }
}

Mem Lowering::Variable(const Expr& e) {
  auto found = variables_.find(e.symbol);
  if (found == variables_.end() || e.symbol->isArray()) Refuse(e.position);
  if (e.symbol->reference) {
    // The caller's variable, through the address the parameter holds.
    a_.Load(ECX, found->second);
    return At(ECX);
  }
  return found->second;
}

void Lowering::PlaceAddress(const Expr& e, const std::vector<Mem>& indexes) {
  if (IsElement(e)) {
    Element(e, indexes);
    return;
  }
  Mem place = Variable(e);
  AddressOf(EAX, place);
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
  if (Recursive()) {
    // Each call has its own, in its frame: empty from its start, freed as
    // it ends.
    // Beyond the region's room the place is wrong, and the routine is
    // lowered again with a region that holds them all (Run).
    Mem t = At(EBP, frameTempsAt_ + 20 * static_cast<int32_t>(frameTemps_.size()));
    frameTemps_.push_back(t);
    return t;
  }
  if (tempsUsed_ == temps_.size()) temps_.push_back(object_.Reserve(bss_, 20, 4));
  return Global(".bss", static_cast<int32_t>(temps_[tempsUsed_++]));
}

int32_t Lowering::FrameSlot(int32_t bytes) {
  frameUsed_ += bytes;
  if (frameUsed_ > frame_) frame_ = frameUsed_;
  return -frameUsed_;
}

void Lowering::PushPlace(const Mem& m) {
  if (m.base == kNoBase) {
    a_.PushAddress(m.symbol, m.disp);
    return;
  }
  a_.Lea(ECX, m);
  a_.Push(ECX);
}

void Lowering::StoreAddressOf(const Mem& to, const Mem& m) {
  if (m.base == kNoBase) {
    a_.StoreAddress(to, m.symbol, m.disp);
    return;
  }
  a_.Lea(ECX, m);
  a_.Store(to, ECX);
}

void Lowering::AddressOf(Reg r, const Mem& m) {
  if (m.base == kNoBase) a_.MovAddress(r, m.symbol, m.disp);
  else a_.Lea(r, m);
}

void Lowering::LocalString(const Mem& m) {
  for (int32_t at = 0; at < 20; at += 4) a_.StoreImm(At(EBP, m.disp + at), 0);
  a_.PushImm(59);  // kVariableSize
  PushPlace(m);
  CallEntry(kStrAlloc);
}

void Lowering::CallEntry(const RuntimeEntry& entry) {
  a_.Call(entry.symbol);
  if (entry.argumentBytes != 0) a_.AluImm(kAdd, ESP, entry.argumentBytes);
}

uint32_t Lowering::Prologue() {
  a_.Push(EBP);
  a_.Mov(EBP, ESP);
  frame_ = frameUsed_ = 0;
  temps_.clear();
  labels_.clear();
  indexError_ = a_.NewLabel();
  indexChecks_ = false;
  uint32_t frame = a_.SubEspPatchable();
  // A routine with GOSUBs sees only the return points it pushed, and drops
  // them when it ends.
  bool gosubs = routine_ != nullptr ? routine_->gosub : program_.mainGosub;
  if (gosubs) {
    gosubBase_ = At(EBP, FrameSlot(4));
    a_.Load(EAX, Global(kGosubDepth));
    a_.Store(gosubBase_, EAX);
  }
  return frame;
}

void Lowering::DropGosubs() {
  bool gosubs = routine_ != nullptr ? routine_->gosub : program_.mainGosub;
  if (!gosubs) return;
  a_.Load(ECX, gosubBase_);
  a_.Store(Global(kGosubDepth), ECX);
}

// After the routine's return: the one place its index checks jump to. An
// index outside the bounds ends the program with "Array index error".
void Lowering::Epilogue(uint32_t frame) {
  a_.Patch32(frame, frame_);
  if (frame_ > 4000) LargeFrame(frame);
  if (!indexChecks_) return;
  a_.Bind(indexError_);
  a_.Call(kArrayIndexError.symbol);
}

// A frame beyond a page: Windows grows the stack one guard page at a time,
// so the frame is taken a page at a time, each page touched in order, by
// code after the routine that the prologue calls instead of its sub esp.
void Lowering::LargeFrame(uint32_t frame) {
  Assembler::Label probe = a_.NewLabel(), page = a_.NewLabel(), last = a_.NewLabel();
  a_.PatchSubEspToCall(frame, probe);
  a_.Bind(probe);
  a_.Pop(ECX);  // the point after the call
  a_.MovImm(EAX, frame_);
  a_.Bind(page);
  a_.AluImm(kCmp, EAX, 4096);
  a_.Jcc(kBelow, last);
  a_.AluImm(kSub, ESP, 4096);
  a_.Load(EDX, At(ESP));
  a_.AluImm(kSub, EAX, 4096);
  a_.Jmp(page);
  a_.Bind(last);
  a_.Alu(kSub, ESP, EAX);
  a_.Load(EDX, At(ESP));
  a_.JmpTo(ECX);
}

// int ProgramBody(): a frame for the slots of its statements; each STRING
// variable of the module gets its block; the statements; the closing key
// wait; 0.
void Lowering::LowerMain() {
  checked_ = program_.trapped;
  uint32_t frame = Prologue();
  end_ = a_.NewLabel();
  if (program_.kind == ProgramKind::Window) StartWindows();
  FillViews();
  // The main module's STRING variables get their blocks, then each other
  // module's, as each module's start makes them, with its DYNAMIC library
  // routines bound; then the main module's are bound.
  for (size_t m = 0; m < program_.modules->size(); ++m) {
    for (const auto& owned : program_.symbols) {
      auto v = variables_.find(owned.get());
      if (v == variables_.end() || owned->module != static_cast<int>(m) || owned->owner != nullptr ||
          owned->type != ValueType::String || owned->isArray())
        continue;
      a_.PushImm(59);  // kVariableSize
      PushPlace(v->second);
      CallEntry(kStrAlloc);
    }
    if (m > 0) BindLibraryRoutines(static_cast<int>(m));
  }
  BindLibraryRoutines(0);
  Block((*program_.modules)[0].main);
  a_.Bind(end_);
  DropGosubs();
  if (program_.kind == ProgramKind::Window) {
    CallEntry(kRunMessageLoop);
  } else {
    CallEntry(kConsoleWaitKey);
    a_.Alu(kXor, EAX, EAX);
  }
  a_.Leave();
  a_.Ret();
  Epilogue(frame);
}

// A SUB or FUNCTION (stdcall): the parameters take the arguments (a STRING
// a copy of the text), the other variables and the result start at 0 or
// "", the statements, then the result.
void Lowering::LowerRoutine(const Routine& r) {
  routine_ = &r;
  checked_ = program_.trapped && !r.fpuHandler;
  a_.Bind(routines_.at(&r));
  uint32_t frame = Prologue();
  routineEnd_ = a_.NewLabel();
  frameTemps_.clear();
  if (r.recursive) {
    // A call too deep for the stack ends the program with "Recursion too
    // deep"; each call's variables are in its frame.
    CallEntry(kCheckStack);
    frameTempsAt_ = FrameSlot(20 * frameTempRoom_);
    a_.Push(EDI);
    a_.Lea(EDI, At(EBP, frameTempsAt_));
    a_.MovImm(ECX, 5 * frameTempRoom_);
    a_.Alu(kXor, EAX, EAX);
    a_.RepStosd();
    a_.Pop(EDI);
    for (const Symbol* s : r.locals) {
      if (s->kind != Symbol::Kind::Variable || s->failed) continue;
      if (s->arrayRecord() && !s->reference) {
        // A dynamic array of the call: empty as it starts, erased as it ends.
        Mem place = At(EBP, FrameSlot(ArrayRecordBytes()));
        for (int32_t at = 0; at < ArrayRecordBytes(); at += 4) a_.StoreImm(At(EBP, place.disp + at), 0);
        variables_[s] = place;
        continue;
      }
      if (s->fixedArray()) {
        // An array of the call: all zeros as it starts (its view, when it is
        // passed whole, made then too), its strings freed as it ends.
        int64_t elements = 1;
        for (size_t k = 0; k < s->bounds.size(); ++k) elements *= int64_t{s->bounds[k]} - s->lower(k) + 1;
        int32_t bytes = static_cast<int32_t>(elements) * SizeOf(s->type, s->record);
        Mem place = At(EBP, FrameSlot(bytes));
        a_.Push(EDI);
        a_.Lea(EDI, place);
        a_.MovImm(ECX, bytes / 4);
        a_.Alu(kXor, EAX, EAX);
        a_.RepStosd();
        a_.Pop(EDI);
        variables_[s] = place;
        if (s->viewed) {
          Mem view = At(EBP, FrameSlot(ArrayRecordBytes()));
          a_.Lea(EAX, place);
          a_.Store(view, EAX);
          a_.StoreImm(At(EBP, view.disp + 4), 0);
          a_.StoreImm(At(EBP, view.disp + 8), static_cast<int32_t>(s->bounds.size()));
          for (size_t k = 0; k < kArrayDimensions; ++k) {
            bool used = k < s->bounds.size();
            a_.StoreImm(At(EBP, view.disp + 12 + 8 * static_cast<int32_t>(k)), used ? s->lower(k) : 0);
            a_.StoreImm(At(EBP, view.disp + 16 + 8 * static_cast<int32_t>(k)),
                        used ? static_cast<int32_t>(int64_t{s->bounds[k]} - s->lower(k) + 1) : 0);
          }
          views_[s] = view;
        }
        continue;
      }
      if (s->record != nullptr && !s->reference) {
        // A record of the call: all zeros as it starts, its strings freed as it ends.
        Mem place = At(EBP, FrameSlot(SizeOf(ValueType::Record, s->record)));
        for (int32_t at = 0; at < SizeOf(ValueType::Record, s->record); at += 4)
          a_.StoreImm(At(EBP, place.disp + at), 0);
        variables_[s] = place;
        continue;
      }
      variables_[s] = At(EBP, FrameSlot(s->reference ? 4 : ElementBytes(s->type)));
    }
  }
  std::vector<int32_t> argumentAt;
  int32_t at = 8;
  for (const Param& p : r.params) {
    argumentAt.push_back(at);
    at += ParamBytes(p);
  }
  for (const Symbol* s : r.locals) {
    if (s->parameter < 0 || s->failed || s->kind != Symbol::Kind::Variable) continue;
    Mem place = variables_.at(s);
    Mem argument = At(EBP, argumentAt.at(static_cast<size_t>(s->parameter)));
    if (s->reference || s->type == ValueType::Integer || s->type == ValueType::Double) {
      // The argument's own room on the stack is the parameter (an address,
      // for a BYREF one): each call has its own, with no copy.
      variables_[s] = argument;
      continue;
    }
    switch (s->type) {
      default:
        if (r.recursive) LocalString(place);
        a_.Push(argument);
        PushPlace(place);
        CallEntry(kStrTakeArgument);
        break;
    }
  }
  for (const Symbol* s : r.locals) {
    if (s->parameter >= 0 || s->kind != Symbol::Kind::Variable || s->failed) continue;
    Mem place = variables_.at(s);
    if (s->arrayRecord()) {
      if (!r.recursive) EraseArray(*s);
      continue;
    }
    if (s->record != nullptr) {
      if (r.recursive) continue;
      int64_t elements = 1;
      for (size_t k = 0; k < s->bounds.size(); ++k) elements *= int64_t{s->bounds[k]} - s->lower(k) + 1;
      ResetRecords(*s, place, static_cast<int32_t>(elements));
      continue;
    }
    if (s->isArray()) {
      if (r.recursive) continue;  // made empty with the call's frame
      // An array is emptied at every call: numbers to 0; the texts of a
      // STRING array released (a small block stays with its element).
      int64_t elements = 1;
      for (size_t k = 0; k < s->bounds.size(); ++k) elements *= int64_t{s->bounds[k]} - s->lower(k) + 1;
      if (s->type == ValueType::String) {
        Assembler::Label next = a_.NewLabel();
        AddressOf(EAX, place);
        a_.Bind(next);
        a_.Push(EAX);
        a_.Push(EAX);
        CallEntry(kStrRelease);
        a_.Pop(EAX);
        a_.AluImm(kAdd, EAX, 20);
        a_.CmpAddress(EAX, place.symbol, static_cast<int32_t>(place.disp + elements * 20));
        a_.Jcc(kBelow, next);
      } else {
        a_.Push(EDI);
        a_.MovAddress(EDI, place.symbol, place.disp);
        a_.MovImm(ECX, static_cast<int32_t>(elements * ElementBytes(s->type) / 4));
        a_.Alu(kXor, EAX, EAX);
        a_.RepStosd();
        a_.Pop(EDI);
      }
      continue;
    }
    switch (s->type) {
      case ValueType::Integer: a_.StoreImm(place, 0); break;
      case ValueType::Double:
        a_.Fldz();
        a_.FstpExtended(place);
        break;
      default:
        if (r.recursive) {
          LocalString(place);
        } else {
          a_.PushImm(59);  // kVariableSize
          PushPlace(place);
          CallEntry(kStrAlloc);
        }
        break;
    }
  }
  Block(r.body);
  a_.Bind(routineEnd_);
  DropGosubs();
  // The floating-point handler ends with the unit reset: its flags clear,
  // what the interrupted expression had on the register stack gone.
  if (r.fpuHandler) a_.FwaitFninit();
  if (r.recursive) {
    // A STRING result leaves with the call: its block moves into a
    // temporary of the ring. Then the call's texts are freed.
    Mem saved = At(EBP, FrameSlot(8));
    if (r.isFunction && r.result == ValueType::String) {
      PushPlace(variables_.at(r.resultSymbol));
      CallEntry(kStrHandOver);
      a_.Store(saved, EAX);
      a_.Store(At(EBP, saved.disp + 4), EDX);
    }
    for (const Symbol* s : r.locals) {
      if (s->kind != Symbol::Kind::Variable || s->failed || s->reference) continue;
      if (s->arrayRecord()) {
        EraseArray(*s);
        continue;
      }
      int64_t elements = 1;
      for (size_t k = 0; k < s->bounds.size(); ++k) elements *= int64_t{s->bounds[k]} - s->lower(k) + 1;
      if (s->record != nullptr) {
        if (s->record->strings) {
          a_.PushImm(static_cast<int32_t>(elements));
          PushPlace(variables_.at(s));
          a_.Call(RecordRelease(*s->record));
          a_.AluImm(kAdd, ESP, 8);
        }
        continue;
      }
      if (s->type != ValueType::String) continue;
      if (s->fixedArray()) {
        a_.PushImm(static_cast<int32_t>(elements));
        PushPlace(variables_.at(s));
        a_.Call(kReleaseStrings);
        a_.AluImm(kAdd, ESP, 8);
        continue;
      }
      PushPlace(variables_.at(s));
      CallEntry(kStrFree);
    }
    for (const Mem& t : frameTemps_) {
      PushPlace(t);
      CallEntry(kStrFree);
    }
    if (r.isFunction && r.result == ValueType::String) {
      a_.Load(EAX, saved);
      a_.Load(EDX, At(EBP, saved.disp + 4));
    }
  }
  if (r.isFunction && !(r.recursive && r.result == ValueType::String)) {
    Mem result = variables_.at(r.resultSymbol);
    switch (r.result) {
      case ValueType::Integer: a_.Load(EAX, result); break;
      case ValueType::Double: a_.FldExtended(result); break;
      default:
        a_.Load(EAX, result);
        result.disp += 8;
        a_.Load(EDX, result);
        break;
    }
  }
  // A SUB that handles events tells the window procedure it did not
  // deal with the message itself.
  if (r.handler && !r.isFunction) a_.Alu(kXor, EAX, EAX);
  a_.Leave();
  if (at > 8) a_.RetPop(static_cast<uint16_t>(at - 8));
  else a_.Ret();
  Epilogue(frame);
  routine_ = nullptr;
}

// The signature, its NUL, then the program's name, NUL-padded to 19 bytes.
void Lowering::WriteHeader() {
  std::vector<uint8_t> header(32, 0);
  std::memcpy(header.data(), program_.signature.data(), std::min<size_t>(program_.signature.size(), 12));
  std::memcpy(header.data() + 13, program_.name.data(), std::min<size_t>(program_.name.size(), 18));
  object_.Define(kProgramHeader, header_, object_.Append(header_, header, 4), false);
}

// The program's DATA items, in order, for READ: each its text and length
// (a table with no items still has one, empty).
void Lowering::WriteData() {
  std::vector<uint8_t> table;
  std::vector<Relocation> relocations;
  auto put = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) table.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  std::vector<DataValue> items = program_.data;
  if (items.empty()) items.push_back(DataValue{});
  for (const DataValue& item : items) {
    relocations.push_back({static_cast<uint32_t>(table.size()), ".rdata", Relocation::kAddress});
    put(Literal(item.text));
    put(static_cast<uint32_t>(item.text.size()));
  }
  uint32_t at = object_.Append(rdata_, table, 4);
  object_.AddRelocations(rdata_, relocations, at);
  object_.Define(kProgramData, rdata_, at, false);
  table.clear();
  put(static_cast<uint32_t>(program_.data.size()));
  object_.Define(kProgramDataCount, rdata_, object_.Append(rdata_, table, 4), false);
}

std::string Lowering::Run() {
  CheckProgram();
  PlaceVariables();
  PlaceViews();
  PlaceLibraryRoutines();
  PlaceRecordRoutines();
  // One object for all the modules: the main code, then every routine.
  for (const Module& m : *program_.modules)
    for (const auto& r : m.routines)
      if (!r->fromLibrary && !r->forward) routines_[r.get()] = a_.NewLabel();
  // A library has no main code: its routines are what it is for.
  bool library = program_.kind == ProgramKind::Library;
  bool libraryStart = library && LowerLibraryStart();
  if (!library) LowerMain();
  std::vector<std::pair<std::string, Assembler::Label>> exports;
  for (const Module& m : *program_.modules)
    for (const auto& r : m.routines)
      if (!r->fromLibrary && !r->forward) {
        if (r->exported) {
          exports.push_back({ExportSymbol(*r), a_.NewLabel()});
          a_.Bind(exports.back().second);
        }
        // A recursive routine's temporaries are counted as it is lowered:
        // one that needs more than the region holds is lowered again.
        frameTempRoom_ = kFrameTemps;
        if (!r->recursive) {
          LowerRoutine(*r);
          continue;
        }
        Assembler before = a_;
        LowerRoutine(*r);
        if (static_cast<int32_t>(frameTemps_.size()) > frameTempRoom_) {
          frameTempRoom_ = static_cast<int32_t>(frameTemps_.size());
          a_ = before;
          LowerRoutine(*r);
        }
      }
  RecordRoutines();
  a_.Finish();
  uint32_t at = object_.Append(text_, a_.Bytes(), 16);
  object_.AddRelocations(text_, a_.Relocations(), at);
  if (!library) object_.Define(kProgramBody, text_, at, true);
  for (const auto& e : exports) object_.Define(e.first, text_, at + a_.Offset(e.second), true);
  if (libraryStart) object_.Define("_LibraryStart@12", text_, at + a_.Offset(libraryStart_), true);
  WriteHeader();
  if (program_.reads) WriteData();
  if (program_.kind == ProgramKind::Window) WriteGuiTable();
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
