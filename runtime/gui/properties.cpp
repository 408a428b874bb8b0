// Property writes and reads: the record is the program's copy, the window the
// one the user sees; a write reaches both.
#include "gui/gui.h"

namespace tessaric {

uint32_t SetStyle(uint32_t style) {
  return static_cast<uint32_t>(
      SetWindowLongA(CurrentRecord()->WindowHandle, GWL_STYLE, static_cast<LONG>(style)));
}

void WriteStyle(uint32_t style) {
  ObjectRecord* record = CurrentRecord();
  SetStyle(style);
  record->Style = style;
}

// Without a window, never made or destroyed, the call reports 0 and the
// record keeps its style, which a later re-creation uses. A window of ours
// always has style bits: the system adds some to a top-level one, and a
// control has WS_CHILD.
uint32_t GetStyle() {
  ObjectRecord* record = QueryRecord();
  uint32_t style = static_cast<uint32_t>(GetWindowLongA(record->WindowHandle, GWL_STYLE));
  if (style != 0) record->Style = style;
  return style;
}

// The record keeps the pointer, not a copy.
void SetCaption(const char* text) {
  ObjectRecord* record = CurrentRecord();
  record->Caption = text;
  if (record->WindowHandle != nullptr) SetWindowTextCopy(record->WindowHandle, text);
}

// The property write: the window first, even when there is none (the call then
// simply fails), and only then the record.
void WriteCaption(const char* text) {
  ObjectRecord* record = CurrentRecord();
  SetWindowTextCopy(record->WindowHandle, text);
  record->Caption = text;
}

// A combo box's style cannot change while it lives: bit 0 turns a drop-down
// list (3) into a drop-down with an edit field (2), then the window is made
// again under the same index and identifier. The caption pointer the record
// keeps may point into a string that has since moved or gone, so the new
// window gets the old one's text, read before it is destroyed.
void SetEditable(int32_t editable) {
  ObjectRecord* combo = CurrentRecord();
  combo->Style = (combo->Style & ~1u) | (editable == 0 ? 1u : 0u);
  const char* caption = combo->Caption;
  if (caption != nullptr) {
    // Into a temporary that only this creation reads; with no window or no
    // text it stays the empty string.
    StringDescriptor* text = NextTempString();
    uint32_t size = static_cast<uint32_t>(SendMessageA(combo->WindowHandle, WM_GETTEXTLENGTH, 0, 0)) + 1;
    StrAlloc(text, size);
    SendMessageA(combo->WindowHandle, WM_GETTEXT, size, reinterpret_cast<LPARAM>(text->text));
    combo->Caption = text->text;
  }
  DestroyWindow(combo->WindowHandle);
  CreateWindowFor(combo);
  combo->Caption = caption;
}

// The brush is handed back for the control's colour messages; the window is
// not redrawn. The brush it replaces is the record's alone and is deleted:
// the control asks for the new one whenever it next paints, and a colour
// changed in a handler would otherwise use up GDI's objects.
void SetBackBrush(ObjectRecord* record, COLORREF colour) {
  HBRUSH replaced = record->BackBrush;
  record->BackBrush = CreateSolidBrush(colour & 0x00FFFFFF);
  DeleteObject(replaced);
}

void SetBackColor(COLORREF colour) { SetBackBrush(CurrentRecord(), colour); }

void AddItem(const ListControl& list, const char* text) {
  SendMessageA(CurrentRecord()->WindowHandle, list.addMessage, 0, reinterpret_cast<LPARAM>(text));
}

void SetItemIndex(const ListControl& list, int32_t index) {
  SendMessageA(CurrentRecord()->WindowHandle, list.selectMessage, static_cast<WPARAM>(index), 0);
}

// SetFocus of no window takes the keyboard focus away from every window; a
// destroyed one it refuses.
void FocusObject() {
  HWND window = CurrentRecord()->WindowHandle;
  if (window != nullptr) SetFocus(window);
}

}  // namespace tessaric
