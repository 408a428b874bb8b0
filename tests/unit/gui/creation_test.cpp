// Records, the object table and the one creation path.
#include <cstring>

#include "gui_fixture.h"

namespace guitest {
namespace {

using Creation = GuiTest;

TEST_F(Creation, FormClassIsRegisteredUnderTheSignature) {
  WNDCLASSEXA info = {};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetClassInfoExA(InstanceHandle, "Tessaric0001", &info));
  EXPECT_EQ(info.style, 0x0Bu);
  EXPECT_EQ(info.lpfnWndProc, FormWindowProc);
  EXPECT_EQ(info.hbrBackground, reinterpret_cast<HBRUSH>(16));
  EXPECT_EQ(info.hCursor, LoadCursorA(nullptr, IDC_ARROW));
  // The unit-test program carries no "AppIco".
  EXPECT_EQ(AppIcon, nullptr);
  EXPECT_EQ(info.hIcon, nullptr);
  EXPECT_EQ(DefaultFont, GetStockObject(ANSI_VAR_FONT));
}

TEST_F(Creation, IndicesFollowCreationOrderAndTheTableEndsWithNull) {
  HWND form = MakeForm(0);
  HWND label = Construct(1, CreateLabel);
  HWND edit = Construct(2, CreateEdit);
  ASSERT_NE(form, nullptr);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(R(i).ObjectIndex, i);
    EXPECT_EQ(ObjectTable[i], &R(i));
    EXPECT_EQ(R(i).Font, DefaultFont);
  }
  // A form keeps no font of its own; the controls show theirs.
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)), DefaultFont);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(edit, WM_GETFONT, 0, 0)), DefaultFont);
  EXPECT_EQ(ObjectTable[3], nullptr);
  EXPECT_EQ(LastObjectIndex, 2);
  // Controls are identified by their index; a form gets no menu.
  EXPECT_EQ(GetDlgCtrlID(label), 1);
  EXPECT_EQ(GetDlgCtrlID(edit), 2);
  EXPECT_EQ(GetMenu(form), nullptr);
  EXPECT_EQ(GetParent(label), form);
}

TEST_F(Creation, RecordWithoutClassBecomesAForm) {
  CurrentObject = &R(0);
  HWND window = CreateObjectWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(R(0).WindowHandle, window);
  EXPECT_STREQ(R(0).ClassName, "Tessaric0001");
  char name[32] = {};
  GetClassNameA(window, name, sizeof name);
  EXPECT_STREQ(name, "Tessaric0001");
  RECT rect;
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.left, 80);
  EXPECT_EQ(rect.top, 80);
  EXPECT_EQ(rect.right - rect.left, 480);
  EXPECT_EQ(rect.bottom - rect.top, 320);
}

TEST_F(Creation, FormOverwritesCaptionStyleAndOwnerAndStaysHidden) {
  R(0).Caption = "mine";
  R(0).Style = WS_POPUP;
  R(0).ExStyle = WS_EX_TOOLWINDOW;
  HWND form = MakeForm(0);
  EXPECT_STREQ(R(0).Caption, "unittest");
  EXPECT_EQ(R(0).Style, 0x00CF0000u);
  EXPECT_EQ(R(0).ExStyle, 0x00010000u);
  EXPECT_EQ(R(0).ParentWindow, nullptr);
  EXPECT_EQ(static_cast<uint32_t>(GetWindowLongA(form, GWL_STYLE)) & 0x00CF0000u, 0x00CF0000u);
  EXPECT_FALSE(IsWindowVisible(form));
  EXPECT_EQ(MainFormWindow, form);
  EXPECT_EQ(CurrentFormWindow, form);
}

TEST_F(Creation, SecondFormIsOwnedByTheFirstAndParentsLaterControls) {
  HWND first = MakeForm(0);
  HWND second = MakeForm(1);
  EXPECT_EQ(R(1).ExStyle, 0x00010004u);
  EXPECT_EQ(static_cast<uint32_t>(GetWindowLongA(second, GWL_EXSTYLE)) & 0x00010004u, 0x00010004u);
  EXPECT_EQ(GetWindow(second, GW_OWNER), first);
  EXPECT_EQ(R(1).ParentWindow, first);
  EXPECT_EQ(MainFormWindow, first);
  EXPECT_EQ(CurrentFormWindow, second);
  HWND label = Construct(2, CreateLabel);
  EXPECT_EQ(GetParent(label), second);
  EXPECT_EQ(R(2).ParentWindow, second);
}

TEST_F(Creation, ControlKeepsAParentSetBeforeConstruction) {
  HWND first = MakeForm(0);
  MakeForm(1);
  R(2).ParentWindow = first;
  EXPECT_EQ(UseDefaultParent(&R(2)), first);
  HWND label = Construct(2, CreateLabel);
  EXPECT_EQ(GetParent(label), first);
}

TEST_F(Creation, ControlBeforeAnyFormIsRegisteredWithoutAWindow) {
  Construct(0, CreateLabel);
  EXPECT_EQ(R(0).ParentWindow, nullptr);
  EXPECT_EQ(R(0).WindowHandle, nullptr);
  EXPECT_EQ(ObjectTable[0], &R(0));
}

TEST_F(Creation, RecreationKeepsIndexSlotAndIdentifier) {
  MakeForm(0);
  Construct(1, CreateLabel);
  HWND old = Construct(2, CreateEdit);
  DestroyWindow(old);
  CurrentObject = &R(2);
  HWND again = CreateObjectWindow();
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(R(2).ObjectIndex, 2);
  EXPECT_EQ(GetDlgCtrlID(again), 2);
  EXPECT_EQ(ObjectTable[2], &R(2));
  EXPECT_EQ(ObjectTable[3], nullptr);
  EXPECT_EQ(LastObjectIndex, 2);
}

TEST_F(Creation, FirstObjectRegistersAgainAtEveryCreation) {
  MakeForm(0);
  Construct(1, CreateLabel);
  CurrentObject = &R(0);
  CreateObjectWindow();
  EXPECT_EQ(R(0).ObjectIndex, 2);
  EXPECT_EQ(ObjectTable[0], &R(0));
  EXPECT_EQ(ObjectTable[2], &R(0));
}

TEST_F(Creation, RegistrationBeyondTheLastRecordSlotIsRefused) {
  MakeForm(0);
  for (int i = 1; i < kTableRecords; ++i) Construct(i, CreateLabel);
  ASSERT_EQ(LastObjectIndex, kTableRecords - 1);
  HWND extra = Construct(kTableRecords, CreateLabel);
  EXPECT_EQ(ObjectAt(static_cast<uint32_t>(R(kTableRecords).ObjectIndex)), nullptr);
  EXPECT_EQ(ObjectTable[kTableRecords], nullptr);
  EXPECT_EQ(LastObjectIndex, kTableRecords - 1);
  // The window is still made; only the slot is refused.
  EXPECT_NE(extra, nullptr);
  Construct(kTableRecords, CreateStatusBar);
  EXPECT_EQ(ObjectTable[kTableRecords], nullptr);
  EXPECT_EQ(FindObjectByWindow(reinterpret_cast<HWND>(0x1234)), nullptr);
}

TEST_F(Creation, FindObjectByWindowScansUpToTheNullSlot) {
  MakeForm(0);
  HWND label = Construct(1, CreateLabel);
  CurrentObject = &R(5);
  EXPECT_EQ(FindObjectByWindow(label), &R(1));
  EXPECT_EQ(FindObjectByWindow(GetDesktopWindow()), nullptr);
  // A record listed after the null slot is never reached.
  ObjectTable[3] = &R(3);
  R(3).WindowHandle = GetDesktopWindow();
  EXPECT_EQ(FindObjectByWindow(GetDesktopWindow()), nullptr);
  R(3).WindowHandle = nullptr;
}

// Only the earliest generation makes what it found, or nothing, current.
TEST_F(Creation, FindMakesTheResultCurrentOnlyInTheEarliestGeneration) {
  for (const auto& [generation, makesCurrent] : ByGeneration(false, false, true)) {
    SCOPED_TRACE(GenerationName(generation));
    StartWith(generation);
    MakeForm(0);
    HWND label = Construct(1, CreateLabel);
    CurrentObject = &R(5);
    EXPECT_EQ(FindObjectByWindow(label), &R(1));
    EXPECT_EQ(CurrentObject, makesCurrent ? &R(1) : &R(5));
    EXPECT_EQ(FindObjectByWindow(GetDesktopWindow()), nullptr);
    EXPECT_EQ(CurrentObject, makesCurrent ? nullptr : &R(5));
    TearDown();
  }
}

// The older form constructors keep the style the record holds.
TEST_F(Creation, FormConstructorWritesTheStyleOnlyInTheLatestGeneration) {
  const uint32_t mine = WS_POPUP | WS_CAPTION;
  for (const auto& [generation, style] : ByGeneration<uint32_t>(0x00CF0000, mine, mine)) {
    SCOPED_TRACE(GenerationName(generation));
    StartWith(generation);
    R(0).Style = mine;
    HWND form = MakeForm(0);
    EXPECT_EQ(R(0).Style, style);
    const uint32_t telling = WS_POPUP | WS_THICKFRAME;
    EXPECT_EQ(static_cast<uint32_t>(GetWindowLongA(form, GWL_STYLE)) & telling, style & telling);
    TearDown();
  }
}

// Creating a control makes the parent hear WM_PARENTNOTIFY; a handler that
// moves CurrentObject then must not redirect the results.
TEST_F(Creation, HandlerMovingCurrentObjectDuringCreationChangesNothing) {
  MakeForm(0);
  R(0).OnMessage = [] {
    CurrentObject = &Records[5];
    return 0;
  };
  HWND label = Construct(1, CreateLabel);
  EXPECT_NE(label, nullptr);
  EXPECT_EQ(R(1).WindowHandle, label);
  EXPECT_EQ(CurrentObject, &R(5)) << "the handler did run";
  EXPECT_EQ(R(5).WindowHandle, nullptr);
  EXPECT_EQ(R(5).ObjectIndex, 0);
}

}  // namespace
}  // namespace guitest
