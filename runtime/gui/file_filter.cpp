// The filter text of OPENFILE$ and SAVEFILE$ as the file dialogs take it.
#include "gui/forms.h"

namespace tessaric {

// "Text files|*.txt|All files|*.*" gives the pairs as they stand; a text
// without "|" is a pattern that names itself; a name left without its
// pattern at the end is its own pattern too.
uint32_t FileDialogFilter(const char* text, char* out, uint32_t size) {
  if (text[0] == 0) return 0;
  uint32_t at = 0;
  auto put = [&](char c) {
    if (at < size - 2) out[at++] = c;
  };
  int32_t parts = 0;
  const char* lastPart = text;
  for (const char* c = text;; ++c) {
    if (*c == '|' || *c == 0) {
      put(0);
      ++parts;
      if (*c == 0) break;
      lastPart = c + 1;
    } else {
      put(*c);
    }
  }
  if (parts % 2 != 0) {
    for (const char* c = lastPart; *c != 0; ++c) put(*c);
    put(0);
  }
  // The last text's end, should it have been cut short, then the list's.
  if (at == 0 || out[at - 1] != 0) out[at++] = 0;
  out[at++] = 0;
  return at;
}

StringValue DefaultExtension(const char* text) {
  const char* pattern = text;
  for (const char* c = text; *c != 0; ++c)
    if (*c == '|') {
      pattern = c + 1;
      break;
    }
  if (pattern[0] != '*' || pattern[1] != '.') return StringValue{EmptyText, 0};
  const char* extension = pattern + 2;
  int32_t length = 0;
  for (; extension[length] != 0 && extension[length] != '|' && extension[length] != ';'; ++length)
    if (extension[length] == '*' || extension[length] == '?' || extension[length] == '.')
      return StringValue{EmptyText, 0};
  return StringValue{extension, length};
}

}  // namespace tessaric
