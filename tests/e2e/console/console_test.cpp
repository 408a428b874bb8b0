// The console library observed through console_probe: the screen operations on
// a real console, output redirected to a file, input polling and the key wait.
#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "driver.h"

using namespace driver;

namespace {

const char kPrompt[] = "Press a key to continue...";

std::string Lines(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) text += std::string(line) + "\r\n";
  return text;
}

struct ProbeRun {
  DWORD exitCode = STILL_ACTIVE;
  std::string output;  // empty when standard output was the console
  std::string report;  // what the probe wrote to standard error
};

// Runs the probe in one mode to its end. Standard output goes to a file
// unless options ask for the console.
ProbeRun RunProbe(const char* mode, LaunchOptions options, bool outputToConsole = false) {
  std::string folder = FreshDir(std::string("probe-") + mode);
  options.arguments = mode;
  if (!outputToConsole) options.outputFile = folder + "\\output.txt";
  options.errorFile = folder + "\\report.txt";
  Process process = Launch(FixturePath("console_probe.exe"), options);
  ProbeRun run;
  if (process.handle == nullptr) return run;
  run.exitCode = process.WaitExit();
  if (!outputToConsole) run.output = ReadFileBytes(options.outputFile);
  run.report = ReadFileBytes(options.errorFile);
  return run;
}

LaunchOptions OnTheConsole() {
  LaunchOptions options;
  options.consoleInput = true;
  return options;
}

std::string ConsoleCharacters(COORD from, DWORD count) {
  std::string text(count, '\0');
  DWORD read = 0;
  ReadConsoleOutputCharacterA(ConsoleOutput(), &text[0], count, from, &read);
  text.resize(read);
  return text;
}

std::vector<WORD> ConsoleAttributes(COORD from, DWORD count) {
  std::vector<WORD> attributes(count, 0xBAAD);
  DWORD read = 0;
  ReadConsoleOutputAttribute(ConsoleOutput(), attributes.data(), count, from, &read);
  attributes.resize(read);
  return attributes;
}

// Poisons the screen so that a clear that misses cells shows.
void FillScreen(COORD size, char character, WORD attribute) {
  DWORD cells = static_cast<DWORD>(size.X) * size.Y, done = 0;
  FillConsoleOutputCharacterA(ConsoleOutput(), character, cells, COORD{0, 0}, &done);
  FillConsoleOutputAttribute(ConsoleOutput(), attribute, cells, COORD{0, 0}, &done);
}

CONSOLE_SCREEN_BUFFER_INFO ScreenState() {
  CONSOLE_SCREEN_BUFFER_INFO info = {};
  GetConsoleScreenBufferInfo(ConsoleOutput(), &info);
  return info;
}

TEST(ConsoleScreen, ColoursCellsAndCursorOnARealConsole) {
  FillScreen(ScreenState().dwSize, 'X', 0x4E);
  ProbeRun run = RunProbe("screen", OnTheConsole(), true);
  ASSERT_EQ(run.exitCode, 0u);
  // What the program read back through ConsoleReadCell and the cursor queries.
  EXPECT_EQ(run.report, Lines({"row=1", "column=1",                 // cleared and homed
                               "char=72", "attribute=30",           // 'H' yellow on blue
                               "char=105", "attribute=17",          // 'i', foreground 17 spills
                               "char=35", "attribute=255",          // '#' white on white
                               "char=46", "attribute=7",            // '.' grey on black
                               "char=43", "attribute=257",          // '+' background 16 above the low byte
                               "cleared=7",                         // grey on black after the clear
                               "row=5", "column=12",                // ConsoleLocate(5, 12)
                               "row=5", "column=12",                // (0, 0) is refused
                               "outside=0", "outside=0"}));
  // The same cells as the console itself holds them.
  EXPECT_EQ(ConsoleCharacters(COORD{0, 0}, 6), "Hi#.+ ");
  EXPECT_EQ(ConsoleAttributes(COORD{0, 0}, 6), (std::vector<WORD>{0x1E, 0x11, 0xFF, 0x07, 0x101, 0x07}));
  // Everything else was cleared grey on black.
  COORD size = ScreenState().dwSize;
  DWORD rest = static_cast<DWORD>(size.X) * size.Y - 5;
  EXPECT_EQ(ConsoleCharacters(COORD{5, 0}, rest), std::string(rest, ' '));
  EXPECT_EQ(ConsoleAttributes(COORD{5, 0}, rest), std::vector<WORD>(rest, 0x07));
  CONSOLE_SCREEN_BUFFER_INFO info = ScreenState();
  EXPECT_EQ(info.dwCursorPosition.X, 11);
  EXPECT_EQ(info.dwCursorPosition.Y, 4);
  EXPECT_EQ(info.wAttributes, 0x07);
}

TEST(ConsoleScreen, ClearBlanksABufferOfMoreThan65535Cells) {
  CONSOLE_SCREEN_BUFFER_INFO before = ScreenState();
  const COORD big = {300, 250};
  ASSERT_TRUE(SetConsoleScreenBufferSize(ConsoleOutput(), big));
  const DWORD cells = 300 * 250;
  FillScreen(big, 'X', 0x4E);
  ASSERT_EQ(ConsoleCharacters(COORD{299, 249}, 1), "X");

  ProbeRun run = RunProbe("clear", OnTheConsole(), true);
  std::string characters = ConsoleCharacters(COORD{0, 0}, cells);
  std::vector<WORD> attributes = ConsoleAttributes(COORD{0, 0}, cells);
  CONSOLE_SCREEN_BUFFER_INFO after = ScreenState();
  SetConsoleScreenBufferSize(ConsoleOutput(), before.dwSize);

  ASSERT_EQ(run.exitCode, 0u);
  EXPECT_EQ(run.report, Lines({"row=1", "column=1"}));
  EXPECT_EQ(characters, std::string(cells, ' '));
  EXPECT_EQ(attributes, std::vector<WORD>(cells, 0x07));
  EXPECT_EQ(after.dwCursorPosition.X, 0);
  EXPECT_EQ(after.dwCursorPosition.Y, 0);
  // The clear leaves the text attribute that was set before it.
  EXPECT_EQ(after.wAttributes, 0x1E);
}

TEST(ConsoleOutput, RedirectedToAFileGetsThePrintAndNothingFromTheScreenOperations) {
  LaunchOptions options;
  options.nullInput = true;
  ProbeRun run = RunProbe("redirect", options);
  ASSERT_EQ(run.exitCode, 0u);
  EXPECT_EQ(run.output, "abc-12def\r\n\r\n");
  // No refresh ever succeeds, so the cursor queries give 1 and 1.
  EXPECT_EQ(run.report, Lines({"refresh=0", "row=1", "column=1"}));
}

TEST(ConsoleOutput, WriteOfLengthZeroMakesNoSystemCall) {
  LaunchOptions options;
  options.nullInput = true;
  ProbeRun run = RunProbe("zero", options);
  ASSERT_EQ(run.exitCode, 0u);
  std::string untouched = "error=" + std::to_string(static_cast<int32_t>(0xDEADBEEF));
  std::string invalidHandle = "error=" + std::to_string(ERROR_INVALID_HANDLE);
  EXPECT_EQ(run.report, Lines({"written=0", untouched.c_str(), invalidHandle.c_str()}));
  EXPECT_EQ(run.output, "");
}

TEST(ConsolePollInput, TakesOneRecordPerCallAndKeepsTheLastKeyAndMouse) {
  FlushInput();
  INPUT_RECORD records[] = {KeyRecord(true, 'K', 'k'), KeyRecord(false, 'K', 'k'), MouseMoveRecord(9, 4),
                            FocusRecord(true)};
  WriteInput(records, 4);
  ProbeRun run = RunProbe("poll", OnTheConsole());
  ASSERT_EQ(run.exitCode, 0u);
  EXPECT_EQ(run.report, Lines({"kind=1", "type=1", "down=1", "key=75", "mouse=0",     // press
                               "kind=1", "type=1", "down=0", "key=75", "mouse=0",     // release
                               "kind=2", "type=2", "down=0", "key=75", "mouse=904",   // mouse only
                               "kind=16", "type=16", "down=0", "key=75", "mouse=904", // focus: neither
                               "kind=0", "type=16", "down=0", "key=75", "mouse=904"}));  // empty: untouched
}

TEST(ConsolePollInput, FindsNothingOnInputThatIsNotAConsole) {
  LaunchOptions options;
  options.nullInput = true;
  ProbeRun run = RunProbe("poll", options);
  ASSERT_EQ(run.exitCode, 0u);
  std::string nothing;
  for (int i = 0; i < 5; ++i) nothing += Lines({"kind=0", "type=0", "down=0", "key=0", "mouse=0"});
  EXPECT_EQ(run.report, nothing);
}

DWORD PendingInput() {
  DWORD count = 0;
  GetNumberOfConsoleInputEvents(ConsoleInput(), &count);
  return count;
}

TEST(ConsoleWaitKey, DrainsQueuedKeysAndIgnoresMouseAndFocusUntilAKeyRecord) {
  FlushInput();
  INPUT_RECORD queued[] = {KeyRecord(true, 'Q', 'q'), KeyRecord(false, 'Q', 'q')};
  WriteInput(queued, 2);

  std::string folder = FreshDir("wait-console");
  LaunchOptions options = OnTheConsole();
  options.arguments = "wait";
  options.outputFile = folder + "\\output.txt";
  options.errorFile = folder + "\\report.txt";
  Process process = Launch(FixturePath("console_probe.exe"), options);
  ASSERT_NE(process.handle, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return ReadFileBytes(options.outputFile) == kPrompt; }, 15000, &process));
  // The prompt comes only after the queue was drained, and the queued key did not end the wait.
  EXPECT_EQ(PendingInput(), 0u);

  // Only the last of these may end the wait: a key release.
  INPUT_RECORD during[] = {MouseMoveRecord(7, 3), FocusRecord(false), FocusRecord(true),
                           KeyRecord(false, 'Z', 'z')};
  WriteInput(during, 4);
  ASSERT_EQ(process.WaitExit(), 0u);
  EXPECT_EQ(ReadFileBytes(options.outputFile), std::string(kPrompt) + "\r\n");
  EXPECT_EQ(PendingInput(), 0u);
  EXPECT_EQ(ReadFileBytes(options.errorFile),
            Lines({"type=1", "down=0", "key=90", "mouse=703", "count=1"}));
}

struct PipeInput {
  HANDLE read = nullptr;
  HANDLE write = nullptr;
  PipeInput() {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    CreatePipe(&read, &write, &inherit, 0);
    SetHandleInformation(write, HANDLE_FLAG_INHERIT, 0);
  }
  ~PipeInput() {
    CloseWrite();
    CloseHandle(read);
  }
  void CloseWrite() {
    if (write) CloseHandle(write);
    write = nullptr;
  }
  DWORD Available() const {
    DWORD available = 0;
    PeekNamedPipe(read, nullptr, 0, nullptr, &available, nullptr);
    return available;
  }
};

TEST(ConsoleWaitKey, OnInputThatIsNotAConsoleEndsAtTheEndOfInput) {
  // The NUL device and a pipe whose writer is gone.
  LaunchOptions nul;
  nul.nullInput = true;
  ProbeRun fromNul = RunProbe("wait", nul);
  EXPECT_EQ(fromNul.exitCode, 0u);
  EXPECT_EQ(fromNul.output, std::string(kPrompt) + "\r\n");
  EXPECT_EQ(fromNul.report, Lines({"type=0", "down=0", "key=0", "mouse=0", "count=0"}));

  PipeInput pipe;
  pipe.CloseWrite();
  LaunchOptions closed;
  closed.inputHandle = pipe.read;
  ProbeRun fromPipe = RunProbe("wait", closed);
  EXPECT_EQ(fromPipe.exitCode, 0u);
  EXPECT_EQ(fromPipe.output, std::string(kPrompt) + "\r\n");
  EXPECT_EQ(fromPipe.report, Lines({"type=0", "down=0", "key=0", "mouse=0", "count=0"}));
}

TEST(ConsoleWaitKey, OnInputThatIsNotAConsoleEndsAtOneByte) {
  PipeInput pipe;
  std::string folder = FreshDir("wait-pipe");
  LaunchOptions options;
  options.inputHandle = pipe.read;
  options.arguments = "wait";
  options.outputFile = folder + "\\output.txt";
  options.errorFile = folder + "\\report.txt";
  Process process = Launch(FixturePath("console_probe.exe"), options);
  ASSERT_NE(process.handle, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return ReadFileBytes(options.outputFile) == kPrompt; }, 15000, &process));
  EXPECT_TRUE(process.Running());
  // Two bytes, and the writer stays open: the first byte alone ends the wait.
  DWORD written = 0;
  WriteFile(pipe.write, "ab", 2, &written, nullptr);
  ASSERT_EQ(process.WaitExit(), 0u);
  EXPECT_EQ(ReadFileBytes(options.outputFile), std::string(kPrompt) + "\r\n");
  EXPECT_EQ(ReadFileBytes(options.errorFile), Lines({"type=0", "down=0", "key=0", "mouse=0", "count=1"}));
  EXPECT_EQ(pipe.Available(), 1u);
}

}  // namespace
