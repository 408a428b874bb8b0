// The fatal path and a whole core program, observed from outside.
#include <gtest/gtest.h>

#include "driver.h"

using namespace driver;

namespace {

struct FatalCase {
  const char* argument;
  const char* text;
  DWORD exitCode;
};

void ExpectFatal(const FatalCase& c) {
  SCOPED_TRACE(c.argument);
  LaunchOptions options;
  options.arguments = c.argument;
  options.nullInput = true;
  options.outputFile = FreshDir(std::string("fatal-") + c.argument) + "\\output.txt";
  Process process = Launch(FixturePath("fatal_probe.exe"), options);
  ASSERT_NE(process.handle, nullptr);
  MessageBoxInfo box = WaitForMessageBox(process);
  ASSERT_NE(box.window, nullptr) << "no message box";
  EXPECT_EQ(box.text, c.text);
  EXPECT_EQ(box.caption, "fatalprobe");
  // Style 0: an OK button and no icon.
  EXPECT_NE(GetDlgItem(box.window, IDOK), nullptr);
  EXPECT_EQ(GetDlgItem(box.window, IDCANCEL), nullptr);
  for (HWND child : ChildWindows(box.window))
    if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
      EXPECT_EQ(SendMessageA(child, STM_GETICON, 0, 0), 0) << "the box shows an icon";
  // The process waits for the box: it must still be running.
  EXPECT_TRUE(process.Running());
  CloseMessageBox(box.window);
  EXPECT_EQ(process.WaitExit(), c.exitCode);
  EXPECT_EQ(ReadFileBytes(options.outputFile), "");
}

TEST(FatalError, LibraryNotFoundEndsWithCode1) { ExpectFatal({"library", "Library Not Found  ", 1}); }

TEST(FatalError, FunctionNotFoundEndsWithCode2) { ExpectFatal({"function", "Function Not Found ", 2}); }

TEST(FatalError, RefusedAllocationEndsWithCode3) { ExpectFatal({"memory", "Insufficient memory", 3}); }

TEST(FatalError, SizeNear4GiBEndsWithCode3InsteadOfWrapping) {
  ExpectFatal({"wrap", "Insufficient memory", 3});
}

TEST(FatalError, AppendPast2GiBEndsWithCode3InsteadOfWrapping) {
  ExpectFatal({"append", "Insufficient memory", 3});
}

TEST(FatalError, GrowthNear4GiBEndsWithCode3InsteadOfWrapping) {
  ExpectFatal({"grow", "Insufficient memory", 3});
}

TEST(ProgramStart, NormalEndPassesTheBodysResult) {
  LaunchOptions options;
  options.arguments = "nothing";
  options.nullInput = true;
  Process process = Launch(FixturePath("fatal_probe.exe"), options);
  EXPECT_EQ(process.WaitExit(), 0u);
  EXPECT_TRUE(TopLevelWindows(process.id).empty());
}

TEST(CoreDemo, PrintsNumbersOfAllThreeKindsAndAConcatenation) {
  LaunchOptions options;
  options.nullInput = true;
  options.outputFile = FreshDir("coredemo") + "\\output.txt";
  Process process = Launch(FixturePath("coredemo.exe"), options);
  ASSERT_EQ(process.WaitExit(), 0u);
  EXPECT_EQ(ReadFileBytes(options.outputFile),
            "Tessaric core demonstration\r\n"
            "unsigned 4294967295 = 4294967295\r\n"
            "signed -2147483648 = -2147483648\r\n"
            "float 1/3 = 0.333333333333333\r\n"
            "float -2.5 = -2.5\r\n"
            "float 1.5E20 = 1.500000000000000E+0020\r\n"
            "concatenation: 10 + 20 = 30\r\n");
}

}  // namespace

namespace {

TEST(CompiledProgram, AnIndexOutsideTheBoundsEndsWithCode4) {
  LaunchOptions options;
  options.nullInput = true;
  options.outputFile = FreshDir("bounds") + "\\output.txt";
  Process process = Launch(FixturePath("bounds.exe"), options);
  ASSERT_NE(process.handle, nullptr);
  MessageBoxInfo box = WaitForMessageBox(process);
  ASSERT_NE(box.window, nullptr) << "no message box";
  EXPECT_EQ(box.text, "Array index error  ");
  EXPECT_EQ(box.caption, "bounds");
  EXPECT_TRUE(process.Running());
  CloseMessageBox(box.window);
  EXPECT_EQ(process.WaitExit(), 4u);
  EXPECT_EQ(ReadFileBytes(options.outputFile), "before\r\n");
}

}  // namespace

namespace {

// The language's statements end a program through the same kind of box:
// the text, captioned with the program's name, then the exit code.
struct RunErrorCase {
  const char* program;
  const char* text;
  DWORD exitCode;
  const char* output;
};

const RunErrorCase kRunErrors[] = {
    {"deep_recursion", "Recursion too deep", 5, "before\r\n"},
    {"stray_return", "RETURN without GOSUB", 6, "twice\r\nbefore\r\ntwice\r\n"},
    {"out_of_data", "Out of DATA", 7, "before1\r\n"},
};

TEST(CompiledProgram, RunErrorsEndThroughTheFatalBox) {
  for (const RunErrorCase& c : kRunErrors) {
    SCOPED_TRACE(c.program);
    LaunchOptions options;
    options.nullInput = true;
    options.outputFile = FreshDir(c.program) + "\\output.txt";
    Process process = Launch(FixturePath(std::string(c.program) + ".exe"), options);
    ASSERT_NE(process.handle, nullptr);
    MessageBoxInfo box = WaitForMessageBox(process);
    ASSERT_NE(box.window, nullptr) << "no message box";
    EXPECT_EQ(box.text, c.text);
    EXPECT_EQ(box.caption, c.program);
    CloseMessageBox(box.window);
    EXPECT_EQ(process.WaitExit(), c.exitCode);
    EXPECT_EQ(ReadFileBytes(options.outputFile), c.output);
  }
}

}  // namespace
