// The message loops and the forwarding of control input to the main form.
#include <string>

#include "gui_fixture.h"

namespace guitest {
namespace {

class MessageLoop : public GuiTest {
 protected:
  // Dispatches one message the way the loops do.
  void Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CurrentMessage = MSG{window, message, wParam, lParam, 0, {0, 0}};
    DispatchOneMessage();
  }
};

TEST_F(MessageLoop, ControlInputIsCopiedToTheMainFormWithItsIndexInTheHighWord) {
  MakeObjects();
  const UINT forwarded[] = {WM_KEYDOWN,     WM_KEYUP,      WM_MOUSEMOVE,     WM_LBUTTONDOWN,
                            WM_LBUTTONUP,   WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_RBUTTONUP,
                            WM_RBUTTONDBLCLK};
  // A label: an edit box would open its context menu on the right button.
  for (UINT message : forwarded) {
    SCOPED_TRACE(message);
    Dispatch(label, message, 0x0008, 0x00030004);
    MSG copy;
    ASSERT_TRUE(PeekMessageA(&copy, form, 0, 0, PM_REMOVE));
    EXPECT_EQ(copy.message, message);
    EXPECT_EQ(copy.wParam, (1u << 16) | 0x0008u);
    EXPECT_EQ(copy.lParam, 0x00030004);
    DrainMessages();
  }
}

TEST_F(MessageLoop, OtherMessagesAndOtherWindowsAreNotCopied) {
  MakeObjects();
  HWND stranger = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 5, 5, form, nullptr, nullptr, nullptr);
  struct Case {
    HWND window;
    UINT message;
  };
  const Case cases[] = {{label, WM_CHAR},       {label, WM_SYSKEYDOWN}, {label, WM_MBUTTONDOWN},
                        {label, WM_MOUSEWHEEL}, {form, WM_KEYDOWN},    {stranger, WM_KEYDOWN}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    Dispatch(c.window, c.message, 0, 0);
    MSG copy;
    EXPECT_FALSE(PeekMessageA(&copy, form, c.message, c.message, PM_REMOVE));
  }
  DestroyWindow(stranger);
}

TEST_F(MessageLoop, KeyDownRunsBeforeTheCharacterArrivesAndKeyUpAfter) {
  MakeObjects();
  Probe = [] { return GetWindowTextLengthA(Records[2].WindowHandle); };
  SetFocus(edit);
  PostMessageA(edit, WM_KEYDOWN, 'A', 0x001E0001);
  PostMessageA(edit, WM_KEYUP, 'A', static_cast<LPARAM>(0xC01E0001));
  ProcessPendingMessages();
  std::vector<HandlerCall> keys = CallsOf({"OnKeyDown", "OnKeyUp"});
  ASSERT_EQ(keys.size(), 2u);
  EXPECT_EQ(keys[0].slot, "OnKeyDown");
  EXPECT_EQ(keys[0].message, static_cast<UINT>(WM_KEYDOWN));
  EXPECT_EQ(keys[0].wParam, static_cast<WPARAM>('A'));
  EXPECT_EQ(keys[0].window, edit);
  EXPECT_EQ(keys[0].probe, 0) << "the letter is not in the box yet";
  EXPECT_EQ(keys[1].slot, "OnKeyUp");
  EXPECT_EQ(keys[1].message, static_cast<UINT>(WM_KEYUP));
  EXPECT_EQ(keys[1].probe, 1) << "the letter is in the box";
}

TEST_F(MessageLoop, ButtonClickRunsMouseDownCommandMouseUpInOrder) {
  MakeObjects();
  CurrentObject = &R(3);
  R(3).Left = 10; R(3).Top = 10; R(3).Width = 80; R(3).Height = 20;
  ApplyGeometry();
  CurrentObject = &R(0);
  ShowObject();
  Calls.clear();
  // The button goes up only after the loop has handled the copy of the down.
  PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  ProcessPendingMessages();
  PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  ProcessPendingMessages();
  std::vector<std::string> buttonSlots;
  for (const HandlerCall& call : CallsOf({"OnMouseDown", "OnCommand", "OnMouseUp"}))
    if (call.window == button) buttonSlots.push_back(call.slot);
  EXPECT_EQ(buttonSlots, (std::vector<std::string>{"OnMouseDown", "OnCommand", "OnMouseUp"}));
}

TEST_F(MessageLoop, ControlOfASecondFormIsFoundByItsIndex) {
  MakeObjects();
  MakeForm(4);
  HWND other = Construct(5, CreateEdit);
  LogEverySlot(R(5));
  Calls.clear();
  PostMessageA(other, WM_KEYDOWN, VK_F5, 0);
  ProcessPendingMessages();
  std::vector<HandlerCall> keys = CallsOf({"OnKeyDown"});
  ASSERT_EQ(keys.size(), 1u);
  EXPECT_EQ(keys[0].window, other);
}

// A handler that processes pending messages while the form is closed takes
// the quit message; the program must still end, with the quit's code.
TEST_F(MessageLoop, AQuitTakenByPendingMessagesStillEndsTheLoopWithItsCode) {
  MakeObjects();
  PostQuitMessage(5);
  PostMessageA(form, WM_KEYDOWN, 'C', 0);
  ProcessPendingMessages();
  EXPECT_EQ(CallsOf({"OnKeyDown", "OnKeyUp"}).size(), 1u);
  MSG quit;
  ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) << "the quit message was lost";
  EXPECT_EQ(quit.wParam, 5u);
  PostMessageA(form, WM_KEYUP, 'C', 0);
  EXPECT_EQ(RunMessageLoop(), 5);
  EXPECT_EQ(CurrentMessage.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(CallsOf({"OnKeyDown", "OnKeyUp"}).size(), 2u) << "what came before the quit was handled";
}

TEST_F(MessageLoop, ClosingTheMainFormEndsTheLoopWithZero) {
  MakeObjects();
  R(0).OnClose = nullptr;
  PostMessageA(form, WM_CLOSE, 0, 0);
  EXPECT_EQ(RunMessageLoop(), 0);
  EXPECT_FALSE(IsWindow(form));
}

}  // namespace
}  // namespace guitest
