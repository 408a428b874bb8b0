#include "core/numbers.h"

namespace tessaric {

StringDescriptor ConcatAccumulator = {};

// Every concatenation starts afresh, so its value must be consumed before the next one.
void ConcatBegin() { StrAlloc(&ConcatAccumulator, 63); }

}  // namespace tessaric
