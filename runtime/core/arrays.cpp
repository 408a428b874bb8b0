#include "core/arrays.h"

#include "core/program.h"
#include "core/strings.h"

namespace tessaric {

namespace {

constexpr uint32_t kInsufficientMemory = 2;
constexpr uint32_t kZeroedFixed = 0x0040;  // GMEM_FIXED | GMEM_ZEROINIT

int32_t ElementCount(const ArrayRecord* a) {
  if (a->dimensions == 0) return 0;
  int32_t n = 1;
  for (int32_t k = 0; k < a->dimensions; ++k) n *= a->bounds[k].count;
  return n;
}

void ReleaseAll(ArrayRecord* a, int32_t elementSize, ElementRelease release) {
  if (release != nullptr && a->data != nullptr) release(a->data, ElementCount(a));
  if (a->block != nullptr) GlobalFree(a->block);
  a->data = nullptr;
  a->block = nullptr;
  (void)elementSize;
}

}  // namespace

void ReleaseStrings(void* elements, int32_t count) {
  StringDescriptor* s = static_cast<StringDescriptor*>(elements);
  for (int32_t i = 0; i < count; ++i) {
    if (s[i].handle != nullptr) GlobalFree(s[i].handle);
    s[i] = StringDescriptor{};
  }
}

void ArrayRedim(ArrayRecord* a, int32_t elementSize, int32_t dimensions, const int32_t* bounds, bool preserve,
                ElementRelease release) {
  // The sizes are computed wide: an array beyond memory ends the program,
  // never wraps round to a small one.
  ArrayRecord next = {};
  next.dimensions = dimensions;
  uint64_t elements = 1;
  for (int32_t k = 0; k < dimensions; ++k) {
    int64_t count = int64_t{bounds[2 * k + 1]} - bounds[2 * k] + 1;
    if (count < 0) count = 0;
    next.bounds[k] = {bounds[2 * k], static_cast<int32_t>(count > 0x7FFFFFFF ? 0x7FFFFFFF : count)};
    elements *= static_cast<uint64_t>(count);
    if (elements > 0x7FFFFFFFu) FatalError(kInsufficientMemory);
  }
  uint64_t bytes = elements * static_cast<uint32_t>(elementSize);
  if (bytes > 0x7FFFFFFFu) FatalError(kInsufficientMemory);
  if (bytes > 0) {
    next.block = GlobalAlloc(kZeroedFixed, static_cast<SIZE_T>(bytes));
    if (next.block == nullptr) FatalError(kInsufficientMemory);
    next.data = next.block;
  }
  if (preserve && a->data != nullptr && next.data != nullptr) {
    // One dimension: the elements that still fit move over, the rest go.
    int32_t old = ElementCount(a);
    int32_t kept = old < static_cast<int32_t>(elements) ? old : static_cast<int32_t>(elements);
    MemCopy(a->data, next.data, static_cast<uint32_t>(kept) * static_cast<uint32_t>(elementSize));
    if (release != nullptr && old > kept)
      release(static_cast<char*>(a->data) + static_cast<uint32_t>(kept) * static_cast<uint32_t>(elementSize), old - kept);
    if (a->block != nullptr) GlobalFree(a->block);
  } else {
    ReleaseAll(a, elementSize, release);
  }
  *a = next;
}

int32_t ArrayLower(const ArrayRecord* a, int32_t dimension) {
  if (dimension < 1 || dimension > a->dimensions) ArrayIndexError();
  return a->bounds[dimension - 1].lower;
}

int32_t ArrayUpper(const ArrayRecord* a, int32_t dimension) {
  if (dimension < 1 || dimension > a->dimensions) ArrayIndexError();
  const ArrayBound& b = a->bounds[dimension - 1];
  return static_cast<int32_t>(int64_t{b.lower} + b.count - 1);
}

void ArrayErase(ArrayRecord* a, ElementRelease release) {
  ReleaseAll(a, 0, release);
  *a = ArrayRecord{};
}

}  // namespace tessaric
