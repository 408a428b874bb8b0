// The registry object: a record bound to a key under a fixed root, with open,
// counts, enumeration by index and value reads. Read-side only; all text and
// data live in the record's own buffers.
#pragma once

#include <stdint.h>

#include "core/program.h"
#include "core/strings.h"

namespace tessaric {

constexpr uint32_t kRegistryClassSize = 44;
constexpr uint32_t kRegistryKeyPathSize = 256;
constexpr uint32_t kRegistryNameSize = 256;
constexpr uint32_t kRegistryDataSize = 256;

// A program declares one as {root}: everything else starts cleared.
struct RegistryRecord {
  HKEY RootKey;                   // set in the program's image; never cleared
  HKEY KeyHandle = nullptr;       // 0 while no key is open
  int32_t error = 0;              // result code of the last call that stores one
  // After a create: 1 new key, 2 existing key; after an enumeration: the index asked for.
  DWORD DispositionOrIndex = 0;
  DWORD SubkeyCount = 0;
  DWORD ValueCount = 0;
  DWORD ClassLength = 0;          // in/out for Class
  DWORD KeyPathLength = 0;
  DWORD NameLength = 0;           // in/out for Name
  DWORD DataLength = 0;           // in/out for Data; afterwards the number of data bytes
  DWORD ValueType = 0;            // REG_* type of the value read last
  char Class[kRegistryClassSize] = {};
  char KeyPath[kRegistryKeyPathSize] = {};
  char Name[kRegistryNameSize] = {};
  uint8_t Data[kRegistryDataSize] = {};
  FILETIME LastWriteTime = {};
};
static_assert(sizeof(RegistryRecord) == 864, "registry record layout");
static_assert(__builtin_offsetof(RegistryRecord, error) == 8, "registry record layout");
static_assert(__builtin_offsetof(RegistryRecord, ValueType) == 40, "registry record layout");
static_assert(__builtin_offsetof(RegistryRecord, Class) == 44, "registry record layout");
static_assert(__builtin_offsetof(RegistryRecord, KeyPath) == 88, "registry record layout");
static_assert(__builtin_offsetof(RegistryRecord, Name) == 344, "registry record layout");
static_assert(__builtin_offsetof(RegistryRecord, Data) == 600, "registry record layout");
static_assert(__builtin_offsetof(RegistryRecord, LastWriteTime) == 856, "registry record layout");

// The record that enumerations and RegistryQueryValue act on, with the key
// handle it had when it was bound. Closing the record leaves the binding, so a
// stale handle makes those calls fail with ERROR_INVALID_HANDLE.
struct RegistryBindingRecord {
  RegistryRecord* record;
  HKEY KeyHandle;
};
extern RegistryBindingRecord RegistryBinding;

// The index that the next enumeration is to reach.
extern int32_t RegistryIndex;

// What a failed create falls back to, and what refuses a key path that does
// not fit the record's field.
constexpr int32_t kRegistryCreate = 1;
constexpr int32_t kKeyPathTooLong = ERROR_FILENAME_EXCED_RANGE;

int32_t RegistryOpen(RegistryRecord* record, const char* path, int32_t length, int32_t create);
inline int32_t RegistryOpen(RegistryRecord* record, StringValue path, int32_t create) {
  return RegistryOpen(record, path.text, path.length, create);
}
void RegistryClose(RegistryRecord* record);
void RegistryBind(RegistryRecord* record);
int32_t RegistryEnumKey();
int32_t RegistryEnumValue();
int32_t RegistryQueryValue(const char* valueName);

// Reads of the record at QueryObject.
StringValue readstring(const char* path, int32_t length);
inline StringValue readstring(StringValue path) { return readstring(path.text, path.length); }
StringValue RegistryClass();
StringValue RegistrySubkeyNameAt(int32_t index);
StringValue RegistryName();
StringValue RegistryKeyPath();
StringValue RegistryValueData();
StringValue RegistryValueDataAt(int32_t index);

}  // namespace tessaric
