#include "core/language.h"

namespace tessaric {

int32_t StrInstr(int32_t start, StringValue text, StringValue find) {
  if (start < 1) start = 1;
  // The last place where find still fits; an empty find is found where it is looked for.
  int64_t last = int64_t{text.length} - find.length + 1;
  for (int64_t at = start; at <= last; ++at) {
    int32_t i = 0;
    while (i < find.length && text.text[at - 1 + i] == find.text[i]) ++i;
    if (i == find.length) return static_cast<int32_t>(at);
  }
  return 0;
}

}  // namespace tessaric
