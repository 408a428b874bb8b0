#include <gtest/gtest.h>

#include <string>

#include "core/numbers.h"
#include "core/program.h"

using namespace tessaric;

namespace {

// Formats by subtracting each power of ten as often as it goes, which shares
// nothing with the runtime's way.
std::string Reference(uint32_t value, bool is_signed) {
  std::string text;
  if (is_signed && static_cast<int32_t>(value) < 0) {
    text = "-";
    value = 0u - value;
  }
  for (uint32_t power = 1000000000;; power /= 10) {
    char digit = '0';
    while (value >= power) value -= power, ++digit;
    if (digit != '0' || text.size() > (text[0] == '-') || power == 1) text += digit;
    if (power == 1) return text;
  }
}

// Converts value both ways and reports the first difference.
::testing::AssertionResult BothKindsMatch(uint32_t value) {
  for (bool is_signed : {false, true}) {
    StringValue v = NumberToText(is_signed ? kSignedNumber : kUnsignedNumber, value);
    std::string expected = Reference(value, is_signed);
    if (std::string(v.text, v.length) != expected)
      return ::testing::AssertionFailure()
             << (is_signed ? "signed " : "unsigned ")
             << (is_signed ? std::to_string(static_cast<int32_t>(value)) : std::to_string(value)) << ": \""
             << std::string(v.text, v.length) << "\", expected \"" << expected << "\"";
  }
  return ::testing::AssertionSuccess();
}

TEST(IntegerText, ZeroPowersOfTenNeighboursAndExtremes) {
  uint32_t cases[] = {0, 0x7FFFFFFF, 0x80000000, 0x80000001, 0xFFFFFFFF, 0xFFFFFFFE};
  for (uint32_t value : cases) EXPECT_TRUE(BothKindsMatch(value));
  for (uint32_t power = 1; power <= 1000000000; power *= 10)
    for (uint32_t value : {power - 1, power, power + 1, 0u - power, 0u - power - 1, 0u - power + 1})
      EXPECT_TRUE(BothKindsMatch(value));
}

TEST(IntegerText, SeededRandomSampleOfEveryLength) {
  uint32_t state = 0x2545F491;  // xorshift32: the same sample on every run
  for (int i = 0; i < 1000000; ++i) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    // Shifting right by 0 to 31 bits spreads the sample over every length.
    uint32_t value = state >> (i & 31);
    ASSERT_TRUE(BothKindsMatch(value));
  }
}

// The text goes to the next ring slot, ended by a NUL; a block too small for
// 59 bytes is replaced, and so is one far larger (kept, it would hold memory,
// and clearing it take time, in proportion to what the slot once held);
// position and length are the text's.
TEST(IntegerText, FillsTheNextSlotAndEndsTheTextWithANul) {
  for (int k = 0; k < kTempStringSlots; ++k) {
    StringDescriptor* slot = NextTempString();
    if (k == 0) {
      GlobalFree(slot->handle);
      *slot = StringDescriptor{};
      StrAlloc(slot, 3);
    } else if (k == 1) {
      StrAlloc(slot, 1 << 20);  // a megabyte, as a large temporary leaves it
    } else {
      StrAlloc(slot, 59 + 40 * k + k % 4);  // blocks of several sizes, odd ones too
    }
    MemFill(slot->text, static_cast<uint32_t>(slot->capacity), 'x');
    slot->position = slot->length = 77;
  }
  for (int k = 0; k < kTempStringSlots; ++k) {
    StringDescriptor* expected_slot = TempStringRing + (TempStringCursor + 1 - TempStringRing) % kTempStringSlots;
    int32_t capacity = expected_slot->capacity;
    StringValue v = SignedText(-1234567 * k);
    std::string text = Reference(static_cast<uint32_t>(-1234567 * k), true);
    ASSERT_EQ(TempStringCursor, expected_slot);
    EXPECT_EQ(v.text, expected_slot->text);
    EXPECT_EQ(v.length, static_cast<int32_t>(text.size()));
    EXPECT_EQ(expected_slot->length, v.length);
    EXPECT_EQ(expected_slot->position, v.length);
    EXPECT_EQ(std::string(v.text, v.length), text);
    EXPECT_EQ(v.text[v.length], 0);
    EXPECT_GE(expected_slot->capacity, 72);
    if (capacity >= 72 && capacity <= 1000) EXPECT_EQ(expected_slot->capacity, capacity) << "a fitting block stays";
    EXPECT_LE(expected_slot->capacity, 72 + 72 + static_cast<int32_t>(kKeptBlock)) << "slot " << k;
  }
}

}  // namespace
