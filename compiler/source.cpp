#include "source.h"

#include <algorithm>

namespace tbc {

bool operator<(const Position& a, const Position& b) {
  if (a.file != b.file) return a.file < b.file;
  if (a.line != b.line) return a.line < b.line;
  return a.column < b.column;
}

std::string ToUpper(const std::string& text) {
  std::string upper = text;
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return upper;
}

SourceFile::SourceFile(std::string p, std::string t) : path(std::move(p)), text(std::move(t)) {
  lineStarts.push_back(0);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    if (text[i] == '\n' || text[i] == '\r') lineStarts.push_back(i + 1);
  }
}

std::string SourceFile::line(int number) const {
  if (number < 1 || static_cast<size_t>(number) > lineStarts.size()) return "";
  size_t start = lineStarts[number - 1];
  size_t end = start;
  while (end < text.size() && text[end] != '\n' && text[end] != '\r') ++end;
  return text.substr(start, end - start);
}

void Diagnostics::error(Position position, std::string message) {
  // Far more than are ever shown: a pathological input must not grow this without end.
  if (errors_.size() < 10 * kLimit) errors_.push_back({position, std::move(message)});
}

namespace {

std::vector<Diagnostic> Sorted(std::vector<Diagnostic> list, size_t limit) {
  std::stable_sort(list.begin(), list.end(),
                   [](const Diagnostic& a, const Diagnostic& b) { return a.position < b.position; });
  if (list.size() > limit) list.resize(limit);
  return list;
}

}  // namespace

std::vector<Diagnostic> Diagnostics::reported() const { return Sorted(errors_, kLimit); }

void Diagnostics::print(std::ostream& out, const Diagnostic& d, const char* kind) const {
  const SourceFile& file = files_[d.position.file];
  out << file.path << ':' << d.position.line << ':' << d.position.column << ": " << kind << ": " << d.message << '\n';
  std::string text = file.line(d.position.line);
  out << text << '\n';
  // Tabs stay tabs so that the caret lines up under them.
  std::string caret;
  for (int i = 1; i < d.position.column && static_cast<size_t>(i - 1) < text.size(); ++i)
    caret += text[i - 1] == '\t' ? '\t' : ' ';
  out << caret << "^\n";
}

void Diagnostics::print(std::ostream& out) const {
  for (const Diagnostic& d : reported()) print(out, d, "error");
  if (errors_.size() > kLimit) out << "too many errors; only the first " << kLimit << " are shown\n";
}

void Diagnostics::warning(Position position, std::string message) {
  if (warnings_.size() < 10 * kLimit) warnings_.push_back({position, std::move(message)});
}

std::vector<Diagnostic> Diagnostics::warnings() const { return Sorted(warnings_, kLimit); }

void Diagnostics::printWarnings(std::ostream& out) const {
  for (const Diagnostic& d : warnings()) print(out, d, "warning");
  if (warnings_.size() > kLimit) out << "too many warnings; only the first " << kLimit << " are shown\n";
}

}  // namespace tbc
