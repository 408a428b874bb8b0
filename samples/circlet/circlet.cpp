// circlet: a circle drawn on the form at every paint, and the measured extent
// of a text printed to a console that the program opens for itself.
#include "console/console.h"
#include "core/numbers.h"
#include "gui/drawing.h"

using namespace tessaric;

TESSARIC_PROGRAM("Tessaric2366", "circlet");
TESSARIC_GUI(1, kLatestGeneration);

namespace {

ObjectRecord Form = kObjectImage;
int32_t Value = 0;

constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kCyan = 0xFFFF00;

int32_t PaintForm();

}  // namespace

int ProgramBody() {
  RegisterFormClass(&WindowClassInfo, AppIconName);
  ConsoleOpen();
  CurrentObject = &Form; CreateForm();
  Form.OnPaint = PaintForm;
  CurrentObject = &Form; ShowObject();
  return RunMessageLoop();
}

namespace {

// Measured in the DC that BeginPaint hands out, in the font it has by default.
int32_t PaintForm() {
  DrawCircle(&Form, 32, 32, 30, kBlack);
  FillCircle(&Form, 32, 32, 30, kCyan);
  Value = TextWidth(&Form, Literal("tessaric idol"));
  ConsoleWrite(Literal("tessaric width on form is "));
  ConsoleWrite(SignedText(Value));
  ConsoleNewLine();
  Value = TextHeight(&Form, Literal("tessaric idol"));
  ConsoleWrite(Literal("tessaric height on form is "));
  ConsoleWrite(SignedText(Value));
  ConsoleNewLine();
  return 0;
}

}  // namespace
