#include "core/language.h"

namespace tessaric {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int32_t HexDigit(char c) {
  if (IsDigit(c)) return c - '0';
  c = static_cast<char>(c | 0x20);
  return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// 10 to the power e by repeated squaring: exact up to 10^27; an absurd
// exponent runs into infinity, or zero, as the arithmetic itself does.
long double PowerOfTen(int32_t e) {
  long double result = 1, base = 10;
  for (uint32_t n = static_cast<uint32_t>(e); n != 0; n >>= 1) {
    if (n & 1) result *= base;
    base *= base;
  }
  return result;
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
    // Up to 19 significant digits are kept; the rest count only toward the exponent.
    uint64_t digits = 0;
    int32_t kept = 0, exponent = 0;
    for (; p < end && IsDigit(*p); ++p) {
      if (kept < 19) {
        digits = digits * 10 + static_cast<uint32_t>(*p - '0');
        if (digits != 0) ++kept;
      } else {
        ++exponent;
      }
    }
    if (p < end && *p == '.') {
      for (++p; p < end && IsDigit(*p); ++p) {
        if (kept < 19) {
          digits = digits * 10 + static_cast<uint32_t>(*p - '0');
          if (digits != 0) ++kept;
          --exponent;
        }
      }
    }
    if (end - p >= 2 && (*p == 'E' || *p == 'e') &&
        (IsDigit(p[1]) || (end - p >= 3 && (p[1] == '+' || p[1] == '-') && IsDigit(p[2])))) {
      bool down = p[1] == '-';
      p += IsDigit(p[1]) ? 1 : 2;
      int32_t written = 0;
      // Far past any exponent an extended number can have; more digits change nothing.
      for (; p < end && IsDigit(*p); ++p)
        if (written < 100000) written = written * 10 + (*p - '0');
      exponent += down ? -written : written;
    }
    number = static_cast<long double>(digits);
    if (digits != 0 && exponent > 0) number *= PowerOfTen(exponent);
    if (digits != 0 && exponent < 0) number /= PowerOfTen(-exponent);
  }
  if (negative) number = -number;
  // Like number text, the conversion leaves no exception flags behind; the
  // number as an operand keeps the clearing after the arithmetic.
  asm volatile("fnclex" : "+t"(number));
  return number;
}

}  // namespace tessaric
