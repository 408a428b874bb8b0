#include "core/numbers.h"

namespace tessaric {

namespace {

constexpr uint32_t kNumberTextSize = 59;

}  // namespace

StringDescriptor* StartNumberText() {
  StringDescriptor* slot = NextTempString();
  // A block that StrAlloc would keep stays; the call is skipped because
  // everything else it does (position, length, the first bytes) is done again
  // by the caller, which also ends the text with its NUL. (Clearing the block
  // would take time in proportion to what the slot once held.)
  constexpr uint32_t kRequest = static_cast<uint32_t>(BlockRequest(kNumberTextSize));
  if (static_cast<uint32_t>(slot->capacity) - kRequest > kRequest + kKeptBlock) StrAlloc(slot, kNumberTextSize);
  return slot;
}

}  // namespace tessaric
