#include "core/program.h"
#include "core/statements.h"

namespace tessaric {

namespace {

// The lowest address a recursive routine may start at: the bottom of the
// stack's reserved region, plus room for the runtime and the fatal box.
constexpr uintptr_t kReserve = 256 * 1024;
uintptr_t StackFloor = 0;

}  // namespace

void CheckStack() {
  char here;
  uintptr_t at = reinterpret_cast<uintptr_t>(&here);
  if (StackFloor == 0) {
    MEMORY_BASIC_INFORMATION region;
    if (VirtualQuery(&here, &region, sizeof region) == 0) return;
    StackFloor = reinterpret_cast<uintptr_t>(region.AllocationBase) + kReserve;
  }
  if (at < StackFloor) RunError(kRecursionTooDeep);
}

}  // namespace tessaric
