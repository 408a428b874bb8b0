#include "driver.h"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

#include "check.h"
#include "emit_cpp.h"
#include "host.h"
#include "lexer.h"
#include "native/lower.h"
#include "parser.h"
#include "paths.h"
#include "toolchain.h"

namespace tbc {

namespace {

const char kUsage[] =
    "usage: tessaric FILE.bas [MORE.bas ...] [-o OUT] [--emit-cpp] [-I DIR] [--backend cpp|native]\n"
    "  compiles the modules (the first is the main module) into a Windows program\n"
    "  -o OUT      the program (default: the first file's name with .exe, or .dll for a library);\n"
    "              with --emit-cpp the C++ file, or with several modules a folder for them\n"
    "  --emit-cpp  writes the C++ made from the program and stops\n"
    "  -I DIR      a folder where resource scripts find their files\n"
    "  --backend cpp|native\n"
    "              cpp: through C++ and the cross compiler, the default where the kit names one;\n"
    "              native: the compiler writes the program's object itself (the default\n"
    "              without a C++ compiler; a program it cannot build yet is refused)\n";

int Usage(const std::string& problem) {
  std::cerr << "tessaric: " << problem << "\n" << kUsage;
  return kBadUsage;
}

bool ReadFile(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  text = buffer.str();
  return true;
}

bool WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  return static_cast<bool>(out);
}

struct Options {
  std::vector<std::string> files;
  std::string output;
  bool emitCpp = false;
  std::string backend;  // "cpp", "native", or "" to choose by the kit
  std::vector<std::string> includeDirs;
};

// Options may stand before or after the files.
int ParseOptions(const std::vector<std::string>& args, Options& o) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "-h" || a == "--help") {
      std::cout << kUsage;
      return -1;
    } else if (a == "-o" || a == "-I") {
      if (i + 1 >= args.size()) return Usage(a + " needs a value");
      if (a == "-o") {
        if (!o.output.empty()) return Usage("-o is given twice");
        o.output = args[++i];
      } else {
        o.includeDirs.push_back(args[++i]);
      }
    } else if (a == "--emit-cpp") {
      o.emitCpp = true;
    } else if (a == "--backend") {
      if (i + 1 >= args.size()) return Usage(a + " needs a value");
      const std::string& backend = args[++i];
      if (backend != "cpp" && backend != "native") return Usage("unknown back end " + backend + " (cpp or native)");
      o.backend = backend;
    } else if (!a.empty() && a[0] == '-') {
      return Usage("unknown option " + a);
    } else {
      o.files.push_back(a);
    }
  }
  if (o.files.empty()) return Usage("no source file given");
  return 0;
}

}  // namespace

int RunCompiler(const std::vector<std::string>& args) {
  Options options;
  if (int problem = ParseOptions(args, options)) return problem < 0 ? kBuilt : problem;
  if (options.emitCpp && options.files.size() > 1 && options.output.empty())
    return Usage("with several modules, --emit-cpp needs -o and a folder for the C++ files");

  std::vector<SourceFile> files;
  for (const std::string& path : options.files) {
    std::string text;
    if (!ReadFile(path, text)) return Usage("cannot read " + path);
    files.emplace_back(path, std::move(text));
  }
  Diagnostics diagnostics(files);
  std::vector<Module> modules;
  for (size_t i = 0; i < files.size(); ++i) {
    std::vector<Token> tokens = Lex(files[i], static_cast<int>(i), diagnostics);
    modules.push_back(Parse(tokens, static_cast<int>(i), diagnostics));
  }
  Program program;
  Check(modules, files, program, diagnostics);
  if (!diagnostics.empty()) {
    diagnostics.print(std::cerr);
    return kProgramErrors;
  }
  diagnostics.printWarnings(std::cerr);
  if (options.emitCpp) {
    std::vector<EmittedModule> emitted = EmitCpp(program, files);
    if (emitted.size() == 1 && options.output.empty()) {
      std::cout << emitted[0].cpp;
      return kBuilt;
    }
    if (emitted.size() == 1) {
      if (!WriteFile(options.output, emitted[0].cpp)) return Usage("cannot write " + options.output);
      return kBuilt;
    }
    host::MakeFolder(options.output);
    for (size_t i = 0; i < emitted.size(); ++i) {
      // Two modules of the same name in different folders keep apart.
      std::string name = emitted[i].name;
      for (size_t j = 0; j < i; ++j)
        if (emitted[j].name == emitted[i].name) name = emitted[i].name + "_" + std::to_string(i);
      if (!WriteFile(options.output + "/" + name + ".cpp", emitted[i].cpp))
        return Usage("cannot write into the folder " + options.output);
    }
    return kBuilt;
  }

  Kit kit;
  std::string message;
  KitStatus status = LoadKit(kit, message);
  if (status == KitStatus::kBroken) {
    std::cerr << "tessaric: internal error: " << message << "\n";
    return kInternalError;
  }
  // Through C++ where the kit names a C++ compiler that is there, else (as on
  // Windows) through the native back end, unless the command line chose.
  bool native = options.backend == "native";
  if (status == KitStatus::kMissing || (options.backend == "cpp" && !KitCanBuild(kit, message))) {
    std::cerr << "tessaric: cannot build programs here yet: " << message
              << "; --emit-cpp writes the program's C++ all the same\n";
    return kInternalError;
  }
  if (options.backend.empty()) native = !KitCanBuild(kit, message);
  // The native back end makes the object itself; nothing is written when it
  // refuses the program.
  std::string nativeObject;
  if (native && !LowerNative(program, nativeObject, diagnostics)) {
    diagnostics.print(std::cerr);
    return kInternalError;
  }
  std::vector<EmittedModule> emitted = native ? std::vector<EmittedModule>{} : EmitCpp(program, files);
  BuildRequest request;
  request.plan = PlanLink(program);
  request.output = options.output.empty()
                       ? WithExtension(options.files[0], program.kind == ProgramKind::Library ? ".dll" : ".exe")
                       : options.output;
  request.sourceDir = DirectoryOf(options.files[0]);
  request.includeDirs = options.includeDirs;
  if (!host::MakeScratchFolder(request.workDir, message)) {
    std::cerr << "tessaric: internal error: " << message << "\n";
    return kInternalError;
  }
  if (native) {
    std::string path = request.workDir + "/module0.o";
    WriteFile(path, nativeObject);
    request.objects.push_back(path);
  }
  for (size_t i = 0; i < emitted.size(); ++i) {
    std::string path = request.workDir + "/module" + std::to_string(i) + ".cpp";
    WriteFile(path, emitted[i].cpp);
    request.cppFiles.push_back(path);
  }
  BuildError error;
  bool built = Build(kit, request, error);
  if (std::getenv("TESSARIC_KEEP") == nullptr) {
    host::RemoveTree(request.workDir);
  } else {
    std::cerr << "tessaric: scratch files kept in " << request.workDir << "\n";
  }
  if (!built && error.resource >= 0) {
    // The program's own resource script: its error, with the tool's words.
    const ResourceScript& script = request.plan.resources[error.resource];
    diagnostics.error(script.position, "the resource compiler rejected " + script.name);
    diagnostics.print(std::cerr);
    std::cerr << error.message;
    return kProgramErrors;
  }
  if (!built) {
    // A system library lacking a declared routine is the program's error.
    for (const LinkPlan::Import& library : request.plan.imports)
      for (const LinkPlan::Import::Routine& r : library.routines)
        if (!error.missingSymbol.empty() && r.symbol == error.missingSymbol) {
          size_t sign = r.symbol.rfind('@');
          diagnostics.error(r.declared, library.library + " has no routine " + r.symbol.substr(0, sign) + " taking " +
                                            r.symbol.substr(sign + 1) + " bytes of arguments");
          diagnostics.print(std::cerr);
          return kProgramErrors;
        }
    std::cerr << "tessaric: internal error: " << error.message;
    return kInternalError;
  }
  return kBuilt;
}

}  // namespace tbc
