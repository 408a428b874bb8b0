// The window library's entry points and data that native code of window
// programs reaches, as entries.h lists the rest: each routine's mingw i686
// C++ symbol, the argument bytes the caller removes (cdecl), its result.
#pragma once

#include "entries.h"

namespace tbc {
namespace native {

// Start and end of a window program.
extern const RuntimeEntry kRegisterFormClass;          // (WNDCLASSEXA*, const char* icon)
extern const RuntimeEntry kRegisterExtendedFormClass;  // (WNDCLASSEXA*, const char* icon)
extern const RuntimeEntry kEnableTabStops;             // ()
extern const RuntimeEntry kRunMessageLoop;             // () -> the exit code
extern const RuntimeEntry kDoEvents;                   // ()

// Constructors, on CurrentObject.
extern const RuntimeEntry kCreateForm, kCreateButton, kCreateCheckBox, kCreateRadioButton, kCreateComboBox,
    kCreateEdit, kCreateMemo, kCreateRichEdit, kCreateLabel, kCreatePicture, kCreateListBox, kCreateFormStatusBar;
extern const RuntimeEntry kCreateMenuOn;  // (ObjectRecord* form, bool popup)
extern const RuntimeEntry kCreateMenuIn;  // (ObjectRecord* menu, bool popup)

// Properties and methods (on CurrentObject, reads on the query slot).
extern const RuntimeEntry kApplyGeometry, kMoveObjectWindow, kShowObject, kRefreshGeometry, kFocusObject,
    kCloseForm, kShowModal, kRepaintObject, kReportTextChanges;
extern const RuntimeEntry kShowWindowOf;      // ShowObject(HWND)
extern const RuntimeEntry kWriteCaption;      // (const char*)
extern const RuntimeEntry kGetText;           // () -> text
extern const RuntimeEntry kSelectedItemText;  // () -> text
extern const RuntimeEntry kItemText;          // (const ListText&, int32_t) -> text
extern const RuntimeEntry kWriteStyle;        // (uint32_t)
extern const RuntimeEntry kGetStyle;          // () -> uint32_t
extern const RuntimeEntry kSetBackColor, kSetRichBackColor, kSetRichTextColor, kSetFormBackColor;  // (COLORREF)
extern const RuntimeEntry kSetEditable, kSetChecked, kSetEnabled, kSetVisible, kSetDefaultButton;  // (int32_t)
extern const RuntimeEntry kReadEnabled, kReadVisible, kReadDefaultButton, kGetClientWidth, kGetClientHeight;  // () -> int32_t
extern const RuntimeEntry kSetObjectCursor;   // (const char*)
extern const RuntimeEntry kAskWindow;         // (UINT) -> int32_t
extern const RuntimeEntry kTellWindow;        // (UINT, WPARAM)
extern const RuntimeEntry kAddItem;           // (const ListControl&, const char*)
extern const RuntimeEntry kSetItemIndex;      // (const ListControl&, int32_t)
extern const RuntimeEntry kWriteFont;         // (FontPart, int32_t, const char*)
extern const RuntimeEntry kReadFontNumber;    // (FontPart) -> int32_t
extern const RuntimeEntry kReadFontName;      // () -> text
extern const RuntimeEntry kSetMenuEntryText;  // (const char*)
extern const RuntimeEntry kGetMenuEntryText;  // () -> text
extern const RuntimeEntry kWriteMenuFlag;     // (const MenuFlag&, int32_t)
extern const RuntimeEntry kReadMenuFlag;      // (const MenuFlag&) -> int32_t
extern const RuntimeEntry kUpdateTimer;       // (TimerObject*)
extern const RuntimeEntry kSetBitmapFile;     // (const ImageControl&, const char*)
extern const RuntimeEntry kInputBox;          // (prompt, title, initial) -> text
extern const RuntimeEntry kFileDialog;        // (FileDialogKind, const char* filter) -> text
extern const RuntimeEntry kApplySelection;    // (CHARRANGE*)
extern const RuntimeEntry kGetCurrentLine;    // (CHARRANGE*) -> int32_t

// Drawing on a form or a bitmap, through a DrawTarget (record, bitmap).
extern const RuntimeEntry kDrawCircle, kFillCircle;  // (target, x, y, radius, colour)
extern const RuntimeEntry kDrawBox;                  // (target, x1, y1, x2, y2, colour)
extern const RuntimeEntry kFloodFill;                // (target, x, y, fill, border)
extern const RuntimeEntry kTextWidth, kTextHeight;   // (target, text) -> int32_t
extern const RuntimeEntry kCopyBitmap;               // (target, x, y, const BitmapObject*)
extern const RuntimeEntry kCreateBitmapObject;       // (BitmapObject*)
extern const RuntimeEntry kDrawLine;                 // (target, x1, y1, x2, y2, colour)
extern const RuntimeEntry kSetPixelColour;           // (target, x, y, colour)
extern const RuntimeEntry kPixelColour;              // (target, x, y) -> int32_t
extern const RuntimeEntry kFillBox;                  // (target, x1, y1, x2, y2, colour)
extern const RuntimeEntry kDrawTextAt;               // (target, x, y, text, colour)
// WindowCanvas's constructor (ObjectRecord*) and destructor: thiscall, the
// canvas in ECX, the callee taking its argument.
extern const RuntimeEntry kWindowCanvasMake, kWindowCanvasEnd;

// Event values.
extern const RuntimeEntry kEventMouseX, kEventMouseY, kEventMouseButton, kEventKeyCode;  // () -> int32_t
extern const char* const kEventWindow;   // HWND
extern const char* const kEventMessage;  // UINT
extern const char* const kEventWParam;   // WPARAM
extern const char* const kEventLParam;   // LPARAM
extern const char* const kEventCode;     // int32_t

// System routines (stdcall, through the import table).
extern const char* const kMessageBoxA;  // user32
extern const char* const kSendMessageA;  // user32
extern const char* const kAllocConsole;  // kernel32
extern const char* const kSetConsoleTitleA;  // kernel32
extern const char* const kGetStdHandle;  // kernel32
extern const char* const kStdOutputHandle;  // HANDLE, of the runtime
extern const char* const kStdInputHandle;
extern const char* const kStdErrorHandle;

// Data of the window library.
extern const char* const kCurrentObject;        // void*
extern const char* const kQueryObject;          // void*
extern const char* const kWindowClassInfo;      // WNDCLASSEXA
extern const char* const kAppIconName;          // char[]
extern const char* const kHideClosedForm;       // int32_t (): the close handler of forms but the main one
extern const char* const kListBoxData;          // ListControl
extern const char* const kComboBoxData;         // ListControl
extern const char* const kListBoxTextData;      // ListText
extern const char* const kComboBoxTextData;     // ListText
extern const char* const kMenuCheckedData;      // MenuFlag
extern const char* const kMenuEnabledData;      // MenuFlag
extern const char* const kPictureImage;         // ImageControl
extern const char* const kButtonImage;          // ImageControl
// What the program defines for the library: its object table, the number of
// its record slots, and the generation it carries.
extern const char* const kObjectTable;            // ObjectRecord*[slots + 1]
extern const char* const kObjectTableRecordSlots;  // const int32_t
extern const char* const kGeneration;              // const GuiGeneration*
// The runtime's records of the generations, one of which Generation names.
extern const char* const kEarliestGenerationData;
extern const char* const kMiddleGenerationData;
extern const char* const kLatestGenerationData;
extern const char* const kLatestWithoutCaretScrollData;

}  // namespace native
}  // namespace tbc
