// Calls demolib through the import table: the loader binds the three routines
// before the program starts, and a missing demolib.dll stops it from starting.
#include "core/program.h"
#include "demolib_caller.h"

using namespace tessaric;

TESSARIC_PROGRAM("Tessaric5642", "libimport")

namespace {

struct ImportTable {
  static void Bind() {}
  static void HelloFromDll() { ::HelloFromDll(); }
  static void ArgsToDll(int32_t first, int32_t second, int32_t third) { ::ArgsToDll(first, second, third); }
  static int32_t ValueFromDll() { return ::ValueFromDll(); }
};

constexpr DemolibCallerTexts kTexts = {
    Literal("Tessaric .LIB Link and Call Tests"),
    Literal("A message box should now appear from demolib.lib"),
    Literal("Now we send three arguments (5, 10, 20) to demolib.lib"),
    Literal("The return value of ValueFromDll in demolib.lib is "),
};

}  // namespace

int ProgramBody() { return CallDemolib<ImportTable>(kTexts); }
