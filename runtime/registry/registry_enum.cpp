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

// Walks entries 0 to RegistryIndex in turn (at least entry 0), so the buffers
// hold what the call for the asked index left.
int32_t Enumerate(EnumStep step) {
  RegistryRecord* record = RegistryBinding.record;
  // Nothing bound yet: there is no record to fill.
  if (record == nullptr) return ERROR_INVALID_HANDLE;
  record->DispositionOrIndex = static_cast<DWORD>(RegistryIndex);
  LONG result;
  DWORD i = 0;
  do {
    result = step(record, RegistryBinding.KeyHandle, i++);
  } while (--RegistryIndex >= 0);
  return record->error = result;
}

}  // namespace

int32_t RegistryEnumKey() { return Enumerate(EnumKeyStep); }

int32_t RegistryEnumValue() { return Enumerate(EnumValueStep); }

}  // namespace tessaric
