// Rich-edit colours and selection, carried only by messages.
#include "gui/gui.h"

namespace tessaric {

void SetRichBackColor(COLORREF colour) {
  ObjectRecord* record = CurrentRecord();
  SendMessageA(record->WindowHandle, EM_SETBKGNDCOLOR, 0, colour & 0x00FFFFFF);
  SetBackBrush(record, colour);
}

// Colours the whole text, which stays selected afterwards.
void SetRichTextColor(COLORREF colour) {
  ObjectRecord* record = CurrentRecord();
  CHARRANGE* all = ScratchAs<CHARRANGE>();
  all->cpMin = 0;
  all->cpMax = -1;
  SendMessageA(record->WindowHandle, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(all));
  CHARFORMATA* format = ScratchAs<CHARFORMATA>();
  MemFill(format, sizeof ScratchBuffer, 0);
  format->cbSize = sizeof ScratchBuffer;
  format->dwMask = CFM_COLOR;
  format->crTextColor = colour;
  SendMessageA(record->WindowHandle, EM_SETCHARFORMAT, SCF_SELECTION | SCF_WORD,
               reinterpret_cast<LPARAM>(format));
  record->TextColor = colour;
}

void ApplySelection(CHARRANGE* selection) {
  HWND window = CurrentRecord()->WindowHandle;
  SendMessageA(window, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(selection));
  if (Generation->selectionScrollsCaret) SendMessageA(window, EM_SCROLLCARET, 0, 0);
}

int32_t GetCurrentLine(CHARRANGE* selection) {
  HWND window = QueryRecord()->WindowHandle;
  SendMessageA(window, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(selection));
  return static_cast<int32_t>(SendMessageA(window, EM_EXLINEFROMCHAR, 0, selection->cpMin));
}

}  // namespace tessaric
