// floatcatch as a person runs it: three reports from the handler, and the
// result variable left holding the x87 indefinite value.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "driver.h"

using namespace driver;

namespace {

const char kPrompt[] = "Press a key to continue...";
const char kTranscript[] =
    "Tessaric Compiler floatcatchor Test \r\n"
    "divide by zero\r\n"
    "sqr of negative number\r\n"
    "sqr of negative number\r\n"
    "Done\r\n"
    "Press a key to continue...\r\n";

// Counts the places in the program's writable sections that hold the x87
// indefinite value (sign set, exponent all ones, mantissa 0xC000000000000000).
int IndefiniteValuesInData(const Process& process, const std::string& exe) {
  const unsigned char indefinite[10] = {0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0xFF};
  PeFile image = ReadPeFile(exe);
  if (image.Headers() == nullptr) return -1;
  DWORD base = image.Headers()->OptionalHeader.ImageBase;
  int found = 0;
  for (const IMAGE_SECTION_HEADER& section : image.Sections()) {
    if ((section.Characteristics & IMAGE_SCN_MEM_WRITE) == 0) continue;
    std::vector<unsigned char> bytes(section.Misc.VirtualSize);
    SIZE_T read = 0;
    ReadProcessMemory(process.handle, reinterpret_cast<void*>(base + section.VirtualAddress), bytes.data(),
                      bytes.size(), &read);
    for (SIZE_T at = 0; at + sizeof indefinite <= read; at += 4)
      if (std::memcmp(&bytes[at], indefinite, sizeof indefinite) == 0) ++found;
  }
  return found;
}

TEST(Floatcatch, ReportsThreeTimesAndEndsNormally) {
  DWORD exitCode = STILL_ACTIVE;
  EXPECT_EQ(RunConsoleProgram(BinPath("floatcatch.exe"), kPrompt, &exitCode), kTranscript);
  EXPECT_EQ(exitCode, 0u);
}

TEST(Floatcatch, TheResultHoldsTheIndefiniteValue) {
  FlushInput();
  LaunchOptions options;
  options.consoleInput = true;
  options.outputFile = FreshDir("floatcatch-memory") + "\\output.txt";
  Process process = Launch(BinPath("floatcatch.exe"), options);
  ASSERT_NE(process.handle, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return ReadFileBytes(options.outputFile).find(kPrompt) != std::string::npos; },
                        15000, &process));
  // Waiting for the key, with every statement done.
  EXPECT_EQ(IndefiniteValuesInData(process, BinPath("floatcatch.exe")), 1);
  PressKey();
  EXPECT_EQ(process.WaitExit(), 0u);
  EXPECT_EQ(ReadFileBytes(options.outputFile), kTranscript);
}

}  // namespace
