#include "core/language.h"

namespace tessaric {

namespace {

// A copy in a new temporary, with the letters from first to last moved by shift.
StringValue ChangeCase(StringValue text, char first, char last, int shift) {
  int32_t length = text.length > 0 ? text.length : 0;
  StringDescriptor* slot = NextTempString();
  StrAlloc(slot, static_cast<uint32_t>(length));
  StringValue copy = StrAssign(text.text, slot, length);
  for (int32_t i = 0; i < length; ++i)
    if (slot->text[i] >= first && slot->text[i] <= last) slot->text[i] = static_cast<char>(slot->text[i] + shift);
  return copy;
}

}  // namespace

StringValue StrUpper(StringValue text) { return ChangeCase(text, 'a', 'z', 'A' - 'a'); }
StringValue StrLower(StringValue text) { return ChangeCase(text, 'A', 'Z', 'a' - 'A'); }

}  // namespace tessaric
