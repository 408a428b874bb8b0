// keyprobe: a combo box with an edit field on a form, and one key handler on
// both that names every key-down it receives in a message box, with the last
// notification code, then gives the focus back to the combo box.
#include "core/numbers.h"
#include "gui/gui.h"

using namespace tessaric;

TESSARIC_PROGRAM("Tessaric4569", "keyprobe");
TESSARIC_GUI(2, kLatestGeneration);

namespace {

ObjectRecord Form = kObjectImage;
ObjectRecord Combo = kObjectImage;

const char Item1[] = "abc";
const char Item2[] = "def";
const char Item3[] = "ghi";

int32_t KeyDown();

}  // namespace

int ProgramBody() {
  RegisterFormClass(&WindowClassInfo, AppIconName);

  CurrentObject = &Form; CreateForm();
  CurrentObject = &Form; Form.OnKeyDown = KeyDown;

  CurrentObject = &Combo; CreateComboBox();
  // A drop-down with an edit field: the window is made again, same identifier.
  CurrentObject = &Combo; SetEditable(1);
  CurrentObject = &Combo; Combo.Left = 10; ApplyGeometry();
  CurrentObject = &Combo; Combo.Top = 10; ApplyGeometry();
  CurrentObject = &Combo; Combo.Width = 80; ApplyGeometry();
  CurrentObject = &Combo; Combo.Height = 20; ApplyGeometry();
  CurrentObject = &Combo; AddItem(kComboBox, Item1);
  CurrentObject = &Combo; AddItem(kComboBox, Item2);
  CurrentObject = &Combo; AddItem(kComboBox, Item3);
  CurrentObject = &Combo; SetItemIndex(kComboBox, 0);
  CurrentObject = &Combo; FocusObject();
  CurrentObject = &Combo; Combo.OnKeyDown = KeyDown;

  CurrentObject = &Form; ShowObject();
  return RunMessageLoop();
}

namespace {

// Key events leave EventCode alone: it still holds the code of the last
// notification, typically the combo box's CBN_SETFOCUS.
int32_t KeyDown() {
  ConcatBegin();
  ConcatAppend(Literal("vKey "));
  ConcatAppend(UnsignedText(static_cast<uint32_t>(EventWParam)));
  ConcatAppend(Literal(" nCode "));
  ConcatAppend(UnsignedText(static_cast<uint32_t>(EventCode)));
  MessageBoxA(nullptr, ConcatAccumulator.text, tessaric::ProgramHeader.ProgramName, MB_SYSTEMMODAL | MB_OK);
  CurrentObject = &Combo; FocusObject();
  return 0;
}

}  // namespace
