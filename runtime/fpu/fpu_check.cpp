#include "fpu/fpu.h"

namespace tessaric {

FpuHandler FpuErrorHandler = nullptr;

namespace {

// The flags that called the handler stay set while it runs, and inexact
// results count, so the first check inside it would call it again.
bool HandlerRunning = false;

}  // namespace

void FpuCheck() {
  uint16_t status;
  asm volatile("fwait\n\tfnstsw %0" : "=a"(status)::"memory");
  if ((status & kFpuExceptionFlags) == 0 || FpuErrorHandler == nullptr || HandlerRunning) return;
  HandlerRunning = true;
  FpuErrorHandler();
  HandlerRunning = false;
}

}  // namespace tessaric
