// Timings of the runtime's hot paths, measured inside a Windows process.
#include <cstdio>

#include "core/numbers.h"
#include "core/program.h"
#include "core/strings.h"

using namespace tessaric;

namespace {

double Seconds() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

volatile int32_t Sink;

template <typename Body>
void Measure(const char* name, int iterations, Body body) {
  body(iterations / 10);  // warm up: blocks attached, caches filled
  double start = Seconds();
  body(iterations);
  double elapsed = Seconds() - start;
  std::printf("%-40s %10.1f ns/op\n", name, elapsed * 1e9 / iterations);
}

}  // namespace

int main() {
  ResetFpu();
  Measure("NumberToText signed", 1000000, [](int n) {
    for (int i = 0; i < n; ++i) Sink = SignedText(i - 500000).length;
  });
  Measure("NumberToText unsigned 4294967295", 1000000, [](int n) {
    for (int i = 0; i < n; ++i) Sink = UnsignedText(4294967295u).length;
  });
  Measure("NumberToText float (i / 7)", 200000, [](int n) {
    for (int i = 0; i < n; ++i) Sink = FloatText(static_cast<long double>(i) / 7).length;
  });
  Measure("StrAssign short literal", 2000000, [](int n) {
    static StringDescriptor variable = {};
    StrAlloc(&variable, kVariableSize);
    for (int i = 0; i < n; ++i) Sink = StrAssign(Literal("una fecha"), &variable).length;
  });
  Measure("StrAppend 10 bytes (growing string)", 2000000, [](int n) {
    static StringDescriptor grown = {};
    StrAlloc(&grown, kVariableSize);
    for (int i = 0; i < n; ++i) Sink = StrAppend("0123456789", &grown, 10).length;
    StrRelease(&grown);
  });
  Measure("concatenation of four pieces", 500000, [](int n) {
    for (int i = 0; i < n; ++i) {
      ConcatBegin();
      ConcatAppend(Literal("arg1 = "));
      ConcatAppend(SignedText(i));
      ConcatAppend(Literal("\r\n"));
      Sink = ConcatAppend(Literal("arg2 = ")).length;
    }
  });
  Measure("StrCompare 64 equal bytes", 2000000, [](int n) {
    static const char text[] = "0123456789012345678901234567890123456789012345678901234567890123";
    for (int i = 0; i < n; ++i) Sink = StrCompare(text, 64, text, 64);
  });
  return 0;
}
