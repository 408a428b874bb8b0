// The newer procedure's paint, a form's colour, and the canvases drawing on
// forms go through: the paint's DC inside that form's OnPaint, a DC of the
// window at any other time.
#include "forms_fixture.h"

namespace formsunit {
namespace {

using Canvases = FormsTest;

// What a canvas of the record hands to a drawing operation.
HDC CanvasDC(ObjectRecord* record) {
  WindowCanvas canvas(record);
  DrawTarget target = canvas;
  return target.bitmap->MemoryDC;
}

HDC SeenInside = nullptr;
HDC OtherSeenInside = nullptr;

TEST_F(Canvases, OnPaintRunsWithItsPaintKnown) {
  HWND form = Construct(0, CreateForm);
  R(0).OnPaint = OnPaintLogged;
  ShowWindow(form, SW_SHOW);
  UpdateWindow(form);
  ASSERT_EQ(Calls.size(), 1u);
  EXPECT_EQ(Calls[0].paintingWindow, form);
  EXPECT_NE(Calls[0].paintDC, nullptr);
  EXPECT_EQ(Calls[0].window, form);
  EXPECT_EQ(Calls[0].message, static_cast<UINT>(WM_PAINT));
  EXPECT_EQ(PaintingWindow, nullptr);
  EXPECT_EQ(PaintingDC, nullptr);
  EXPECT_EQ(PaintDC, nullptr);
}

// Inside the form's OnPaint its canvas is the paint; another form's is a DC
// of that form's window.
TEST_F(Canvases, InsideOnPaintTheFormsCanvasIsThePaint) {
  HWND form = Construct(0, CreateForm);
  Construct(1, CreateForm);
  R(0).OnPaint = OnPaintLogged;
  During = [] {
    SeenInside = CanvasDC(&Records[0]);
    OtherSeenInside = CanvasDC(&Records[1]);
  };
  SeenInside = OtherSeenInside = nullptr;
  ShowWindow(form, SW_SHOW);
  UpdateWindow(form);
  ASSERT_EQ(Calls.size(), 1u);
  EXPECT_EQ(SeenInside, Calls[0].paintDC);
  EXPECT_NE(OtherSeenInside, nullptr);
  EXPECT_NE(OtherSeenInside, Calls[0].paintDC);
}

// Outside every paint a canvas takes a DC of the window for the one
// operation, and PaintDC gets back its value afterwards.
TEST_F(Canvases, OutsideOnPaintACanvasTakesADCOfItsOwn) {
  HWND form = Construct(0, CreateForm);
  ShowWindow(form, SW_SHOW);
  HDC marker = reinterpret_cast<HDC>(0x1234);
  PaintDC = marker;
  {
    WindowCanvas canvas(&R(0));
    DrawTarget target = canvas;
    EXPECT_EQ(target.record, &R(0));
    ASSERT_NE(target.bitmap->MemoryDC, nullptr);
    EXPECT_EQ(WindowFromDC(target.bitmap->MemoryDC), form);
    DrawBox(target, 1, 1, 5, 5, 0);
    EXPECT_EQ(PaintDC, target.bitmap->MemoryDC);
  }
  EXPECT_EQ(PaintDC, marker);
  PaintDC = nullptr;
}

// A form writes in the system font until it has one of its own; a control in its own.
TEST_F(Canvases, TheCanvasSelectsTheObjectsFont) {
  HWND form = Construct(0, CreateForm);
  Construct(1, CreateLabel);
  ShowWindow(form, SW_SHOW);
  EXPECT_EQ(FontOf(&R(0)), GetStockObject(SYSTEM_FONT));
  EXPECT_EQ(FontOf(&R(1)), R(1).Font);
  WindowCanvas canvas(&R(1));
  DrawTarget target = canvas;
  EXPECT_EQ(GetCurrentObject(target.bitmap->MemoryDC, OBJ_FONT), R(1).Font);
}

// A form's colour fills its inside when the system erases it.
TEST_F(Canvases, AFormsBackColorFillsItsInside) {
  HWND form = Construct(0, CreateForm);
  CurrentObject = &R(0);
  SetFormBackColor(0x00FF00);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP picture = CreateCompatibleBitmap(screen, 16, 16);
  HGDIOBJ old = SelectObject(memory, picture);
  EXPECT_EQ(SendMessageA(form, WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), 0), 1);
  EXPECT_EQ(GetPixel(memory, 3, 3), 0x00FF00u);
  SelectObject(memory, old);
  DeleteObject(picture);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

// A label without a colour of its own stands on its form's; an edit keeps
// the system's, and a label with its own colour keeps that.
TEST_F(Canvases, ControlsWithoutAColourTakeTheirFormsButEdits) {
  HWND form = Construct(0, CreateForm);
  HWND label = Construct(1, CreateLabel);
  HWND edit = Construct(2, CreateEdit);
  HWND own = Construct(3, CreateLabel);
  CurrentObject = &R(0);
  SetFormBackColor(0x00FFFF);
  CurrentObject = &R(3);
  SetBackColor(0xFF0000);
  HDC dc = GetDC(label);
  auto brush = [&](UINT message, HWND control) {
    return reinterpret_cast<HBRUSH>(SendMessageA(form, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
  };
  EXPECT_EQ(brush(WM_CTLCOLORSTATIC, label), R(0).BackBrush);
  EXPECT_EQ(GetBkColor(dc), 0x00FFFFu);
  EXPECT_NE(brush(WM_CTLCOLORSTATIC, edit), R(0).BackBrush);
  EXPECT_EQ(brush(WM_CTLCOLORSTATIC, own), R(3).BackBrush);
  ReleaseDC(label, dc);
}

}  // namespace
}  // namespace formsunit
