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
  // A handle left open would deny this very open write access to its file.
  CloseOpened(record->FileHandle);
  // A memory copy still held is dropped without being written back. Its block
  // is left alone: the program may still hold the pair FileLoad handed out.
  record->data.handle = nullptr;
  record->data.text = nullptr;
  const OpenMode& how = OpenModeFor(mode);
  HANDLE file = OpenShared(name, how.access, how.creation, how.flags);
  record->FileHandle = file;
  record->data.length = record->data.capacity = static_cast<int32_t>(GetFileSize(file, nullptr));
  record->Mode = mode;
  record->data.position = 0;
  return file;
}

int32_t FileClose() {
  FileRecord* record = CurrentFile();
  if (record->FileHandle == nullptr) return 0;
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
