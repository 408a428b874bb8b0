// Dynamic strings: descriptors over locked blocks of global memory, the ring
// of temporaries, and the plain copy and fill that the runtime uses.
#pragma once

#include <stdint.h>

namespace tessaric {

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

// Every block is allocated moveable, zero-filled and shared, and stays locked.
constexpr uint32_t kBlockFlags = 0x2042;
// What program code passes to StrAlloc for a string variable.
constexpr uint32_t kVariableSize = 59;

// The block StrAlloc asks for, for size bytes: XOR, not OR, so 13 to 19 bytes
// more. Computed wide, so that no size wraps around.
constexpr uint64_t BlockRequest(uint64_t size) { return (size + 16) ^ 3; }

void StrAlloc(StringDescriptor* desc, uint32_t size);
void StrGrow(StringDescriptor* desc, uint32_t size);
StringValue StrAppend(const char* source, StringDescriptor* desc, int32_t count);
StringValue StrAssign(const char* source, StringDescriptor* desc, int32_t count);
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

// The string instructions: the smallest code for both, and on current
// processors also the fastest for the short runs that strings mostly are.
// Windows calls and returns with the direction flag clear, so they go forward.
inline void MemCopy(const void* source, void* destination, uint32_t count) {
  asm volatile("rep movsb" : "+S"(source), "+D"(destination), "+c"(count) : : "memory");
}
inline void MemFill(void* destination, uint32_t count, uint32_t value) {
  asm volatile("rep stosb" : "+D"(destination), "+c"(count) : "a"(value) : "memory");
}

}  // namespace tessaric
