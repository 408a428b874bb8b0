// Programs the compiler must refuse: each with the line, column and message of
// its first error, and how many errors it gives in all (one mistake, one message).
#include <gtest/gtest.h>

#include <sstream>

#include "both_compilers.h"
#include "check.h"
#include "lexer.h"
#include "parser.h"

namespace {

using namespace tbc;

struct Refusal {
  const char* source;
  int line;
  int column;
  const char* message;
  size_t errors;
};

void PrintTo(const Refusal& r, std::ostream* out) { *out << '"' << r.source << '"'; }

// The diagnostics of a program given as modules; the first is the main one.
// Its warnings go to *warnings when asked for.
std::vector<Diagnostic> Diagnose(const std::vector<std::string>& sources, std::string* printed = nullptr,
                                 std::vector<Diagnostic>* warnings = nullptr) {
  std::vector<SourceFile> files;
  for (size_t i = 0; i < sources.size(); ++i) files.emplace_back("m" + std::to_string(i) + ".bas", sources[i]);
  Diagnostics diagnostics(files);
  std::vector<Module> modules;
  for (size_t i = 0; i < files.size(); ++i)
    modules.push_back(Parse(Lex(files[i], static_cast<int>(i), diagnostics), static_cast<int>(i), diagnostics));
  Program program;
  Check(modules, files, program, diagnostics);
  if (printed != nullptr) {
    std::ostringstream out;
    diagnostics.print(out);
    diagnostics.printWarnings(out);
    *printed = out.str();
  }
  if (warnings != nullptr) *warnings = diagnostics.warnings();
  return diagnostics.reported();
}

const Refusal kRefusals[] = {
    // Lexical
    {"PRINT \"abc", 1, 7, "the text is not closed with \" before the end of the line", 1},
    {"PRINT 1 @ 2", 1, 9, "unexpected character '@'", 1},
    {"PRINT &H123456789", 1, 7, "the hexadecimal number &H123456789 is longer than 32 bits", 1},
    {"PRINT 1 _ ' no", 1, 9, "'_' continues a line only as the last character of the line", 1},
    {"PRINT 12abc", 1, 9, "a number cannot be followed directly by a letter", 1},
    // Syntax, and going on after it
    {"IF 1 PRINT 2", 1, 6, "expected THEN after the condition, found PRINT", 1},
    {"PRINT (\nPRINT y", 1, 8, "expected a value, found the end of the line", 2},
    {"DIM print AS INTEGER", 1, 5, "PRINT is a reserved word and cannot be used as a name for the variable", 1},
    {"DIM i AS INTEGER\nFOR i = 1 TO 3\nPRINT i", 2, 1, "FOR has no NEXT", 1},
    {"NEXT", 1, 1, "NEXT without FOR", 1},
    {"IF 1 THEN\nPRINT 1\nWEND\nPRINT 2", 1, 1, "IF has no END IF", 2},
    {"DO WHILE 1\nLOOP UNTIL 0", 2, 1, "a DO loop tests its condition at DO or at LOOP, not at both", 1},
    {"SELECT CASE 1\nPRINT 1\nCASE 1\nEND SELECT", 2, 1, "expected CASE after SELECT CASE", 1},
    {"X = 1 +", 1, 8, "expected a value, found the end of the line", 1},
    // Names
    {"PRINT x\nPRINT x + x", 1, 7, "x is not declared", 1},
    {"Foo 1", 1, 1, "Foo is not declared", 1},
    {"DIM x AS FOO\nx = 1\nPRINT x", 1, 10,
     "unknown type FOO; a variable is INTEGER, DOUBLE, STRING or a TYPE, an object FORM, BUTTON, LABEL and so on", 1},
    {"DIM x AS INTEGER\nDIM x AS STRING", 2, 5, "x is already declared at m0.bas:1", 1},
    {"x = 1\nDIM x AS INTEGER", 1, 1, "x is used before its declaration on line 2", 1},
    {"DIM a$ AS INTEGER", 1, 11, "a name ending in $ is a STRING", 1},
    {"DIM x", 1, 5, "give x a type: DIM x AS INTEGER, DOUBLE or STRING", 1},
    {"CONST K = 1\nK = 2", 2, 1, "K is a constant and cannot be set", 1},
    {"DIM x AS INTEGER\nCONST K = x", 2, 11, "the value of a CONST must be known when compiling", 1},
    // Types
    {"DIM s AS STRING\ns = 1", 2, 5, "cannot store a number in the STRING s", 1},
    {"DIM i AS INTEGER\ni = \"a\"", 2, 5, "cannot store a STRING in the INTEGER i", 1},
    {"PRINT \"a\" - 1", 1, 11, "'-' needs numbers, found a STRING", 1},
    {"PRINT 1 = \"a\"", 1, 9, "'=' compares a STRING with a STRING or a number with a number", 1},
    {"IF \"a\" THEN PRINT 1", 1, 4, "a condition is a number; compare texts with = or <>", 1},
    {"PRINT LEN(5)", 1, 11, "argument 1 of LEN is a STRING", 1},
    {"PRINT LEFT$(\"a\")", 1, 7, "LEFT$ takes 2 arguments, given 1", 1},
    {"PRINT LEN \"a\"", 1, 11, "expected the end of the statement, found a text in quotes", 1},
    {"PRINT LEN", 1, 7, "LEN takes its arguments in parentheses", 1},
    {"LEN(\"a\")", 1, 1, "LEN gives a value and cannot stand as a statement", 1},
    // The numeric, text and system built-ins: argument counts and kinds,
    // parentheses, values and statements
    {"PRINT SIN(1, 2)", 1, 7, "SIN takes 1 argument, given 2", 1},
    {"PRINT LOG(\"e\")", 1, 11, "argument 1 of LOG is a number", 1},
    {"PRINT MAX(1)", 1, 7, "MAX takes 2 arguments, given 1", 1},
    {"PRINT MIN(1, \"2\")", 1, 14, "argument 2 of MIN is a number", 1},
    {"PRINT CINT()", 1, 7, "CINT takes 1 argument, given 0", 1},
    {"PRINT RND(6)", 1, 7, "RND takes 0 arguments, given 1", 1},
    {"PRINT PI(2)", 1, 7, "PI takes 0 arguments, given 1", 1},
    {"TIMER", 1, 1, "TIMER gives a value and cannot stand as a statement", 1},
    {"RANDOMIZE", 1, 1, "RANDOMIZE takes 1 argument, given 0", 1},
    {"RANDOMIZE \"seed\"", 1, 11, "argument 1 of RANDOMIZE is a number", 1},
    {"PRINT HEX$(\"ff\")", 1, 12, "argument 1 of HEX$ is a number", 1},
    {"PRINT STRING$(3)", 1, 7, "STRING$ takes 2 arguments, given 1", 1},
    {"PRINT SPACE$(\" \")", 1, 14, "argument 1 of SPACE$ is a number", 1},
    {"PRINT TRIM$(5)", 1, 13, "argument 1 of TRIM$ is a STRING", 1},
    {"PRINT INSTRREV(\"a\")", 1, 7, "INSTRREV takes 2 to 3 arguments, given 1", 1},
    {"PRINT REPLACE$(\"a\", 1, \"b\")", 1, 21, "argument 2 of REPLACE$ is a STRING", 1},
    {"PRINT INKEY$(1)", 1, 7, "INKEY$ takes 0 arguments, given 1", 1},
    {"INKEY$", 1, 1, "INKEY$ gives a value and cannot stand as a statement", 1},
    {"PRINT ENVIRON$", 1, 7, "ENVIRON$ takes its arguments in parentheses", 1},
    {"PRINT DATE$ + COMMAND$(1)", 1, 15, "COMMAND$ takes 0 arguments, given 1", 1},
    {"SLEEP \"1\"", 1, 7, "argument 1 of SLEEP is a number", 1},
    {"BEEP 1", 1, 1, "BEEP takes 0 arguments, given 1", 1},
    {"DIM x AS INTEGER\nx = BEEP", 2, 5, "BEEP is a statement and gives no value", 1},
    // MID$ as a statement changes a STRING variable or element
    {"MID$(\"abc\", 1) = \"x\"", 1, 6, "the first argument of MID$ = is the STRING variable it changes", 1},
    {"CONST K$ = \"abc\"\nMID$(K$, 1) = \"x\"", 2, 6, "the first argument of MID$ = is the STRING variable it changes", 1},
    {"DIM s AS STRING\nMID$(UCASE$(s), 1) = \"x\"", 2, 6,
     "the first argument of MID$ = is the STRING variable it changes", 1},
    {"DIM n AS INTEGER\nMID$(n, 1) = \"x\"", 2, 6, "argument 1 of MID$ is a STRING", 1},
    {"DIM s AS STRING\nMID$(s, 1) = 5", 2, 14, "cannot store a number in part of a STRING", 1},
    {"DIM s AS STRING\nMID$(s) = \"x\"", 2, 1, "MID$ takes 2 to 3 arguments, given 1", 1},
    {"DIM s AS STRING\nLEFT$(s, 1) = \"x\"", 2, 1, "LEFT$ is built in and cannot be set", 1},
    // Arrays
    {"DIM t(3) AS INTEGER\nPRINT t(1, 2)", 2, 7, "t has 1 dimension, given 2 indices", 1},
    {"DIM t(3) AS INTEGER\nPRINT t", 2, 7, "t is an array; give its index, as in t(0)", 1},
    {"DIM n AS INTEGER\nDIM t(n) AS INTEGER", 2, 7,
     "an array's bound is a whole number known when compiling (a literal or a CONST); use DIM a() and REDIM for "
     "bounds known only while the program runs", 1},
    {"DIM t(5 TO 4) AS INTEGER", 1, 12, "the upper bound is below the lower bound 5", 1},
    {"DIM t(-1) AS INTEGER", 1, 7, "an array's bound is 0 or more", 1},
    // Routines
    {"SUB A(x AS INTEGER)\nEND SUB\nA 1, 2", 3, 1, "A takes 1 argument, given 2", 1},
    {"SUB A(x AS STRING)\nEND SUB\nA 1", 3, 3, "argument 1 of A is a STRING, found a number", 1},
    {"FUNCTION F() AS INTEGER\nF = 1\nEND FUNCTION\nPRINT F", 4, 7,
     "a call of the FUNCTION F needs parentheses: F()", 1},
    {"SUB A\nEND SUB\nPRINT A", 3, 7, "A is a SUB and gives no value", 1},
    {"FUNCTION F() AS INTEGER\nEND FUNCTION\nF()", 3, 1, "F is a FUNCTION: use its result, as in x = F(...)", 1},
    {"SUB A\n  DIM t(300) AS INTEGER\n  A\nEND SUB", 2, 7,
     "a recursive routine keeps its arrays on the stack, at most 1024 bytes each: make t a variable of the main code, "
     "or use DIM t() and REDIM", 1},
    // Jumps, DATA, SWAP, suffixes
    {"GOTO Nowhere", 1, 6, "there is no label Nowhere in the main code", 1},
    {"GOSUB 100", 1, 7, "there is no line 100 in the main code", 1},
    {"IF 1 THEN\nInside:\nEND IF\nGOTO Inside", 4, 6,
     "a jump cannot enter a block from outside it: Inside stands inside an IF, a loop or a SELECT CASE that this jump "
     "is not in", 1},
    {"Top:\nTop:", 2, 1, "the label Top is already given on line 1", 1},
    {"10 PRINT\n010 PRINT", 2, 1, "line 010 is already given on line 1", 1},
    {"Here:\nSUB A\n  GOTO Here\nEND SUB", 3, 8, "there is no label Here in this routine; a jump stays inside its routine", 1},
    {"SUB A\n  DATA 1, 2\nEND SUB", 2, 3, "DATA stands in the main code", 1},
    {"DIM a AS INTEGER, s AS STRING\nSWAP a, s", 2, 9,
     "SWAP exchanges two variables of one type: this is a STRING, the first an INTEGER", 1},
    {"DIM a AS INTEGER\nSWAP a", 2, 1, "SWAP exchanges two variables: SWAP a, b", 1},
    {"WHILE 1\nWEND\nEXIT WHILE", 3, 1, "EXIT WHILE outside a WHILE loop", 1},
    {"DIM a% AS STRING", 1, 11, "a name ending in % is an INTEGER", 1},
    {"DIM d# AS INTEGER", 1, 11, "a name ending in # is a DOUBLE", 1},
    {"ON 1 PRINT", 1, 6, "expected GOTO or GOSUB after the number of ON, found PRINT", 1},
    // Records, arrays passed whole, dynamic arrays, BYREF
    {"TYPE P\n  x AS INTEGER\nEND TYPE\nDIM p AS P\nPRINT p", 5, 7, "p is a record: use its fields, as in p.x", 1},
    {"TYPE P\n  x AS INTEGER\nEND TYPE\nDIM p AS P\nPRINT p.y", 5, 9, "the TYPE P has no field y", 1},
    {"TYPE P\n  x AS INTEGER\n  x AS DOUBLE\nEND TYPE", 3, 3, "the field x is given twice", 1},
    {"TYPE P\n  q AS P\nEND TYPE", 1, 6, "TYPE P holds itself through its field q", 1},
    {"TYPE P\n  x AS Nothing\nEND TYPE", 2, 8, "unknown type NOTHING; a field is INTEGER, DOUBLE, STRING or a TYPE", 1},
    {"TYPE A\n  x AS INTEGER\nEND TYPE\nTYPE B\n  x AS INTEGER\nEND TYPE\nDIM a AS A, b AS B\na = b", 8, 5,
     "a A takes a copy of another A", 1},
    {"DIM n AS INTEGER\nn.x = 1", 2, 1, "n is not an object, so it has no properties", 1},
    {"DIM t(3) AS INTEGER\nREDIM t(5)", 2, 7, "REDIM gives new bounds to an array declared with DIM t() AS type; t has fixed bounds", 1},
    {"DIM d() AS INTEGER\nREDIM d(3)\nd(1, 2) = 0", 3, 1, "d has 1 dimension, given 2 indices", 1},
    {"DIM d() AS INTEGER\nREDIM PRESERVE d(1, 2)", 2, 16, "REDIM PRESERVE keeps the elements of an array of one dimension", 1},
    {"SUB S(a() AS INTEGER)\nEND SUB\nDIM n AS INTEGER\nS n", 4, 3, "argument 1 of S is the name of an array, as in a or a()", 1},
    {"SUB S(a() AS INTEGER)\nEND SUB\nDIM t(3) AS DOUBLE\nS t()", 4, 3,
     "argument 1 of S is an array of INTEGER, found one of DOUBLE", 1},
    {"SUB S(BYREF x AS INTEGER)\nEND SUB\nS 1 + 2", 3, 5, "argument 1 of S is BYREF: give a variable, an element or a field", 1},
    {"SUB S(BYREF x AS INTEGER)\nEND SUB\nDIM d AS DOUBLE\nS d", 4, 3, "argument 1 of S is an INTEGER, found a DOUBLE", 1},
    {"DECLARE SUB Beep LIB \"user32.dll\" (BYREF k AS INTEGER)", 1, 42,
     "only INTEGER and STRING values pass to a library routine: no BYREF, arrays or records", 1},
    {"DIM t(3) AS INTEGER\nPRINT LBOUND(t, 2)", 2, 17, "t has 1 dimension", 1},
    {"SUB A\nEND SUB\nSUB A\nEND SUB", 3, 5, "SUB A is already defined at m0.bas:1", 1},
    {"SUB A(x AS INTEGER, x AS STRING)\nEND SUB", 1, 21, "the parameter x is given twice", 1},
    {"EXIT FOR", 1, 1, "EXIT FOR outside a FOR loop", 1},
    {"SUB A\nEXIT FUNCTION\nEND SUB", 2, 1, "EXIT FUNCTION outside a FUNCTION", 1},
    {"DIM i AS INTEGER, j AS INTEGER\nFOR i = 1 TO 2\nNEXT j", 3, 6, "NEXT j does not match FOR i", 1},
    {"SUB A\nSUB B\nEND SUB\nEND SUB", 2, 1, "SUB is defined inside a block or another routine", 1},
    {"DECLARE SUB Missing(x AS INTEGER)", 1, 13, "SUB Missing is declared but defined in no module", 1},
    // Kinds of program
    {"OPEN CONSOLE", 1, 1, "OPEN CONSOLE is for window programs; a console program has its console already", 1},
    {"SUB A EXPORT\nEND SUB", 1, 5, "EXPORT is for the routines of a library (OPTION LIBRARY)", 1},
    {"OPTION LIBRARY\nPRINT 1", 2, 1, "a library has no main code: statements stand in its SUBs and FUNCTIONs", 1},
    {"DECLARE SUB X LIB \"a.dll\" (d AS DOUBLE)", 1, 33, "only INTEGER and STRING values are passed to a library routine", 1},
    {"OPTION FOO", 1, 8, "unknown option FOO; the options are SIGNATURE, NAME, LIBRARY, GUI, RESOURCES and TABSTOPS", 1},
    {"OPTION SIGNATURE 12345", 1, 18, "OPTION SIGNATURE takes a number from 0 to 9999", 1},
    {"IF 1 THEN\nOPTION SIGNATURE 1\nEND IF", 2, 1, "OPTION stands at the top level of the main code", 1},
    {"FUNCTION F() AS INTEGER\nEND FUNCTION\nON FLOAT ERROR CALL F", 3, 21,
     "the floating-point handler is a SUB without arguments", 1},
    {"SUB H\nEND SUB\nON FLOAT ERROR CALL H\nDIM x AS DOUBLE\n"
     "PRINT x + (x + (x + (x + (x + (x + (x + (x + (x + 1))))))))\nPRINT x + (x + (x + (x + (x + (x + (x + 1))))))",
     5, 9, "this expression needs more than the eight registers of the x87; in a program with a floating-point handler, "
     "split it into smaller ones", 1},
    {"SUB H\nEND SUB\nON FLOAT ERROR CALL H\nDIM x AS DOUBLE\n"
     "PRINT x + (x + (x + (x + (x + MIN(x, MAX(x, EXP(x)))))))\nPRINT x + (x + (x + (x + MIN(x, MAX(x, EXP(x))))))",
     5, 9, "this expression needs more than the eight registers of the x87; in a program with a floating-point handler, "
     "split it into smaller ones", 1},
    {"PRINT EventCode", 1, 7, "EventCode belongs to window programs, which declare a FORM", 1},
    // Objects, their members and event slots
    {"DIM w AS FORM\nw.SelStart = 3", 2, 3, "a FORM has no property SelStart", 1},
    {"DIM w AS FORM\nDIM b AS BUTTON\nb.AddItem \"x\"", 3, 3, "a BUTTON has no property or method AddItem", 1},
    {"DIM f AS FILE\nPRINT f.Caption", 2, 9, "a FILE has no property or method Caption", 1},
    {"DIM w AS FORM\nw.ClientHeight = 3", 2, 3, "w.ClientHeight can be read but not set", 1},
    {"DIM w AS FORM\nw.OnClick = H\nSUB H\nEND SUB", 2, 3, "OnClick is not a property of any object", 1},
    {"DIM w AS FORM\nw.OnPaint = H\nSUB H(a AS INTEGER)\nEND SUB", 2, 13, "a handler takes no arguments, and H does", 1},
    {"DIM w AS FORM\nw.OnPaint = F\nFUNCTION F() AS INTEGER\nEND FUNCTION", 2, 13,
     "a handler is a SUB (OnMessage may also take a FUNCTION with an INTEGER result)", 1},
    {"DIM w AS FORM\nw.OnPaint = Nope", 2, 13, "an event slot is set to the name of a SUB of the program", 1},
    {"DIM w AS FORM\nSUB X\nDIM b AS BUTTON\nEND SUB", 3, 5, "a BUTTON is declared in the main code, not in a routine", 1},
    {"DIM w AS FORM\nDIM l AS LABEL\nl.DrawBox 1, 2, 3, 4, 5", 3, 3, "a LABEL has no property or method DrawBox", 1},
    {"DIM w AS FORM\nw.CopyBitmap 1, 2, w", 2, 20, "argument 3 of w.CopyBitmap is the name of a BITMAP", 1},
    {"DIM p AS BITMAP(1, 2)", 1, 10, "a BITMAP is declared with its width, height and colour depth: BITMAP(64, 64, 16)", 1},
    {"DIM f AS FILE\nf.Open 3", 2, 3, "f.Open takes 2 arguments, given 1", 1},
    {"DIM f AS FILE\nf.Seek \"x\"", 2, 8, "argument 1 of f.Seek is a number", 1},
    {"DIM f AS FILE\nPRINT f.ReadLine(1)", 2, 9, "f.ReadLine takes 0 arguments, given 1", 1},
    // PRINT positions and INPUT of several variables
    {"DIM s AS STRING\ns = TAB(5)", 2, 5, "TAB stands only as an item of PRINT, as in PRINT TAB(10); x", 1},
    {"PRINT SPC(2) + 1", 1, 7, "SPC stands only as an item of PRINT, as in PRINT SPC(10); x", 1},
    {"TAB 5", 1, 1, "TAB stands only as an item of PRINT, as in PRINT TAB(10); x", 1},
    {"PRINT TAB; 1", 1, 7, "TAB takes its argument in parentheses, as in TAB(10)", 1},
    {"PRINT SPC(\"a\")", 1, 11, "argument 1 of SPC is a number", 1},
    {"PRINT TAB(1, 2)", 1, 7, "TAB takes 1 argument, given 2", 1},
    {"DIM a AS INTEGER\nINPUT \"a\", a", 2, 10, "a prompt is followed by ';', as in INPUT \"Size? \"; width, height", 1},
    {"DIM a$, b$\nLINE INPUT a$, b$", 2, 16,
     "LINE INPUT reads a whole line into one STRING; INPUT takes the fields of a line apart", 1},
    {"CONST K = 1\nDIM a AS INTEGER\nINPUT a, K", 3, 10, "K is a constant and cannot be read into", 1},
    {"DIM a AS INTEGER\nINPUT a, b", 2, 10, "b is not declared", 1},
    // Forms of other BASICs: one message at the form's first word, nothing more
    {"DIM x AS DOUBLE\nPRINT USING \"##.##\"; x", 2, 1,
     "PRINT USING is not part of the language: make the text with STR$ and pad it, as in "
     "PRINT RIGHT$(SPACE$(8) + STR$(x), 8)", 1},
    {"OPEN \"data.txt\" FOR INPUT AS #1", 1, 1,
     "OPEN ... FOR ... AS #n is not part of the language: declare a FILE and use its members, as in "
     "DIM f AS FILE: f.Open \"data.txt\", 0: PRINT f.ReadLine", 1},
    {"DIM name$\nOPEN name$ FOR OUTPUT AS 2", 2, 1,
     "OPEN ... FOR ... AS #n is not part of the language: declare a FILE and use its members, as in "
     "DIM f AS FILE: f.Open \"data.txt\", 0: PRINT f.ReadLine", 1},
    {"OPEN", 1, 5, "expected CONSOLE after OPEN, found the end of the line", 1},
    {"PRINT #1, \"x\"", 1, 7,
     "file numbers such as #1 are not part of the language: declare a FILE (DIM f AS FILE) and use its members "
     "f.Open, f.ReadLine, f.WriteLine, f.AtEnd and f.Close", 1},
    {"DIM a$\nLINE INPUT #1, a$", 2, 12,
     "file numbers such as #1 are not part of the language: declare a FILE (DIM f AS FILE) and use its members "
     "f.Open, f.ReadLine, f.WriteLine, f.AtEnd and f.Close", 1},
    {"DIM f AS FILE\nIF EOF(1) THEN PRINT 1", 2, 4, "EOF is not part of the language: a FILE tells its end with f.AtEnd",
     1},
    {"ON ERROR GOTO Handler\nEND\nHandler:\nPRINT 1", 1, 1,
     "ON ERROR is not part of the language: test results where they arise (f.Open gives -1 for a file it cannot "
     "open); floating-point errors have ON FLOAT ERROR CALL", 1},
    {"ON ERROR GOTO 0", 1, 1,
     "ON ERROR is not part of the language: test results where they arise (f.Open gives -1 for a file it cannot "
     "open); floating-point errors have ON FLOAT ERROR CALL", 1},
    {"ON ERROR RESUME NEXT", 1, 1,
     "ON ERROR is not part of the language: test results where they arise (f.Open gives -1 for a file it cannot "
     "open); floating-point errors have ON FLOAT ERROR CALL", 1},
    {"PRINT 1\nRESUME NEXT", 2, 1, "RESUME is not part of the language, nor is ON ERROR: test results where they arise", 1},
    {"RESUME Again", 1, 1, "RESUME is not part of the language, nor is ON ERROR: test results where they arise", 1},
    {"DEF FNsq(x) = x * x\nPRINT FNsq(3) + FNsq(4)", 1, 1,
     "DEF FN is not part of the language: write a FUNCTION, as in FUNCTION Square(x AS DOUBLE) AS DOUBLE "
     "... END FUNCTION", 1},
    {"DIM SHARED total AS INTEGER, name$\ntotal = 1: name$ = \"x\"\nPRINT total; name$", 1, 1,
     "DIM SHARED is not part of the language: every routine of a module sees the variables of its main code "
     "already; leave SHARED out", 1},
    {"DIM n AS LONG\nn = 1\nPRINT n", 1, 10, "LONG is not a type of the language: use INTEGER, a whole number of 32 bits", 1},
    {"DIM s AS SINGLE\ns = 1.5\nPRINT s", 1, 10, "SINGLE is not a type of the language: use DOUBLE", 1},
    {"SUB A(n AS LONG)\n  PRINT n + 1\nEND SUB\nA 1", 1, 12,
     "LONG is not a type of the language: use INTEGER, a whole number of 32 bits", 1},
    {"FUNCTION F() AS SINGLE\n  F = 1\nEND FUNCTION\nPRINT F()", 1, 17, "SINGLE is not a type of the language: use DOUBLE",
     1},
    {"DIM i AS INTEGER\nWHILE i < 3\n  i = i + 1\nEND WHILE\nPRINT i", 2, 1,
     "WHILE ... END WHILE is not part of the language: a WHILE loop ends with WEND; make the END WHILE on line 4 a WEND",
     1},
    {"END WHILE", 1, 1, "WHILE ... END WHILE is not part of the language: a WHILE loop ends with WEND", 1},
    // Timers, menus and the newer members of forms and controls
    {"DIM t AS TIMER\nPRINT 1", 1, 5, "a TIMER ticks in a window program, which declares a FORM", 1},
    {"OPTION LIBRARY\nDIM t AS TIMER", 2, 5, "a TIMER ticks in a window program, which declares a FORM", 1},
    {"DIM w AS FORM\nSUB X\nDIM t AS TIMER\nEND SUB", 3, 5, "a TIMER is declared in the main code, not in a routine", 1},
    {"DIM w AS FORM\nIF 1 THEN\nDIM m AS MENU\nEND IF", 3, 5,
     "menus and timers are declared at the top level of the main code, outside every block", 1},
    {"DIM m AS MENU\nDIM w AS FORM", 1, 5, "a MENU goes on the bar of a FORM declared before it: declare the FORM first",
     1},
    {"DIM w AS FORM\nDIM i AS MENUITEM", 2, 5,
     "a MENUITEM goes in a MENU declared before it, or on a FORM's bar with IN", 1},
    {"DIM w AS FORM\nDIM b AS BUTTON\nDIM m AS MENU IN b", 3, 18, "b is not a FORM or a MENU", 1},
    {"DIM w AS FORM\nDIM m AS MENU\nDIM i AS MENUITEM IN Later\nDIM Later AS MENU", 3, 22,
     "the MENU Later is declared after this MENUITEM", 1},
    {"DIM w AS FORM\nDIM t AS TIMER IN w", 2, 19, "IN places a control on a form", 1},
    {"TYPE Timer\n  x AS INTEGER\nEND TYPE", 1, 6, "Timer is already a type of the language", 1},
    {"DIM w AS FORM\nDIM b AS BUTTON\nb.OnChange = H\nSUB H\nEND SUB", 3, 3, "a BUTTON has no property OnChange", 1},
    {"DIM w AS FORM\nDIM m AS MENU\nm.OnCommand = H\nSUB H\nEND SUB", 3, 3, "a MENU has no property OnCommand", 1},
    {"DIM w AS FORM\nDIM t AS TIMER\nt.OnTimer = F\nFUNCTION F() AS INTEGER\nEND FUNCTION", 3, 13,
     "a handler is a SUB (OnMessage may also take a FUNCTION with an INTEGER result)", 1},
    {"DIM w AS FORM\nDIM t AS TIMER\nt.Interval = \"x\"", 3, 14, "t.Interval takes a number", 1},
    {"DIM w AS FORM\nDIM l AS LABEL\nPRINT l.Checked", 3, 9, "a LABEL has no property or method Checked", 1},
    {"DIM w AS FORM\nDIM l AS LABEL\nl.Default = 1", 3, 3, "a LABEL has no property Default", 1},
    {"DIM w AS FORM\nDIM l AS LISTBOX\nl.ItemCount = 3", 3, 3, "l.ItemCount can be read but not set", 1},
    {"DIM w AS FORM\nDIM l AS LISTBOX\nPRINT l.Item()", 3, 9, "l.Item takes 1 argument, given 0", 1},
    {"DIM w AS FORM\nDIM m AS MENU\nm.Visible = 0", 3, 3, "a MENU has no property Visible", 1},
    {"DIM w AS FORM\nDIM b AS BUTTON\nb.Close", 3, 3, "a BUTTON has no property or method Close", 1},
    {"DIM w AS FORM\nw.DrawText 1, 2, 3, 4", 2, 18, "argument 3 of w.DrawText is a STRING", 1},
    {"DIM w AS FORM\nPRINT w.GetPixel(1)", 2, 9, "w.GetPixel takes 2 arguments, given 1", 1},
    {"OPTION TABSTOPS 1\nDIM w AS FORM\nw.Show", 1, 17, "OPTION TABSTOPS takes no value", 1},
    {"PRINT MouseX", 1, 7, "MouseX belongs to window programs, which declare a FORM", 1},
    {"DIM x$\nx$ = INPUTBOX$(\"Name?\")", 2, 6, "INPUTBOX$ belongs to window programs, which declare a FORM", 1},
    {"DIM x$\nx$ = SAVEFILE$(\"*.txt\")", 2, 6, "SAVEFILE$ belongs to window programs, which declare a FORM", 1},
    {"DIM w AS FORM\nDIM x$\nx$ = INPUTBOX$", 3, 6, "INPUTBOX$ takes its arguments in parentheses", 1},
    {"DIM w AS FORM\nDIM x$\nx$ = INPUTBOX$()", 3, 6, "INPUTBOX$ takes 1 to 3 arguments, given 0", 1},
    {"DIM w AS FORM\nDIM x$\nx$ = OPENFILE$(3)", 3, 16, "argument 1 of OPENFILE$ is a STRING", 1},
};

class RefusedProgram : public testing::TestWithParam<Refusal> {};

TEST_P(RefusedProgram, GetsItsErrorAtItsPlace) {
  const Refusal& r = GetParam();
  std::vector<Diagnostic> errors = Diagnose({r.source});
  ASSERT_FALSE(errors.empty()) << r.source;
  EXPECT_EQ(errors[0].position.line, r.line) << r.source;
  EXPECT_EQ(errors[0].position.column, r.column) << r.source;
  EXPECT_EQ(errors[0].message, r.message) << r.source;
  EXPECT_EQ(errors.size(), r.errors) << r.source << "\nsecond: " << (errors.size() > 1 ? errors[1].message : "");
}

INSTANTIATE_TEST_SUITE_P(Table, RefusedProgram, testing::ValuesIn(kRefusals));

// The compiler as a Windows program refuses each the same way.
class RefusedProgramOnWindows : public testing::TestWithParam<Refusal> {};

TEST_P(RefusedProgramOnWindows, GetsTheSameDiagnostics) { compilertest::ExpectSameFromBothCompilers({GetParam().source}); }

INSTANTIATE_TEST_SUITE_P(Table, RefusedProgramOnWindows, testing::ValuesIn(kRefusals));

// Programs the compiler builds and warns about: a sure mistake, at its place.
struct Warned {
  const char* source;
  int line;
  int column;
  const char* message;  // empty: the program gets no warning
};

void PrintTo(const Warned& w, std::ostream* out) { *out << '"' << w.source << '"'; }

const char kNeverShown[] =
    "the main form Form is never shown, so the program would run unseen until it is ended; show it with Form.Show";

const Warned kWarned[] = {
    // A window program whose main form nothing shows.
    {"DIM Form AS FORM\nForm.Caption = \"x\"", 1, 5, kNeverShown},
    {"DIM Form AS FORM\nDIM Other AS FORM\nOther.Show", 1, 5, kNeverShown},
    {"DIM Form AS FORM\nForm.OnClose = Quit\nSUB Quit\n  END\nEND SUB", 1, 5, kNeverShown},
    {"DIM Form AS FORM\nDO\n  DOEVENTS\nLOOP", 1, 5, kNeverShown},
    // ...and ones where something shows it, may, or the program ends first.
    {"DIM Form AS FORM\nForm.Show", 0, 0, ""},
    {"DIM Form AS FORM\nDIM b AS BUTTON\nShowIt\nSUB ShowIt\n  IF 0 THEN Form.Show\nEND SUB", 0, 0, ""},
    {"DIM Form AS FORM\nForm.Style = Form.Style OR &H10000000", 0, 0, ""},
    {"DIM Form AS FORM\nForm.ShowModal", 0, 0, ""},
    {"DIM Form AS FORM\nForm.Visible = 1", 0, 0, ""},
    {"DIM Form AS FORM\nMSGBOX \"done\"\nEND", 0, 0, ""},
    {"DIM Form AS FORM\nWork\nSUB Work\n  Finish\nEND SUB\nSUB Finish\n  END\nEND SUB", 0, 0, ""},
    {"DIM Form AS FORM\nDECLARE SUB ShowWindow LIB \"user32.dll\" (w AS INTEGER, n AS INTEGER)\n"
     "ShowWindow Form.WindowHandle, 1", 0, 0, ""},
    // A control declared before any form is never made.
    {"DIM b AS BUTTON\nDIM Form AS FORM\nForm.Show", 1, 5,
     "the BUTTON b is declared before any FORM, so it has no form to stand on and is never made; "
     "declare a FORM before it"},
    {"DIM Form AS FORM\nDIM b AS BUTTON\nDIM Second AS FORM\nDIM c AS LABEL IN Form\nForm.Show", 0, 0, ""},
    // Console programs have no form to show.
    {"PRINT 1", 0, 0, ""},
};

class WarnedProgram : public testing::TestWithParam<Warned> {};

TEST_P(WarnedProgram, GetsItsWarningAtItsPlace) {
  const Warned& w = GetParam();
  std::vector<Diagnostic> warnings;
  EXPECT_TRUE(Diagnose({w.source}, nullptr, &warnings).empty()) << w.source;
  if (w.message[0] == '\0') {
    EXPECT_TRUE(warnings.empty()) << w.source << "\nwarned: " << (warnings.empty() ? "" : warnings[0].message);
    return;
  }
  ASSERT_EQ(warnings.size(), 1u) << w.source;
  EXPECT_EQ(warnings[0].position.line, w.line) << w.source;
  EXPECT_EQ(warnings[0].position.column, w.column) << w.source;
  EXPECT_EQ(warnings[0].message, w.message) << w.source;
}

INSTANTIATE_TEST_SUITE_P(Table, WarnedProgram, testing::ValuesIn(kWarned));

class WarnedProgramOnWindows : public testing::TestWithParam<Warned> {};

TEST_P(WarnedProgramOnWindows, GetsTheSameCppAndWarnings) { compilertest::ExpectSameFromBothCompilers({GetParam().source}); }

INSTANTIATE_TEST_SUITE_P(Table, WarnedProgramOnWindows, testing::ValuesIn(kWarned));

TEST(Diagnostics, WarningsShowTheLineAndACaretAndOnlyWithoutErrors) {
  std::string printed;
  Diagnose({"' a window\n  DIM Window AS FORM\n"}, &printed);
  EXPECT_EQ(printed,
            "m0.bas:2:7: warning: the main form Window is never shown, so the program would run unseen until it is "
            "ended; show it with Window.Show\n"
            "  DIM Window AS FORM\n"
            "      ^\n");
  // A program with an error gets its errors alone.
  std::vector<Diagnostic> warnings;
  EXPECT_EQ(Diagnose({"DIM Window AS FORM\nPRINT x"}, nullptr, &warnings).size(), 1u);
  EXPECT_TRUE(warnings.empty());
}

TEST(Diagnostics, ShowTheLineAndACaretUnderTheColumn) {
  std::string printed;
  Diagnose({"DIM s AS STRING\n\ts = 1 + x\n"}, &printed);
  EXPECT_EQ(printed,
            "m0.bas:2:10: error: x is not declared\n"
            "\ts = 1 + x\n"
            "\t        ^\n");
}

TEST(Diagnostics, EachMistakeOnceAndAtMostTwenty) {
  // Three mistakes: two names and a store; the repeated name is reported once.
  std::vector<Diagnostic> few = Diagnose({"DIM a AS INTEGER\nPRINT b\nPRINT b\nPRINT c\na = \"x\""});
  ASSERT_EQ(few.size(), 3u);
  EXPECT_EQ(few[0].message, "b is not declared");
  EXPECT_EQ(few[1].message, "c is not declared");
  EXPECT_EQ(few[2].message, "cannot store a STRING in the INTEGER a");
  std::string many;
  for (int i = 0; i < 30; ++i) many += "PRINT name" + std::to_string(i) + "\n";
  std::string printed;
  EXPECT_EQ(Diagnose({many}, &printed).size(), 20u);
  EXPECT_NE(printed.find("too many errors; only the first 20 are shown"), std::string::npos);
}

// The words that give the forms of other BASICs away are not reserved: a
// program's own names of that spelling are its own, and ON ERROR GOTO with a
// variable named error is ON n GOTO.
TEST(Diagnostics, NamesLikeTheWordsOfOtherBasicsAreThePrograms) {
  const char* const programs[] = {
      "DIM using AS INTEGER, shared AS STRING, x AS INTEGER\nPRINT using; shared, x\nPRINT using",
      "DIM tab(3) AS INTEGER\nPRINT tab(1); tab(2)",
      "DIM shared(2) AS INTEGER\nshared(1) = 1",
      "DIM error AS INTEGER\nerror = 1\nON error GOTO One\nOne:\nPRINT 1",
      "SUB Resume\nEND SUB\nResume",
      "FUNCTION Eof(n AS INTEGER) AS INTEGER\n  Eof = n\nEND FUNCTION\nPRINT Eof(1)",
      "SUB Def(n AS INTEGER)\nEND SUB\nDef 1",
      "DIM long AS INTEGER, single AS DOUBLE\nlong = 1: single = 2",
  };
  for (const char* source : programs) {
    std::vector<Diagnostic> errors = Diagnose({source});
    EXPECT_TRUE(errors.empty()) << source << "\n" << (errors.empty() ? "" : errors[0].message);
  }
}

TEST(Diagnostics, ModulesAreCheckedTogether) {
  // A routine of another module is known; one missing from every module is an error.
  EXPECT_TRUE(Diagnose({"Greet 1", "SUB Greet(n AS INTEGER)\nEND SUB"}).empty());
  std::vector<Diagnostic> errors = Diagnose({"Greet 1\nLost", "SUB Greet(n AS INTEGER)\nEND SUB"});
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].message, "Lost is not declared");
  std::vector<Diagnostic> second = Diagnose({"PRINT 1", "PRINT 2"});
  ASSERT_EQ(second.size(), 1u);
  EXPECT_EQ(second[0].position.file, 1);
  EXPECT_EQ(second[0].message,
            "only the main module, the first file, has main code: statements stand in SUBs and FUNCTIONs here");
}

TEST(Diagnostics, DeepNestingIsRefusedNotOverflowed) {
  std::string deep = "PRINT " + std::string(5000, '(') + "1" + std::string(5000, ')');
  std::vector<Diagnostic> errors = Diagnose({deep});
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].message, "the expression is nested too deeply");
  std::string blocks;
  for (int i = 0; i < 3000; ++i) blocks += "IF 1 THEN\n";
  EXPECT_FALSE(Diagnose({blocks}).empty());
}

}  // namespace
