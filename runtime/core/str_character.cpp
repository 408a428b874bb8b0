#include "core/language.h"

namespace tessaric {

StringValue StrCharacter(int32_t code) {
  char byte = static_cast<char>(code);
  StringDescriptor* slot = NextTempString();
  StrAlloc(slot, 1);
  return StrAssign(&byte, slot, 1);
}

}  // namespace tessaric
