// Shared set-up of the drawing tests: bitmaps that start as a program's static
// records do, read back pixel by pixel, and a fresh drawing state per test.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <functional>

#include "gui/drawing.h"

namespace drawtest {

using namespace tessaric;

constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kRed = 0x0000FF;
constexpr COLORREF kGreen = 0x00FF00;
constexpr COLORREF kCyan = 0xFFFF00;

// 32 bits per pixel, so that every colour reads back exactly.
using Canvas = BitmapObject;
inline Canvas NewCanvas() { return BitmapImage<128, 128, 32>(); }

class DrawTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CurrentObject = QueryObject = nullptr;
    PaintDC = nullptr;
  }
  void TearDown() override { PaintDC = nullptr; }

  // A created canvas, painted all over in colour by the test itself.
  static void Prepare(Canvas* canvas, COLORREF colour) {
    CreateBitmapObject(canvas);
    ASSERT_NE(canvas->MemoryDC, nullptr);
    HBRUSH brush = ::CreateSolidBrush(colour);
    RECT all = {0, 0, canvas->Header.biWidth, canvas->Header.biHeight};
    ::FillRect(canvas->MemoryDC, &all, brush);
    ::DeleteObject(brush);
  }

  static COLORREF Pixel(const Canvas& canvas, int x, int y) { return ::GetPixel(canvas.MemoryDC, x, y); }

  // Where colour first and last shows along the row and the column through
  // (x, y): {left, top, right, bottom}, inclusive; -1 where it does not show.
  using Span = std::array<int, 4>;
  static Span SpanOf(const Canvas& canvas, COLORREF colour, int x, int y) {
    Span span = {-1, -1, -1, -1};
    auto extend = [&](int i, int first, int last) {
      if (span[first] < 0) span[first] = i;
      span[last] = i;
    };
    for (int i = 0; i < canvas.Header.biWidth; ++i)
      if (Pixel(canvas, i, y) == colour) extend(i, 0, 2);
    for (int i = 0; i < canvas.Header.biHeight; ++i)
      if (Pixel(canvas, x, i) == colour) extend(i, 1, 3);
    return span;
  }

  // Every pixel of the canvas against what expected says it should be; stops
  // after a few mismatches, each reported with its place.
  static void ExpectPixels(const Canvas& canvas, const std::function<COLORREF(int, int)>& expected) {
    int mismatches = 0;
    for (int y = 0; y < canvas.Header.biHeight && mismatches < 5; ++y)
      for (int x = 0; x < canvas.Header.biWidth && mismatches < 5; ++x) {
        COLORREF want = expected(x, y), seen = Pixel(canvas, x, y);
        if (want == seen) continue;
        ++mismatches;
        ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex << seen << ", expected " << want;
      }
  }
};

}  // namespace drawtest
