#include "core/language.h"

namespace tessaric {

void StrTakeArgument(StringDescriptor* parameter, const char* text) {
  // A caller from outside the language may pass no text at all.
  if (text == nullptr) text = EmptyText;
  int32_t length = StrLength(text);
  StrAlloc(parameter, static_cast<uint32_t>(length));
  StrAssign(text, parameter, length);
}

}  // namespace tessaric
