#include "core/numbers.h"

namespace tessaric {

namespace {

// Drops trailing zeros of a fixed-form fraction, and the point if nothing is left after it.
void TrimFraction(char* text) {
  char* point = nullptr;
  char* end = text;
  for (; *end; ++end)
    if (*end == '.') point = end;
  if (point == nullptr) return;
  while (end > point + 1 && end[-1] == '0') *--end = 0;
  if (end == point + 1) *point = 0;
}

}  // namespace

StringValue NumberToText(int32_t kind, uint32_t value, long double number) {
  StringDescriptor* slot = NextTempString();
  StrAlloc(slot, 59);
  MemFill(slot->text, static_cast<uint32_t>(slot->capacity), 0);
  if (kind == kUnsignedNumber) {
    UnsignedToText(value, slot->text);
  } else if (kind == kSignedNumber) {
    SignedToText(static_cast<int32_t>(value), slot->text);
  } else if (kind == kFloatNumber) {
    if (FloatToText(slot->text, number) != kExponentForm) TrimFraction(slot->text);
  }
  StrSyncLength(slot);
  return StringValue{slot->text, slot->length};
}

}  // namespace tessaric
