#include "system/system.h"

namespace tessaric {

namespace {

// Three fields of SYSTEMTIME (as its 16-bit words: 0 year, 1 month, 3 day,
// 4 hour, 5 minute, 6 second), the first with its own number of digits, then
// two digits each, between separators.
struct ClockForm {
  uint8_t fields[3];
  uint8_t firstDigits;
  char separator;
};

constexpr ClockForm kClockForms[] = {
    {{0, 1, 3}, 4, '-'},  // kClockDate
    {{4, 5, 6}, 2, ':'},  // kClockTime
};

}  // namespace

StringValue ClockTextOf(const SYSTEMTIME& time, int32_t form) {
  const ClockForm& f = kClockForms[form == kClockTime ? 1 : 0];
  const WORD* words = &time.wYear;
  char text[10];
  int32_t n = 0;
  for (int32_t i = 0; i < 3; ++i) {
    if (i > 0) text[n++] = f.separator;
    uint32_t value = words[f.fields[i]];
    int32_t digits = i == 0 ? f.firstDigits : 2;
    for (int32_t d = digits; d-- > 0; value /= 10) text[n + d] = static_cast<char>('0' + value % 10);
    n += digits;
  }
  StringDescriptor* slot = NextTempString();
  StrAlloc(slot, static_cast<uint32_t>(n));
  return StrAssign(text, slot, n);
}

StringValue ClockText(int32_t form) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return ClockTextOf(now, form);
}

}  // namespace tessaric
