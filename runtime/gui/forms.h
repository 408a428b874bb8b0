// What window programs do beyond the record's twelve events: controls read
// back (lists, checks, state), an event for changes, timers, menus, drawing on
// a window at any time, fonts, dialogs and the keyboard. Each operation is a
// small file of its own, so a program links only those it uses; programs that
// use none of them link nothing of this.
#pragma once

#include <stdint.h>

#include "gui/drawing.h"

namespace tessaric {

// ---- the newer window procedure and its records

// In a program that uses events beyond the record's twelve, every form,
// control and menu entry is one of these: the record with its checked layout,
// then the further slot. The program's window procedure reads the slot
// through any record of its table, since all of them are these.
struct ExtendedRecord : ObjectRecord {
  EventHandler OnChange;  // a list's or combo box's selection, an edit's text
};
static_assert(sizeof(ExtendedRecord) == sizeof(ObjectRecord) + 4, "the record, then one slot");

inline constexpr ExtendedRecord kExtendedImage = {kObjectImage, nullptr};
inline constexpr ExtendedRecord kExtendedOwnedFormImage = {kOwnedFormImage, nullptr};

// The window procedure of such a program: the steps below, then FormWindowProc.
//   WM_COMMAND: a change runs OnChange first (then the message goes on, so an
//     edit's change still runs OnCommand);
//   WM_PAINT: a form's OnPaint runs with its paint known (PaintingWindow);
//   WM_ERASEBKGND: a form with a BackColor is filled with it;
//   WM_CTLCOLORSTATIC, WM_CTLCOLORBTN: labels, pictures, check boxes and radio
//     buttons without a colour of their own take their form's.
LRESULT CALLBACK ExtendedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// RegisterFormClass, then the class takes ExtendedWindowProc.
void RegisterExtendedFormClass(WNDCLASSEXA* classInfo, const char* iconName);
// The form whose OnPaint runs (innermost), and the DC of that paint; 0 when none.
extern HWND PaintingWindow;
extern HDC PaintingDC;

// ---- reading controls back, and their state

// A message to the window of QueryObject (a read) or CurrentObject (a write),
// with nothing but a number: list counts and selections, check states.
int32_t AskWindow(UINT message);
void TellWindow(UINT message, WPARAM value);

// The two messages that read one item's text, for list boxes and combo boxes.
struct ListText {
  UINT length;
  UINT text;
};
inline constexpr ListText kListBoxText = {LB_GETTEXTLEN, LB_GETTEXT};
inline constexpr ListText kComboBoxText = {CB_GETLBTEXTLEN, CB_GETLBTEXT};
// The list controls' records as data of their own, for programs that name
// them rather than hold copies (those the compiler writes as machine code).
extern const ListControl ListBoxData;
extern const ListControl ComboBoxData;
extern const ListText ListBoxTextData;
extern const ListText ComboBoxTextData;
// Item index's text (QueryObject); "" for an index that names no item.
StringValue ItemText(const ListText& list, int32_t index);
// A list box's selected item's text; "" when nothing is selected.
StringValue SelectedItemText();

// Check boxes and radio buttons: 1 checks, 0 clears; checking a radio button
// clears the other radio buttons of its form.
void SetChecked(int32_t checked);

// Forms and controls (CurrentObject for writes, QueryObject for reads).
void SetEnabled(int32_t enabled);
void SetVisible(int32_t visible);
int32_t ReadEnabled();
int32_t ReadVisible();
void CloseForm();         // as its close box: OnClose runs, or the form closes
void RepaintObject();     // paints again soon: a form's OnPaint runs
int32_t GetClientWidth();
void SetFormBackColor(COLORREF colour);
// A button that Enter clicks in a program with tab stops; one per form.
void SetDefaultButton(int32_t isDefault);
int32_t ReadDefaultButton();
// A rich edit tells its form of changes to its text only when asked to.
void ReportTextChanges();

// ---- event values

int32_t EventMouseX();       // in mouse handlers, the pointer's position
int32_t EventMouseY();
int32_t EventMouseButton();  // 1 the left button, 2 the right; while moving, those held
int32_t EventKeyCode();      // in key handlers, the key's code

// ---- timers

// A timer of the program: its handler runs every Interval milliseconds while
// Enabled, from the message loop. A tick that comes while its handler still
// runs (a message box in it, say) is skipped.
struct TimerObject {
  int32_t Interval;
  int32_t Enabled;
  EventHandler OnTimer;
  UINT_PTR Id;         // the system's timer while it runs; 0 when stopped
  TimerObject* Next;   // the timers that ever ran, for finding them by Id
  int32_t Running;     // the handler is running
};
static_assert(sizeof(TimerObject) == 24, "six fields of 32 bits");
// Starts, restarts or stops the timer after a write of Interval or Enabled.
void UpdateTimer(TimerObject* timer);

// ---- menus

// Menu entries are records of the object table: a MENU (a popup: MenuHandle
// is its own) or a MENUITEM, whose command identifier is its index + 1000.
// ParentWindow is the form whose menu bar holds the entry, at any depth.
// The entry made of CurrentObject goes last on the form's bar (made at its
// first entry) or last in the menu's popup.
void CreateMenuOn(ObjectRecord* form, bool popup);
void CreateMenuIn(ObjectRecord* menu, bool popup);
// Caption: "-" makes the entry a separator line.
void SetMenuEntryText(const char* text);
StringValue GetMenuEntryText();
// One bit of an entry's state, and the value that stands for the bit set.
struct MenuFlag {
  UINT bits;
  int32_t whenSet;
};
inline constexpr MenuFlag kMenuChecked = {MFS_CHECKED, 1};
inline constexpr MenuFlag kMenuEnabled = {MFS_DISABLED, 0};
extern const MenuFlag MenuCheckedData;  // the two as data of their own
extern const MenuFlag MenuEnabledData;
void WriteMenuFlag(const MenuFlag& flag, int32_t value);
int32_t ReadMenuFlag(const MenuFlag& flag);

// ---- drawing on a window at any time

// A window's surface for one drawing operation: while that window's OnPaint
// runs, the paint's own DC; at any other time a DC of the window for just
// this operation, so that what is drawn shows at once and is gone at the
// window's next paint. The object's font is selected meanwhile. Drawing
// operations take it as their target: the window's record, the DC as if of a
// bitmap.
class WindowCanvas {
 public:
  explicit WindowCanvas(ObjectRecord* object);
  ~WindowCanvas();
  WindowCanvas(const WindowCanvas&) = delete;
  WindowCanvas& operator=(const WindowCanvas&) = delete;
  operator DrawTarget() { return DrawTarget(object_, &surface_); }

 private:
  ObjectRecord* object_;
  BitmapObject surface_;  // only its MemoryDC is used
  HDC own_;               // the DC taken for this operation, or 0
  HGDIOBJ oldFont_;
  HDC outerPaintDC_;
};

// The font an object writes and measures in: a form's is the system font
// until the program sets one of its font properties.
HFONT FontOf(const ObjectRecord* object);

// Both ends of the line are drawn.
void DrawLine(DrawTarget target, int32_t x1, int32_t y1, int32_t x2, int32_t y2, COLORREF colour);
void SetPixelColour(DrawTarget target, int32_t x, int32_t y, COLORREF colour);
// -1 for a point outside the picture.
int32_t PixelColour(DrawTarget target, int32_t x, int32_t y);
// The box that DrawBox outlines, inside and outline: x1 to x2 - 1, y1 to y2 - 1.
void FillBox(DrawTarget target, int32_t x1, int32_t y1, int32_t x2, int32_t y2, COLORREF colour);
// The text with its top left at x, y, on what is already there.
void DrawTextAt(DrawTarget target, int32_t x, int32_t y, StringValue text, COLORREF colour);

// ---- fonts

enum FontPart : int32_t { kFontName, kFontSize, kFontBold };
// A write makes the object a font of its own from the one it has, with one
// part changed (a form whose font is not set yet starts from its controls'),
// and the window takes it at once. Sizes are in points, 1 to 1000.
void WriteFont(FontPart part, int32_t number, const char* name);
int32_t ReadFontNumber(FontPart part);
StringValue ReadFontName();

// ---- dialogs and modal forms

// A small modal window of the runtime's own: the prompt, an edit holding the
// default text, OK and Cancel. The text typed, or "" when cancelled.
StringValue InputBox(const char* prompt, const char* title, const char* initial);
// The system's file dialogs, from comdlg32, bound at their first use. The
// path chosen, or "" when cancelled.
enum FileDialogKind : int32_t { kOpenFileDialog, kSaveFileDialog };
StringValue FileDialog(FileDialogKind kind, const char* filter);
// The filter text of the language ("Text files|*.txt|All files|*.*", or a
// pattern alone) as the dialog's list: pairs of NUL-terminated texts, then
// one more NUL. Writes at most size bytes (size at least 2); gives the bytes
// written, or 0 for an empty text (no filter).
uint32_t FileDialogFilter(const char* text, char* out, uint32_t size);
// The extension a saved name gets when typed without one: that of the first
// pattern, when it is "*.ext"; "" otherwise. Points into text.
StringValue DefaultExtension(const char* text);
// Shows the form and handles events until it is hidden or closed; meanwhile
// the program's other forms that were shown take no input.
void ShowModal();

// The program's shown, enabled forms other than keep, disabled until
// GiveInputBack; what a dialog or a modal form does to the forms behind it.
struct TakenForms {
  HWND* windows;
  int32_t count;
  HWND active;
};
TakenForms TakeInputFromForms(HWND keep);
void GiveInputBack(const TakenForms& taken);
// The window a dialog belongs to: the program's active form, else its main form.
HWND DialogOwner();

// ---- the keyboard

// Tab and Shift+Tab move the focus among a form's controls, Enter clicks the
// focused push button or else the form's default button. Forms of the
// program only; message boxes and dialogs keep their own keys.
void EnableTabStops();
// The step of the message hook, on one retrieved message: true when the key
// was a form's and has been dealt with (the message is then changed).
bool HandleFormKey(MSG* message);

}  // namespace tessaric
