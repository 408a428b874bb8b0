// squarefill: a black square outline filled with red at every paint.
#include "gui/drawing.h"

using namespace tessaric;

TESSARIC_PROGRAM("Tessaric1040", "squarefill");
TESSARIC_GUI(1, kMiddleGeneration);

namespace {

ObjectRecord Form = kObjectImage;

constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kRed = 0x0000FF;

int32_t PaintForm();

}  // namespace

int ProgramBody() {
  RegisterFormClass(&WindowClassInfo, AppIconName);
  CurrentObject = &Form; CreateForm();
  Form.OnPaint = PaintForm;
  CurrentObject = &Form; ShowObject();
  return RunMessageLoop();
}

namespace {

// A repaint that leaves (12, 12) outside its region redraws the outline only.
int32_t PaintForm() {
  DrawBox(&Form, 10, 10, 100, 100, kBlack);
  FloodFill(&Form, 12, 12, kRed, kBlack);
  return 0;
}

}  // namespace
