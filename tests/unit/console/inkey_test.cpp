// INKEY$ from the sources that are not a console: a pipe gives a byte only
// when one waits, a file its next byte; and what each key record gives. (At a
// real console, tests/e2e/console types the keys.)
#include <gtest/gtest.h>

#include <string>

#include "console/console.h"

using namespace tessaric;

namespace {

std::string Text(StringValue v) { return std::string(v.text, static_cast<size_t>(v.length)); }

class Inkey : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = StdInputHandle; }
  void TearDown() override {
    StdInputHandle = saved_;
    for (HANDLE h : {read_, write_})
      if (h != nullptr) CloseHandle(h);
  }
  void Pipe() {
    ASSERT_TRUE(CreatePipe(&read_, &write_, nullptr, 0));
    StdInputHandle = read_;
  }
  void Put(const std::string& bytes) {
    DWORD written;
    WriteFile(write_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  }
  HANDLE saved_ = nullptr, read_ = nullptr, write_ = nullptr;
};

TEST_F(Inkey, APipeGivesAByteOnlyWhenOneIsWaiting) {
  Pipe();
  // Nothing written: "" at once, where a read would wait for ever.
  EXPECT_EQ(Text(ConsoleInkey()), "");
  Put("ab");
  EXPECT_EQ(Text(ConsoleInkey()), "a");
  EXPECT_EQ(Text(ConsoleInkey()), "b");
  EXPECT_EQ(Text(ConsoleInkey()), "");
  Put("\r");
  EXPECT_EQ(Text(ConsoleInkey()), "\r");
  // The writer gone: the end of the input, "" every time.
  CloseHandle(write_);
  write_ = nullptr;
  EXPECT_EQ(Text(ConsoleInkey()), "");
  EXPECT_EQ(Text(ConsoleInkey()), "");
}

TEST_F(Inkey, AFileGivesItsNextByteThenNothing) {
  char folder[MAX_PATH], name[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  GetTempFileNameA(folder, "ink", 0, name);
  HANDLE file = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written;
  WriteFile(file, "x\0y", 3, &written, nullptr);
  SetFilePointer(file, 0, nullptr, FILE_BEGIN);
  StdInputHandle = file;
  EXPECT_EQ(Text(ConsoleInkey()), "x");
  EXPECT_EQ(Text(ConsoleInkey()), std::string(1, '\0'));
  EXPECT_EQ(Text(ConsoleInkey()), "y");
  EXPECT_EQ(Text(ConsoleInkey()), "");
  CloseHandle(file);
}

TEST(KeyRecords, WhatEachKeyGivesInkey) {
  struct Case {
    const char* what;
    BOOL down;
    WORD virtualKey;
    char character;
    const char* expected;
    int32_t length;
  };
  const Case cases[] = {
      {"a pressed", TRUE, 'A', 'a', "a", 1},
      {"a released", FALSE, 'A', 'a', "", 0},
      {"Enter", TRUE, VK_RETURN, '\r', "\r", 1},
      {"Esc", TRUE, VK_ESCAPE, 27, "\x1b", 1},
      {"Ctrl+C", TRUE, 'C', 3, "\x03", 1},
      {"up arrow", TRUE, VK_UP, 0, "\0\x26", 2},
      {"F1", TRUE, VK_F1, 0, "\0\x70", 2},
      {"Delete", TRUE, VK_DELETE, 0, "\0\x2e", 2},
      {"up arrow released", FALSE, VK_UP, 0, "", 0},
      {"Shift", TRUE, VK_SHIFT, 0, "", 0},
      {"Ctrl", TRUE, VK_CONTROL, 0, "", 0},
      {"Alt", TRUE, VK_MENU, 0, "", 0},
      {"Caps Lock", TRUE, VK_CAPITAL, 0, "", 0},
      {"Windows", TRUE, VK_LWIN, 0, "", 0},
  };
  for (const Case& c : cases) {
    KEY_EVENT_RECORD key = {};
    key.bKeyDown = c.down;
    key.wRepeatCount = 1;
    key.wVirtualKeyCode = c.virtualKey;
    key.uChar.AsciiChar = c.character;
    char text[2] = {'?', '?'};
    int32_t length = KeyText(key, text);
    ASSERT_EQ(length, c.length) << c.what;
    EXPECT_EQ(std::string(text, static_cast<size_t>(length)), std::string(c.expected, static_cast<size_t>(c.length)))
        << c.what;
  }
}

}  // namespace
