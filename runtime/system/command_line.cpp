#include "system/system.h"

namespace tessaric {

StringValue CommandArgumentsOf(const char* line) {
  const char* p = line;
  // The program's name, as Windows splits it off: in quotes up to the
  // closing quote, or else up to the first blank.
  if (*p == '"') {
    for (++p; *p != 0 && *p != '"'; ++p) {
    }
    if (*p == '"') ++p;
  } else {
    while (*p != 0 && *p != ' ' && *p != '\t') ++p;
  }
  while (*p == ' ' || *p == '\t') ++p;
  return StringValue{p, StrLength(p)};
}

StringValue CommandArguments() { return CommandArgumentsOf(CommandLine); }

}  // namespace tessaric
