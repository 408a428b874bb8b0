// The registry sample: reads the first value of a key when one is open,
// reports the result code, closes the object and waits for a key. Nothing
// opens a key first, so a run only says so; the registry is never touched.
#include "console/console.h"
#include "core/numbers.h"
#include "core/objects.h"
#include "core/program.h"
#include "registry/registry.h"

using namespace tessaric;

TESSARIC_PROGRAM("Tessaric4144", "hivepeek")

namespace {

RegistryRecord Hive = {HKEY_CURRENT_USER};

}  // namespace

int ProgramBody() {
  QueryObject = &Hive;
  if (Hive.KeyHandle != nullptr) {
    QueryObject = &Hive;
    ConsoleWrite(readstring(Literal("Control Panel\\Appearance\\Schemes")));
    ConsoleNewLine();
    ConsoleWrite(Literal("readstring .error "));
    QueryObject = &Hive;
    ConsoleWrite(SignedText(Hive.error));
    ConsoleNewLine();
  } else {
    ConsoleWrite(Literal("No key open to .readstring"));
    ConsoleNewLine();
  }
  CurrentObject = &Hive;
  RegistryClose(&Hive);
  ConsoleWaitKey();
  return 0;
}
