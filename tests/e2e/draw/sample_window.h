// What the drawing samples' tests share: a running sample with its form, the
// form's repaints, the colours it is checked against, and the console that a
// GUI program opens for itself.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "driver.h"

namespace drawtest {

// The form class's background (COLOR_BTNFACE + 1), as this session shows it.
COLORREF FormBackground();

constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kRed = 0x0000FF;
constexpr COLORREF kGreen = 0x00FF00;
constexpr COLORREF kCyan = 0xFFFF00;

class SampleWindow {
 public:
  // Starts the sample and waits for its form (class signature) to be shown.
  SampleWindow(const char* program, const char* signature, const driver::LaunchOptions& options = {});
  ~SampleWindow();

  // Asks for a repaint of rect (null: the whole client area) with the
  // background erased, and waits until the program has painted.
  void Repaint(const RECT* rect = nullptr);
  // Waits until the handlers that ran for what the program already received are done.
  void Settle();
  driver::Pixels Read(const RECT& rect) const { return driver::ClientPixels(form, rect); }
  DWORD Close();

  driver::Process process;
  HWND form = nullptr;
};

// What a pixel at (x, y) should be.
using Expected = std::function<COLORREF(int x, int y)>;
// The first pixel of the block that differs from what expected says, as text;
// empty when all match.
std::string FirstMismatch(const driver::Pixels& block, const Expected& expected);
// The display shows a paint a moment after the program made it: reads rect
// until it matches (or a few seconds pass) and returns the last reading.
driver::Pixels WaitForPixels(HWND window, const RECT& rect, const Expected& expected);
#define EXPECT_PIXELS(block, expected) EXPECT_EQ(::drawtest::FirstMismatch((block), (expected)), "")

// The lines of the console that process opened for itself, up to its cursor,
// without trailing blanks. A process has one console at most, so the driver
// gives up its own to read (and takes none back): a test program that calls
// this must not use the driver's console.
std::vector<std::string> ConsoleLinesOf(const driver::Process& process);

}  // namespace drawtest
