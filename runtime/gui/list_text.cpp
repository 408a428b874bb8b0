// The text of one item of a list box or combo box.
#include "gui/forms.h"

namespace tessaric {

StringValue ItemText(const ListText& list, int32_t index) {
  HWND window = QueryRecord()->WindowHandle;
  // LB_ERR and CB_ERR, -1, for an index that names no item.
  LRESULT length = window == nullptr ? -1 : SendMessageA(window, list.length, static_cast<WPARAM>(index), 0);
  if (length <= 0) return StringValue{EmptyText, 0};
  StringDescriptor* slot = NextTempString();
  // The terminator and four spare bytes.
  StrAlloc(slot, static_cast<uint32_t>(length) + 5);
  LRESULT copied = SendMessageA(window, list.text, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(slot->text));
  slot->position = slot->length = copied < 0 || copied > length ? 0 : static_cast<int32_t>(copied);
  return ValueOf(*slot);
}

StringValue SelectedItemText() {
  return ItemText(kListBoxText, static_cast<int32_t>(SendMessageA(QueryRecord()->WindowHandle, LB_GETCURSEL, 0, 0)));
}

}  // namespace tessaric
