#include "file/file.h"

namespace tessaric {

namespace {

// Only the bytes between the position and the size belong to the file, and the
// block may end soon after them: a longer read moves what remains.
int32_t ReadCopy(StringDescriptor* copy, void* buffer, int32_t count) {
  if (copy->position < 0) return 0;
  int32_t remaining = copy->length - copy->position;
  if (count > remaining) count = remaining;
  if (count <= 0) return 0;
  MemCopy(copy->text + copy->position, buffer, static_cast<uint32_t>(count));
  copy->position += count;
  return count;
}

// There is no block before the start of the copy to write into; the block
// grows, as StrAppend grows a string, for anything past its end (the bytes
// between stay zero). The bytes may be the copy's own (f.Write(f.Load)): they
// keep their place in the block when it moves, and go over themselves as if
// through a separate buffer.
int32_t WriteCopy(StringDescriptor* copy, const void* buffer, int32_t count) {
  if (copy->position < 0 || count <= 0) return 0;
  int32_t end = copy->position + count;  // FileTransfer keeps it a position
  uintptr_t offset = reinterpret_cast<uintptr_t>(buffer) - reinterpret_cast<uintptr_t>(copy->text);
  bool own = offset < static_cast<uint32_t>(copy->length);
  if (copy->capacity <= int64_t{end} + 1) StrGrow(copy, static_cast<uint32_t>((end + 129) ^ 3));
  MemMove(own ? copy->text + offset : buffer, copy->text + copy->position, static_cast<uint32_t>(count));
  copy->position = end;
  if (copy->length < end) {
    copy->length = end;
    copy->text[end] = 0;
  }
  return count;
}

}  // namespace

int32_t FileTransfer(FileRecord* record, void* buffer, int32_t count, int32_t direction) {
  StringDescriptor* copy = &record->data;
  // No transfer takes the position past 2147483647: a file never grows to a
  // size that its positions could not reach.
  if (copy->position >= 0 && count > INT32_MAX - copy->position) count = INT32_MAX - copy->position;
  if (copy->handle != nullptr)
    return direction != kFileReadBytes ? WriteCopy(copy, buffer, count) : ReadCopy(copy, buffer, count);

  DWORD moved = 0;
  BOOL done = direction != kFileReadBytes
                  ? WriteFile(record->FileHandle, buffer, ByteCount(count), &moved, nullptr)
                  : ReadFile(record->FileHandle, buffer, ByteCount(count), &moved, nullptr);
  if (!done) moved = 0;
  copy->position += static_cast<int32_t>(moved);
  // Only bytes written can grow the file: a write that moved nothing after a
  // seek past the end leaves it as it was.
  if (direction != kFileReadBytes && moved > 0 && copy->position > copy->length)
    copy->length = copy->capacity = copy->position;
  return static_cast<int32_t>(moved);
}

void FileWriteLine(const char* text, int32_t length) {
  FileRecord* record = CurrentFile();
  FileTransfer(record, const_cast<char*>(text), length, kFileWriteBytes);
  FileTransfer(record, const_cast<char*>(LineEnd), 2, kFileWriteBytes);
}

}  // namespace tessaric
