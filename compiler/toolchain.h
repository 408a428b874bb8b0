// The cross compiler, the runtime and the linker, as the build left them
// described in the kit file beside the compiler.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "emit_cpp.h"

namespace tbc {

struct Kit {
  std::map<std::string, std::string> values;  // cxx, flags, include, runtime, entry, support, layout, finish, ...
  std::string Get(const std::string& key) const;
};

// Finds and reads the kit: TESSARIC_KIT, else tessaric-kit.txt beside the
// compiler. False, with a message, when there is none.
bool LoadKit(Kit& kit, std::string& message);

// Runs a program with its arguments; its output (both streams) goes to output.
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
