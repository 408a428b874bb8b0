#include "console/console.h"

namespace tessaric {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

StringValue InputLine(StringDescriptor* line) {
  StrAlloc(line, kVariableSize);
  ConsoleReadLine(line);
  return ValueOf(*line);
}

StringValue InputField(StringValue line, int32_t* at) {
  // A line with fewer fields than variables leaves the rest empty.
  if (*at < 0 || *at >= line.length) return StringValue{EmptyText, 0};
  const char* start = line.text + *at;
  const char* end = line.text + line.length;
  const char* comma = start;
  while (comma < end && *comma != ',') ++comma;
  *at = static_cast<int32_t>(comma - line.text) + 1;
  while (start < comma && IsBlank(*start)) ++start;
  while (comma > start && IsBlank(comma[-1])) --comma;
  return StringValue{start, static_cast<int32_t>(comma - start)};
}

}  // namespace tessaric
