// linefind observed from outside: the line number in its system-modal box,
// shown before the form, then the form with the selected character.
#include <gtest/gtest.h>

#include "driver.h"

using namespace driver;

namespace {

std::string Lines(int count, int length) {
  std::string text;
  for (int i = 0; i < count; ++i) text += std::string(length, static_cast<char>('a' + i)) + "\r\n";
  return text;
}

struct Started {
  Process process;
  MessageBoxInfo box;
};

Started Start(const std::string& folder, const std::string& source) {
  std::string dir = FreshDir(folder);
  WriteFileBytes(dir + "\\linefind.bas", source);
  LaunchOptions options;
  options.workingDirectory = dir;
  Started run;
  run.process = Launch(BinPath("linefind.exe"), options);
  run.box = WaitForMessageBox(run.process);
  return run;
}

TEST(Linefind, TenLinesOfTwentyPutPosition153OnLine7AndTheFormFollowsTheBox) {
  Started run = Start("ten-lines", Lines(10, 20));
  ASSERT_NE(run.box.window, nullptr);
  EXPECT_EQ(run.box.text, "7");
  EXPECT_EQ(run.box.caption, "linefind");
  EXPECT_NE(run.box.exStyle & WS_EX_TOPMOST, 0) << "system-modal";
  EXPECT_EQ(GetWindow(run.box.window, GW_OWNER), nullptr);
  EXPECT_TRUE(TopLevelWindows(run.process.id, "Tessaric1622").empty()) << "the form waits for the box";
  CloseMessageBox(run.box.window);
  HWND form = WaitForWindow(run.process, "Tessaric1622");
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(WindowText(form), "linefind");
  RECT rect = WindowRect(form);
  EXPECT_EQ(rect.right - rect.left, 336);
  EXPECT_EQ(rect.bottom - rect.top, 320);
  HWND rich = GetDlgItem(form, 1);
  ASSERT_NE(rich, nullptr);
  EXPECT_EQ(_stricmp(ClassName(rich).c_str(), "RichEdit20A"), 0);
  // One character selected at 153.
  EXPECT_EQ(SendMessageA(rich, EM_GETSEL, 0, 0), MAKELRESULT(153, 154));
  EXPECT_EQ(SendMessageA(rich, EM_LINEFROMCHAR, 153, 0), 7);
  EXPECT_EQ(CloseAndWait(run.process, form), 0u);
}

// The line a rich edit gives a position: it keeps one character for each line
// break, whether the file ends its lines with CR LF or LF alone.
int LineOfPosition(const std::string& text, int position) {
  int line = 0;
  for (size_t i = 0; i < text.size() && position > 0; ++i, --position) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    if (text[i] == '\r' || text[i] == '\n') ++line;
  }
  return line;
}

TEST(Linefind, ItsOwnSourceGivesTheLineOfPosition153InThatText) {
  std::string source = ReadFileBytes(SourcePath("samples/linefind/linefind.bas"));
  ASSERT_GT(source.size(), 154u);
  Started run = Start("own-source", source);
  ASSERT_NE(run.box.window, nullptr);
  EXPECT_EQ(run.box.text, std::to_string(LineOfPosition(source, 153)));
  CloseMessageBox(run.box.window);
  HWND form = WaitForWindow(run.process, "Tessaric1622");
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(CloseAndWait(run.process, form), 0u);
}

TEST(Linefind, AFirstLineOf154CharactersOrMoreGives0) {
  for (int length : {154, 300}) {
    SCOPED_TRACE(length);
    Started run = Start("long-line", std::string(length, 'x') + "\r\nsecond line\r\n");
    ASSERT_NE(run.box.window, nullptr);
    EXPECT_EQ(run.box.text, "0");
    CloseMessageBox(run.box.window);
    HWND form = WaitForWindow(run.process, "Tessaric1622");
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(CloseAndWait(run.process, form), 0u);
  }
}

}  // namespace
