#include "core/language.h"

namespace tessaric {

StringValue StrTemp(StringDescriptor* temp, StringValue value) {
  int32_t length = value.length > 0 ? value.length : 0;
  StrAlloc(temp, static_cast<uint32_t>(length));
  return StrAssign(value.text, temp, length);
}

}  // namespace tessaric
