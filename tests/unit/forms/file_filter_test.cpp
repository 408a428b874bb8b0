// The filter text of OPENFILE$ and SAVEFILE$ as the dialogs take it, and the
// extension a saved name gets.
#include "forms_fixture.h"

namespace formsunit {
namespace {

struct FilterCase {
  const char* text;
  std::string list;  // the bytes written, the last NULs included
  const char* extension;
};

const FilterCase kFilters[] = {
    {"", "", ""},
    {"*.txt", std::string("*.txt\0*.txt\0\0", 13), "txt"},
    {"Text files|*.txt", std::string("Text files\0*.txt\0\0", 18), "txt"},
    {"Text files|*.txt|All files|*.*", std::string("Text files\0*.txt\0All files\0*.*\0\0", 32), "txt"},
    // A name without its pattern at the end is its own pattern.
    {"Text files|*.txt|*.log", std::string("Text files\0*.txt\0*.log\0*.log\0\0", 30), "txt"},
    {"Pictures|*.bmp;*.ico", std::string("Pictures\0*.bmp;*.ico\0\0", 22), "bmp"},
    {"All|*.*", std::string("All\0*.*\0\0", 9), ""},
    {"Any|data.*", std::string("Any\0data.*\0\0", 12), ""},
    {"Odd|*.t?t", std::string("Odd\0*.t?t\0\0", 11), ""},
};

class FileFilters : public testing::TestWithParam<FilterCase> {};

TEST_P(FileFilters, BecomeTheDialogsList) {
  const FilterCase& c = GetParam();
  char out[64];
  MemFill(out, sizeof out, 0x5A);
  uint32_t written = FileDialogFilter(c.text, out, sizeof out);
  EXPECT_EQ(std::string(out, written), c.list);
  if (written < sizeof out) EXPECT_EQ(out[written], 0x5A) << "written past the count";
  StringValue extension = DefaultExtension(c.text);
  EXPECT_EQ(std::string(extension.text, extension.length), c.extension);
}

INSTANTIATE_TEST_SUITE_P(Table, FileFilters, testing::ValuesIn(kFilters));

// Cut short at the room there is (eight bytes of text), the list still ends:
// the text's NUL, then the list's.
TEST(FileFilter, ALongTextIsCutShortAndStillEnds) {
  char out[10];
  MemFill(out, sizeof out, 0x5A);
  uint32_t written = FileDialogFilter("Text files|*.txt", out, sizeof out);
  EXPECT_EQ(written, 10u);
  EXPECT_EQ(std::string(out, written), std::string("Text fil\0\0", 10));
}

}  // namespace
}  // namespace formsunit
