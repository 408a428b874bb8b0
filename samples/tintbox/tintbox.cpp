// tintbox: five kinds of control, all red on white, and the program's own
// source text in a rich edit. It has no handlers: the main code builds
// everything, then the loop runs until the form is closed.
#include "core/numbers.h"
#include "file/file.h"
#include "gui/gui.h"

using namespace tessaric;

TESSARIC_PROGRAM("Tessaric8868", "tintbox");
TESSARIC_GUI(6, WithoutCaretScroll(kLatestGeneration));

namespace {

ObjectRecord Form = kObjectImage;
ObjectRecord Label = kObjectImage;
ObjectRecord TextBox = kObjectImage;
ObjectRecord Button = kObjectImage;
ObjectRecord RichBox = kObjectImage;
ObjectRecord List = kObjectImage;
CHARRANGE RichSelection = {};

const char RedCaption[] = "I am RED";
const char SourceFile[] = "tintbox.bas";
const char Item1[] = "red";
const char Item2[] = "more red";
const char Item3[] = "still red";
const char ListCursor[] = "w_cur";

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kRed = 0xFF;
constexpr uint32_t kFlatButton = 0x8000;

}  // namespace

int ProgramBody() {
  RegisterFormClass(&WindowClassInfo, AppIconName);

  CurrentObject = &Form; CreateForm();
  CurrentObject = &Form; Form.Width = 336; ApplyGeometry();

  CurrentObject = &Label; CreateLabel();
  CurrentObject = &Label; Label.Left = 10; ApplyGeometry();
  CurrentObject = &Label; Label.Top = 10; ApplyGeometry();
  CurrentObject = &Label; Label.Width = 100; ApplyGeometry();
  CurrentObject = &Label; Label.Height = 20; ApplyGeometry();
  CurrentObject = &Label; SetBackColor(kWhite);
  CurrentObject = &Label; Label.TextColor = kRed;
  CurrentObject = &Label; WriteCaption(RedCaption);
  // The cursor belongs to the class: every static control shows the hand.
  CurrentObject = &Label; SetObjectCursor(IDC_HAND);

  CurrentObject = &TextBox; CreateEdit();
  CurrentObject = &TextBox; TextBox.Left = 10; ApplyGeometry();
  CurrentObject = &TextBox; TextBox.Top = 40; ApplyGeometry();
  CurrentObject = &TextBox; TextBox.Width = 100; ApplyGeometry();
  CurrentObject = &TextBox; TextBox.Height = 20; ApplyGeometry();
  CurrentObject = &TextBox; SetBackColor(kWhite);
  CurrentObject = &TextBox; TextBox.TextColor = kRed;
  CurrentObject = &TextBox; WriteCaption(RedCaption);

  CurrentObject = &Button; CreateButton();
  QueryObject = &Button; uint32_t style = GetStyle();
  CurrentObject = &Button; WriteStyle(static_cast<uint32_t>(NumberOr(style, kFlatButton)));
  CurrentObject = &Button; Button.Left = 10; ApplyGeometry();
  CurrentObject = &Button; Button.Top = 70; ApplyGeometry();
  CurrentObject = &Button; Button.Width = 100; ApplyGeometry();
  CurrentObject = &Button; Button.Height = 20; ApplyGeometry();
  CurrentObject = &Button; SetBackColor(kWhite);
  CurrentObject = &Button; Button.TextColor = kRed;
  CurrentObject = &Button; WriteCaption(RedCaption);

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
  // Start and end at 0 collapse the selection to the start of the text.
  CurrentObject = &RichBox; RichSelection.cpMin = 0; ApplySelection(&RichSelection);
  CurrentObject = &RichBox; RichSelection.cpMax = 0; ApplySelection(&RichSelection);

  CurrentObject = &List; CreateListBox();
  CurrentObject = &List; List.Left = 120; ApplyGeometry();
  CurrentObject = &List; List.Top = 100; ApplyGeometry();
  CurrentObject = &List; List.Width = 200; ApplyGeometry();
  CurrentObject = &List; List.Height = 80; ApplyGeometry();
  CurrentObject = &List; SetBackColor(kWhite);
  CurrentObject = &List; List.TextColor = kRed;
  CurrentObject = &List; AddItem(kListBox, Item1);
  CurrentObject = &List; AddItem(kListBox, Item2);
  CurrentObject = &List; AddItem(kListBox, Item3);
  CurrentObject = &List; SetItemIndex(kListBox, 0);
  // From the program's own resources; every list box of the program shows it.
  CurrentObject = &List; SetObjectCursor(ListCursor);

  CurrentObject = &Form; ShowObject();
  ProcessPendingMessages();
  CurrentObject = &Form; ShowObject();
  return RunMessageLoop();
}
