// Tokens. Keywords and names are case-insensitive: every token carries its
// spelling and its upper-case form.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "source.h"

namespace tbc {

enum class Tok {
  End,
  Newline,
  Colon,
  Integer,  // value in integer; &H literals already as their 32-bit pattern
  Number,   // a literal with a point or an exponent, or an integer too large for 32 bits
  String,   // the bytes between the quotes, "" made one quote
  Name,     // an identifier that is not a reserved word
  Keyword,
  Plus, Minus, Star, Slash, Backslash, Caret,
  Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual,
  LParen, RParen, Comma, Semicolon, Dot,
  Data,   // an item of a DATA line as written: unquoted and trimmed (a quoted one is a String)
  Hash,   // a '#' that ends no name: the file numbers of other BASICs, which the parser refuses
  Error,  // a character the lexer reported: the statement holding it says nothing more
};

// Reserved words: they start statements or are operators and type names.
enum class Kw {
  None, And, As, Call, Case, Const, Data, Declare, Dim, Do, Double, Else, ElseIf, End, Exit, For,
  Function, Gosub, Goto, If, Input, Integer, Is, Let, Line, Loop, Mod, Next, Not, On, Open, Option, Or,
  Print, Read, Redim, Restore, Return, Select, Step, String, Sub, Swap, Then, To, Type, Until, Wend, While, Xor,
};

struct Token {
  Tok kind = Tok::End;
  Kw keyword = Kw::None;
  Position position;
  std::string spelling;  // as written (for a string literal: its bytes)
  std::string upper;     // the spelling in upper case, for names and keywords
  int64_t integer = 0;
  long double number = 0;

  bool is(Kw k) const { return kind == Tok::Keyword && keyword == k; }
  // A name with this upper-case spelling (a word that is special only in some places).
  bool isWord(const char* word) const { return kind == Tok::Name && upper == word; }
};

const char* KeywordText(Kw keyword);
std::string Describe(const Token& token);  // for messages: "end of line", "THEN", "'x'"

// The whole file as tokens, ending with Newline and End. Lexical errors go to
// diagnostics and the offending characters are skipped.
std::vector<Token> Lex(const SourceFile& file, int fileIndex, Diagnostics& diagnostics);

}  // namespace tbc
