// The examples used as their users use them: the counter clicked, notes typed
// at a real console and then found on disk, tasks added and removed in the
// to-do list and found in its file, lines drawn on the drawing pad in the
// colours of its menu, the stopwatch started, stopped and reset.
#include <gtest/gtest.h>

#include <cstdlib>

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

HWND MainWindowOf(const Process& process, const std::string& caption) {
  HWND form = nullptr;
  WaitUntil(
      [&] {
        for (HWND window : TopLevelWindows(process.id))
          if (WindowText(window) == caption) form = window;
        return form != nullptr;
      },
      15000, &process);
  return form;
}

HWND ChildWithText(HWND parent, const std::string& text) {
  for (HWND child : ChildWindows(parent))
    if (WindowText(child) == text) return child;
  return nullptr;
}

class Todo : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = FreshDir("todo");
    WriteFileBytes(folder + "\\todo.txt", "Buy bread\r\nCall Ada\r\n");
    Start();
  }

  void Start() {
    LaunchOptions options;
    options.workingDirectory = folder;
    process = Launch(BinPath("examples\\todo.exe"), options);
    ASSERT_NE(process.handle, nullptr);
    form = MainWindowOf(process, "To do");
    ASSERT_NE(form, nullptr);
    task = ChildOfClass(form, "Edit");
    tasks = ChildOfClass(form, "ListBox");
    add = ChildWithText(form, "Add");
    remove = ChildWithText(form, "Remove");
    ASSERT_NE(task, nullptr);
    ASSERT_NE(tasks, nullptr);
    ASSERT_NE(add, nullptr);
    ASSERT_NE(remove, nullptr);
    ASSERT_TRUE(BringToFront(form));
  }

  bool ItemsBecome(const std::vector<std::string>& items) {
    return WaitUntil([&] { return ListBoxItems(tasks) == items; }, 15000, &process);
  }
  bool FileBecomes(const std::string& bytes) {
    return WaitUntil([&] { return ReadFileBytes(folder + "\\todo.txt") == bytes; }, 15000, &process);
  }
  POINT Item(int index) {
    int height = static_cast<int>(SendMessageA(tasks, LB_GETITEMHEIGHT, 0, 0));
    return ScreenPoint(tasks, 10, index * height + height / 2);
  }

  std::string folder;
  Process process;
  HWND form = nullptr, task = nullptr, tasks = nullptr, add = nullptr, remove = nullptr;
};

TEST_F(Todo, ShowsTheSavedTasks) {
  EXPECT_TRUE(ItemsBecome({"Buy bread", "Call Ada"}));
  EXPECT_FALSE(IsWindowEnabled(add)) << "Add with nothing typed";
  EXPECT_FALSE(IsWindowEnabled(remove)) << "Remove with nothing picked";
}

// Typed, then Enter: the default button adds the task; the file follows.
TEST_F(Todo, ATypedTaskIsAddedAndSaved) {
  ASSERT_TRUE(WaitUntil([&] { return HoldsFocus(process, task); }, 5000, &process));
  for (WORD key : {'T', 'E', 'A'}) TypeKey(key);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(add) != FALSE; }, 5000, &process));
  TypeKey(VK_RETURN);
  EXPECT_TRUE(ItemsBecome({"Buy bread", "Call Ada", "tea"}));
  EXPECT_TRUE(FileBecomes("Buy bread\r\nCall Ada\r\ntea\r\n"));
  EXPECT_EQ(WindowText(task), "");
}

TEST_F(Todo, APickedTaskIsRemovedAndTheFileFollows) {
  Click(Item(0));
  ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(remove) != FALSE; }, 5000, &process));
  Click(ScreenCentre(remove));
  EXPECT_TRUE(ItemsBecome({"Call Ada"}));
  EXPECT_TRUE(FileBecomes("Call Ada\r\n"));
  EXPECT_FALSE(IsWindowEnabled(remove));
}

// A double-click takes the task back into the box to be changed.
TEST_F(Todo, ADoubleClickTakesTheTaskBackToChangeIt) {
  DoubleClick(Item(1));
  EXPECT_TRUE(ItemsBecome({"Buy bread"}));
  EXPECT_TRUE(WaitUntil([&] { return WindowText(task) == "Call Ada"; }, 5000, &process)) << WindowText(task);
  EXPECT_TRUE(FileBecomes("Buy bread\r\n"));
}

TEST_F(Todo, TheTasksAreThereAtTheNextStart) {
  ASSERT_TRUE(WaitUntil([&] { return HoldsFocus(process, task); }, 5000, &process));
  for (WORD key : {'M', 'I', 'L', 'K'}) TypeKey(key);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(add) != FALSE; }, 5000, &process));
  Click(ScreenCentre(add));
  ASSERT_TRUE(FileBecomes("Buy bread\r\nCall Ada\r\nmilk\r\n"));
  EXPECT_EQ(CloseAndWait(process, form), 0u);
  Start();
  EXPECT_TRUE(ItemsBecome({"Buy bread", "Call Ada", "milk"}));
}

class DrawingPad : public ::testing::Test {
 protected:
  void SetUp() override {
    process = Launch(BinPath("examples\\drawpad.exe"));
    ASSERT_NE(process.handle, nullptr);
    form = MainWindowOf(process, "Drawing pad");
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(BringToFront(form));
    ASSERT_TRUE(WaitUntil([&] { return ClientPixel(form, 200, 250) == kWhite; }, 15000, &process));
  }

  // Alt and the menu's letter, then the item's.
  void Pick(WORD menu, WORD item) {
    KeyEvent(VK_MENU, true);
    TypeKey(menu);
    KeyEvent(VK_MENU, false);
    TypeKey(item);
  }

  // A stroke along a row, from x1 to x2, once the pad is in front and under
  // its start: input sent before would go to whatever window is there.
  void Stroke(int x1, int x2, int y) {
    POINT from = ScreenPoint(form, x1, y);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == form && WindowFromPoint(from) == form; }, 15000,
                          &process));
    Drag(from, ScreenPoint(form, x2, y));
  }

  // A paint under Wine in a loaded session can take seconds: the pixel is
  // polled, generously.
  bool Becomes(int x, int y, COLORREF colour, DWORD milliseconds = 15000) {
    return WaitUntil([&] { return ClientPixel(form, x, y) == colour; }, milliseconds, &process);
  }

  // A stroke that shows in the colour at the pointer's last place (client
  // coordinates in end), stroked again when it does not: with Wine's X
  // server busy, a synthesized button press has been seen to go astray in
  // a loaded session, and stroking the same line twice draws the same.
  bool StrokeDrawn(int x1, int x2, int y, COLORREF colour, POINT* end) {
    for (int attempt = 0; attempt < 3; ++attempt) {
      Stroke(x1, x2, y);
      GetCursorPos(end);
      ScreenToClient(form, end);
      if (Becomes(end->x, end->y, colour, 5000)) return true;
    }
    return false;
  }

  static constexpr COLORREF kWhite = 0xFFFFFF, kBlack = 0x000000, kRed = 0x0000FF;
  Process process;
  HWND form = nullptr;
};

// Where the pointer went while held, the page has the pen's colour.
TEST_F(DrawingPad, AStrokeDrawsALine) {
  POINT end;
  ASSERT_TRUE(StrokeDrawn(50, 150, 200, kBlack, &end));
  EXPECT_TRUE(Becomes((50 + end.x) / 2, end.y, kBlack)) << "the line is not drawn between the pointer's places";
  EXPECT_EQ(ClientPixel(form, 100, 230), kWhite);
}

TEST_F(DrawingPad, TheColourMenuChangesThePen) {
  POINT end;
  EXPECT_TRUE(Retried([&] { Pick('C', 'R'); }, [&] { return StrokeDrawn(60, 160, 150, kRed, &end); }));
}

// The drawing is in the bitmap: a paint shows it again; Clear starts afresh.
TEST_F(DrawingPad, TheDrawingStaysThroughAPaintUntilClear) {
  POINT end;
  ASSERT_TRUE(StrokeDrawn(50, 150, 120, kBlack, &end));
  InvalidateRect(form, nullptr, TRUE);
  UpdateWindow(form);
  EXPECT_TRUE(Becomes(end.x, end.y, kBlack));
  EXPECT_TRUE(Retried([&] { Pick('F', 'C'); }, [&] { return Becomes(end.x, end.y, kWhite, 5000); }));
}

TEST_F(DrawingPad, QuitInTheFileMenuEndsIt) {
  EXPECT_EQ(ExitAfter(process, [&] { Pick('F', 'Q'); }), 0u);
}

class Stopwatch : public ::testing::Test {
 protected:
  void SetUp() override {
    process = Launch(BinPath("examples\\stopwatch.exe"));
    ASSERT_NE(process.handle, nullptr);
    form = MainWindowOf(process, "Stopwatch");
    ASSERT_NE(form, nullptr);
    shown = ChildOfClass(form, "Static");
    start = ChildWithText(form, "Start");
    stop = ChildWithText(form, "Stop");
    reset = ChildWithText(form, "Reset");
    ASSERT_NE(shown, nullptr);
    ASSERT_NE(start, nullptr);
    ASSERT_NE(stop, nullptr);
    ASSERT_NE(reset, nullptr);
    ASSERT_TRUE(BringToFront(form));
  }

  // The time shown, "m:ss.t", in tenths of a second; -1 for another text.
  int Tenths() {
    std::string text = WindowText(shown);
    size_t colon = text.find(':'), point = text.find('.');
    if (colon == std::string::npos || point != colon + 3 || text.size() != point + 2) return -1;
    return (std::atoi(text.c_str()) * 60 + std::atoi(text.c_str() + colon + 1)) * 10 + (text[point + 1] - '0');
  }

  void Press(HWND button) {
    BringToFront(form);
    Click(ScreenCentre(button));
  }

  Process process;
  HWND form = nullptr, shown = nullptr, start = nullptr, stop = nullptr, reset = nullptr;
};

TEST_F(Stopwatch, StartsAtNought) {
  EXPECT_EQ(WindowText(shown), "0:00.0");
  EXPECT_TRUE(IsWindowEnabled(start));
  EXPECT_FALSE(IsWindowEnabled(stop));
}

// Running, the time goes up; stopped, it holds; started again, it goes on
// from there; reset, it is nought.
TEST_F(Stopwatch, CountsHoldsGoesOnAndResets) {
  Press(start);
  EXPECT_TRUE(WaitUntil([&] { return Tenths() >= 3; }, 15000, &process)) << WindowText(shown);
  EXPECT_FALSE(IsWindowEnabled(start));
  Press(stop);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(start) != FALSE; }, 5000, &process));
  std::string held = WindowText(shown);
  int heldTenths = Tenths();
  ASSERT_GE(heldTenths, 3);
  // Many ticks' time: a stopped watch shows the same.
  EXPECT_FALSE(WaitUntil([&] { return WindowText(shown) != held; }, 500, &process)) << WindowText(shown);
  Press(start);
  EXPECT_TRUE(WaitUntil([&] { return Tenths() > heldTenths; }, 15000, &process)) << WindowText(shown);
  Press(stop);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(start) != FALSE; }, 5000, &process));
  Press(reset);
  EXPECT_TRUE(WaitUntil([&] { return WindowText(shown) == "0:00.0"; }, 5000, &process)) << WindowText(shown);
}

}  // namespace
