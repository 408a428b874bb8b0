// Images and cursors: resource loading and the bitmap-file property.
#include "gui/gui.h"

namespace tessaric {

namespace {

// A name below the bound is the number of one of the system's own resources;
// anything else is looked up in the program.
HINSTANCE ResourceModule(const char* name, uintptr_t systemBound) {
  return reinterpret_cast<uintptr_t>(name) < systemBound ? nullptr : InstanceHandle;
}

}  // namespace

// The program's own numbered icons therefore start at 32600, its bitmaps at 32768.
HICON LoadIconResource(const char* name) { return LoadIconA(ResourceModule(name, 32600), name); }

HBITMAP LoadBitmapResource(const char* name) {
  return LoadBitmapA(ResourceModule(name, 0x8000), name);
}

// The cursor belongs to the window class: every window of that class shows it.
void SetObjectCursor(const char* name) {
  HWND window = CurrentRecord()->WindowHandle;
  HCURSOR cursor = LoadCursorA(ResourceModule(name, 0x10000), name);
  SetClassLongA(window, GCL_HCURSOR, static_cast<LONG>(reinterpret_cast<uintptr_t>(cursor)));
}

void SetBitmapFile(const ImageControl& control, const char* fileName) {
  ObjectRecord* record = CurrentRecord();
  WriteStyle(control.bitmapFile.Apply(record->Style));
  HANDLE bitmap = LoadImageA(nullptr, fileName, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_VGACOLOR);
  // From here on the field holds a handle, not a name.
  record->BitmapName = static_cast<const char*>(bitmap);
  // Every bitmap a control of ours shows was loaded for it alone: the one it
  // hands back as replaced is deleted.
  DeleteObject(reinterpret_cast<HGDIOBJ>(
      SendMessageA(record->WindowHandle, control.imageMessage, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap))));
}

}  // namespace tessaric
