// For freestanding test programs: the mode that a test names as the last
// blank-separated word of the command line.
#pragma once

#include "core/program.h"

inline bool ProbeMode(const char* word) {
  const char* last = ::tessaric::CommandLine;
  for (const char* p = last; *p; ++p)
    if (*p == ' ') last = p + 1;
  for (; *word; ++word, ++last)
    if (*word != *last) return false;
  return *last == 0;
}
