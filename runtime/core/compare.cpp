#include "core/numbers.h"

namespace tessaric {

int32_t StrCompare(const char* text1, int32_t length1, const char* text2, int32_t length2) {
  if (length1 == 0 && length2 == 0) return 0;
  int32_t shorter = length1 < length2 ? length1 : length2;
  for (int32_t i = 0; i < shorter; ++i) {
    uint8_t a = static_cast<uint8_t>(text1[i]);
    uint8_t b = static_cast<uint8_t>(text2[i]);
    if (a != b) return a > b ? 1 : -1;
  }
  if (length1 == length2) return 0;
  return length1 > length2 ? 1 : -1;
}

int32_t FloatCompare(long double left, long double right) {
  // Equal first: an unordered pair reports equal, as the x87 flags do.
  if (!(left < right) && !(left > right)) return 0;
  return left < right ? -1 : 1;
}

}  // namespace tessaric
