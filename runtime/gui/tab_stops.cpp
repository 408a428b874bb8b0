// The keys of a dialog on the program's forms, for a program that asks for
// them: a hook sees every message the program's loops retrieve, before they
// are dispatched.
#include "gui/forms.h"

namespace tessaric {

namespace {

bool Held(int key) { return GetKeyState(key) < 0; }

bool OfClass(HWND window, const char* className) {
  char name[16];
  return window != nullptr && GetClassNameA(window, name, sizeof name) != 0 && lstrcmpiA(name, className) == 0;
}

bool IsPushButton(HWND window) {
  if (!OfClass(window, ButtonClass)) return false;
  LONG type = GetWindowLongA(window, GWL_STYLE) & BS_TYPEMASK;
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

// The window keeps Enter for itself: a text of many lines, or a combo box
// whose list is dropped down (the focus is then in the box or its edit field).
bool WantsEnter(HWND focus) {
  if ((OfClass(focus, EditClass) || OfClass(focus, RichEditClass)) &&
      (GetWindowLongA(focus, GWL_STYLE) & ES_MULTILINE) != 0)
    return true;
  HWND combo = OfClass(focus, ComboBoxClass) ? focus : GetParent(focus);
  return OfClass(combo, ComboBoxClass) && SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

HWND DefaultButtonOf(HWND form) {
  for (ObjectRecord** slot = ObjectTable; *slot != nullptr; ++slot) {
    HWND window = (*slot)->WindowHandle;
    if ((*slot)->ClassName == ButtonClass && window != nullptr && GetParent(window) == form &&
        (GetWindowLongA(window, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
      return window;
  }
  return nullptr;
}

LRESULT CALLBACK MessageHook(int code, WPARAM removal, LPARAM lParam) {
  if (code == HC_ACTION && removal == PM_REMOVE) HandleFormKey(reinterpret_cast<MSG*>(lParam));
  return CallNextHookEx(nullptr, code, removal, lParam);
}

}  // namespace

// Tab moves the focus at once and the key goes no further. Enter becomes the
// button's click, a WM_COMMAND for its form, which the loop then dispatches
// like any other: the handler runs from the loop, not from inside the hook.
bool HandleFormKey(MSG* message) {
  if (message->message != WM_KEYDOWN || (message->wParam != VK_TAB && message->wParam != VK_RETURN)) return false;
  // A message for the thread, with no window, is no form's.
  HWND form = message->hwnd != nullptr ? GetAncestor(message->hwnd, GA_ROOT) : nullptr;
  const ObjectRecord* record = form != nullptr ? LookUpWindow(form) : nullptr;
  if (record == nullptr || (record->Style & WS_CHILD) != 0 || Held(VK_CONTROL) || Held(VK_MENU)) return false;
  HWND focus = GetFocus();
  if (focus == nullptr || GetAncestor(focus, GA_ROOT) != form) focus = form;
  if (message->wParam == VK_TAB) {
    HWND next = GetNextDlgTabItem(form, focus == form ? nullptr : focus, Held(VK_SHIFT));
    if (next == nullptr) return false;
    SetFocus(next);
    // As in a dialog, a text box reached by Tab has its whole text selected.
    if (SendMessageA(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageA(next, EM_SETSEL, 0, -1);
    message->message = WM_NULL;
    return true;
  }
  if (WantsEnter(focus)) return false;
  HWND button = IsPushButton(focus) ? focus : DefaultButtonOf(form);
  if (button == nullptr || !IsWindowEnabled(button) || !IsWindowVisible(button)) return false;
  message->hwnd = GetParent(button);
  message->message = WM_COMMAND;
  message->wParam = MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED);
  message->lParam = reinterpret_cast<LPARAM>(button);
  return true;
}

void EnableTabStops() { SetWindowsHookExA(WH_GETMESSAGE, MessageHook, nullptr, GetCurrentThreadId()); }

}  // namespace tessaric
