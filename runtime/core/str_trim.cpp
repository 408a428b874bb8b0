#include "core/language.h"

namespace tessaric {

namespace {

bool Blank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

StringValue StrTrim(StringValue text, int32_t ends) {
  int32_t begin = 0, end = text.length > 0 ? text.length : 0;
  if (ends & kTrimStart)
    while (begin < end && Blank(text.text[begin])) ++begin;
  if (ends & kTrimEnd)
    while (end > begin && Blank(text.text[end - 1])) --end;
  return StrSlice(text, begin, end - begin);
}

}  // namespace tessaric
