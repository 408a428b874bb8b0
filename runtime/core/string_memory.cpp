#include "core/program.h"
#include "core/strings.h"

namespace tessaric {

namespace {

constexpr uint32_t kInsufficientMemory = 2;

// Requests are computed wide: a size near 4 GiB must end in "Insufficient
// memory", never in a wrapped-around request for a block that is too small.
// Capacities are signed 32-bit, so no request may exceed INT32_MAX either.
uint32_t CheckedRequest(uint64_t request) {
  if (request > 0x7FFFFFFFu) FatalError(kInsufficientMemory);
  return static_cast<uint32_t>(request);
}

// After every (re)allocation the block is locked once and stays locked.
void AttachBlock(StringDescriptor* desc, HGLOBAL handle) {
  if (handle == nullptr) FatalError(kInsufficientMemory);
  desc->handle = handle;
  desc->capacity = static_cast<int32_t>(GlobalSize(handle));
  desc->text = static_cast<char*>(GlobalLock(handle));
}

}  // namespace

// A block that is too small is reallocated rather than freed first: when the
// request fails, the descriptor still names its old block while the fatal
// box is up, and handlers that the box's loop runs may go on using it.
void StrAlloc(StringDescriptor* desc, uint32_t size) {
  // The same test as CheckedRequest's: (size + 16) XOR 3 exceeds INT32_MAX
  // exactly when size + 16 reaches 2 GiB.
  if (size >= 0x7FFFFFF0u) FatalError(kInsufficientMemory);
  uint32_t request = static_cast<uint32_t>(BlockRequest(size));
  if (desc->handle == nullptr) {
    AttachBlock(desc, GlobalAlloc(kBlockFlags, request));
  } else if (static_cast<uint32_t>(desc->capacity) < request) {
    AttachBlock(desc, GlobalReAlloc(desc->handle, request, kBlockFlags));
  }
  desc->position = 0;
  desc->length = 0;
  *reinterpret_cast<uint32_t*>(desc->text) = 0;
}

void StrGrow(StringDescriptor* desc, uint32_t size) {
  uint32_t request = CheckedRequest((uint64_t{size} + (size >> 2) + 16) ^ 3);
  AttachBlock(desc, GlobalReAlloc(desc->handle, request, kBlockFlags));
}

StringValue StrAppend(const char* source, StringDescriptor* desc, int32_t count) {
  if (count > 0) {
    int64_t need = int64_t{desc->position} + count + 1;
    if (desc->capacity <= need) {
      // A source inside this very block (a string appended to itself) moves
      // with it: keep its offset and copy from the block's new address.
      uintptr_t offset = reinterpret_cast<uintptr_t>(source) - reinterpret_cast<uintptr_t>(desc->text);
      bool inside = desc->text != nullptr && offset < static_cast<uint32_t>(desc->capacity);
      StrGrow(desc, CheckedRequest((need + 128) ^ 3));
      if (inside) source = desc->text + offset;
    }
    MemCopy(source, desc->text + desc->position, static_cast<uint32_t>(count));
    desc->position += count;
  }
  if (desc->length < desc->position) desc->length = desc->position;
  desc->text[desc->position] = 0;
  return StringValue{desc->text, desc->position};
}

StringValue StrAssign(const char* source, StringDescriptor* desc, int32_t count) {
  desc->position = 0;
  desc->length = 0;
  return StrAppend(source, desc, count);
}

void StrRelease(StringDescriptor* desc) {
  // Small blocks stay attached for reuse.
  if (desc->capacity > 256) {
    GlobalFree(desc->handle);
    desc->text = nullptr;
    desc->capacity = 0;
    desc->handle = nullptr;
  }
  desc->position = 0;
  desc->length = 0;
}

void StrSyncLength(StringDescriptor* desc) {
  desc->position = desc->length = StrLength(desc->text);
}

int32_t StrLength(const char* text) {
  const char* end = text;
  while (*end) ++end;
  return static_cast<int32_t>(end - text);
}

}  // namespace tessaric
