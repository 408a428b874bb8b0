#include "core/numbers.h"

namespace tessaric {

namespace {

// Drops trailing zeros of a fixed-form fraction, and the point if nothing is left after it.
void TrimFraction(char* text) {
  char* point = nullptr;
  char* end = text;
  for (; *end; ++end)
    if (*end == '.') point = end;
  if (point == nullptr) return;
  while (end > point + 1 && end[-1] == '0') *--end = 0;
  if (end == point + 1) *point = 0;
}

}  // namespace

StringValue NumberToText(long double number) {
  StringDescriptor* slot = StartNumberText();
  char* text = slot->text;
  // The exponent form keeps all its digits.
  if (FloatToText(text, number) != kExponentForm) TrimFraction(text);
  return FinishNumberText(slot, StrLength(text));
}

}  // namespace tessaric
