#include "file/file.h"

namespace tessaric {

StringValue FileLoad(FileRecord* record) {
  StringDescriptor* copy = &record->data;
  if (copy->handle == nullptr) {
    uint32_t size = ByteCount(copy->length);
    StrAlloc(copy, size);
    DWORD read = 0;
    if (!ReadFile(record->FileHandle, copy->text, size, &read, nullptr)) read = 0;
    copy->length = copy->capacity = static_cast<int32_t>(read);
    copy->text[read] = 0;
  }
  return StringValue{copy->text, copy->length};
}

}  // namespace tessaric
