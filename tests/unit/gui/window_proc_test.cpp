// The window procedure's steps, fed with real messages.
#include "gui_fixture.h"

#include <commctrl.h>

#include "../import_entry.h"

namespace guitest {
namespace {

class WindowProc : public GuiTest {
 protected:
  LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) { return SendMessageA(form, message, wParam, lParam); }
};

TEST_F(WindowProc, ControlColoursComeFromTheRecord) {
  MakeObjects();
  HDC dc = CreateCompatibleDC(nullptr);
  CurrentObject = &R(1);
  SetBackColor(0xFFFFFF);
  R(1).TextColor = 0xFF;
  LRESULT brush = Send(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(label));
  EXPECT_EQ(brush, reinterpret_cast<LRESULT>(R(1).BackBrush));
  EXPECT_EQ(GetTextColor(dc), 0xFFu);
  EXPECT_EQ(GetBkColor(dc), 0xFFFFFFu);
  EXPECT_EQ(GetBkMode(dc), OPAQUE);
  EXPECT_TRUE(Calls.empty());
  // A text colour without a brush is set, then the fallback answers.
  R(2).TextColor = 0xFF00;
  SetTextColor(dc, 0);
  brush = Send(WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(edit));
  EXPECT_NE(brush, reinterpret_cast<LRESULT>(R(1).BackBrush));
  EXPECT_EQ(SlotsCalled(), std::vector<std::string>{"OnMessage"});
  // A form is no child: its brush is never handed out.
  R(0).BackBrush = R(1).BackBrush;
  EXPECT_NE(Send(WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(form)), brush);
  DeleteDC(dc);
}

TEST_F(WindowProc, KeyAndMouseInputRunsTheHandlerOfTheIndexInTheHighWord) {
  struct Route {
    UINT message;
    const char* slot;
  };
  const Route routes[] = {{WM_MOUSEMOVE, "OnMouseMove"},     {WM_LBUTTONDOWN, "OnMouseDown"},
                          {WM_RBUTTONDOWN, "OnMouseDown"},   {WM_LBUTTONUP, "OnMouseUp"},
                          {WM_RBUTTONUP, "OnMouseUp"},       {WM_KEYDOWN, "OnKeyDown"},
                          {WM_KEYUP, "OnKeyUp"},             {WM_LBUTTONDBLCLK, "OnDoubleClick"},
                          {WM_RBUTTONDBLCLK, "OnDoubleClick"}};
  MakeObjects();
  for (const Route& route : routes) {
    SCOPED_TRACE(route.slot);
    Calls.clear();
    EXPECT_EQ(Send(route.message, (2 << 16) | 0x41, 0x00050006), 0);
    EXPECT_EQ(Send(route.message, 0x42, 7), 0);
    ASSERT_EQ(SlotsCalled(), (std::vector<std::string>{route.slot, route.slot}));
    EXPECT_EQ(Calls[0].window, edit);
    EXPECT_EQ(Calls[0].message, route.message);
    EXPECT_EQ(Calls[0].wParam, 0x41u) << "the handler sees the low word only";
    EXPECT_EQ(Calls[0].lParam, 0x00050006);
    EXPECT_EQ(Calls[1].window, form) << "a high word of 0 is the main form";
    // An empty slot or an index beyond the table: nothing runs, and the default never sees it.
    Calls.clear();
    EXPECT_EQ(Send(route.message, 5 << 16, 0), 0);
    EXPECT_EQ(Send(route.message, (kTableRecords + 3) << 16, 0), 0);
    EXPECT_EQ(Send(route.message, 0xFFFF0000u, 0), 0);
    EXPECT_TRUE(Calls.empty());
  }
}

TEST_F(WindowProc, DestroyingAnyFormPostsTheQuitMessage) {
  MakeObjects();
  HWND second = MakeForm(4);
  DestroyWindow(second);
  MSG quit;
  ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(quit.wParam, 0u);
}

TEST_F(WindowProc, SizeRefreshesTheRecordMovesTheStatusBarAndRunsOnResize) {
  MakeObjects();
  HWND bar = Construct(4, CreateStatusBar);
  R(0).StatusBarWindow = bar;
  CurrentObject = &R(0);
  ShowObject();
  Calls.clear();
  Probe = [] { return Records[0].Width; };
  SetWindowPos(form, nullptr, 0, 0, 300, 250, SWP_NOMOVE | SWP_NOZORDER);
  ASSERT_FALSE(Calls.empty());
  EXPECT_EQ(Calls.back().slot, "OnResize");
  EXPECT_EQ(Calls.back().probe, 300) << "the size is in the record before the handler runs";
  EXPECT_EQ(Calls.back().message, static_cast<UINT>(WM_SIZE));
  EXPECT_EQ(QueryObject, &R(0));
  EXPECT_EQ(R(0).Height, 250);
  RECT client, status;
  GetClientRect(form, &client);
  GetWindowRect(bar, &status);
  MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&status), 2);
  EXPECT_EQ(status.bottom, client.bottom);
  EXPECT_EQ(status.right - status.left, client.right);
  // Minimised: no OnResize; the size message goes to OnMessage.
  Calls.clear();
  ShowWindow(form, SW_MINIMIZE);
  for (const HandlerCall& call : Calls) EXPECT_NE(call.slot, "OnResize");
  bool sawMinimised = false;
  for (const HandlerCall& call : Calls)
    sawMinimised |= call.slot == "OnMessage" && call.message == WM_SIZE && call.wParam == SIZE_MINIMIZED;
  EXPECT_TRUE(sawMinimised);
}

TEST_F(WindowProc, PaintHandsTheHandlerAPaintDcOnlyWhileItRuns) {
  MakeObjects();
  // BeginPaint sends WM_ERASEBKGND, whose OnMessage would leave its own values
  // in the event globals.
  R(0).OnMessage = nullptr;
  CurrentObject = &R(0);
  ShowObject();
  Calls.clear();
  InvalidateRect(form, nullptr, TRUE);
  UpdateWindow(form);
  std::vector<HandlerCall> paints = CallsOf({"OnPaint"});
  ASSERT_EQ(paints.size(), 1u);
  EXPECT_NE(paints[0].paintDC, nullptr);
  EXPECT_EQ(paints[0].window, form);
  EXPECT_EQ(paints[0].message, static_cast<UINT>(WM_PAINT));
  EXPECT_EQ(PaintDC, nullptr);
  // Without a handler the default paints, and PaintDC stays 0.
  R(0).OnPaint = nullptr;
  Calls.clear();
  InvalidateRect(form, nullptr, TRUE);
  UpdateWindow(form);
  EXPECT_TRUE(CallsOf({"OnPaint"}).empty());
  EXPECT_EQ(PaintDC, nullptr);
  RECT update;
  EXPECT_FALSE(GetUpdateRect(form, &update, FALSE));
}

// WM_ERASEBKGND, sent by BeginPaint, reaches OnMessage, which may empty the
// OnPaint slot before the handler is called.
TEST_F(WindowProc, PaintCallsOnlyAHandlerThatIsStillThereAfterBeginPaint) {
  MakeObjects();
  R(0).OnMessage = [] {
    if (EventMessage == WM_ERASEBKGND) Records[0].OnPaint = nullptr;
    return 0;
  };
  CurrentObject = &R(0);
  ShowObject();
  R(0).OnPaint = LoggingHandler("OnPaint");
  Calls.clear();
  {
    FaultWatch watch;
    InvalidateRect(form, nullptr, TRUE);
    UpdateWindow(form);
    EXPECT_TRUE(watch.faults.empty()) << "fault " << std::hex << watch.faults.front();
  }
  EXPECT_TRUE(CallsOf({"OnPaint"}).empty());
  RECT update;
  EXPECT_FALSE(GetUpdateRect(form, &update, FALSE)) << "the paint was ended";
  EXPECT_EQ(PaintDC, nullptr);
}

// Records which DC each BeginPaint handed out and which each EndPaint gave back.
class PaintSpy {
 public:
  struct Call {
    bool begin;
    HWND window;
    HDC dc;
  };
  PaintSpy() {
    HMODULE user = GetModuleHandleA("user32.dll");
    realBegin_ = reinterpret_cast<void*>(GetProcAddress(user, "BeginPaint"));
    realEnd_ = reinterpret_cast<void*>(GetProcAddress(user, "EndPaint"));
    Active = this;
    installed = unittest::PatchImportEntry(Entry(realBegin_), reinterpret_cast<void*>(Begin)) &&
                unittest::PatchImportEntry(Entry(realEnd_), reinterpret_cast<void*>(End));
  }
  ~PaintSpy() {
    unittest::PatchImportEntry(Entry(reinterpret_cast<void*>(Begin)), realBegin_);
    unittest::PatchImportEntry(Entry(reinterpret_cast<void*>(End)), realEnd_);
    Active = nullptr;
  }
  bool installed = false;
  std::vector<Call> calls;

 private:
  static void** Entry(void* address) { return unittest::ImportEntryHolding("user32.dll", address); }
  static HDC WINAPI Begin(HWND window, PAINTSTRUCT* paint) {
    HDC dc = reinterpret_cast<decltype(&BeginPaint)>(Active->realBegin_)(window, paint);
    Active->calls.push_back({true, window, dc});
    return dc;
  }
  static BOOL WINAPI End(HWND window, const PAINTSTRUCT* paint) {
    Active->calls.push_back({false, window, paint->hdc});
    return reinterpret_cast<decltype(&EndPaint)>(Active->realEnd_)(window, paint);
  }
  static inline PaintSpy* Active = nullptr;
  void* realBegin_ = nullptr;
  void* realEnd_ = nullptr;
};

// A paint handler that makes another form paint: each paint ends with its
// own DC, and the outer handler goes on drawing into its own.
TEST_F(WindowProc, APaintInsideAPaintHandlerLeavesTheOuterPaintItsDc) {
  MakeObjects();
  MakeForm(4);
  R(0).OnMessage = nullptr;
  R(0).OnPaint = nullptr;
  for (int n : {0, 4}) {
    CurrentObject = &R(n);
    ShowObject();
  }
  static HDC outerBefore, outerAfter, inner;
  outerBefore = outerAfter = inner = nullptr;
  R(4).OnPaint = [] {
    inner = PaintDC;
    return 0;
  };
  R(0).OnPaint = [] {
    outerBefore = PaintDC;
    InvalidateRect(Records[4].WindowHandle, nullptr, TRUE);
    CurrentObject = &Records[4];
    ShowObject();
    outerAfter = PaintDC;
    return 0;
  };
  PaintSpy spy;
  ASSERT_TRUE(spy.installed);
  InvalidateRect(form, nullptr, TRUE);
  UpdateWindow(form);
  ASSERT_NE(outerBefore, nullptr);
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(outerAfter, outerBefore);
  EXPECT_EQ(PaintDC, nullptr);
  // Every EndPaint gives back the DC that the BeginPaint of its window handed out.
  std::vector<PaintSpy::Call> open;
  int ended = 0;
  for (const PaintSpy::Call& call : spy.calls) {
    if (call.begin) {
      open.push_back(call);
      continue;
    }
    ASSERT_FALSE(open.empty());
    EXPECT_EQ(call.window, open.back().window);
    EXPECT_EQ(call.dc, open.back().dc);
    open.pop_back();
    ++ended;
  }
  EXPECT_TRUE(open.empty());
  EXPECT_EQ(ended, 2);
}

TEST_F(WindowProc, CloseRunsOnCloseAndKeepsTheFormOrLetsTheDefaultDestroyIt) {
  MakeObjects();
  EXPECT_EQ(Send(WM_CLOSE, 0, 0), 0);
  EXPECT_EQ(SlotsCalled(), std::vector<std::string>{"OnClose"});
  EXPECT_TRUE(IsWindow(form));
  R(0).OnClose = nullptr;
  Send(WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(form));
  MSG quit;
  EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(WindowProc, ShowRunsOnShowOnlyWhenShown) {
  MakeObjects();
  Calls.clear();
  ShowWindow(form, SW_SHOW);
  ShowWindow(form, SW_HIDE);
  int shows = 0;
  for (const HandlerCall& call : Calls) shows += call.slot == "OnShow";
  EXPECT_EQ(shows, 1);
  EXPECT_EQ(Calls.front().slot, "OnShow");
  EXPECT_EQ(Calls.front().wParam, 1u);
}

TEST_F(WindowProc, DrawItemRunsTheControlsOnPaintWithTheItemsDc) {
  MakeObjects();
  HDC dc = CreateCompatibleDC(nullptr);
  DRAWITEMSTRUCT item = {};
  item.CtlType = ODT_BUTTON;
  item.CtlID = 3;
  item.hwndItem = button;
  item.hDC = dc;
  EXPECT_EQ(Send(WM_DRAWITEM, 3, reinterpret_cast<LPARAM>(&item)), TRUE);
  ASSERT_EQ(SlotsCalled(), std::vector<std::string>{"OnPaint"});
  EXPECT_EQ(Calls[0].window, button);
  EXPECT_EQ(Calls[0].paintDC, dc);
  EXPECT_EQ(Calls[0].lParam, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(PaintDC, dc) << "left in place afterwards";
  // A menu item, or an identifier that does not match, goes to the fallback.
  Calls.clear();
  PaintDC = nullptr;
  Send(WM_DRAWITEM, 2, reinterpret_cast<LPARAM>(&item));
  item.CtlType = ODT_MENU;
  Send(WM_DRAWITEM, 3, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(SlotsCalled(), (std::vector<std::string>{"OnMessage", "OnMessage"}));
  EXPECT_EQ(PaintDC, nullptr);
  DeleteDC(dc);
  // What the system itself sends for an owner-drawn button.
  HWND drawn = Construct(4, [] { CreateControl("BUTTON", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW); });
  LogEverySlot(R(4));
  Calls.clear();
  CurrentObject = &R(0);
  ShowObject();
  bool drawnPainted = false;
  for (const HandlerCall& call : CallsOf({"OnPaint"})) drawnPainted |= call.window == drawn && call.paintDC != nullptr;
  EXPECT_TRUE(drawnPainted);
}

TEST_F(WindowProc, ClickNotificationsRunOnCommandWithTheGenerationsCode) {
  for (const auto& [generation, code] : ByGeneration<int32_t>(-2, -2, 2)) {
    SCOPED_TRACE(GenerationName(generation));
    StartWith(generation);
    MakeObjects();
    HWND bar = Construct(4, CreateStatusBar);
    LogEverySlot(R(4));
    Calls.clear();
    NMHDR header = {bar, 4, static_cast<UINT>(NM_CLICK)};
    EXPECT_EQ(Send(WM_NOTIFY, 4, reinterpret_cast<LPARAM>(&header)), 0);
    ASSERT_EQ(SlotsCalled(), std::vector<std::string>{"OnCommand"});
    EXPECT_EQ(Calls[0].code, code);
    EXPECT_EQ(Calls[0].window, bar);
    EXPECT_EQ(Calls[0].message, static_cast<UINT>(WM_NOTIFY));
    // Another code or a mismatched identifier: the fallback, EventCode untouched.
    Calls.clear();
    EventCode = 99;
    header.code = static_cast<UINT>(NM_DBLCLK);
    Send(WM_NOTIFY, 4, reinterpret_cast<LPARAM>(&header));
    header.code = static_cast<UINT>(NM_CLICK);
    Send(WM_NOTIFY, 3, reinterpret_cast<LPARAM>(&header));
    EXPECT_EQ(SlotsCalled(), (std::vector<std::string>{"OnMessage", "OnMessage"}));
    EXPECT_EQ(EventCode, 99);
    // An identifier beyond the table runs nothing.
    Calls.clear();
    header.idFrom = 200;
    Send(WM_NOTIFY, 200, reinterpret_cast<LPARAM>(&header));
    for (const HandlerCall& call : Calls) EXPECT_NE(call.slot, "OnCommand");
    TearDown();
  }
}

// A structure is read only when it lies in readable memory and names the
// form's own child with the identifier in wParam; anything else, such as a
// message posted from another process, goes to the fallback.
TEST_F(WindowProc, StructuresAreReadOnlyWhenTheFormsOwnControlSentThem) {
  MakeObjects();
  const DWORD page = 4096;
  // Read-write, read-only and no access: three regions in a row.
  char* pages = static_cast<char*>(VirtualAlloc(nullptr, 3 * page, MEM_COMMIT, PAGE_READWRITE));
  ASSERT_NE(pages, nullptr);
  struct Case {
    const char* what;
    HWND* control;
    DWORD offset;  // from the start of the pages
    bool runs;
  };
  HWND none = nullptr;
  const Case cases[] = {
      {"the control itself, across two regions", &button, page - 6, true},
      {"the form", &form, 100, false},
      {"a child with another identifier", &label, 100, false},
      {"no window", &none, 100, false},
      {"cut off by memory that cannot be read", &button, 3 * page - 8, false},
  };
  for (UINT message : {WM_NOTIFY, WM_DRAWITEM}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.what) + (message == WM_NOTIFY ? ", WM_NOTIFY" : ", WM_DRAWITEM"));
      DWORD protection;
      VirtualProtect(pages, 3 * page, PAGE_READWRITE, &protection);
      NMHDR header = {*c.control, 3, static_cast<UINT>(NM_CLICK)};
      DRAWITEMSTRUCT item = {};
      item.CtlType = ODT_BUTTON;
      item.CtlID = 3;
      item.hwndItem = *c.control;
      const char* bytes = message == WM_NOTIFY ? reinterpret_cast<const char*>(&header)
                                               : reinterpret_cast<const char*>(&item);
      size_t size = message == WM_NOTIFY ? sizeof header : sizeof item;
      for (size_t i = 0; i < size && c.offset + i < 3 * page; ++i) pages[c.offset + i] = bytes[i];
      VirtualProtect(pages + page, page, PAGE_READONLY, &protection);
      VirtualProtect(pages + 2 * page, page, PAGE_NOACCESS, &protection);
      Calls.clear();
      Send(message, 3, reinterpret_cast<LPARAM>(pages + c.offset));
      std::vector<std::string> expected = {c.runs ? (message == WM_NOTIFY ? "OnCommand" : "OnPaint") : "OnMessage"};
      EXPECT_EQ(SlotsCalled(), expected);
      if (c.runs) EXPECT_EQ(Calls[0].window, button);
    }
  }
  VirtualFree(pages, 0, MEM_RELEASE);
}

// A record that the full table refused a slot has none: its clicks must not
// run the handlers of the record in slot 0, or of any other.
TEST_F(WindowProc, ARecordTheFullTableRefusedRunsNoOneElsesHandlers) {
  struct Kind {
    const char* name;
    void (*constructor)();
  };
  for (const Kind& kind : {Kind{"button", CreateButton}, Kind{"status bar", CreateStatusBar}}) {
    for (const GuiGeneration* generation : {&kLatestGeneration, &kMiddleGeneration, &kEarliestGeneration}) {
      SCOPED_TRACE(std::string(kind.name) + ", " + GenerationName(generation));
      StartWith(generation);
      form = MakeForm(0);
      for (int i = 1; i < kTableRecords; ++i) Construct(i, CreateLabel);
      HWND refused = Construct(kTableRecords, kind.constructor);
      ASSERT_NE(refused, nullptr);
      for (int i = 0; i <= kTableRecords; ++i) LogEverySlot(R(i));
      Calls.clear();
      if (kind.constructor == CreateButton) {
        SendMessageA(refused, BM_CLICK, 0, 0);
      } else {
        WPARAM identifier = static_cast<WPARAM>(GetDlgCtrlID(refused));
        NMHDR header = {refused, identifier, static_cast<UINT>(NM_CLICK)};
        Send(WM_NOTIFY, identifier, reinterpret_cast<LPARAM>(&header));
      }
      EXPECT_TRUE(CallsOf({"OnCommand"}).empty());
      TearDown();
    }
  }
}

TEST_F(WindowProc, CommandsRunOnCommandExceptCodeOne) {
  MakeObjects();
  Calls.clear();
  SendMessageA(button, BM_CLICK, 0, 0);
  std::vector<HandlerCall> commands = CallsOf({"OnCommand"});
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].code, BN_CLICKED);
  EXPECT_EQ(commands[0].window, button);
  EXPECT_EQ(commands[0].message, static_cast<UINT>(WM_COMMAND));
  EXPECT_EQ(commands[0].lParam, reinterpret_cast<LPARAM>(button));
  Calls.clear();
  SetWindowTextA(edit, "changed");
  commands = CallsOf({"OnCommand"});
  ASSERT_FALSE(commands.empty());
  EXPECT_EQ(commands.back().code, EN_CHANGE);
  EXPECT_EQ(commands.back().window, edit);
  // Code 1 never reaches a handler, OnMessage included.
  Calls.clear();
  Send(WM_COMMAND, MAKEWPARAM(2, 1), reinterpret_cast<LPARAM>(edit));
  EXPECT_TRUE(Calls.empty());
  EXPECT_EQ(EventCode, 1);
}

// Each bit of an index that a message carries counts or is dropped as the
// generation says. The edit is object 2 and the button 3, so the index
// (bit | 2) reaches the edit when the bit is dropped, the button for bit 0,
// and, from bit 2 up, nothing: an empty slot, the end slot or beyond.
TEST_F(WindowProc, IndicesInMessagesKeepTheGenerationsBits) {
  struct Case {
    const GuiGeneration* generation;
    uint32_t inputBits;    // of the high word of forwarded input
    uint32_t commandBits;  // of a command identifier
  };
  const Case cases[] = {{&kLatestGeneration, 0xFFFF, 0xFFF},
                        {&kMiddleGeneration, 0xFFFF, 0xFFF},
                        {&kEarliestGeneration, 0xFF, 0xFF}};
  for (const Case& c : cases) {
    SCOPED_TRACE(GenerationName(c.generation));
    StartWith(c.generation);
    MakeObjects();
    R(0).OnMessage = nullptr;
    for (int bit = 0; bit < 32; ++bit) {
      SCOPED_TRACE(bit);
      const uint32_t index = (1u << bit) | 2;
      auto expectRunOn = [&](uint32_t kept, const char* slot) {
        uint32_t reached = index & kept;
        HWND expected = reached == 2 ? edit : reached == 3 ? button : nullptr;
        if (expected == nullptr) {
          EXPECT_TRUE(Calls.empty()) << Calls.front().slot;
        } else {
          ASSERT_EQ(SlotsCalled(), std::vector<std::string>{slot});
          EXPECT_EQ(Calls[0].window, expected);
        }
        Calls.clear();
      };
      if (bit < 16) {
        Send(WM_KEYDOWN, index << 16, 0);
        expectRunOn(c.inputBits, "OnKeyDown");
        Send(WM_COMMAND, MAKEWPARAM(index, EN_SETFOCUS), reinterpret_cast<LPARAM>(edit));
        expectRunOn(c.commandBits, "OnCommand");
      }
      // A notification counts only when its identifier is exactly that of the
      // control it names, so no bit is ever dropped from it.
      NMHDR header = {edit, index, static_cast<UINT>(NM_CLICK)};
      Send(WM_NOTIFY, index, reinterpret_cast<LPARAM>(&header));
      expectRunOn(index == 2 ? ~0u : 0u, "OnCommand");
    }
    TearDown();
  }
}

TEST_F(WindowProc, MenuCommandsFindTheirEntryAt1000Below) {
  MakeObjects();
  Calls.clear();
  Send(WM_COMMAND, MAKEWPARAM(1003, 0), 0);
  ASSERT_EQ(SlotsCalled(), std::vector<std::string>{"OnCommand"});
  EXPECT_EQ(Calls[0].window, button);
  Calls.clear();
  Send(WM_COMMAND, MAKEWPARAM(3, 0), 0);
  EXPECT_TRUE(Calls.empty()) << "identifier 3 - 1000 lies beyond the table";
}

TEST_F(WindowProc, ThumbPositionStaysWhereReleased) {
  MakeObjects();
  HWND bar = Construct(4, [] { CreateControl("SCROLLBAR", WS_CHILD | WS_VISIBLE | SBS_HORZ); });
  SetScrollRange(bar, SB_CTL, 0, 100, FALSE);
  Calls.clear();
  EXPECT_EQ(Send(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 40), reinterpret_cast<LPARAM>(bar)), 0);
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 40);
  EXPECT_TRUE(Calls.empty());
  Send(WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0), reinterpret_cast<LPARAM>(bar));
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 40) << "arrows move nothing without OnMessage doing so";
  Send(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 10), 0);
  EXPECT_EQ(SlotsCalled(), (std::vector<std::string>{"OnMessage", "OnMessage"}));
  // Only the form's own scroll bars: not another form's, nor another kind of child.
  MakeForm(5);
  R(6).ParentWindow = R(5).WindowHandle;
  HWND other = Construct(6, [] { CreateControl("SCROLLBAR", WS_CHILD | WS_VISIBLE | SBS_HORZ); });
  SetScrollRange(other, SB_CTL, 0, 100, FALSE);
  Calls.clear();
  Send(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 30), reinterpret_cast<LPARAM>(other));
  Send(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 30), reinterpret_cast<LPARAM>(edit));
  EXPECT_EQ(GetScrollPos(other, SB_CTL), 0);
  EXPECT_EQ(SlotsCalled(), (std::vector<std::string>{"OnMessage", "OnMessage"}));
}

TEST_F(WindowProc, ChildClickRunsTheMainFormsOnMouseDownExceptInTheEarliestGeneration) {
  for (const auto& [generation, runsMainForm] : ByGeneration(true, true, false)) {
    SCOPED_TRACE(GenerationName(generation));
    StartWith(generation);
    MakeObjects();
    HWND second = MakeForm(4);
    LogEverySlot(R(4));
    Calls.clear();
    EventCode = 7;
    SendMessageA(second, WM_PARENTNOTIFY, WM_LBUTTONDOWN, MAKELPARAM(15, 25));
    SendMessageA(second, WM_PARENTNOTIFY, WM_CREATE, 0);
    ASSERT_EQ(Calls.size(), 2u);
    if (runsMainForm) {
      EXPECT_EQ(Calls[0].slot, "OnMouseDown");
      EXPECT_EQ(Calls[0].window, form);
      EXPECT_EQ(Calls[0].lParam, MAKELPARAM(15, 25));
      EXPECT_EQ(Calls[0].code, 0);
    } else {
      EXPECT_EQ(Calls[0].slot, "OnMessage");
      EXPECT_EQ(Calls[0].window, second);
      EXPECT_EQ(EventCode, 7);
    }
    EXPECT_EQ(Calls[1].slot, "OnMessage");
    TearDown();
  }
}

TEST_F(WindowProc, OnMessageResultDecidesWhetherTheDefaultFollows) {
  MakeObjects();
  static bool sawSetText;
  sawSetText = false;
  R(0).OnMessage = [] {
    if (EventMessage != WM_SETTEXT) return 0;
    sawSetText = true;
    return OnMessageResult;
  };
  OnMessageResult = 1;
  SetWindowTextA(form, "kept out");
  EXPECT_TRUE(sawSetText);
  char text[32] = {};
  GetWindowTextA(form, text, sizeof text);
  EXPECT_STREQ(text, "unittest");
  OnMessageResult = 0;
  SetWindowTextA(form, "let in");
  GetWindowTextA(form, text, sizeof text);
  EXPECT_STREQ(text, "let in");
}

// The earliest generation gives up through the fallback, and finding an
// object by window makes it current while the fallback leaves it be.
TEST_F(WindowProc, OnlyTheEarliestGenerationGivesUpThroughTheFallback) {
  for (const auto& [generation, fallsBack] : ByGeneration(false, false, true)) {
    SCOPED_TRACE(GenerationName(generation));
    StartWith(generation);
    MakeObjects();
    R(0).OnClose = nullptr;
    OnMessageResult = 1;
    Calls.clear();
    CurrentObject = &R(5);
    Send(WM_CLOSE, 0, 0);
    EXPECT_EQ(IsWindow(form) != FALSE, fallsBack) << "OnMessage kept the form";
    std::vector<HandlerCall> closes;
    for (const HandlerCall& call : Calls)
      if (call.message == WM_CLOSE) closes.push_back(call);
    ASSERT_EQ(closes.size(), fallsBack ? 1u : 0u);
    if (fallsBack) {
      EXPECT_EQ(closes[0].slot, "OnMessage");
      EXPECT_EQ(closes[0].current, &R(0)) << "the find made the form current";
    }
    if (!IsWindow(form)) {
      DrainMessages();
      TearDown();
      continue;
    }
    Calls.clear();
    CurrentObject = &R(5);
    Send(WM_USER, 0, 0);
    ASSERT_EQ(SlotsCalled(), std::vector<std::string>{"OnMessage"});
    EXPECT_EQ(Calls[0].current, &R(5)) << "the fallback leaves CurrentObject";
    TearDown();
  }
}

}  // namespace
}  // namespace guitest
