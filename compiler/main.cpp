// tessaric: Tessaric BASIC source to a Windows program.
#include <exception>
#include <iostream>
#include <new>

#include "driver.h"
#include "host.h"

int main(int argc, char** argv) {
  // --emit-cpp to standard output gives the bytes it writes with -o.
  tbc::host::UseBinaryStreams();
  try {
    return tbc::RunCompiler(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::bad_alloc&) {
    std::cerr << "tessaric: internal error: out of memory\n";
  } catch (const std::exception& e) {
    std::cerr << "tessaric: internal error: " << e.what() << "\n";
  }
  return tbc::kInternalError;
}
