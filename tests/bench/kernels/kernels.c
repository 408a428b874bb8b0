/* The speed kernels in C, the same algorithms and types as the BASIC
   programs beside this file (INTEGER arithmetic with the language's rule for
   a result beyond the range, DOUBLE as the x87's extended precision), each
   timed with the clock TIMER reads. Built with the cross compiler's -O2 and
   the C runtime, for the benchmark only. */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

static double Timer(void) {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return t.wHour * 3600.0 + t.wMinute * 60.0 + t.wSecond + t.wMilliseconds / 1000.0;
}

/* Storing a whole number into an INTEGER: beyond the range, -2147483648. */
static int32_t Store(int64_t v) { return v >= INT32_MIN && v <= INT32_MAX ? (int32_t)v : INT32_MIN; }

static void IntLoop(void) {
  double t = Timer();
  int32_t s = 0;
  for (int32_t i = 1; i <= 50000000; ++i) s = Store((int64_t)s + Store((int64_t)i * i) % 7);
  printf("intloop %.3f %d\n", Timer() - t, s);
}

static int32_t flags[2000001];
static void Sieve(void) {
  double t = Timer();
  int32_t count = 0;
  for (int pass = 1; pass <= 10; ++pass) {
    count = 0;
    for (int32_t i = 2; i <= 2000000; ++i) flags[i] = 1;
    for (int32_t i = 2; i <= 2000000; ++i)
      if (flags[i]) {
        ++count;
        for (int32_t j = i + i; j <= 2000000; j += i) flags[j] = 0;
      }
  }
  printf("sieve %.3f %d\n", Timer() - t, count);
}

static int32_t Mix(int32_t a, int32_t b) { return (a ^ b) & 1023; }
static void Calls(void) {
  double t = Timer();
  int32_t s = 0;
  for (int32_t i = 1; i <= 50000000; ++i) s = Mix(i, s) + 1;
  printf("calls %.3f %d\n", Timer() - t, s);
}

static int32_t total;
static void Step2(int32_t a, int32_t b) { total = (total + a * b) & 65535; }
static void SubCalls(void) {
  double t = Timer();
  for (int32_t i = 1; i <= 50000000; ++i) Step2(i, 3);
  printf("subcalls %.3f %d\n", Timer() - t, total);
}

static void WordCount(void) {
  const char* piece = "the quick brown fox jumps over the lazy dog ";
  size_t n = strlen(piece);
  char* text = malloc(n << 16);
  for (int k = 0; k < 1 << 16; ++k) memcpy(text + n * k, piece, n);
  size_t length = n << 16;
  double t = Timer();
  int32_t words = 0, inWord = 0;
  for (int pass = 1; pass <= 20; ++pass)
    for (size_t i = 0; i < length; ++i) {
      if (text[i] == ' ') inWord = 0;
      else if (!inWord) ++words, inWord = 1;
    }
  printf("wordcount %.3f %d\n", Timer() - t, words);
  free(text);
}

/* A text that grows in place, doubling its block. */
typedef struct {
  char* text;
  size_t length, capacity;
} Text;
static void Append(Text* s, const char* bytes, size_t n) {
  if (s->length + n + 1 > s->capacity) {
    s->capacity = (s->length + n + 1) * 2;
    s->text = realloc(s->text, s->capacity);
  }
  memcpy(s->text + s->length, bytes, n);
  s->length += n;
  s->text[s->length] = 0;
}

static void AppendBytes(void) {
  double t = Timer();
  int32_t total = 0;
  for (int pass = 1; pass <= 20; ++pass) {
    Text s = {0};
    for (int32_t i = 1; i <= 1000000; ++i) Append(&s, "x", 1);
    total += (int32_t)s.length;
    free(s.text);
  }
  printf("append %.3f %d\n", Timer() - t, total);
}

static void Lines(void) {
  double t = Timer();
  int32_t total = 0;
  char number[16];
  for (int pass = 1; pass <= 20; ++pass) {
    Text s = {0};
    for (int32_t i = 1; i <= 100000; ++i) {
      int n = sprintf(number, "%d", i);
      Append(&s, number, (size_t)n);
      Append(&s, "\r\n", 2);
    }
    total += (int32_t)s.length;
    free(s.text);
  }
  printf("lines %.3f %d\n", Timer() - t, total);
}

#define N 150
static long double a[N + 1][N + 1], b[N + 1][N + 1], c[N + 1][N + 1];
static void MatMul(void) {
  for (int i = 0; i <= N; ++i)
    for (int j = 0; j <= N; ++j) a[i][j] = i + j, b[i][j] = i - j;
  double t = Timer();
  for (int pass = 1; pass <= 20; ++pass)
    for (int i = 0; i <= N; ++i)
      for (int j = 0; j <= N; ++j) {
        long double sum = 0;
        for (int k = 0; k <= N; ++k) sum = sum + a[i][k] * b[k][j];
        c[i][j] = sum;
      }
  long double sum = 0;
  for (int i = 0; i <= N; ++i)
    for (int j = 0; j <= N; ++j) sum = sum + c[i][j];
  printf("matmul %.3f %.0f\n", Timer() - t, (double)sum);
}

static void NumText(void) {
  double t = Timer();
  int32_t total = 0;
  char text[32];
  for (int32_t i = 1; i <= 1000000; ++i) {
    long double v = i * 0.5L;
    int n = (i & 1) ? sprintf(text, "%d.5", i / 2) : sprintf(text, "%d", i / 2);
    (void)v;
    total += n;
  }
  printf("numtext %.3f %d\n", Timer() - t, total);
}

int main(int argc, char** argv) {
  static const struct {
    const char* name;
    void (*run)(void);
  } kernels[] = {{"intloop", IntLoop},   {"sieve", Sieve},   {"calls", Calls},   {"subcalls", SubCalls},
                 {"wordcount", WordCount}, {"append", AppendBytes}, {"lines", Lines}, {"matmul", MatMul},
                 {"numtext", NumText}};
  for (size_t k = 0; k < sizeof kernels / sizeof kernels[0]; ++k)
    if (argc > 1 && strcmp(argv[1], kernels[k].name) == 0) kernels[k].run();
  return 0;
}
