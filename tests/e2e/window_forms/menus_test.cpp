// Menus picked as a user picks them, with the keyboard: Alt and the menu's
// letter, then the item's letter.
#include "forms_support.h"

namespace formstest {
namespace {

enum { kReport = 10 };

class Menus : public ::testing::Test {
 protected:
  void SetUp() override {
    process = Launch(FixturePath("menus.exe"));
    ASSERT_NE(process.handle, nullptr);
    form = StartShown(process, "Menus");
    ASSERT_NE(form, nullptr);
    report = Control(form, kReport);
    ASSERT_TRUE(BringToFront(form));
  }

  // Alt and the letters in turn: the first opens a menu of the bar, each
  // further one picks an item or opens a menu inside it.
  void Pick(const std::string& letters) {
    KeyEvent(VK_MENU, true);
    TypeKey(static_cast<WORD>(letters[0]));
    KeyEvent(VK_MENU, false);
    for (size_t i = 1; i < letters.size(); ++i) TypeKey(static_cast<WORD>(letters[i]));
  }

  Process process;
  HWND form = nullptr, report = nullptr;
};

// Captions read back with their letter's "&"; a separator's is "-".
TEST_F(Menus, CaptionsCheckedAndEnabledReadBack) {
  EXPECT_TEXT(process, report, "[&File] [&Open] [-] grid 0 locked 0 open 1");
}

// A menu's pick is a command without a notification code.
TEST_F(Menus, APickRunsTheItemsOnCommand) {
  Pick("FO");
  EXPECT_TEXT(process, report, "open 1 code 0 locked 0");
  Pick("FO");
  EXPECT_TEXT(process, report, "open 2 code 0 locked 0");
}

TEST_F(Menus, CheckedTurnsOnAndOff) {
  Pick("VG");
  EXPECT_TEXT(process, report, "grid 1");
  Pick("VG");
  EXPECT_TEXT(process, report, "grid 0");
}

TEST_F(Menus, AnItemInAMenuInsideAMenu) {
  Pick("VMD");
  EXPECT_TEXT(process, report, "deep");
}

// The disabled item cannot be picked: the next pick finds that its handler never ran.
TEST_F(Menus, ADisabledItemRunsNothing) {
  Pick("VL");
  TypeKey(VK_ESCAPE);
  TypeKey(VK_ESCAPE);
  Pick("FO");
  EXPECT_TEXT(process, report, "open 1 code 0 locked 0");
}

TEST_F(Menus, AnItemThatClosesTheFormEndsTheProgram) {
  EXPECT_EQ(ExitAfter(process, [&] { Pick("FQ"); }), 0u);
}

}  // namespace
}  // namespace formstest
