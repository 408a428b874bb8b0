#include "lexer.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "../runtime/core/decimal_number.h"

namespace tbc {

namespace {

// A number literal's value: the runtime's own conversion (the one VAL makes),
// so that a text gives the same number in both.
long double LiteralValue(const std::string& spelling) {
  size_t mark = spelling.find_first_of("Ee");
  int32_t exponent = 0;
  if (mark != std::string::npos) {
    // Far past any exponent an extended number can have; more digits change nothing.
    for (size_t i = mark + 1; i < spelling.size(); ++i)
      if (spelling[i] >= '0' && spelling[i] <= '9' && exponent < 100000) exponent = exponent * 10 + (spelling[i] - '0');
    if (spelling[mark + 1] == '-') exponent = -exponent;
  }
  size_t digits = mark == std::string::npos ? spelling.size() : mark;
  tessaric::ExtendedBits bits = tessaric::DecimalToExtended(spelling.data(), static_cast<int32_t>(digits), exponent);
  if (bits.exponent == tessaric::kExtendedInfinity) return HUGE_VALL;
  // Exact: the significand fits a long double's, and the power of two scales it.
  long double significand = static_cast<long double>(bits.significand);
  return std::ldexp(significand, bits.exponent == 0 ? -16445 : bits.exponent - 16383 - 63);
}

struct KeywordRow {
  const char* text;
  Kw keyword;
};

constexpr KeywordRow kKeywords[] = {
    {"AND", Kw::And},       {"AS", Kw::As},         {"CALL", Kw::Call},       {"CASE", Kw::Case},
    {"CONST", Kw::Const},   {"DATA", Kw::Data},     {"DECLARE", Kw::Declare}, {"DIM", Kw::Dim},
    {"DO", Kw::Do},         {"DOUBLE", Kw::Double}, {"ELSE", Kw::Else},       {"ELSEIF", Kw::ElseIf},
    {"END", Kw::End},       {"EXIT", Kw::Exit},     {"FOR", Kw::For},         {"FUNCTION", Kw::Function},
    {"GOSUB", Kw::Gosub},   {"GOTO", Kw::Goto},     {"IF", Kw::If},           {"INPUT", Kw::Input},
    {"INTEGER", Kw::Integer}, {"IS", Kw::Is},       {"LET", Kw::Let},         {"LINE", Kw::Line},
    {"LOOP", Kw::Loop},     {"MOD", Kw::Mod},       {"NEXT", Kw::Next},       {"NOT", Kw::Not},
    {"ON", Kw::On},         {"OPEN", Kw::Open},     {"OPTION", Kw::Option},   {"OR", Kw::Or},
    {"PRINT", Kw::Print},   {"READ", Kw::Read},     {"REDIM", Kw::Redim},     {"RESTORE", Kw::Restore},
    {"RETURN", Kw::Return}, {"SELECT", Kw::Select}, {"STEP", Kw::Step},       {"STRING", Kw::String},
    {"SUB", Kw::Sub},       {"SWAP", Kw::Swap},     {"THEN", Kw::Then},       {"TO", Kw::To},
    {"TYPE", Kw::Type},     {"UNTIL", Kw::Until},   {"WEND", Kw::Wend},       {"WHILE", Kw::While},
    {"XOR", Kw::Xor},
};

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
// The last character of a name may give its type: $ STRING, % and & INTEGER, ! and # DOUBLE.
bool IsTypeSuffix(char c) { return c == '$' || c == '%' || c == '&' || c == '!' || c == '#'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

class Lexer {
 public:
  Lexer(const SourceFile& file, int fileIndex, Diagnostics& diagnostics)
      : text_(file.text), file_(fileIndex), diagnostics_(diagnostics) {}

  std::vector<Token> Run() {
    while (at_ < text_.size()) Step();
    if (tokens_.empty() || tokens_.back().kind != Tok::Newline) Add(Tok::Newline, Here(), "");
    Add(Tok::End, Here(), "");
    return std::move(tokens_);
  }

 private:
  Position Here() const { return {file_, line_, static_cast<int>(at_ - lineStart_) + 1}; }
  char Peek(size_t ahead = 0) const { return at_ + ahead < text_.size() ? text_[at_ + ahead] : '\0'; }

  Token& Add(Tok kind, Position position, std::string spelling) {
    Token token;
    token.kind = kind;
    token.position = position;
    token.spelling = std::move(spelling);
    tokens_.push_back(std::move(token));
    return tokens_.back();
  }

  // A statement starts after a line end, a colon, THEN or ELSE, or a line
  // number: only there is REM a comment, and DATA a line of items.
  bool AtStatementStart() const {
    if (tokens_.empty()) return true;
    const Token& last = tokens_.back();
    // After a line number at the start of a line, too.
    bool lineNumber = last.kind == Tok::Integer && (tokens_.size() == 1 || tokens_[tokens_.size() - 2].kind == Tok::Newline);
    return last.kind == Tok::Newline || last.kind == Tok::Colon || last.is(Kw::Then) || last.is(Kw::Else) || lineNumber;
  }

  void SkipToLineEnd() {
    while (at_ < text_.size() && !IsLineEnd(text_[at_])) ++at_;
  }

  void NewLine() {
    if (text_[at_] == '\r' && Peek(1) == '\n') ++at_;
    ++at_;
    ++line_;
    lineStart_ = at_;
  }

  void Step() {
    char c = text_[at_];
    if (IsBlank(c)) {
      ++at_;
    } else if (IsLineEnd(c)) {
      Add(Tok::Newline, Here(), "");
      NewLine();
    } else if (c == '\'') {
      SkipToLineEnd();
    } else if (c == '_' && !IsLetter(Peek(1)) && !IsDigit(Peek(1)) && Peek(1) != '_') {
      Continuation();
    } else if (IsLetter(c)) {
      Word();
    } else if (IsDigit(c) || (c == '.' && IsDigit(Peek(1)))) {
      Number();
    } else if (c == '&') {
      Hexadecimal();
    } else if (c == '"') {
      Text();
    } else {
      Operator();
    }
  }

  // "_" as the last thing on a line joins the next line to it.
  void Continuation() {
    Position position = Here();
    size_t after = at_ + 1;
    while (after < text_.size() && IsBlank(text_[after])) ++after;
    if (after < text_.size() && !IsLineEnd(text_[after])) {
      diagnostics_.error(position, "'_' continues a line only as the last character of the line");
      Add(Tok::Error, position, "_");
      ++at_;
      return;
    }
    at_ = after;
    if (at_ < text_.size()) NewLine();
  }

  void Word() {
    Position position = Here();
    size_t start = at_;
    while (IsLetter(Peek()) || IsDigit(Peek()) || Peek() == '_') ++at_;
    if (IsTypeSuffix(Peek())) ++at_;
    std::string spelling = text_.substr(start, at_ - start);
    std::string upper = ToUpper(spelling);
    bool statementStart = AtStatementStart();
    if (upper == "REM" && statementStart) {
      SkipToLineEnd();
      return;
    }
    Token& token = Add(Tok::Name, position, spelling);
    token.upper = upper;
    for (const KeywordRow& row : kKeywords) {
      if (upper == row.text) {
        token.kind = Tok::Keyword;
        token.keyword = row.keyword;
      }
    }
    if (token.is(Kw::Data) && statementStart) DataItems();
  }

  // The rest of a DATA line: items separated by commas, each a text in quotes
  // or the characters up to the next comma, blanks around them removed. A ':'
  // belongs to an item; a ' outside quotes starts a comment.
  void DataItems() {
    for (;;) {
      while (IsBlank(Peek())) ++at_;
      Position position = Here();
      if (Peek() == '"') {
        Text();
        while (IsBlank(Peek())) ++at_;
      } else {
        size_t start = at_;
        while (at_ < text_.size() && !IsLineEnd(Peek()) && Peek() != ',' && Peek() != '\'') ++at_;
        size_t end = at_;
        while (end > start && IsBlank(text_[end - 1])) --end;
        Add(Tok::Data, position, text_.substr(start, end - start));
      }
      if (Peek() != ',') break;
      Add(Tok::Comma, Here(), ",");
      ++at_;
    }
    if (Peek() == '\'') SkipToLineEnd();
    if (at_ < text_.size() && !IsLineEnd(Peek()))
      diagnostics_.error(Here(), "expected ',' or the end of the line after a DATA item in quotes");
    SkipToLineEnd();
  }

  void Number() {
    Position position = Here();
    size_t start = at_;
    bool integral = true;
    while (IsDigit(Peek())) ++at_;
    if (Peek() == '.') {
      integral = false;
      ++at_;
      while (IsDigit(Peek())) ++at_;
    }
    if ((Peek() == 'E' || Peek() == 'e') &&
        (IsDigit(Peek(1)) || ((Peek(1) == '+' || Peek(1) == '-') && IsDigit(Peek(2))))) {
      integral = false;
      at_ += 2;
      while (IsDigit(Peek())) ++at_;
    }
    std::string spelling = text_.substr(start, at_ - start);
    if (IsLetter(Peek()) || Peek() == '_') {
      diagnostics_.error(Here(), "a number cannot be followed directly by a letter");
      while (IsLetter(Peek()) || IsDigit(Peek()) || Peek() == '_' || IsTypeSuffix(Peek())) ++at_;
    }
    long double value = LiteralValue(spelling);
    if (value > 1e4932L) {
      diagnostics_.error(position, "the number " + spelling + " is too large");
      value = 0;
    }
    if (integral && value <= 2147483647.0L) {
      Token& token = Add(Tok::Integer, position, spelling);
      token.integer = std::strtoll(spelling.c_str(), nullptr, 10);
    } else {
      Token& token = Add(Tok::Number, position, spelling);
      token.number = value;
    }
  }

  // &H followed by up to eight significant hexadecimal digits: a 32-bit pattern.
  void Hexadecimal() {
    Position position = Here();
    size_t start = at_;
    if (Peek(1) != 'H' && Peek(1) != 'h') {
      diagnostics_.error(position, "'&' starts a hexadecimal number, as in &HFF");
      ++at_;
      return;
    }
    at_ += 2;
    uint64_t value = 0;
    int significant = 0;
    while (IsHexDigit(Peek())) {
      char d = Peek();
      int digit = IsDigit(d) ? d - '0' : (d | 0x20) - 'a' + 10;
      if (significant > 0 || digit != 0) ++significant;
      value = (value << 4 | static_cast<uint64_t>(digit)) & 0xFFFFFFFFFu;
      ++at_;
    }
    std::string spelling = text_.substr(start, at_ - start);
    if (spelling.size() == 2) diagnostics_.error(position, "expected hexadecimal digits after &H");
    if (significant > 8) diagnostics_.error(position, "the hexadecimal number " + spelling + " is longer than 32 bits");
    if (IsLetter(Peek()) || Peek() == '_') {
      diagnostics_.error(Here(), "a number cannot be followed directly by a letter");
      while (IsLetter(Peek()) || IsDigit(Peek()) || Peek() == '_' || IsTypeSuffix(Peek())) ++at_;
    }
    Token& token = Add(Tok::Integer, position, spelling);
    token.integer = static_cast<int32_t>(static_cast<uint32_t>(value));
  }

  void Text() {
    Position position = Here();
    ++at_;
    std::string bytes;
    for (;;) {
      if (at_ >= text_.size() || IsLineEnd(text_[at_])) {
        diagnostics_.error(position, "the text is not closed with \" before the end of the line");
        break;
      }
      char c = text_[at_++];
      if (c == '"') {
        if (Peek() != '"') break;
        ++at_;
      }
      bytes += c;
    }
    Add(Tok::String, position, bytes);
  }

  void Operator() {
    Position position = Here();
    char c = text_[at_];
    char next = Peek(1);
    struct Row {
      const char* text;
      Tok kind;
    };
    static constexpr Row kOperators[] = {
        {"<>", Tok::NotEqual}, {"<=", Tok::LessEqual}, {">=", Tok::GreaterEqual}, {"<", Tok::Less},
        {">", Tok::Greater},   {"=", Tok::Equal},      {"+", Tok::Plus},          {"-", Tok::Minus},
        {"*", Tok::Star},      {"/", Tok::Slash},      {"\\", Tok::Backslash},    {"^", Tok::Caret},
        {"(", Tok::LParen},    {")", Tok::RParen},     {",", Tok::Comma},         {";", Tok::Semicolon},
        {".", Tok::Dot},       {":", Tok::Colon},         {"#", Tok::Hash},
    };
    for (const Row& row : kOperators) {
      size_t length = std::strlen(row.text);
      if (c == row.text[0] && (length == 1 || next == row.text[1])) {
        at_ += length;
        Add(row.kind, position, row.text);
        return;
      }
    }
    std::string shown = (static_cast<unsigned char>(c) >= 32 && static_cast<unsigned char>(c) < 127)
                            ? std::string("'") + c + "'"
                            : "byte " + std::to_string(static_cast<unsigned char>(c));
    diagnostics_.error(position, "unexpected character " + shown);
    Add(Tok::Error, position, std::string(1, c));
    ++at_;
  }

  const std::string& text_;
  int file_;
  Diagnostics& diagnostics_;
  std::vector<Token> tokens_;
  size_t at_ = 0;
  int line_ = 1;
  size_t lineStart_ = 0;
};

}  // namespace

const char* KeywordText(Kw keyword) {
  for (const KeywordRow& row : kKeywords)
    if (row.keyword == keyword) return row.text;
  return "";
}

std::string Describe(const Token& token) {
  switch (token.kind) {
    case Tok::End: return "the end of the file";
    case Tok::Newline: return "the end of the line";
    case Tok::Keyword: return token.upper;
    case Tok::Name: return "'" + token.spelling + "'";
    case Tok::Integer:
    case Tok::Number: return "the number " + token.spelling;
    case Tok::String: return "a text in quotes";
    case Tok::Data: return "the DATA item '" + token.spelling + "'";
    default: return "'" + token.spelling + "'";
  }
}

std::vector<Token> Lex(const SourceFile& file, int fileIndex, Diagnostics& diagnostics) {
  return Lexer(file, fileIndex, diagnostics).Run();
}

}  // namespace tbc
