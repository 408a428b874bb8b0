// Loaded source files, positions in them, and the list of diagnostics that
// every stage adds to. Errors are values collected here, never exceptions.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

namespace tbc {

// Lines and columns count from 1; a column counts bytes.
struct Position {
  int file = 0;
  int line = 0;
  int column = 0;
};

bool operator<(const Position& a, const Position& b);

// Names and keywords compare in upper case.
std::string ToUpper(const std::string& text);

struct SourceFile {
  std::string path;  // as given on the command line
  std::string text;
  std::vector<size_t> lineStarts;

  SourceFile(std::string path, std::string text);
  // The text of a line without its line end.
  std::string line(int number) const;
};

struct Diagnostic {
  Position position;
  std::string message;
};

class Diagnostics {
 public:
  // The most errors that are reported for one command.
  static constexpr size_t kLimit = 20;

  explicit Diagnostics(const std::vector<SourceFile>& files) : files_(files) {}

  void error(Position position, std::string message);
  bool empty() const { return errors_.empty(); }
  size_t count() const { return errors_.size(); }
  // Sorted by position, at most kLimit.
  std::vector<Diagnostic> reported() const;
  // FILE:LINE:COLUMN: error: MESSAGE, the source line and a caret under the column.
  void print(std::ostream& out) const;

  // A sure mistake in a program that is still built: told, and the program
  // made all the same.
  void warning(Position position, std::string message);
  // Sorted by position, at most kLimit.
  std::vector<Diagnostic> warnings() const;
  // FILE:LINE:COLUMN: warning: MESSAGE, with the line and the caret as for errors.
  void printWarnings(std::ostream& out) const;

 private:
  void print(std::ostream& out, const Diagnostic& d, const char* kind) const;

  const std::vector<SourceFile>& files_;
  std::vector<Diagnostic> errors_;
  std::vector<Diagnostic> warnings_;
};

}  // namespace tbc
