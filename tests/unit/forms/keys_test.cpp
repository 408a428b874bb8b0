// The step of OPTION TABSTOPS's hook on the messages a loop retrieves: Tab
// moves the focus, Enter becomes a button's click, everything else goes on
// as it came.
#include "forms_fixture.h"

namespace formsunit {
namespace {

enum { kForm, kFirst, kSecond, kNotes, kGo, kOther, kLabel };

class FormKeys : public FormsTest {
 protected:
  void SetUp() override {
    FormsTest::SetUp();
    form = Construct(kForm, CreateForm);
    Construct(kFirst, CreateEdit);
    Construct(kSecond, CreateEdit);
    Construct(kNotes, CreateMemo);
    Construct(kGo, CreateButton);
    Construct(kOther, CreateButton);
    Construct(kLabel, CreateLabel);
    ShowWindow(form, SW_SHOW);
    SetForegroundWindow(form);
    SetShift(false);
  }
  void TearDown() override {
    SetShift(false);
    FormsTest::TearDown();
  }
  static void SetShift(bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = down ? 0x80 : 0;
    SetKeyboardState(keys);
  }
  // The key as the loop retrieves it for the focused window.
  MSG Key(WPARAM key) {
    MSG message = {};
    message.hwnd = GetFocus();
    message.message = WM_KEYDOWN;
    message.wParam = key;
    message.lParam = 1;
    return message;
  }
  void MakeDefault(int n) {
    CurrentObject = &R(n);
    SetDefaultButton(1);
  }
  HWND W(int n) { return R(n).WindowHandle; }
  HWND form = nullptr;
};

// In the order of the controls, past the label, which takes no focus.
TEST_F(FormKeys, TabAndShiftTabMoveTheFocus) {
  SetFocus(W(kFirst));
  const int forward[] = {kSecond, kNotes, kGo, kOther, kFirst};
  for (int next : forward) {
    MSG message = Key(VK_TAB);
    EXPECT_TRUE(HandleFormKey(&message));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_NULL));
    EXPECT_EQ(GetFocus(), W(next));
  }
  SetShift(true);
  MSG back = Key(VK_TAB);
  EXPECT_TRUE(HandleFormKey(&back));
  EXPECT_EQ(GetFocus(), W(kOther));
}

// A text box reached by Tab has its text selected, as in a dialog.
TEST_F(FormKeys, TabSelectsTheTextOfTheBoxItReaches) {
  SetWindowTextA(W(kSecond), "abc");
  SetFocus(W(kFirst));
  MSG message = Key(VK_TAB);
  ASSERT_TRUE(HandleFormKey(&message));
  DWORD start = 1, end = 0;
  SendMessageA(W(kSecond), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 3u);
}

// Enter becomes the default button's click, addressed to its form.
TEST_F(FormKeys, EnterClicksTheDefaultButton) {
  MakeDefault(kGo);
  SetFocus(W(kFirst));
  MSG message = Key(VK_RETURN);
  EXPECT_TRUE(HandleFormKey(&message));
  EXPECT_EQ(message.hwnd, form);
  EXPECT_EQ(message.message, static_cast<UINT>(WM_COMMAND));
  EXPECT_EQ(message.wParam, MAKEWPARAM(kGo, BN_CLICKED));
  EXPECT_EQ(message.lParam, reinterpret_cast<LPARAM>(W(kGo)));
  // Dispatched as the loop dispatches it: the button's OnCommand runs.
  R(kGo).OnCommand = OnCommandLogged;
  DispatchMessageA(&message);
  ASSERT_EQ(Calls.size(), 1u);
  EXPECT_EQ(Calls[0].window, W(kGo));
}

TEST_F(FormKeys, EnterOnAPushButtonClicksThatOne) {
  MakeDefault(kGo);
  SetFocus(W(kOther));
  MSG message = Key(VK_RETURN);
  EXPECT_TRUE(HandleFormKey(&message));
  EXPECT_EQ(message.wParam, MAKEWPARAM(kOther, BN_CLICKED));
}

// What goes on unchanged: Enter in a memo, Enter without a default button or
// with a disabled one, other keys, keys of windows that are no form of ours.
TEST_F(FormKeys, TheRestGoesOnAsItCame) {
  struct Case {
    const char* name;
    int focus;
    WPARAM key;
    bool defaultButton;
    bool disabled;
  };
  const Case cases[] = {
      {"enter in a memo", kNotes, VK_RETURN, true, false},
      {"enter without a default button", kFirst, VK_RETURN, false, false},
      {"enter with the default button disabled", kFirst, VK_RETURN, true, true},
      {"a letter", kFirst, 'A', true, false},
      {"an arrow", kFirst, VK_DOWN, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CurrentObject = &R(kGo);
    SetDefaultButton(c.defaultButton ? 1 : 0);
    EnableWindow(W(kGo), !c.disabled);
    SetFocus(W(c.focus));
    MSG message = Key(c.key);
    MSG before = message;
    EXPECT_FALSE(HandleFormKey(&message));
    EXPECT_EQ(message.message, before.message);
    EXPECT_EQ(message.hwnd, before.hwnd);
    EXPECT_EQ(message.wParam, before.wParam);
  }
  HWND stranger = CreateWindowExA(0, "EDIT", "", WS_POPUP | WS_VISIBLE, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr);
  SetFocus(stranger);
  MSG message = Key(VK_TAB);
  EXPECT_FALSE(HandleFormKey(&message));
  EXPECT_EQ(message.message, static_cast<UINT>(WM_KEYDOWN));
  DestroyWindow(stranger);
}

}  // namespace
}  // namespace formsunit
