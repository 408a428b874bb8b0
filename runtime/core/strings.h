// Dynamic strings: descriptors over locked blocks of global memory, the ring
// of temporaries, and the plain copy and fill that the runtime uses.
#pragma once

#include <stdint.h>

namespace tessaric {

// A descriptor with no block (all zero, as an element of a STRING array
// starts) holds the empty string: an empty string takes no block.
struct StringDescriptor {
  char* text;        // locked address of the block; null while none is attached
  int32_t position;  // where the next append writes
  int32_t length;    // the string's extent; consumers read (text, length)
  int32_t capacity;  // usable block size as GlobalSize reported it
  void* handle;      // global-memory handle; 0 while no block is attached
};
static_assert(sizeof(StringDescriptor) == 20, "five 32-bit fields");

// How a string value travels: pointer to the first byte and length in bytes.
struct StringValue {
  const char* text;
  int32_t length;
};

// A string literal with its length fixed at build time.
template <int N>
constexpr StringValue Literal(const char (&text)[N]) {
  return StringValue{text, N - 1};
}

// Every block is allocated fixed and zero-filled (a moveable block would take
// one of at most 65,536 handles, which the strings of a large array would run
// out of), and a reallocation may move it.
constexpr uint32_t kBlockFlags = 0x0040;      // GMEM_FIXED | GMEM_ZEROINIT
constexpr uint32_t kBlockMoveFlags = 0x0042;  // GMEM_MOVEABLE | GMEM_ZEROINIT
// StrAlloc keeps a block for a new value only up to twice the request and
// this much more: what a descriptor (a temporary above all) once held does not
// stay with it.
constexpr uint32_t kKeptBlock = 65536;
// What program code passes to StrAlloc for a string variable.
constexpr uint32_t kVariableSize = 59;

// The longest text: StrAlloc ends the program with "Insufficient memory" for
// more, since the block for it would exceed INT32_MAX bytes.
constexpr uint32_t kLongestText = 0x7FFFFFEF;

// The block StrAlloc asks for, for size bytes: XOR, not OR, so 13 to 19 bytes
// more. Computed wide, so that no size wraps around.
constexpr uint64_t BlockRequest(uint64_t size) { return (size + 16) ^ 3; }

void StrAlloc(StringDescriptor* desc, uint32_t size);
void StrGrow(StringDescriptor* desc, uint32_t size);
StringValue StrAppend(const char* source, StringDescriptor* desc, int32_t count);
StringValue StrAssign(const char* source, StringDescriptor* desc, int32_t count);
// Empties the string; a block of more than 256 bytes is freed, a smaller one kept.
void StrRelease(StringDescriptor* desc);
void StrSyncLength(StringDescriptor* desc);
int32_t StrLength(const char* text);

inline StringValue StrAppend(StringValue value, StringDescriptor* desc) {
  return StrAppend(value.text, desc, value.length);
}
inline StringValue StrAssign(StringValue value, StringDescriptor* desc) {
  return StrAssign(value.text, desc, value.length);
}
inline StringValue ValueOf(const StringDescriptor& desc) {
  return StringValue{desc.text, desc.length};
}

// The ring of eight temporaries and its cursor (null before the first turn).
constexpr int kTempStringSlots = 8;
extern StringDescriptor TempStringRing[kTempStringSlots];
extern StringDescriptor* TempStringCursor;
StringDescriptor* NextTempString();
// An assignment of a temporary to a variable: a value that is the whole text of
// the concatenation accumulator or of the ring slot taken last, in a block
// larger than kKeptBlock, hands that block over instead of being copied (the
// temporary keeps the variable's old block only if it is a small one); any
// other value is copied as StrAssign copies it.
void StrAssignTemp(const char* text, StringDescriptor* variable, int32_t length);
inline void StrAssignTemp(StringValue value, StringDescriptor* variable) {
  StrAssignTemp(value.text, variable, value.length);
}

// The string instructions: the smallest code for both, and on current
// processors also the fastest for the short runs that strings mostly are.
// Windows calls and returns with the direction flag clear, so they go forward.
inline void MemCopy(const void* source, void* destination, uint32_t count) {
  asm volatile("rep movsb" : "+S"(source), "+D"(destination), "+c"(count) : : "memory");
}
// As MemCopy, for ranges that may overlap: the bytes arrive as if copied
// through a separate buffer (backward when the destination lies inside the source).
inline void MemMove(const void* source, void* destination, uint32_t count) {
  uintptr_t from = reinterpret_cast<uintptr_t>(source), to = reinterpret_cast<uintptr_t>(destination);
  if (to - from - 1 >= count) return MemCopy(source, destination, count);
  const char* last = static_cast<const char*>(source) + count - 1;
  char* lastTo = static_cast<char*>(destination) + count - 1;
  asm volatile("std\n\trep movsb\n\tcld" : "+S"(last), "+D"(lastTo), "+c"(count) : : "memory", "cc");
}
inline void MemFill(void* destination, uint32_t count, uint32_t value) {
  asm volatile("rep stosb" : "+D"(destination), "+c"(count) : "a"(value) : "memory");
}

}  // namespace tessaric
