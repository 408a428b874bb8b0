// Calls demolib bound at run time: one LoadLibraryA and one GetProcAddress per
// declared routine, ending through FatalError when either fails.
#include "core/program.h"
#include "demolib_caller.h"
#include "library/library.h"

using namespace tessaric;

TESSARIC_PROGRAM("Tessaric5267", "libbind")

namespace {

const char LibraryName[] = "demolib.dll";
auto Hello = Declare<decltype(::HelloFromDll)>("HelloFromDll");
auto Args = Declare<decltype(::ArgsToDll)>("ArgsToDll");
auto Value = Declare<decltype(::ValueFromDll)>("ValueFromDll");

struct RunTimeBinding {
  static void Bind() {
    BindDeclaredFunction(LibraryName, &Hello);
    BindDeclaredFunction(LibraryName, &Args);
    BindDeclaredFunction(LibraryName, &Value);
  }
  static void HelloFromDll() { Hello.entry(); }
  static void ArgsToDll(int32_t first, int32_t second, int32_t third) { Args.entry(first, second, third); }
  static int32_t ValueFromDll() { return Value.entry(); }
};

constexpr DemolibCallerTexts kTexts = {
    Literal("Tessaric .DLL Module Call Tests"),
    Literal("A message box should now appear from demolib.dll"),
    Literal("Now we send three arguments (5, 10, 20) to demolib.dll"),
    Literal("The return value of ValueFromDll in demolib.dll is "),
};

}  // namespace

int ProgramBody() { return CallDemolib<RunTimeBinding>(kTexts); }
