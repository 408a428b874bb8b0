#include "core/language.h"

namespace tessaric {

int32_t StrInstrRev(StringValue text, StringValue find, int32_t start) {
  // The last place where find still fits; a start beyond it counts as it.
  int64_t last = int64_t{text.length} - find.length + 1;
  for (int64_t at = start < last ? start : last; at >= 1; --at) {
    int32_t i = 0;
    while (i < find.length && text.text[at - 1 + i] == find.text[i]) ++i;
    if (i == find.length) return static_cast<int32_t>(at);
  }
  return 0;
}

}  // namespace tessaric
