// Rich-edit colours, selection and the line of the selection.
#include <string>

#include "gui_fixture.h"

namespace guitest {
namespace {

class RichEdit : public GuiTest {
 protected:
  HWND MakeRichEdit(const std::string& text) {
    MakeForm(0);
    HWND box = Construct(1, CreateRichEdit);
    SendMessageA(box, kRichEditSetupMessage, 0, kRichEditSetupValue);
    SetWindowTextA(box, text.c_str());
    return box;
  }
  static std::string Lines(int count, int length) {
    std::string text;
    for (int i = 0; i < count; ++i) text += std::string(length, static_cast<char>('a' + i)) + "\r\n";
    return text;
  }
};

TEST_F(RichEdit, BackColorReachesTheControlAndTheRecord) {
  HWND box = MakeRichEdit("text");
  CurrentObject = &R(1);
  SetRichBackColor(0xAA00FFFF);
  EXPECT_EQ(SendMessageA(box, EM_SETBKGNDCOLOR, 0, 0x123456), 0x0000FFFF) << "the previous colour";
  LOGBRUSH brush = {};
  GetObjectA(R(1).BackBrush, sizeof brush, &brush);
  EXPECT_EQ(brush.lbColor, 0x0000FFFFu);
}

TEST_F(RichEdit, TextColorColoursTheWholeTextAndLeavesItSelected) {
  HWND box = MakeRichEdit("hello\r\nworld");
  CurrentObject = &R(1);
  SetRichTextColor(0xFF);
  EXPECT_EQ(R(1).TextColor, 0xFFu);
  CHARRANGE selection = {-5, -5};
  SendMessageA(box, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
  EXPECT_EQ(selection.cpMin, 0);
  EXPECT_GE(selection.cpMax, 11);
  for (LONG at : {0L, 6L, 10L}) {
    CHARRANGE one = {at, at + 1};
    SendMessageA(box, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&one));
    CHARFORMATA format = {};
    format.cbSize = sizeof format;
    SendMessageA(box, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    EXPECT_EQ(format.crTextColor, 0xFFu) << "at " << at;
    EXPECT_EQ(format.dwEffects & CFE_AUTOCOLOR, 0u);
  }
}

// tintbox carries the latest library as it was before selection writes
// learned to scroll the caret.
TEST_F(RichEdit, SelectionWritesScrollTheCaretInEveryGenerationButTintboxs) {
  struct Case {
    const char* name;
    GuiGeneration generation;
    bool scrolls;
  };
  const Case cases[] = {{"latest", kLatestGeneration, true},
                        {"middle", kMiddleGeneration, true},
                        {"earliest", kEarliestGeneration, true},
                        {"tintbox", WithoutCaretScroll(kLatestGeneration), false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StartWith(&c.generation);
    HWND box = MakeRichEdit(Lines(10, 20));
    CHARRANGE selection = {};
    MessageSpy spy(box, {EM_EXSETSEL, EM_SCROLLCARET});
    CurrentObject = &R(1); selection.cpMin = 153; ApplySelection(&selection);
    CurrentObject = &R(1); selection.cpMax = 154; ApplySelection(&selection);
    const LPARAM range = reinterpret_cast<LPARAM>(&selection);
    const Seen scrolling[] = {{EM_EXSETSEL, 0, range}, {EM_SCROLLCARET, 0, 0},
                              {EM_EXSETSEL, 0, range}, {EM_SCROLLCARET, 0, 0}, {0, 0, 0}};
    const Seen still[] = {{EM_EXSETSEL, 0, range}, {EM_EXSETSEL, 0, range}, {0, 0, 0}};
    EXPECT_SEEN(spy, c.scrolls ? scrolling : still);
    CHARRANGE now = {};
    SendMessageA(box, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&now));
    EXPECT_EQ(now.cpMin, 153);
    EXPECT_EQ(now.cpMax, 154);
    TearDown();
  }
}

TEST_F(RichEdit, CurrentLineCountsTheLineBreaksBeforeTheSelectionStart) {
  struct Case {
    std::string text;
    int32_t line;
  };
  // Each line break is one character in the control: 21 characters a line.
  const Case cases[] = {{Lines(10, 20), 7}, {std::string(154, 'x') + "\r\nnext", 0}, {Lines(4, 50), 3}};
  for (const Case& c : cases) {
    SetUp();
    MakeRichEdit(c.text);
    CHARRANGE selection = {};
    CurrentObject = &R(1); selection.cpMin = 153; ApplySelection(&selection);
    CurrentObject = &R(1); selection.cpMax = 154; ApplySelection(&selection);
    selection = {-1, -1};
    QueryObject = &R(1);
    EXPECT_EQ(GetCurrentLine(&selection), c.line);
    EXPECT_EQ(selection.cpMin, 153) << "the selection is read back first";
    TearDown();
  }
}

}  // namespace
}  // namespace guitest
