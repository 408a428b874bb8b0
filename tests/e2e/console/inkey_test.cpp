// INKEY$ in a real program: at a console with keys typed as a person types
// them, and from a pipe; COMMAND$ and ENVIRON$ of the same program.
#include <gtest/gtest.h>

#include "driver.h"

using namespace driver;

namespace {

const char kArguments[] = "one \"two three\"";
const char kFirstLine[] = "args [one \"two three\"] env [probe value]\r\n";

class Inkey : public ::testing::Test {
 protected:
  void SetUp() override { SetEnvironmentVariableA("TESSARIC_E2E_PROBE", "probe value"); }
  void TearDown() override { SetEnvironmentVariableA("TESSARIC_E2E_PROBE", nullptr); }
  bool Shows(const std::string& file, const char* text, const Process& process) {
    return WaitUntil([&] { return ReadFileBytes(file).find(text) != std::string::npos; }, 15000, &process);
  }
};

TEST_F(Inkey, AtAConsoleEachKeyPressedAndNothingAtOnceWhenNoneWaits) {
  FlushInput();
  LaunchOptions options;
  options.consoleInput = true;
  options.arguments = kArguments;
  options.outputFile = FreshDir("inkey-console") + "\\output.txt";
  Process process = Launch(FixturePath("inkey.exe"), options);
  ASSERT_NE(process.handle, nullptr);
  // No key was typed yet: INKEY$ gave "" without waiting for one.
  ASSERT_TRUE(Shows(options.outputFile, "nothing yet", process));
  // A key, the mouse, an arrow, Shift alone, then q: releases, the mouse
  // and Shift give nothing.
  INPUT_RECORD records[] = {
      KeyRecord(true, 'A', 'a'),        KeyRecord(false, 'A', 'a'),       MouseMoveRecord(3, 4),
      KeyRecord(true, VK_UP, 0),        KeyRecord(false, VK_UP, 0),       KeyRecord(true, VK_SHIFT, 0),
      KeyRecord(false, VK_SHIFT, 0),    KeyRecord(true, 'Q', 'q'),        KeyRecord(false, 'Q', 'q'),
  };
  WriteInput(records, sizeof records / sizeof records[0]);
  ASSERT_TRUE(Shows(options.outputFile, "Press a key to continue...", process));
  PressKey();
  EXPECT_EQ(process.WaitExit(), 0u);
  EXPECT_EQ(ReadFileBytes(options.outputFile),
            std::string(kFirstLine) +
                "nothing yet\r\ncharacter 97\r\nkey code 38\r\ncharacter 113\r\nPress a key to continue...\r\n");
}

TEST_F(Inkey, FromAPipeAByteWhenOneWaitsAndNothingAtOnceOtherwise) {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE read = nullptr, write = nullptr;
  ASSERT_TRUE(CreatePipe(&read, &write, &inherit, 0));
  SetHandleInformation(write, HANDLE_FLAG_INHERIT, 0);
  LaunchOptions options;
  options.inputHandle = read;
  options.arguments = kArguments;
  options.outputFile = FreshDir("inkey-pipe") + "\\output.txt";
  Process process = Launch(FixturePath("inkey.exe"), options);
  CloseHandle(read);
  ASSERT_NE(process.handle, nullptr);
  ASSERT_TRUE(Shows(options.outputFile, "nothing yet", process));
  DWORD written = 0;
  WriteFile(write, "xq", 2, &written, nullptr);
  ASSERT_TRUE(Shows(options.outputFile, "Press a key to continue...", process));
  // The end of the input ends the closing wait.
  CloseHandle(write);
  EXPECT_EQ(process.WaitExit(), 0u);
  EXPECT_EQ(ReadFileBytes(options.outputFile),
            std::string(kFirstLine) + "nothing yet\r\ncharacter 120\r\ncharacter 113\r\nPress a key to continue...\r\n");
}

}  // namespace
