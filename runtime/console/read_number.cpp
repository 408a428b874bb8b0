#include "console/console.h"
#include "core/language.h"

namespace tessaric {

long double ConsoleReadNumber() {
  StringDescriptor* line = NextTempString();
  StrAlloc(line, kVariableSize);
  ConsoleReadLine(line);
  return TextToNumber(ValueOf(*line));
}

}  // namespace tessaric
