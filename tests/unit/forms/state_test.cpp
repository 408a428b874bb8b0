// Checks, the default button, lists read back, the forms a dialog takes the
// input from, showing and closing.
#include "forms_fixture.h"

namespace formsunit {
namespace {

using State = FormsTest;

LRESULT Check(HWND button) { return SendMessageA(button, BM_GETCHECK, 0, 0); }

// Radio buttons of one form make one group; another form's are left alone.
TEST_F(State, CheckingARadioButtonClearsTheOthersOfItsForm) {
  Construct(0, CreateForm);
  HWND a = Construct(1, CreateRadioButton);
  HWND b = Construct(2, CreateRadioButton);
  HWND box = Construct(3, CreateCheckBox);
  Construct(4, CreateForm);
  HWND elsewhere = Construct(5, CreateRadioButton);
  SendMessageA(a, BM_SETCHECK, BST_CHECKED, 0);
  SendMessageA(box, BM_SETCHECK, BST_CHECKED, 0);
  SendMessageA(elsewhere, BM_SETCHECK, BST_CHECKED, 0);
  CurrentObject = &R(2);
  SetChecked(1);
  EXPECT_EQ(Check(a), BST_UNCHECKED);
  EXPECT_EQ(Check(b), BST_CHECKED);
  EXPECT_EQ(Check(box), BST_CHECKED);
  EXPECT_EQ(Check(elsewhere), BST_CHECKED);
  // Any number but 0 checks; 0 clears.
  CurrentObject = &R(3);
  SetChecked(0);
  EXPECT_EQ(Check(box), BST_UNCHECKED);
  CurrentObject = &R(3);
  SetChecked(-7);
  EXPECT_EQ(Check(box), BST_CHECKED);
  QueryObject = &R(3);
  EXPECT_EQ(AskWindow(BM_GETCHECK), 1);
}

TEST_F(State, AFormHasOneDefaultButton) {
  Construct(0, CreateForm);
  HWND first = Construct(1, CreateButton);
  HWND second = Construct(2, CreateButton);
  auto type = [](HWND w) { return GetWindowLongA(w, GWL_STYLE) & BS_TYPEMASK; };
  CurrentObject = &R(1);
  SetDefaultButton(1);
  EXPECT_EQ(type(first), BS_DEFPUSHBUTTON);
  CurrentObject = &R(2);
  SetDefaultButton(1);
  EXPECT_EQ(type(first), BS_PUSHBUTTON);
  EXPECT_EQ(type(second), BS_DEFPUSHBUTTON);
  EXPECT_EQ(R(1).Style & BS_TYPEMASK, static_cast<uint32_t>(BS_PUSHBUTTON));
  EXPECT_EQ(R(2).Style & BS_TYPEMASK, static_cast<uint32_t>(BS_DEFPUSHBUTTON));
  QueryObject = &R(2);
  EXPECT_EQ(ReadDefaultButton(), 1);
  QueryObject = &R(1);
  EXPECT_EQ(ReadDefaultButton(), 0);
}

std::string Text(StringValue value) { return std::string(value.text, value.length); }

TEST_F(State, ListsReadBack) {
  Construct(0, CreateForm);
  HWND list = Construct(1, CreateListBox);
  HWND combo = Construct(2, CreateComboBox);
  QueryObject = &R(1);
  EXPECT_EQ(Text(SelectedItemText()), "");
  for (const char* item : {"one", "two", "three"}) {
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  }
  QueryObject = &R(1);
  EXPECT_EQ(AskWindow(LB_GETCURSEL), -1);
  EXPECT_EQ(Text(SelectedItemText()), "");
  EXPECT_EQ(AskWindow(LB_GETCOUNT), 3);
  EXPECT_EQ(Text(ItemText(kListBoxText, 1)), "two");
  EXPECT_EQ(Text(ItemText(kListBoxText, 3)), "");
  EXPECT_EQ(Text(ItemText(kListBoxText, -1)), "");
  SendMessageA(list, LB_SETCURSEL, 2, 0);
  EXPECT_EQ(Text(SelectedItemText()), "three");
  // The combo box sorts: one, three, two.
  QueryObject = &R(2);
  EXPECT_EQ(Text(ItemText(kComboBoxText, 2)), "two");
  CurrentObject = &R(1);
  TellWindow(LB_DELETESTRING, 0);
  QueryObject = &R(1);
  EXPECT_EQ(AskWindow(LB_GETCOUNT), 2);
  EXPECT_EQ(Text(ItemText(kListBoxText, 0)), "two");
}

// Shown, enabled forms but the one kept lose their input until it is given
// back; a form disabled already stays so, a hidden one is left alone.
TEST_F(State, ADialogTakesTheInputOfTheShownFormsAndGivesItBack) {
  HWND main = Construct(0, CreateForm);
  HWND shown = Construct(1, CreateForm);
  HWND hidden = Construct(2, CreateForm);
  HWND disabled = Construct(3, CreateForm);
  HWND kept = Construct(4, CreateForm);
  for (HWND w : {main, shown, disabled, kept}) ShowWindow(w, SW_SHOW);
  EnableWindow(disabled, FALSE);
  TakenForms taken = TakeInputFromForms(kept);
  EXPECT_EQ(taken.count, 2);
  EXPECT_FALSE(IsWindowEnabled(main));
  EXPECT_FALSE(IsWindowEnabled(shown));
  EXPECT_TRUE(IsWindowEnabled(hidden));
  EXPECT_TRUE(IsWindowEnabled(kept));
  GiveInputBack(taken);
  EXPECT_TRUE(IsWindowEnabled(main));
  EXPECT_TRUE(IsWindowEnabled(shown));
  EXPECT_FALSE(IsWindowEnabled(disabled));
}

// A control's own state: visible while its form is hidden.
TEST_F(State, VisibleAndEnabledAreTheObjectsOwn) {
  HWND form = Construct(0, CreateForm);
  HWND button = Construct(1, CreateButton);
  QueryObject = &R(1);
  EXPECT_EQ(ReadVisible(), 1);
  EXPECT_EQ(IsWindowVisible(button), FALSE);
  CurrentObject = &R(1);
  SetVisible(0);
  QueryObject = &R(1);
  EXPECT_EQ(ReadVisible(), 0);
  CurrentObject = &R(0);
  SetVisible(1);
  EXPECT_TRUE(IsWindowVisible(form));
  CurrentObject = &R(1);
  SetEnabled(0);
  QueryObject = &R(1);
  EXPECT_EQ(ReadEnabled(), 0);
  CurrentObject = &R(1);
  SetEnabled(2);
  QueryObject = &R(1);
  EXPECT_EQ(ReadEnabled(), 1);
}

// Close is the close box: OnClose runs and the form stays; without one the
// form goes.
TEST_F(State, CloseRunsOnCloseOrClosesTheForm) {
  HWND form = Construct(0, CreateForm);
  R(0).OnClose = OnCommandLogged;
  CurrentObject = &R(0);
  CloseForm();
  EXPECT_EQ(Calls.size(), 1u);
  EXPECT_EQ(Calls[0].message, static_cast<UINT>(WM_CLOSE));
  EXPECT_TRUE(IsWindow(form));
  R(0).OnClose = nullptr;
  CurrentObject = &R(0);
  CloseForm();
  EXPECT_FALSE(IsWindow(form));
  DrainMessages();
}

TEST_F(State, ClientWidthIsTheInsidesWidth) {
  HWND form = Construct(0, CreateForm);
  SetWindowPos(form, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
  RECT inside;
  GetClientRect(form, &inside);
  QueryObject = &R(0);
  EXPECT_EQ(GetClientWidth(), inside.right);
  QueryObject = &R(5);
  EXPECT_EQ(GetClientWidth(), 0);
}

}  // namespace
}  // namespace formsunit
