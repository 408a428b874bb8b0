#include "toolchain.h"

#include "archive_symbols.h"
#include "host.h"
#include "link/linker.h"
#include "paths.h"

#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

namespace tbc {

namespace {

std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::istringstream in(text);
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

std::string FileName(const std::string& path) {
  size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The library's name as the kit's libs list it ("user32" for "User32.DLL").
std::string LibraryBase(std::string file) {
  for (char& c : file) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (file.size() > 4 && file.compare(file.size() - 4, 4, ".dll") == 0) file.resize(file.size() - 4);
  return file;
}

// A library the kit links every program with (user32.dll for "user32"): its
// routines come from the kit's import library, so that the program's import
// table names the library once.
bool KitLibrary(const Kit& kit, const std::string& file) {
  for (const std::string& l : Words(kit.Get("libs")))
    if (l == LibraryBase(file)) return true;
  return false;
}

// The first routine declared for a kit library that its import library lacks
// (as Name@8), so that the link is never handed a routine it cannot find.
// Empty when all are there, or when the import library cannot be read (the
// link then speaks for itself).
std::string MissingKitRoutine(const Kit& kit, const LinkPlan::Import& library) {
  std::string path;
  if (!Run({kit.Get("cxx"), "-print-file-name=lib" + LibraryBase(library.library) + ".a"}, path)) return "";
  while (!path.empty() && (path.back() == '\n' || path.back() == '\r')) path.pop_back();
  std::set<std::string> symbols;
  if (!ReadArchiveSymbols(path, symbols)) return "";
  for (const LinkPlan::Import::Routine& r : library.routines)
    if (!symbols.count("__imp__" + r.symbol)) return r.symbol;
  return "";
}

bool WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  return static_cast<bool>(out);
}

// The link through the cross toolchain: windres, dlltool, ld with
// cmake/image_layout.ld and the finishing step. Only the comparison test
// takes it (TESSARIC_LINKER=ld): every build links with LinkOwn.
bool LinkWithLd(const Kit& kit, const BuildRequest& request, std::vector<std::string> objects, BuildError& error) {
  const std::string& work = request.workDir;
  for (size_t i = 0; i < request.plan.resources.size(); ++i) {
    std::string script = request.plan.resources[i].name;
    if (script[0] != '/') script = request.sourceDir + "/" + script;
    std::string object = work + "/resources" + std::to_string(i) + ".o";
    std::vector<std::string> command = {kit.Get("windres"), "-I", request.sourceDir};
    for (const std::string& dir : request.includeDirs) command.insert(command.end(), {"-I", dir});
    command.insert(command.end(), {script, "-O", "coff", "-o", object});
    std::string output;
    if (!Run(command, output)) {
      error.message = output;
      error.resource = static_cast<int>(i);
      return false;
    }
    objects.push_back(object);
  }
  std::vector<std::string> importLibraries;
  for (size_t i = 0; i < request.plan.imports.size(); ++i) {
    if (KitLibrary(kit, request.plan.imports[i].library)) {
      error.missingSymbol = MissingKitRoutine(kit, request.plan.imports[i]);
      if (!error.missingSymbol.empty()) return false;
      continue;
    }
    std::string def = work + "/import" + std::to_string(i) + ".def";
    std::string library = work + "/import" + std::to_string(i) + ".a";
    WriteFile(def, request.plan.imports[i].def);
    std::string output;
    if (!Run({kit.Get("dlltool"), "-k", "-d", def, "-l", library}, output)) {
      error.message = "dlltool could not make the import library of " + request.plan.imports[i].library + ":\n" + output;
      return false;
    }
    importLibraries.push_back(library);
  }

  std::string map = work + "/program.map";
  std::vector<std::string> link = {kit.Get("cxx"), "-Os"};
  bool library = request.plan.kind == ProgramKind::Library;
  if (library) {
    std::string def = work + "/exports.def";
    WriteFile(def, "LIBRARY " + FileName(request.output) + "\n" + request.plan.exportsDef);
    link.insert(link.end(), {"-shared", "-Wl,-e," + request.plan.entry, "-Wl,--image-base,0x10000000",
                             "-Wl,--enable-reloc-section", "-Wl,--kill-at", def});
  } else {
    link.push_back(request.plan.kind == ProgramKind::Window ? "-Wl,--subsystem,windows" : "-Wl,--subsystem,console");
    link.insert(link.end(), {"-Wl,-e,_Start@0", "-Wl,--disable-reloc-section"});
  }
  link.insert(link.end(), {"-nostdlib", "-s", "-Wl,--gc-sections", "-Wl,--no-insert-timestamp",
                           "-Wl,-T," + kit.Get("layout"), "-Wl,-Map," + map});
  // The main module first: its program header opens the writable data.
  link.insert(link.end(), objects.begin(), objects.end());
  if (!library) link.push_back(kit.Get("entry"));
  for (const std::string& s : kit.List("support")) link.push_back(s);
  link.insert(link.end(), importLibraries.begin(), importLibraries.end());
  link.push_back(kit.Get("runtime"));
  for (const std::string& l : Words(kit.Get("libs"))) link.push_back("-l" + l);
  link.insert(link.end(), {"-o", request.output});
  std::string output;
  if (!Run(link, output)) {
    unlink(request.output.c_str());
    error.message = "the linker rejected the program:\n" + output;
    return false;
  }
  output.clear();
  if (!Run({kit.Get("finish"), request.output, map}, output)) {
    unlink(request.output.c_str());
    error.message = "finishing the image failed:\n" + output;
    return false;
  }
  return true;
}

// The image when TESSARIC_LINKER is "ld": the comparison test links the same
// objects both ways.
bool UseLd() {
  const char* linker = std::getenv("TESSARIC_LINKER");
  return linker != nullptr && std::string(linker) == "ld";
}

bool ReadText(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  text = buffer.str();
  return true;
}

// The link by the compiler's own linker (link/linker.h): the program's
// objects, the runtime's start-up and support objects and its archive, the
// system libraries' routines from the kit's table, the routines of other
// libraries the program declares, a library's exports, the resources.
bool LinkOwn(const Kit& kit, const BuildRequest& request, const std::vector<std::string>& objects,
             BuildError& error) {
  const LinkPlan& plan = request.plan;
  link::LinkJob job;
  std::vector<std::string> searchDirs = {request.sourceDir};
  searchDirs.insert(searchDirs.end(), request.includeDirs.begin(), request.includeDirs.end());
  link::ResourceCompiler resources;
  for (size_t i = 0; i < plan.resources.size(); ++i) {
    std::string script = plan.resources[i].name;
    if (script[0] != '/') script = request.sourceDir + "/" + script;
    if (!resources.AddScript(script, searchDirs, error.message)) {
      error.message += "\n";
      error.resource = static_cast<int>(i);
      return false;
    }
  }
  job.resources = std::move(resources.resources);

  std::string tablePath = kit.Get("system"), table;
  if (tablePath.empty() || !ReadText(tablePath, table)) {
    error.message = "the kit names no table of the system libraries' routines (system=), or it cannot be read\n";
    return false;
  }
  link::SystemTable system;
  try {
    system = link::SystemTable::Parse(table, tablePath);
  } catch (const link::LinkError& e) {
    error.message = std::string(e.what()) + "\n";
    return false;
  }
  job.system = &system;
  for (const LinkPlan::Import& library : plan.imports) {
    for (const LinkPlan::Import::Routine& r : library.routines) {
      if (!KitLibrary(kit, library.library)) {
        job.imports.push_back({library.library, r.symbol});
      } else if (!system.Provides(LibraryBase(library.library), r.symbol)) {
        error.missingSymbol = r.symbol;
        return false;
      }
    }
  }

  bool isLibrary = plan.kind == ProgramKind::Library;
  job.kind = isLibrary ? link::ImageKind::Library
                       : plan.kind == ProgramKind::Window ? link::ImageKind::Window : link::ImageKind::Console;
  job.entry = isLibrary ? plan.entry : "_Start@0";
  std::vector<std::string> inputs = objects;
  if (!isLibrary) inputs.push_back(kit.Get("entry"));
  for (const std::string& s : kit.List("support")) inputs.push_back(s);
  for (const std::string& path : inputs) {
    if (!link::ReadInputFile(path, job.objects.emplace_back(), error.message)) return false;
  }
  if (!link::ReadInputFile(kit.Get("runtime"), job.archives.emplace_back(), error.message)) return false;
  if (isLibrary) {
    job.libraryName = FileName(request.output);
    for (const LinkPlan::Export& e : plan.exports)
      job.exports.push_back({e.name, e.symbol, static_cast<uint16_t>(e.ordinal)});
  }

  link::Bytes image;
  std::string problem;
  if (!link::Link(job, image, problem)) {
    error.message = "the linker rejected the program: " + problem + "\n";
    return false;
  }
  if (!host::WriteProgramFile(request.output, image.data(), image.size())) {
    unlink(request.output.c_str());
    error.message = "cannot write " + request.output + "\n";
    return false;
  }
  return true;
}
}  // namespace

namespace {

// How the kit's values are read. A path relative to the kit's folder is
// resolved against it, so that a kit and what it names can move together;
// a program without a folder in its name is found on the search path.
enum class KitValue { kWords, kPaths, kProgram };

struct KitKey {
  const char* name;
  KitValue kind;
  bool required;
};

const KitKey kKitKeys[] = {
    {"runtime", KitValue::kPaths, true},    {"entry", KitValue::kPaths, true},   {"support", KitValue::kPaths, false},
    {"system", KitValue::kPaths, true},     {"libs", KitValue::kWords, true},
    // The build through C++ takes these; a kit without them (the Windows
    // package's) has no C++ compiler to build with.
    {"cxx", KitValue::kProgram, false},     {"flags", KitValue::kWords, false},  {"include", KitValue::kPaths, false},
    {"pch", KitValue::kPaths, false},
    // Only the link through ld takes these (TESSARIC_LINKER=ld, the comparison tests).
    {"layout", KitValue::kPaths, false},    {"finish", KitValue::kProgram, false},
    {"dlltool", KitValue::kProgram, false}, {"windres", KitValue::kProgram, false},
};

// Where the compiler looks for its kit, from its own folder: the build
// folder holds both, an installed copy has bin/ and lib/tessaric/.
const char* const kKitPlaces[] = {"tessaric-kit.txt", "../lib/tessaric/tessaric-kit.txt"};

std::string ResolveWord(const std::string& word, KitValue kind, const std::string& kitFolder) {
  if (kind == KitValue::kWords || host::IsAbsolute(word)) return word;
  if (kind == KitValue::kProgram) {
    bool hasFolder = false;
    for (char c : word) hasFolder = hasFolder || host::IsSeparator(c);
    if (!hasFolder) return word;
  }
  return JoinPath(kitFolder, word);
}

bool FileExists(const std::string& path) { return static_cast<bool>(std::ifstream(path)); }

}  // namespace

std::string Kit::Get(const std::string& key) const {
  std::string text;
  for (const std::string& word : List(key)) text += (text.empty() ? "" : " ") + word;
  return text;
}

std::vector<std::string> Kit::List(const std::string& key) const {
  auto found = values.find(key);
  return found == values.end() ? std::vector<std::string>() : found->second;
}

KitStatus LoadKit(Kit& kit, std::string& message) {
  const char* env = std::getenv("TESSARIC_KIT");
  if (env != nullptr && *env) {
    kit.path = env;
  } else {
    std::string self = host::ProgramPath();
    if (self.empty()) {
      message = "cannot find where the compiler is installed";
      return KitStatus::kBroken;
    }
    std::string looked;
    for (const char* place : kKitPlaces) {
      std::string candidate = JoinPath(DirectoryOf(self), place);
      if (FileExists(candidate)) {
        kit.path = candidate;
        break;
      }
      looked += (looked.empty() ? "" : " or ") + candidate;
    }
    if (kit.path.empty()) {
      message = "no kit names a C++ compiler and the runtime to build with (looked for " + looked + ")";
      return KitStatus::kMissing;
    }
  }
  std::ifstream in(kit.path, std::ios::binary);
  if (!in) {
    message = "cannot read the kit " + kit.path;
    return KitStatus::kBroken;
  }
  std::string folder = DirectoryOf(kit.path);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    size_t eq = line.find('=');
    if (eq == std::string::npos || line[0] == '#') continue;
    std::string key = line.substr(0, eq);
    KitValue kind = KitValue::kWords;
    for (const KitKey& k : kKitKeys)
      if (key == k.name) kind = k.kind;
    std::vector<std::string>& words = kit.values[key];
    words.clear();
    for (const std::string& w : Words(line.substr(eq + 1))) words.push_back(ResolveWord(w, kind, folder));
  }
  for (const KitKey& k : kKitKeys) {
    if (k.required && kit.Get(k.name).empty()) {
      message = kit.path + " names no " + k.name;
      return KitStatus::kBroken;
    }
  }
  return KitStatus::kLoaded;
}

bool KitCanBuild(const Kit& kit, std::string& message) {
  if (kit.Get("cxx").empty() || kit.Get("include").empty()) {
    message = kit.path + " names no C++ compiler";
    return false;
  }
  if (!host::FindProgram(kit.Get("cxx")).empty()) return true;
  message = "the C++ compiler " + kit.Get("cxx") + " that " + kit.path + " names is not here";
  return false;
}

bool Run(const std::vector<std::string>& command, std::string& output) {
  host::Process process = host::RunProcess(command);
  if (!process.started) {
    output += "cannot start " + (command.empty() ? std::string("a program") : command[0]) + "\n";
    return false;
  }
  output += process.output;
  return process.exitCode == 0;
}

bool Build(const Kit& kit, const BuildRequest& request, BuildError& error) {
  const std::string& work = request.workDir;
  std::vector<std::string> objects = request.objects;
  for (size_t i = 0; i < request.cppFiles.size(); ++i) {
    std::string object = work + "/module" + std::to_string(i) + ".o";
    std::vector<std::string> command = {kit.Get("cxx")};
    for (const std::string& f : Words(kit.Get("flags"))) command.push_back(f);
    command.push_back("-std=gnu++17");
    // The precompiled runtime header, when the build made one, is found first.
    if (!kit.Get("pch").empty()) command.insert(command.end(), {"-I", kit.Get("pch")});
    command.insert(command.end(), {"-I", kit.Get("include"), "-c", request.cppFiles[i], "-o", object});
    std::string output;
    if (!Run(command, output)) {
      error.message = "the C++ compiler rejected the code made from the program:\n" + output;
      return false;
    }
    objects.push_back(object);
  }
  if (UseLd()) return LinkWithLd(kit, request, objects, error);
  return LinkOwn(kit, request, objects, error);
}

}  // namespace tbc
