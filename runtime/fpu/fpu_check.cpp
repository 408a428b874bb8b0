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
  // The handler is code like any other, which starts from an empty register
  // stack; the interrupted statement's operands would be gone after the
  // handler's reset anyway. Freeing the registers keeps the flags and the
  // stack top as they are.
  asm volatile(
      "ffree %%st(0)\n\tffree %%st(1)\n\tffree %%st(2)\n\tffree %%st(3)\n\t"
      "ffree %%st(4)\n\tffree %%st(5)\n\tffree %%st(6)\n\tffree %%st(7)" ::: "memory");
  HandlerRunning = true;
  FpuErrorHandler();
  HandlerRunning = false;
}

}  // namespace tessaric
