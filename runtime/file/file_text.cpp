#include "file/file.h"

namespace tessaric {

FileRecord FileTextBuffer = {};

StringValue FileReadAll(FileRecord* record, const char* name) {
  HANDLE file = OpenShared(name, GENERIC_READ, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL);
  uint32_t size = ByteCount(static_cast<int32_t>(GetFileSize(file, nullptr)));
  StrAlloc(&record->data, size);
  DWORD read = 0;
  if (!ReadFile(file, record->data.text, size, &read, nullptr)) read = 0;
  CloseOpened(file);
  record->FileHandle = nullptr;
  record->data.position = 0;
  record->data.length = record->data.capacity = static_cast<int32_t>(read);
  record->data.text[read] = 0;
  return StringValue{record->data.text, static_cast<int32_t>(read)};
}

uint32_t FileSaveText(FileRecord* record, const char* name) {
  HANDLE file = OpenShared(name, GENERIC_WRITE, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL);
  DWORD written = 0;
  if (!WriteFile(file, record->data.text, ByteCount(record->data.length), &written, nullptr))
    written = 0;
  CloseOpened(file);
  return written;
}

}  // namespace tessaric
