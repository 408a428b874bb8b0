// Files: whole-file reads and writes into strings, and open files worked
// through a record, on disk or on an in-memory copy written back at close.
#pragma once

#include "core/objects.h"
#include "core/program.h"
#include "core/strings.h"

namespace tessaric {

// An open file. The descriptor holds the memory copy and doubles as the file's
// bookkeeping: data.position is the offset of the next transfer, data.length
// the size, data.capacity the end mark that FileAtEnd compares with on disk
// (the block size once a write has grown a memory copy), and a nonzero
// data.handle means the record works on its memory copy, which ends at its size.
struct FileRecord {
  StringDescriptor data;
  HANDLE FileHandle;  // 0 while no file is open
  uint32_t Mode;      // as given to FileOpen
};
static_assert(sizeof(FileRecord) == 28, "seven 32-bit fields");
static_assert(__is_standard_layout(FileRecord), "plain record");
static_assert(__builtin_offsetof(FileRecord, data) == 0, "begins with its descriptor");
static_assert(__builtin_offsetof(FileRecord, FileHandle) == 20, "file handle is field 6");
static_assert(__builtin_offsetof(FileRecord, Mode) == 24, "mode is field 7");

// Open modes; any other value opens for reading and writing.
constexpr uint32_t kFileRead = 0;
constexpr uint32_t kFileWrite = 1;
constexpr uint32_t kFileReplace = 65535;

// Transfer directions.
constexpr int32_t kFileReadBytes = 0;
constexpr int32_t kFileWriteBytes = 1;

// The destination that compiled code hands to FileReadAll.
extern FileRecord FileTextBuffer;

// The whole file as a string (followed by a NUL); a missing file is created
// empty, a file that cannot be opened reads as the empty string.
StringValue FileReadAll(FileRecord* record, const char* name);
// Replaces the file with exactly the record's (text, length); bytes written.
uint32_t FileSaveText(FileRecord* record, const char* name);

// These act on the record at CurrentObject. Opening a record that is open
// closes it first, as FileClose does. A file of 2 GB or more is not opened:
// the record is left as after a failed open.
HANDLE FileOpen(const char* name, uint32_t mode);
int32_t FileClose();
uint32_t FileSeek(int32_t offset);
int32_t FileRefreshSize();
void FileWriteLine(const char* text, int32_t length);

// Acts on the record at QueryObject: 1 once the position reaches the end mark,
// or the size of a memory copy.
int32_t FileAtEnd();

// Bytes moved between buffer and file (or its memory copy); never past
// position 2147483647, the largest a position can be.
int32_t FileTransfer(FileRecord* record, void* buffer, int32_t count, int32_t direction);
// Reads the open file into its memory copy, which later transfers work on.
StringValue FileLoad(FileRecord* record);

inline FileRecord* CurrentFile() { return static_cast<FileRecord*>(CurrentObject); }
inline FileRecord* QueriedFile() { return static_cast<FileRecord*>(QueryObject); }

// The language's forms of the transfers: a string written, count bytes read
// into a new temporary (at most what remains of the file), a line written, a
// whole file replaced by a string.
inline int32_t FileWriteText(FileRecord* record, StringValue text) {
  return FileTransfer(record, const_cast<char*>(text.text), text.length, kFileWriteBytes);
}
StringValue FileReadText(FileRecord* record, int32_t count);
// The next line from the position, without its end (LF or CR LF), in a new
// temporary, and the position past that end; from the memory copy when there
// is one. At the end of the file: "", and the position stays.
StringValue FileReadLine(FileRecord* record);
inline void FileWriteLine(StringValue text) { FileWriteLine(text.text, text.length); }
uint32_t FileSaveString(const char* name, StringValue text);

// Every open shares read access only.
inline HANDLE OpenShared(const char* name, DWORD access, DWORD creation, DWORD flags) {
  return CreateFileA(name, access, FILE_SHARE_READ, nullptr, creation, flags, nullptr);
}

// A failed open leaves INVALID_HANDLE_VALUE behind: nothing to close then.
inline void CloseOpened(HANDLE file) {
  if (file != nullptr && file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

// A failed open reports INVALID_FILE_SIZE and a count may be negative: both
// move nothing.
inline uint32_t ByteCount(int32_t size) { return size > 0 ? static_cast<uint32_t>(size) : 0; }

// The size of a file whose end a position can reach: below 2 GB. -1 for no
// file, and for a file of 2 GB or more, which is never sized (or read, or
// opened) as if it were a small one.
inline int32_t FileSizeOf(HANDLE file) {
  DWORD high = 0;
  DWORD low = GetFileSize(file, &high);
  return high != 0 || low > 0x7FFFFFFFu ? -1 : static_cast<int32_t>(low);
}

}  // namespace tessaric
