// Property writes, reads and methods against real windows.
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "core/numbers.h"
#include "driver.h"
#include "gui_fixture.h"

namespace guitest {
namespace {

using Properties = GuiTest;

constexpr int kWrites = 40;

TEST_F(Properties, EveryGeometryWriteMovesTheWindowWithAllFourValues) {
  MakeForm(0);
  HWND label = Construct(1, CreateLabel);
  MessageSpy spy(label, {WM_WINDOWPOSCHANGING});
  CurrentObject = &R(1); R(1).Left = 10; ApplyGeometry();
  CurrentObject = &R(1); R(1).Top = 20; ApplyGeometry();
  CurrentObject = &R(1); R(1).Width = 100; ApplyGeometry();
  CurrentObject = &R(1); R(1).Height = 30; ApplyGeometry();
  const int expected[4][4] = {{10, 80, 480, 320}, {10, 20, 480, 320}, {10, 20, 100, 320}, {10, 20, 100, 30}};
  ASSERT_EQ(spy.positions.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(spy.positions[i].x, expected[i][0]);
    EXPECT_EQ(spy.positions[i].y, expected[i][1]);
    EXPECT_EQ(spy.positions[i].cx, expected[i][2]);
    EXPECT_EQ(spy.positions[i].cy, expected[i][3]);
    EXPECT_NE(spy.positions[i].flags & SWP_NOZORDER, 0u);
  }
}

TEST_F(Properties, GeometryWithoutAWindowStaysInTheRecord) {
  CurrentObject = &R(0);
  R(0).Left = 5;
  ApplyGeometry();
  EXPECT_EQ(R(0).Left, 5);
  EXPECT_EQ(R(0).WindowHandle, nullptr);
}

TEST_F(Properties, MoveObjectWindowMovesAPicture) {
  MakeForm(0);
  HWND picture = Construct(1, CreatePicture);
  R(1).Left = 7; R(1).Top = 9; R(1).Width = 40; R(1).Height = 30;
  CurrentObject = &R(1);
  EXPECT_TRUE(MoveObjectWindow());
  RECT rect;
  GetWindowRect(picture, &rect);
  MapWindowPoints(nullptr, R(0).WindowHandle, reinterpret_cast<POINT*>(&rect), 2);
  EXPECT_EQ(rect.left, 7);
  EXPECT_EQ(rect.top, 9);
  EXPECT_EQ(rect.right - rect.left, 40);
  EXPECT_EQ(rect.bottom - rect.top, 30);
}

TEST_F(Properties, RefreshGeometryReadsAFormsScreenRectangle) {
  HWND form = MakeForm(0);
  SetWindowPos(form, nullptr, 100, 50, 400, 300, SWP_NOZORDER);
  QueryObject = &R(0);
  RefreshGeometry();
  EXPECT_EQ(R(0).Left, 100);
  EXPECT_EQ(R(0).Top, 50);
  EXPECT_EQ(R(0).Width, 400);
  EXPECT_EQ(R(0).Height, 300);
}

TEST_F(Properties, RefreshGeometryOfAControlUsesTheFrameMetrics) {
  HWND form = MakeForm(0);
  SetWindowPos(form, nullptr, 100, 50, 400, 300, SWP_NOZORDER);
  HWND label = Construct(1, CreateLabel);
  SetWindowPos(label, nullptr, 12, 14, 60, 20, SWP_NOZORDER);
  RECT screen;
  GetWindowRect(label, &screen);
  for (HMENU menu : {static_cast<HMENU>(nullptr), reinterpret_cast<HMENU>(1)}) {
    R(1).MenuHandle = menu;
    QueryObject = &R(1);
    RefreshGeometry();
    int menuHeight = menu != nullptr ? GetSystemMetrics(SM_CYMENU) : 0;
    EXPECT_EQ(R(1).Left, screen.left - 100 - GetSystemMetrics(SM_CXFRAME));
    EXPECT_EQ(R(1).Top,
              screen.top - 50 - GetSystemMetrics(SM_CYFRAME) - GetSystemMetrics(SM_CYCAPTION) - menuHeight);
    EXPECT_EQ(R(1).Width, 60);
    EXPECT_EQ(R(1).Height, 20);
  }
}

TEST_F(Properties, ShowObjectShowsTheCurrentObjectOrTheGivenWindow) {
  HWND first = MakeForm(0);
  HWND second = MakeForm(1);
  CurrentObject = &R(0);
  ShowObject();
  EXPECT_TRUE(IsWindowVisible(first));
  ShowObject(second);
  EXPECT_TRUE(IsWindowVisible(second));
}

TEST_F(Properties, StyleReadsBackAndWritesReachBothSides) {
  MakeForm(0);
  HWND button = Construct(1, CreateButton);
  R(1).Style = 0;
  QueryObject = &R(1);
  uint32_t style = GetStyle();
  EXPECT_EQ(style & 0xFFFF0000u, 0x50010000u);
  EXPECT_EQ(R(1).Style, style);
  CurrentObject = &R(1);
  EXPECT_EQ(SetStyle(style | BS_FLAT), style);
  EXPECT_EQ(R(1).Style, style) << "SetStyle leaves the record to its caller";
  CurrentObject = &R(1);
  WriteStyle(style | BS_CHECKBOX);
  EXPECT_EQ(R(1).Style, style | BS_CHECKBOX);
  EXPECT_EQ(static_cast<uint32_t>(GetWindowLongA(button, GWL_STYLE)), style | BS_CHECKBOX);
}

TEST_F(Properties, CaptionKeepsThePointerAndTextReadsIntoATemporary) {
  static const char abc[] = "abc";
  CurrentObject = &R(0);
  SetCaption(abc);
  EXPECT_EQ(R(0).Caption, abc);
  QueryObject = &R(0);
  EXPECT_EQ(GetText().length, 0) << "no window, no text";
  HWND form = MakeForm(0);
  CurrentObject = &R(0);
  SetCaption(abc);
  EXPECT_EQ(R(0).Caption, abc);
  char text[16] = {};
  GetWindowTextA(form, text, sizeof text);
  EXPECT_STREQ(text, "abc");
  QueryObject = &R(0);
  StringValue read = GetText();
  EXPECT_EQ(std::string(read.text, read.length), "abc");
  EXPECT_EQ(read.text, TempStringCursor->text);
  EXPECT_GE(TempStringCursor->capacity, 8);
  EXPECT_EQ(TempStringCursor->position, 3);
  SetWindowTextA(form, "");
  EXPECT_EQ(GetText().length, 0);
}

// The property write reaches the window first, and makes the call even without one.
TEST_F(Properties, CaptionWriteCallsTheWindowFirstThenKeepsThePointer) {
  static const char first[] = "first", second[] = "second";
  CurrentObject = &R(0);
  SetLastError(0xdeadbeef);
  WriteCaption(first);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  EXPECT_EQ(R(0).Caption, first);
  HWND form = MakeForm(0);
  CurrentObject = &R(0);
  WriteCaption(first);
  R(0).OnMessage = LoggingHandler("OnMessage");
  Probe = [] { return static_cast<int32_t>(reinterpret_cast<intptr_t>(Records[0].Caption)); };
  CurrentObject = &R(0);
  WriteCaption(second);
  std::vector<HandlerCall> setText;
  for (const HandlerCall& call : Calls)
    if (call.message == WM_SETTEXT) setText.push_back(call);
  ASSERT_EQ(setText.size(), 1u);
  EXPECT_EQ(setText[0].probe, static_cast<int32_t>(reinterpret_cast<intptr_t>(first)))
      << "the record follows the window";
  EXPECT_EQ(R(0).Caption, second);
  char text[16] = {};
  GetWindowTextA(form, text, sizeof text);
  EXPECT_STREQ(text, "second");
}

// A form's OnMessage sees WM_SETTEXT before the system has copied the text;
// whatever a handler does there, the window gets the text that was written.
TEST_F(Properties, CaptionWriteKeepsItsTextWhateverAHandlerDoesMeanwhile) {
  struct Case {
    const char* what;
    StringValue (*write)();  // the text the statement writes
    void (*handler)();       // what OnMessage does on WM_SETTEXT
    const char* expected;
  };
  const Case cases[] = {
      {"the handler builds a concatenation of its own",
       [] {
         ConcatBegin();
         ConcatAppend(Literal("Count: "));
         return ConcatAppend(SignedText(5));
       },
       [] {
         ConcatBegin();
         ConcatAppend(Literal("handler "));
         ConcatAppend(SignedText(77));
       },
       "Count: 5"},
      {"the handler's concatenation moves the accumulator",
       [] {
         ConcatBegin();
         ConcatAppend(Literal("Count: "));
         return ConcatAppend(SignedText(6));
       },
       [] {
         ConcatBegin();
         for (int i = 0; i < 200; ++i) ConcatAppend(Literal("a long text for the handler "));
       },
       "Count: 6"},
      {"the handler turns the ring of temporaries once round",
       [] { return SignedText(12345); },
       [] {
         for (int i = 0; i < kTempStringSlots; ++i) SignedText(-i);
       },
       "12345"},
      {"no text at all, which empties the caption", [] { return StringValue{nullptr, 0}; }, [] {}, ""},
  };
  MakeForm(0);
  static void (*handler)();
  R(0).OnMessage = [] {
    if (EventMessage == WM_SETTEXT) handler();
    return 0;
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    handler = c.handler;
    StringValue text = c.write();
    CurrentObject = &R(0);
    WriteCaption(text.text);
    char shown[64] = {};
    GetWindowTextA(R(0).WindowHandle, shown, sizeof shown);
    EXPECT_STREQ(shown, c.expected);
  }
}

TEST_F(Properties, EditableRecreatesTheComboBoxUnderItsIdentifier) {
  MakeForm(0);
  Construct(1, CreateLabel);
  HWND old = Construct(2, CreateComboBox);
  CurrentObject = &R(2);
  SetEditable(1);
  EXPECT_FALSE(IsWindow(old));
  ASSERT_NE(R(2).WindowHandle, nullptr);
  EXPECT_EQ(R(2).Style, 0x50211302u);
  EXPECT_EQ(static_cast<uint32_t>(GetWindowLongA(R(2).WindowHandle, GWL_STYLE)) & 3u, 2u);
  EXPECT_EQ(GetDlgCtrlID(R(2).WindowHandle), 2);
  EXPECT_EQ(ObjectTable[2], &R(2));
  EXPECT_EQ(ObjectTable[3], nullptr);
  CurrentObject = &R(2);
  SetEditable(0);
  EXPECT_EQ(R(2).Style, 0x50211303u);
}

// The names that windows of one class are created with, while one lives.
class CreationNames {
 public:
  explicit CreationNames(const char* className) : className_(className) {
    active_ = this;
    hook_ = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
  }
  ~CreationNames() {
    UnhookWindowsHookEx(hook_);
    active_ = nullptr;
  }
  struct Name {
    bool given;
    std::string text;
  };
  std::vector<Name> names;

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
      const CREATESTRUCTA* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
      if (HIWORD(reinterpret_cast<uintptr_t>(create->lpszClass)) != 0 &&
          lstrcmpiA(create->lpszClass, active_->className_) == 0)
        active_->names.push_back({create->lpszName != nullptr, create->lpszName ? create->lpszName : ""});
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static CreationNames* active_;
  const char* className_;
  HHOOK hook_;
};
CreationNames* CreationNames::active_ = nullptr;

// The caption a program wrote may live in a block that is gone by the time
// the combo box is made again; the new window is made with the old one's text.
TEST_F(Properties, EditableRecreatesWithTheOldWindowsTextNotTheKeptPointer) {
  struct Case {
    const char* name;
    bool editableFirst;  // the caption then shows in the edit field
    bool written;
  };
  const Case cases[] = {{"drop-down list, caption from a released variable", false, true},
                        {"drop-down, caption from a released variable", true, true},
                        {"caption never written", false, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    MakeForm(0);
    Construct(1, CreateComboBox);
    if (c.editableFirst) {
      CurrentObject = &R(1);
      SetEditable(1);
    }
    if (c.written) {
      // A 2 MB block, which the release gives back to the system.
      StringDescriptor variable = {};
      StrAlloc(&variable, 2 << 20);
      StrAssign("typed", &variable, 5);
      CurrentObject = &R(1);
      WriteCaption(variable.text);
      StrRelease(&variable);
      ASSERT_EQ(variable.handle, nullptr);
    }
    char old[16] = {};
    GetWindowTextA(R(1).WindowHandle, old, sizeof old);
    CreationNames made("COMBOBOX");
    CurrentObject = &R(1);
    SetEditable(c.editableFirst ? 0 : 1);
    ASSERT_TRUE(IsWindow(R(1).WindowHandle));
    EXPECT_EQ(GetDlgCtrlID(R(1).WindowHandle), 1);
    ASSERT_EQ(made.names.size(), 1u);
    EXPECT_EQ(made.names[0].given, c.written);
    EXPECT_EQ(made.names[0].text, old);
    TearDown();
  }
}

TEST_F(Properties, BackColorMakesABrushOfTheLow24Bits) {
  CurrentObject = &R(0);
  SetBackColor(0xFF00FF00);
  ASSERT_NE(R(0).BackBrush, nullptr);
  LOGBRUSH brush = {};
  GetObjectA(R(0).BackBrush, sizeof brush, &brush);
  EXPECT_EQ(brush.lbColor, 0x0000FF00u);
  EXPECT_EQ(brush.lbStyle, static_cast<UINT>(BS_SOLID));
}

// Every colour or image write makes a GDI object. The one it replaces must go,
// or a colour changed in a timer or mouse handler exhausts GDI, after which
// nothing can be drawn; what the control shows stays the last one written.
TEST_F(Properties, ColourAndImageWritesKeepOneGdiObjectPerControl) {
  const std::string file = driver::FixturePath("probe.bmp");
  const COLORREF last = 0x00302010;
  auto colour = [](int k) { return static_cast<COLORREF>(0x00302010 - 0x10101 * (kWrites - 1 - k)); };
  auto brush = [] { return static_cast<HGDIOBJ>(Records[1].BackBrush); };
  auto image = [](UINT message) {
    return [message] {
      return reinterpret_cast<HGDIOBJ>(SendMessageA(Records[1].WindowHandle, message, IMAGE_BITMAP, 0));
    };
  };
  struct Kind {
    const char* name;
    void (*constructor)();
    std::function<void(int)> write;
    std::function<HGDIOBJ()> shown;  // what the control draws with now
  };
  const Kind kinds[] = {
      {"BackColor", CreateLabel, [&](int k) { SetBackColor(colour(k)); }, brush},
      {"rich-edit BackColor", CreateRichEdit, [&](int k) { SetRichBackColor(colour(k)); }, brush},
      {"picture BitmapFile", CreatePicture, [&](int) { SetBitmapFile(PictureImage, file.c_str()); },
       image(STM_GETIMAGE)},
      {"button BitmapFile", CreateButton, [&](int) { SetBitmapFile(ButtonImage, file.c_str()); },
       image(BM_GETIMAGE)},
      {"picture Bitmap", CreatePicture,
       [](int) {
         Records[1].BitmapName = MAKEINTRESOURCEA(32768);
         CreatePicture();
       },
       image(STM_GETIMAGE)},
      {"button Bitmap", CreateButton,
       [](int) {
         Records[1].BitmapName = MAKEINTRESOURCEA(32768);
         CreateButton();
       },
       image(BM_GETIMAGE)},
  };
  for (const Kind& kind : kinds) {
    SCOPED_TRACE(kind.name);
    SetUp();
    MakeForm(0);
    Construct(1, kind.constructor);
    std::set<HGDIOBJ> made;
    for (int k = 0; k < kWrites; ++k) {
      CurrentObject = &R(1);
      kind.write(k);
      made.insert(kind.shown());
    }
    std::vector<HGDIOBJ> live;
    for (HGDIOBJ object : made)
      if (GetObjectType(object) != 0) live.push_back(object);
    EXPECT_EQ(live, std::vector<HGDIOBJ>{kind.shown()});
    if (GetObjectType(kind.shown()) == OBJ_BRUSH) {
      LOGBRUSH shown = {};
      GetObjectA(kind.shown(), sizeof shown, &shown);
      EXPECT_EQ(shown.lbColor, last);
    } else {
      EXPECT_EQ(GetObjectType(kind.shown()), static_cast<DWORD>(OBJ_BITMAP));
    }
    TearDown();
  }
}

TEST_F(Properties, ListsAndComboBoxesTakeItemsAndASelection) {
  MakeForm(0);
  HWND list = Construct(1, CreateListBox);
  HWND combo = Construct(2, CreateComboBox);
  for (const char* item : {"red", "more red"}) {
    CurrentObject = &R(1); AddItem(kListBox, item);
    CurrentObject = &R(2); AddItem(kComboBox, item);
  }
  CurrentObject = &R(1); SetItemIndex(kListBox, 1);
  CurrentObject = &R(2); SetItemIndex(kComboBox, 0);
  EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 0);
  char first[16] = {};
  SendMessageA(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first));
  EXPECT_STREQ(first, "more red") << "the combo box sorts";
}

TEST_F(Properties, ClientHeightAndFocus) {
  HWND form = MakeForm(0);
  HWND edit = Construct(1, CreateEdit);
  CurrentObject = &R(0);
  ShowObject();
  RECT client;
  GetClientRect(form, &client);
  QueryObject = &R(0);
  EXPECT_EQ(GetClientHeight(), client.bottom);
  EXPECT_GT(client.bottom, 0);
  CurrentObject = &R(1);
  FocusObject();
  EXPECT_EQ(GetFocus(), edit);
}

// A record without a window, never made or destroyed, has nothing to read or
// focus: reads report 0 and leave the record, the focus stays where it was.
TEST_F(Properties, ReadsAndFocusWithoutAWindowChangeNothing) {
  for (bool destroyed : {false, true}) {
    SCOPED_TRACE(destroyed ? "destroyed" : "never made");
    SetUp();
    HWND form = MakeForm(0);
    HWND edit = Construct(1, CreateEdit);
    CurrentObject = &R(0);
    ShowObject();
    if (destroyed) {
      Construct(2, CreateComboBox);
      DestroyWindow(R(2).WindowHandle);
    } else {
      R(2).Style = 0x50211303;
    }
    const ObjectRecord before = R(2);
    QueryObject = &R(0);
    ASSERT_GT(GetClientHeight(), 0) << "the scratch rectangle holds another window's";
    QueryObject = &R(2);
    EXPECT_EQ(GetClientHeight(), 0);
    QueryObject = &R(2);
    EXPECT_EQ(GetStyle(), 0u);
    CurrentObject = &R(1);
    FocusObject();
    ASSERT_EQ(GetFocus(), edit);
    CurrentObject = &R(2);
    FocusObject();
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_EQ(std::memcmp(&R(2), &before, sizeof before), 0) << "the record as it was";
    EXPECT_TRUE(IsWindow(form));
    TearDown();
  }
}

}  // namespace
}  // namespace guitest
