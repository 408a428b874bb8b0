#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/language.h"
#include "core/numbers.h"
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

TEST(StrRelease, AKeptBlockHoldsTheEmptyText) {
  Descriptor d;
  StrAlloc(&d, 59);
  StrAssign(Literal("abc"), &d);
  StrRelease(&d);
  EXPECT_EQ(d.text[0], 0);
  Descriptor none;
  StrRelease(&none);  // no block: nothing to free or end
  EXPECT_EQ(none.handle, nullptr);
}

// A block far larger than the new value needs goes: what a descriptor (a
// temporary above all) once held does not stay with it.
TEST(StrAlloc, LetsABlockFarLargerThanTheRequestGo) {
  struct Case {
    uint32_t held, asked;
    bool kept;
  };
  const Case cases[] = {
      {1 << 20, 59, false}, {1 << 20, 400000, false}, {1 << 20, 500000, true}, {1 << 20, 2000000, false},
      {200000, 59, false},  {65000, 59, true},        {300, 59, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.held) + " held, " + std::to_string(c.asked) + " asked");
    Descriptor d;
    StrAlloc(&d, c.held);
    void* block = d.handle;
    StrAlloc(&d, c.asked);
    EXPECT_EQ(d.handle == block, c.kept);
    if (d.handle != block) EXPECT_EQ(static_cast<uint32_t>(d.capacity), (c.asked + 16) ^ 3);
    EXPECT_EQ(d.length, 0);
    EXPECT_EQ(d.text[0], 0);
    GlobalFree(d.handle);
  }
}

// A descriptor without a block (all zero, as a STRING array's element starts)
// is the empty string: taking "" leaves it without one, anything more gives it one.
TEST(StrAppend, ADescriptorWithoutABlockIsTheEmptyString) {
  Descriptor d;
  EXPECT_EQ(ValueOf(d).length, 0);
  EXPECT_STREQ(TextOf(ValueOf(d)), "");
  StringValue v = StrAssign(Literal(""), &d);
  EXPECT_EQ(v.length, 0);
  EXPECT_EQ(d.handle, nullptr);
  EXPECT_EQ(d.text, nullptr);
  v = StrAppend(Literal("abc"), &d);
  ASSERT_NE(d.handle, nullptr);
  EXPECT_EQ(std::string(v.text, v.length), "abc");
  EXPECT_EQ(d.text[3], 0);
  EXPECT_STREQ(TextOf(ValueOf(d)), "abc");
  GlobalFree(d.handle);
}

// Blocks are fixed ones: more strings than the system has handles for
// moveable blocks (65,536) can be held at once.
TEST(StrAlloc, HoldsMoreBlocksThanThereAreMoveableHandles) {
  std::vector<StringDescriptor> many(100000, StringDescriptor{});
  for (StringDescriptor& d : many) StrAssign(Literal("short"), &d);
  for (const StringDescriptor& d : many) ASSERT_EQ(std::string(d.text, d.length), "short");
  for (StringDescriptor& d : many) GlobalFree(d.handle);
}

// A large text of a ring slot or of the accumulator, assigned to a variable,
// hands its block over: the temporary keeps no second copy of it. A small one
// is copied, as before.
TEST(StrAssignTemp, HandsALargeTemporaryBlockOverAndCopiesASmallOne) {
  std::string big(300000, 'b');
  for (bool accumulator : {false, true}) {
    for (size_t size : {size_t{10}, size_t{70000}, big.size()}) {
      SCOPED_TRACE(std::string(accumulator ? "accumulator, " : "ring, ") + std::to_string(size) + " bytes");
      Descriptor variable;
      StrAlloc(&variable, 59);
      StrAssign(Literal("old"), &variable);
      StringDescriptor* holder;
      StringValue value;
      if (accumulator) {
        ConcatBegin();
        value = ConcatAppend(StringValue{big.data(), static_cast<int32_t>(size)});
        holder = &ConcatAccumulator;
      } else {
        value = StrLeft(StringValue{big.data(), static_cast<int32_t>(big.size())}, static_cast<int32_t>(size));
        holder = TempStringCursor;
      }
      char* text = holder->text;
      bool large = static_cast<uint32_t>(holder->capacity) > kKeptBlock;
      StrAssignTemp(value, &variable);
      EXPECT_EQ(std::string(variable.text, variable.length), big.substr(0, size));
      EXPECT_EQ(variable.text[variable.length], 0);
      EXPECT_EQ(variable.text == text, large);
      if (large) {
        EXPECT_LE(holder->capacity, 200) << "the temporary holds on to a large block";
        EXPECT_EQ(holder->length, 0);
      } else {
        EXPECT_EQ(holder->text, text) << "a small temporary keeps its block";
      }
      GlobalFree(variable.handle);
    }
  }
}

// Number text after large temporaries: every slot lets its large block go,
// and the time taken does not grow with what the slots once held.
TEST(TempStringRing, NumberTextLetsTheBlocksOfLargeTemporariesGo) {
  std::string big(1 << 20, 'm');
  for (int k = 0; k < kTempStringSlots; ++k) StrLeft(StringValue{big.data(), static_cast<int32_t>(big.size())}, 1 << 20);
  for (int k = 0; k < kTempStringSlots; ++k) {
    StringValue text = SignedText(k);
    EXPECT_EQ(std::string(text.text, text.length), std::to_string(k));
  }
  for (const StringDescriptor& slot : TempStringRing) EXPECT_LE(slot.capacity, 200);
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
