#include "registry/registry.h"

namespace tessaric {

namespace {

// One enumeration call for entry i of the bound key.
using EnumStep = LONG (*)(RegistryRecord* record, HKEY key, DWORD i);

LONG EnumKeyStep(RegistryRecord* record, HKEY key, DWORD i) {
  record->ClassLength = kRegistryClassSize;
  record->NameLength = kRegistryNameSize;
  return RegEnumKeyExA(key, i, record->Name, &record->NameLength, nullptr, record->Class, &record->ClassLength,
                       &record->LastWriteTime);
}

LONG EnumValueStep(RegistryRecord* record, HKEY key, DWORD i) {
  record->NameLength = kRegistryNameSize;
  record->DataLength = kRegistryDataSize;
  return RegEnumValueA(key, i, record->Name, &record->NameLength, nullptr, &record->ValueType, record->Data,
                       &record->DataLength);
}

// Where the counting-down loop leaves RegistryIndex: -1 after a non-negative
// index, else one below the index, which cannot go below the smallest.
int32_t IndexAfterLoop(int32_t index) {
  if (index >= 0) return -1;
  return index == INT32_MIN ? index : index - 1;
}

// Walks entries 0 to RegistryIndex in turn (at least entry 0), so the buffers
// hold what the call for the asked index left. Past the last entry every call
// reports ERROR_NO_MORE_ITEMS, and through a closed or missing key every call
// reports ERROR_INVALID_HANDLE, each writing nothing: the walk stops at the
// first such call and leaves everything as the remaining calls would.
int32_t Enumerate(EnumStep step) {
  RegistryRecord* record = RegistryBinding.record;
  // Nothing bound yet: there is no record to fill.
  if (record == nullptr) return ERROR_INVALID_HANDLE;
  int32_t index = RegistryIndex;
  record->DispositionOrIndex = static_cast<DWORD>(index);
  LONG result;
  DWORD i = 0;
  do {
    result = step(record, RegistryBinding.KeyHandle, i);
  } while (result != ERROR_NO_MORE_ITEMS && result != ERROR_INVALID_HANDLE && index >= 0 && i++ < static_cast<DWORD>(index));
  RegistryIndex = IndexAfterLoop(index);
  return record->error = result;
}

}  // namespace

int32_t RegistryEnumKey() { return Enumerate(EnumKeyStep); }

int32_t RegistryEnumValue() { return Enumerate(EnumValueStep); }

}  // namespace tessaric
