// Arrays whose bounds are known only while the program runs: a dynamic array
// (DIM a() AS ..., then REDIM), and an array parameter, which refers to the
// caller's array, fixed or dynamic.
#pragma once

#include <stdint.h>

namespace tessaric {

constexpr int kArrayDimensions = 8;

struct ArrayBound {
  int32_t lower;
  int32_t count;  // elements along this dimension; 0 while the array is empty
};

struct ArrayRecord {
  void* data;      // the elements, the last index running fastest; null while empty
  void* block;     // a dynamic array's memory block; null for a fixed array's view
  int32_t dimensions;
  ArrayBound bounds[kArrayDimensions];
};

[[noreturn]] void ArrayIndexError();

// The place of an element from its indexes, each checked against its bounds
// (an index outside them ends the program with "Array index error  ").
inline int32_t ArrayOffset(const ArrayRecord* a, int32_t dimension, uint32_t offset) {
  (void)a;
  (void)dimension;
  return static_cast<int32_t>(offset);
}
template <typename... Rest>
inline int32_t ArrayOffset(const ArrayRecord* a, int32_t dimension, uint32_t offset, int32_t index, Rest... rest) {
  const ArrayBound& b = a->bounds[dimension];
  uint32_t at = static_cast<uint32_t>(index) - static_cast<uint32_t>(b.lower);
  if (at >= static_cast<uint32_t>(b.count)) ArrayIndexError();
  return ArrayOffset(a, dimension + 1, offset * static_cast<uint32_t>(b.count) + at, rest...);
}
template <typename T, typename... Indexes>
inline T& ArrayAt(const ArrayRecord* a, Indexes... indexes) {
  return static_cast<T*>(a->data)[ArrayOffset(a, 0, 0, indexes...)];
}

// What becomes of elements that go (at REDIM, or when a routine's array
// ends): the strings they hold are freed.
using ElementRelease = void (*)(void* elements, int32_t count);
void ReleaseStrings(void* elements, int32_t count);

// REDIM: bounds are the lower and upper bound of each dimension in turn. The
// new elements start as 0 and "". With preserve (one dimension) the elements
// that still fit keep their values; the others go. An array too large for
// memory ends the program with "Insufficient memory".
void ArrayRedim(ArrayRecord* a, int32_t elementSize, int32_t dimensions, const int32_t* bounds, bool preserve,
                ElementRelease release);

// LBOUND and UBOUND of a dimension counted from 1; a dimension the array does
// not have ends the program with "Array index error  ".
int32_t ArrayLower(const ArrayRecord* a, int32_t dimension);
int32_t ArrayUpper(const ArrayRecord* a, int32_t dimension);

// An array whose elements all go, and which is empty after: a routine's own
// dynamic array at the start of each call.
void ArrayErase(ArrayRecord* a, ElementRelease release);

// A dynamic array of one call of a recursive routine: its elements and block
// go when the call ends.
struct LocalArray : ArrayRecord {
  explicit LocalArray(ElementRelease release) : ArrayRecord{}, release_(release) {}
  ~LocalArray() { ArrayErase(this, release_); }
  LocalArray(const LocalArray&) = delete;
  LocalArray& operator=(const LocalArray&) = delete;

 private:
  ElementRelease release_;
};

// A record of one call of a recursive routine, whose strings go when the call
// ends (ReleaseRecord is the program's, one for each TYPE with strings).
template <typename T>
struct LocalRecord : T {
  LocalRecord() : T{} {}
  ~LocalRecord() { ReleaseRecord(static_cast<T*>(this)); }
  LocalRecord(const LocalRecord&) = delete;
  LocalRecord& operator=(const LocalRecord&) = delete;
};

}  // namespace tessaric
