// The font of a form or control: its face, size in points and weight. Each
// object that is given a font gets one of its own, which the record keeps;
// the one it replaces was its own too and is deleted.
#include "gui/forms.h"

namespace tessaric {

namespace {

constexpr int32_t kLargestSize = 1000;

int ScreenDotsPerInch() {
  HDC screen = GetDC(nullptr);
  int dots = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dots;
}

// A font made here holds the size it was asked for, which is what it reads
// back, whatever size the system could give it; a stock font gives the
// height of its cell, leading included, so its size comes from its metrics.
int32_t PointsOf(HFONT font) {
  LOGFONTA description = {};
  GetObjectA(font, sizeof description, &description);
  if (description.lfHeight < 0) return MulDiv(-description.lfHeight, 72, ScreenDotsPerInch());
  HDC screen = GetDC(nullptr);
  HGDIOBJ old = SelectObject(screen, font);
  TEXTMETRICA metrics = {};
  GetTextMetricsA(screen, &metrics);
  SelectObject(screen, old);
  int dots = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return MulDiv(metrics.tmHeight - metrics.tmInternalLeading, 72, dots);
}

}  // namespace

void WriteFont(FontPart part, int32_t number, const char* name) {
  ObjectRecord* object = CurrentRecord();
  LOGFONTA font = {};
  // A form writes in the system font until now; its new font starts from
  // the one its controls have, which takes every size.
  GetObjectA(object->Font != nullptr ? object->Font : DefaultFont, sizeof font, &font);
  switch (part) {
    case kFontName: {
      uint32_t i = 0;
      for (; name[i] != 0 && i + 1 < sizeof font.lfFaceName; ++i) font.lfFaceName[i] = name[i];
      font.lfFaceName[i] = 0;
      break;
    }
    case kFontSize: {
      int32_t points = number < 1 ? 1 : number > kLargestSize ? kLargestSize : number;
      font.lfHeight = -MulDiv(points, ScreenDotsPerInch(), 72);
      font.lfWidth = 0;
      break;
    }
    case kFontBold:
      font.lfWeight = number != 0 ? FW_BOLD : FW_NORMAL;
      break;
  }
  HFONT made = CreateFontIndirectA(&font);
  if (made == nullptr) return;
  HFONT replaced = object->Font;
  object->Font = made;
  SendMessageA(object->WindowHandle, WM_SETFONT, reinterpret_cast<WPARAM>(made), TRUE);
  if (replaced != nullptr && replaced != DefaultFont) DeleteObject(replaced);
}

int32_t ReadFontNumber(FontPart part) {
  HFONT font = FontOf(QueryRecord());
  if (part == kFontSize) return PointsOf(font);
  LOGFONTA description = {};
  GetObjectA(font, sizeof description, &description);
  return description.lfWeight >= FW_SEMIBOLD ? 1 : 0;
}

StringValue ReadFontName() {
  LOGFONTA description = {};
  if (GetObjectA(FontOf(QueryRecord()), sizeof description, &description) == 0) return StringValue{EmptyText, 0};
  StringDescriptor* slot = NextTempString();
  int32_t length = StrLength(description.lfFaceName);
  StrAssign(description.lfFaceName, slot, length);
  return ValueOf(*slot);
}

}  // namespace tessaric
