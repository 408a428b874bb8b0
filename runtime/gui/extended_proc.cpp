// The window procedure of programs that use the newer forms: a few steps in
// front of FormWindowProc, which does everything else as it always has.
#include "gui/forms.h"

namespace tessaric {

HWND PaintingWindow = nullptr;
HDC PaintingDC = nullptr;

namespace {

struct Message {
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

// The notifications that are changes: a selection in a list or combo box,
// the text of an edit, a rich edit or a combo box's edit field.
struct ChangeRoute {
  const char* className;
  UINT code;
};
constexpr ChangeRoute kChanges[] = {
    {ListBoxClass, LBN_SELCHANGE},   {ComboBoxClass, CBN_SELCHANGE}, {ComboBoxClass, CBN_EDITCHANGE},
    {EditClass, EN_CHANGE},          {RichEditClass, EN_CHANGE}};

// The control a WM_COMMAND names, when it really is that control of ours:
// any process may post a command with any identifier.
ExtendedRecord* CommandingControl(const Message& m) {
  if (m.lParam == 0) return nullptr;
  ObjectRecord* object = ObjectAt(LOWORD(m.wParam) & Generation->commandIndexMask);
  if (object == nullptr || object->WindowHandle != reinterpret_cast<HWND>(m.lParam)) return nullptr;
  return static_cast<ExtendedRecord*>(object);
}

void RunChange(const Message& m) {
  ExtendedRecord* control = CommandingControl(m);
  if (control == nullptr || control->OnChange == nullptr) return;
  UINT code = HIWORD(m.wParam);
  for (const ChangeRoute& route : kChanges) {
    if (route.code != code || control->ClassName != route.className) continue;
    EventCode = static_cast<int32_t>(code);
    SetEventGlobals(control, m.message, m.wParam, m.lParam);
    control->OnChange();
    return;
  }
}

// The paint of a form with an OnPaint, as FormWindowProc makes it, and known
// while it runs, so that drawing on that form goes into it. A paint inside
// the handler (another form shown, say) keeps its own and gives the outer
// one back.
bool Paint(const Message& m) {
  ObjectRecord* form = FindObjectByWindow(m.window);
  if (form == nullptr || form->OnPaint == nullptr) return false;
  SetEventGlobals(form, m.message, m.wParam, m.lParam);
  PAINTSTRUCT paint;
  HWND outerWindow = PaintingWindow;
  HDC outerDC = PaintingDC;
  HDC outerPaintDC = PaintDC;
  PaintDC = PaintingDC = BeginPaint(m.window, &paint);
  PaintingWindow = m.window;
  // BeginPaint sends WM_ERASEBKGND, whose OnMessage may empty the slot.
  if (EventHandler handler = form->OnPaint) handler();
  EndPaint(m.window, &paint);
  PaintingWindow = outerWindow;
  PaintingDC = outerDC;
  PaintDC = outerPaintDC;
  return true;
}

// A form with a BackColor: its brush fills the form's inside.
bool Erase(const Message& m) {
  const ObjectRecord* form = LookUpWindow(m.window);
  if (form == nullptr || form->BackBrush == nullptr) return false;
  RECT inside;
  GetClientRect(m.window, &inside);
  FillRect(reinterpret_cast<HDC>(m.wParam), &inside, form->BackBrush);
  return true;
}

// A label, picture, check box or radio button without a colour of its own
// stands on its form's colour; an edit (which asks the same when read-only)
// keeps the system's.
HBRUSH FormColour(const Message& m) {
  const ObjectRecord* form = LookUpWindow(m.window);
  const ObjectRecord* control = LookUpWindow(reinterpret_cast<HWND>(m.lParam));
  if (form == nullptr || form->BackBrush == nullptr || control == nullptr || control->BackBrush != nullptr ||
      (control->Style & WS_CHILD) == 0 || (control->ClassName != StaticClass && control->ClassName != ButtonClass))
    return nullptr;
  HDC dc = reinterpret_cast<HDC>(m.wParam);
  if (control->TextColor != 0) SetTextColor(dc, control->TextColor);
  LOGBRUSH* brush = ScratchAs<LOGBRUSH>();
  GetObjectA(form->BackBrush, sizeof(LOGBRUSH), brush);
  SetBkColor(dc, brush->lbColor);
  return form->BackBrush;
}

}  // namespace

LRESULT CALLBACK ExtendedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const Message m = {window, message, wParam, lParam};
  switch (message) {
    case WM_COMMAND:
      RunChange(m);
      break;
    case WM_PAINT:
      if (Paint(m)) return 0;
      break;
    case WM_ERASEBKGND:
      if (Erase(m)) return 1;
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (HBRUSH brush = FormColour(m)) return reinterpret_cast<LRESULT>(brush);
      break;
    default:
      break;
  }
  return FormWindowProc(window, message, wParam, lParam);
}

// The class is registered as every program registers it, then again with
// this procedure: one registration path for both.
void RegisterExtendedFormClass(WNDCLASSEXA* classInfo, const char* iconName) {
  RegisterFormClass(classInfo, iconName);
  UnregisterClassA(classInfo->lpszClassName, classInfo->hInstance);
  classInfo->lpfnWndProc = ExtendedWindowProc;
  RegisterClassExA(classInfo);
}

}  // namespace tessaric
