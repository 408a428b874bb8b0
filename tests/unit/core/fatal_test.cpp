// The fatal path, run on a thread of its own with the box and the exit stood in for.
#include <gtest/gtest.h>

#include <string>

#include "../fatal_catcher.h"
#include "core/program.h"
#include "core/strings.h"

using namespace tessaric;

namespace {

TEST(FatalError, EveryIndexGetsADefinedTextAndAFailingExitCode) {
  struct Case {
    uint32_t index;
    const char* text;
    UINT exitCode;
  };
  // An index beyond the table is an index error itself: the last entry's text and code.
  const Case cases[] = {
      {0, "Library Not Found  ", 1}, {1, "Function Not Found ", 2}, {2, "Insufficient memory", 3},
      {3, "Array index error  ", 4}, {4, "Array index error  ", 4}, {5, "Array index error  ", 4},
      {0x10000000, "Array index error  ", 4}, {0x7FFFFFFF, "Array index error  ", 4},
      {0xFFFFFFFF, "Array index error  ", 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    unittest::FatalOutcome outcome = unittest::RunToFatal([&] { FatalError(c.index); });
    EXPECT_EQ(outcome.fault, 0u);
    EXPECT_TRUE(outcome.boxShown);
    EXPECT_EQ(outcome.text, c.text);
    EXPECT_EQ(outcome.caption, "unittest");
    EXPECT_TRUE(outcome.exited);
    EXPECT_EQ(outcome.exitCode, c.exitCode);
  }
}

// A request the system cannot meet, for a descriptor with no block or one
// with a small block: "Insufficient memory", never a block too small or none.
TEST(FatalError, TheLargestRequestsEndInInsufficientMemory) {
  for (uint32_t size : {0x7FFFFF00u, 0x7FFFFFEFu, 0x7FFFFFF0u, 0xFFFFFFF0u}) {
    for (bool withBlock : {false, true}) {
      SCOPED_TRACE(std::to_string(size) + (withBlock ? ", with a block" : ", without a block"));
      static StringDescriptor descriptor;
      descriptor = StringDescriptor{};
      if (withBlock) StrAlloc(&descriptor, kVariableSize);
      unittest::FatalOutcome outcome = unittest::RunToFatal([size] { StrAlloc(&descriptor, size); });
      EXPECT_EQ(outcome.fault, 0u);
      EXPECT_EQ(outcome.text, "Insufficient memory");
      EXPECT_EQ(outcome.exitCode, 3u);
      if (descriptor.handle != nullptr) GlobalFree(descriptor.handle);
    }
  }
}

// The system refuses every block while this lives.
class RefusedMemory {
 public:
  RefusedMemory() {
    Patch("GlobalAlloc", reinterpret_cast<void*>(Refuse2), &alloc_);
    Patch("GlobalReAlloc", reinterpret_cast<void*>(Refuse3), &realloc_);
  }
  ~RefusedMemory() {
    unittest::PatchImportEntry(alloc_.entry, alloc_.real);
    unittest::PatchImportEntry(realloc_.entry, realloc_.real);
  }
  bool installed() const { return alloc_.entry != nullptr && realloc_.entry != nullptr; }

 private:
  struct Hooked {
    void** entry = nullptr;
    void* real = nullptr;
  };
  static HGLOBAL WINAPI Refuse2(UINT, SIZE_T) { return nullptr; }
  static HGLOBAL WINAPI Refuse3(HGLOBAL, SIZE_T, UINT) { return nullptr; }
  static void Patch(const char* name, void* standIn, Hooked* hooked) {
    hooked->real = reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), name));
    hooked->entry = unittest::ImportEntryHolding("kernel32.dll", hooked->real);
    if (!unittest::PatchImportEntry(hooked->entry, standIn)) hooked->entry = nullptr;
  }
  Hooked alloc_, realloc_;
};

// The box's modal loop goes on running handlers, and a handler may use the
// very variable whose allocation failed.
TEST(FatalError, ARefusedAllocationLeavesTheDescriptorALiveBlockWhileTheBoxIsUp) {
  static StringDescriptor variable = {};
  StrAlloc(&variable, kVariableSize);
  StrAssign(Literal("before"), &variable);
  bool live = false;
  std::string written;
  unittest::FatalOutcome outcome;
  {
    RefusedMemory refused;
    ASSERT_TRUE(refused.installed());
    outcome = unittest::RunToFatal([] { StrAlloc(&variable, 500); },
                                   [&] {
                                     // A block the descriptor names is one the system still has.
                                     live = variable.handle != nullptr && GlobalHandle(variable.text) == variable.handle &&
                                            GlobalSize(variable.handle) >= static_cast<SIZE_T>(variable.capacity);
                                     if (!live) return;
                                     written = StrAssign(Literal("a handler's text"), &variable).text;
                                   });
  }
  EXPECT_EQ(outcome.fault, 0u);
  EXPECT_EQ(outcome.text, "Insufficient memory");
  EXPECT_EQ(outcome.exitCode, 3u);
  EXPECT_TRUE(live) << "the descriptor names a freed block";
  EXPECT_EQ(written, "a handler's text");
  EXPECT_EQ(std::string(variable.text, variable.length), "a handler's text");
}

}  // namespace
