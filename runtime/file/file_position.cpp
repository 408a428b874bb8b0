#include "file/file.h"

namespace tessaric {

// A seek before the start goes to the start. Left before it, the position
// would never reach the end mark: in memory no read can move from there, and
// on disk the file pointer stays where it was while the position lags behind it.
uint32_t FileSeek(int32_t offset) {
  FileRecord* record = CurrentFile();
  if (offset < 0) offset = 0;
  record->data.position = offset;
  return SetFilePointer(record->FileHandle, offset, nullptr, FILE_BEGIN);
}

int32_t FileRefreshSize() {
  FileRecord* record = CurrentFile();
  int32_t size = FileSizeOf(record->FileHandle);
  // A memory copy keeps its own size: the disk's could lie beyond its block, or
  // cut off bytes that the write-back at close would then lose.
  if (record->data.handle == nullptr) record->data.length = record->data.capacity = size;
  return size;
}

int32_t FileAtEnd() {
  const StringDescriptor& copy = QueriedFile()->data;
  // A memory copy ends at its size, where its reads stop; its capacity is the
  // block size once a write has grown it. On disk the end mark counts.
  int32_t end = copy.handle != nullptr ? copy.length : copy.capacity;
  // The difference wraps as 32-bit numbers do: INVALID_FILE_SIZE reads as -1.
  int32_t left = static_cast<int32_t>(static_cast<uint32_t>(end) - static_cast<uint32_t>(copy.position));
  return left <= 0 ? 1 : 0;
}

}  // namespace tessaric
