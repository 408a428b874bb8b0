// Menus on a form's bar. Every entry is a record of the object table; a
// picked item sends its form a WM_COMMAND whose identifier is the item's
// index + 1000, and FormWindowProc runs the item's OnCommand from there.
#include "gui/forms.h"

namespace tessaric {

namespace {

constexpr UINT kMenuIdentifierBase = 1000;

UINT CommandOf(const ObjectRecord* entry) { return kMenuIdentifierBase + static_cast<UINT>(entry->ObjectIndex); }

// The entry goes last in holder, with no text until its Caption is set.
void AddEntry(ObjectRecord* entry, HMENU holder, HWND form, bool popup) {
  if (entry->ObjectIndex == 0) RegisterObject(entry);
  entry->ParentWindow = form;
  MENUITEMINFOA item = {};
  item.cbSize = sizeof item;
  item.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STRING;
  item.fType = MFT_STRING;
  item.wID = CommandOf(entry);
  item.dwTypeData = const_cast<char*>(EmptyText);
  if (popup) {
    entry->MenuHandle = CreatePopupMenu();
    item.fMask |= MIIM_SUBMENU;
    item.hSubMenu = entry->MenuHandle;
  }
  InsertMenuItemA(holder, static_cast<UINT>(GetMenuItemCount(holder)), TRUE, &item);
  DrawMenuBar(form);
}

// Where the entry stands, found from the bar down: an item by its command,
// a popup by its menu.
bool FindEntry(HMENU menu, const ObjectRecord* entry, HMENU* holder, UINT* position) {
  int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    HMENU popup = GetSubMenu(menu, i);
    bool found = entry->MenuHandle != nullptr ? popup == entry->MenuHandle
                                              : popup == nullptr && GetMenuItemID(menu, i) == CommandOf(entry);
    if (found) {
      *holder = menu;
      *position = static_cast<UINT>(i);
      return true;
    }
    if (popup != nullptr && FindEntry(popup, entry, holder, position)) return true;
  }
  return false;
}

// The entry's item as the system holds it, with the parts mask asks for.
bool ReadEntry(const ObjectRecord* entry, MENUITEMINFOA* item, HMENU* holder, UINT* position) {
  HMENU bar = GetMenu(entry->ParentWindow);
  if (bar == nullptr || !FindEntry(bar, entry, holder, position)) return false;
  return GetMenuItemInfoA(*holder, *position, TRUE, item) != 0;
}

}  // namespace

// A form's bar is made at its first entry; the record's MenuHandle then holds it.
void CreateMenuOn(ObjectRecord* form, bool popup) {
  ObjectRecord* entry = CurrentRecord();
  HMENU bar = GetMenu(form->WindowHandle);
  if (bar == nullptr && form->WindowHandle != nullptr) {
    bar = CreateMenu();
    SetMenu(form->WindowHandle, bar);
  }
  form->MenuHandle = bar;
  AddEntry(entry, bar, form->WindowHandle, popup);
}

void CreateMenuIn(ObjectRecord* menu, bool popup) {
  AddEntry(CurrentRecord(), menu->MenuHandle, menu->ParentWindow, popup);
}

void SetMenuEntryText(const char* text) {
  ObjectRecord* entry = CurrentRecord();
  entry->Caption = text;
  MENUITEMINFOA item = {};
  item.cbSize = sizeof item;
  HMENU holder;
  UINT position;
  if (!ReadEntry(entry, &item, &holder, &position)) return;
  item.fMask = MIIM_FTYPE | MIIM_STRING;
  item.fType = text[0] == '-' && text[1] == 0 ? MFT_SEPARATOR : MFT_STRING;
  item.dwTypeData = const_cast<char*>(text);
  SetMenuItemInfoA(holder, position, TRUE, &item);
  DrawMenuBar(entry->ParentWindow);
}

StringValue GetMenuEntryText() {
  const ObjectRecord* entry = QueryRecord();
  MENUITEMINFOA item = {};
  item.cbSize = sizeof item;
  item.fMask = MIIM_FTYPE | MIIM_STRING;
  HMENU holder;
  UINT position;
  if (!ReadEntry(entry, &item, &holder, &position)) return StringValue{EmptyText, 0};
  if ((item.fType & MFT_SEPARATOR) != 0) return Literal("-");
  if (item.cch == 0) return StringValue{EmptyText, 0};
  StringDescriptor* slot = NextTempString();
  StrAlloc(slot, item.cch + 5);
  item.dwTypeData = slot->text;
  item.cch += 1;
  GetMenuItemInfoA(holder, position, TRUE, &item);
  slot->position = slot->length = StrLength(slot->text);
  return ValueOf(*slot);
}

void WriteMenuFlag(const MenuFlag& flag, int32_t value) {
  ObjectRecord* entry = CurrentRecord();
  MENUITEMINFOA item = {};
  item.cbSize = sizeof item;
  item.fMask = MIIM_STATE;
  HMENU holder;
  UINT position;
  if (!ReadEntry(entry, &item, &holder, &position)) return;
  bool set = (value != 0) == (flag.whenSet != 0);
  item.fState = set ? item.fState | flag.bits : item.fState & ~flag.bits;
  SetMenuItemInfoA(holder, position, TRUE, &item);
  DrawMenuBar(entry->ParentWindow);
}

int32_t ReadMenuFlag(const MenuFlag& flag) {
  MENUITEMINFOA item = {};
  item.cbSize = sizeof item;
  item.fMask = MIIM_STATE;
  HMENU holder;
  UINT position;
  // An entry that cannot be found reads as if the bit were clear.
  bool set = ReadEntry(QueryRecord(), &item, &holder, &position) && (item.fState & flag.bits) != 0;
  return set ? flag.whenSet : 1 - flag.whenSet;
}

}  // namespace tessaric
