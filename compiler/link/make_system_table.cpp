// tessaric-systable OUT NAME=IMPORT_LIBRARY...
// Writes the table of the system libraries' routines (link/system_table.h)
// from the cross compiler's import libraries, e.g.
//   tessaric-systable build/tessaric-system.txt kernel32=/usr/.../libkernel32.a
// A program of the build machine, run by the build; the kit names its table.
#include <fstream>
#include <iostream>
#include <iterator>

#include "link/system_table.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: tessaric-systable OUT NAME=IMPORT_LIBRARY...\n";
    return 2;
  }
  std::vector<std::pair<std::string, tbc::link::Bytes>> libraries;
  for (int i = 2; i < argc; ++i) {
    std::string arg = argv[i];
    size_t eq = arg.find('=');
    if (eq == std::string::npos) {
      std::cerr << "tessaric-systable: " << arg << " is not NAME=IMPORT_LIBRARY\n";
      return 2;
    }
    std::ifstream in(arg.substr(eq + 1), std::ios::binary);
    if (!in) {
      std::cerr << "tessaric-systable: cannot read " << arg.substr(eq + 1) << "\n";
      return 1;
    }
    libraries.emplace_back(arg.substr(0, eq),
                           tbc::link::Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
  }
  std::string table;
  try {
    table = tbc::link::MakeSystemTable(libraries);
  } catch (const tbc::link::LinkError& e) {
    std::cerr << "tessaric-systable: " << e.what() << "\n";
    return 1;
  }
  std::ofstream out(argv[1], std::ios::binary);
  out << table;
  if (!out) {
    std::cerr << "tessaric-systable: cannot write " << argv[1] << "\n";
    return 1;
  }
  return 0;
}
