// A freestanding program that ends through the fatal path in the way its
// command line names: library, function, memory (an allocation the system
// refuses), wrap (a size near 4 GiB), append (an append past 2 GiB), or
// nothing at all (a normal end with exit code 0).
#include "core/program.h"
#include "core/strings.h"

using namespace tessaric;

TESSARIC_PROGRAM("Tessaric0002", "fatalprobe")

namespace {

StringDescriptor Probe = {};

bool Named(const char* word) {
  // The last blank-separated word of the command line.
  const char* last = CommandLine;
  for (const char* p = CommandLine; *p; ++p)
    if (*p == ' ') last = p + 1;
  for (; *word; ++word, ++last)
    if (*word != *last) return false;
  return *last == 0;
}

}  // namespace

int ProgramBody() {
  if (Named("library")) FatalError(0);
  if (Named("function")) FatalError(1);
  if (Named("memory")) StrAlloc(&Probe, 0x7FFFFF00);
  if (Named("wrap")) StrAlloc(&Probe, 0xFFFFFFF0u);
  if (Named("append")) {
    StrAlloc(&Probe, 59);
    StrAssign(Literal("some text"), &Probe);
    // Past 2 GiB the request can't be met; it must not wrap into a small block.
    StrAppend(Probe.text, &Probe, 0x7FFFFFFF);
  }
  if (Named("grow")) {
    StrAlloc(&Probe, 59);
    StrGrow(&Probe, 0xFFFFFFF0u);
  }
  return 0;
}
