// Every GUI program under messages that another process posts to its form:
// pointers that no control of the program supplied, a scroll bar of a hung
// thread, and a seeded stream of random messages. Each program must stay
// alive and keep answering.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "driver.h"

using namespace driver;

namespace {

struct GuiProgram {
  const char* name;
  const char* signature;
  bool boxBeforeForm;  // a message box to answer before the form appears
  bool ownConsole;     // opens a console of its own
};

const GuiProgram kPrograms[] = {
    {"tintbox", "Tessaric8868", false, false},  {"linefind", "Tessaric1622", true, false},
    {"circlet", "Tessaric2366", false, true},   {"keyprobe", "Tessaric4569", false, false},
    {"textview", "Tessaric9232", false, false}, {"bitcopy", "Tessaric1608", false, false},
    {"picshow", "Tessaric3575", false, false},  {"squarefill", "Tessaric1040", false, false},
};

const GuiProgram& Program(const std::string& name) {
  for (const GuiProgram& program : kPrograms)
    if (name == program.name) return program;
  return kPrograms[0];
}

struct Running {
  Process process;
  HWND form = nullptr;
};

// Starts the program in a folder of its own (the text samples create their
// files there) and waits until its form waits for input.
Running Start(const GuiProgram& program) {
  LaunchOptions options;
  options.workingDirectory = FreshDir(std::string("hostile-") + program.name);
  if (program.ownConsole) options.creationFlags = DETACHED_PROCESS;
  Running run;
  run.process = Launch(BinPath(std::string(program.name) + ".exe"), options);
  if (program.boxBeforeForm) {
    MessageBoxInfo box = WaitForMessageBox(run.process);
    if (box.window != nullptr) CloseMessageBox(box.window);
  }
  run.form = WaitForWindow(run.process, program.signature);
  // tintbox shows its form before it handles its pending messages, a step
  // that would swallow the quit message of an early close.
  WaitForInputIdle(run.process.handle, 15000);
  return run;
}

// Alive and taking sent messages. A thread takes them in its message loop,
// but also while it waits for the reply to a message it sent itself.
bool Answers(const Running& run, DWORD timeoutMs = 5000) {
  DWORD_PTR ignored = 0;
  return run.process.Running() &&
         SendMessageTimeoutA(run.form, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &ignored) != 0;
}

// Posted last, the close is taken after everything posted before it; the
// program then ends as a user closing it would see.
void ExpectAnswersAndCloses(const Running& run) {
  EXPECT_TRUE(Answers(run));
  EXPECT_EQ(CloseAndWait(run.process, run.form), 0u);
}

// A low address, and one whose structure would run past the top of the
// address space.
TEST(HostileMessages, ANotificationPointerFromOutsideIsNeverRead) {
  for (const GuiProgram& program : kPrograms) {
    SCOPED_TRACE(program.name);
    Running run = Start(program);
    ASSERT_NE(run.form, nullptr);
    for (LPARAM pointer : {LPARAM{0x4C}, static_cast<LPARAM>(0xFFFFFFF8u)})
      ASSERT_TRUE(PostMessageA(run.form, WM_NOTIFY, 1, pointer));
    ExpectAnswersAndCloses(run);
  }
}

// keyprobe opens a box for every key-down; the box's own loop dispatches the
// messages posted to the form while it is shown.
TEST(HostileMessages, WhileAMessageBoxIsShownTheNotificationPointerIsNotReadEither) {
  Running run = Start(Program("keyprobe"));
  ASSERT_NE(run.form, nullptr);
  PostKey(run.form, 'A');
  MessageBoxInfo box = WaitForMessageBox(run.process);
  ASSERT_NE(box.window, nullptr);
  ASSERT_TRUE(PostMessageA(run.form, WM_NOTIFY, 1, 0x4C));
  // Posted after it, the click that closes the box is taken after it.
  CloseMessageBox(box.window);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box.window); }, 5000, &run.process));
  ExpectAnswersAndCloses(run);
}

// A window whose thread never takes its messages.
class HungWindow {
 public:
  HungWindow()
      : release_(CreateEventA(nullptr, TRUE, FALSE, nullptr)), made_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
    thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
    WaitForSingleObject(made_, 5000);
  }
  ~HungWindow() {
    // Its thread's end destroys the window, and any send still waiting for it fails.
    SetEvent(release_);
    WaitForSingleObject(thread_, 5000);
    CloseHandle(thread_);
    CloseHandle(made_);
    CloseHandle(release_);
  }
  HWND window = nullptr;

 private:
  static DWORD WINAPI Run(void* self) {
    HungWindow* hung = static_cast<HungWindow*>(self);
    hung->window = CreateWindowExA(0, "SCROLLBAR", nullptr, WS_POPUP | SBS_HORZ, 0, 0, 100, 20, nullptr,
                                   nullptr, nullptr, nullptr);
    SetEvent(hung->made_);
    WaitForSingleObject(hung->release_, INFINITE);
    if (hung->window != nullptr) DestroyWindow(hung->window);
    return 0;
  }
  HANDLE release_, made_, thread_ = nullptr;
};

// A thread that waits for the reply to a message it sent still answers sent
// messages; only the posted close that follows shows that it went on.
TEST(HostileMessages, AThumbPositionForAHungWindowElsewhereNeverBlocks) {
  HungWindow hung;
  ASSERT_NE(hung.window, nullptr);
  for (const GuiProgram& program : kPrograms) {
    SCOPED_TRACE(program.name);
    Running run = Start(program);
    ASSERT_NE(run.form, nullptr);
    for (UINT message : {WM_HSCROLL, WM_VSCROLL})
      ASSERT_TRUE(PostMessageA(run.form, message, MAKEWPARAM(SB_THUMBPOSITION, 5),
                               reinterpret_cast<LPARAM>(hung.window)));
    ExpectAnswersAndCloses(run);
  }
}

// Random messages among those the window procedure interprets itself, with
// parameters drawn from what can go wrong: any value, small numbers, readable
// bytes of the program's image that are no structure, the program's own
// control identifiers and windows.
class MessageSource {
 public:
  MessageSource(uint32_t seed, HWND form) : random_(seed), children_(ChildWindows(form)) {
    children_.push_back(form);
  }

  struct Message {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };

  Message Next() {
    static const UINT kMessages[] = {WM_NOTIFY, WM_DRAWITEM, WM_COMMAND,     WM_HSCROLL,
                                     WM_VSCROLL, WM_PARENTNOTIFY, WM_SIZE, WM_PAINT};
    UINT message = kMessages[Below(sizeof kMessages / sizeof kMessages[0])];
    return {message, WParam(), LParam()};
  }

 private:
  uint32_t Below(uint32_t bound) { return std::uniform_int_distribution<uint32_t>(0, bound - 1)(random_); }
  uint32_t Any() { return random_(); }

  WPARAM WParam() {
    switch (Below(4)) {
      case 0: return Any();
      case 1: return Below(16);
      // A control's identifier, or a menu entry's, with a notification or scroll code.
      case 2: return MAKEWPARAM(Below(8) + (Below(4) == 0 ? 1000 : 0), Below(4) == 0 ? Any() : Below(8));
      default: return MAKEWPARAM(Below(2) == 0 ? SB_THUMBPOSITION : Below(9), Below(200));
    }
  }

  LPARAM LParam() {
    switch (Below(5)) {
      case 0: return static_cast<LPARAM>(Any());
      case 1: return static_cast<LPARAM>(Below(0x10000));
      // Programs have no relocations: their image is readable from 0x400000.
      case 2: return static_cast<LPARAM>(0x400000 + Below(0x2000));
      case 3: return 0;
      default: return reinterpret_cast<LPARAM>(children_[Below(static_cast<uint32_t>(children_.size()))]);
    }
  }

  std::mt19937 random_;
  std::vector<HWND> children_;
};

uint32_t FuzzSeed() {
  const char* given = std::getenv("TESSARIC_FUZZ_SEED");
  return given != nullptr && *given != 0 ? static_cast<uint32_t>(std::strtoul(given, nullptr, 0)) : 20240611u;
}

TEST(HostileMessages, RandomMessagesLeaveEveryProgramAnswering) {
  constexpr int kBatches = 30, kBatchSize = 100;
  const uint32_t seed = FuzzSeed();
  std::printf("random messages from seed %u (replay with TESSARIC_FUZZ_SEED=%u)\n", seed, seed);
  for (size_t p = 0; p < sizeof kPrograms / sizeof kPrograms[0]; ++p) {
    const GuiProgram& program = kPrograms[p];
    SCOPED_TRACE(std::string(program.name) + ", seed " + std::to_string(seed));
    Running run = Start(program);
    ASSERT_NE(run.form, nullptr);
    MessageSource source(seed + static_cast<uint32_t>(p), run.form);
    for (int batch = 0; batch < kBatches; ++batch) {
      for (int i = 0; i < kBatchSize; ++i) {
        MessageSource::Message next = source.Next();
        if (next.message != WM_DRAWITEM) {
          ASSERT_TRUE(PostMessageA(run.form, next.message, next.wParam, next.lParam));
          continue;
        }
        // The system refuses to post a message whose structure it would have
        // to copy into the program; sending copies it there.
        DRAWITEMSTRUCT item = {};
        item.CtlType = next.wParam % 6;
        item.CtlID = static_cast<UINT>(next.wParam);
        item.hwndItem = reinterpret_cast<HWND>(next.lParam);
        item.hDC = reinterpret_cast<HDC>(next.lParam);
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(run.form, WM_DRAWITEM, next.wParam, reinterpret_cast<LPARAM>(&item), SMTO_ABORTIFHUNG,
                            1000, &ignored);
      }
      // A box that a handler opens is answered, as a user would.
      for (HWND box : TopLevelWindows(run.process.id, "#32770")) CloseMessageBox(box);
      ASSERT_TRUE(Answers(run)) << "after batch " << batch;
    }
    ExpectAnswersAndCloses(run);
  }
}

}  // namespace
