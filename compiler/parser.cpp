#include "parser.h"

#include "foreign.h"

namespace tbc {

namespace {

// Binary operators by priority, loosest first; equal left and right
// priorities make every operator left-associative, ^ included.
struct BinaryRow {
  Tok token;
  Kw keyword;
  BinaryOp op;
  int priority;
};

constexpr BinaryRow kBinary[] = {
    {Tok::Keyword, Kw::Or, BinaryOp::Or, 1},          {Tok::Keyword, Kw::Xor, BinaryOp::Xor, 1},
    {Tok::Keyword, Kw::And, BinaryOp::And, 2},        {Tok::Equal, Kw::None, BinaryOp::Equal, 4},
    {Tok::NotEqual, Kw::None, BinaryOp::NotEqual, 4}, {Tok::Less, Kw::None, BinaryOp::Less, 4},
    {Tok::Greater, Kw::None, BinaryOp::Greater, 4},   {Tok::LessEqual, Kw::None, BinaryOp::LessEqual, 4},
    {Tok::GreaterEqual, Kw::None, BinaryOp::GreaterEqual, 4},
    {Tok::Plus, Kw::None, BinaryOp::Add, 5},          {Tok::Minus, Kw::None, BinaryOp::Subtract, 5},
    {Tok::Star, Kw::None, BinaryOp::Multiply, 6},     {Tok::Slash, Kw::None, BinaryOp::Divide, 6},
    {Tok::Backslash, Kw::None, BinaryOp::IntDivide, 6}, {Tok::Keyword, Kw::Mod, BinaryOp::Modulo, 6},
    {Tok::Caret, Kw::None, BinaryOp::Power, 9},
};
constexpr int kNotPriority = 3;    // NOT a = b is NOT (a = b)
constexpr int kMinusPriority = 7;  // -a * b is (-a) * b, -a ^ b is -(a ^ b)
constexpr int kDepthLimit = 200;

// The words that end a block, and what each belongs to.
enum class Closer {
  None, EndIf, Else, ElseIf, Next, Wend, Loop, Case, EndSelect, EndSub, EndFunction, EndType, Eof,
  EndWhile,  // the WEND of other BASICs, refused
};

class Parser {
 public:
  Parser(const std::vector<Token>& tokens, int file, Diagnostics& diagnostics)
      : tokens_(tokens), diagnostics_(diagnostics) {
    module_.file = file;
  }

  Module Run() {
    module_.main = ParseBlock({}, 0);
    return std::move(module_);
  }

 private:
  const Token& Peek(size_t ahead = 0) const {
    size_t i = at_ + ahead;
    return i < tokens_.size() ? tokens_[i] : tokens_.back();
  }
  const Token& Next() {
    const Token& token = Peek();
    if (at_ < tokens_.size() - 1) ++at_;
    return token;
  }
  bool At(Tok kind) const { return Peek().kind == kind; }
  bool At(Kw keyword) const { return Peek().is(keyword); }
  bool Accept(Tok kind) {
    if (!At(kind)) return false;
    Next();
    return true;
  }
  bool Accept(Kw keyword) {
    if (!At(keyword)) return false;
    Next();
    return true;
  }
  // Inside a single-line IF, ELSE also ends the statement before it.
  bool AtStatementEnd() const {
    return At(Tok::Newline) || At(Tok::Colon) || At(Tok::End) || (lineIf_ > 0 && At(Kw::Else));
  }

  // Reports one error per statement; the rest of a failed statement is skipped.
  void Fail(Position position, const std::string& message) {
    // A character the lexer refused was reported already.
    if (!failed_ && !At(Tok::Error)) diagnostics_.error(position, message);
    failed_ = true;
  }
  void Expected(const std::string& what) { Fail(Peek().position, "expected " + what + ", found " + Describe(Peek())); }
  bool Expect(Tok kind, const char* what) {
    if (Accept(kind)) return true;
    Expected(what);
    return false;
  }
  bool Expect(Kw keyword, const char* what) {
    if (Accept(keyword)) return true;
    Expected(what);
    return false;
  }
  void SkipStatement() {
    while (!AtStatementEnd()) Next();
  }
  void SkipLine() {
    while (!At(Tok::Newline) && !At(Tok::End)) Next();
  }
  // After a statement: the statement must end here.
  void EndStatement() {
    if (!failed_ && !AtStatementEnd()) Expected("the end of the statement");
    SkipStatement();
    failed_ = false;
  }

  bool Name(std::string& name, Position& position, const char* what) {
    if (At(Tok::Name)) {
      position = Peek().position;
      name = Next().spelling;
      return true;
    }
    if (At(Tok::Keyword)) {
      Fail(Peek().position, Peek().upper + " is a reserved word and cannot be used as " + what);
      return false;
    }
    Expected(what);
    return false;
  }

  // After '.': any word names a member, reserved or not (f.Open, r.Close).
  bool MemberName(std::string& name, Position& position) {
    if (At(Tok::Keyword)) {
      position = Peek().position;
      name = Next().spelling;
      return true;
    }
    return Name(name, position, "a property or method after '.'");
  }

  // LONG and SINGLE, type words of other BASICs: refused at the word and read
  // as the type that stands in for them, so that what they declare still
  // exists. None (and nothing said) for every other word.
  ValueType StandIn(const std::string& upper, Position position) {
    Foreign form;
    ValueType instead = ValueType::None;
    if (ForeignType(upper, form, instead)) diagnostics_.error(position, ForeignMessage(form));
    return instead;
  }
  static ValueType StandIn(const std::string& upper) {
    Foreign form;
    ValueType instead = ValueType::None;
    ForeignType(upper, form, instead);
    return instead;
  }

  // ---- blocks

  Closer CloserAt() const {
    const Token& t = Peek();
    if (t.kind == Tok::End) return Closer::Eof;
    if (t.is(Kw::Else)) return Closer::Else;
    if (t.is(Kw::ElseIf)) return Closer::ElseIf;
    if (t.is(Kw::Next)) return Closer::Next;
    if (t.is(Kw::Wend)) return Closer::Wend;
    if (t.is(Kw::Loop)) return Closer::Loop;
    if (t.is(Kw::Case)) return Closer::Case;
    if (t.is(Kw::End)) {
      const Token& n = Peek(1);
      if (n.is(Kw::If)) return Closer::EndIf;
      if (n.is(Kw::Select)) return Closer::EndSelect;
      if (n.is(Kw::Sub)) return Closer::EndSub;
      if (n.is(Kw::Function)) return Closer::EndFunction;
      if (n.is(Kw::Type)) return Closer::EndType;
      if (n.is(Kw::While)) return Closer::EndWhile;
    }
    return Closer::None;
  }

  static const char* CloserText(Closer c) {
    switch (c) {
      case Closer::EndIf: return "END IF without IF";
      case Closer::Else: return "ELSE without IF";
      case Closer::ElseIf: return "ELSEIF without IF";
      case Closer::Next: return "NEXT without FOR";
      case Closer::Wend: return "WEND without WHILE";
      case Closer::Loop: return "LOOP without DO";
      case Closer::Case: return "CASE without SELECT CASE";
      case Closer::EndSelect: return "END SELECT without SELECT CASE";
      case Closer::EndSub: return "END SUB without SUB";
      case Closer::EndFunction: return "END FUNCTION without FUNCTION";
      case Closer::EndType: return "END TYPE without TYPE";
      default: return "";
    }
  }

  // Statements until one of the closers (not consumed) or the end of the file.
  Block ParseBlock(std::initializer_list<Closer> closers, int depth) {
    Block block;
    for (;;) {
      for (;;) {
        if (Accept(Tok::Newline)) lineStart_ = true;
        else if (Accept(Tok::Colon)) lineStart_ = false;
        else break;
      }
      Closer closer = CloserAt();
      if (closer == Closer::Eof) return block;
      if (closer != Closer::None) {
        for (Closer c : closers)
          if (c == closer) return block;
        diagnostics_.error(Peek().position,
                           closer == Closer::EndWhile ? ForeignMessage(Foreign::EndWhile) : CloserText(closer));
        SkipLine();
        continue;
      }
      if (depth > 100) {
        diagnostics_.error(Peek().position, "blocks are nested too deeply");
        SkipLine();
        continue;
      }
      if (StmtPtr label = ParseLabel()) {
        block.push_back(std::move(label));
        continue;
      }
      lineStart_ = false;
      if (StmtPtr statement = ParseStatement(depth)) block.push_back(std::move(statement));
    }
  }

  // A line number, or a name and ':', at the start of a line. (A name and ':'
  // may also be a SUB called without arguments; the checker decides.)
  StmtPtr ParseLabel() {
    if (!lineStart_) return nullptr;
    lineStart_ = false;
    const Token& t = Peek();
    bool number = t.kind == Tok::Integer && t.spelling.find_first_not_of("0123456789") == std::string::npos;
    bool name = t.kind == Tok::Name && Peek(1).kind == Tok::Colon;
    if (!number && !name) return nullptr;
    auto s = NewStmt(Stmt::Kind::Label, t.position);
    s->word = t.spelling;
    s->wordPosition = t.position;
    Next();
    if (name) Next();
    return s;
  }

  // ---- statements

  StmtPtr NewStmt(Stmt::Kind kind, Position position) {
    auto s = std::make_unique<Stmt>();
    s->kind = kind;
    s->position = position;
    return s;
  }

  StmtPtr ParseStatement(int depth) {
    failed_ = false;
    const Token& t = Peek();
    Position position = t.position;
    if (t.kind == Tok::Keyword) {
      switch (t.keyword) {
        case Kw::Sub:
        case Kw::Function: ParseRoutine(depth); return nullptr;
        case Kw::Declare: ParseDeclare(depth); return nullptr;
        case Kw::Dim: Next(); return Finish(ParseDim(position));
        case Kw::Const: Next(); return Finish(ParseConst(position));
        case Kw::Print: Next(); return Finish(ParsePrint(position));
        case Kw::Line: return Finish(ParseLineInput(position));
        case Kw::Input: Next(); return Finish(ParseInput(Stmt::Kind::Input, position));
        case Kw::If: Next(); return ParseIf(position, depth);
        case Kw::For: Next(); return ParseFor(position, depth);
        case Kw::While: Next(); return ParseWhile(position, depth);
        case Kw::Do: Next(); return ParseDo(position, depth);
        case Kw::Select: Next(); return ParseSelect(position, depth);
        case Kw::Exit: Next(); return Finish(ParseExit(position));
        case Kw::End: Next(); return Finish(NewStmt(Stmt::Kind::End, position));
        case Kw::Option: Next(); return Finish(ParseOption(position));
        case Kw::On: Next(); return Finish(ParseOn(position));
        case Kw::Open: Next(); return Finish(ParseOpen(position));
        case Kw::Call: Next(); return Finish(ParseCall(position, true));
        case Kw::Let: Next(); return Finish(ParseNameStatement(position, true));
        case Kw::Goto:
        case Kw::Gosub: return Finish(ParseJump(position));
        case Kw::Return: Next(); return Finish(NewStmt(Stmt::Kind::Return, position));
        case Kw::Data: Next(); return Finish(ParseData(position));
        case Kw::Read: Next(); return Finish(ParseTargets(Stmt::Kind::Read, position));
        case Kw::Restore: Next(); return Finish(ParseRestore(position));
        case Kw::Swap: Next(); return Finish(ParseTargets(Stmt::Kind::Swap, position));
        case Kw::Redim: Next(); return Finish(ParseRedim(position));
        case Kw::Type: ParseType(depth); return nullptr;
        default: break;
      }
      Fail(position, Peek().upper + " cannot start a statement");
      EndStatement();
      return nullptr;
    }
    if (t.isWord("RESUME") && Peek(1).is(Kw::Next)) {
      // RESUME NEXT, of ON ERROR: no call of a SUB takes NEXT. RESUME alone is
      // left to the checker, since a program may have a SUB of that name.
      Fail(position, ForeignMessage(Foreign::Resume));
      EndStatement();
      return nullptr;
    }
    if (t.kind == Tok::Name) return Finish(ParseNameStatement(position, false));
    Fail(position, "expected a statement, found " + Describe(t));
    EndStatement();
    return nullptr;
  }

  // A statement with an error is dropped, so that nothing more is said of it;
  // a declaration stays, so that its names are still declared.
  StmtPtr Finish(StmtPtr statement) {
    bool failed = failed_ || !AtStatementEnd();
    EndStatement();
    if (failed && statement && statement->kind != Stmt::Kind::Dim && statement->kind != Stmt::Kind::Const)
      return nullptr;
    return statement;
  }

  StmtPtr ParseDim(Position position) {
    auto s = NewStmt(Stmt::Kind::Dim, position);
    if (Peek().isWord("SHARED") && Peek(1).kind == Tok::Name) {
      // Refused, and the names are declared all the same.
      Fail(position, ForeignMessage(Foreign::DimShared));
      Next();
    }
    do {
      DimItem item;
      if (!Name(item.name, item.position, "a name for the variable")) return s;
      if (At(Tok::LParen)) {
        if (!ParseBounds(item)) return s;
        item.dynamic = item.bounds.empty();
      }
      if (Accept(Kw::As)) {
        item.typePosition = Peek().position;
        if (At(Tok::Keyword) && (At(Kw::Integer) || At(Kw::Double) || At(Kw::String))) {
          item.typeName = Next().upper;
        } else if (At(Tok::Name)) {
          item.typeName = Next().upper;
          ValueType standIn = StandIn(item.typeName, item.typePosition);
          if (standIn != ValueType::None) item.typeName = TypeName(standIn);
        } else {
          Expected("a type after AS");
          return s;
        }
        if (Accept(Tok::LParen)) {
          do {
            if (ExprPtr arg = ParseExpr()) item.typeArgs.push_back(std::move(arg));
            else return s;
          } while (Accept(Tok::Comma));
          if (!Expect(Tok::RParen, "')'")) return s;
        }
        if (Peek().isWord("IN")) {
          Next();
          if (!Name(item.parent, item.parentPosition, "the name of a form after IN")) return s;
        }
      }
      s->dims.push_back(std::move(item));
    } while (Accept(Tok::Comma));
    return s;
  }

  // (bounds): each "upper" or "lower TO upper"; () alone gives none.
  bool ParseBounds(DimItem& item) {
    Next();
    if (At(Tok::Comma)) {
      // DIM t(,): a dynamic array of two dimensions (three with two commas...).
      item.rank = 1;
      while (Accept(Tok::Comma)) ++item.rank;
      return Expect(Tok::RParen, "')' after the commas of a dynamic array, as in t(,)");
    }
    if (Accept(Tok::RParen)) return true;
    do {
      ExprPtr first = ParseExpr();
      if (!first) return false;
      if (Accept(Kw::To)) {
        ExprPtr upper = ParseExpr();
        if (!upper) return false;
        item.lowers.push_back(std::move(first));
        item.bounds.push_back(std::move(upper));
      } else {
        item.lowers.push_back(nullptr);
        item.bounds.push_back(std::move(first));
      }
    } while (Accept(Tok::Comma));
    return Expect(Tok::RParen, "')' after the array bounds");
  }

  StmtPtr ParseConst(Position position) {
    auto s = NewStmt(Stmt::Kind::Const, position);
    do {
      ConstItem item;
      if (!Name(item.name, item.position, "a name for the constant")) return s;
      if (!Expect(Tok::Equal, "'=' after the name of the constant")) return s;
      item.value = ParseExpr();
      if (!item.value) return s;
      s->consts.push_back(std::move(item));
    } while (Accept(Tok::Comma));
    return s;
  }

  // Items, each followed by ';' (nothing between), ',' (on to the next print
  // zone) or the end of the statement; a ',' may also stand with no item
  // before it. Ending in ';' or ',' keeps the line open.
  StmtPtr ParsePrint(Position position) {
    auto s = NewStmt(Stmt::Kind::Print, position);
    if (Peek().isWord("USING") && (Peek(1).kind == Tok::String || Peek(1).kind == Tok::Name)) {
      Fail(position, ForeignMessage(Foreign::PrintUsing));
      return s;
    }
    while (!AtStatementEnd() && !At(Kw::Else)) {
      if (Accept(Tok::Comma)) {
        s->items.push_back({nullptr});
        s->keepLine = true;
        continue;
      }
      if (Accept(Tok::Semicolon)) {
        s->keepLine = true;
        continue;
      }
      ExprPtr value = ParseExpr();
      if (!value) return s;
      s->items.push_back({std::move(value)});
      s->keepLine = false;
      if (!At(Tok::Comma) && !At(Tok::Semicolon)) break;
    }
    return s;
  }

  StmtPtr ParseLineInput(Position position) {
    Next();
    if (!Expect(Kw::Input, "INPUT after LINE")) return NewStmt(Stmt::Kind::LineInput, position);
    return ParseInput(Stmt::Kind::LineInput, position);
  }

  // [prompt ;] target [, target ...]: one target in target, several in targets.
  StmtPtr ParseInput(Stmt::Kind kind, Position position) {
    auto s = NewStmt(kind, position);
    ExprPtr first = ParseExpr();
    if (!first) return s;
    if (Accept(Tok::Semicolon)) {
      s->value = std::move(first);
      first = ParseTarget();
      if (!first) return s;
    } else if (first->kind == Expr::Kind::String && At(Tok::Comma)) {
      Fail(Peek().position, "a prompt is followed by ';', as in INPUT \"Size? \"; width, height");
      return s;
    }
    s->targets.push_back(std::move(first));
    while (Accept(Tok::Comma)) {
      ExprPtr target = ParseTarget();
      if (!target) return s;
      s->targets.push_back(std::move(target));
    }
    if (kind == Stmt::Kind::LineInput && s->targets.size() > 1) {
      Fail(s->targets[1]->position, "LINE INPUT reads a whole line into one STRING; INPUT takes the fields of a line apart");
      return s;
    }
    if (s->targets.size() == 1) {
      s->target = std::move(s->targets[0]);
      s->targets.clear();
    }
    return s;
  }

  StmtPtr ParseExit(Position position) {
    auto s = NewStmt(Stmt::Kind::Exit, position);
    if (Accept(Kw::For)) s->exits = Stmt::Exits::For;
    else if (Accept(Kw::Do)) s->exits = Stmt::Exits::Do;
    else if (Accept(Kw::While)) s->exits = Stmt::Exits::While;
    else if (Accept(Kw::Sub)) s->exits = Stmt::Exits::Sub;
    else if (Accept(Kw::Function)) s->exits = Stmt::Exits::Function;
    else Expected("FOR, DO, WHILE, SUB or FUNCTION after EXIT");
    return s;
  }

  StmtPtr ParseOption(Position position) {
    auto s = NewStmt(Stmt::Kind::Option, position);
    if (!Name(s->word, s->wordPosition, "the name of an option after OPTION")) return s;
    s->word = ToUpper(s->word);
    while (!AtStatementEnd()) {
      if (At(Tok::Name)) {
        // A word such as EARLIEST, kept as a text value.
        auto e = std::make_unique<Expr>();
        e->kind = Expr::Kind::Name;
        e->position = Peek().position;
        e->name = Next().upper;
        s->optionArgs.push_back(std::move(e));
      } else if (ExprPtr value = ParsePrimary(0)) {
        s->optionArgs.push_back(std::move(value));
      } else {
        return s;
      }
      Accept(Tok::Comma);
    }
    return s;
  }

  // ON FLOAT ERROR CALL name, or ON n GOTO|GOSUB label, label, ...
  StmtPtr ParseOn(Position position) {
    // ON ERROR GOTO may be ON n GOTO with a variable named error: the checker
    // decides. Any other ON ERROR is the form of other BASICs.
    if (Peek().isWord("ERROR") && !Peek(1).is(Kw::Goto) && !Peek(1).is(Kw::Gosub)) {
      Fail(position, ForeignMessage(Foreign::OnError));
      return NewStmt(Stmt::Kind::OnJump, position);
    }
    if (!Peek().isWord("FLOAT")) {
      auto s = NewStmt(Stmt::Kind::OnJump, position);
      s->value = ParseExpr();
      if (!s->value) return s;
      if (Accept(Kw::Gosub)) s->gosub = true;
      else if (!Expect(Kw::Goto, "GOTO or GOSUB after the number of ON")) return s;
      do {
        std::string label;
        Position at;
        if (!LabelName(label, at)) return s;
        s->labels.push_back(label);
        s->labelPositions.push_back(at);
      } while (Accept(Tok::Comma));
      return s;
    }
    auto s = NewStmt(Stmt::Kind::OnFloatError, position);
    Next();
    if (!Peek().isWord("ERROR")) {
      Expected("ERROR after ON FLOAT");
      return s;
    }
    Next();
    if (!Expect(Kw::Call, "CALL after ON FLOAT ERROR")) return s;
    Name(s->word, s->wordPosition, "the name of a SUB after CALL");
    return s;
  }

  // A label: a name or a line number.
  bool LabelName(std::string& label, Position& position) {
    position = Peek().position;
    if (At(Tok::Name) || (At(Tok::Integer) && Peek().spelling.find_first_not_of("0123456789") == std::string::npos)) {
      label = Next().spelling;
      return true;
    }
    Expected("a label or a line number");
    return false;
  }

  StmtPtr ParseJump(Position position) {
    auto s = NewStmt(Next().is(Kw::Gosub) ? Stmt::Kind::Gosub : Stmt::Kind::Goto, position);
    LabelName(s->word, s->wordPosition);
    return s;
  }

  StmtPtr ParseRestore(Position position) {
    auto s = NewStmt(Stmt::Kind::Restore, position);
    if (!AtStatementEnd()) LabelName(s->word, s->wordPosition);
    return s;
  }

  StmtPtr ParseData(Position position) {
    auto s = NewStmt(Stmt::Kind::Data, position);
    do {
      if (!At(Tok::Data) && !At(Tok::String)) {
        Expected("a DATA item");
        return s;
      }
      const Token& t = Next();
      s->data.push_back({t.spelling, t.kind == Tok::String, t.position});
    } while (Accept(Tok::Comma));
    return s;
  }

  // READ a, b$, t(i) and SWAP a, b: variables, elements, fields.
  StmtPtr ParseTargets(Stmt::Kind kind, Position position) {
    auto s = NewStmt(kind, position);
    do {
      ExprPtr target = ParseTarget();
      if (!target) return s;
      s->targets.push_back(std::move(target));
    } while (Accept(Tok::Comma));
    if (kind == Stmt::Kind::Swap && s->targets.size() != 2)
      Fail(position, "SWAP exchanges two variables: SWAP a, b");
    return s;
  }

  // REDIM [PRESERVE] name(bounds) [, name(bounds)...]
  StmtPtr ParseRedim(Position position) {
    auto s = NewStmt(Stmt::Kind::Redim, position);
    if (Peek().isWord("PRESERVE")) {
      Next();
      s->preserve = true;
    }
    do {
      DimItem item;
      if (!Name(item.name, item.position, "the name of the array")) return s;
      if (!At(Tok::LParen)) {
        Expected("'(' and the new bounds of the array");
        return s;
      }
      if (!ParseBounds(item)) return s;
      if (item.bounds.empty()) {
        Fail(item.position, "REDIM gives the array its new bounds: REDIM " + item.name + "(10)");
        return s;
      }
      s->dims.push_back(std::move(item));
    } while (Accept(Tok::Comma));
    return s;
  }

  // TYPE name, its fields (name AS type), END TYPE.
  void ParseType(int depth) {
    RecordType type;
    Position position = Next().position;
    if (depth > 0) diagnostics_.error(position, "TYPE is declared outside routines and blocks");
    Name(type.name, type.position, "a name for the TYPE");
    EndStatement();
    for (;;) {
      while (Accept(Tok::Newline) || Accept(Tok::Colon)) {
      }
      if (CloserAt() == Closer::EndType || At(Tok::End) || CloserAt() != Closer::None) break;
      RecordField field;
      if (Name(field.name, field.position, "a field name") && Expect(Kw::As, "AS and the field's type")) {
        field.typePosition = Peek().position;
        if (At(Kw::Integer) || At(Kw::Double) || At(Kw::String) || At(Tok::Name)) field.typeName = Next().upper;
        else Expected("the field's type");
        ValueType standIn = StandIn(field.typeName, field.typePosition);
        if (standIn != ValueType::None) field.typeName = TypeName(standIn);
      }
      if (!failed_ && !field.typeName.empty()) type.fields.push_back(std::move(field));
      EndStatement();
    }
    CloseBlock(Closer::EndType, position, "TYPE has no END TYPE");
    EndStatement();
    module_.types.push_back(std::move(type));
  }

  StmtPtr ParseOpen(Position position) {
    auto s = NewStmt(Stmt::Kind::OpenConsole, position);
    if (!Peek().isWord("CONSOLE")) {
      // OPEN "name" FOR INPUT AS #1 and the like, of other BASICs.
      bool file = At(Tok::String);
      for (size_t i = 0; !file && Peek(i).kind != Tok::Newline && Peek(i).kind != Tok::Colon && Peek(i).kind != Tok::End; ++i)
        file = Peek(i).is(Kw::For) || Peek(i).kind == Tok::Hash;
      if (file) Fail(position, ForeignMessage(Foreign::OpenFile));
      else Expected("CONSOLE after OPEN");
      return s;
    }
    Next();
    return s;
  }

  // CALL name [(args)]
  StmtPtr ParseCall(Position position, bool) {
    auto s = NewStmt(Stmt::Kind::Call, position);
    ExprPtr callee = ParsePostfix(0);
    if (!callee) return s;
    if (callee->kind != Expr::Kind::Name && callee->kind != Expr::Kind::Member) {
      Fail(callee->position, "expected the name of a SUB after CALL");
      return s;
    }
    s->callee = std::move(callee);
    return s;
  }

  // An assignment, or a call without CALL: name args, object.method args.
  StmtPtr ParseNameStatement(Position position, bool let) {
    size_t start = at_;
    ExprPtr target = ParsePostfix(0);
    if (!target) return nullptr;
    if (Accept(Tok::Equal)) {
      auto s = NewStmt(Stmt::Kind::Assign, position);
      s->target = std::move(target);
      s->value = ParseExpr();
      return s;
    }
    if (let) {
      Expected("'=' after the name");
      return nullptr;
    }
    auto s = NewStmt(Stmt::Kind::Call, position);
    if (AtStatementEnd() || At(Kw::Else)) {
      s->callee = std::move(target);
      return s;
    }
    // Not name(args) alone: read again as name arg, arg, ... where the first
    // argument may itself begin with a parenthesis.
    at_ = start;
    auto callee = std::make_unique<Expr>();
    callee->position = Peek().position;
    callee->name = Next().spelling;
    callee->kind = Expr::Kind::Name;
    if (Accept(Tok::Dot)) {
      callee->kind = Expr::Kind::Member;
      callee->object = callee->name;
      callee->objectPosition = callee->position;
      callee->position = Peek().position;
      if (!MemberName(callee->name, callee->position)) return nullptr;
    }
    callee->parenthesised = true;
    do {
      ExprPtr arg = ParseExpr();
      if (!arg) return nullptr;
      callee->args.push_back(std::move(arg));
    } while (Accept(Tok::Comma));
    s->callee = std::move(callee);
    return s;
  }

  ExprPtr ParseTarget() {
    ExprPtr target = ParsePostfix(0);
    if (target && target->kind != Expr::Kind::Name && target->kind != Expr::Kind::Member &&
        target->kind != Expr::Kind::Field) {
      Fail(target->position, "expected a variable");
      return nullptr;
    }
    return target;
  }

  // ---- blocks with bodies

  Block ParseLineStatements(int depth) {
    // The statements of a single-line IF: up to ELSE or the end of the line.
    Block block;
    for (;;) {
      while (Accept(Tok::Colon)) {
      }
      if (At(Tok::Newline) || At(Tok::End) || At(Kw::Else)) return block;
      if (block.empty() && At(Tok::Integer)) {
        // IF ... THEN 100: a jump to line 100.
        auto s = NewStmt(Stmt::Kind::Goto, Peek().position);
        LabelName(s->word, s->wordPosition);
        block.push_back(Finish(std::move(s)));
        continue;
      }
      if (At(Tok::Keyword) && (At(Kw::For) || At(Kw::While) || At(Kw::Do) || At(Kw::Select) ||
                               At(Kw::Sub) || At(Kw::Function))) {
        Fail(Peek().position, Peek().upper + " cannot stand inside a single-line IF");
        SkipStatement();
        failed_ = false;
        continue;
      }
      if (StmtPtr statement = ParseStatement(depth + 1)) block.push_back(std::move(statement));
    }
  }

  StmtPtr ParseIf(Position position, int depth) {
    auto s = NewStmt(Stmt::Kind::If, position);
    IfBranch first;
    first.condition = ParseExpr();
    if (first.condition && !Accept(Kw::Then)) Expected("THEN after the condition");
    if (failed_) {
      // A faulty first line that went on after the condition is taken as a
      // single-line IF, so that the lines below it are not read as its block.
      bool more = !At(Tok::Newline) && !At(Tok::End);
      SkipLine();
      failed_ = false;
      if (more) {
        s->branches.push_back(std::move(first));
        return s;
      }
    }
    if (!At(Tok::Newline) && !At(Tok::End)) {
      // Single-line IF: every statement after THEN up to ELSE belongs to it.
      ++lineIf_;
      first.body = ParseLineStatements(depth);
      s->branches.push_back(std::move(first));
      if (Accept(Kw::Else)) {
        IfBranch other;
        other.body = ParseLineStatements(depth);
        s->branches.push_back(std::move(other));
      }
      --lineIf_;
      return s;
    }
    first.body = ParseBlock({Closer::ElseIf, Closer::Else, Closer::EndIf}, depth + 1);
    s->branches.push_back(std::move(first));
    while (At(Kw::ElseIf)) {
      Next();
      IfBranch branch;
      branch.condition = ParseExpr();
      if (branch.condition && !Accept(Kw::Then)) Expected("THEN after the condition");
      EndStatement();
      branch.body = ParseBlock({Closer::ElseIf, Closer::Else, Closer::EndIf}, depth + 1);
      s->branches.push_back(std::move(branch));
    }
    if (Accept(Kw::Else)) {
      IfBranch other;
      other.body = ParseBlock({Closer::EndIf}, depth + 1);
      s->branches.push_back(std::move(other));
      if (At(Kw::ElseIf) || At(Kw::Else)) {
        diagnostics_.error(Peek().position, std::string(Peek().upper) + " after the ELSE of this IF");
        SkipLine();
        ParseBlock({Closer::EndIf}, depth + 1);
      }
    }
    CloseBlock(Closer::EndIf, position, "IF has no END IF");
    EndStatement();
    return s;
  }

  // Consumes the closer (two words for END ...) or reports the open block.
  void CloseBlock(Closer closer, Position opened, const char* missing) {
    if (CloserAt() != closer) {
      diagnostics_.error(opened, missing);
      return;
    }
    Next();
    if (closer == Closer::EndIf || closer == Closer::EndSelect || closer == Closer::EndSub ||
        closer == Closer::EndFunction || closer == Closer::EndType)
      Next();
  }

  StmtPtr ParseFor(Position position, int depth) {
    auto s = NewStmt(Stmt::Kind::For, position);
    ExprPtr counter;
    std::string name;
    Position namePosition;
    if (Name(name, namePosition, "the name of the counter after FOR")) {
      s->target = std::make_unique<Expr>();
      s->target->kind = Expr::Kind::Name;
      s->target->name = name;
      s->target->position = namePosition;
      if (Expect(Tok::Equal, "'=' after the counter") && (s->start = ParseExpr()) &&
          Expect(Kw::To, "TO after the start value") && (s->end = ParseExpr())) {
        if (Accept(Kw::Step)) s->step = ParseExpr();
      }
    }
    EndStatement();
    s->body = ParseBlock({Closer::Next}, depth + 1);
    if (CloserAt() != Closer::Next) {
      diagnostics_.error(position, "FOR has no NEXT");
      return s;
    }
    Next();
    if (At(Tok::Name)) {
      s->nextPosition = Peek().position;
      s->nextName = Next().spelling;
    }
    EndStatement();
    return s;
  }

  StmtPtr ParseWhile(Position position, int depth) {
    auto s = NewStmt(Stmt::Kind::While, position);
    s->condition = ParseExpr();
    EndStatement();
    s->body = ParseBlock({Closer::Wend, Closer::EndWhile}, depth + 1);
    if (CloserAt() == Closer::EndWhile) {
      diagnostics_.error(position, ForeignMessage(Foreign::EndWhile) + "; make the END WHILE on line " +
                                       std::to_string(Peek().position.line) + " a WEND");
      Next();
      Next();
    } else {
      CloseBlock(Closer::Wend, position, "WHILE has no WEND");
    }
    EndStatement();
    return s;
  }

  bool ParseLoopTest(Stmt& s) {
    if (At(Kw::While) || At(Kw::Until)) {
      s.test = Next().is(Kw::While) ? Stmt::Test::While : Stmt::Test::Until;
      s.condition = ParseExpr();
      return true;
    }
    return false;
  }

  StmtPtr ParseDo(Position position, int depth) {
    auto s = NewStmt(Stmt::Kind::Do, position);
    ParseLoopTest(*s);
    EndStatement();
    s->body = ParseBlock({Closer::Loop}, depth + 1);
    if (CloserAt() != Closer::Loop) {
      diagnostics_.error(position, "DO has no LOOP");
      return s;
    }
    Position loop = Next().position;
    if (At(Kw::While) || At(Kw::Until)) {
      if (s->test != Stmt::Test::None) {
        Fail(loop, "a DO loop tests its condition at DO or at LOOP, not at both");
      } else {
        s->testAtEnd = true;
        ParseLoopTest(*s);
      }
    }
    EndStatement();
    return s;
  }

  StmtPtr ParseSelect(Position position, int depth) {
    auto s = NewStmt(Stmt::Kind::Select, position);
    if (Expect(Kw::Case, "CASE after SELECT")) s->value = ParseExpr();
    EndStatement();
    while (Accept(Tok::Newline) || Accept(Tok::Colon)) {
    }
    if (!At(Kw::Case) && CloserAt() != Closer::EndSelect) {
      diagnostics_.error(Peek().position, "expected CASE after SELECT CASE");
      ParseBlock({Closer::Case, Closer::EndSelect}, depth + 1);
    }
    while (At(Kw::Case)) {
      CaseClause clause;
      clause.position = Next().position;
      if (Accept(Kw::Else)) {
        clause.isElse = true;
      } else {
        do {
          CaseItem item;
          if (Accept(Kw::Is)) {
            item.kind = CaseItem::Kind::Is;
            const Token& op = Peek();
            bool found = false;
            for (const BinaryRow& row : kBinary) {
              if (row.priority == 4 && op.kind == row.token) {
                item.op = row.op;
                found = true;
              }
            }
            if (!found) {
              Expected("a comparison after IS");
              break;
            }
            Next();
            item.first = ParseExpr();
          } else {
            item.first = ParseExpr();
            if (item.first && Accept(Kw::To)) {
              item.kind = CaseItem::Kind::Range;
              item.last = ParseExpr();
            }
          }
          if (failed_) break;
          clause.items.push_back(std::move(item));
        } while (Accept(Tok::Comma));
      }
      EndStatement();
      clause.body = ParseBlock({Closer::Case, Closer::EndSelect}, depth + 1);
      bool afterElse = !s->cases.empty() && s->cases.back().isElse;
      if (afterElse) diagnostics_.error(clause.position, "CASE after CASE ELSE");
      s->cases.push_back(std::move(clause));
    }
    CloseBlock(Closer::EndSelect, position, "SELECT CASE has no END SELECT");
    EndStatement();
    return s;
  }

  // ---- routines

  bool ParseParams(std::vector<Param>& params) {
    if (!Accept(Tok::LParen)) return true;
    if (Accept(Tok::RParen)) return true;
    do {
      Param p;
      if (Peek().isWord("BYREF")) {
        Next();
        p.byReference = true;
      } else if (Peek().isWord("BYVAL")) {
        Next();
      }
      if (!Name(p.name, p.position, "a parameter name")) return false;
      if (Accept(Tok::LParen)) {
        p.dimensions = 1;
        while (Accept(Tok::Comma)) ++p.dimensions;
        if (!Expect(Tok::RParen, "')' after the array parameter, as in a() or a(,)")) return false;
      }
      p.typePosition = Peek().position;
      if (!Accept(Kw::As)) {
        // A name with a type suffix needs no AS.
        p.type = SuffixType(p.name);
        if (p.type == ValueType::None) {
          Expected("AS and a type after the parameter name");
          return false;
        }
        params.push_back(std::move(p));
        continue;
      }
      p.typePosition = Peek().position;
      if (Accept(Kw::Integer)) p.type = ValueType::Integer;
      else if (Accept(Kw::Double)) p.type = ValueType::Double;
      else if (Accept(Kw::String)) p.type = ValueType::String;
      else if (At(Tok::Name) && StandIn(Peek().upper) != ValueType::None) p.type = StandIn(Next().upper, p.typePosition);
      else if (At(Tok::Name)) p.typeName = Next().upper;
      else {
        Expected("INTEGER, DOUBLE, STRING or a TYPE");
        return false;
      }
      params.push_back(std::move(p));
    } while (Accept(Tok::Comma));
    return Expect(Tok::RParen, "')' after the parameters");
  }

  bool ParseResultType(Routine& r) {
    if (!r.isFunction) return true;
    if (!At(Kw::As) && SuffixType(r.name) != ValueType::None) {
      // A name with a type suffix needs no AS.
      r.resultPosition = r.position;
      r.result = SuffixType(r.name);
      return true;
    }
    if (!Expect(Kw::As, "AS and the type of the FUNCTION's result")) return false;
    r.resultPosition = Peek().position;
    if (Accept(Kw::Integer)) r.result = ValueType::Integer;
    else if (Accept(Kw::Double)) r.result = ValueType::Double;
    else if (Accept(Kw::String)) r.result = ValueType::String;
    else if (At(Tok::Name) && StandIn(Peek().upper) != ValueType::None) r.result = StandIn(Next().upper, r.resultPosition);
    else {
      Expected("INTEGER, DOUBLE or STRING");
      return false;
    }
    return true;
  }

  void ParseRoutine(int depth) {
    auto r = std::make_unique<Routine>();
    r->module = module_.file;
    Position position = Peek().position;
    r->isFunction = Next().is(Kw::Function);
    r->result = r->isFunction ? ValueType::Error : ValueType::None;
    if (depth > 0) diagnostics_.error(position, std::string(r->isFunction ? "FUNCTION" : "SUB") +
                                                    " is defined inside a block or another routine");
    if (Name(r->name, r->position, r->isFunction ? "a name for the FUNCTION" : "a name for the SUB") &&
        ParseParams(r->params) && ParseResultType(*r)) {
      if (Peek().isWord("EXPORT")) {
        Next();
        r->exported = true;
        if (At(Tok::Integer)) r->ordinal = static_cast<int>(Next().integer);
      }
    }
    EndStatement();
    Closer end = r->isFunction ? Closer::EndFunction : Closer::EndSub;
    r->body = ParseBlock({end}, depth + 1);
    CloseBlock(end, position, r->isFunction ? "FUNCTION has no END FUNCTION" : "SUB has no END SUB");
    EndStatement();
    module_.routines.push_back(std::move(r));
  }

  // DECLARE [DYNAMIC] SUB|FUNCTION name [LIB "file" [ALIAS "name"]] [(params)] [AS type]
  void ParseDeclare(int depth) {
    Position position = Next().position;
    if (depth > 0) diagnostics_.error(position, "DECLARE stands outside routines and blocks");
    auto r = std::make_unique<Routine>();
    r->module = module_.file;
    if (Peek().isWord("DYNAMIC")) {
      Next();
      r->dynamic = true;
    }
    if (At(Kw::Sub) || At(Kw::Function)) {
      r->isFunction = Next().is(Kw::Function);
      r->result = r->isFunction ? ValueType::Error : ValueType::None;
      if (Name(r->name, r->position, "the name of the routine")) {
        bool ok = true;
        if (Peek().isWord("LIB")) {
          Next();
          r->fromLibrary = true;
          if (At(Tok::String)) r->library = Next().spelling;
          else ok = (Expected("the library's file name in quotes after LIB"), false);
          if (ok && Peek().isWord("ALIAS")) {
            Next();
            if (At(Tok::String)) r->alias = Next().spelling;
            else ok = (Expected("the exported name in quotes after ALIAS"), false);
          }
        } else {
          r->forward = true;
          if (r->dynamic) Fail(Peek().position, "a DYNAMIC declaration names its library with LIB");
        }
        if (ok && ParseParams(r->params)) ParseResultType(*r);
      }
    } else {
      Expected("SUB or FUNCTION after DECLARE");
    }
    EndStatement();
    if (!r->name.empty()) module_.routines.push_back(std::move(r));
  }

  // ---- expressions

  ExprPtr ParseExpr() { return ParseBinary(0, 0); }

  ExprPtr ParseBinary(int limit, int depth) {
    if (depth > kDepthLimit) {
      Fail(Peek().position, "the expression is nested too deeply");
      return nullptr;
    }
    ExprPtr left;
    const Token& t = Peek();
    if (t.is(Kw::Not) || t.kind == Tok::Minus || t.kind == Tok::Plus) {
      Position position = Next().position;
      bool negate = t.kind == Tok::Minus;
      bool isNot = t.is(Kw::Not);
      ExprPtr operand = ParseBinary(isNot ? kNotPriority : kMinusPriority, depth + 1);
      if (!operand) return nullptr;
      if (isNot || negate) {
        left = std::make_unique<Expr>();
        left->kind = Expr::Kind::Unary;
        left->position = position;
        left->unary = isNot ? UnaryOp::Not : UnaryOp::Negate;
        left->args.push_back(std::move(operand));
      } else {
        left = std::move(operand);
      }
    } else {
      left = ParsePrimary(depth + 1);
      if (!left) return nullptr;
    }
    for (;;) {
      const BinaryRow* row = FindBinary(Peek());
      if (row == nullptr || row->priority <= limit) return left;
      Position position = Next().position;
      ExprPtr right = ParseBinary(row->priority, depth + 1);
      if (!right) return nullptr;
      auto e = std::make_unique<Expr>();
      e->kind = Expr::Kind::Binary;
      e->position = position;
      e->binary = row->op;
      e->args.push_back(std::move(left));
      e->args.push_back(std::move(right));
      left = std::move(e);
    }
  }

  static const BinaryRow* FindBinary(const Token& t) {
    for (const BinaryRow& row : kBinary) {
      if (row.token != t.kind) continue;
      if (row.token == Tok::Keyword && row.keyword != t.keyword) continue;
      return &row;
    }
    return nullptr;
  }

  ExprPtr ParsePrimary(int depth) {
    const Token& t = Peek();
    auto e = std::make_unique<Expr>();
    e->position = t.position;
    switch (t.kind) {
      case Tok::Integer:
        e->kind = Expr::Kind::Integer;
        e->integer = Next().integer;
        return e;
      case Tok::Number:
        e->kind = Expr::Kind::Number;
        e->number = t.number;
        e->text = Next().spelling;
        return e;
      case Tok::String:
        e->kind = Expr::Kind::String;
        e->text = Next().spelling;
        return e;
      case Tok::LParen: {
        Next();
        ExprPtr inner = ParseBinary(0, depth + 1);
        if (!inner) return nullptr;
        if (!Expect(Tok::RParen, "')'")) return nullptr;
        return inner;
      }
      case Tok::Name: return ParsePostfix(depth);
      case Tok::Hash: Fail(t.position, ForeignMessage(Foreign::FileNumber)); return nullptr;
      default: break;
    }
    if (t.kind == Tok::Keyword) Fail(t.position, "expected a value, found the reserved word " + t.upper);
    else Expected("a value");
    return nullptr;
  }

  // name, name(args), object.member, object.member(args)
  ExprPtr ParsePostfix(int depth) {
    auto e = std::make_unique<Expr>();
    e->kind = Expr::Kind::Name;
    if (!Name(e->name, e->position, "a name")) return nullptr;
    if (At(Tok::Dot)) {
      Next();
      e->kind = Expr::Kind::Member;
      e->object = e->name;
      e->objectPosition = e->position;
      if (!MemberName(e->name, e->position)) return nullptr;
    }
    if (Accept(Tok::LParen)) {
      e->parenthesised = true;
      if (!Accept(Tok::RParen)) {
        do {
          ExprPtr arg = ParseBinary(0, depth + 1);
          if (!arg) return nullptr;
          e->args.push_back(std::move(arg));
        } while (Accept(Tok::Comma));
        if (!Expect(Tok::RParen, "')' after the arguments")) return nullptr;
      }
    }
    // Further fields of a record: pts(i).name, a.b.c.
    while (At(Tok::Dot)) {
      Next();
      auto field = std::make_unique<Expr>();
      field->kind = Expr::Kind::Field;
      if (!MemberName(field->name, field->position)) return nullptr;
      if (At(Tok::LParen)) {
        Fail(Peek().position, "a field of a record takes no index");
        return nullptr;
      }
      field->args.push_back(std::move(e));
      e = std::move(field);
    }
    return e;
  }

  const std::vector<Token>& tokens_;
  Diagnostics& diagnostics_;
  Module module_;
  size_t at_ = 0;
  bool failed_ = false;
  int lineIf_ = 0;
  bool lineStart_ = true;  // the next statement begins a line
};

}  // namespace

Module Parse(const std::vector<Token>& tokens, int file, Diagnostics& diagnostics) {
  return Parser(tokens, file, diagnostics).Run();
}

}  // namespace tbc
