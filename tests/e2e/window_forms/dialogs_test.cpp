// INPUTBOX$, OPENFILE$, SAVEFILE$ and ShowModal: the dialogs answered as a
// user answers them, and the forms behind them without input meanwhile.
#include "forms_support.h"

namespace formstest {
namespace {

enum { kAsk = 1, kOpen, kSave, kModal, kReport, kDone = 7 };
constexpr int kPromptId = 100, kEditId = 101;
// The file name box of the system's file dialog.
constexpr int kFileNameBox = 0x47C;

// Enters a name in the file dialog's name box: its edit field, the
// innermost window of that identifier (an extended combo box, a combo box
// and an edit inside each other). The name is made a full path of the usual
// form first (the scratch folder may come in the Unix form that Wine also
// takes), and set again until it reads back, should the dialog still be
// filling its box.
bool EnterFileName(const Process& process, HWND dialog, const std::string& path) {
  char full[MAX_PATH];
  std::string name(full, GetFullPathNameA(path.c_str(), sizeof full, full, nullptr));
  return WaitUntil(
      [&] {
        HWND edit = nullptr;
        for (HWND child : ChildWindows(dialog))
          if (GetDlgCtrlID(child) == kFileNameBox && ClassName(child) == "Edit") edit = child;
        if (edit == nullptr) return false;
        SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
        return WindowText(edit) == name;
      },
      5000, &process);
}

class Dialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = FreshDir("dialogs");
    WriteFileBytes(folder + "\\marker.txt", "home");
    WriteFileBytes(folder + "\\chosen.txt", "x");
    LaunchOptions options;
    options.workingDirectory = folder;
    process = Launch(FixturePath("dialogs.exe"), options);
    ASSERT_NE(process.handle, nullptr);
    form = StartShown(process, "Dialogs");
    ASSERT_NE(form, nullptr);
    report = Control(form, kReport);
    EXPECT_TEXT(process, report, "ready");
  }

  // The report once the program has written it whole: "[path] home". (A
  // text read from another process while it changes may come cut short.)
  std::string CompleteReport() {
    std::string seen;
    EXPECT_TRUE(WaitUntil(
        [&] {
          seen = WindowText(report);
          return seen.size() > 7 && seen.compare(seen.size() - 6, 6, "] home") == 0;
        },
        15000, &process))
        << seen;
    return seen;
  }

  // The text of the dialog's control.
  static std::string ItemText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

  std::string folder;
  Process process;
  HWND form = nullptr, report = nullptr;
};

TEST_F(Dialogs, InputBoxShowsThePromptAndGivesWhatWasTyped) {
  ClickControl(form, Control(form, kAsk));
  HWND box = WaitForDialog(process, "Asking");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(ItemText(box, kPromptId), "Your name?");
  EXPECT_EQ(ItemText(box, kEditId), "nobody");
  EXPECT_FALSE(IsWindowEnabled(form)) << "the form behind the box takes input";
  SendMessageA(GetDlgItem(box, kEditId), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Ada"));
  PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
  EXPECT_TEXT(process, report, "[Ada] home");
  EXPECT_TRUE(IsWindowEnabled(form));
}

// The keys of a dialog: what is typed replaces the selected default, Enter is OK.
TEST_F(Dialogs, InputBoxTakesTypingAndEnter) {
  ClickControl(form, Control(form, kAsk));
  HWND box = WaitForDialog(process, "Asking");
  ASSERT_NE(box, nullptr);
  ASSERT_TRUE(BringToFront(box));
  ASSERT_TRUE(WaitUntil([&] { return HoldsFocus(process, GetDlgItem(box, kEditId)); }, 5000, &process));
  TypeKey('B');
  TypeKey('O');
  TypeKey(VK_RETURN);
  EXPECT_TEXT(process, report, "[bo] home");
}

TEST_F(Dialogs, InputBoxCancelledGivesNothing) {
  ClickControl(form, Control(form, kAsk));
  HWND box = WaitForDialog(process, "Asking");
  ASSERT_NE(box, nullptr);
  PostMessageA(GetDlgItem(box, IDCANCEL), BM_CLICK, 0, 0);
  EXPECT_TEXT(process, report, "[] home");
}

// The chosen path, and the program's folder as it was.
TEST_F(Dialogs, OpenFileGivesThePathChosen) {
  ClickControl(form, Control(form, kOpen));
  HWND dialog = WaitForDialog(process, "Open");
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(IsWindowEnabled(form));
  ASSERT_TRUE(EnterFileName(process, dialog, folder + "\\chosen.txt"));
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  std::string seen = CompleteReport();
  std::string chosen = seen.substr(1, seen.size() - 7);
  EXPECT_EQ(ReadFileBytes(chosen), "x") << chosen;
  EXPECT_EQ(chosen.substr(chosen.size() - 11), "\\chosen.txt") << chosen;
}

TEST_F(Dialogs, OpenFileCancelledGivesNothing) {
  ClickControl(form, Control(form, kOpen));
  HWND dialog = WaitForDialog(process, "Open");
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(IsWindowEnabled(form));
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TEXT(process, report, "[] home");
  EXPECT_TRUE(IsWindowEnabled(form));
}

// A name typed without an extension gets that of the filter's first pattern.
TEST_F(Dialogs, SaveFileAddsTheFiltersExtension) {
  ClickControl(form, Control(form, kSave));
  HWND dialog = WaitForDialog(process, "Save As");
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(EnterFileName(process, dialog, folder + "\\notes"));
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  std::string seen = CompleteReport();
  EXPECT_NE(seen.find("\\notes.txt] home"), std::string::npos) << seen;
}

// The statement after ShowModal runs once the form is hidden; until then
// the main form takes no input.
TEST_F(Dialogs, ShowModalWaitsUntilTheFormIsHidden) {
  ClickControl(form, Control(form, kModal));
  HWND second = FormWithCaption(process, "Modal form");
  ASSERT_NE(second, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(second) != FALSE; }, 15000, &process));
  EXPECT_TEXT(process, report, "modal");
  EXPECT_FALSE(IsWindowEnabled(form));
  ClickControl(second, Control(second, kDone));
  EXPECT_TEXT(process, report, "after modal");
  EXPECT_FALSE(IsWindowVisible(second));
  EXPECT_TRUE(IsWindowEnabled(form));
}

// Its close box hides the form, as for any second form: the wait ends too.
TEST_F(Dialogs, ShowModalEndsAtTheFormsCloseBox) {
  ClickControl(form, Control(form, kModal));
  HWND second = FormWithCaption(process, "Modal form");
  ASSERT_NE(second, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(second) != FALSE; }, 15000, &process));
  PostMessageA(second, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TEXT(process, report, "after modal");
  EXPECT_TRUE(IsWindowEnabled(form));
}

}  // namespace
}  // namespace formstest
