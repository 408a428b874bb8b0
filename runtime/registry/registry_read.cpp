#include "core/objects.h"
#include "registry/registry.h"

namespace tessaric {

namespace {

RegistryRecord* Queried() { return static_cast<RegistryRecord*>(QueryObject); }

// A field read as text up to its first NUL, never past the field's end.
StringValue FieldText(const void* field, uint32_t size) {
  const char* text = static_cast<const char*>(field);
  uint32_t length = 0;
  while (length < size && text[length] != 0) ++length;
  return StringValue{text, static_cast<int32_t>(length)};
}

// The data bytes as counted by the last read. A value too large for the field
// leaves its full size in the count, so the count is held to the field.
StringValue DataBytes(const RegistryRecord* record) {
  uint32_t length = record->DataLength < kRegistryDataSize ? record->DataLength : kRegistryDataSize;
  return StringValue{reinterpret_cast<const char*>(record->Data), static_cast<int32_t>(length)};
}

}  // namespace

StringValue readstring(const char* path, int32_t length) {
  RegistryRecord* record = Queried();
  if (record->KeyHandle != nullptr) RegistryClose(record);
  if (RegistryOpen(record, path, length, 0) == ERROR_SUCCESS) {
    RegistryIndex = 0;
    RegistryBind(record);
    RegistryEnumValue();
  }
  return FieldText(record->Data, kRegistryDataSize);
}

StringValue RegistryClass() { return FieldText(Queried()->Class, kRegistryClassSize); }

StringValue RegistryName() { return FieldText(Queried()->Name, kRegistryNameSize); }

StringValue RegistryKeyPath() { return FieldText(Queried()->KeyPath, kRegistryKeyPathSize); }

StringValue RegistryValueData() { return DataBytes(Queried()); }

// The indexed reads give "" when there is no such entry (a negative index,
// one past the last, no key) or nothing was read: never what an earlier call
// left in the buffers. The record keeps what the enumeration's calls left.
StringValue RegistrySubkeyNameAt(int32_t index) {
  RegistryIndex = index;
  RegistryBind(Queried());
  int32_t result = RegistryEnumKey();
  // A class too long for its field still leaves the name read.
  if (index < 0 || (result != ERROR_SUCCESS && result != ERROR_MORE_DATA)) return StringValue{EmptyText, 0};
  return FieldText(Queried()->Name, kRegistryNameSize);
}

StringValue RegistryValueDataAt(int32_t index) {
  RegistryIndex = index;
  RegistryBind(Queried());
  // Data too large for its field is not read either.
  if (RegistryEnumValue() != ERROR_SUCCESS || index < 0) return StringValue{EmptyText, 0};
  return DataBytes(Queried());
}

int32_t RegistryQueryValue(const char* valueName) {
  RegistryRecord* record = RegistryBinding.record;
  if (record == nullptr || RegistryBinding.KeyHandle == nullptr) return 1;
  record->DataLength = kRegistryDataSize;
  LONG result = RegQueryValueExA(RegistryBinding.KeyHandle, valueName, nullptr, &record->ValueType,
                                 record->Data, &record->DataLength);
  return result == ERROR_SUCCESS ? 0 : 1;
}

}  // namespace tessaric
