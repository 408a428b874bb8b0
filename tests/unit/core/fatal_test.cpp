// The fatal path, run on a thread of its own with the box and the exit stood in for.
#include <gtest/gtest.h>

#include "../fatal_catcher.h"
#include "core/program.h"

using namespace tessaric;

namespace {

TEST(FatalError, EveryIndexGetsADefinedTextAndAFailingExitCode) {
  struct Case {
    uint32_t index;
    const char* text;
    UINT exitCode;
  };
  // An index beyond the table is an index error itself: the last entry's text and code.
  const Case cases[] = {
      {0, "Library Not Found  ", 1}, {1, "Function Not Found ", 2}, {2, "Insufficient memory", 3},
      {3, "Array index error  ", 4}, {4, "Array index error  ", 4}, {5, "Array index error  ", 4},
      {0x10000000, "Array index error  ", 4}, {0x7FFFFFFF, "Array index error  ", 4},
      {0xFFFFFFFF, "Array index error  ", 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    unittest::FatalOutcome outcome = unittest::RunToFatal([&] { FatalError(c.index); });
    EXPECT_EQ(outcome.fault, 0u);
    EXPECT_TRUE(outcome.boxShown);
    EXPECT_EQ(outcome.text, c.text);
    EXPECT_EQ(outcome.caption, "unittest");
    EXPECT_TRUE(outcome.exited);
    EXPECT_EQ(outcome.exitCode, c.exitCode);
  }
}

}  // namespace
