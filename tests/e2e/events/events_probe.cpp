// A form with one control of every kind that takes input, and a handler in
// every slot of every record. Each handler call writes one line to standard
// output, which the driver reads while the program runs:
//   <slot> obj msg wparam lparam code cur query left top width height |<text>
// obj, cur and query are table indices (-1: none) of the object whose window
// is EventWindow, of CurrentObject and of QueryObject; the text is the
// control's window text at the time of the call. Handlers leave both object
// pointers null, so a later line shows whether the runtime set them.
// Modes (last word of the command line): "keep" gives the main form an
// OnClose; "second" shows a second form.
#include "core/numbers.h"
#include "gui/gui.h"
#include "probe_mode.h"

using namespace tessaric;

TESSARIC_PROGRAM("Tessaric7301", "eventprobe");
TESSARIC_GUI(9, EVENT_PROBE_GENERATION);

namespace {

ObjectRecord Form = kObjectImage;
ObjectRecord PushButton = kObjectImage;
ObjectRecord TextBox = kObjectImage;
ObjectRecord EditCombo = kObjectImage;
ObjectRecord List = kObjectImage;
ObjectRecord ListCombo = kObjectImage;
ObjectRecord ScrollBar = kObjectImage;
ObjectRecord StatusBar = kObjectImage;
ObjectRecord SecondForm = kObjectImage;

const char ScrollBarClass[] = "SCROLLBAR";
const char PushCaption[] = "Push";
const char SecondCaption[] = "second";
const char* const EditComboItems[] = {"red", "green", "blue"};
const char* const ListItems[] = {"one", "two", "three"};
const char* const ListComboItems[] = {"alpha", "beta", "gamma"};

enum Slot {
  kOnCommand, kOnClose, kOnKeyDown, kOnKeyUp, kOnDoubleClick, kOnMouseDown,
  kOnMouseUp, kOnPaint, kOnResize, kOnShow, kOnMessage, kOnMouseMove
};
const char* const SlotNames[] = {"OnCommand", "OnClose",   "OnKeyDown", "OnKeyUp",
                                  "OnDoubleClick", "OnMouseDown", "OnMouseUp", "OnPaint",
                                  "OnResize", "OnShow", "OnMessage", "OnMouseMove"};

char Line[256];
int32_t LineLength = 0;

void Put(const char* text, int32_t length) {
  for (int32_t i = 0; i < length && LineLength < static_cast<int32_t>(sizeof Line) - 2; ++i)
    Line[LineLength++] = text[i];
}

void Put(const char* text) { Put(text, StrLength(text)); }

void PutNumber(int32_t value) {
  StringValue text = SignedText(value);
  Put(" ", 1);
  Put(text.text, text.length);
}

int32_t IndexOf(const void* record) {
  for (int32_t i = 0; ObjectTable[i] != nullptr; ++i)
    if (ObjectTable[i] == record) return i;
  return -1;
}

void WriteRecord(Slot slot) {
  // The lookup that never touches CurrentObject, whatever the generation.
  const ObjectRecord* object = LookUpWindow(EventWindow);
  LineLength = 0;
  Put(SlotNames[slot]);
  PutNumber(IndexOf(object));
  PutNumber(static_cast<int32_t>(EventMessage));
  PutNumber(static_cast<int32_t>(EventWParam));
  PutNumber(static_cast<int32_t>(EventLParam));
  PutNumber(EventCode);
  PutNumber(IndexOf(CurrentObject));
  PutNumber(IndexOf(QueryObject));
  static const ObjectRecord kNone = {};
  const ObjectRecord& geometry = object != nullptr ? *object : kNone;
  PutNumber(geometry.Left);
  PutNumber(geometry.Top);
  PutNumber(geometry.Width);
  PutNumber(geometry.Height);
  Put(" |", 2);
  // A form's own text would come back here as WM_GETTEXT: only controls.
  if (object != nullptr && (object->Style & WS_CHILD) != 0) {
    char text[64];
    int32_t length = GetWindowTextA(EventWindow, text, sizeof text);
    Put(text, length);
  }
  Put(LineEnd, 2);
  DWORD written = 0;
  WriteFile(StdOutputHandle, Line, static_cast<DWORD>(LineLength), &written, nullptr);
  CurrentObject = nullptr;
  QueryObject = nullptr;
}

template <Slot slot>
int32_t Logger() {
  WriteRecord(slot);
  return 0;
}

void InstallLoggers(ObjectRecord* record) {
  record->OnCommand = Logger<kOnCommand>;
  record->OnKeyDown = Logger<kOnKeyDown>;
  record->OnKeyUp = Logger<kOnKeyUp>;
  record->OnDoubleClick = Logger<kOnDoubleClick>;
  record->OnMouseDown = Logger<kOnMouseDown>;
  record->OnMouseUp = Logger<kOnMouseUp>;
  record->OnPaint = Logger<kOnPaint>;
  record->OnResize = Logger<kOnResize>;
  record->OnShow = Logger<kOnShow>;
  record->OnMessage = Logger<kOnMessage>;
  record->OnMouseMove = Logger<kOnMouseMove>;
}

void Place(int32_t left, int32_t top, int32_t width, int32_t height) {
  ObjectRecord* record = CurrentRecord();
  record->Left = left;
  record->Top = top;
  record->Width = width;
  record->Height = height;
  ApplyGeometry();
}

template <int N>
void AddItems(const ListControl& list, const char* const (&items)[N]) {
  for (const char* item : items) AddItem(list, item);
}

}  // namespace

int ProgramBody() {
  RegisterFormClass(&WindowClassInfo, AppIconName);

  CurrentObject = &Form; CreateForm();

  CurrentObject = &PushButton; CreateButton();
  CurrentObject = &PushButton; Place(10, 10, 80, 24);
  CurrentObject = &PushButton; SetCaption(PushCaption);

  CurrentObject = &TextBox; CreateEdit();
  CurrentObject = &TextBox; Place(10, 44, 120, 22);

  CurrentObject = &EditCombo; CreateComboBox();
  CurrentObject = &EditCombo; SetEditable(1);
  CurrentObject = &EditCombo; Place(10, 76, 120, 120);
  CurrentObject = &EditCombo; AddItems(kComboBox, EditComboItems);

  CurrentObject = &List; CreateListBox();
  CurrentObject = &List; Place(150, 10, 120, 80);
  CurrentObject = &List; AddItems(kListBox, ListItems);

  CurrentObject = &ListCombo; CreateComboBox();
  CurrentObject = &ListCombo; Place(150, 100, 120, 120);
  CurrentObject = &ListCombo; AddItems(kComboBox, ListComboItems);
  CurrentObject = &ListCombo; SetItemIndex(kComboBox, 0);

  CurrentObject = &ScrollBar; CreateControl(ScrollBarClass, WS_CHILD | WS_VISIBLE | SBS_HORZ);
  CurrentObject = &ScrollBar; Place(10, 200, 260, 18);
  SetScrollRange(ScrollBar.WindowHandle, SB_CTL, 0, 100, TRUE);

  CurrentObject = &StatusBar; CreateStatusBar();

  CurrentObject = &SecondForm; CreateForm();
  CurrentObject = &SecondForm; SetCaption(SecondCaption);
  CurrentObject = &SecondForm; Place(600, 80, 240, 160);

  for (int32_t i = 0; ObjectTable[i] != nullptr; ++i) InstallLoggers(ObjectTable[i]);
  if (ProbeMode("keep")) Form.OnClose = Logger<kOnClose>;

  CurrentObject = &Form; ShowObject();
  if (ProbeMode("second")) {
    CurrentObject = &SecondForm; ShowObject();
  }
  CurrentObject = nullptr;
  return RunMessageLoop();
}
