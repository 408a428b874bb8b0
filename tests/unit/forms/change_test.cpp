// OnChange through the newer window procedure: which notifications of which
// controls are changes, the event values it sees, and what still follows.
#include "forms_fixture.h"

namespace formsunit {
namespace {

using Changes = FormsTest;

enum { kForm, kList, kCombo, kEdit, kButton };

class ChangeRoutes : public FormsTest {
 protected:
  void SetUp() override {
    FormsTest::SetUp();
    Construct(kForm, CreateForm);
    Construct(kList, CreateListBox);
    Construct(kCombo, CreateComboBox);
    Construct(kEdit, CreateEdit);
    Construct(kButton, CreateButton);
    for (int i = kList; i <= kButton; ++i) R(i).OnChange = OnChangeLogged;
    DrainMessages();
    Calls.clear();
  }
  LRESULT Notify(int control, UINT code, HWND from) {
    return SendMessageA(R(kForm).WindowHandle, WM_COMMAND, MAKEWPARAM(R(control).ObjectIndex, code),
                        reinterpret_cast<LPARAM>(from));
  }
};

// A selection of a list or combo box, text typed into a combo box's field,
// an edit's text: changes. The same codes from other controls mean other
// things (5 is a list's losing the focus) and are none.
TEST_F(ChangeRoutes, OnlyTheChangesOfEachKindOfControlRunOnChange) {
  struct Case {
    int control;
    UINT code;
    bool runs;
  };
  const Case cases[] = {
      {kList, LBN_SELCHANGE, true},   {kList, LBN_KILLFOCUS, false}, {kList, LBN_DBLCLK, false},
      {kCombo, CBN_SELCHANGE, true},  {kCombo, CBN_EDITCHANGE, true}, {kCombo, CBN_DROPDOWN, false},
      {kEdit, EN_CHANGE, true},       {kEdit, EN_SETFOCUS, false},    {kEdit, 1, false},
      {kButton, BN_CLICKED, false},   {kButton, EN_CHANGE, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.control) + " code " + std::to_string(c.code));
    Calls.clear();
    Notify(c.control, c.code, R(c.control).WindowHandle);
    EXPECT_EQ(Calls.size(), c.runs ? 1u : 0u);
  }
}

// Any process may post a command: one that names another window than the
// control of that identifier is no change of that control.
TEST_F(ChangeRoutes, ACommandFromAnotherWindowRunsNothing) {
  Notify(kList, LBN_SELCHANGE, R(kCombo).WindowHandle);
  Notify(kList, LBN_SELCHANGE, nullptr);
  SendMessageA(R(kForm).WindowHandle, WM_COMMAND, MAKEWPARAM(kTableRecords + 5, LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(R(kList).WindowHandle));
  EXPECT_TRUE(Calls.empty());
}

TEST_F(ChangeRoutes, TheHandlerSeesTheCommandAsAnyOther) {
  Notify(kCombo, CBN_SELCHANGE, R(kCombo).WindowHandle);
  ASSERT_EQ(Calls.size(), 1u);
  EXPECT_EQ(Calls[0].window, R(kCombo).WindowHandle);
  EXPECT_EQ(Calls[0].message, static_cast<UINT>(WM_COMMAND));
  EXPECT_EQ(Calls[0].wParam, MAKEWPARAM(kCombo, CBN_SELCHANGE));
  EXPECT_EQ(Calls[0].lParam, reinterpret_cast<LPARAM>(R(kCombo).WindowHandle));
  EXPECT_EQ(Calls[0].code, CBN_SELCHANGE);
}

// An edit's change is a notification like every other: OnCommand runs too,
// after OnChange.
TEST_F(ChangeRoutes, AnEditsChangeRunsOnChangeThenOnCommand) {
  R(kEdit).OnCommand = OnCommandLogged;
  SetWindowTextA(R(kEdit).WindowHandle, "typed");
  // The edit tells of the update before the change: OnCommand alone hears that.
  std::vector<std::string> seen;
  for (const Call& call : Calls) seen.push_back(call.handler + " " + std::to_string(call.code));
  EXPECT_EQ(seen, (std::vector<std::string>{"OnCommand " + std::to_string(EN_UPDATE), "OnChange " + std::to_string(EN_CHANGE),
                                            "OnCommand " + std::to_string(EN_CHANGE)}));
}

// The list itself reports a click on an item; the program's own selection it
// does not report.
TEST_F(ChangeRoutes, AListsOwnNotificationOfAClick) {
  HWND list = R(kList).WindowHandle;
  SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("one"));
  SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("two"));
  SendMessageA(list, LB_SETCURSEL, 1, 0);
  EXPECT_TRUE(Calls.empty());
  int height = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
  SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, height / 2));
  SendMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(5, height / 2));
  ASSERT_EQ(Calls.size(), 1u);
  EXPECT_EQ(Calls[0].code, LBN_SELCHANGE);
}

// A rich edit tells of changes only once OnChange asked it to.
TEST_F(Changes, ARichEditReportsItsChangesOnceAsked) {
  Construct(kForm, CreateForm);
  HWND rich = Construct(1, CreateRichEdit);
  ASSERT_NE(rich, nullptr);
  R(1).OnChange = OnChangeLogged;
  SetWindowTextA(rich, "before");
  EXPECT_TRUE(Calls.empty());
  CurrentObject = &R(1);
  ReportTextChanges();
  EXPECT_NE(SendMessageA(rich, EM_GETEVENTMASK, 0, 0) & ENM_CHANGE, 0);
  SendMessageA(rich, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("after"));
  EXPECT_FALSE(Calls.empty());
}

}  // namespace
}  // namespace formsunit
