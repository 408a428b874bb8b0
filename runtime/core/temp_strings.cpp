#include "core/strings.h"

namespace tessaric {

StringDescriptor TempStringRing[kTempStringSlots] = {};
StringDescriptor* TempStringCursor = nullptr;

StringDescriptor* NextTempString() {
  StringDescriptor* next = TempStringCursor + 1;
  if (TempStringCursor == nullptr || next == TempStringRing + kTempStringSlots) next = TempStringRing;
  return TempStringCursor = next;
}

}  // namespace tessaric
