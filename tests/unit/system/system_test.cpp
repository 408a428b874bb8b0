// The clock as text and as seconds, the command line after the program's
// name, and environment variables.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "system/system.h"

using namespace tessaric;

namespace {

std::string Text(StringValue v) { return std::string(v.text, static_cast<size_t>(v.length)); }

TEST(Clock, DateAndTimeAsText) {
  struct Case {
    SYSTEMTIME time;  // year, month, weekday, day, hour, minute, second, milliseconds
    const char *date, *time_;
  };
  const Case cases[] = {
      {{2024, 1, 5, 5, 7, 8, 9, 999}, "2024-01-05", "07:08:09"},
      {{1999, 12, 5, 31, 23, 59, 59, 0}, "1999-12-31", "23:59:59"},
      {{987, 6, 0, 15, 0, 0, 0, 0}, "0987-06-15", "00:00:00"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Text(ClockTextOf(c.time, kClockDate)), c.date);
    EXPECT_EQ(Text(ClockTextOf(c.time, kClockTime)), c.time_);
  }
  StringValue today = ClockText(kClockDate);
  EXPECT_EQ(today.length, 10);
  EXPECT_EQ(today.text[10], 0);
}

TEST(Clock, SecondsSinceMidnightToTheMillisecond) {
  asm volatile("fninit");
  long double seconds = ClockSeconds();
  uint16_t status;
  asm volatile("fnstsw %0" : "=a"(status));
  // The inexact thousandths leave no flag behind.
  EXPECT_EQ(status & 0x3F, 0);
  EXPECT_GE(seconds, 0);
  EXPECT_LT(seconds, 86400);
  long double thousandths = seconds * 1000;
  EXPECT_LT(std::fabs(thousandths - std::nearbyint(thousandths)), 1e-6L);
}

TEST(CommandLine, TheArgumentsAfterTheProgramsName) {
  struct Case {
    const char *line, *arguments;
  };
  const Case cases[] = {
      {"\"C:\\a b\\prog.exe\" x \"y z\"", "x \"y z\""},
      {"prog.exe   a  b ", "a  b "},
      {"prog.exe", ""},
      {"\"prog.exe\"", ""},
      {"\"prog.exe\"a b", "a b"},
      {"prog.exe\tx", "x"},
      {"\"no closing quote", ""},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Text(CommandArgumentsOf(c.line)), c.arguments) << c.line;
}

TEST(Environment, AVariablesValueOrNothing) {
  std::string value;
  for (int i = 0; i < 300; ++i) value += static_cast<char>('a' + i % 26);
  SetEnvironmentVariableA("TESSARIC_UNIT_LONG", value.c_str());
  SetEnvironmentVariableA("TESSARIC_UNIT_SHORT", "x=1");
  SetEnvironmentVariableA("TESSARIC_UNIT_EMPTY", "");
  SetEnvironmentVariableA("TESSARIC_UNIT_NONE", nullptr);
  EXPECT_EQ(Text(EnvironmentText("TESSARIC_UNIT_LONG")), value);
  EXPECT_EQ(Text(EnvironmentText("TESSARIC_UNIT_SHORT")), "x=1");
  EXPECT_EQ(Text(EnvironmentText("TESSARIC_UNIT_EMPTY")), "");
  EXPECT_EQ(Text(EnvironmentText("TESSARIC_UNIT_NONE")), "");
  EXPECT_EQ(Text(EnvironmentText("")), "");
  StringValue v = EnvironmentText("TESSARIC_UNIT_SHORT");
  EXPECT_EQ(v.text[v.length], 0);
}

}  // namespace
