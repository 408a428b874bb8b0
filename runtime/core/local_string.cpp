#include "core/program.h"
#include "core/statements.h"

namespace tessaric {

void StrFree(StringDescriptor* desc) {
  if (desc->handle != nullptr) GlobalFree(desc->handle);
  *desc = StringDescriptor{};
}

StringValue StrHandOver(StringDescriptor* from) {
  StringDescriptor* slot = NextTempString();
  StrFree(slot);
  *slot = *from;
  *from = StringDescriptor{};
  return ValueOf(*slot);
}

}  // namespace tessaric
