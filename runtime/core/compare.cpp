#include "core/numbers.h"

namespace tessaric {

// Machine words while they fit in the shorter string, then byte by byte; no
// read goes past either string's end. In a word read from memory the first
// byte is the lowest, so the first differing word is turned round before the
// unsigned comparison: then its first differing byte decides, as an unsigned
// byte, exactly as byte by byte. Two empty strings, like any two of equal
// length and bytes, are equal.
int32_t StrCompare(const char* text1, int32_t length1, const char* text2, int32_t length2) {
  int32_t shorter = length1 < length2 ? length1 : length2;
  int32_t i = 0;
  // Eight bytes a round while eight remain; the four-byte step then finds
  // the word that differs.
  for (; shorter - i >= 8; i += 8) {
    uint32_t a0, a1, b0, b1;
    __builtin_memcpy(&a0, text1 + i, 4);
    __builtin_memcpy(&a1, text1 + i + 4, 4);
    __builtin_memcpy(&b0, text2 + i, 4);
    __builtin_memcpy(&b1, text2 + i + 4, 4);
    if (((a0 ^ b0) | (a1 ^ b1)) != 0) break;
  }
  for (; shorter - i >= 4; i += 4) {
    uint32_t a, b;
    __builtin_memcpy(&a, text1 + i, 4);
    __builtin_memcpy(&b, text2 + i, 4);
    if (a != b) return __builtin_bswap32(a) > __builtin_bswap32(b) ? 1 : -1;
  }
  for (; i < shorter; ++i) {
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
