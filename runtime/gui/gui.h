// The GUI library: window creation, control constructors, properties, the
// window procedure with its event globals, and the message loop. Operations
// take no object: they act on CurrentObject (reads on QueryObject), which
// program code sets before every statement, because any call that reaches a
// window may run handlers that point it elsewhere.
#pragma once

#include <stdint.h>

#include "core/strings.h"
#include "gui/records.h"

#include <richedit.h>

namespace tessaric {

// Class names stored into ClassName, and the rich-edit library.
extern const char ButtonClass[];
extern const char ComboBoxClass[];
extern const char EditClass[];
extern const char ListBoxClass[];
extern const char RichEditClass[];
extern const char StaticClass[];
extern const char StatusBarClass[];
extern const char RichEditLibrary[];
// The icon every form class asks for; no program carries it.
extern const char AppIconName[];

// Window creation.
void RegisterFormClass(WNDCLASSEXA* classInfo, const char* iconName);
HWND CreateObjectWindow();
void CreateForm();
HWND CreateControl(const char* className, uint32_t style);
HWND UseDefaultParent(ObjectRecord* record);
ObjectRecord* FindObjectByWindow(HWND window);
// The same scan, never touching CurrentObject.
ObjectRecord* LookUpWindow(HWND window);
// Takes the next table slot; refused (false) when the records' slots are used up.
bool RegisterObject(ObjectRecord* record);
// CreateObjectWindow for a record held apart from CurrentObject.
HWND CreateWindowFor(ObjectRecord* record);

// Constructors.
void CreateButton();
void CreateCheckBox();
void CreateRadioButton();
void CreateComboBox();
void CreateEdit();
void CreateMemo();
void CreateRichEdit();
void CreateLabel();
void CreatePicture();
void CreateListBox();
void CreateStatusBar();
void CreateMultiLineEdit(const char* className);

// What the statement that constructs a rich edit sends to it afterwards.
constexpr UINT kRichEditSetupMessage = 0x048D;
constexpr LPARAM kRichEditSetupValue = 0x00130003;

// The two controls that show images. A style change keeps some bits and sets others.
struct StyleChange {
  uint32_t keep;
  uint32_t set;
  constexpr uint32_t Apply(uint32_t style) const { return (style & keep) | set; }
};
struct ImageControl {
  const char* className;
  uint32_t style;         // at creation
  UINT imageMessage;      // BM_SETIMAGE or STM_SETIMAGE
  StyleChange icon;       // when IconName is set
  StyleChange bitmap;     // when BitmapName is set
  StyleChange bitmapFile;
};
extern const ImageControl ButtonImage;
extern const ImageControl PictureImage;

// List boxes and combo boxes take the same writes through different messages.
struct ListControl {
  UINT addMessage;
  UINT selectMessage;
};
inline constexpr ListControl kListBox = {LB_ADDSTRING, LB_SETCURSEL};
inline constexpr ListControl kComboBox = {CB_ADDSTRING, CB_SETCURSEL};

// Library operations of properties and methods.
HICON LoadIconResource(const char* name);
HBITMAP LoadBitmapResource(const char* name);
void ApplyGeometry();
BOOL MoveObjectWindow();
void RefreshGeometry();
void ShowObject();
void ShowObject(HWND window);  // the earliest generation hands the window over
uint32_t SetStyle(uint32_t style);
void SetCaption(const char* text);
// SetWindowTextA with a copy of text that handlers cannot change meanwhile.
void SetWindowTextCopy(HWND window, const char* text);
StringValue GetText();

// Property writes and reads, one per kind of effect.
void WriteStyle(uint32_t style);          // the window's style and the record's
void WriteCaption(const char* text);      // the window's text, then the record's pointer
uint32_t GetStyle();                      // read back into the record
void SetEditable(int32_t editable);       // combo box: re-created with or without its edit field
void SetBackColor(COLORREF colour);       // a brush for the control-colour messages
void SetBackBrush(ObjectRecord* record, COLORREF colour);
void SetRichBackColor(COLORREF colour);
void SetRichTextColor(COLORREF colour);   // leaves the whole text selected
void SetObjectCursor(const char* name);   // a system cursor number or a resource name
void SetBitmapFile(const ImageControl& control, const char* fileName);
void AddItem(const ListControl& list, const char* text);
void SetItemIndex(const ListControl& list, int32_t index);
// Sends the rich edit's selection after the program changed cpMin or cpMax.
void ApplySelection(CHARRANGE* selection);
int32_t GetCurrentLine(CHARRANGE* selection);  // zero-based line of the selection start
int32_t GetClientHeight();
void FocusObject();

// Scratch data of the library.
extern RECT WindowRect;
extern int32_t FrameOffsetX;
extern int32_t FrameOffsetY;
// One 60-byte block used in turn by rich-edit colours, control colouring and
// drawing; nothing in it survives from one operation to the next.
extern uint32_t ScratchBuffer[15];
template <typename T>
T* ScratchAs() {
  static_assert(sizeof(T) <= sizeof ScratchBuffer, "fits the scratch block");
  return reinterpret_cast<T*>(ScratchBuffer);
}

// The window procedure and what handlers read.
LRESULT CALLBACK FormWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void SetEventGlobals(const ObjectRecord* object, UINT message, WPARAM wParam, LPARAM lParam);
extern HWND EventWindow;
extern UINT EventMessage;
extern WPARAM EventWParam;
extern LPARAM EventLParam;
extern int32_t EventCode;
// Where drawing goes: the running OnPaint's DC, a drawn item's DC, or a bitmap's.
extern HDC PaintDC;

// The message loop.
extern MSG CurrentMessage;
int32_t RunMessageLoop();
void ProcessPendingMessages();
void DispatchOneMessage();
// The DOEVENTS statement: the pump, and the program's end with the quit code
// when the pump met the quit message.
void DoEvents();

// The language's STATUSBAR: made on the form it is declared on and that
// form's status bar, kept along its bottom edge.
void CreateFormStatusBar();

}  // namespace tessaric
