// What a window program carries for the newer forms it uses: the newer window
// procedure (for OnChange and a form's colour), canvases for drawing on its
// forms (for the newer drawing methods, and for drawing on a form anywhere
// but in a routine that only that form's OnPaint runs, which draws on no
// bitmap and runs no other code), and the hook of OPTION TABSTOPS. The
// fifteen programs use none of them, so they compile as they always have.
#include <gtest/gtest.h>

#include "check.h"
#include "lexer.h"
#include "parser.h"
#include "support.h"

namespace {

using namespace tbc;

struct Checked {
  Program program;
  size_t errors = 0;
};

Checked CheckProgram(const std::string& source) {
  std::vector<SourceFile> files;
  files.emplace_back("m0.bas", source);
  Diagnostics diagnostics(files);
  std::vector<Module> modules;
  modules.push_back(Parse(Lex(files[0], 0, diagnostics), 0, diagnostics));
  Checked checked;
  Check(modules, files, checked.program, diagnostics);
  checked.errors = diagnostics.reported().size();
  return checked;
}

struct Decision {
  const char* name;
  const char* source;
  bool windowProc;
  bool canvas;
};

void PrintTo(const Decision& d, std::ostream* out) { *out << d.name; }

// Every program shows its form; the handlers are SUBs of the program.
const Decision kDecisions[] = {
    {"paint_handler_drawing_on_its_form",
     "DIM w AS FORM\nw.OnPaint = P\nw.Show\nSUB P\n  w.DrawCircle 1, 2, 3, 4\n  w.FloodFill 1, 2, 3, 4\nEND SUB", false,
     false},
    {"paint_handler_measuring_and_printing",
     "OPEN CONSOLE\nDIM w AS FORM\nDIM n AS INTEGER\nw.OnPaint = P\nw.Show\n"
     "SUB P\n  w.FillCircle 1, 2, 3, 4\n  n = w.TextWidth(\"a\")\n  PRINT n\nEND SUB",
     false, false},
    {"paint_handlers_of_two_forms_each_on_its_own",
     "DIM w AS FORM\nDIM v AS FORM\nw.OnPaint = P\nv.OnPaint = Q\nw.Show\n"
     "SUB P\n  w.DrawBox 1, 2, 3, 4, 5\nEND SUB\nSUB Q\n  v.DrawBox 1, 2, 3, 4, 5\nEND SUB",
     false, false},
    {"bitmap_drawn_in_the_main_code_copied_in_the_paint",
     "DIM b AS BITMAP(8, 8, 16)\nb.DrawCircle 4, 4, 3, 0\nDIM w AS FORM\nw.OnPaint = P\nw.Show\n"
     "SUB P\n  w.CopyBitmap 0, 0, b\nEND SUB",
     false, false},
    {"drawing_in_the_main_code", "DIM w AS FORM\nw.Show\nw.DrawCircle 1, 2, 3, 4", true, true},
    {"drawing_in_a_click", "DIM w AS FORM\nDIM b AS BUTTON\nb.OnCommand = C\nw.Show\nSUB C\n  w.DrawBox 1, 2, 3, 4, 5\nEND SUB",
     true, true},
    {"paint_handler_also_called",
     "DIM w AS FORM\nw.OnPaint = P\nw.Show\nP\nSUB P\n  w.DrawCircle 1, 2, 3, 4\nEND SUB", true, true},
    {"paint_handler_in_another_slot_too",
     "DIM w AS FORM\nw.OnPaint = P\nw.OnShow = P\nw.Show\nSUB P\n  w.DrawCircle 1, 2, 3, 4\nEND SUB", true, true},
    {"paint_handler_of_a_control",
     "DIM w AS FORM\nDIM b AS BUTTON\nb.OnPaint = P\nw.Show\nSUB P\n  w.DrawCircle 1, 2, 3, 4\nEND SUB", true, true},
    {"paint_handler_drawing_on_another_form",
     "DIM w AS FORM\nDIM v AS FORM\nw.OnPaint = P\nw.Show\nSUB P\n  v.DrawCircle 1, 2, 3, 4\nEND SUB", true, true},
    {"paint_handler_drawing_on_a_bitmap_too",
     "DIM b AS BITMAP(8, 8, 16)\nDIM w AS FORM\nw.OnPaint = P\nw.Show\n"
     "SUB P\n  b.DrawCircle 4, 4, 3, 0\n  w.CopyBitmap 0, 0, b\nEND SUB",
     true, true},
    {"paint_handler_that_shows_a_box",
     "DIM w AS FORM\nw.OnPaint = P\nw.Show\nSUB P\n  MSGBOX \"x\"\n  w.DrawCircle 1, 2, 3, 4\nEND SUB", true, true},
    {"paint_handler_that_calls_a_routine",
     "DIM w AS FORM\nw.OnPaint = P\nw.Show\nSUB P\n  Q\n  w.DrawCircle 1, 2, 3, 4\nEND SUB\nSUB Q\nEND SUB", true,
     true},
    {"paint_handler_that_sets_a_property",
     "DIM w AS FORM\nw.OnPaint = P\nw.Show\nSUB P\n  w.Caption = \"x\"\n  w.DrawCircle 1, 2, 3, 4\nEND SUB", true,
     true},
    {"paint_handler_in_a_program_with_a_floating_point_handler",
     "ON FLOAT ERROR CALL F\nDIM w AS FORM\nw.OnPaint = P\nw.Show\nSUB P\n  w.DrawCircle 1, 2, 3, 4\nEND SUB\nSUB F\nEND SUB",
     true, true},
    {"newer_drawing_method", "DIM w AS FORM\nw.OnPaint = P\nw.Show\nSUB P\n  w.DrawLine 1, 2, 3, 4, 5\nEND SUB", true,
     true},
    {"measuring_a_control", "DIM w AS FORM\nDIM l AS LABEL\nw.Show\nPRINT l.TextWidth(\"a\")", true, true},
    {"on_change", "DIM w AS FORM\nDIM l AS LISTBOX\nl.OnChange = C\nw.Show\nSUB C\nEND SUB", true, false},
    {"form_colour", "DIM w AS FORM\nw.BackColor = 255\nw.Show", true, false},
    {"lists_timers_menus_and_state",
     "DIM w AS FORM\nDIM m AS MENU\nDIM i AS MENUITEM\nDIM l AS LISTBOX\nDIM k AS CHECKBOX\nDIM t AS TIMER\n"
     "i.OnCommand = C\nt.OnTimer = C\nt.Interval = 100\nt.Enabled = 1\nk.Checked = 1\nl.Enabled = 0\n"
     "w.Caption = l.Text + l.Item(0) + STR$(l.ItemIndex)\nw.FontSize = 12\nw.ShowModal\nSUB C\nEND SUB",
     false, false},
};

class NeedsOfAProgram : public testing::TestWithParam<Decision> {};

TEST_P(NeedsOfAProgram, FollowFromWhatItUses) {
  const Decision& d = GetParam();
  Checked checked = CheckProgram(d.source);
  ASSERT_EQ(checked.errors, 0u) << d.source;
  EXPECT_EQ((checked.program.needs & kNeedsWindowProc) != 0, d.windowProc) << d.source;
  EXPECT_EQ((checked.program.needs & kNeedsCanvas) == kNeedsCanvas, d.canvas) << d.source;
  EXPECT_FALSE(checked.program.tabStops);
}

INSTANTIATE_TEST_SUITE_P(Table, NeedsOfAProgram, testing::ValuesIn(kDecisions),
                         [](const testing::TestParamInfo<Decision>& info) { return std::string(info.param.name); });

TEST(NeedsOfAProgram, TabStopsOnlyWhenAsked) {
  Checked asked = CheckProgram("OPTION TABSTOPS\nDIM w AS FORM\nw.Show");
  ASSERT_EQ(asked.errors, 0u);
  EXPECT_TRUE(asked.program.tabStops);
  EXPECT_EQ(asked.program.needs, 0u);
}

// The window programs of the fifteen, as the build compiles them.
TEST(NeedsOfAProgram, TheFifteenNeedNoneOfIt) {
  for (const char* name : {"tintbox", "linefind", "circlet", "keyprobe", "textview", "bitcopy", "picshow", "squarefill"}) {
    std::string source = compilertest::ReadFile(compilertest::SourceRoot() + "/samples/" + name + "/" + name + ".bas");
    ASSERT_FALSE(source.empty()) << name;
    Checked checked = CheckProgram(source);
    ASSERT_EQ(checked.errors, 0u) << name;
    EXPECT_EQ(checked.program.needs, 0u) << name;
    EXPECT_FALSE(checked.program.tabStops) << name;
  }
}

}  // namespace
