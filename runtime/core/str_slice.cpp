#include "core/language.h"

namespace tessaric {

StringValue StrSlice(StringValue text, int32_t begin, int32_t count) {
  int64_t end = int64_t{begin} + count;
  if (end > text.length) end = text.length;
  int32_t length = end > begin ? static_cast<int32_t>(end - begin) : 0;
  StringDescriptor* slot = NextTempString();
  StrAlloc(slot, static_cast<uint32_t>(length));
  return StrAssign(text.text + begin, slot, length);
}

}  // namespace tessaric
