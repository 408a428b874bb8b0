#include "fpu/fpu.h"

namespace tessaric {

FpuHandler FpuErrorHandler = nullptr;

void FpuCheck() {
  uint16_t status;
  asm volatile("fwait\n\tfnstsw %0" : "=a"(status)::"memory");
  if ((status & kFpuExceptionFlags) != 0 && FpuErrorHandler != nullptr) FpuErrorHandler();
}

}  // namespace tessaric
