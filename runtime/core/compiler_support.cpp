// The few C library routines that GCC may emit calls to (structure copies and
// zero-initialisation) in a program without a C runtime.
#include <stddef.h>
#include <stdint.h>

extern "C" {

__attribute__((optimize("no-tree-loop-distribute-patterns")))
void* memcpy(void* destination, const void* source, size_t count) {
  auto* d = static_cast<unsigned char*>(destination);
  auto* s = static_cast<const unsigned char*>(source);
  while (count--) *d++ = *s++;
  return destination;
}

__attribute__((optimize("no-tree-loop-distribute-patterns")))
void* memset(void* destination, int value, size_t count) {
  auto* d = static_cast<unsigned char*>(destination);
  while (count--) *d++ = static_cast<unsigned char>(value);
  return destination;
}

}
