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

// A block that fits is kept, unless it is far larger than the request: what a
// descriptor once held does not stay with it. Otherwise a new block takes its
// place (its contents are not needed), and the old one is freed only once the
// new one is there: when a request fails, the descriptor still names its old
// block while the fatal box is up, and handlers that the box's loop runs may
// go on using it.
void StrAlloc(StringDescriptor* desc, uint32_t size) {
  // The same test as CheckedRequest's: (size + 16) XOR 3 exceeds INT32_MAX
  // exactly when size + 16 reaches 2 GiB.
  if (size > kLongestText) FatalError(kInsufficientMemory);
  uint32_t request = static_cast<uint32_t>(BlockRequest(size));
  // Unsigned: a block smaller than the request (none at all, for a capacity
  // of 0) wraps round to 2^31 or more, since no request exceeds INT32_MAX.
  uint32_t spare = static_cast<uint32_t>(desc->capacity) - request;
  if (spare >= 0x80000000u || spare > request + kKeptBlock) {
    HGLOBAL old = desc->handle;
    AttachBlock(desc, GlobalAlloc(kBlockFlags, request));
    if (old != nullptr) GlobalFree(old);
  }
  desc->position = 0;
  desc->length = 0;
  *reinterpret_cast<uint32_t*>(desc->text) = 0;
}

// A descriptor without a block gets its first one.
void StrGrow(StringDescriptor* desc, uint32_t size) {
  // CheckedRequest((size + size / 4 + 16) ^ 3) in 32 bits: past this size
  // the request would exceed INT32_MAX.
  if (size > 0x66666659u) FatalError(kInsufficientMemory);
  uint32_t request = (size + (size >> 2) + 16) ^ 3;
  HGLOBAL block = desc->handle;
  AttachBlock(desc, block != nullptr ? GlobalReAlloc(block, request, kBlockMoveFlags) : GlobalAlloc(kBlockFlags, request));
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
  // An empty string without a block stays without one.
  if (desc->text != nullptr) desc->text[desc->position] = 0;
  return StringValue{desc->text, desc->position};
}

StringValue StrAssign(const char* source, StringDescriptor* desc, int32_t count) {
  desc->position = 0;
  desc->length = 0;
  return StrAppend(source, desc, count);
}

void StrRelease(StringDescriptor* desc) {
  // Small blocks stay attached for reuse, holding the empty text.
  if (desc->capacity > 256) {
    GlobalFree(desc->handle);
    desc->text = nullptr;
    desc->capacity = 0;
    desc->handle = nullptr;
  } else if (desc->text != nullptr) {
    *desc->text = 0;
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
