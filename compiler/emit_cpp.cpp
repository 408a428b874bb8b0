// A module's C++ as a whole: headers, the program header, declarations, the
// main code, and the routines; and what the link needs.
#include <algorithm>

#include "emit_internal.h"

namespace tbc {

namespace {

int64_t ElementCountOf(const Symbol& s);

}  // namespace
std::string StorageType(ValueType type, const RecordInfo* record);
namespace {

std::string CppType(ValueType t) {
  switch (t) {
    case ValueType::Integer: return "int32_t";
    case ValueType::Double: return "long double";
    case ValueType::String: return "StringValue";
    default: return "void";
  }
}

std::string ParamType(ValueType t) {
  if (t == ValueType::String) return "const char*";
  return CppType(t);
}

// The first form declared, the program's main form; null in a program without one.
const Symbol* MainForm(const Program& p) {
  for (const Symbol* o : p.guiObjects)
    if (o->object == ObjectKind::Form) return o;
  return nullptr;
}

std::string ElementType(const Symbol& s) { return StorageType(s.type, s.record); }

// How a parameter travels: a value, or the address of the caller's variable
// (BYREF, a record) or array.
std::string ParamCppType(const Param& p) {
  if (p.dimensions > 0) return "ArrayRecord*";
  if (p.byReference || p.type == ValueType::Record) return StorageType(p.type, p.record) + "*";
  return ParamType(p.type);
}

// A variable's declaration without its initial value: a pointer for a
// parameter that is the caller's variable, an ArrayRecord for a dynamic array.
std::string Declarator(const Symbol& s) {
  if (s.reference) return (s.isArray() ? std::string("ArrayRecord*") : ElementType(s) + "*") + " " + s.cppName;
  if (s.arrayRecord()) return "ArrayRecord " + s.cppName;
  return ElementType(s) + " " + s.cppName + (s.isArray() ? "[" + std::to_string(ElementCountOf(s)) + "]" : "");
}

// The bytes of one element, as the C++ compiler lays the records out: every
// field 4-aligned.
int64_t ValueBytes(ValueType type, const RecordInfo* record) {
  if (record != nullptr) {
    int64_t bytes = 0;
    for (const RecordInfo::Field& f : record->fields) bytes += ValueBytes(f.type, f.record);
    return bytes;
  }
  return type == ValueType::String ? 20 : type == ValueType::Double ? 12 : 4;
}

int ArgumentBytes(const Routine& r) {
  int bytes = 0;
  for (const Param& p : r.params) bytes += p.type == ValueType::Double ? 12 : 4;
  return bytes;
}

std::string ExportedName(const Routine& r) { return r.alias.empty() ? r.name : r.alias; }

// A STRING variable of the module, which gets its block when the program
// starts. (The elements of a STRING array start empty, without a block: its
// static storage is all they need.)
bool StartsWithBlock(const Symbol& s, int module) {
  return s.module == module && s.owner == nullptr && s.kind == Symbol::Kind::Variable && s.type == ValueType::String &&
         !s.isArray();
}

bool HasStrings(const Program& p, int module) {
  for (auto& s : p.symbols)
    if (StartsWithBlock(*s, module)) return true;
  return false;
}

bool NeedsStart(const Program& p, int module) {
  if (HasStrings(p, module)) return true;
  for (Routine* r : p.dynamicRoutines)
    if (r->module == module) return true;
  return false;
}

int64_t ElementCount(const Symbol& s) { return ElementCountOf(s); }

int64_t ElementCountOf(const Symbol& s) {
  int64_t n = 1;
  for (size_t k = 0; k < s.bounds.size(); ++k) n *= int64_t{s.bounds[k]} - s.lower(k) + 1;
  return n;
}

std::string Elements(const Symbol& s) { return std::to_string(ElementCount(s)); }

// An array of this many bytes or more is a common symbol, which the image
// layout puts in a section of its own that the loader zero-fills: its zeros
// never reach the file, so the link and the finishing step take no longer for
// it (see cmake/image_layout.ld). Smaller ones stay with the other data.
constexpr int64_t kLargeArrayBytes = 65536;

bool IsLargeArray(const Symbol& s) {
  if (!s.fixedArray() || s.kind != Symbol::Kind::Variable || s.failed || s.reference) return false;
  return ElementCount(s) * ValueBytes(s.type, s.record) >= kLargeArrayBytes;
}

// The namespace of a large array's common symbol: one per module and routine,
// so that the names of different modules and routines never meet.
std::string LargeArraySpace(const Symbol& s) {
  std::string space = "TessaricArrays" + std::to_string(s.module);
  return s.owner != nullptr ? space + "::" + s.owner->cppName : space;
}

// The common symbol's definition, outside every unnamed namespace.
std::string LargeArrayDefinition(const Symbol& s) {
  return "namespace " + LargeArraySpace(s) + " {\n__attribute__((common)) " + ElementType(s) + " " + s.cppName + "[" +
         Elements(s) + "];\n}\n";
}

std::string RegistryRoot(uint32_t root) {
  static const char* const kRoots[] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS",
                                       "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA"};
  if (root >= 0x80000000u && root <= 0x80000006u) return kRoots[root - 0x80000000u];
  return "(HKEY)(ULONG_PTR)" + std::to_string(root) + "u";
}

const char* GenerationName(const Program& p) {
  if (p.generation == kEarliest) return "kEarliestGeneration";
  if (p.generation == kMiddle) return "kMiddleGeneration";
  return p.caretScroll ? "kLatestGeneration" : "WithoutCaretScroll(kLatestGeneration)";
}

// The function type of a library routine, for its declaration.
std::string FunctionType(const Routine& r, const std::string& declarator) {
  std::string result = CppType(r.isFunction ? r.result : ValueType::None);
  std::string text = declarator.empty() ? result + " __stdcall(" : result + " (__stdcall" + declarator + ")(";
  for (size_t i = 0; i < r.params.size(); ++i) text += (i ? ", " : "") + ParamType(r.params[i].type);
  return text + ")";
}

}  // namespace

// The type of a variable's storage (of each element of an array).
std::string StorageType(ValueType type, const RecordInfo* record) {
  if (record != nullptr) return record->cppName;
  switch (type) {
    case ValueType::String: return "StringDescriptor";
    case ValueType::Integer: return "int32_t";
    default: return "long double";
  }
}

Emitter::Emitter(const Program& program, const std::vector<SourceFile>& files, int module)
    : program_(program), files_(files), module_(module), m_((*program.modules)[module]) {}

std::string Emitter::Storage(const Symbol& s) const {
  const std::string& n = s.cppName;
  if (s.kind == Symbol::Kind::Object) {
    switch (s.object) {
      case ObjectKind::Bitmap:
        return "BitmapObject " + n + " = BitmapImage<" + std::to_string(s.bitmapWidth) + ", " +
               std::to_string(s.bitmapHeight) + ", " + std::to_string(s.bitmapDepth) + ">();";
      case ObjectKind::File: return "FileRecord " + n + " = {};";
      case ObjectKind::Registry: return "RegistryRecord " + n + " = {" + RegistryRoot(s.registryRoot) + "};";
      case ObjectKind::Timer: return "TimerObject " + n + " = {};";
      default: break;
    }
    // A program with the newer window procedure gives every record of its
    // table the room for that procedure's further slot.
    bool extended = (program_.needs & kNeedsWindowProc) != 0;
    std::string record = extended ? "ExtendedRecord " : "ObjectRecord ";
    std::string image = extended ? "kExtendedImage" : "kObjectImage";
    // Every form but the main one hides at its close box until the program gives it an OnClose.
    if (s.object == ObjectKind::Form && &s != MainForm(program_))
      image = extended ? "kExtendedOwnedFormImage" : "kOwnedFormImage";
    std::string storage = record + n + " = " + image + ";";
    if (s.object == ObjectKind::RichEdit) storage += "\nCHARRANGE " + n + "$Selection = {};";
    return storage;
  }
  if (IsLargeArray(s)) return "using " + LargeArraySpace(s) + "::" + n + ";" + (s.viewed ? "\n" + View(s) : "");
  std::string storage = Declarator(s) + (s.isArray() || s.type == ValueType::String || s.record ? " = {};" : " = 0;");
  if (s.viewed) storage += "\n" + View(s);
  return storage;
}

// A fixed array passed whole travels as an ArrayRecord that views it.
std::string Emitter::View(const Symbol& s) const {
  std::string bounds;
  for (size_t k = 0; k < s.bounds.size(); ++k)
    bounds += std::string(k ? ", " : "") + "{" + IntegerLiteral(s.lower(k)) + ", " +
              std::to_string(int64_t{s.bounds[k]} - s.lower(k) + 1) + "}";
  return "ArrayRecord " + s.cppName + "$view = {" + s.cppName + ", nullptr, " + std::to_string(s.bounds.size()) + ", {" +
         bounds + "}};";
}

// What becomes of a STRING or record element that goes: the function that
// frees what it holds, or nullptr.
std::string Emitter::Release(ValueType type, const RecordInfo* record) {
  if (record != nullptr) return record->strings ? "Release" + record->cppName : "nullptr";
  return type == ValueType::String ? "ReleaseStrings" : "nullptr";
}

// What a routine's local holds at the start of every call.
std::string Emitter::Reset(const Symbol& s) const {
  const std::string& n = s.cppName;
  if (s.arrayRecord()) return "ArrayErase(&" + n + ", " + Release(s.type, s.record) + ");";
  if (s.record != nullptr) {
    std::string count = s.isArray() ? std::to_string(ElementCountOf(s)) : "1";
    std::string release = s.record->strings ? "Release" + s.record->cppName + "(&" + n + (s.isArray() ? "[0]" : "") + ", " + count + "); " : "";
    return release + "MemFill(&" + n + ", sizeof " + n + ", 0);";
  }
  if (s.type == ValueType::String) {
    // A routine's array is emptied at every call; its elements keep small blocks.
    if (s.isArray()) return "for (StringDescriptor& element : " + n + ") StrRelease(&element);";
    return "StrAlloc(&" + n + ", kVariableSize);";
  }
  if (s.isArray()) return "MemFill(" + n + ", sizeof " + n + ", 0);";
  return n + " = 0;";
}

std::string Emitter::RoutineSignature(const Routine& r, bool definition) const {
  ValueType result = r.isFunction ? r.result : ValueType::None;
  std::string type = r.handler && !r.isFunction ? "int32_t" : CppType(result);
  std::string text = type + " __stdcall " + r.cppName + "(";
  for (size_t i = 0; i < r.params.size(); ++i)
    text += (i ? ", " : "") + ParamCppType(r.params[i]) + (definition ? " a" + std::to_string(i + 1) : "");
  text += ")";
  if (r.exported && !definition)
    text += " asm(\"_" + ExportedName(r) + "@" + std::to_string(ArgumentBytes(r)) + "\")";
  return text;
}

void Emitter::EmitRoutinePrototypes(std::ostringstream& out) {
  std::vector<const Routine*> external;
  for (const Routine* r : program_.routines)
    if (r->crossModule || (r->exported && r->module == module_)) external.push_back(r);
  if (!external.empty()) {
    out << "\n// Routines called across modules, or exported.\nextern \"C\" {\n";
    for (const Routine* r : external) out << RoutineSignature(*r, false) << ";\n";
    out << "}\n";
  }
  bool any = false;
  for (const auto& r : m_.routines) {
    if (r->fromLibrary) {
      if (!r->dynamic) {
        // The entry of the import table that the loader fills in.
        if (!any) out << "\n// Library routines, bound at load time through the import table.\n";
        any = true;
        out << "extern \"C\" " << FunctionType(*r, "* const " + r->cppName) << " asm(\"__imp__" << ExportedName(*r) << "@"
            << ArgumentBytes(*r) << "\");\n";
      }
    }
  }
}

void Emitter::EmitDeclarations(std::ostringstream& out) {
  for (const auto& s : program_.symbols)
    if (s->module == module_ && s->owner == nullptr && IsLargeArray(*s)) out << "\n" << LargeArrayDefinition(*s);
  out << "\nnamespace {\n";
  for (const std::string& c : constants_) out << "\n" << c;
  if (!constants_.empty()) out << "\n";
  bool first = true;
  for (const auto& s : program_.symbols) {
    if (s->module != module_ || s->owner != nullptr || s->kind == Symbol::Kind::Constant || s->failed) continue;
    if (first) out << "\n";
    first = false;
    out << Storage(*s) << "\n";
  }
  // Run-time bound routines: the library's name once, then each name with its entry.
  std::vector<std::string> libraries;
  for (const Routine* r : program_.dynamicRoutines) {
    if (r->module != module_) continue;
    if (std::find(libraries.begin(), libraries.end(), r->library) == libraries.end()) {
      libraries.push_back(r->library);
      out << "\nconst char Library" << libraries.size() << "[] = " << CppText(r->library) << ";";
    }
  }
  for (const Routine* r : program_.dynamicRoutines) {
    if (r->module != module_) continue;
    std::string type = FunctionType(*r, "");
    std::string name = CppText(ExportedName(*r));
    out << "\nDeclaredFunction<" << type << ", sizeof(" << name << ")> " << r->cppName << " = Declare<" << type << ">("
        << name << ");";
  }
  if (!libraries.empty()) out << "\n";
  bool prototypes = false;
  for (const auto& r : m_.routines) {
    if (r->fromLibrary || r->forward || r->crossModule || r->exported) continue;
    if (!prototypes) out << "\n";
    prototypes = true;
    out << RoutineSignature(*r, false) << ";\n";
  }
  out << "\n}  // namespace\n";
}

void Emitter::EmitBody(std::ostringstream& out) {
  out_ = &out;
  routine_ = nullptr;
  checked_ = program_.trapped;
  locals_ = 0;
  maxTemps_ = 0;
  indent_ = 1;
  std::ostringstream body;
  out_ = &body;
  if (program_.kind == ProgramKind::Window) {
    bool extended = (program_.needs & kNeedsWindowProc) != 0;
    Line(std::string(extended ? "RegisterExtendedFormClass" : "RegisterFormClass") + "(&WindowClassInfo, AppIconName);");
    if (program_.tabStops) Line("EnableTabStops();");
  }
  for (const auto& s : program_.symbols)
    if (StartsWithBlock(*s, 0) && !s->failed) Line(Reset(*s));
  for (size_t m = 1; m < program_.modules->size(); ++m)
    if (NeedsStart(program_, static_cast<int>(m))) Line("ModuleStart" + std::to_string(m) + "();");
  std::vector<std::string> libraries;
  for (const Routine* r : program_.dynamicRoutines) {
    if (r->module != 0) continue;
    auto at = std::find(libraries.begin(), libraries.end(), r->library);
    if (at == libraries.end()) libraries.push_back(r->library), at = libraries.end() - 1;
    Line("BindDeclaredFunction(Library" + std::to_string(at - libraries.begin() + 1) + ", &" + r->cppName + ");");
  }
  EmitBlock(m_.main);
  if (program_.kind == ProgramKind::Window) {
    Line("return RunMessageLoop();");
  } else {
    Line("ConsoleWaitKey();");
    Line("return 0;");
  }
  out << "\nint ProgramBody() {\n";
  if (maxTemps_ > 0) out << "  static StringDescriptor Temp[" << maxTemps_ << "];\n";
  if (program_.mainGosub) out << "  GosubFrame Gosubs;\n";
  out << body.str() << "}\n";
}

// A module other than the main one: its strings and bound routines are made
// ready when the program starts.
void Emitter::EmitModuleStart(std::ostringstream& out) {
  bool library = program_.kind == ProgramKind::Library;
  if (module_ == 0 && library) {
    bool any = false;
    for (size_t m = 0; m < program_.modules->size(); ++m) any |= HasStrings(program_, static_cast<int>(m));
    if (!any) return;
    out << "\n// The library's strings are made ready when it is loaded.\n"
        << "extern \"C\" BOOL __stdcall LibraryStart(HINSTANCE, DWORD reason, void*) {\n"
        << "  if (reason == DLL_PROCESS_ATTACH) {\n";
    for (const auto& s : program_.symbols)
      if (StartsWithBlock(*s, 0)) out << "    " << Reset(*s) << "\n";
    for (size_t m = 1; m < program_.modules->size(); ++m)
      if (NeedsStart(program_, static_cast<int>(m))) out << "    ModuleStart" << m << "();\n";
    out << "  }\n  return TRUE;\n}\n";
    return;
  }
  if (module_ == 0 || !NeedsStart(program_, module_)) return;
  out << "\nextern \"C\" void ModuleStart" << module_ << "() {\n";
  for (const auto& s : program_.symbols)
    if (StartsWithBlock(*s, module_)) out << "  " << Reset(*s) << "\n";
  std::vector<std::string> libraries;
  for (const Routine* r : program_.dynamicRoutines) {
    if (r->module != module_) continue;
    auto at = std::find(libraries.begin(), libraries.end(), r->library);
    if (at == libraries.end()) libraries.push_back(r->library), at = libraries.end() - 1;
    out << "  BindDeclaredFunction(Library" << (at - libraries.begin() + 1) << ", &" << r->cppName << ");\n";
  }
  out << "}\n";
}

// Whether no other program code can run while the routine runs: it calls no
// routine, shows no box, handles no events, acts on no window. Its numbers
// may then live on the stack, as nothing could tell them from static ones.
bool Emitter::Quiet(const Block& block) {
  for (const auto& s : block) {
    switch (s->kind) {
      case Stmt::Kind::Call:
      case Stmt::Kind::OnFloatError:
      case Stmt::Kind::OpenConsole: return false;
      case Stmt::Kind::Assign:
        if (s->target->kind == Expr::Kind::Member) return false;
        break;
      default: break;
    }
    for (const Expr* e : {s->target.get(), s->value.get(), s->start.get(), s->end.get(), s->step.get(), s->condition.get()})
      if (e != nullptr && (Summarize(*e).does.effects & kHazard)) return false;
    for (const PrintItem& i : s->items)
      if (Summarize(*i.value).does.effects & kHazard) return false;
    for (const auto& t : s->targets)
      if (Summarize(*t).does.effects & kHazard) return false;
    for (const IfBranch& b : s->branches)
      if ((b.condition && (Summarize(*b.condition).does.effects & kHazard)) || !Quiet(b.body)) return false;
    for (const CaseClause& c : s->cases) {
      for (const CaseItem& i : c.items)
        for (const Expr* e : {i.first.get(), i.last.get()})
          if (e != nullptr && (Summarize(*e).does.effects & kHazard)) return false;
      if (!Quiet(c.body)) return false;
    }
    for (const DimItem& d : s->dims)
      for (const auto* bounds : {&d.bounds, &d.lowers})
        for (const auto& b : *bounds)
          if (b && (Summarize(*b).does.effects & kHazard)) return false;
    if (!Quiet(s->body)) return false;
  }
  return true;
}

void Emitter::EmitRoutine(std::ostringstream& out, const Routine& r) {
  routine_ = &r;
  checked_ = program_.trapped && !r.fpuHandler;
  quiet_ = !program_.trapped && Quiet(r.body);
  locals_ = 0;
  maxTemps_ = 0;
  functionEnd_ = false;
  lastLine_ = r.position.line;
  loops_.clear();
  std::ostringstream body;
  out_ = &body;
  indent_ = 1;
  if (r.recursive) {
    // Each call has its own variables, on the stack; its strings are freed
    // when it ends.
    Line("CheckStack();");
    for (const Symbol* s : r.locals) {
      if (s->kind != Symbol::Kind::Variable || s->failed) continue;
      std::string arg = "a" + std::to_string(s->parameter + 1);
      std::string size = s->isArray() ? "[" + Elements(*s) + "]" : "";
      if (s->reference) {
        Line(Declarator(*s) + " = " + arg + ";");
      } else if (s->arrayRecord()) {
        Line("LocalArray " + s->cppName + "(" + Release(s->type, s->record) + ");");
      } else if (s->record != nullptr) {
        Line((s->record->strings ? "LocalRecord<" + s->record->cppName + "> " : s->record->cppName + " ") + s->cppName +
             size + (s->record->strings ? ";" : " = {};"));
        if (s->viewed) Line(View(*s));
      } else if (s->type == ValueType::String) {
        Line("LocalString " + s->cppName + size + ";");
        if (s->parameter >= 0) Line("StrTakeArgument(&" + s->cppName + ", " + arg + ");");
      } else {
        Line(CppType(s->type) + " " + s->cppName + size + (s->parameter >= 0 ? " = " + arg : " = {}") + ";");
      }
      if (s->viewed && s->record == nullptr) Line(View(*s));
    }
  } else {
    for (const Symbol* s : r.locals) {
      if (s->parameter >= 0) {
        std::string arg = "a" + std::to_string(s->parameter + 1);
        if (s->type == ValueType::String && !s->reference) Line("StrTakeArgument(&" + s->cppName + ", " + arg + ");");
        else if (OnStack(r, *s)) Line(CppType(s->type) + " " + s->cppName + " = " + arg + ";");
        else Line(s->cppName + " = " + arg + ";");
      }
    }
    for (const Symbol* s : r.locals) {
      if (s->parameter >= 0 || s->kind != Symbol::Kind::Variable || s->failed) continue;
      if (OnStack(r, *s)) Line(CppType(s->type) + " " + s->cppName + " = 0;");
      else Line(Reset(*s));
    }
  }
  EmitBlock(r.body);
  if (functionEnd_) out_->write("FunctionEnd:\n", 13);
  if (r.fpuHandler) Line("ResetFpu();");
  if (r.isFunction && r.recursive) {
    const std::string& v = r.resultSymbol->cppName;
    Line(r.result == ValueType::String ? "return StrHandOver(&" + v + ");" : "return " + v + ";");
  } else if (r.isFunction && !r.exported) {
    // The result comes back as the C++ value; only an exported FUNCTION hands
    // it over through its result record, as other programs expect.
    const std::string& v = r.resultSymbol->cppName;
    Line(r.result == ValueType::String ? "return ValueOf(" + v + ");" : "return " + v + ";");
  } else if (r.isFunction) {
    const std::string& v = r.resultSymbol->cppName;
    switch (r.result) {
      case ValueType::Integer:
        Line("StoreResult(&Result, static_cast<long double>(" + v + "));");
        Line("return RoundToInteger(LoadNumberResult(&Result));");
        break;
      case ValueType::Double:
        Line("StoreResult(&Result, " + v + ");");
        Line("return LoadNumberResult(&Result);");
        break;
      default:
        Line("StoreResult(&Result, kStringResult, ValueOf(" + v + "));");
        Line("return LoadStringResult(&Result);");
        break;
    }
  } else if (r.handler) {
    Line("return 0;");
  }
  out << "\n// " << r.position.line << ": " << files_[m_.file].line(r.position.line).substr(0, 200) << "\n";
  for (const Symbol* s : r.locals)
    if (IsLargeArray(*s) && !r.recursive) out << LargeArrayDefinition(*s);
  if (!r.crossModule && !r.exported) out << "namespace {\n";
  out << RoutineSignature(r, true) << " {\n";
  for (const Symbol* s : r.locals) {
    if (s->kind != Symbol::Kind::Variable || r.recursive || OnStack(r, *s)) continue;
    if (IsLargeArray(*s)) {
      out << "  using " << LargeArraySpace(*s) << "::" << s->cppName << ";\n";
      continue;
    }
    out << "  static " << Declarator(*s) << ";\n";
    if (s->viewed) out << "  static " << View(*s) << "\n";
  }
  if (r.isFunction && r.exported) out << "  static FunctionResult Result;\n";
  if (maxTemps_ > 0) out << (r.recursive ? "  LocalTemp Temp[" : "  static StringDescriptor Temp[") << maxTemps_ << "];\n";
  if (r.gosub) out << "  GosubFrame Gosubs;\n";
  out << body.str() << "}\n";
  if (!r.crossModule && !r.exported) out << "}  // namespace\n";
  routine_ = nullptr;
}

// Each TYPE as a struct, after those it holds, with the copy of a whole
// record and the release of the strings it holds. The same in every module.
void Emitter::EmitRecords(std::ostringstream& out) {
  for (const auto& owned : program_.records) {
    const RecordInfo& r = *owned;
    out << "\nstruct " << r.cppName << " {\n";
    for (const RecordInfo::Field& f : r.fields) out << "  " << StorageType(f.type, f.record) << " " << f.cppName << ";\n";
    out << "};\n";
    out << "inline void CopyRecord(" << r.cppName << "* d, const " << r.cppName << "* s) {\n";
    for (const RecordInfo::Field& f : r.fields) {
      if (f.record != nullptr) out << "  CopyRecord(&d->" << f.cppName << ", &s->" << f.cppName << ");\n";
      else if (f.type == ValueType::String) out << "  StrAssign(ValueOf(s->" << f.cppName << "), &d->" << f.cppName << ");\n";
      else out << "  d->" << f.cppName << " = s->" << f.cppName << ";\n";
    }
    out << "}\n";
    if (!r.strings) continue;
    out << "inline void Release" << r.cppName << "(void* elements, int32_t count) {\n"
        << "  " << r.cppName << "* r = static_cast<" << r.cppName << "*>(elements);\n"
        << "  for (int32_t i = 0; i < count; ++i) {\n";
    for (const RecordInfo::Field& f : r.fields) {
      if (f.type == ValueType::String) out << "    ReleaseStrings(&r[i]." << f.cppName << ", 1);\n";
      else if (f.record != nullptr && f.record->strings)
        out << "    Release" << f.record->cppName << "(&r[i]." << f.cppName << ", 1);\n";
    }
    out << "  }\n}\n";
    out << "inline void ReleaseRecord(" << r.cppName << "* r) { Release" << r.cppName << "(r, 1); }\n";
  }
}

// The program's DATA items, in order, for READ.
void Emitter::EmitData(std::ostringstream& out) {
  out << "\nnamespace tessaric {\nconst DataItem ProgramData[] = {";
  for (size_t i = 0; i < program_.data.size(); ++i)
    out << (i ? ",\n    " : "\n    ") << "{" << CppText(program_.data[i].text) << ", " << program_.data[i].text.size() << "}";
  if (program_.data.empty()) out << "{\"\", 0}";
  out << "};\nconst int32_t ProgramDataCount = " << program_.data.size() << ";\n}  // namespace tessaric\n";
}

std::string Emitter::Run() {
  std::ostringstream code;
  if (module_ == 0 && program_.kind != ProgramKind::Library) EmitBody(code);
  EmitModuleStart(code);
  for (const auto& r : m_.routines)
    if (!r->fromLibrary && !r->forward) EmitRoutine(code, *r);

  std::ostringstream out;
  out << "// " << files_[m_.file].path << ", compiled by tessaric: each statement's code stands under its source line.\n";
  out << "#include \"compiled.h\"\n";
  out << "\nusing namespace tessaric;\n";
  EmitRecords(out);
  if (module_ == 0) {
    out << "\nTESSARIC_PROGRAM(" << CppText(program_.signature) << ", " << CppText(program_.name) << ")\n";
    if (program_.kind == ProgramKind::Window)
      out << "TESSARIC_GUI(" << program_.guiObjects.size() << ", " << GenerationName(program_) << ")\n";
  }
  if (module_ == 0) {
    bool starts = false;
    for (size_t m = 1; m < program_.modules->size(); ++m) starts |= NeedsStart(program_, static_cast<int>(m));
    if (starts) {
      out << "\n// Each other module makes its strings and bound routines ready.\nextern \"C\" {\n";
      for (size_t m = 1; m < program_.modules->size(); ++m)
        if (NeedsStart(program_, static_cast<int>(m))) out << "void ModuleStart" << m << "();\n";
      out << "}\n";
    }
  }
  EmitRoutinePrototypes(out);
  EmitDeclarations(out);
  if (module_ == 0 && program_.reads) EmitData(out);
  out << code.str();
  return out.str();
}

std::vector<EmittedModule> EmitCpp(const Program& program, const std::vector<SourceFile>& files) {
  std::vector<EmittedModule> modules;
  for (size_t m = 0; m < program.modules->size(); ++m) {
    Emitter e(program, files, static_cast<int>(m));
    modules.push_back({(*program.modules)[m].name, e.Run()});
  }
  return modules;
}

LinkPlan PlanLink(const Program& program) {
  LinkPlan plan;
  plan.kind = program.kind;
  plan.resources = program.resources;
  if (program.kind == ProgramKind::Library) {
    std::vector<const Routine*> exports;
    for (const Routine* r : program.routines)
      if (r->exported) exports.push_back(r);
    std::sort(exports.begin(), exports.end(), [](const Routine* a, const Routine* b) { return a->ordinal < b->ordinal; });
    std::string def = "EXPORTS\n";
    for (const Routine* r : exports) {
      def += "  " + ExportedName(*r) + "@" + std::to_string(ArgumentBytes(*r)) + " @" + std::to_string(r->ordinal) + "\n";
      plan.exports.push_back(
          {ExportedName(*r), "_" + ExportedName(*r) + "@" + std::to_string(ArgumentBytes(*r)), r->ordinal});
    }
    plan.exportsDef = def;
    bool strings = false;
    for (size_t m = 0; m < program.modules->size(); ++m) strings |= HasStrings(program, static_cast<int>(m));
    plan.entry = strings ? "_LibraryStart@12" : "_LibraryEntry@12";
  }
  for (const ImportLibrary& library : program.imports) {
    LinkPlan::Import import;
    import.library = library.file;
    import.def = "LIBRARY \"" + library.file + "\"\nEXPORTS\n";
    for (const Routine* r : library.routines) {
      std::string symbol = ExportedName(*r) + "@" + std::to_string(ArgumentBytes(*r));
      import.def += "  " + symbol + "\n";
      import.routines.push_back({symbol, r->position});
    }
    plan.imports.push_back(import);
  }
  return plan;
}

}  // namespace tbc
