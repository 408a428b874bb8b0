#include "core/language.h"

namespace tessaric {

namespace {

bool StandsAt(StringValue text, int32_t at, StringValue find) {
  for (int32_t i = 0; i < find.length; ++i)
    if (text.text[at + i] != find.text[i]) return false;
  return true;
}

}  // namespace

StringValue StrReplace(StringValue text, StringValue find, StringValue with) {
  int32_t length = text.length > 0 ? text.length : 0;
  if (find.length <= 0) return StrSlice(text, 0, length);
  // The result's length first, computed wide: one beyond what a text can
  // hold ends the program through StrAlloc ("Insufficient memory").
  int64_t size = length;
  for (int32_t at = 0; at <= length - find.length;) {
    if (StandsAt(text, at, find)) {
      size += int64_t{with.length} - find.length;
      at += find.length;
    } else {
      ++at;
    }
  }
  StringDescriptor* slot = NextTempString();
  StrAlloc(slot, size > 0x7FFFFFFF ? 0xFFFFFFFFu : static_cast<uint32_t>(size));
  int32_t kept = 0;  // the start of the text not yet appended
  for (int32_t at = 0; at <= length - find.length;) {
    if (StandsAt(text, at, find)) {
      StrAppend(text.text + kept, slot, at - kept);
      StrAppend(with, slot);
      at += find.length;
      kept = at;
    } else {
      ++at;
    }
  }
  return StrAppend(text.text + kept, slot, length - kept);
}

}  // namespace tessaric
