// modjoin and subcheck as a person runs them: in a real console ended by a key,
// and with standard input that is not a console.
#include <gtest/gtest.h>

#include "driver.h"

using namespace driver;

namespace {

const char kPrompt[] = "Press a key to continue...";

struct Sample {
  const char* name;
  const char* transcript;
};

const Sample kSamples[] = {
    {"modjoin",
     "Tessaric .OBJ Module Link Tests\r\n"
     "\r\n"
     "Hello From ObjSub1!\r\n"
     "\r\n"
     "Hello From ObjSub2!  Using arguments to do something:\r\n"
     "I will write this five times.\r\n"
     "I will write this five times.\r\n"
     "I will write this five times.\r\n"
     "I will write this five times.\r\n"
     "I will write this five times.\r\n"
     "\r\n"
     "extmod.obj ObjFun1 says the sum is 30\r\n"
     "modjoin.bas Main Program gets 10 + 20 = 30\r\n"
     "Press a key to continue...\r\n"},
    {"subcheck",
     "Fecha FUNCTION worked\r\n"
     "Avance SUB worked\r\n"
     "CorrigeCompra SUB worked\r\n"
     "HayProv FUNCTION worked\r\n"
     "Press a key to continue...\r\n"},
};

TEST(ConsoleSamples, RunInARealConsoleUntilAKeyIsPressed) {
  for (const Sample& sample : kSamples) {
    SCOPED_TRACE(sample.name);
    DWORD exitCode = STILL_ACTIVE;
    std::string output = RunConsoleProgram(BinPath(std::string(sample.name) + ".exe"), kPrompt, &exitCode);
    EXPECT_EQ(output, sample.transcript);
    EXPECT_EQ(exitCode, 0u);
  }
}

TEST(ConsoleSamples, ModjoinTitlesItsConsole) {
  ConsoleInput();
  SetConsoleTitleA("driver");
  DWORD exitCode = STILL_ACTIVE;
  RunConsoleProgram(BinPath("modjoin.exe"), kPrompt, &exitCode);
  EXPECT_EQ(exitCode, 0u);
  EXPECT_EQ(ConsoleTitle(), "Tessaric .OBJ Module Link Tests");
}

TEST(ConsoleSamples, EndAtTheEndOfInputThatIsNotAConsole) {
  for (const Sample& sample : kSamples) {
    SCOPED_TRACE(sample.name);
    LaunchOptions options;
    options.nullInput = true;
    options.outputFile = FreshDir(std::string("null-") + sample.name) + "\\output.txt";
    Process process = Launch(BinPath(std::string(sample.name) + ".exe"), options);
    ASSERT_NE(process.handle, nullptr);
    EXPECT_EQ(process.WaitExit(), 0u);
    EXPECT_EQ(ReadFileBytes(options.outputFile), sample.transcript);
  }
}

}  // namespace
