#include "core/numbers.h"

namespace tessaric {

// Divides by each power of ten from 10^9 down to 10; leading zeros are skipped
// but the last digit is always written.
void UnsignedToText(uint32_t value, char* buffer) {
  bool started = false;
  for (uint32_t power = 1000000000; power >= 10; power /= 10) {
    uint32_t digit = value / power;
    value %= power;
    if (digit != 0 || started) {
      *buffer++ = static_cast<char>('0' + digit);
      started = true;
    }
  }
  *buffer++ = static_cast<char>('0' + value);
  *buffer = 0;
}

void SignedToText(int32_t value, char* buffer) {
  uint32_t magnitude = static_cast<uint32_t>(value);
  if (value < 0) {
    *buffer++ = '-';
    magnitude = 0u - magnitude;  // -2147483648 becomes 2147483648
  }
  UnsignedToText(magnitude, buffer);
}

}  // namespace tessaric
