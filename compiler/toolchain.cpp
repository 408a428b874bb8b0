#include "toolchain.h"

#include "archive_symbols.h"

#include <fcntl.h>
#include <sys/wait.h>
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

std::string Directory(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? "." : path.substr(0, slash);
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

}  // namespace

std::string Kit::Get(const std::string& key) const {
  auto found = values.find(key);
  return found == values.end() ? "" : found->second;
}

bool LoadKit(Kit& kit, std::string& message) {
  std::string path;
  if (const char* env = std::getenv("TESSARIC_KIT")) {
    path = env;
  } else {
    char self[4096];
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) {
      message = "cannot find where the compiler is installed";
      return false;
    }
    self[n] = 0;
    path = Directory(self) + "/tessaric-kit.txt";
  }
  std::ifstream in(path);
  if (!in) {
    message = "the runtime is not built (no " + path + "); run make build first";
    return false;
  }
  for (std::string line; std::getline(in, line);) {
    size_t eq = line.find('=');
    if (eq == std::string::npos || line[0] == '#') continue;
    kit.values[line.substr(0, eq)] = line.substr(eq + 1);
  }
  for (const char* key : {"cxx", "flags", "include", "runtime", "entry", "layout", "finish", "dlltool", "windres", "libs"}) {
    if (kit.Get(key).empty()) {
      message = path + " names no " + key;
      return false;
    }
  }
  return true;
}

bool Run(const std::vector<std::string>& command, std::string& output) {
  int pipes[2];
  if (pipe(pipes) != 0) {
    output = "cannot make a pipe";
    return false;
  }
  pid_t child = fork();
  if (child < 0) {
    output = "cannot start " + command[0];
    return false;
  }
  if (child == 0) {
    dup2(pipes[1], 1);
    dup2(pipes[1], 2);
    close(pipes[0]);
    close(pipes[1]);
    int nothing = open("/dev/null", O_RDONLY);
    if (nothing >= 0) dup2(nothing, 0);
    std::vector<char*> argv;
    for (const std::string& a : command) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  close(pipes[1]);
  char buffer[4096];
  for (ssize_t n; (n = read(pipes[0], buffer, sizeof buffer)) > 0;) output.append(buffer, static_cast<size_t>(n));
  close(pipes[0]);
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
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
  for (const std::string& s : Words(kit.Get("support"))) link.push_back(s);
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

}  // namespace tbc
