#include "core/numbers.h"

namespace tessaric {

namespace {
// The two scratch integers that the operands are stored into.
int32_t LogicLeft, LogicRight;

void StoreOperands(long double left, long double right) {
  LogicLeft = RoundToInt32(left);
  LogicRight = RoundToInt32(right);
}
}  // namespace

int32_t RoundToInt32(long double number) {
  int32_t result;
  asm volatile("fistpl %0" : "=m"(result) : "t"(number) : "st");
  return result;
}

int32_t NumberAnd(long double left, long double right) {
  StoreOperands(left, right);
  return LogicLeft & LogicRight;
}

int32_t NumberOr(long double left, long double right) {
  StoreOperands(left, right);
  return LogicLeft | LogicRight;
}

int32_t NumberXor(long double left, long double right) {
  StoreOperands(left, right);
  return LogicLeft ^ LogicRight;
}

int32_t NumberNot(long double operand) {
  return RoundToInt32(operand) == 0 ? 1 : 0;
}

}  // namespace tessaric
