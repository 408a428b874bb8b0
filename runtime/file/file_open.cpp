#include "file/file.h"

namespace tessaric {

namespace {

struct OpenMode {
  DWORD access;
  DWORD creation;
  DWORD flags;
};

// Modes 0, 1 and 65535, then every other value.
constexpr OpenMode kOpenModes[4] = {
    {GENERIC_READ, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL},
    {GENERIC_WRITE, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL},
    {GENERIC_WRITE, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_RANDOM_ACCESS},
    {GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL},
};

const OpenMode& OpenModeFor(uint32_t mode) {
  if (mode <= kFileWrite) return kOpenModes[mode];
  return kOpenModes[mode == kFileReplace ? 2 : 3];
}

}  // namespace

HANDLE FileOpen(const char* name, uint32_t mode) {
  FileRecord* record = CurrentFile();
  // A record that is open is closed first, as Close does: its memory copy is
  // written back and its block freed, and its handle, which would deny this
  // very open write access to its file, is closed. (The compiler copies what
  // FileLoad handed out before anything that could come after it, so no
  // program still holds the pair.)
  FileClose();
  const OpenMode& how = OpenModeFor(mode);
  HANDLE file = OpenShared(name, how.access, how.creation, how.flags);
  // A file of 2 GB or more, whose end no position can reach, is refused.
  int32_t size = FileSizeOf(file);
  if (size < 0) {
    CloseOpened(file);
    file = INVALID_HANDLE_VALUE;
  }
  record->FileHandle = file;
  record->data.length = record->data.capacity = size;
  record->Mode = mode;
  record->data.position = 0;
  return file;
}

int32_t FileClose() {
  FileRecord* record = CurrentFile();
  // A memory copy loaded without an open file is freed all the same.
  if (record->FileHandle == nullptr && record->data.handle == nullptr) return 0;
  if (record->data.handle != nullptr) {
    // The copy overwrites the file from its start; a failed write-back is ignored.
    if (record->Mode != kFileRead) {
      FileSeek(0);
      DWORD written;
      WriteFile(record->FileHandle, record->data.text, ByteCount(record->data.length), &written, nullptr);
    }
    GlobalFree(record->data.handle);
  }
  CloseOpened(record->FileHandle);
  *record = FileRecord{};
  return 0;
}

}  // namespace tessaric
