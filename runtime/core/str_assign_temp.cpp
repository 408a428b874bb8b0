#include "core/numbers.h"

namespace tessaric {

// Copying would leave the accumulator or the slot holding a second copy of a
// large text until it is used again; the two descriptors trade blocks instead,
// and StrAlloc lets the variable's old block go unless it is a small one. (The
// compiler calls this only with a value that is the accumulator's or a ring
// slot's whole text, for a variable, which is neither.)
void StrAssignTemp(const char* text, StringDescriptor* variable, int32_t length) {
  StringDescriptor* holder = text == ConcatAccumulator.text ? &ConcatAccumulator : TempStringCursor;
  if (holder == nullptr || text != holder->text || static_cast<uint32_t>(holder->capacity) <= kKeptBlock) {
    StrAssign(text, variable, length);
    return;
  }
  uint32_t* a = reinterpret_cast<uint32_t*>(holder);
  uint32_t* b = reinterpret_cast<uint32_t*>(variable);
  for (uint32_t i = 0; i < sizeof(StringDescriptor) / 4; ++i) {
    uint32_t field = a[i];
    a[i] = b[i];
    b[i] = field;
  }
  StrAlloc(holder, 0);
}

}  // namespace tessaric
