// The floating-point error trap: a program-wide handler that program code runs
// by polling the x87 exception flags after each operation that computes a value.
// All exceptions stay masked, so the FPU itself never traps.
#pragma once

#include <stdint.h>

#include "core/program.h"

namespace tessaric {

// The handler routine, or 0 while none is set. The handler takes nothing,
// returns nothing, and ends with ResetFpu, which clears the flags and empties
// the register stack.
using FpuHandler = void (*)();
extern FpuHandler FpuErrorHandler;

// Exception flags of the status word: invalid, denormal, zero divide,
// overflow, underflow, precision and stack fault. An inexact result counts.
constexpr uint16_t kFpuExceptionFlags = 0x7F;

// Waits for the FPU, then calls the handler if any exception flag is set and
// the handler is not running already. Touches no x87 register unless it calls
// the handler, so it may run between the operations of a statement with
// operands still on the stack; the handler gets an empty register stack, the
// flags still set.
void FpuCheck();

}  // namespace tessaric
