// A freestanding program that ends through the fatal path in the way its
// command line names: library, function, memory (an allocation the system
// refuses), wrap (a size near 4 GiB), grow (growth to near 4 GiB), append
// (an append past 2 GiB), or nothing at all (a normal end with exit code 0).
#include "../probe_mode.h"
#include "core/program.h"
#include "core/strings.h"

using namespace tessaric;

TESSARIC_PROGRAM("Tessaric0002", "fatalprobe")

namespace {

StringDescriptor Probe = {};

}  // namespace

int ProgramBody() {
  if (ProbeMode("library")) FatalError(0);
  if (ProbeMode("function")) FatalError(1);
  if (ProbeMode("memory")) StrAlloc(&Probe, 0x7FFFFF00);
  if (ProbeMode("wrap")) StrAlloc(&Probe, 0xFFFFFFF0u);
  if (ProbeMode("append")) {
    StrAlloc(&Probe, 59);
    StrAssign(Literal("some text"), &Probe);
    // Past 2 GiB the request can't be met; it must not wrap into a small block.
    StrAppend(Probe.text, &Probe, 0x7FFFFFFF);
  }
  if (ProbeMode("grow")) {
    StrAlloc(&Probe, 59);
    StrGrow(&Probe, 0xFFFFFFF0u);
  }
  return 0;
}
