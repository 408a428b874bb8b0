// Position, size and showing.
#include "gui/gui.h"

namespace tessaric {

// Programs call this after every single geometry write.
void ApplyGeometry() {
  const ObjectRecord* record = CurrentRecord();
  if (record->WindowHandle == nullptr) return;
  SetWindowPos(record->WindowHandle, nullptr, record->Left, record->Top, record->Width, record->Height,
               SWP_NOZORDER);
}

BOOL MoveObjectWindow() {
  const ObjectRecord* record = CurrentRecord();
  return MoveWindow(record->WindowHandle, record->Left, record->Top, record->Width, record->Height, TRUE);
}

// Reads the window's rectangle back. A control's position comes out in its
// parent's client coordinates only for a parent with a sizing frame and a caption.
void RefreshGeometry() {
  ObjectRecord* record = QueryRecord();
  FrameOffsetX = 0;
  FrameOffsetY = 0;
  if ((record->Style & WS_CHILD) != 0 && GetWindowRect(record->ParentWindow, &WindowRect)) {
    FrameOffsetX = WindowRect.left + GetSystemMetrics(SM_CXFRAME);
    FrameOffsetY = WindowRect.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION);
    if (record->MenuHandle != nullptr) FrameOffsetY += GetSystemMetrics(SM_CYMENU);
  }
  if (record->WindowHandle == nullptr || !GetWindowRect(record->WindowHandle, &WindowRect)) return;
  record->Left = WindowRect.left - FrameOffsetX;
  record->Top = WindowRect.top - FrameOffsetY;
  record->Width = WindowRect.right - WindowRect.left;
  record->Height = WindowRect.bottom - WindowRect.top;
}

void ShowObject(HWND window) {
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
}

void ShowObject() { ShowObject(CurrentRecord()->WindowHandle); }

// Without a window the rectangle would still hold another window's.
int32_t GetClientHeight() {
  return GetClientRect(QueryRecord()->WindowHandle, &WindowRect) ? WindowRect.bottom : 0;
}

}  // namespace tessaric
