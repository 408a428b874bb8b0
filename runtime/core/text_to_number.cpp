#include "core/decimal_number.h"
#include "core/language.h"

namespace tessaric {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int32_t HexDigit(char c) {
  if (IsDigit(c)) return c - '0';
  c = static_cast<char>(c | 0x20);
  return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

}  // namespace

long double TextToNumber(StringValue value) {
  const char* p = value.text;
  const char* end = value.text + (value.length > 0 ? value.length : 0);
  while (p < end && (*p == ' ' || *p == '\t')) ++p;
  bool negative = false;
  if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
  long double number;
  if (end - p >= 2 && p[0] == '&' && (p[1] == 'H' || p[1] == 'h')) {
    // A 32-bit pattern, as the language's &H literals are.
    uint32_t bits = 0;
    for (p += 2; p < end && HexDigit(*p) >= 0; ++p) bits = bits << 4 | static_cast<uint32_t>(HexDigit(*p));
    number = static_cast<int32_t>(bits);
  } else {
    // Digits with a point among them, then an exponent: the nearest extended
    // value, as the compiler converts its literals.
    const char* digits = p;
    while (p < end && IsDigit(*p)) ++p;
    if (p < end && *p == '.')
      for (++p; p < end && IsDigit(*p); ++p) {
      }
    int32_t count = static_cast<int32_t>(p - digits);
    int32_t exponent = 0;
    if (end - p >= 2 && (*p == 'E' || *p == 'e') &&
        (IsDigit(p[1]) || (end - p >= 3 && (p[1] == '+' || p[1] == '-') && IsDigit(p[2])))) {
      bool down = p[1] == '-';
      p += IsDigit(p[1]) ? 1 : 2;
      // Far past any exponent an extended number can have; more digits change nothing.
      for (; p < end && IsDigit(*p); ++p)
        if (exponent < 100000) exponent = exponent * 10 + (*p - '0');
      if (down) exponent = -exponent;
    }
    ExtendedBits bits = DecimalToExtended(digits, count, exponent);
    struct {
      uint64_t significand;
      uint16_t exponent;
    } fields = {bits.significand, bits.exponent};
    __builtin_memcpy(&number, &fields, 10);
  }
  if (negative) number = -number;
  // Like number text, the conversion leaves no exception flags behind; the
  // number as an operand keeps the clearing after the arithmetic.
  asm volatile("fnclex" : "+t"(number));
  return number;
}

}  // namespace tessaric
