#include "file/file.h"

namespace tessaric {

StringValue FileReadText(FileRecord* record, int32_t count) {
  // No more than remains: a huge count must not ask for a huge block.
  int32_t remaining = record->data.length - record->data.position;
  if (count > remaining) count = remaining;
  if (count < 0) count = 0;
  StringDescriptor* slot = NextTempString();
  StrAlloc(slot, static_cast<uint32_t>(count));
  int32_t moved = FileTransfer(record, slot->text, count, kFileReadBytes);
  if (moved < 0) moved = 0;
  slot->position = slot->length = moved;
  slot->text[moved] = 0;
  return ValueOf(*slot);
}

uint32_t FileSaveString(const char* name, StringValue text) {
  // FileSaveText writes its record's (text, length).
  FileRecord source = {};
  source.data.text = const_cast<char*>(text.text);
  source.data.length = text.length;
  return FileSaveText(&source, name);
}

}  // namespace tessaric
