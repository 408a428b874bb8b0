#include "system/system.h"

namespace tessaric {

long double ClockSeconds() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  long double seconds = static_cast<long double>(now.wHour * 3600 + now.wMinute * 60 + now.wSecond) +
                        static_cast<long double>(now.wMilliseconds) / 1000;
  // The thousandths are inexact, which a floating-point handler would take
  // for the error of whatever arithmetic came next.
  asm volatile("fnclex" : "+t"(seconds));
  return seconds;
}

}  // namespace tessaric
