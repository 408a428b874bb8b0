#include "core/language.h"
#include "core/statements.h"

namespace tessaric {

namespace {

int32_t NextItem = 0;

const DataItem& TakeItem() {
  if (NextItem >= ProgramDataCount) RunError(kOutOfData);
  return ProgramData[NextItem++];
}

}  // namespace

StringValue ReadDataText() {
  const DataItem& item = TakeItem();
  return {item.text, item.length};
}

long double ReadDataNumber() {
  const DataItem& item = TakeItem();
  return TextToNumber({item.text, item.length});
}

void RestoreData(int32_t item) { NextItem = item; }

}  // namespace tessaric
