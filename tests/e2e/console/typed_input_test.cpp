// LINE INPUT and INPUT (of one variable and of several) at a real console,
// typed as a person types.
#include <gtest/gtest.h>

#include "driver.h"

using namespace driver;

namespace {

TEST(TypedInput, LineInputAndInputReadWhatIsTyped) {
  FlushInput();
  LaunchOptions options;
  options.consoleInput = true;
  options.outputFile = FreshDir("typed-input") + "\\output.txt";
  Process process = Launch(FixturePath("typed_input.exe"), options);
  ASSERT_NE(process.handle, nullptr);
  auto shows = [&](const char* text) {
    return WaitUntil([&] { return ReadFileBytes(options.outputFile).find(text) != std::string::npos; }, 15000, &process);
  };
  ASSERT_TRUE(shows("Name? "));
  TypeText("Ada Lovelace\r");
  ASSERT_TRUE(shows("Number? "));
  TypeText("21\r");
  ASSERT_TRUE(shows("Word and number? "));
  TypeText(" tea , 7.5\r");
  ASSERT_TRUE(shows("Press a key to continue..."));
  PressKey();
  EXPECT_EQ(process.WaitExit(), 0u);
  EXPECT_EQ(ReadFileBytes(options.outputFile),
            "Name? Number? Word and number? Hello, Ada Lovelace! Twice 21 is 42; tea and 8\r\n"
            "Press a key to continue...\r\n");
}

}  // namespace
