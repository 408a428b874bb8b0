// Lists and combo boxes read back, their OnChange, and an edit's: driven by
// clicks and keys at the display.
#include "forms_support.h"

namespace formstest {
namespace {

enum { kFruit = 1, kSizes, kReport, kRemove, kClear, kSelectLast, kEntry, kCounts };

class Lists : public ::testing::Test {
 protected:
  void SetUp() override {
    process = Launch(FixturePath("lists.exe"));
    ASSERT_NE(process.handle, nullptr);
    form = StartShown(process, "Lists");
    ASSERT_NE(form, nullptr);
    report = Control(form, kReport);
    counts = Control(form, kCounts);
  }

  // Clicks item i of the list box, whose items all have one height.
  void ClickFruit(int item) {
    HWND list = Control(form, kFruit);
    int height = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    BringToFront(form);
    Click(ScreenPoint(list, 10, item * height + height / 2));
  }

  Process process;
  HWND form = nullptr, report = nullptr, counts = nullptr;
};

// Nothing selected: index -1 and an empty text; an item beyond the list is "".
TEST_F(Lists, ReadBackBeforeAnySelection) {
  EXPECT_TEXT(process, report, "start -1 [] 3 item2 [cherry] item5 [] sizes -1 first [large] of 3");
  EXPECT_TEXT(process, counts, "fruit 0 sizes 0 entry 0 commands 0 doubles 0");
}

TEST_F(Lists, AClickOnAnItemRunsOnChangeWithTheSelectionRead) {
  ClickFruit(1);
  EXPECT_TEXT(process, report, "fruit 1 [banana] 3 [banana]");
  EXPECT_TEXT(process, counts, "fruit 1 sizes 0 entry 0 commands 0 doubles 0");
}

// The combo box sorts its items: large, medium, small.
TEST_F(Lists, AKeyInTheComboBoxRunsItsOnChange) {
  BringToFront(form);
  Click(ScreenCentre(Control(form, kSizes)));
  TypeKey(VK_ESCAPE);  // the list that the click dropped down goes up again
  TypeKey(VK_DOWN);
  EXPECT_TEXT(process, report, "sizes 0 [large] [large]");
  EXPECT_TEXT(process, counts, "fruit 0 sizes 1 entry 0 commands 0 doubles 0");
}

TEST_F(Lists, RemoveItemTakesTheSelectedItemOut) {
  ClickFruit(1);
  EXPECT_TEXT(process, report, "fruit 1 [banana] 3 [banana]");
  ClickControl(form, Control(form, kRemove));
  EXPECT_TEXT(process, report, "removed -1 [] 2");
  EXPECT_EQ(ListBoxItems(Control(form, kFruit)), (std::vector<std::string>{"apple", "cherry"}));
}

TEST_F(Lists, ClearEmptiesTheList) {
  ClickControl(form, Control(form, kClear));
  EXPECT_TEXT(process, report, "cleared -1 [] 0");
  EXPECT_TRUE(ListBoxItems(Control(form, kFruit)).empty());
}

// The program's own selection is no change of the user's: OnChange stays quiet.
TEST_F(Lists, ItemIndexWrittenByTheProgramRunsNoOnChange) {
  ClickControl(form, Control(form, kSelectLast));
  EXPECT_TEXT(process, report, "selected 2 [cherry] 3");
  EXPECT_TEXT(process, counts, "fruit 0 sizes 0 entry 0 commands 0 doubles 0");
}

TEST_F(Lists, ADoubleClickRunsOnDoubleClickAndOneChange) {
  HWND list = Control(form, kFruit);
  int height = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
  BringToFront(form);
  DoubleClick(ScreenPoint(list, 10, 2 * height + height / 2));
  EXPECT_TEXT(process, counts, "fruit 1 sizes 0 entry 0 commands 0 doubles 1");
  EXPECT_TEXT(process, report, "fruit 2 [cherry] 3 [cherry]");
}

// Each typed character changes the text: OnChange runs, and OnCommand with
// the change's code as for every notification.
TEST_F(Lists, TypingInAnEditRunsOnChangeForEachCharacter) {
  ClickControl(form, Control(form, kEntry));
  ASSERT_TRUE(WaitUntil([&] { return HoldsFocus(process, Control(form, kEntry)); }, 5000, &process));
  TypeKey('H');
  TypeKey('I');
  EXPECT_TEXT(process, report, "entry [hi]");
  EXPECT_TEXT(process, counts, "fruit 0 sizes 0 entry 2 commands 2 doubles 0");
}

}  // namespace
}  // namespace formstest
