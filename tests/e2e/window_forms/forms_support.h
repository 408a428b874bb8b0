// What the tests of the newer window forms share: their fixture programs
// report what they read in labels, which the tests find by the controls'
// identifiers (their objects' indices, in declaration order).
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "driver.h"

namespace formstest {

using namespace driver;

// The program's top-level window with that caption, shown or not.
inline HWND FormWithCaption(const Process& process, const std::string& caption) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND window : TopLevelWindows(process.id, nullptr, false))
          if (ClassName(window) != "#32770" && WindowText(window) == caption) found = window;
        return found != nullptr;
      },
      15000, &process);
  return found;
}

// Starts a fixture and waits until its main form shows.
inline HWND StartShown(const Process& process, const std::string& caption) {
  HWND form = FormWithCaption(process, caption);
  if (form != nullptr) WaitUntil([&] { return IsWindowVisible(form) != FALSE; }, 15000, &process);
  return form;
}

inline HWND Control(HWND form, int index) { return GetDlgItem(form, index); }

// Whether the window's text becomes expected before the wait ends; the last
// text seen goes to *seen.
inline bool TextBecomes(const Process& process, HWND window, const std::string& expected, std::string* seen = nullptr) {
  std::string last;
  bool held = WaitUntil(
      [&] {
        last = WindowText(window);
        return last == expected;
      },
      15000, &process);
  if (seen != nullptr) *seen = last;
  return held;
}

#define EXPECT_TEXT(process, window, expected)                                        \
  do {                                                                                \
    std::string seen_;                                                                \
    EXPECT_TRUE(::formstest::TextBecomes((process), (window), (expected), &seen_)) \
        << "expected \"" << (expected) << "\", the window shows \"" << seen_ << "\""; \
  } while (0)

// A click on a control of a form brought to the front.
inline void ClickControl(HWND form, HWND control) {
  BringToFront(form);
  Click(ScreenCentre(control));
}

// The top-level dialog or message box of the process, once one shows.
inline HWND WaitForDialog(const Process& process, const std::string& caption) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND window : TopLevelWindows(process.id, "#32770"))
          if (WindowText(window) == caption) found = window;
        return found != nullptr;
      },
      15000, &process);
  return found;
}

}  // namespace formstest
