#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

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

TEST(LibraryEntry, SaysYesToEveryReason) {
  for (DWORD reason : {DLL_PROCESS_ATTACH, DLL_THREAD_ATTACH, DLL_THREAD_DETACH, DLL_PROCESS_DETACH})
    EXPECT_EQ(LibraryEntry(nullptr, reason, nullptr), TRUE) << reason;
}

}  // namespace
