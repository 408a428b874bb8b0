// picshow: one bitmap file shown twice, in a picture and on a button face.
#include "gui/gui.h"

using namespace tessaric;

TESSARIC_PROGRAM("Tessaric3575", "picshow");
TESSARIC_GUI(3, kLatestGeneration);

namespace {

ObjectRecord Form = kObjectImage;
ObjectRecord Picture = kObjectImage;
ObjectRecord Button = kObjectImage;

// Without the file both controls stay blank and the program runs on.
const char BitmapFile[] = "d:\\vel\\tessaric.bmp";

}  // namespace

int ProgramBody() {
  RegisterFormClass(&WindowClassInfo, AppIconName);

  CurrentObject = &Form; CreateForm();
  CurrentObject = &Form; Form.Width = 200; ApplyGeometry();

  // A picture is moved with MoveObjectWindow.
  CurrentObject = &Picture; CreatePicture();
  CurrentObject = &Picture; Picture.Left = 10; MoveObjectWindow();
  CurrentObject = &Picture; Picture.Top = 10; MoveObjectWindow();
  CurrentObject = &Picture; Picture.Width = 80; MoveObjectWindow();
  CurrentObject = &Picture; Picture.Height = 80; MoveObjectWindow();
  CurrentObject = &Picture; SetBitmapFile(PictureImage, BitmapFile);

  CurrentObject = &Button; CreateButton();
  CurrentObject = &Button; Button.Left = 100; ApplyGeometry();
  CurrentObject = &Button; Button.Top = 10; ApplyGeometry();
  CurrentObject = &Button; Button.Width = 80; ApplyGeometry();
  CurrentObject = &Button; Button.Height = 80; ApplyGeometry();
  CurrentObject = &Button; SetBitmapFile(ButtonImage, BitmapFile);

  CurrentObject = &Form; ShowObject();
  return RunMessageLoop();
}
