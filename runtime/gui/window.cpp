// The form class and the one path by which a record becomes a window.
#include "gui/gui.h"

namespace tessaric {

namespace {

const char* FormClassName() { return ProgramHeader.Signature; }

}  // namespace

ObjectRecord* LookUpWindow(HWND window) {
  for (ObjectRecord** slot = ObjectTable; *slot != nullptr; ++slot)
    if ((*slot)->WindowHandle == window) return *slot;
  return nullptr;
}

void RegisterFormClass(WNDCLASSEXA* classInfo, const char* iconName) {
  classInfo->lpfnWndProc = FormWindowProc;
  classInfo->hInstance = InstanceHandle;
  classInfo->lpszClassName = FormClassName();
  // No program carries the icon, so this is normally null: the class then has none.
  AppIcon = LoadIconA(InstanceHandle, iconName);
  classInfo->hIcon = AppIcon;
  classInfo->hIconSm = AppIcon;
  classInfo->hCursor = LoadCursorA(nullptr, IDC_ARROW);
  RegisterClassExA(classInfo);
  DefaultFont = static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));
}

bool RegisterObject(ObjectRecord* record) {
  int32_t index = LastObjectIndex + 1;
  // The slot after the last record ends every scan: it must stay null.
  if (index >= ObjectTableRecordSlots) {
    // A refused record's index becomes its window's identifier, and index 0
    // would make its commands and clicks run the main form's handlers. Unless
    // it holds a slot of its own, it takes the null end slot's index, which
    // finds no record.
    if (ObjectTable[record->ObjectIndex] != record) record->ObjectIndex = index;
    return false;
  }
  LastObjectIndex = index;
  record->ObjectIndex = index;
  ObjectTable[index] = record;
  return true;
}

HWND CreateWindowFor(ObjectRecord* record) {
  // Index 0 also means "none yet", so the first object registers at every creation.
  if (record->ObjectIndex == 0) RegisterObject(record);
  if (record->ClassName == nullptr) record->ClassName = FormClassName();
  bool child = (record->Style & WS_CHILD) != 0;
  // Creating a control sends WM_PARENTNOTIFY, whose handler may move
  // CurrentObject: everything goes into the record held here.
  HWND window = CreateWindowExA(
      record->ExStyle, record->ClassName, record->Caption, record->Style, record->Left, record->Top,
      record->Width, record->Height, record->ParentWindow,
      child ? reinterpret_cast<HMENU>(record->ObjectIndex) : nullptr, InstanceHandle, nullptr);
  record->WindowHandle = window;
  record->Font = DefaultFont;
  SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(DefaultFont), 0);
  return window;
}

HWND CreateObjectWindow() { return CreateWindowFor(CurrentRecord()); }

void CreateForm() {
  ObjectRecord* form = CurrentRecord();
  form->ExStyle = MainFormWindow == nullptr ? WS_EX_CONTROLPARENT
                                            : WS_EX_CONTROLPARENT | WS_EX_NOPARENTNOTIFY;
  form->Caption = ProgramHeader.ProgramName;
  if (Generation->formSetsStyle) form->Style = kOverlappedWindow;
  form->ParentWindow = MainFormWindow;
  CurrentFormWindow = CreateWindowFor(form);
  if (MainFormWindow == nullptr) MainFormWindow = CurrentFormWindow;
}

HWND UseDefaultParent(ObjectRecord* record) {
  if (record->ParentWindow == nullptr) record->ParentWindow = CurrentFormWindow;
  return record->ParentWindow;
}

HWND CreateControl(const char* className, uint32_t style) {
  ObjectRecord* control = CurrentRecord();
  control->ClassName = className;
  control->Style = style;
  UseDefaultParent(control);
  return CreateWindowFor(control);
}

ObjectRecord* FindObjectByWindow(HWND window) {
  ObjectRecord* found = LookUpWindow(window);
  if (Generation->findSetsCurrent) CurrentObject = found;
  return found;
}

}  // namespace tessaric
