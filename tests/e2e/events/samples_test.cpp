// keyprobe and textview as a person uses them: keys, clicks, focus and resizing
// through the system, observed from outside.
#include <gtest/gtest.h>

#include "driver.h"

using namespace driver;

namespace {

constexpr int kComboIndex = 1;
// Fields of an object record, counted in 32-bit words.
constexpr DWORD kCaptionField = 2;
constexpr DWORD kStyleField = 3;

class Keyprobe : public testing::Test {
 protected:
  void SetUp() override {
    process_ = Launch(BinPath("keyprobe.exe"));
    ASSERT_NE(process_.handle, nullptr);
    form_ = WaitForWindow(process_, "Tessaric4569");
    ASSERT_NE(form_, nullptr);
    combo_ = GetDlgItem(form_, kComboIndex);
    ASSERT_NE(combo_, nullptr);
  }

  // The box a key-down produces; closed again, with the focus back on the combo box.
  std::string BoxForKey(HWND target, WORD key) {
    PostKey(target, key);
    MessageBoxInfo box = WaitForMessageBox(process_, 10000);
    if (box.window == nullptr) return "no box";
    EXPECT_EQ(box.caption, "keyprobe");
    EXPECT_NE(box.exStyle & WS_EX_TOPMOST, 0) << "system-modal";
    CloseMessageBox(box.window);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box.window); }, 5000, &process_));
    EXPECT_TRUE(WaitUntil([&] { return HoldsFocus(process_, combo_); }, 5000, &process_));
    return box.text;
  }

  Process process_;
  HWND form_ = nullptr;
  HWND combo_ = nullptr;
};

TEST_F(Keyprobe, StartsWithAnEditableComboBoxHoldingItemsAndFocus) {
  EXPECT_EQ(WindowText(form_), "keyprobe");
  EXPECT_EQ(ClassName(combo_), "ComboBox");
  // The record holds the style the window was made with; the control itself
  // drops some bits from what GetWindowLong shows, but not its kind.
  DWORD record = FindObjectRecord(process_, combo_);
  ASSERT_NE(record, 0u);
  std::vector<DWORD> fields = ReadRemoteWords(process_, record, 30);
  ASSERT_EQ(fields.size(), 30u);
  EXPECT_EQ(fields[kStyleField], 0x50211302u);
  EXPECT_EQ(GetWindowLongA(combo_, GWL_STYLE) & 3, CBS_DROPDOWN);
  EXPECT_EQ(GetDlgCtrlID(combo_), kComboIndex);
  // Exactly one combo box: the first window was destroyed by the re-creation.
  int combos = 0;
  for (HWND child : ChildWindows(form_)) combos += ClassName(child) == "ComboBox" ? 1 : 0;
  EXPECT_EQ(combos, 1);
  EXPECT_EQ(ComboBoxItems(combo_), (std::vector<std::string>{"abc", "def", "ghi"}));
  EXPECT_EQ(SendMessageA(combo_, CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(WindowText(combo_), "abc");
  EXPECT_NE(FindWindowExA(combo_, nullptr, "Edit", nullptr), nullptr) << "an edit field";
  EXPECT_TRUE(WaitUntil([&] { return HoldsFocus(process_, combo_); }, 5000, &process_));
}

TEST_F(Keyprobe, KeyAimedAtTheComboBoxShowsItsCodeAndTheLastNotification) {
  ASSERT_TRUE(WaitUntil([&] { return HoldsFocus(process_, combo_); }, 5000, &process_));
  // The last notification is CBN_SETFOCUS (3): the combo box took the focus.
  EXPECT_EQ(BoxForKey(combo_, 'A'), "vKey 65 nCode 3");
  EXPECT_EQ(BoxForKey(combo_, VK_RETURN), "vKey 13 nCode 3");
}

TEST_F(Keyprobe, KeyAimedAtTheFormRunsTheSameHandler) {
  ASSERT_TRUE(WaitUntil([&] { return HoldsFocus(process_, combo_); }, 5000, &process_));
  EXPECT_EQ(BoxForKey(form_, VK_F5), "vKey 116 nCode 3");
}

TEST_F(Keyprobe, KeysTypedIntoTheEditFieldShowNoBox) {
  ASSERT_TRUE(BringToFront(form_));
  HWND field = FindWindowExA(combo_, nullptr, "Edit", nullptr);
  ASSERT_TRUE(WaitUntil([&] { return HoldsFocus(process_, field); }, 5000, &process_));
  TypeKey(VK_END);
  TypeKey('X');
  ASSERT_TRUE(WaitUntil([&] { return WindowText(combo_) == "abcx"; }, 5000, &process_));
  // A handler would have run before the character reached the field.
  EXPECT_TRUE(TopLevelWindows(process_.id, "#32770", false).empty());
  EXPECT_EQ(CloseAndWait(process_, form_), 0u);
}

class Textview : public testing::Test {
 protected:
  // Runs textview in a folder holding the files named.
  void Start(bool withOwnSource) {
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    folder_ = FreshDir(std::string("textview-") + info->name());
    ownSource_ = ReadFileBytes(SourcePath("samples/textview/textview.bas"));
    tintboxSource_ = ReadFileBytes(SourcePath("samples/tintbox/tintbox.bas"));
    ASSERT_FALSE(ownSource_.empty());
    ASSERT_FALSE(tintboxSource_.empty());
    if (withOwnSource) WriteFileBytes(folder_ + "\\textview.bas", ownSource_);
    WriteFileBytes(folder_ + "\\tintbox.bas", tintboxSource_);
    LaunchOptions options;
    options.workingDirectory = folder_;
    process_ = Launch(BinPath("textview.exe"), options);
    ASSERT_NE(process_.handle, nullptr);
    form_ = WaitForWindow(process_, "Tessaric9232");
    ASSERT_NE(form_, nullptr);
    box_ = GetDlgItem(form_, 1);
    ASSERT_NE(box_, nullptr);
  }

  HWND Button(const char* caption) const {
    for (HWND child : ChildWindows(form_))
      if (ClassName(child) == "Button" && WindowText(child) == caption) return child;
    return nullptr;
  }

  bool Press(const char* caption) {
    HWND button = Button(caption);
    if (button == nullptr || !BringToFront(form_)) return false;
    Click(ScreenCentre(button));
    return true;
  }

  bool BoxShows(const std::string& text) {
    return WaitUntil([&] { return WindowText(box_) == text; }, 5000, &process_);
  }

  // A control's rectangle in the form's client coordinates.
  RECT InForm(HWND control) const {
    RECT rect = WindowRect(control);
    MapWindowPoints(nullptr, form_, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }

  std::string folder_, ownSource_, tintboxSource_;
  Process process_;
  HWND form_ = nullptr;
  HWND box_ = nullptr;
};

TEST_F(Textview, ShowsItsFormWithTheBoxSizedFromTheClientHeight) {
  ASSERT_NO_FATAL_FAILURE(Start(true));
  EXPECT_EQ(WindowText(form_), "Tessaric RichEdit test");
  RECT outer = WindowRect(form_);
  EXPECT_EQ(outer.left, 80);
  EXPECT_EQ(outer.top, 80);
  EXPECT_EQ(outer.right - outer.left, 543);
  EXPECT_EQ(outer.bottom - outer.top, 330);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(form_, GWL_STYLE)) & 0x00CF0000u, 0x00CF0000u);

  EXPECT_EQ(ClassName(box_), "Edit");
  EXPECT_EQ(WindowText(box_), "");
  EXPECT_NE(GetWindowLongA(box_, GWL_STYLE) & ES_MULTILINE, 0);
  RECT client = {};
  GetClientRect(form_, &client);
  RECT box = InForm(box_);
  EXPECT_EQ(box.left, 40);
  EXPECT_EQ(box.top, 3);
  EXPECT_EQ(box.right - box.left, 490);
  EXPECT_EQ(box.bottom - box.top, client.bottom - 6);

  struct ButtonPlace {
    const char* caption;
    int identifier;
    int top;
  };
  for (const ButtonPlace& place : {ButtonPlace{"F1", 2, 3}, ButtonPlace{"F2", 3, 25}, ButtonPlace{"New", 4, 47}}) {
    SCOPED_TRACE(place.caption);
    HWND button = Button(place.caption);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(GetDlgCtrlID(button), place.identifier);
    RECT rect = InForm(button);
    EXPECT_EQ(rect.left, 3);
    EXPECT_EQ(rect.top, place.top);
    EXPECT_EQ(rect.right - rect.left, 30);
    EXPECT_EQ(rect.bottom - rect.top, 20);
  }
  EXPECT_EQ(CloseAndWait(process_, form_), 0u);
}

TEST_F(Textview, ButtonsLoadOneTextAtATimeAndNewEmptiesOnlyTheWindow) {
  ASSERT_NO_FATAL_FAILURE(Start(true));
  ASSERT_TRUE(Press("F1"));
  EXPECT_TRUE(BoxShows(ownSource_));
  ASSERT_TRUE(Press("F2"));
  EXPECT_TRUE(BoxShows(tintboxSource_));

  ASSERT_TRUE(Press("New"));
  EXPECT_TRUE(BoxShows(""));
  // The box's record still points at the last text, which the buffer holds.
  DWORD record = FindObjectRecord(process_, box_);
  ASSERT_NE(record, 0u);
  std::vector<DWORD> fields = ReadRemoteWords(process_, record, 30);
  ASSERT_EQ(fields.size(), 30u);
  EXPECT_EQ(ReadRemoteText(process_, fields[kCaptionField]), tintboxSource_);
  EXPECT_EQ(CloseAndWait(process_, form_), 0u);
}

TEST_F(Textview, F1WithoutItsFileCreatesItEmpty) {
  ASSERT_NO_FATAL_FAILURE(Start(false));
  ASSERT_TRUE(Press("F2"));
  ASSERT_TRUE(BoxShows(tintboxSource_));
  std::string path = folder_ + "\\textview.bas";
  ASSERT_FALSE(FileExists(path));
  ASSERT_TRUE(Press("F1"));
  EXPECT_TRUE(BoxShows(""));
  EXPECT_TRUE(FileExists(path));
  EXPECT_EQ(ReadFileBytes(path), "");
}

TEST_F(Textview, ActivatingTheFormPutsTheFocusIntoTheBox) {
  ASSERT_NO_FATAL_FAILURE(Start(true));
  ASSERT_TRUE(Press("F1"));
  HWND button = Button("F1");
  // The click took the focus to the button.
  ASSERT_TRUE(WaitUntil([&] { return HoldsFocus(process_, button); }, 5000, &process_));
  // Another program takes the foreground, then the user switches back.
  Process other = Launch(BinPath("keyprobe.exe"));
  HWND otherForm = WaitForWindow(other, "Tessaric4569");
  ASSERT_NE(otherForm, nullptr);
  ASSERT_TRUE(BringToFront(otherForm));
  ASSERT_TRUE(WaitUntil([&] { return FocusedWindow(process_) == nullptr; }, 5000, &process_));
  // Under Wine the other program takes the X input focus only once it sees its
  // window on the display, which can come after the switch back; the X11 driver
  // then gives the foreground to the desktop. So the form is brought to the
  // front again whenever it is not there, until the focus is in the box.
  EXPECT_TRUE(WaitUntil([&] { return BringToFront(form_) && HoldsFocus(process_, box_); }, 5000, &process_));
}

TEST_F(Textview, ResizingMovesNothing) {
  ASSERT_NO_FATAL_FAILURE(Start(true));
  std::vector<RECT> before;
  std::vector<HWND> children = ChildWindows(form_);
  ASSERT_EQ(children.size(), 4u);
  for (HWND child : children) before.push_back(InForm(child));
  SetWindowPos(form_, nullptr, 0, 0, 700, 450, SWP_NOMOVE | SWP_NOZORDER);
  ASSERT_TRUE(WaitUntil([&] { return WindowRect(form_).right - WindowRect(form_).left == 700; }, 5000, &process_));
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(form_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
  for (size_t i = 0; i < children.size(); ++i) {
    RECT after = InForm(children[i]);
    EXPECT_EQ(after.left, before[i].left);
    EXPECT_EQ(after.top, before[i].top);
    EXPECT_EQ(after.right, before[i].right);
    EXPECT_EQ(after.bottom, before[i].bottom);
  }
}

}  // namespace
