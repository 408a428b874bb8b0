// bitcopy: a picture drawn once into an off-screen bitmap before any window
// exists, and copied to the form at every paint.
#include "gui/drawing.h"

using namespace tessaric;

TESSARIC_PROGRAM("Tessaric1608", "bitcopy");
TESSARIC_GUI(1, kMiddleGeneration);

namespace {

BitmapObject Picture = BitmapImage<64, 64, 16>();
ObjectRecord Form = kObjectImage;

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kGreen = 0x00FF00;

int32_t PaintForm();

}  // namespace

int ProgramBody() {
  RegisterFormClass(&WindowClassInfo, AppIconName);
  CreateBitmapObject(&Picture);
  DrawCircle(&Picture, 32, 32, 30, kWhite);
  FloodFill(&Picture, 32, 32, kGreen, kWhite);
  CurrentObject = &Form; CreateForm();
  Form.OnPaint = PaintForm;
  CurrentObject = &Form; ShowObject();
  return RunMessageLoop();
}

namespace {

int32_t PaintForm() {
  CopyBitmap(&Form, 10, 10, &Picture);
  return 0;
}

}  // namespace
