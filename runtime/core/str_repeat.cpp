#include "core/language.h"

namespace tessaric {

StringValue StrRepeat(int32_t count, int32_t code) {
  if (count < 1 || code < 0) return StringValue{EmptyText, 0};
  StringDescriptor* slot = NextTempString();
  StrAlloc(slot, static_cast<uint32_t>(count));
  MemFill(slot->text, static_cast<uint32_t>(count), static_cast<uint8_t>(code));
  slot->text[count] = 0;
  slot->position = slot->length = count;
  return ValueOf(*slot);
}

}  // namespace tessaric
