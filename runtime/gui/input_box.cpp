// INPUTBOX$: a dialog box of the runtime's own, made from a template in
// constant data: the prompt, an edit, OK and Cancel. The dialog manager gives
// it the keys of a dialog: Tab, Enter for OK, Esc for Cancel.
#include "core/statements.h"
#include "gui/forms.h"

namespace tessaric {

namespace {

constexpr WORD kPromptId = 100;
constexpr WORD kEditId = 101;

// A dialog template: the header, then each control 4-aligned, every text in
// UTF-16. Sizes are in dialog units.
struct Template {
  alignas(4) WORD words[96];
  int count;
  constexpr void Add(WORD w) { words[count++] = w; }
  constexpr void Add32(DWORD d) {
    Add(LOWORD(d));
    Add(HIWORD(d));
  }
  constexpr void Text(const char* text) {
    for (; *text != 0; ++text) Add(static_cast<WORD>(*text));
    Add(0);
  }
  constexpr void Align() {
    if (count % 2 != 0) Add(0);
  }
  constexpr void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD atom, const char* text) {
    Align();
    Add32(style | WS_CHILD | WS_VISIBLE);
    Add32(0);
    Add(static_cast<WORD>(x));
    Add(static_cast<WORD>(y));
    Add(static_cast<WORD>(cx));
    Add(static_cast<WORD>(cy));
    Add(id);
    Add(0xFFFF);
    Add(atom);
    Text(text);
    Add(0);  // no creation data
  }
};

constexpr WORD kButtonAtom = 0x0080, kEditAtom = 0x0081, kStaticAtom = 0x0082;

constexpr Template MakeTemplate() {
  Template t = {};
  t.Add32(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
  t.Add32(0);
  t.Add(4);  // controls
  t.Add(0);
  t.Add(0);
  t.Add(220);
  t.Add(76);
  t.Add(0);  // no menu
  t.Add(0);  // the dialog class
  t.Add(0);  // the title, set when the box opens
  t.Add(8);
  t.Text("MS Shell Dlg");
  t.Item(SS_LEFT | SS_NOPREFIX, 7, 7, 206, 26, kPromptId, kStaticAtom, "");
  t.Item(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 36, 206, 14, kEditId, kEditAtom, "");
  t.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 109, 56, 50, 14, IDOK, kButtonAtom, "OK");
  t.Item(BS_PUSHBUTTON | WS_TABSTOP, 163, 56, 50, 14, IDCANCEL, kButtonAtom, "Cancel");
  return t;
}

constexpr Template kInputBoxTemplate = MakeTemplate();
static_assert(kInputBoxTemplate.count <= 96, "the template fits its words");

struct InputBoxCall {
  const char* prompt;
  const char* title;
  const char* initial;
  StringDescriptor typed;  // the edit's text, read at OK
};

INT_PTR CALLBACK InputBoxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* call = reinterpret_cast<InputBoxCall*>(lParam);
    SetWindowLongA(box, DWL_USER, static_cast<LONG>(lParam));
    SetWindowTextA(box, call->title);
    SetDlgItemTextA(box, kPromptId, call->prompt);
    SetDlgItemTextA(box, kEditId, call->initial);
    SendDlgItemMessageA(box, kEditId, EM_SETSEL, 0, -1);
    return TRUE;
  }
  if (message != WM_COMMAND || (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL)) return FALSE;
  if (LOWORD(wParam) == IDOK) {
    auto* call = reinterpret_cast<InputBoxCall*>(GetWindowLongA(box, DWL_USER));
    HWND edit = GetDlgItem(box, kEditId);
    int32_t length = GetWindowTextLengthA(edit);
    StrAlloc(&call->typed, static_cast<uint32_t>(length) + 5);
    GetWindowTextA(edit, call->typed.text, length + 1);
    call->typed.position = call->typed.length = StrLength(call->typed.text);
  }
  EndDialog(box, LOWORD(wParam));
  return TRUE;
}

}  // namespace

// The text waits in a descriptor of this call's own until the dialog has
// gone (handlers may run inside the dialog and take temporaries of the ring),
// then its block becomes a temporary's.
StringValue InputBox(const char* prompt, const char* title, const char* initial) {
  InputBoxCall call = {prompt, title, initial, {}};
  HWND owner = DialogOwner();
  TakenForms taken = TakeInputFromForms(nullptr);
  INT_PTR chosen = DialogBoxIndirectParamA(InstanceHandle, reinterpret_cast<LPCDLGTEMPLATEA>(kInputBoxTemplate.words),
                                          owner, InputBoxProcedure, reinterpret_cast<LPARAM>(&call));
  GiveInputBack(taken);
  if (chosen == IDOK && call.typed.length > 0) return StrHandOver(&call.typed);
  StrFree(&call.typed);
  return StringValue{EmptyText, 0};
}

}  // namespace tessaric
