#include "file/file.h"

namespace tessaric {

namespace {

constexpr uint32_t kChunk = 512;

// From a memory copy: the bytes up to the next LF, where the copy's reads
// would take them, and no further than its size.
bool LineFromCopy(StringDescriptor* copy, StringDescriptor* line) {
  int32_t start = copy->position > 0 ? copy->position : 0;
  if (start >= copy->length) return false;
  const char* from = copy->text + start;
  const char* end = copy->text + copy->length;
  const char* stop = from;
  while (stop < end && *stop != '\n') ++stop;
  StrAppend(from, line, static_cast<int32_t>(stop - from));
  bool ended = stop < end;
  copy->position = static_cast<int32_t>(stop - copy->text) + (ended ? 1 : 0);
  return ended;
}

// From a file on disk: chunks read straight into the line, and the bytes read
// beyond its end handed back by moving the file pointer back over them.
bool LineFromDisk(FileRecord* record, StringDescriptor* line) {
  for (;;) {
    if (static_cast<uint32_t>(line->capacity - line->length) <= kChunk)
      StrGrow(line, static_cast<uint32_t>(line->length) + kChunk);
    DWORD read = 0;
    if (!ReadFile(record->FileHandle, line->text + line->length, kChunk, &read, nullptr) || read == 0) return false;
    const char* from = line->text + line->length;
    const char* stop = from;
    while (stop < from + read && *stop != '\n') ++stop;
    int32_t taken = static_cast<int32_t>(stop - from);
    line->length += taken;
    if (stop < from + read) {
      int32_t back = static_cast<int32_t>(read) - taken - 1;
      if (back > 0) SetFilePointer(record->FileHandle, -back, nullptr, FILE_CURRENT);
      record->data.position += taken + 1;
      return true;
    }
    record->data.position += taken;
  }
}

// From anything else (a pipe, a device): one byte at a time, since nothing
// read can be handed back.
bool LineFromStream(FileRecord* record, StringDescriptor* line) {
  for (;;) {
    char byte;
    DWORD read = 0;
    if (!ReadFile(record->FileHandle, &byte, 1, &read, nullptr) || read == 0) return false;
    ++record->data.position;
    if (byte == '\n') return true;
    StrAppend(&byte, line, 1);
  }
}

}  // namespace

StringValue FileReadLine(FileRecord* record) {
  StringDescriptor* line = NextTempString();
  StrAlloc(line, kVariableSize);
  bool ended;
  if (record->data.handle != nullptr) ended = LineFromCopy(&record->data, line);
  else if (GetFileType(record->FileHandle) == FILE_TYPE_DISK) ended = LineFromDisk(record, line);
  else ended = LineFromStream(record, line);
  // A CR before the LF belongs to the line end; a lone CR is part of the line.
  if (ended && line->length > 0 && line->text[line->length - 1] == '\r') --line->length;
  line->position = line->length;
  line->text[line->length] = 0;
  return ValueOf(*line);
}

}  // namespace tessaric
