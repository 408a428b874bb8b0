// tintbox observed from outside: its form and five controls, their colours on
// the display, the rich edit holding the program's source, and the cursor
// resource it carries.
#include <gtest/gtest.h>

#include <algorithm>

#include "driver.h"

using namespace driver;

namespace {

constexpr COLORREF kRed = 0x0000FF;
constexpr COLORREF kWhite = 0xFFFFFF;

// A control's client area as the display shows it, read through its form.
std::vector<COLORREF> ControlPixels(HWND form, HWND control) {
  RECT rect;
  GetClientRect(control, &rect);
  MapWindowPoints(control, form, reinterpret_cast<POINT*>(&rect), 2);
  return ClientPixels(form, rect).colours;
}

size_t Count(const std::vector<COLORREF>& pixels, COLORREF colour) {
  return static_cast<size_t>(std::count(pixels.begin(), pixels.end(), colour));
}

// What make run puts next to the program: its own source text.
std::string Source() { return ReadFileBytes(SourcePath("samples/tintbox/tintbox.bas")); }

class Tintbox : public ::testing::Test {
 protected:
  // Starts tintbox in a fresh folder, with its source file when given one,
  // and waits for the form, which is shown once everything is built.
  void Start(const std::string& folder, bool withSource) {
    dir = FreshDir(folder);
    if (withSource) WriteFileBytes(dir + "\\tintbox.bas", Source());
    LaunchOptions options;
    options.workingDirectory = dir;
    process = Launch(BinPath("tintbox.exe"), options);
    ASSERT_NE(process.handle, nullptr);
    form = WaitForWindow(process, "Tessaric8868");
    ASSERT_NE(form, nullptr);
    for (int id = 1; id <= 5; ++id) control[id] = GetDlgItem(form, id);
  }
  HWND Control(int id) { return control[id]; }

  std::string dir;
  Process process;
  HWND form = nullptr;
  HWND control[6] = {};
};

TEST_F(Tintbox, FormHasItsClassCaptionAndRectangle) {
  Start("form", true);
  EXPECT_EQ(WindowText(form), "tintbox");
  RECT rect = WindowRect(form);
  EXPECT_EQ(rect.left, 80);
  EXPECT_EQ(rect.top, 80);
  EXPECT_EQ(rect.right - rect.left, 336);
  EXPECT_EQ(rect.bottom - rect.top, 320);
  EXPECT_EQ(ChildWindows(form).size(), 5u);
}

TEST_F(Tintbox, FiveControlsInCreationOrderWithTheirClassesStylesAndPlaces) {
  struct Expected {
    const char* className;
    DWORD style;
    DWORD exStyle;
    RECT place;  // left, top, width, height in the form's client area
  };
  const Expected expected[6] = {
      {},
      {"Static", 0x50000300, 0, {10, 10, 100, 20}},
      {"Edit", 0x50010180, WS_EX_CLIENTEDGE, {10, 40, 100, 20}},
      {"Button", 0x50010000 | BS_FLAT, 0, {10, 70, 100, 20}},  // flat
      {"RichEdit20A", 0x543151C4, WS_EX_CLIENTEDGE, {120, 10, 200, 80}},
      {"ListBox", 0x50A105C1, 0, {120, 100, 200, 80}},
  };
  Start("controls", true);
  for (int id = 1; id <= 5; ++id) {
    SCOPED_TRACE(id);
    HWND window = Control(id);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(_stricmp(ClassName(window).c_str(), expected[id].className), 0) << ClassName(window);
    DWORD style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    // The controls show their scroll bars only when they need them.
    const DWORD managed = ~static_cast<DWORD>(WS_VSCROLL | WS_HSCROLL);
    EXPECT_EQ(style & managed, expected[id].style & managed) << std::hex << style;
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE)) & WS_EX_CLIENTEDGE, expected[id].exStyle);
    RECT rect = WindowRect(window);
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, expected[id].place.left);
    EXPECT_EQ(rect.top, expected[id].place.top);
    EXPECT_EQ(rect.right - rect.left, expected[id].place.right);
    EXPECT_EQ(rect.bottom - rect.top, expected[id].place.bottom);
  }
  for (int id = 1; id <= 3; ++id) EXPECT_EQ(WindowText(Control(id)), "I am RED");
}

TEST_F(Tintbox, ListHoldsThreeItemsWithTheFirstSelected) {
  Start("list", true);
  EXPECT_EQ(ListBoxItems(Control(5)), (std::vector<std::string>{"red", "more red", "still red"}));
  EXPECT_EQ(SendMessageA(Control(5), LB_GETCURSEL, 0, 0), 0);
}

TEST_F(Tintbox, LabelEditAndListShowRedTextOnWhite) {
  Start("colours", true);
  for (int id : {1, 2, 5}) {
    SCOPED_TRACE(id);
    std::vector<COLORREF> pixels;
    // Painting follows the showing and a control can be caught half painted
    // (red text already there, part of its background not yet); wait until the
    // red text is on a mostly white background.
    EXPECT_TRUE(WaitUntil([&] {
      pixels = ControlPixels(form, Control(id));
      return Count(pixels, kRed) > 0 && Count(pixels, kWhite) > pixels.size() / 2;
    }, 5000, &process));
    EXPECT_EQ(Count(pixels, 0x000000), 0u) << "no text in the default black";
  }
}

TEST_F(Tintbox, RichEditHoldsTheSourceInRedWithTheCaretAtTheStart) {
  Start("rich", true);
  HWND rich = Control(4);
  // The repository keeps LF line ends; the control hands every break back as CR LF.
  std::string expected;
  for (char c : Source()) expected += c == '\n' ? std::string("\r\n") : std::string(1, c);
  ASSERT_GT(expected.size(), 1000u);
  EXPECT_EQ(WindowText(rich), expected);
  EXPECT_EQ(SendMessageA(rich, EM_GETSEL, 0, 0), 0) << "selection collapsed at 0";
  EXPECT_EQ(SendMessageA(rich, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  std::vector<COLORREF> pixels;
  EXPECT_TRUE(WaitUntil([&] { return Count(pixels = ControlPixels(form, rich), kRed) > 0; }, 5000, &process));
  EXPECT_EQ(Count(pixels, 0x000000), 0u);
}

TEST_F(Tintbox, WithoutItsSourceTheFileIsCreatedEmptyAndTheRichEditIsEmpty) {
  Start("missing", false);
  EXPECT_EQ(WindowText(Control(4)), "");
  EXPECT_TRUE(FileExists(dir + "\\tintbox.bas"));
  EXPECT_EQ(ReadFileBytes(dir + "\\tintbox.bas"), "");
  EXPECT_EQ(ListBoxItems(Control(5)).size(), 3u) << "nothing else changes";
}

TEST_F(Tintbox, ClosingTheFormEndsWithExitCode0) {
  Start("close", true);
  // The form is shown before the program handles its pending messages, which
  // would swallow the quit message of an early close; once the program first
  // waits for input, that step is over.
  ASSERT_EQ(WaitForInputIdle(process.handle, 15000), 0u);
  EXPECT_EQ(CloseAndWait(process, form), 0u);
}

// The cursor group "W_CUR": one 32 by 32 cursor of 16 colours pointing at 10, 10.
TEST(TintboxResources, CarriesTheWCurCursor) {
  HMODULE module = LoadLibraryExA(BinPath("tintbox.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  HRSRC group = FindResourceA(module, "W_CUR", RT_GROUP_CURSOR);
  ASSERT_NE(group, nullptr);
  const WORD* header = static_cast<const WORD*>(LockResource(LoadResource(module, group)));
  ASSERT_EQ(header[1], 2) << "a cursor group";
  ASSERT_EQ(header[2], 1) << "of one cursor";
  const BYTE* entry = reinterpret_cast<const BYTE*>(header + 3);
  EXPECT_EQ(*reinterpret_cast<const WORD*>(entry), 32);      // width
  EXPECT_EQ(*reinterpret_cast<const WORD*>(entry + 2), 64);  // colour and mask rows
  WORD id = *reinterpret_cast<const WORD*>(entry + 12);
  HRSRC cursor = FindResourceA(module, MAKEINTRESOURCEA(id), RT_CURSOR);
  ASSERT_NE(cursor, nullptr);
  const BYTE* image = static_cast<const BYTE*>(LockResource(LoadResource(module, cursor)));
  EXPECT_EQ(reinterpret_cast<const WORD*>(image)[0], 10);
  EXPECT_EQ(reinterpret_cast<const WORD*>(image)[1], 10);
  const BITMAPINFOHEADER* bitmap = reinterpret_cast<const BITMAPINFOHEADER*>(image + 4);
  EXPECT_EQ(bitmap->biWidth, 32);
  EXPECT_EQ(bitmap->biHeight, 64);
  EXPECT_EQ(bitmap->biBitCount, 4);
  FreeLibrary(module);
}

}  // namespace
