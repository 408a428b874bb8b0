#include "file/file.h"

namespace tessaric {

FileRecord FileTextBuffer = {};

StringValue FileReadAll(FileRecord* record, const char* name) {
  HANDLE file = OpenShared(name, GENERIC_READ, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL);
  // A file that could not be opened reads as "". One too large for a text (2
  // GB and more give the size -1) is closed, and StrAlloc refuses its size with
  // "Insufficient memory", as for any text that large, rather than read a part.
  int32_t size = 0;
  if (file != INVALID_HANDLE_VALUE) {
    size = FileSizeOf(file);
    if (static_cast<uint32_t>(size) > kLongestText) CloseHandle(file);
  }
  StrAlloc(&record->data, static_cast<uint32_t>(size));
  // ReadFile sets the count to 0 before anything else, so a failed read reads nothing.
  DWORD read;
  ReadFile(file, record->data.text, static_cast<uint32_t>(size), &read, nullptr);
  // Closing INVALID_HANDLE_VALUE, the pseudo-handle of the process, does nothing.
  CloseHandle(file);
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
