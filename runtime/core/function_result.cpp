#include "core/numbers.h"

namespace tessaric {

void StoreResult(FunctionResult* record, long double number) {
  record->kind = kNumericResult;
  asm volatile("fstpt %0" : "=m"(*reinterpret_cast<uint8_t(*)[10]>(record->value)) : "t"(number) : "st");
}

void StoreResult(FunctionResult* record, uint16_t kind, StringValue text) {
  // The record holds the pair of the variable itself; no copy is made.
  record->kind = kind;
  *reinterpret_cast<StringValue*>(record->value) = text;
}

long double LoadNumberResult(const FunctionResult* record) {
  long double number;
  asm volatile("fldt %1" : "=t"(number) : "m"(*reinterpret_cast<const uint8_t(*)[10]>(record->value)));
  return number;
}

StringValue LoadStringResult(const FunctionResult* record) {
  return *reinterpret_cast<const StringValue*>(record->value);
}

}  // namespace tessaric
