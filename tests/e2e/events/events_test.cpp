// The event rules under real input: the probe program logs every handler call,
// the driver gives it mouse and keyboard input through the system and reads
// the log. Each rule runs against every generation of the library.
#include <gtest/gtest.h>

#include <sstream>

#include "driver.h"

#include <commctrl.h>

using namespace driver;

namespace {

// One handler call, as the probe writes it.
struct Call {
  std::string slot;
  int object = 0, message = 0, wParam = 0, lParam = 0, code = 0, current = 0, query = 0;
  int left = 0, top = 0, width = 0, height = 0;
  std::string text;
};

std::vector<Call> ParseLog(const std::string& bytes) {
  std::vector<Call> calls;
  std::istringstream lines(bytes);
  std::string line;
  while (std::getline(lines, line)) {
    // A line still being written has no line end yet.
    if (line.empty() || line.back() != '\r') break;
    line.pop_back();
    size_t bar = line.find(" |");
    if (bar == std::string::npos) break;
    Call call;
    std::istringstream fields(line.substr(0, bar));
    fields >> call.slot >> call.object >> call.message >> call.wParam >> call.lParam >> call.code >>
        call.current >> call.query >> call.left >> call.top >> call.width >> call.height;
    call.text = line.substr(bar + 2);
    calls.push_back(call);
  }
  return calls;
}

std::string Describe(const std::vector<Call>& calls) {
  std::string text;
  for (const Call& call : calls)
    text += call.slot + " obj " + std::to_string(call.object) + " msg " + std::to_string(call.message) + "\n";
  return text;
}

// The indices of the probe's objects: its creation order.
enum Object { kForm, kButton, kEdit, kEditCombo, kList, kListCombo, kScrollBar, kStatusBar, kSecondForm };

constexpr int kChildIndex257 = 0x0101;  // an index beyond the table that 255 masks to 1

// How the generations differ, as the rules state them.
struct Generation {
  const char* name;
  const char* program;
  bool childClickRunsMainForm;  // WM_PARENTNOTIFY runs the main form's OnMouseDown
  bool missingGoesToOnMessage;  // a missing object or handler ends in OnMessage, not the default
  int clickCode;                // EventCode of NM_CLICK
  bool findMakesCurrent;        // handlers found by window run with their object current
  bool indexMaskedTo8Bits;      // indices from messages keep only their low 8 bits
  bool statusBarHasGrip;        // the status bar is made with SBARS_SIZEGRIP
};

const Generation kLatest = {"Latest", "events_latest.exe", true, false, -2, false, false, false};
const Generation kMiddle = {"Middle", "events_middle.exe", true, false, -2, false, false, true};
const Generation kEarliest = {"Earliest", "events_earliest.exe", false, true, 2, true, true, true};

class EventRules : public testing::TestWithParam<Generation> {
 protected:
  void Start(const std::string& mode = "") {
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->name());
    for (char& c : name)
      if (c == '/') c = '-';
    LaunchOptions options;
    options.nullInput = true;
    options.outputFile = FreshDir(name) + "\\log.txt";
    options.arguments = mode;
    log_ = options.outputFile;
    process_ = Launch(FixturePath(GetParam().program), options);
    ASSERT_NE(process_.handle, nullptr);
    form_ = FormWithCaption("eventprobe");
    ASSERT_NE(form_, nullptr);
    // The loop runs once the form's show has been logged and the window answers.
    ASSERT_TRUE(WaitForCall([](const Call& c) { return c.slot == "OnShow" && c.object == kForm; }, 0));
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(form_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
  }

  HWND FormWithCaption(const std::string& caption) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
          for (HWND window : TopLevelWindows(process_.id, "Tessaric7301"))
            if (WindowText(window) == caption) found = window;
          return found != nullptr;
        },
        15000, &process_);
    return found;
  }

  HWND Control(Object index) const { return GetDlgItem(form_, index); }

  // The screen point of a list box entry, near its left end.
  POINT ListEntry(int entry) const {
    HWND list = Control(kList);
    int itemHeight = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    return ScreenPoint(list, 20, entry * itemHeight + itemHeight / 2);
  }

  std::vector<Call> Calls() const { return ParseLog(ReadFileBytes(log_)); }
  size_t Mark() const { return Calls().size(); }
  std::vector<Call> CallsSince(size_t mark) const {
    std::vector<Call> calls = Calls();
    return std::vector<Call>(calls.begin() + std::min(mark, calls.size()), calls.end());
  }

  bool WaitForCall(const std::function<bool(const Call&)>& match, size_t mark) const {
    return WaitUntil(
        [&] {
          for (const Call& call : CallsSince(mark))
            if (match(call)) return true;
          return false;
        },
        10000, &process_);
  }

  // Waits until a posted key (down and up) has been handled by the main form,
  // which proves everything posted before it has been handled too.
  bool Settle(size_t mark) const {
    PostKey(form_, VK_F12);
    return WaitForCall(
        [](const Call& c) { return c.slot == "OnKeyUp" && c.object == kForm && c.wParam == VK_F12; }, mark);
  }

  static std::vector<Call> Only(const std::vector<Call>& calls, std::initializer_list<const char*> slots) {
    std::vector<Call> kept;
    for (const Call& call : calls)
      for (const char* slot : slots)
        if (call.slot == slot) kept.push_back(call);
    return kept;
  }

  static int CountWhere(const std::vector<Call>& calls, const std::function<bool(const Call&)>& match) {
    int count = 0;
    for (const Call& call : calls) count += match(call) ? 1 : 0;
    return count;
  }

  void BringFormToFront() { ASSERT_TRUE(BringToFront(form_)); }

  Process process_;
  HWND form_ = nullptr;
  std::string log_;
};

TEST_P(EventRules, ButtonClickRunsMouseDownCommandMouseUpInThatOrder) {
  ASSERT_NO_FATAL_FAILURE(Start());
  BringFormToFront();
  HWND button = Control(kButton);
  POINT centre = ScreenCentre(button);
  size_t mark = Mark();
  Click(centre);
  ASSERT_TRUE(WaitForCall([](const Call& c) { return c.slot == "OnMouseUp" && c.object == kButton; }, mark));

  std::vector<Call> calls = Only(CallsSince(mark), {"OnMouseDown", "OnCommand", "OnMouseUp"});
  size_t first = GetParam().childClickRunsMainForm ? 1 : 0;
  ASSERT_EQ(calls.size(), first + 3) << Describe(calls);

  POINT inForm = centre, inButton = centre;
  ScreenToClient(form_, &inForm);
  ScreenToClient(button, &inButton);
  if (GetParam().childClickRunsMainForm) {
    // From the parent notification, before anything of the button's own.
    EXPECT_EQ(calls[0].slot, "OnMouseDown");
    EXPECT_EQ(calls[0].object, kForm);
    EXPECT_EQ(calls[0].code, 0);
    EXPECT_EQ(calls[0].lParam, MAKELONG(inForm.x, inForm.y));
  } else {
    // No parent-notify step: the notification ends in the form's OnMessage.
    EXPECT_EQ(CountWhere(CallsSince(mark),
                         [](const Call& c) {
                           return c.slot == "OnMessage" && c.message == WM_PARENTNOTIFY &&
                                  LOWORD(c.wParam) == WM_LBUTTONDOWN;
                         }),
              1);
  }
  const Call& down = calls[first];
  EXPECT_EQ(down.slot, "OnMouseDown");
  EXPECT_EQ(down.object, kButton);
  EXPECT_EQ(down.message, WM_LBUTTONDOWN);
  EXPECT_EQ(down.wParam, MK_LBUTTON);
  EXPECT_EQ(down.lParam, MAKELONG(inButton.x, inButton.y));
  const Call& command = calls[first + 1];
  EXPECT_EQ(command.slot, "OnCommand");
  EXPECT_EQ(command.object, kButton);
  EXPECT_EQ(command.message, WM_COMMAND);
  EXPECT_EQ(command.code, BN_CLICKED);
  EXPECT_EQ(command.wParam, MAKELONG(kButton, BN_CLICKED));
  EXPECT_EQ(command.lParam, static_cast<int>(reinterpret_cast<UINT_PTR>(button)));
  const Call& up = calls[first + 2];
  EXPECT_EQ(up.slot, "OnMouseUp");
  EXPECT_EQ(up.object, kButton);
  EXPECT_EQ(up.message, WM_LBUTTONUP);
}

TEST_P(EventRules, KeyDownSeesTheLetterBeforeTheEditBoxDoes) {
  ASSERT_NO_FATAL_FAILURE(Start());
  BringFormToFront();
  HWND edit = Control(kEdit);
  Click(ScreenCentre(edit));
  ASSERT_TRUE(WaitUntil([&] { return HoldsFocus(process_, edit); }, 5000, &process_));
  size_t mark = Mark();
  TypeKey('A');
  ASSERT_TRUE(WaitForCall([](const Call& c) { return c.slot == "OnKeyUp" && c.object == kEdit; }, mark));

  std::vector<Call> keys = Only(CallsSince(mark), {"OnKeyDown", "OnKeyUp"});
  ASSERT_EQ(keys.size(), 2u) << Describe(keys);
  EXPECT_EQ(keys[0].slot, "OnKeyDown");
  EXPECT_EQ(keys[0].object, kEdit);
  EXPECT_EQ(keys[0].message, WM_KEYDOWN);
  EXPECT_EQ(keys[0].wParam, 'A');
  EXPECT_EQ(keys[0].text, "");
  EXPECT_EQ(keys[1].slot, "OnKeyUp");
  EXPECT_EQ(keys[1].message, WM_KEYUP);
  EXPECT_EQ(keys[1].wParam, 'A');
  EXPECT_EQ(keys[1].text, "a");
  EXPECT_EQ(WindowText(edit), "a");
}

TEST_P(EventRules, KeysInTheEditFieldOfADropDownComboRunNoHandler) {
  ASSERT_NO_FATAL_FAILURE(Start());
  BringFormToFront();
  HWND combo = Control(kEditCombo);
  HWND field = FindWindowExA(combo, nullptr, "Edit", nullptr);
  ASSERT_NE(field, nullptr);
  Click(ScreenCentre(field));
  ASSERT_TRUE(WaitUntil([&] { return HoldsFocus(process_, field); }, 5000, &process_));
  size_t mark = Mark();
  TypeKey('X');
  TypeKey('Y');
  // The keys arrived: the field holds them.
  ASSERT_TRUE(WaitUntil([&] { return WindowText(combo) == "xy"; }, 5000, &process_));
  ASSERT_TRUE(Settle(mark));
  std::vector<Call> keys = Only(CallsSince(mark), {"OnKeyDown", "OnKeyUp"});
  EXPECT_EQ(CountWhere(keys, [](const Call& c) { return c.wParam != VK_F12; }), 0) << Describe(keys);
}

TEST_P(EventRules, KeysAimedAtTheFormRunObjectZerosHandler) {
  ASSERT_NO_FATAL_FAILURE(Start());
  size_t mark = Mark();
  PostKey(form_, 'Q');
  ASSERT_TRUE(WaitForCall([](const Call& c) { return c.slot == "OnKeyUp" && c.wParam == 'Q'; }, mark));
  std::vector<Call> keys = Only(CallsSince(mark), {"OnKeyDown", "OnKeyUp"});
  ASSERT_EQ(keys.size(), 2u) << Describe(keys);
  EXPECT_EQ(keys[0].slot, "OnKeyDown");
  EXPECT_EQ(keys[0].object, kForm);
  EXPECT_EQ(keys[0].message, WM_KEYDOWN);
  EXPECT_EQ(keys[0].wParam, 'Q');
  EXPECT_EQ(keys[1].object, kForm);
}

TEST_P(EventRules, AnIndexBeyondTheTableInAKeyOrCommandIsMaskedOrIgnored) {
  ASSERT_NO_FATAL_FAILURE(Start());
  size_t mark = Mark();
  // Input and a command that another program posts, naming index 257.
  PostMessageA(form_, WM_KEYDOWN, MAKEWPARAM('W', kChildIndex257), KeyLParam('W', true));
  PostMessageA(form_, WM_COMMAND, MAKEWPARAM(kChildIndex257, BN_CLICKED),
               reinterpret_cast<LPARAM>(Control(kButton)));
  ASSERT_TRUE(Settle(mark));
  std::vector<Call> calls = CallsSince(mark);
  int keyRuns = CountWhere(calls, [](const Call& c) { return c.slot == "OnKeyDown" && c.wParam == 'W'; });
  int commandRuns = CountWhere(calls, [](const Call& c) { return c.slot == "OnCommand"; });
  if (GetParam().indexMaskedTo8Bits) {
    // 257 AND 255 is the button.
    ASSERT_EQ(keyRuns, 1) << Describe(calls);
    ASSERT_EQ(commandRuns, 1) << Describe(calls);
    for (const Call& call : calls)
      if (call.slot == "OnCommand" || (call.slot == "OnKeyDown" && call.wParam == 'W'))
        EXPECT_EQ(call.object, kButton) << call.slot;
  } else {
    EXPECT_EQ(keyRuns, 0) << Describe(calls);
    EXPECT_EQ(commandRuns, 0) << Describe(calls);
  }
}

TEST_P(EventRules, SelectionChangesRunNoHandler) {
  ASSERT_NO_FATAL_FAILURE(Start());
  BringFormToFront();
  HWND list = Control(kList);
  size_t mark = Mark();
  Click(ListEntry(1));
  ASSERT_TRUE(WaitUntil([&] { return SendMessageA(list, LB_GETCURSEL, 0, 0) == 1; }, 5000, &process_));

  HWND combo = Control(kListCombo);
  ASSERT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 0);
  PostKey(combo, VK_DOWN);
  ASSERT_TRUE(WaitUntil([&] { return SendMessageA(combo, CB_GETCURSEL, 0, 0) == 1; }, 5000, &process_));
  ASSERT_TRUE(Settle(mark));

  // Focus notifications may run OnCommand; a selection change never does.
  std::vector<Call> calls = CallsSince(mark);
  EXPECT_EQ(CountWhere(calls, [](const Call& c) { return c.slot == "OnCommand" && c.code == 1; }), 0)
      << Describe(calls);
  // Both controls did report: LBN_SELCHANGE and CBN_SELCHANGE are code 1.
  int codeOneSeen = CountWhere(calls, [](const Call& c) {
    return c.slot == "OnMessage" && c.message == WM_COMMAND && HIWORD(c.wParam) == 1;
  });
  if (GetParam().missingGoesToOnMessage) {
    EXPECT_EQ(codeOneSeen, 2) << Describe(calls);
  } else {
    EXPECT_EQ(codeOneSeen, 0) << Describe(calls);
  }
}

TEST_P(EventRules, DoubleClickOnAListEntryRunsOnCommandWithCode2) {
  ASSERT_NO_FATAL_FAILURE(Start());
  BringFormToFront();
  HWND list = Control(kList);
  size_t mark = Mark();
  DoubleClick(ListEntry(2));
  auto doubleClick = [](const Call& c) { return c.slot == "OnCommand" && c.code == LBN_DBLCLK; };
  ASSERT_TRUE(WaitForCall(doubleClick, mark));
  ASSERT_TRUE(Settle(mark));

  std::vector<Call> commands = Only(CallsSince(mark), {"OnCommand"});
  ASSERT_EQ(CountWhere(commands, doubleClick), 1) << Describe(commands);
  for (const Call& command : commands) {
    if (!doubleClick(command)) continue;
    EXPECT_EQ(command.object, kList);
    EXPECT_EQ(command.message, WM_COMMAND);
    EXPECT_EQ(command.wParam, MAKELONG(kList, LBN_DBLCLK));
  }
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2);
  std::vector<Call> doubles = Only(CallsSince(mark), {"OnDoubleClick"});
  ASSERT_EQ(doubles.size(), 1u);
  EXPECT_EQ(doubles[0].object, kList);
  EXPECT_EQ(doubles[0].message, WM_LBUTTONDBLCLK);
}

TEST_P(EventRules, StatusBarClickRunsOnCommandWithTheClickCode) {
  ASSERT_NO_FATAL_FAILURE(Start());
  BringFormToFront();
  HWND bar = Control(kStatusBar);
  EXPECT_EQ((GetWindowLongA(bar, GWL_STYLE) & SBARS_SIZEGRIP) != 0, GetParam().statusBarHasGrip);
  size_t mark = Mark();
  Click(ScreenCentre(bar));
  auto notify = [](const Call& c) { return c.slot == "OnCommand" && c.message == WM_NOTIFY; };
  ASSERT_TRUE(WaitForCall(notify, mark));
  for (const Call& command : CallsSince(mark)) {
    if (!notify(command)) continue;
    EXPECT_EQ(command.object, kStatusBar);
    EXPECT_EQ(command.code, GetParam().clickCode);
    EXPECT_EQ(command.wParam, kStatusBar);
  }
}

TEST_P(EventRules, ScrollBarThumbStaysWhereItIsReleased) {
  ASSERT_NO_FATAL_FAILURE(Start());
  BringFormToFront();
  HWND bar = Control(kScrollBar);
  RECT client = {};
  GetClientRect(bar, &client);
  int arrow = GetSystemMetrics(SM_CXHSCROLL);
  int middle = client.bottom / 2;
  auto position = [&] { return static_cast<int>(SendMessageA(bar, SBM_GETPOS, 0, 0)); };
  auto endOfScroll = [](const Call& c) {
    return c.slot == "OnMessage" && c.message == WM_HSCROLL && LOWORD(c.wParam) == SB_ENDSCROLL;
  };
  ASSERT_EQ(position(), 0);

  size_t mark = Mark();
  Drag(ScreenPoint(bar, arrow + 4, middle), ScreenPoint(bar, client.right / 2, middle));
  ASSERT_TRUE(WaitForCall(endOfScroll, mark));
  int released = position();
  EXPECT_GT(released, 25);
  EXPECT_LT(released, 75);
  // The final position was taken by the runtime, never passed on.
  EXPECT_EQ(CountWhere(CallsSince(mark),
                       [](const Call& c) {
                         return c.message == WM_HSCROLL && LOWORD(c.wParam) == SB_THUMBPOSITION;
                       }),
            0);

  // The arrows are left to OnMessage, which does not move the thumb here.
  mark = Mark();
  Click(ScreenPoint(bar, client.right - arrow / 2, middle));
  ASSERT_TRUE(WaitForCall(endOfScroll, mark));
  EXPECT_EQ(position(), released);
}

TEST_P(EventRules, FormWithOnCloseStaysOpen) {
  ASSERT_NO_FATAL_FAILURE(Start("keep"));
  size_t mark = Mark();
  PostMessageA(form_, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(WaitForCall([](const Call& c) { return c.slot == "OnClose"; }, mark));
  ASSERT_TRUE(Settle(mark));
  EXPECT_TRUE(process_.Running());
  EXPECT_TRUE(IsWindowVisible(form_));
  std::vector<Call> closes = Only(CallsSince(mark), {"OnClose"});
  ASSERT_EQ(closes.size(), 1u);
  EXPECT_EQ(closes[0].object, kForm);
  EXPECT_EQ(closes[0].message, WM_CLOSE);
  EXPECT_EQ(closes[0].current, GetParam().findMakesCurrent ? kForm : -1);
}

TEST_P(EventRules, ClosingTheFormWithoutOnCloseEndsWithExitCode0) {
  ASSERT_NO_FATAL_FAILURE(Start());
  size_t mark = Mark();
  PostMessageA(form_, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_EQ(process_.WaitExit(), 0u);
  std::vector<Call> calls = CallsSince(mark);
  int closeSeen = CountWhere(calls, [](const Call& c) { return c.slot == "OnMessage" && c.message == WM_CLOSE; });
  EXPECT_EQ(closeSeen, GetParam().missingGoesToOnMessage ? 1 : 0) << Describe(calls);
}

TEST_P(EventRules, ClosingASecondFormEndsTheProgram) {
  ASSERT_NO_FATAL_FAILURE(Start("second"));
  HWND second = FormWithCaption("second");
  ASSERT_NE(second, nullptr);
  size_t mark = Mark();
  PostMessageA(second, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_EQ(process_.WaitExit(), 0u);
  // The main form was never asked to close.
  EXPECT_EQ(CountWhere(CallsSince(mark), [](const Call& c) { return c.message == WM_CLOSE && c.object == kForm; }),
            0);
}

TEST_P(EventRules, MinimisingRunsNoOnResizeAndRestoringRefreshesTheSize) {
  ASSERT_NO_FATAL_FAILURE(Start());
  size_t mark = Mark();
  SetWindowPos(form_, nullptr, 0, 0, 500, 350, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_TRUE(WaitForCall([](const Call& c) { return c.slot == "OnResize" && c.width == 500; }, mark));
  RECT before = WindowRect(form_);

  mark = Mark();
  PostMessageA(form_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(WaitForCall(
      [](const Call& c) { return c.slot == "OnMessage" && c.message == WM_SIZE && c.wParam == SIZE_MINIMIZED; },
      mark));
  ASSERT_TRUE(Settle(mark));
  EXPECT_TRUE(IsIconic(form_));
  EXPECT_EQ(Only(CallsSince(mark), {"OnResize"}).size(), 0u) << Describe(CallsSince(mark));

  mark = Mark();
  PostMessageA(form_, WM_SYSCOMMAND, SC_RESTORE, 0);
  ASSERT_TRUE(WaitForCall([](const Call& c) { return c.slot == "OnResize"; }, mark));
  ASSERT_TRUE(Settle(mark));
  std::vector<Call> resizes = Only(CallsSince(mark), {"OnResize"});
  ASSERT_GE(resizes.size(), 1u);
  const Call& restored = resizes.back();
  RECT after = WindowRect(form_);
  EXPECT_EQ(after.right - after.left, before.right - before.left);
  EXPECT_EQ(restored.object, kForm);
  EXPECT_EQ(restored.message, WM_SIZE);
  EXPECT_EQ(restored.wParam, SIZE_RESTORED);
  EXPECT_EQ(restored.left, after.left);
  EXPECT_EQ(restored.top, after.top);
  EXPECT_EQ(restored.width, 500);
  EXPECT_EQ(restored.height, 350);
  // Found by window: the earliest generation makes the form current, the
  // later ones hand it to the geometry read only.
  EXPECT_EQ(restored.current, GetParam().findMakesCurrent ? kForm : -1);
  EXPECT_EQ(restored.query, GetParam().findMakesCurrent ? -1 : kForm);
}

INSTANTIATE_TEST_SUITE_P(Generations, EventRules, testing::Values(kLatest, kMiddle, kEarliest),
                         [](const testing::TestParamInfo<Generation>& info) { return std::string(info.param.name); });

}  // namespace
