// Menus of the object table on a form's bar: where each entry goes, its
// command, its text and state as the system holds them.
#include "forms_fixture.h"

namespace formsunit {
namespace {

enum { kForm, kFile, kOpen, kLine, kMore, kDeep };

class Menus : public FormsTest {
 protected:
  void SetUp() override {
    FormsTest::SetUp();
    form = Construct(kForm, CreateForm);
    CurrentObject = &R(kFile);
    CreateMenuOn(&R(kForm), true);
    CurrentObject = &R(kOpen);
    CreateMenuIn(&R(kFile), false);
    CurrentObject = &R(kLine);
    CreateMenuIn(&R(kFile), false);
    CurrentObject = &R(kMore);
    CreateMenuIn(&R(kFile), true);
    CurrentObject = &R(kDeep);
    CreateMenuIn(&R(kMore), false);
  }
  std::string Text(int n) {
    QueryObject = &R(n);
    StringValue text = GetMenuEntryText();
    return std::string(text.text, text.length);
  }
  void SetText(int n, const char* text) {
    CurrentObject = &R(n);
    SetMenuEntryText(text);
  }
  HWND form = nullptr;
};

// The form's bar holds the menu, the menu its items and the menu inside it;
// items have their index + 1000 as command.
TEST_F(Menus, EntriesStandWhereTheyWereMade) {
  HMENU bar = GetMenu(form);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(R(kForm).MenuHandle, bar);
  ASSERT_EQ(GetMenuItemCount(bar), 1);
  HMENU file = GetSubMenu(bar, 0);
  EXPECT_EQ(file, R(kFile).MenuHandle);
  ASSERT_EQ(GetMenuItemCount(file), 3);
  EXPECT_EQ(GetMenuItemID(file, 0), 1000u + kOpen);
  EXPECT_EQ(GetMenuItemID(file, 1), 1000u + kLine);
  EXPECT_EQ(GetSubMenu(file, 2), R(kMore).MenuHandle);
  EXPECT_EQ(GetMenuItemID(R(kMore).MenuHandle, 0), 1000u + kDeep);
  for (int n = kFile; n <= kDeep; ++n) {
    EXPECT_EQ(R(n).ObjectIndex, n);
    EXPECT_EQ(ObjectTable[n], &R(n));
    EXPECT_EQ(R(n).ParentWindow, form);
  }
}

TEST_F(Menus, CaptionsAndSeparators) {
  SetText(kFile, "&File");
  SetText(kOpen, "&Open");
  SetText(kLine, "-");
  SetText(kDeep, "&Deep");
  EXPECT_EQ(Text(kFile), "&File");
  EXPECT_EQ(Text(kOpen), "&Open");
  EXPECT_EQ(Text(kLine), "-");
  EXPECT_EQ(Text(kDeep), "&Deep");
  char shown[16] = {};
  GetMenuStringA(GetMenu(form), 0, shown, sizeof shown, MF_BYPOSITION);
  EXPECT_STREQ(shown, "&File");
  EXPECT_NE(GetMenuState(R(kFile).MenuHandle, 1, MF_BYPOSITION) & MF_SEPARATOR, 0u);
  // A separator becomes an item again with a text.
  SetText(kLine, "&Line");
  EXPECT_EQ(GetMenuState(R(kFile).MenuHandle, 1, MF_BYPOSITION) & MF_SEPARATOR, 0u);
  EXPECT_EQ(Text(kLine), "&Line");
}

TEST_F(Menus, CheckedAndEnabledReadAndWriteTheEntrysState) {
  auto read = [&](int n, const MenuFlag& flag) {
    QueryObject = &R(n);
    return ReadMenuFlag(flag);
  };
  auto write = [&](int n, const MenuFlag& flag, int32_t value) {
    CurrentObject = &R(n);
    WriteMenuFlag(flag, value);
  };
  EXPECT_EQ(read(kOpen, kMenuChecked), 0);
  EXPECT_EQ(read(kOpen, kMenuEnabled), 1);
  write(kOpen, kMenuChecked, 1);
  EXPECT_EQ(read(kOpen, kMenuChecked), 1);
  EXPECT_NE(GetMenuState(R(kFile).MenuHandle, 1000 + kOpen, MF_BYCOMMAND) & MF_CHECKED, 0u);
  write(kDeep, kMenuEnabled, 0);
  EXPECT_EQ(read(kDeep, kMenuEnabled), 0);
  EXPECT_NE(GetMenuState(R(kMore).MenuHandle, 0, MF_BYPOSITION) & MF_GRAYED, 0u);
  // A menu of the bar, found by its popup.
  write(kFile, kMenuEnabled, 0);
  EXPECT_EQ(read(kFile, kMenuEnabled), 0);
  EXPECT_NE(GetMenuState(GetMenu(form), 0, MF_BYPOSITION) & MF_GRAYED, 0u);
  write(kFile, kMenuEnabled, 5);
  EXPECT_EQ(read(kFile, kMenuEnabled), 1);
  // The other state stays as it was.
  EXPECT_EQ(read(kOpen, kMenuChecked), 1);
  EXPECT_EQ(read(kOpen, kMenuEnabled), 1);
}

// A pick reaches the item's OnCommand through the form's procedure.
TEST_F(Menus, APickRunsTheItemsOnCommand) {
  R(kDeep).OnCommand = OnCommandLogged;
  SendMessageA(form, WM_COMMAND, MAKEWPARAM(1000 + kDeep, 0), 0);
  ASSERT_EQ(Calls.size(), 1u);
  EXPECT_EQ(Calls[0].code, 0);
}

// A menu item can stand on the bar itself.
TEST_F(Menus, AnItemOnTheBar) {
  CurrentObject = &R(6);
  CreateMenuOn(&R(kForm), false);
  HMENU bar = GetMenu(form);
  ASSERT_EQ(GetMenuItemCount(bar), 2);
  EXPECT_EQ(GetMenuItemID(bar, 1), 1006u);
  SetText(6, "&Help");
  EXPECT_EQ(Text(6), "&Help");
}

}  // namespace
}  // namespace formsunit
