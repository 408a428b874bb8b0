// Exact arithmetic on big integers: the digits times a power of ten, or
// divided by one, to as many bits as the rounding needs. The compiler builds
// this file too (compiler/CMakeLists.txt).
#include "core/decimal_number.h"

namespace tessaric {

namespace {

// Significant digits taken as they are; a nonzero digit after them counts as
// a 1 just after the last one kept. No value halfway between two neighbouring
// extended values has more than 11,516 significant digits, so none lies
// strictly between the digits kept and the whole text: both round alike.
constexpr int32_t kKeptDigits = 11520;
// Words for the largest number formed, 10^16471 shifted left by 66 bits
// (about 54,800 bits), with room to spare.
constexpr int32_t kWords = 1760;

// Beyond these decimal exponents of the leading digit a value is infinite, or
// below half the smallest denormal (about 1.8E-4951), which rounds to zero.
constexpr int64_t kLargestLeading = 4932;
constexpr int64_t kSmallestLeading = -4951;

// A non-negative integer, least significant word first: size words in use,
// the highest of them nonzero (none at all for zero).
struct Big {
  int32_t size;
  uint32_t word[kWords];
};

// Static storage: a frame of the freestanding runtime stays small.
Big Numerator, Divisor;

constexpr uint32_t kPowersOfTen[10] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};

void MultiplyAdd(Big& b, uint32_t factor, uint32_t add) {
  uint64_t carry = add;
  for (int32_t i = 0; i < b.size; ++i) {
    uint64_t v = uint64_t{b.word[i]} * factor + carry;
    b.word[i] = static_cast<uint32_t>(v);
    carry = v >> 32;
  }
  if (carry != 0) b.word[b.size++] = static_cast<uint32_t>(carry);
}

void MultiplyByPowerOfTen(Big& b, int32_t count) {
  for (; count >= 9; count -= 9) MultiplyAdd(b, kPowersOfTen[9], 0);
  MultiplyAdd(b, kPowersOfTen[count], 0);
}

int32_t BitLength(const Big& b) { return b.size == 0 ? 0 : 32 * b.size - __builtin_clz(b.word[b.size - 1]); }

uint32_t Bit(const Big& b, int32_t i) {
  if (i < 0 || i >= 32 * b.size) return 0;
  return b.word[i >> 5] >> (i & 31) & 1;
}

// Whether a bit below bit i is set.
bool AnyBelow(const Big& b, int32_t i) {
  int32_t k = 0;
  for (; k < b.size && 32 * (k + 1) <= i; ++k)
    if (b.word[k] != 0) return true;
  return i > 0 && k < b.size && (b.word[k] & ((1u << (i & 31)) - 1)) != 0;
}

void Trim(Big& b) {
  while (b.size > 0 && b.word[b.size - 1] == 0) --b.size;
}

void ShiftLeft(Big& b, int32_t count) {
  if (b.size == 0) return;
  int32_t words = count >> 5, bits = count & 31;
  int32_t size = b.size + words + 1;
  // From the top down, each word is read before it is written over.
  for (int32_t i = size - 1; i >= 0; --i) {
    int32_t from = i - words;
    uint32_t high = from >= 0 && from < b.size ? b.word[from] : 0;
    uint32_t low = from >= 1 && from - 1 < b.size ? b.word[from - 1] : 0;
    b.word[i] = bits == 0 ? high : high << bits | low >> (32 - bits);
  }
  b.size = size;
  Trim(b);
}

void HalveOnce(Big& b) {
  for (int32_t i = 0; i < b.size; ++i) b.word[i] = b.word[i] >> 1 | (i + 1 < b.size ? b.word[i + 1] << 31 : 0);
  Trim(b);
}

bool AtLeast(const Big& a, const Big& b) {
  if (a.size != b.size) return a.size > b.size;
  for (int32_t i = a.size - 1; i >= 0; --i)
    if (a.word[i] != b.word[i]) return a.word[i] > b.word[i];
  return true;
}

// a - b, for a at least b.
void Subtract(Big& a, const Big& b) {
  uint32_t borrow = 0;
  for (int32_t i = 0; i < a.size; ++i) {
    uint64_t v = uint64_t{a.word[i]} - (i < b.size ? b.word[i] : 0) - borrow;
    a.word[i] = static_cast<uint32_t>(v);
    borrow = static_cast<uint32_t>(v >> 32) & 1;
  }
  Trim(a);
}

}  // namespace

ExtendedBits DecimalToExtended(const char* text, int32_t length, int32_t exponent) {
  // The value is digits × 10^scale.
  Big& digits = Numerator;
  digits.size = 0;
  int64_t scale = exponent;
  int32_t kept = 0, chunkDigits = 0;
  uint32_t chunk = 0;
  bool point = false, dropped = false;
  for (int32_t i = 0; i < length; ++i) {
    if (text[i] == '.') {
      point = true;
      continue;
    }
    uint32_t digit = static_cast<uint32_t>(text[i] - '0');
    if (kept < kKeptDigits && (kept != 0 || digit != 0)) {
      chunk = chunk * 10 + digit;
      ++kept;
      if (++chunkDigits == 9) {
        MultiplyAdd(digits, kPowersOfTen[9], chunk);
        chunk = 0;
        chunkDigits = 0;
      }
      if (point) --scale;
    } else if (kept == 0) {  // a leading zero
      if (point) --scale;
    } else {  // past the digits kept
      dropped |= digit != 0;
      if (!point) ++scale;
    }
  }
  if (dropped) {
    chunk = chunk * 10 + 1;
    ++chunkDigits;
    ++kept;
    --scale;
  }
  MultiplyAdd(digits, kPowersOfTen[chunkDigits], chunk);
  if (digits.size == 0) return {0, 0};
  int64_t leading = kept - 1 + scale;
  if (leading > kLargestLeading) return {uint64_t{1} << 63, kExtendedInfinity};
  if (leading < kSmallestLeading) return {0, 0};

  // Now the value is digits × 2^-binaryScale, and a little more when sticky.
  int32_t binaryScale = 0;
  bool sticky = false;
  if (scale >= 0) {
    MultiplyByPowerOfTen(digits, static_cast<int32_t>(scale));
  } else {
    // The quotient of the digits by 10^-scale, with 66 or 67 bits: 64 for the
    // significand, one to round by, one more; whether a remainder is left.
    Big& divisor = Divisor;
    divisor.size = 1;
    divisor.word[0] = 1;
    MultiplyByPowerOfTen(divisor, static_cast<int32_t>(-scale));
    binaryScale = BitLength(divisor) - BitLength(digits) + 66;
    if (binaryScale > 0) ShiftLeft(digits, binaryScale);
    else ShiftLeft(divisor, -binaryScale);
    ShiftLeft(divisor, 66);
    uint32_t quotient[3] = {0, 0, 0};
    for (int32_t j = 66; j >= 0; --j) {
      if (AtLeast(digits, divisor)) {
        Subtract(digits, divisor);
        quotient[j >> 5] |= 1u << (j & 31);
      }
      HalveOnce(divisor);
    }
    sticky = digits.size != 0;
    for (int32_t k = 0; k < 3; ++k) digits.word[k] = quotient[k];
    digits.size = 3;
    Trim(digits);
  }

  // 64 bits of significand, fewer for a denormal (whose lowest bit is worth
  // 2^-16445), rounded to nearest with ties to even.
  int32_t bits = BitLength(digits);
  int32_t top = bits - 1 - binaryScale;  // the value lies in [2^top, 2^(top + 1))
  int32_t keep = top >= -16382 ? 64 : 64 - (-16382 - top);
  int32_t drop = bits - keep;
  uint64_t significand = 0;
  for (int32_t j = keep - 1; j >= 0; --j) significand = significand << 1 | Bit(digits, drop + j);
  int32_t lowest = drop - binaryScale;  // the power of two of the significand's lowest bit
  if (Bit(digits, drop - 1) != 0 && (sticky || AnyBelow(digits, drop - 1) || (significand & 1) != 0)) {
    if (significand == ~uint64_t{0}) {
      significand = uint64_t{1} << 63;
      ++lowest;
    } else {
      ++significand;
    }
  }
  if (significand == 0) return {0, 0};
  if ((significand >> 63) == 0) return {significand, 0};  // a denormal
  int32_t biased = lowest + 63 + 16383;
  if (biased >= kExtendedInfinity) return {uint64_t{1} << 63, kExtendedInfinity};
  return {significand, static_cast<uint16_t>(biased)};
}

}  // namespace tessaric
