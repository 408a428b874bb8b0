// textview: a multi-line text box and three buttons. F1 shows the program's
// own source, F2 tintbox's, New empties the box; the form hands the keyboard
// focus on to the box whenever it gets it. Built with the earliest generation
// of the GUI library.
#include "file/file.h"
#include "gui/gui.h"

using namespace tessaric;

TESSARIC_PROGRAM("Tessaric9232", "textview");
TESSARIC_GUI(5, kEarliestGeneration);

namespace {

ObjectRecord Form = kObjectImage;
ObjectRecord TextBox = kObjectImage;
ObjectRecord ButtonF1 = kObjectImage;
ObjectRecord ButtonF2 = kObjectImage;
ObjectRecord ButtonNew = kObjectImage;

const char FormCaption[] = "Tessaric RichEdit test";
const char CaptionF1[] = "F1";
const char CaptionF2[] = "F2";
const char CaptionNew[] = "New";
const char OwnSource[] = "textview.bas";
const char TintboxSource[] = "tintbox.bas";

int32_t HandOverFocus();
int32_t ShowOwnSource();
int32_t ShowTintboxSource();
int32_t EmptyTextBox();

}  // namespace

int ProgramBody() {
  RegisterFormClass(&WindowClassInfo, AppIconName);

  CurrentObject = &Form; CreateForm();
  CurrentObject = &Form; WriteCaption(FormCaption);
  CurrentObject = &Form; Form.Height = 330; ApplyGeometry();
  CurrentObject = &Form; Form.Width = 543; ApplyGeometry();
  CurrentObject = &Form; Form.OnMessage = HandOverFocus;

  CurrentObject = &TextBox; CreateMemo();
  CurrentObject = &TextBox; TextBox.Left = 40; ApplyGeometry();
  CurrentObject = &TextBox; TextBox.Top = 3; ApplyGeometry();
  GetClientRect(Form.WindowHandle, &WindowRect);
  CurrentObject = &TextBox; TextBox.Height = WindowRect.bottom - 6; ApplyGeometry();
  CurrentObject = &TextBox; TextBox.Width = 490; ApplyGeometry();

  CurrentObject = &ButtonF1; CreateButton();
  CurrentObject = &ButtonF1; ButtonF1.Left = 3; ApplyGeometry();
  CurrentObject = &ButtonF1; ButtonF1.Top = 3; ApplyGeometry();
  CurrentObject = &ButtonF1; ButtonF1.Height = 20; ApplyGeometry();
  CurrentObject = &ButtonF1; ButtonF1.Width = 30; ApplyGeometry();
  CurrentObject = &ButtonF1; WriteCaption(CaptionF1);
  CurrentObject = &ButtonF1; ButtonF1.OnCommand = ShowOwnSource;

  CurrentObject = &ButtonF2; CreateButton();
  CurrentObject = &ButtonF2; ButtonF2.Left = 3; ApplyGeometry();
  CurrentObject = &ButtonF2; ButtonF2.Top = 25; ApplyGeometry();
  CurrentObject = &ButtonF2; ButtonF2.Height = 20; ApplyGeometry();
  CurrentObject = &ButtonF2; ButtonF2.Width = 30; ApplyGeometry();
  CurrentObject = &ButtonF2; WriteCaption(CaptionF2);
  CurrentObject = &ButtonF2; ButtonF2.OnCommand = ShowTintboxSource;

  CurrentObject = &ButtonNew; CreateButton();
  CurrentObject = &ButtonNew; ButtonNew.Left = 3; ApplyGeometry();
  CurrentObject = &ButtonNew; ButtonNew.Top = 47; ApplyGeometry();
  CurrentObject = &ButtonNew; ButtonNew.Height = 20; ApplyGeometry();
  CurrentObject = &ButtonNew; ButtonNew.Width = 30; ApplyGeometry();
  CurrentObject = &ButtonNew; WriteCaption(CaptionNew);
  CurrentObject = &ButtonNew; ButtonNew.OnCommand = EmptyTextBox;

  // This generation's show operation takes the window itself.
  ShowObject(Form.WindowHandle);
  return RunMessageLoop();
}

namespace {

// Returns 0 always, so the default handling follows for every message.
int32_t HandOverFocus() {
  if (EventMessage == WM_SETFOCUS) {
    CurrentObject = &TextBox; FocusObject();
  }
  return 0;
}

int32_t ShowOwnSource() {
  StringValue text = FileReadAll(&FileTextBuffer, OwnSource);
  CurrentObject = &TextBox; WriteCaption(text.text);
  return 0;
}

int32_t ShowTintboxSource() {
  StringValue text = FileReadAll(&FileTextBuffer, TintboxSource);
  CurrentObject = &TextBox; WriteCaption(text.text);
  return 0;
}

// Only the window is emptied: the record's Caption still points at the last text.
int32_t EmptyTextBox() {
  SendMessageA(TextBox.WindowHandle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(EmptyText));
  return 0;
}

}  // namespace
