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

// One run of console_probe in one mode. Its report (standard error) goes to a
// file, and so does its standard output unless that is to be the console.
class Probe {
 public:
  Probe(const char* mode, LaunchOptions launch, bool outputToConsole = false) : options_(std::move(launch)) {
    std::string folder = FreshDir(std::string("probe-") + mode);
    options_.arguments = mode;
    if (!outputToConsole) options_.outputFile = folder + "\\output.txt";
    options_.errorFile = folder + "\\report.txt";
    process = Launch(FixturePath("console_probe.exe"), options_);
  }
  bool WaitForOutput(const std::string& text) {
    return process.handle != nullptr && WaitUntil([&] { return Output() == text; }, 15000, &process);
  }
  DWORD WaitExit() const { return process.handle != nullptr ? process.WaitExit() : STILL_ACTIVE; }
  std::string Output() const { return options_.outputFile.empty() ? "" : ReadFileBytes(options_.outputFile); }
  std::string Report() const { return ReadFileBytes(options_.errorFile); }

  Process process;

 private:
  LaunchOptions options_;
};

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
  Probe run("screen", OnTheConsole(), true);
  ASSERT_EQ(run.WaitExit(), 0u);
  // What the program read back through ConsoleReadCell and the cursor queries.
  EXPECT_EQ(run.Report(), Lines({"row=1", "column=1",                 // cleared and homed
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

  Probe run("clear", OnTheConsole(), true);
  DWORD exitCode = run.WaitExit();
  std::string characters = ConsoleCharacters(COORD{0, 0}, cells);
  std::vector<WORD> attributes = ConsoleAttributes(COORD{0, 0}, cells);
  CONSOLE_SCREEN_BUFFER_INFO after = ScreenState();
  SetConsoleScreenBufferSize(ConsoleOutput(), before.dwSize);

  ASSERT_EQ(exitCode, 0u);
  EXPECT_EQ(run.Report(), Lines({"row=1", "column=1"}));
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
  Probe run("redirect", options);
  ASSERT_EQ(run.WaitExit(), 0u);
  EXPECT_EQ(run.Output(), "abc-12def\r\n\r\n");
  // No refresh ever succeeds, so the cursor queries give 1 and 1.
  EXPECT_EQ(run.Report(), Lines({"refresh=0", "row=1", "column=1"}));
}

TEST(ConsoleOutput, WriteOfLengthZeroMakesNoSystemCall) {
  LaunchOptions options;
  options.nullInput = true;
  Probe run("zero", options);
  ASSERT_EQ(run.WaitExit(), 0u);
  std::string untouched = "error=" + std::to_string(static_cast<int32_t>(0xDEADBEEF));
  std::string invalidHandle = "error=" + std::to_string(ERROR_INVALID_HANDLE);
  EXPECT_EQ(run.Report(), Lines({"written=0", untouched.c_str(), invalidHandle.c_str()}));
  EXPECT_EQ(run.Output(), "");
}

TEST(ConsolePollInput, TakesOneRecordPerCallAndKeepsTheLastKeyAndMouse) {
  FlushInput();
  INPUT_RECORD records[] = {KeyRecord(true, 'K', 'k'), KeyRecord(false, 'K', 'k'), MouseMoveRecord(9, 4),
                            FocusRecord(true)};
  WriteInput(records, 4);
  Probe run("poll", OnTheConsole());
  ASSERT_EQ(run.WaitExit(), 0u);
  EXPECT_EQ(run.Report(), Lines({"kind=1", "type=1", "down=1", "key=75", "mouse=0",     // press
                               "kind=1", "type=1", "down=0", "key=75", "mouse=0",     // release
                               "kind=2", "type=2", "down=0", "key=75", "mouse=904",   // mouse only
                               "kind=16", "type=16", "down=0", "key=75", "mouse=904", // focus: neither
                               "kind=0", "type=16", "down=0", "key=75", "mouse=904"}));  // empty: untouched
}

TEST(ConsolePollInput, FindsNothingOnInputThatIsNotAConsole) {
  LaunchOptions options;
  options.nullInput = true;
  Probe run("poll", options);
  ASSERT_EQ(run.WaitExit(), 0u);
  std::string nothing;
  for (int i = 0; i < 5; ++i) nothing += Lines({"kind=0", "type=0", "down=0", "key=0", "mouse=0"});
  EXPECT_EQ(run.Report(), nothing);
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

  Probe probe("wait", OnTheConsole());
  ASSERT_TRUE(probe.WaitForOutput(kPrompt));
  // The prompt comes only after the queue was drained, and the queued key did not end the wait.
  EXPECT_EQ(PendingInput(), 0u);

  // Only the last of these may end the wait: a key release.
  INPUT_RECORD during[] = {MouseMoveRecord(7, 3), FocusRecord(false), FocusRecord(true),
                           KeyRecord(false, 'Z', 'z')};
  WriteInput(during, 4);
  ASSERT_EQ(probe.WaitExit(), 0u);
  EXPECT_EQ(probe.Output(), std::string(kPrompt) + "\r\n");
  EXPECT_EQ(PendingInput(), 0u);
  EXPECT_EQ(probe.Report(),
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
  Probe fromNul("wait", nul);
  EXPECT_EQ(fromNul.WaitExit(), 0u);
  EXPECT_EQ(fromNul.Output(), std::string(kPrompt) + "\r\n");
  EXPECT_EQ(fromNul.Report(), Lines({"type=0", "down=0", "key=0", "mouse=0", "count=0"}));

  PipeInput pipe;
  pipe.CloseWrite();
  LaunchOptions closed;
  closed.inputHandle = pipe.read;
  Probe fromPipe("wait", closed);
  EXPECT_EQ(fromPipe.WaitExit(), 0u);
  EXPECT_EQ(fromPipe.Output(), std::string(kPrompt) + "\r\n");
  EXPECT_EQ(fromPipe.Report(), Lines({"type=0", "down=0", "key=0", "mouse=0", "count=0"}));
}

TEST(ConsoleWaitKey, OnInputThatIsNotAConsoleEndsAtOneByte) {
  PipeInput pipe;
  LaunchOptions options;
  options.inputHandle = pipe.read;
  Probe probe("wait", options);
  ASSERT_TRUE(probe.WaitForOutput(kPrompt));
  EXPECT_TRUE(probe.process.Running());
  // Two bytes, and the writer stays open: the first byte alone ends the wait.
  DWORD written = 0;
  WriteFile(pipe.write, "ab", 2, &written, nullptr);
  ASSERT_EQ(probe.WaitExit(), 0u);
  EXPECT_EQ(probe.Output(), std::string(kPrompt) + "\r\n");
  EXPECT_EQ(probe.Report(), Lines({"type=0", "down=0", "key=0", "mouse=0", "count=1"}));
  EXPECT_EQ(pipe.Available(), 1u);
}

// A console screen buffer as standard input: the console's mode calls accept
// it, but it never delivers an input record, so the wait must not poll it
// and ends as on a file instead.
TEST(ConsoleWaitKey, OnAScreenBufferAsInputEndsAsOnAFile) {
  ConsoleOutput();  // the driver's console, whose screen buffer this opens
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE screen = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              &inherit, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(screen, INVALID_HANDLE_VALUE);
  DWORD mode = 0;
  ASSERT_TRUE(GetConsoleMode(screen, &mode)) << "a handle the console's mode calls accept";
  LaunchOptions options;
  options.inputHandle = screen;
  Probe probe("wait", options);
  EXPECT_EQ(probe.WaitExit(), 0u);
  EXPECT_EQ(probe.Output(), std::string(kPrompt) + "\r\n");
  CloseHandle(screen);
}

}  // namespace
