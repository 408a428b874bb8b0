#include "file/file.h"

namespace tessaric {

StringValue FileLoad(FileRecord* record) {
  StringDescriptor* copy = &record->data;
  if (copy->handle == nullptr) {
    uint32_t size = ByteCount(copy->length);
    StrAlloc(copy, size);
    // The copy is the whole file whatever was read before, since the close
    // writes it back over the file from its start.
    SetFilePointer(record->FileHandle, 0, nullptr, FILE_BEGIN);
    DWORD read = 0;
    if (!ReadFile(record->FileHandle, copy->text, size, &read, nullptr)) read = 0;
    copy->length = copy->capacity = static_cast<int32_t>(read);
    copy->text[read] = 0;
  }
  return StringValue{copy->text, copy->length};
}

}  // namespace tessaric
