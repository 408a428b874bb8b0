#include "core/numbers.h"

namespace tessaric {

namespace {

constexpr uint32_t kNumberTextSize = 59;

}  // namespace

StringDescriptor* StartNumberText() {
  StringDescriptor* slot = NextTempString();
  // A block as large as StrAlloc would ask for stays, as StrAlloc would keep
  // it; the call is skipped because everything else it does (position, length,
  // the first bytes) is done again here and by the caller.
  if (slot->handle == nullptr || static_cast<uint32_t>(slot->capacity) < BlockRequest(kNumberTextSize))
    StrAlloc(slot, kNumberTextSize);
  MemFill(slot->text, static_cast<uint32_t>(slot->capacity), 0);
  return slot;
}

}  // namespace tessaric
