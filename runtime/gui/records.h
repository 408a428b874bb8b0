// The static record of every form and control, the table that finds records
// again by index, and the globals that tie them together.
#pragma once

#include <stdint.h>

#include "core/objects.h"
#include "core/program.h"
#include "gui/generation.h"

namespace tessaric {

// A routine of the program without arguments. Only OnMessage's result is read:
// non-zero means the handler dealt with the message.
using EventHandler = int32_t (*)();

// One form or control. The record carries no kind tag: the constructor that a
// program calls decides what the object is. 0 means "not set" in every field.
struct ObjectRecord {
  uint32_t ExStyle;
  const char* ClassName;   // 0: the form class, filled in at creation
  const char* Caption;
  uint32_t Style;          // WS_CHILD marks a control
  int32_t Left;
  int32_t Top;
  int32_t Width;
  int32_t Height;
  HWND ParentWindow;       // parent of a control, owner of a later form
  int32_t ObjectIndex;     // slot in ObjectTable and the control identifier
  HWND WindowHandle;
  const char* IconName;    // resource name or number
  const char* BitmapName;  // resource name or number; a bitmap handle after BitmapFile
  HFONT Font;
  HWND StatusBarWindow;    // moved along on every resize of this form
  HMENU MenuHandle;        // only tested by RefreshGeometry of a control
  HBRUSH BackBrush;
  COLORREF TextColor;      // 0 = not set, so pure black cannot be chosen
  EventHandler OnCommand;
  EventHandler OnClose;
  EventHandler OnKeyDown;
  EventHandler OnKeyUp;
  EventHandler OnDoubleClick;
  EventHandler OnMouseDown;
  EventHandler OnMouseUp;
  EventHandler OnPaint;
  EventHandler OnResize;
  EventHandler OnShow;
  EventHandler OnMessage;
  EventHandler OnMouseMove;
};
static_assert(sizeof(ObjectRecord) == 120, "30 fields of 32 bits");
static_assert(__is_standard_layout(ObjectRecord), "plain record");
static_assert(__builtin_offsetof(ObjectRecord, Style) == 12, "record layout");
static_assert(__builtin_offsetof(ObjectRecord, ParentWindow) == 32, "record layout");
static_assert(__builtin_offsetof(ObjectRecord, ObjectIndex) == 36, "record layout");
static_assert(__builtin_offsetof(ObjectRecord, WindowHandle) == 40, "record layout");
static_assert(__builtin_offsetof(ObjectRecord, TextColor) == 68, "record layout");
static_assert(__builtin_offsetof(ObjectRecord, OnCommand) == 72, "record layout");
static_assert(__builtin_offsetof(ObjectRecord, OnMouseMove) == 116, "record layout");

constexpr uint32_t kOverlappedWindow = 0x00CF0000;

// What every record holds before any code runs; controls keep the geometry
// until the program moves them.
inline constexpr ObjectRecord kObjectImage = {
    0, nullptr, nullptr, kOverlappedWindow, 80, 80, 480, 320, nullptr, 0, nullptr, nullptr,
    nullptr, nullptr, nullptr, nullptr, nullptr, 0, nullptr, nullptr, nullptr, nullptr,
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};

// The close handler that the language gives every form but the main form
// until the program sets one of its own: the form hides, and can be shown
// again; the program ends when the main form closes.
int32_t HideClosedForm();

// What the record of such a form holds before any code runs.
inline constexpr ObjectRecord kOwnedFormImage = [] {
  ObjectRecord record = kObjectImage;
  record.OnClose = HideClosedForm;
  return record;
}();

// Defined by the program (TESSARIC_GUI): one slot per record it declares and a
// null slot after them that ends every scan and is never filled.
extern ObjectRecord* ObjectTable[];
extern const int32_t ObjectTableRecordSlots;
// The generation of the library that the program carries.
extern const GuiGeneration* Generation;

extern int32_t LastObjectIndex;    // highest index handed out; -1 before the first
extern HWND CurrentFormWindow;     // form created last: default parent of controls
extern HWND MainFormWindow;        // first form: owner of every later form
extern HFONT DefaultFont;          // sent to every window at creation
extern HICON AppIcon;
extern WNDCLASSEXA WindowClassInfo;

inline ObjectRecord* CurrentRecord() { return static_cast<ObjectRecord*>(CurrentObject); }

// Property reads act on QueryObject, or on CurrentObject in a generation where
// one pointer serves both.
inline void** QuerySlot() { return Generation->findSetsCurrent ? &CurrentObject : &QueryObject; }
inline ObjectRecord* QueryRecord() { return static_cast<ObjectRecord*>(*QuerySlot()); }

// The record at a table index; an index beyond the record slots (only messages
// that other programs post can carry one) finds nothing.
inline ObjectRecord* ObjectAt(uint32_t index) {
  return index < static_cast<uint32_t>(ObjectTableRecordSlots) ? ObjectTable[index] : nullptr;
}

}  // namespace tessaric

// Declares a GUI program's object table for recordCount records and the
// library generation it carries.
#define TESSARIC_GUI(recordCount, generation)                                   \
  namespace tessaric {                                                          \
  ObjectRecord* ObjectTable[(recordCount) + 1] = {};                            \
  extern const int32_t ObjectTableRecordSlots = (recordCount);                  \
  static constexpr GuiGeneration ProgramGeneration = (generation);              \
  const GuiGeneration* Generation = &ProgramGeneration;                         \
  }
