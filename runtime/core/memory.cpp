#include "core/strings.h"

namespace tessaric {

// Both work a word at a time; the loop-to-library-call transformation is off so
// that they never turn into calls of memcpy or memset.

__attribute__((optimize("no-tree-loop-distribute-patterns")))
void MemCopy(const void* source, void* destination, uint32_t count) {
  auto* s = static_cast<const uint8_t*>(source);
  auto* d = static_cast<uint8_t*>(destination);
  for (; count >= 4; count -= 4, s += 4, d += 4)
    *reinterpret_cast<uint32_t*>(d) = *reinterpret_cast<const uint32_t*>(s);
  while (count--) *d++ = *s++;
}

__attribute__((optimize("no-tree-loop-distribute-patterns")))
void MemFill(void* destination, uint32_t count, uint32_t value) {
  auto* d = static_cast<uint8_t*>(destination);
  uint32_t word = (value & 0xFF) * 0x01010101u;
  for (; count >= 32; count -= 32, d += 32)
    for (int i = 0; i < 32; i += 4) *reinterpret_cast<uint32_t*>(d + i) = word;
  for (; count >= 4; count -= 4, d += 4) *reinterpret_cast<uint32_t*>(d) = word;
  while (count--) *d++ = static_cast<uint8_t>(word);
}

}  // namespace tessaric
