#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

#include "../fatal_catcher.h"
#include "library/library.h"

using namespace tessaric;

namespace {

// Bound from a library that every process has loaded.
auto TickCount = Declare<decltype(GetTickCount)>("GetTickCount");
auto CurrentProcessId = Declare<decltype(GetCurrentProcessId)>("GetCurrentProcessId");

TEST(DeclaredFunction, EntryFollowsTheNameDirectly) {
  EXPECT_EQ(offsetof(decltype(TickCount), entry), sizeof "GetTickCount");
  EXPECT_EQ(sizeof TickCount, sizeof "GetTickCount" + 4);
  EXPECT_STREQ(TickCount.name, "GetTickCount");
}

TEST(DeclaredFunction, StartsUnboundAndBindsToTheExportedAddress) {
  EXPECT_EQ(CurrentProcessId.entry, nullptr);
  BindDeclaredFunction("kernel32.dll", &CurrentProcessId);
  FARPROC expected = GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetCurrentProcessId");
  ASSERT_NE(expected, nullptr);
  EXPECT_EQ(reinterpret_cast<FARPROC>(CurrentProcessId.entry), expected);
  EXPECT_EQ(CurrentProcessId.entry(), GetCurrentProcessId());
  // The name is left as it was.
  EXPECT_STREQ(CurrentProcessId.name, "GetCurrentProcessId");
}

TEST(DeclaredFunction, BindingThroughTheNameWritesTheBytesAfterItsNul) {
  // A declaration laid out by hand: the slot starts unaligned, poisoned.
  unsigned char record[32];
  std::memset(record, 0xCC, sizeof record);
  std::memcpy(record, "GetTickCount", sizeof "GetTickCount");
  BindDeclaredFunction("kernel32.dll", reinterpret_cast<char*>(record));
  FARPROC entry;
  std::memcpy(&entry, record + sizeof "GetTickCount", sizeof entry);
  EXPECT_EQ(entry, GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetTickCount"));
  EXPECT_EQ(record[sizeof "GetTickCount" + sizeof entry], 0xCC) << "wrote past the slot";
}

// A name array that fills its declaration without a NUL is the whole name, and
// the entry goes where the declaration has it: right after the array.
TEST(DeclaredFunction, ANameWithoutItsNulBindsIntoTheDeclarationsOwnEntry) {
  static const char name[12] = {'G', 'e', 't', 'T', 'i', 'c', 'k', 'C', 'o', 'u', 'n', 't'};
  struct __attribute__((packed)) Laid {
    DeclaredFunction<decltype(GetTickCount), sizeof name> function;
    unsigned char after[4];
  };
  static Laid laid = {Declare<decltype(GetTickCount)>(name), {0xCC, 0xCC, 0xCC, 0xCC}};
  BindDeclaredFunction("kernel32.dll", &laid.function);
  EXPECT_EQ(reinterpret_cast<FARPROC>(laid.function.entry),
            GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetTickCount"));
  for (unsigned char byte : laid.after) EXPECT_EQ(byte, 0xCC) << "wrote past the declaration";
  EXPECT_EQ(std::memcmp(laid.function.name, name, sizeof name), 0);
}

// An ordinal in place of a name leaves no record for the entry: the binding
// is refused the way a missing function is.
TEST(DeclaredFunction, AnOrdinalInPlaceOfTheNameIsRefusedAsAMissingFunction) {
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  uintptr_t ordinal = 1;
  while (ordinal < 0x10000 && GetProcAddress(kernel, reinterpret_cast<const char*>(ordinal)) == nullptr) ++ordinal;
  ASSERT_LT(ordinal, 0x10000u) << "kernel32 exports nothing by ordinal";
  unittest::FatalOutcome outcome = unittest::RunToFatal(
      [&] { BindDeclaredFunction("kernel32.dll", reinterpret_cast<char*>(ordinal)); });
  EXPECT_EQ(outcome.fault, 0u);
  EXPECT_EQ(outcome.text, "Function Not Found ");
  EXPECT_EQ(outcome.exitCode, 2u);
}

TEST(LibraryEntry, SaysYesToEveryReason) {
  for (DWORD reason : {DLL_PROCESS_ATTACH, DLL_THREAD_ATTACH, DLL_THREAD_DETACH, DLL_PROCESS_DETACH})
    EXPECT_EQ(LibraryEntry(nullptr, reason, nullptr), TRUE) << reason;
}

}  // namespace
