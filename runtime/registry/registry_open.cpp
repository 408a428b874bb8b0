#include "registry/registry.h"

namespace tessaric {

namespace {

// Full access to a key that open or create hands back.
constexpr REGSAM kCreateAccess = KEY_ALL_ACCESS | SYNCHRONIZE;
constexpr REGSAM kOpenAccess = KEY_READ | KEY_WRITE;

}  // namespace

RegistryBindingRecord RegistryBinding = {};
int32_t RegistryIndex = 0;

void RegistryClose(RegistryRecord* record) {
  if (record->KeyHandle != nullptr) RegCloseKey(record->KeyHandle);
  // Everything but the root: a closed record looks like the program's image.
  MemFill(&record->KeyHandle, sizeof(RegistryRecord) - sizeof(HKEY), 0);
}

void RegistryBind(RegistryRecord* record) {
  RegistryBinding.record = record;
  RegistryBinding.KeyHandle = record->KeyHandle;
}

int32_t RegistryOpen(RegistryRecord* record, const char* path, int32_t length, int32_t create) {
  // The registry reads a path up to its NUL; the program's path ends at its
  // length, so the registry gets a terminated copy of exactly those bytes.
  char key[kRegistryKeyPathSize];
  LONG result;
  for (;;) {
    RegistryClose(record);
    // The key path field could not hold it; refuse before touching the registry.
    if (static_cast<uint32_t>(length) >= kRegistryKeyPathSize) return record->error = kKeyPathTooLong;
    MemCopy(path, key, static_cast<uint32_t>(length));
    key[length] = 0;
    // The registry would read such a path only up to its NUL and so open
    // another key than the one the record names; no key's name holds a NUL.
    if (StrLength(key) != length) return record->error = ERROR_FILE_NOT_FOUND;
    if (create != kRegistryCreate) {
      result = RegOpenKeyExA(record->RootKey, key, 0, kOpenAccess, &record->KeyHandle);
      break;
    }
    char* keyClass = RegistryBinding.record != nullptr ? RegistryBinding.record->Class : nullptr;
    result = RegCreateKeyExA(record->RootKey, key, 0, keyClass, REG_OPTION_NON_VOLATILE, kCreateAccess, nullptr,
                             &record->KeyHandle, &record->DispositionOrIndex);
    if (result == ERROR_SUCCESS) break;
    // A key we may not create may still exist to be opened.
    record->KeyHandle = nullptr;
    create = 0;
  }
  if (result != ERROR_SUCCESS) {
    record->KeyHandle = nullptr;
    return record->error = result;
  }
  record->KeyPathLength = static_cast<uint32_t>(length);
  MemCopy(key, record->KeyPath, static_cast<uint32_t>(length));
  RegistryBind(record);
  record->ClassLength = kRegistryClassSize;
  return record->error = RegQueryInfoKeyA(record->KeyHandle, record->Class, &record->ClassLength, nullptr,
                                          &record->SubkeyCount, nullptr, nullptr, &record->ValueCount,
                                          nullptr, nullptr, nullptr, &record->LastWriteTime);
}

}  // namespace tessaric
