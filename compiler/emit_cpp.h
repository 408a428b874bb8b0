// The checked tree to C++ against the runtime's headers: one file per module,
// in the shape of a hand-written program, each statement's code under a
// comment with its source line.
#pragma once

#include <string>
#include <vector>

#include "check.h"

namespace tbc {

struct EmittedModule {
  std::string name;  // the module's base name
  std::string cpp;
};

// What the link needs besides the objects.
struct LinkPlan {
  ProgramKind kind = ProgramKind::Console;
  std::string exportsDef;  // a library's .def, empty otherwise
  struct Export {
    std::string name;    // as other programs import it
    std::string symbol;  // _Name@8, the routine's symbol
    int ordinal = 0;
  };
  std::vector<Export> exports;  // a library's, in the order of their ordinals
  struct Import {
    std::string library;
    std::string def;  // a .def from which dlltool makes the import library
    struct Routine {
      std::string symbol;  // Name@8, as the import table knows it
      Position declared;
    };
    std::vector<Routine> routines;
  };
  std::vector<Import> imports;
  std::vector<ResourceScript> resources;
  std::string entry;  // a library's entry point
};

std::vector<EmittedModule> EmitCpp(const Program& program, const std::vector<SourceFile>& files);
LinkPlan PlanLink(const Program& program);

}  // namespace tbc
