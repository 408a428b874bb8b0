#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/program.h"
#include "core/strings.h"

using namespace tessaric;

namespace {

// Each test starts from an empty descriptor, as a program's static data does.
struct Descriptor : StringDescriptor {
  Descriptor() : StringDescriptor{} {}
};

TEST(StrAlloc, FreshVariableRequests72Bytes) {
  Descriptor d;
  StrAlloc(&d, 59);
  ASSERT_NE(d.handle, nullptr);
  EXPECT_EQ(d.capacity, 72);
  EXPECT_EQ(GlobalSize(d.handle), 72u);
  EXPECT_EQ(d.text, GlobalLock(d.handle));
  EXPECT_EQ(d.length, 0);
  EXPECT_EQ(d.position, 0);
  EXPECT_EQ(*reinterpret_cast<uint32_t*>(d.text), 0u);
}

TEST(StrAlloc, RequestFlipsTheLowTwoBits) {
  // (size + 16) XOR 3: 60 + 16 = 76 -> 79, 61 + 16 = 77 -> 78.
  Descriptor a, b;
  StrAlloc(&a, 60);
  StrAlloc(&b, 61);
  EXPECT_EQ(a.capacity, 79);
  EXPECT_EQ(b.capacity, 78);
}

TEST(StrAlloc, KeepsABlockThatIsLargeEnough) {
  Descriptor d;
  StrAlloc(&d, 200);
  StrAssign(Literal("leftover"), &d);
  void* handle = d.handle;
  char* text = d.text;
  StrAlloc(&d, 59);
  EXPECT_EQ(d.handle, handle);
  EXPECT_EQ(d.text, text);
  EXPECT_EQ(d.length, 0);
  EXPECT_EQ(*reinterpret_cast<uint32_t*>(d.text), 0u);
}

TEST(StrAlloc, ReplacesABlockThatIsTooSmall) {
  Descriptor d;
  StrAlloc(&d, 59);
  StrAlloc(&d, 500);
  EXPECT_EQ(d.capacity, (500 + 16) ^ 3);
}

TEST(StrAppend, GrowsOnlyWhenTheTerminatorWouldNotFit) {
  Descriptor d;
  StrAlloc(&d, 59);
  char sixty[61], eleven[12] = "ABCDEFGHIJK";
  std::memset(sixty, 'x', 60);
  StrAssign(sixty, &d, 60);
  StrAppend(eleven, &d, 10);  // need 71 < 72: stays
  EXPECT_EQ(d.capacity, 72);

  Descriptor e;
  StrAlloc(&e, 59);
  StrAssign(sixty, &e, 60);
  StringValue whole = StrAppend(eleven, &e, 11);  // need 72: StrGrow(203) requests 270
  EXPECT_EQ(e.capacity, 270);
  EXPECT_EQ(whole.length, 71);
  EXPECT_EQ(whole.text, e.text);
  EXPECT_EQ(std::memcmp(e.text + 60, "ABCDEFGHIJK", 12), 0);
  EXPECT_EQ(e.text[71], 0);
}

TEST(StrAppend, ManyAppendsKeepEveryByte) {
  Descriptor d;
  StrAlloc(&d, 59);
  for (int i = 0; i < 1000; ++i) StrAppend("0123456789", &d, 10);
  ASSERT_EQ(d.length, 10000);
  EXPECT_GT(d.capacity, d.position);
  for (int i = 0; i < 10000; ++i) ASSERT_EQ(d.text[i], '0' + i % 10) << i;
  EXPECT_EQ(d.text[10000], 0);
}

TEST(StrAppend, ItsOwnTextSurvivesTheBlockMoving) {
  Descriptor d;
  StrAlloc(&d, 59);
  StrAssign(Literal("0123456789"), &d);
  std::string expected = "0123456789";
  int moves = 0;
  // Past about half a megabyte a block lives in memory of its own, so growing
  // that far moves it whatever the rest of the process allocated before.
  while (d.length < 2000000) {
    char* before = d.text;
    StrAppend(d.text, &d, d.length);
    expected += expected;
    moves += d.text != before;
    ASSERT_EQ(d.length, static_cast<int32_t>(expected.size()));
    ASSERT_EQ(std::memcmp(d.text, expected.data(), expected.size()), 0) << "at length " << d.length;
  }
  EXPECT_GT(moves, 0) << "the block never moved, so nothing was tested";
}

TEST(StrAppend, CountOfZeroOrLessOnlyTerminates) {
  Descriptor d;
  StrAlloc(&d, 59);
  StrAssign(Literal("abc"), &d);
  d.text[3] = 'z';
  StringValue v = StrAppend("ignored", &d, -5);
  EXPECT_EQ(v.length, 3);
  EXPECT_EQ(d.text[3], 0);
}

TEST(StrAssign, EmptyLiteralLeavesAnEmptyCString) {
  Descriptor d;
  StrAlloc(&d, 59);
  StrAssign(Literal("something"), &d);
  StrAssign(Literal(""), &d);
  EXPECT_EQ(d.length, 0);
  EXPECT_EQ(d.position, 0);
  EXPECT_EQ(d.text[0], 0);
}

TEST(StrRelease, KeepsSmallBlocksAndFreesLargeOnes) {
  Descriptor small;
  StrAlloc(&small, 59);
  StrAssign(Literal("abc"), &small);
  void* handle = small.handle;
  StrRelease(&small);
  EXPECT_EQ(small.handle, handle);
  EXPECT_EQ(small.capacity, 72);
  EXPECT_EQ(small.length, 0);
  EXPECT_EQ(small.position, 0);

  Descriptor large;
  StrAlloc(&large, 284);  // (284 + 16) ^ 3 = 303
  ASSERT_GT(large.capacity, 256);
  StrRelease(&large);
  EXPECT_EQ(large.handle, nullptr);
  EXPECT_EQ(large.text, nullptr);
  EXPECT_EQ(large.capacity, 0);
  EXPECT_EQ(large.length, 0);
}

TEST(StrSyncLength, MeasuresUpToTheFirstNul) {
  Descriptor d;
  StrAlloc(&d, 59);
  std::strcpy(d.text, "written directly");
  StrSyncLength(&d);
  EXPECT_EQ(d.length, 16);
  EXPECT_EQ(d.position, 16);
}

TEST(TempStringRing, EightTurnsComeBackToTheSameSlot) {
  StringDescriptor* first = NextTempString();
  StrAlloc(first, 59);
  StrAssign(Literal("first"), first);
  for (int i = 0; i < 7; ++i) EXPECT_NE(NextTempString(), first);
  StringDescriptor* ninth = NextTempString();
  EXPECT_EQ(ninth, first);
  StrAlloc(ninth, 59);
  StrAssign(Literal("ninth"), ninth);
  EXPECT_STREQ(first->text, "ninth");
}

TEST(TempStringRing, WrapsFromTheLastSlotToSlotZero) {
  while (NextTempString() != &TempStringRing[kTempStringSlots - 1]) {
  }
  EXPECT_EQ(NextTempString(), &TempStringRing[0]);
  EXPECT_EQ(TempStringCursor, &TempStringRing[0]);
}

TEST(MemFill, CoversEveryByteOfTheRange) {
  for (uint32_t count : {0u, 1u, 3u, 4u, 31u, 32u, 33u, 36u, 67u}) {
    uint8_t buffer[80];
    std::memset(buffer, 0xEE, sizeof buffer);
    MemFill(buffer + 1, count, 0x1234AB);
    EXPECT_EQ(buffer[0], 0xEE) << count;
    for (uint32_t i = 0; i < count; ++i) ASSERT_EQ(buffer[1 + i], 0xAB) << count << " at " << i;
    EXPECT_EQ(buffer[1 + count], 0xEE) << count;
  }
}

TEST(MemCopy, CopiesWordsAndTheRemainder) {
  for (uint32_t count : {0u, 1u, 4u, 7u, 33u}) {
    char source[40], target[42];
    for (int i = 0; i < 40; ++i) source[i] = static_cast<char>('a' + i % 26);
    std::memset(target, '#', sizeof target);
    MemCopy(source, target + 1, count);
    EXPECT_EQ(target[0], '#');
    EXPECT_EQ(std::memcmp(target + 1, source, count), 0) << count;
    EXPECT_EQ(target[1 + count], '#') << count;
  }
}

TEST(StrLength, CountsBytesBeforeTheNul) {
  EXPECT_EQ(StrLength(""), 0);
  EXPECT_EQ(StrLength("abc"), 3);
  EXPECT_EQ(StrLength("ab\0cd"), 2);
}

}  // namespace
