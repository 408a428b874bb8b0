// The runtime's hot paths beside peers doing the same work in the same process
// and run: the C runtime's own formatting (msvcrt.dll's, bound at run time) and
// the C++ library. Every figure is the best of several repetitions, runtime and
// peers taking turns.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/numbers.h"
#include "core/program.h"
#include "core/strings.h"

using namespace tessaric;

namespace {

constexpr int kRepetitions = 7;

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

// Takes a peer's text as used, so that the compiler keeps the writes that made it.
int32_t Keep(const char* text, int32_t length) {
  asm volatile("" : : "r"(text) : "memory");
  return length;
}

using Body = void (*)(int n);

struct Peer {
  const char* name;
  Body body;
};

// One hot path: the runtime's way and its peers, each timed over the same
// number of operations; prints nanoseconds per operation and, for each peer,
// its time divided by the runtime's (above 1: the runtime is faster).
void Compare(const char* path, int n, Body runtime, std::initializer_list<Peer> peers) {
  double best[4] = {1e30, 1e30, 1e30, 1e30};
  int count = 1 + static_cast<int>(peers.size());
  if (count > 4) return;
  runtime(n / 10);  // warm up: blocks attached, caches filled
  for (const Peer& p : peers) p.body(n / 10);
  for (int r = 0; r < kRepetitions; ++r) {
    for (int k = 0; k < count; ++k) {
      Body body = k == 0 ? runtime : peers.begin()[k - 1].body;
      double start = Seconds();
      body(n);
      double elapsed = (Seconds() - start) * 1e9 / n;
      if (elapsed < best[k]) best[k] = elapsed;
    }
  }
  int k = 1;
  for (const Peer& p : peers) {
    std::printf("%-34s %9.1f   %-30s %9.1f %8.2f\n", k == 1 ? path : "", best[0], p.name, best[k],
                best[k] / best[0]);
    ++k;
  }
}

// msvcrt.dll's own formatting, bound by name: the C++ library's printf family
// is another implementation.
using PrintFunction = int(__cdecl*)(char*, const char*, ...);
using BoundedPrintFunction = int(__cdecl*)(char*, size_t, const char*, ...);
PrintFunction CrtSprintf;
BoundedPrintFunction CrtSnprintf;

// Doubles spread over every decimal exponent of the type, both signs.
constexpr int kFloatValues = 1024;
double FloatValues[kFloatValues];

void MakeFloatValues() {
  for (int k = 0; k < kFloatValues; ++k) {
    int exponent = -307 + (k * 37) % 616;
    double mantissa = 1 + ((k * 7919) % 1000) / 1000.0 + k / 1e7;
    FloatValues[k] = (k & 1 ? -1 : 1) * mantissa * std::pow(10.0, exponent);
  }
}

constexpr int kAppends = 1000000;
char AppendTarget[8 * kAppends + 1];

}  // namespace

int main() {
  ResetFpu();
  HMODULE crt = LoadLibraryA("msvcrt.dll");
  CrtSprintf = reinterpret_cast<PrintFunction>(GetProcAddress(crt, "sprintf"));
  CrtSnprintf = reinterpret_cast<BoundedPrintFunction>(GetProcAddress(crt, "_snprintf"));
  if (CrtSprintf == nullptr || CrtSnprintf == nullptr) {
    std::printf("msvcrt.dll's sprintf or _snprintf not found\n");
    return 1;
  }
  MakeFloatValues();

  std::printf("%-34s %9s   %-30s %9s %8s\n", "hot path, ns per operation", "runtime", "peer", "peer",
              "ratio");
  Compare("NumberToText signed", 1000000,
          [](int n) {
            for (int i = 0; i < n; ++i) Sink = SignedText(i - 500000).length;
          },
          {{"msvcrt sprintf(\"%d\")",
            [](int n) {
              char text[16];
              for (int i = 0; i < n; ++i) Sink = CrtSprintf(text, "%d", i - 500000);
            }},
           {"std::to_chars",
            [](int n) {
              char text[16];
              for (int i = 0; i < n; ++i) Sink = Keep(text, std::to_chars(text, text + 16, i - 500000).ptr - text);
            }}});
  Compare("NumberToText float, all exponents", 200000,
          [](int n) {
            for (int i = 0; i < n; ++i) Sink = FloatText(FloatValues[i % kFloatValues]).length;
          },
          {{"msvcrt sprintf(\"%.15g\")",
            [](int n) {
              char text[32];
              for (int i = 0; i < n; ++i) Sink = CrtSprintf(text, "%.15g", FloatValues[i % kFloatValues]);
            }},
           {"std::to_chars(general, 15)",
            [](int n) {
              char text[32];
              for (int i = 0; i < n; ++i)
                Sink = Keep(text, std::to_chars(text, text + 32, FloatValues[i % kFloatValues],
                                                std::chars_format::general, 15).ptr - text);
            }}});
  Compare("10^6 appends of 8 bytes, each", kAppends,
          [](int n) {
            static StringDescriptor grown = {};
            StrAlloc(&grown, kVariableSize);
            for (int i = 0; i < n; ++i) Sink = StrAppend("01234567", &grown, 8).length;
            StrRelease(&grown);
          },
          {{"std::string::append",
            [](int n) {
              std::string grown;
              for (int i = 0; i < n; ++i) grown.append("01234567", 8);
              Sink = Keep(grown.data(), static_cast<int32_t>(grown.size()));
            }},
           {"memcpy, preallocated buffer",
            [](int n) {
              for (int i = 0; i < n; ++i) std::memcpy(AppendTarget + 8 * i, "01234567", 8);
              Sink = Keep(AppendTarget, 8 * n);
            }}});
  Compare("concatenation of four pieces", 500000,
          [](int n) {
            for (int i = 0; i < n; ++i) {
              ConcatBegin();
              ConcatAppend(Literal("arg1 = "));
              ConcatAppend(SignedText(i));
              ConcatAppend(Literal("\r\n"));
              Sink = ConcatAppend(Literal("arg2 = ")).length;
            }
          },
          {{"msvcrt _snprintf(\"%s%d%s%s\")",
            [](int n) {
              char text[64];
              for (int i = 0; i < n; ++i)
                Sink = CrtSnprintf(text, sizeof text, "%s%d%s%s", "arg1 = ", i, "\r\n", "arg2 = ");
            }}});
  Compare("StrAssign short literal", 2000000,
          [](int n) {
            static StringDescriptor variable = {};
            StrAlloc(&variable, kVariableSize);
            for (int i = 0; i < n; ++i) Sink = StrAssign(Literal("una fecha"), &variable).length;
          },
          {{"std::string::assign",
            [](int n) {
              static std::string variable;
              for (int i = 0; i < n; ++i) Sink = static_cast<int32_t>(variable.assign("una fecha", 9).size());
            }}});
  Compare("StrCompare 64 equal bytes", 2000000,
          [](int n) {
            static const char text[] = "0123456789012345678901234567890123456789012345678901234567890123";
            for (int i = 0; i < n; ++i) Sink = StrCompare(text, 64, text, 64);
          },
          {{"memcmp",
            [](int n) {
              static const char text[] = "0123456789012345678901234567890123456789012345678901234567890123";
              static const char* volatile other = text;
              for (int i = 0; i < n; ++i) Sink = std::memcmp(text, other, 64);
            }}});
  // Short strings, as most of a program's comparisons are: equal lengths 1 to 8 in turn.
  Compare("StrCompare 1 to 8 equal bytes", 4000000,
          [](int n) {
            static const char text[] = "01234567";
            static const char* volatile other = text;
            for (int i = 0; i < n; ++i) Sink = StrCompare(text, 1 + (i & 7), other, 1 + (i & 7));
          },
          {{"memcmp",
            [](int n) {
              static const char text[] = "01234567";
              static const char* volatile other = text;
              for (int i = 0; i < n; ++i) Sink = std::memcmp(text, other, 1 + (i & 7));
            }}});
  std::printf("ratio: the peer's time divided by the runtime's; above 1 the runtime is faster.\n");
  return 0;
}
