// The text built-ins: repeats, trims, the last place of a text, replacing,
// the MID$ statement and number patterns. Texts lie at the end of a readable
// page, so that a read beyond one is caught; results end in a NUL.
#include <gtest/gtest.h>

#include <string>

#include "core/language.h"

using namespace tessaric;

namespace {

std::string Text(StringValue v) { return std::string(v.text, static_cast<size_t>(v.length)); }

StringValue AtPageEnd(const std::string& text) {
  size_t pages = (text.size() + 4095) / 4096 + 1;
  char* block = static_cast<char*>(VirtualAlloc(nullptr, pages * 4096, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
  DWORD old;
  VirtualProtect(block + (pages - 1) * 4096, 4096, PAGE_NOACCESS, &old);
  char* start = block + (pages - 1) * 4096 - text.size();
  text.copy(start, text.size());
  return StringValue{start, static_cast<int32_t>(text.size())};
}

void ExpectText(StringValue got, const std::string& expected, const std::string& what) {
  EXPECT_EQ(Text(got), expected) << what;
  EXPECT_EQ(got.text[got.length], 0) << what;
}

TEST(TextFunctions, RepeatsOfOneByte) {
  struct Case {
    int32_t count, code;
    const char* expected;
  };
  const Case cases[] = {{3, ' ', "   "}, {2, 'A', "AA"}, {1, 0x1C8, "\xC8"}, {0, 'A', ""},
                        {-5, 'A', ""},   {INT32_MIN, 'A', ""}, {4, -1, ""}};
  for (const Case& c : cases)
    ExpectText(StrRepeat(c.count, c.code), c.expected, std::to_string(c.count) + " of " + std::to_string(c.code));
  EXPECT_EQ(StrRepeat(100000, '*').length, 100000);
  EXPECT_EQ(StrFirstByte(AtPageEnd("xyz")), 'x');
  EXPECT_EQ(StrFirstByte(AtPageEnd("\xFF")), 255);
  EXPECT_EQ(StrFirstByte(AtPageEnd("")), -1);
}

TEST(TextFunctions, TrimsTakeBlanksAndTabsOnly) {
  struct Case {
    const char* text;
    int32_t ends;
    const char* expected;
  };
  const Case cases[] = {
      {"  a b  ", kTrimStart, "a b  "},        {"  a b  ", kTrimEnd, "  a b"},
      {"  a b  ", kTrimStart | kTrimEnd, "a b"}, {"\t \ta\t", kTrimStart | kTrimEnd, "a"},
      {"   ", kTrimStart, ""},                  {"   ", kTrimEnd, ""},
      {"", kTrimStart | kTrimEnd, ""},          {"\r\na\n", kTrimStart | kTrimEnd, "\r\na\n"},
      {"x", kTrimStart | kTrimEnd, "x"},
  };
  for (const Case& c : cases)
    ExpectText(StrTrim(AtPageEnd(c.text), c.ends), c.expected, std::string("[") + c.text + "] " + std::to_string(c.ends));
}

TEST(TextFunctions, InstrRevFindsTheLastPlaceAtOrBeforeItsStart) {
  struct Case {
    const char *text, *find;
    int32_t start, expected;
  };
  const Case cases[] = {
      {"hello", "l", INT32_MAX, 4}, {"hello", "l", 4, 4},     {"hello", "l", 3, 3},  {"hello", "l", 2, 0},
      {"hello", "h", 1, 1},         {"hello", "h", 0, 0},     {"hello", "h", INT32_MIN, 0},
      {"hello", "lo", 99, 4},       {"hello", "lo", 4, 4},    {"hello", "lo", 3, 0}, {"hello", "z", 5, 0},
      {"hello", "", INT32_MAX, 6},  {"hello", "", 3, 3},      {"", "", 1, 1},        {"", "a", 1, 0},
      {"ab", "abc", 9, 0},          {"aaa", "aa", INT32_MAX, 2}, {"a.b.c", ".", INT32_MAX, 4},
  };
  for (const Case& c : cases)
    EXPECT_EQ(StrInstrRev(AtPageEnd(c.text), AtPageEnd(c.find), c.start), c.expected)
        << c.text << " " << c.find << " " << c.start;
}

TEST(TextFunctions, ReplaceTakesEachFindFromLeftToRight) {
  struct Case {
    const char *text, *find, *with, *expected;
  };
  const Case cases[] = {
      {"a-b-c", "-", ", ", "a, b, c"}, {"aaa", "aa", "b", "ba"},   {"aaaa", "aa", "a", "aa"},
      {"abc", "", "x", "abc"},         {"abc", "b", "", "ac"},     {"abc", "x", "y", "abc"},
      {"", "a", "b", ""},              {"abab", "ab", "abab", "abababab"}, {"ab", "abc", "x", "ab"},
      {"xyz", "xyz", "", ""},
  };
  for (const Case& c : cases)
    ExpectText(StrReplace(AtPageEnd(c.text), AtPageEnd(c.find), AtPageEnd(c.with)), c.expected,
               std::string(c.text) + " / " + c.find + " / " + c.with);
  // Large results are built in one block.
  std::string many(10000, 'x');
  EXPECT_EQ(StrReplace(AtPageEnd(many), AtPageEnd("x"), AtPageEnd("yy")).length, 20000);
}

class Overwrite : public ::testing::Test {
 protected:
  void SetUp() override { StrAlloc(&target_, kVariableSize); }
  std::string Apply(const char* text, int32_t start, int32_t count, const char* value) {
    StrAssign(text, &target_, static_cast<int32_t>(std::string(text).size()));
    StrOverwrite(&target_, start, count, AtPageEnd(value));
    return Text(ValueOf(target_));
  }
  StringDescriptor target_ = {};
};

TEST_F(Overwrite, ReplacesWhatMidGivesAndKeepsTheLength) {
  struct Case {
    const char* text;
    int32_t start, count;
    const char* value;
    const char* expected;
  };
  const Case cases[] = {
      {"abcdef", 2, 2, "XYZ", "aXYdef"},        {"abcdef", 2, INT32_MAX, "XYZ", "aXYZef"},
      {"abcdef", 5, INT32_MAX, "XYZ", "abcdXY"}, {"abcdef", 6, INT32_MAX, "XYZ", "abcdeX"},
      {"abcdef", 7, INT32_MAX, "XYZ", "abcdef"}, {"abcdef", INT32_MAX, 1, "X", "abcdef"},
      {"abcdef", 0, 2, "XYZ", "XYcdef"},         {"abcdef", INT32_MIN, INT32_MAX, "XY", "XYcdef"},
      {"abcdef", 2, 0, "XYZ", "abcdef"},         {"abcdef", 2, -1, "XYZ", "abcdef"},
      {"abcdef", 1, INT32_MAX, "", "abcdef"},    {"", 1, INT32_MAX, "XYZ", ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Apply(c.text, c.start, c.count, c.value), c.expected)
        << c.text << " " << c.start << " " << c.count << " " << c.value;
  EXPECT_EQ(target_.length, 0);
}

TEST_F(Overwrite, AValueInsideTheTargetMovesAsThroughACopy) {
  StrAssign("abcdef", &target_, 6);
  StrOverwrite(&target_, 2, INT32_MAX, ValueOf(target_));  // up: abcde over bcdef
  EXPECT_EQ(Text(ValueOf(target_)), "aabcde");
  StrAssign("abcdef", &target_, 6);
  StrOverwrite(&target_, 1, INT32_MAX, StringValue{target_.text + 2, 4});  // down: cdef over abcd
  EXPECT_EQ(Text(ValueOf(target_)), "cdefef");
  EXPECT_EQ(target_.text[6], 0);
}

TEST(TextFunctions, PatternsOfThirtyTwoBits) {
  struct Case {
    uint32_t value;
    int32_t bits;
    const char* expected;
  };
  const Case cases[] = {
      {0, 4, "0"},           {255, 4, "FF"},          {0xFFFFFFFFu, 4, "FFFFFFFF"}, {0x80000000u, 4, "80000000"},
      {0xABCDEF01u, 4, "ABCDEF01"}, {0, 3, "0"},      {8, 3, "10"},                 {0xFFFFFFFFu, 3, "37777777777"},
      {0x80000000u, 3, "20000000000"}, {0, 1, "0"},   {5, 1, "101"},
      {0xFFFFFFFFu, 1, "11111111111111111111111111111111"},
  };
  for (const Case& c : cases)
    ExpectText(NumberPattern(c.value, c.bits), c.expected, std::to_string(c.value) + " by " + std::to_string(c.bits));
}

}  // namespace
