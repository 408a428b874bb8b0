// Floating-point text the x87 way: a logarithm estimates the decimal exponent,
// one scaling by a power of ten formed with the exponent instructions, and one
// packed-BCD store produces all eighteen digits at once.
#include "core/numbers.h"
#include "core/program.h"

namespace tessaric {

namespace {

constexpr uint16_t kInvalidOperation = 0x0001;

// fxam condition codes C3, C2, C0.
constexpr uint16_t kClassMask = 0x4500;
constexpr uint16_t kClassZero = 0x4000;
constexpr uint16_t kClassNaN = 0x0100;
constexpr uint16_t kClassUnsupported = 0x0000;

uint16_t Examine(long double x) {
  uint16_t status;
  asm volatile("fxam\n\tfnstsw %0" : "=a"(status) : "t"(x));
  return status & kClassMask;
}

uint16_t StatusWord() {
  uint16_t status;
  asm volatile("fnstsw %0" : "=a"(status));
  return status;
}

// log10 |x| as log2 |x| times log10 2.
long double Log10Abs(long double x) {
  long double result;
  asm volatile("fabs\n\tfldlg2\n\tfxch\n\tfyl2x" : "=t"(result) : "0"(x));
  return result;
}

// Truncates toward zero by switching the rounding control to chop for the store.
int32_t TruncateToInt32(long double x) {
  uint16_t saved, chop;
  int32_t result;
  asm volatile("fnstcw %0" : "=m"(saved));
  chop = saved | 0x0C00;
  asm volatile("fldcw %1\n\tfistpl %0\n\tfldcw %2" : "=m"(result) : "m"(chop), "m"(saved), "t"(x) : "st");
  return result;
}

// 10^scale as 2^(scale * log2 10): frndint splits the exponent, f2xm1 takes the
// fraction and fscale the integer part.
long double PowerOfTen(int32_t scale) {
  long double result;
  asm volatile(
      "fildl %1\n\t"
      "fldl2t\n\t"
      "fmulp\n\t"              // t = scale * log2 10
      "fld %%st(0)\n\t"
      "frndint\n\t"            // n = round(t); st(1) = t
      "fxch\n\t"
      "fsub %%st(1), %%st\n\t" // f = t - n; st(1) = n
      "f2xm1\n\t"
      "fld1\n\t"
      "faddp\n\t"              // 2^f
      "fscale\n\t"             // 2^f * 2^n
      "fstp %%st(1)"
      : "=t"(result)
      : "m"(scale));
  return result;
}

struct PackedBcd {
  uint8_t bytes[10];  // nine bytes of digit pairs, least significant first; byte 9 holds the sign
};

PackedBcd StoreBcd(long double x) {
  PackedBcd bcd;
  asm volatile("fbstp %0" : "=m"(bcd) : "t"(x) : "st");
  return bcd;
}

char* Copy(char* out, const char* from, int32_t count) {
  while (count-- > 0) *out++ = *from++;
  return out;
}

char* WriteText(char* out, const char* text) {
  while (*text) *out++ = *text++;
  return out;
}

}  // namespace

int32_t FloatToText(char* buffer, long double x) {
  char* out = buffer;
  int32_t form = 0;
  asm volatile("fnclex");
  uint16_t kind = Examine(x);
  if (kind == kClassZero) {
    out = WriteText(out, "0");
  } else if (kind == kClassNaN || kind == kClassUnsupported) {
    out = WriteText(out, "ERROR");
  } else {
    // E is the floor of log10 |x|, except that an exact negative logarithm
    // gives one less; a value one too small is caught by the carry below.
    long double logarithm = Log10Abs(x);
    int32_t exponent = TruncateToInt32(logarithm);
    if (logarithm < 0) exponent -= 1;

    int32_t decimals, scale;
    bool exponentForm = false;
    if (exponent < 0) {
      decimals = 15;
      scale = 15;
    } else if (exponent <= 15) {
      decimals = 15 - exponent;
      scale = decimals;
    } else {
      exponentForm = true;
      decimals = 15;
      scale = 15 - exponent;
    }

    PackedBcd bcd = StoreBcd(x * PowerOfTen(scale));
    if (StatusWord() & kInvalidOperation) {
      out = WriteText(out, "ERROR");
    } else {
      // Sign, "0", then the eighteen digits, most significant first. A value
      // that rounds to all zeros (a tiny negative one) has no sign: -0 is 0.
      uint8_t any = 0;
      for (int i = 0; i < 9; ++i) any |= bcd.bytes[i];
      char work[20];
      work[0] = (bcd.bytes[9] & 0x80) && any != 0 ? '-' : ' ';
      work[1] = '0';
      for (int i = 0; i < 18; ++i) {
        uint8_t pair = bcd.bytes[8 - i / 2];
        work[2 + i] = static_cast<char>('0' + ((i & 1) ? (pair & 0x0F) : (pair >> 4)));
      }
      // The last sixteen digits are significant; a "1" just before them means
      // rounding carried into a seventeenth.
      bool carry = work[3] == '1';
      const char* digits = work + (carry ? 3 : 4);

      *out++ = work[0];
      if (exponentForm) {
        *out++ = *digits++;
        *out++ = '.';
        out = Copy(out, digits, 15);
        int32_t shown = exponent + (carry ? 1 : 0);
        *out++ = 'E';
        *out++ = shown < 0 ? '-' : '+';
        uint32_t magnitude = shown < 0 ? 0u - static_cast<uint32_t>(shown) : static_cast<uint32_t>(shown);
        *out++ = static_cast<char>('0' + magnitude / 1000 % 10);
        *out++ = static_cast<char>('0' + magnitude / 100 % 10);
        *out++ = static_cast<char>('0' + magnitude / 10 % 10);
        *out++ = static_cast<char>('0' + magnitude % 10);
        form = kExponentForm;
      } else {
        int32_t integerDigits = (exponent >= 0 ? exponent + 1 : 1) + (carry ? 1 : 0);
        out = Copy(out, digits, integerDigits);
        if (decimals > 0) {
          *out++ = '.';
          out = Copy(out, digits + integerDigits, decimals);
        }
      }
    }
  }
  *out = 0;
  if (buffer[0] == ' ') {
    for (char* p = buffer; *p; ++p) p[0] = p[1];
  }
  asm volatile("fninit" ::: "memory", "st", "st(1)", "st(2)", "st(3)", "st(4)", "st(5)", "st(6)", "st(7)");
  return form;
}

}  // namespace tessaric
