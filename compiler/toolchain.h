// The cross compiler, the runtime and the linker, as the build left them
// described in the kit file beside the compiler.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "emit_cpp.h"

namespace tbc {

struct Kit {
  std::string path;  // the kit file
  // cxx, flags, include, runtime, entry, support, layout, finish, ...: each
  // value a list of words, the paths among them resolved against the kit's folder.
  std::map<std::string, std::vector<std::string>> values;
  // The words of a value joined by blanks ("" when the kit has no such key).
  std::string Get(const std::string& key) const;
  // The words of a value, each whole: a path may hold blanks.
  std::vector<std::string> List(const std::string& key) const;
};

enum class KitStatus {
  kLoaded,
  kMissing,  // no kit where the compiler looks: it cannot build here
  kBroken,   // a kit that cannot be read or lacks a key
};

// Finds and reads the kit: TESSARIC_KIT when set, else tessaric-kit.txt
// beside the compiler (its build folder), else ../lib/tessaric/ from its
// folder (an installed copy). Anything but kLoaded comes with a message.
KitStatus LoadKit(Kit& kit, std::string& message);

// Whether the kit's C++ compiler is there to be started; if not, a message
// saying that the program cannot be built here.
bool KitCanBuild(const Kit& kit, std::string& message);

// Runs a program with its arguments; its output (both streams) goes to
// output. False when it fails or cannot be started (output then says so).
bool Run(const std::vector<std::string>& command, std::string& output);

struct BuildRequest {
  std::vector<std::string> cppFiles;  // the main module's first
  std::vector<std::string> objects;   // made already (by the native back end), linked first
  std::string output;
  LinkPlan plan;
  std::string sourceDir;               // where resource scripts are found
  std::vector<std::string> includeDirs;
  std::string workDir;                 // for objects and scratch files
};

struct BuildError {
  std::string message;        // the tools' messages
  std::string missingSymbol;  // Name@N: declared for a system library that lacks it
  int resource = -1;          // the resource script the resource compiler refused
};

// Compiles and links; false with what went wrong in error.
bool Build(const Kit& kit, const BuildRequest& request, BuildError& error);

}  // namespace tbc
