#include "core/program.h"
#include "core/statements.h"

namespace tessaric {

namespace {

// Return points of every active routine, the newest last.
constexpr int32_t kGosubLimit = 4096;
void* GosubStack[kGosubLimit];

}  // namespace

int32_t GosubDepth = 0;

void GosubPush(void* point) {
  if (GosubDepth == kGosubLimit) RunError(kRecursionTooDeep);
  GosubStack[GosubDepth++] = point;
}

void* GosubPop(int32_t base) {
  if (GosubDepth <= base) RunError(kReturnWithoutGosub);
  return GosubStack[--GosubDepth];
}

}  // namespace tessaric
