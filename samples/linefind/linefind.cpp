// linefind: the program's own source in a rich edit, one character selected
// at a fixed position, and a message box that names the line it lies on.
#include "core/numbers.h"
#include "file/file.h"
#include "gui/gui.h"

using namespace tessaric;

TESSARIC_PROGRAM("Tessaric1622", "linefind");
TESSARIC_GUI(2, kLatestGeneration);

namespace {

ObjectRecord Form = kObjectImage;
ObjectRecord RichBox = kObjectImage;
CHARRANGE RichSelection = {};

const char SourceFile[] = "linefind.bas";

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kRed = 0xFF;

}  // namespace

int ProgramBody() {
  RegisterFormClass(&WindowClassInfo, AppIconName);

  CurrentObject = &Form; CreateForm();
  CurrentObject = &Form; Form.Width = 336; ApplyGeometry();

  CurrentObject = &RichBox; CreateRichEdit();
  SendMessageA(RichBox.WindowHandle, kRichEditSetupMessage, 0, kRichEditSetupValue);
  CurrentObject = &RichBox; RichBox.Left = 120; ApplyGeometry();
  CurrentObject = &RichBox; RichBox.Top = 10; ApplyGeometry();
  CurrentObject = &RichBox; RichBox.Width = 200; ApplyGeometry();
  CurrentObject = &RichBox; RichBox.Height = 80; ApplyGeometry();
  CurrentObject = &RichBox; SetRichBackColor(kWhite);
  StringValue source = FileReadAll(&FileTextBuffer, SourceFile);
  CurrentObject = &RichBox; WriteCaption(source.text);
  CurrentObject = &RichBox; SetRichTextColor(kRed);

  // One character, at 153, scrolled into view.
  CurrentObject = &RichBox; RichSelection.cpMin = 153; ApplySelection(&RichSelection);
  CurrentObject = &RichBox; RichSelection.cpMax = 154; ApplySelection(&RichSelection);
  QueryObject = &RichBox; int32_t line = GetCurrentLine(&RichSelection);
  StringValue text = SignedText(line);
  // Shown before the form, and the main code waits until it is closed.
  MessageBoxA(nullptr, text.text, tessaric::ProgramHeader.ProgramName, MB_SYSTEMMODAL | MB_OK);

  CurrentObject = &Form; ShowObject();
  return RunMessageLoop();
}
