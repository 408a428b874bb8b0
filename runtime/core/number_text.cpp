#include "core/numbers.h"

namespace tessaric {

char* StartNumberText() {
  StringDescriptor* slot = NextTempString();
  StrAlloc(slot, 59);
  MemFill(slot->text, static_cast<uint32_t>(slot->capacity), 0);
  return slot->text;
}

StringValue FinishNumberText() {
  StrSyncLength(TempStringCursor);
  return ValueOf(*TempStringCursor);
}

StringValue NumberToText(int32_t kind, uint32_t value) {
  char* text = StartNumberText();
  if (kind == kUnsignedNumber) {
    UnsignedToText(value, text);
  } else if (kind == kSignedNumber) {
    SignedToText(static_cast<int32_t>(value), text);
  }
  return FinishNumberText();
}

}  // namespace tessaric
