#include "system/system.h"

namespace tessaric {

StringValue EnvironmentText(const char* name) {
  StringDescriptor* slot = NextTempString();
  StrAlloc(slot, kVariableSize);
  for (;;) {
    DWORD room = static_cast<DWORD>(slot->capacity);
    // The length without the NUL when the value fits, its size with the NUL
    // when it does not, and 0 when there is no such variable.
    DWORD got = GetEnvironmentVariableA(name, slot->text, room);
    if (got < room) {
      slot->position = slot->length = static_cast<int32_t>(got);
      slot->text[got] = 0;
      return ValueOf(*slot);
    }
    StrAlloc(slot, got);
  }
}

}  // namespace tessaric
