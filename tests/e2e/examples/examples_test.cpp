// The examples used as their users use them: the counter clicked, notes typed
// at a real console and then found on disk.
#include <gtest/gtest.h>

#include "driver.h"

using namespace driver;

namespace {

HWND ChildOfClass(HWND parent, const std::string& className) {
  for (HWND child : ChildWindows(parent))
    if (ClassName(child) == className) return child;
  return nullptr;
}

TEST(Counter, EachClickAddsOneToTheNumberTheLabelShows) {
  Process process = Launch(BinPath("examples\\counter.exe"));
  ASSERT_NE(process.handle, nullptr);
  HWND form = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        for (HWND window : TopLevelWindows(process.id))
          if (WindowText(window) == "Counter") form = window;
        return form != nullptr;
      },
      15000, &process));
  HWND label = ChildOfClass(form, "Static");
  HWND button = ChildOfClass(form, "Button");
  ASSERT_NE(label, nullptr);
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(WindowText(button), "Add one");
  EXPECT_EQ(WindowText(label), "0");
  for (int clicks = 1; clicks <= 3; ++clicks) {
    ASSERT_TRUE(BringToFront(form));
    Click(ScreenCentre(button));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(label) == std::to_string(clicks); }, 5000, &process))
        << "after click " << clicks << " the label shows " << WindowText(label);
  }
  EXPECT_EQ(CloseAndWait(process, form), 0u);
}

// One run of notes in folder: the lines typed, then the key at the prompt;
// gives what it wrote to its standard output.
std::string RunNotes(const std::string& folder, const std::vector<std::string>& lines) {
  const char prompt[] = "New note (just Enter to stop): ";
  FlushInput();
  LaunchOptions options;
  options.consoleInput = true;
  options.workingDirectory = folder;
  options.outputFile = folder + "\\output.txt";
  Process process = Launch(BinPath("examples\\notes.exe"), options);
  EXPECT_NE(process.handle, nullptr);
  // Each line is typed once the program asks for it.
  auto asked = [&](size_t times) {
    return WaitUntil(
        [&] {
          std::string output = ReadFileBytes(options.outputFile);
          size_t count = 0;
          for (size_t at = output.find(prompt); at != std::string::npos; at = output.find(prompt, at + 1)) ++count;
          return count >= times;
        },
        15000, &process);
  };
  for (size_t i = 0; i < lines.size(); ++i) {
    EXPECT_TRUE(asked(i + 1));
    TypeText(lines[i] + "\r");
  }
  EXPECT_TRUE(WaitUntil(
      [&] { return ReadFileBytes(options.outputFile).find("Press a key to continue...") != std::string::npos; }, 15000,
      &process));
  PressKey();
  EXPECT_EQ(process.WaitExit(), 0u);
  return ReadFileBytes(options.outputFile);
}

TEST(Notes, StartsAFileAndAddsToItRunAfterRun) {
  std::string folder = FreshDir("notes");
  // Typed input is not echoed into a file: the prompts stand side by side.
  EXPECT_EQ(RunNotes(folder, {"Buy bread", "Call Ada", ""}),
            "No notes yet.\r\n"
            "New note (just Enter to stop): New note (just Enter to stop): New note (just Enter to stop): "
            "Notes added: 2\r\nPress a key to continue...\r\n");
  EXPECT_EQ(ReadFileBytes(folder + "\\notes.txt"), "Buy bread\r\nCall Ada\r\n");

  EXPECT_EQ(RunNotes(folder, {"Water the plants", ""}),
            "Your notes so far:\r\nBuy bread\r\nCall Ada\r\n"
            "New note (just Enter to stop): New note (just Enter to stop): "
            "Notes added: 1\r\nPress a key to continue...\r\n");
  EXPECT_EQ(ReadFileBytes(folder + "\\notes.txt"), "Buy bread\r\nCall Ada\r\nWater the plants\r\n");
}

}  // namespace
