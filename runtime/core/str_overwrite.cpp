#include "core/language.h"

namespace tessaric {

void StrOverwrite(StringDescriptor* target, int32_t start, int32_t count, StringValue value) {
  int32_t length = target->length;
  // Where MID$(target, start, count) begins, and how much of it is replaced.
  int32_t begin = start < 1 ? 0 : start - 1 > length ? length : start - 1;
  int32_t n = count < 0 ? 0 : count;
  if (n > length - begin) n = length - begin;
  if (n > value.length) n = value.length;
  if (n <= 0) return;
  // The value may be this very text, or a part of it: a move, from the end
  // when the bytes go up.
  char* to = target->text + begin;
  const char* from = value.text;
  if (to > from && to < from + n) {
    for (int32_t i = n; i-- > 0;) to[i] = from[i];
  } else {
    for (int32_t i = 0; i < n; ++i) to[i] = from[i];
  }
}

}  // namespace tessaric
