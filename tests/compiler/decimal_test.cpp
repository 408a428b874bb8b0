// The conversion of decimal text to an extended number that VAL and the
// compiler's literals share (runtime/core/decimal_number.cpp), against the C
// library's strtold on this machine, whose long double is the same 80-bit
// extended type: the nearest value, ties to even, for any number of digits.
// Random texts of every shape, the edges of the range, and values exactly
// halfway between two neighbours, whose texts run to thousands of digits.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "../../runtime/core/decimal_number.h"

namespace {

using tessaric::DecimalToExtended;
using tessaric::ExtendedBits;

// A failure prints the seed; set TESSARIC_DECIMAL_SEED to replay another.
constexpr uint64_t kDefaultSeed = 20250301;

struct Fields {
  uint64_t significand;
  uint16_t exponent;
  bool operator==(const Fields& other) const {
    return significand == other.significand && exponent == other.exponent;
  }
};

std::ostream& operator<<(std::ostream& out, const Fields& f) {
  char text[64];
  std::snprintf(text, sizeof text, "{0x%016llx, 0x%04x}", static_cast<unsigned long long>(f.significand), f.exponent);
  return out << text;
}

// strtold's value of mantissa × 10^exponent, as fields without the sign.
Fields Reference(const std::string& mantissa, int exponent) {
  long double value = std::strtold((mantissa + "e" + std::to_string(exponent)).c_str(), nullptr);
  unsigned char bytes[sizeof(long double)];
  std::memcpy(bytes, &value, sizeof value);
  Fields f;
  std::memcpy(&f.significand, bytes, 8);
  std::memcpy(&f.exponent, bytes + 8, 2);
  f.exponent &= 0x7FFF;
  return f;
}

Fields Shared(const std::string& mantissa, int exponent) {
  ExtendedBits bits = DecimalToExtended(mantissa.data(), static_cast<int32_t>(mantissa.size()), exponent);
  return Fields{bits.significand, bits.exponent};
}

class DecimalToExtendedTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (LDBL_MANT_DIG != 64 || LDBL_MAX_EXP != 16384) GTEST_SKIP() << "long double is not the 80-bit extended type here";
  }
  void Check(const std::string& mantissa, int exponent, const std::string& origin = "") {
    Fields expected = Reference(mantissa, exponent), got = Shared(mantissa, exponent);
    if (!(expected == got) && ++failures_ <= 20) {
      std::string shown = mantissa.size() > 80 ? mantissa.substr(0, 40) + "..." + mantissa.substr(mantissa.size() - 40) +
                                                     " (" + std::to_string(mantissa.size()) + " characters)"
                                               : mantissa;
      ADD_FAILURE() << origin << shown << "e" << exponent << ": " << got << ", strtold " << expected;
    }
  }
  int failures_ = 0;
};

TEST_F(DecimalToExtendedTest, KnownTexts) {
  const std::pair<const char*, int> texts[] = {
      {"0", 0}, {"000.000", 5}, {"1", 0}, {"0.1", 0}, {".5", 0}, {"3.", 0}, {"1", 300}, {"1", -300},
      {"18446744073709551615", 0}, {"18446744073709551616", 0},
      {"18446744073709551617", 0},  // halfway: to the even neighbour, 2^64
      {"18446744073709551619", 0},  // halfway: to the even neighbour, 2^64 + 4
      {"18446744073709551617000000000000000000000000000001", -30},
      {"123456789012345678901234567890", 0}, {"9007199254740993", 0},
      {"1.18973149535723176502", 4932}, {"1.18973149535723176503", 4932}, {"1.2", 4932}, {"1", 4933},
      {"99999", 99999}, {"1", 100000},
      {"3.6451995318824746025", -4951},  // the smallest denormal
      {"1.8225997659412373012", -4951},  // about half of it
      {"1.8225997659412373013", -4951}, {"1", -4951}, {"1", -4952}, {"2", -4951}, {"1", -99999},
      {"3.36210314311209350626", -4932},  // the smallest normal value
      {"3.36210314311209350625", -4932}, {"2.2250738585072014", -308}, {"4.9406564584124654", -324},
      {"0.0000000000000000000000000000001", 31}, {"1000000000000000000000000000000", -31},
  };
  for (const auto& t : texts) Check(t.first, t.second);
  EXPECT_EQ(failures_, 0);
}

// Random digits, points and exponents: short texts, texts around the 19 to
// 20 digits that a 64-bit significand holds, long ones, over every exponent.
TEST_F(DecimalToExtendedTest, SeededRandomTexts) {
  const char* text = std::getenv("TESSARIC_DECIMAL_SEED");
  uint64_t seed = text != nullptr ? std::strtoull(text, nullptr, 10) : kDefaultSeed;
  std::mt19937_64 random(seed);
  std::string origin = "seed " + std::to_string(seed) + ": ";
  for (int i = 0; i < 60000; ++i) {
    int digits;
    switch (i % 4) {
      case 0: digits = 1 + static_cast<int>(random() % 8); break;
      case 1: digits = 17 + static_cast<int>(random() % 6); break;
      case 2: digits = 1 + static_cast<int>(random() % 60); break;
      default: digits = 1 + static_cast<int>(random() % 400); break;
    }
    std::string mantissa;
    for (int d = 0; d < digits; ++d) mantissa += static_cast<char>('0' + random() % 10);
    if (random() % 3 != 0) mantissa.insert(random() % (mantissa.size() + 1), ".");
    int exponent;
    switch (random() % 3) {
      case 0: exponent = static_cast<int>(random() % 61) - 30; break;
      case 1: exponent = static_cast<int>(random() % 10001) - 5000; break;
      default: exponent = (random() & 1 ? 4900 : -4990) + static_cast<int>(random() % 60); break;
    }
    Check(mantissa, exponent, origin);
  }
  EXPECT_EQ(failures_, 0) << origin;
}

// A decimal number as limbs of nine digits, least significant first.
using Decimal = std::vector<uint32_t>;

void Multiply(Decimal& d, uint32_t factor) {
  uint64_t carry = 0;
  for (uint32_t& limb : d) {
    uint64_t v = uint64_t{limb} * factor + carry;
    limb = static_cast<uint32_t>(v % 1000000000);
    carry = v / 1000000000;
  }
  for (; carry != 0; carry /= 1000000000) d.push_back(static_cast<uint32_t>(carry % 1000000000));
}

std::string Digits(const Decimal& d) {
  std::string text = std::to_string(d.back());
  for (size_t i = d.size() - 1; i-- > 0;) {
    char limb[10];
    std::snprintf(limb, sizeof limb, "%09u", d[i]);
    text += limb;
  }
  return text;
}

// The exact digits of (2m + 1) × 2^-power, with the exponent of ten they stand for.
std::pair<std::string, int> Exact(uint64_t m, int power) {
  Decimal d;
  for (uint64_t rest = m; rest != 0; rest /= 1000000000) d.push_back(static_cast<uint32_t>(rest % 1000000000));
  if (d.empty()) d.push_back(0);
  Multiply(d, 2);
  d[0] += 1;  // 2m is even: no carry
  int k = power;
  for (; k >= 13; k -= 13) Multiply(d, 1220703125);  // 5^13
  for (; k > 0; --k) Multiply(d, 5);
  return {Digits(d), -power};
}

// Values exactly halfway between two neighbours go to the even one; a digit
// 1 far after them (beyond the digits a text is taken to at full length)
// sends them up, and a text just below stays down. Denormal halfway points
// have more than 11,000 significant digits.
TEST_F(DecimalToExtendedTest, ExactHalfwayPoints) {
  struct Halfway {
    uint64_t m;  // the value is (2m + 1) × 2^-power: after m, before m + 1, in units of 2^(1 - power)
    int power;
  };
  const Halfway points[] = {
      {0, 16446},                          // between 0 and the smallest denormal
      {1, 16446},                          // between the first and second denormal
      {(uint64_t{1} << 62) - 1, 16446},    // just below the smallest normal value
      {uint64_t{1} << 63, 16446},          // just above it
      {(uint64_t{1} << 63) + 1, 1100},     // a 64-bit significand and a half
      {(uint64_t{1} << 63) + 2, 200},
      {0xFFFFFFFFFFFFFFFFu, 70},           // rounding up carries into the next power of two
      {(uint64_t{1} << 63) + 12345, 60},   // a whole number and a half: few digits
  };
  for (const Halfway& h : points) {
    auto exact = Exact(h.m, h.power);
    SCOPED_TRACE("(2 x " + std::to_string(h.m) + " + 1) x 2^-" + std::to_string(h.power) + ", " +
                 std::to_string(exact.first.size()) + " digits");
    Check(exact.first, exact.second);
    Check(exact.first + std::string(200, '0') + "1", exact.second - 201);
    Check(exact.first + std::string(12000, '0') + "1", exact.second - 12001);
    // Just below: the last digit (a 5) one less, and many nines after it.
    std::string below = exact.first;
    below.back() = static_cast<char>(below.back() - 1);
    Check(below + std::string(12000, '9'), exact.second - 12000);
  }
  EXPECT_EQ(failures_, 0);
}

}  // namespace
