// The programs of the table, each with the output its rules give.
#include "program_table.h"

#include <iterator>

namespace compilertest {

namespace {

using Case = ProgramCase;

const Case kCases[] = {
    {"hello", {"PRINT \"Hello, world!\"\n"}, "", "Hello, world!\n"},

    {"comments_separators_continuation",
     {"' a comment\n"
      "REM another\n"
      "PRINT \"a\"; : PRINT \"b\" ' after a statement\n"
      "PRINT \"c\" + _\n"
      "  \"d\"\n"
      "PRINT \"say \"\"hi\"\"\"\n"
      "print \"case\" : Print : PRINT \"end\";\n"},
     "", "ab\ncd\nsay \"hi\"\ncase\n\nend"},

    {"literals",
     {"PRINT 42; \" \"; &HFF; \" \"; &HFFFFFFFF; \" \"; 2.5; \" \"; 1E-3; \" \"; .5; \" \"; 1E20; \" \"; 3000000000\n"},
     "", "42 255 -1 2.5 0.001 0.5 1.000000000000000E+0020 3000000000\n"},

    {"operators_on_constants",
     {"PRINT 1 + 2 * 3; \" \"; (1 + 2) * 3; \" \"; 7 \\ 2; \" \"; -7 \\ 2; \" \"; 7 MOD -3; \" \"; -7 MOD 3\n"
      "PRINT 2 ^ 3 ^ 2; \" \"; 2 ^ -1; \" \"; -2 ^ 2; \" \"; 10 / 4\n"
      "PRINT 3 > 2; \" \"; 3 < 2; \" \"; NOT 0; \" \"; NOT 7; \" \"; 6 AND 3; \" \"; 6 OR 3; \" \"; 6 XOR 3\n"
      "PRINT NOT 1 = 2; \" \"; 1 + 2 = 3 AND 4 > 3; \" \"; 5 OR 2 AND 0\n"},
     "", "7 9 3 -3 1 -1\n64 0.5 -4 2.5\n1 0 1 0 2 7 5\n1 1 5\n"},

    {"operators_on_variables",
     {"DIM a AS INTEGER, b AS INTEGER, x AS DOUBLE\n"
      "a = 7: b = 2: x = 0.5\n"
      "PRINT a + b * 3; \" \"; a / b; \" \"; a \\ b; \" \"; a MOD b; \" \"; a ^ b; \" \"; b ^ -1; \" \"; -a ^ b\n"
      "PRINT a > b; \" \"; a = b; \" \"; NOT a; \" \"; NOT (a - 7); \" \"; a AND b; \" \"; a OR b; \" \"; a XOR b\n"
      "PRINT x * 4; \" \"; a + x; \" \"; 2147483647 + a; \" \"; -a \\ b; \" \"; -a MOD b; \" \"; x ^ 2\n"},
     "", "13 3.5 3 1 49 0.5 -49\n1 0 0 1 2 7 5\n2 7.5 2147483654 -3 -1 0.25\n"},

    {"storing_into_an_integer",
     {"DIM i AS INTEGER, d AS DOUBLE\n"
      "d = 2.5: i = d: PRINT i;\n"
      "d = 3.5: i = d: PRINT \" \"; i;\n"
      "d = -2.5: i = d: PRINT \" \"; i;\n"
      "d = 2.5000001: i = d: PRINT \" \"; i\n"
      "d = 2147483647: i = d + 1: PRINT i\n"
      "d = 1E30: i = d: PRINT i\n"
      "d = 0: i = 7 / d: PRINT i; \" \"; 7 / d\n"
      "i = 7: PRINT i \\ 0; \" \"; i MOD 0; \" \"; i \\ 2.5; \" \"; 7.5 MOD i\n"},
     "", "2 4 -2 3\n-2147483648\n-2147483648\n-2147483648 ERROR\n-2147483648 -2147483648 3 1\n"},

    {"number_text",
     {"DIM x AS DOUBLE\n"
      "x = 1\n"
      "PRINT x / 3; \" \"; 2 * x / 3; \" \"; -2.5 * x; \" \"; 123.456 * x\n"
      "PRINT SQR(2 * x); \" \"; 0.0000001 * x; \" \"; 5000000000000000 * x; \" \"; 1.5E20 * x; \" \"; -0.001 * x\n"
      "PRINT STR$(30); \" \"; STR$(-7); \" \"; STR$(x / 3); \"|\"; 1E-16 * x; \" \"; 0 * x; \" \"; USTR$(-1)\n"},
     "",
     "0.333333333333333 0.666666666666667 -2.5 123.456\n"
     "1.414213562373095 0.0000001 5000000000000000 1.500000000000000E+0020 -0.001\n"
     "30 -7 0.333333333333333|0 0 4294967295\n"},

    {"comparing_numbers_that_have_no_order",
     {"DIM z AS DOUBLE, nan AS DOUBLE\n"
      "nan = SQR(z - 1)\n"
      "PRINT nan = 1; nan <> 1; nan < 1; nan > 1; nan <= 1; nan >= 1\n"
      "IF nan THEN PRINT \"not a number holds\"\n"},
     "", "100011\nnot a number holds\n"},

    {"strings",
     {"DIM s AS STRING, t AS STRING\n"
      "s = \"Hello\": t = \"World\"\n"
      "PRINT s + \", \" + t + \"!\"; \" \"; LEN(s + t)\n"
      "PRINT \"n=\" + 5; \" \"; 2.5 + \"x\"; \" \"; \"a\" < \"b\"; \" \"; \"B\" < \"a\"; \" \"; \"ab\" < \"abc\"; \" \"; \"\" = \"\"\n"
      "PRINT LEFT$(s, 2); \"|\"; RIGHT$(s, 3); \"|\"; MID$(s, 2, 3); \"|\"; MID$(s, 4); \"|\"; UCASE$(s); LCASE$(t)\n"
      "PRINT INSTR(s, \"l\"); INSTR(4, s, \"l\"); INSTR(s, \"z\"); INSTR(s, \"\"); \" \"; ASC(s); \" \"; CHR$(72) + CHR$(105)\n"
      "PRINT LEFT$(s, -1); \"|\"; LEFT$(s, 99); \"|\"; MID$(s, 0, 2); \"|\"; MID$(s, 99); \"|\"; RIGHT$(s, 0); \"|\"; ASC(\"\")\n"
      "PRINT s < t; s = \"Hello\"; s > t; INSTR(99, s, \"o\"); INSTR(-5, s, \"H\")\n"},
     "",
     "Hello, World! 10\nn=5 2.5x 1 1 1 1\nHe|llo|ell|lo|HELLOworld\n3401 72 Hi\n|Hello|He|||0\n11001\n"},

    {"if_forms",
     {"DIM n AS INTEGER\n"
      "FOR n = 1 TO 4\n"
      "  IF n = 1 THEN PRINT \"one\"; : PRINT \"!\" ELSE PRINT \"not one \"; n\n"
      "  IF n = 2 THEN\n"
      "    PRINT \"two\"\n"
      "  ELSEIF n = 3 THEN\n"
      "    PRINT \"three\"\n"
      "  ELSE\n"
      "    PRINT \"other\"\n"
      "  END IF\n"
      "NEXT\n"
      "IF 0.4 THEN PRINT \"0.4 holds\" ELSE PRINT \"0.4 fails\"\n"
      "IF 0.6 THEN PRINT \"0.6 holds\"\n"
      "IF -0.5 THEN PRINT \"-0.5 holds\" ELSE PRINT \"-0.5 fails\"\n"
      "IF 1 THEN IF 0 THEN PRINT \"x\" ELSE PRINT \"inner else\"\n"},
     "",
     "one!\nother\nnot one 2\ntwo\nnot one 3\nthree\nnot one 4\nother\n0.4 fails\n0.6 holds\n-0.5 fails\ninner else\n"},

    {"for_loops",
     {"DIM i AS INTEGER, j AS INTEGER, x AS DOUBLE\n"
      "FOR i = 1 TO 3: PRINT i;: NEXT: PRINT \" after \"; i\n"
      "FOR i = 10 TO 1 STEP -3: PRINT i; \" \";: NEXT i: PRINT \"after \"; i\n"
      "FOR i = 5 TO 1: PRINT \"never\": NEXT: PRINT \"none \"; i\n"
      "j = 3: FOR i = 1 TO j: j = 10: PRINT i;: NEXT: PRINT\n"
      "j = 2: FOR i = 1 TO 6 STEP j: j = 1: PRINT i;: NEXT: PRINT\n"
      "FOR x = 0 TO 1 STEP 0.25: PRINT x; \" \";: NEXT: PRINT\n"
      "FOR x = 1 TO 0 STEP -0.5: PRINT x; \" \";: NEXT: PRINT\n"
      "FOR i = 2147483646 TO 2147483647: PRINT i; \" \";: NEXT: PRINT i\n"
      "FOR i = 1 TO 10: IF i = 4 THEN EXIT FOR\n"
      "NEXT: PRINT \"exit \"; i\n"
      "FOR i = 1 TO 3: FOR j = 1 TO 3: IF j = 2 THEN EXIT FOR\n"
      "NEXT j: PRINT i; j; \" \";: NEXT i: PRINT\n"},
     "",
     "123 after 4\n10 7 4 1 after -2\nnone 5\n123\n135\n0 0.25 0.5 0.75 1 \n1 0.5 0 \n"
     "2147483646 2147483647 -2147483648\nexit 4\n12 22 32 \n"},

    {"while_and_do",
     {"DIM i AS INTEGER\n"
      "i = 0: WHILE i < 3: i = i + 1: PRINT \"w\"; i;: WEND: PRINT\n"
      "i = 0: DO WHILE i < 2: i = i + 1: LOOP: PRINT \"while \"; i\n"
      "i = 0: DO UNTIL i >= 2: i = i + 1: LOOP: PRINT \"until \"; i\n"
      "i = 5: DO: i = i + 1: LOOP WHILE i < 3: PRINT \"post while \"; i\n"
      "i = 0: DO: i = i + 1: LOOP UNTIL i = 4: PRINT \"post until \"; i\n"
      "i = 0: DO: i = i + 1: IF i = 3 THEN EXIT DO\n"
      "LOOP: PRINT \"exit \"; i\n"
      "i = 0: DO WHILE 1: i = i + 1: WHILE 1: EXIT DO: WEND: LOOP: PRINT \"nested \"; i\n"},
     "", "w1w2w3\nwhile 2\nuntil 2\npost while 6\npost until 4\nexit 3\nnested 1\n"},

    {"select_case",
     {"DIM n AS INTEGER, s AS STRING\n"
      "FOR n = 0 TO 11 STEP 3\n"
      "  SELECT CASE n\n"
      "    CASE 1, 3: PRINT n; \" odd small\"\n"
      "    CASE 4 TO 6: PRINT n; \" middle\"\n"
      "    CASE IS > 8: PRINT n; \" big\"\n"
      "    CASE ELSE: PRINT n; \" else\"\n"
      "  END SELECT\n"
      "NEXT\n"
      "s = \"pear\"\n"
      "SELECT CASE s\n"
      "  CASE \"apple\": PRINT \"apple\"\n"
      "  CASE \"banana\" TO \"plum\": PRINT \"between\"\n"
      "END SELECT\n"
      "SELECT CASE s + \"s\"\n"
      "  CASE IS < \"q\": PRINT \"before q\"\n"
      "END SELECT\n"
      "SELECT CASE 2.5\n"
      "  CASE 2 TO 3: PRINT \"number in range\"\n"
      "END SELECT\n"},
     "", "0 else\n3 odd small\n6 middle\n9 big\nbetween\nbefore q\nnumber in range\n"},

    {"subs_and_functions",
     {"DIM total AS INTEGER\n"
      "PRINT Twice(21); \" \"; Join$(\"x\", \"y\"); \" \"; Fact(5); \" \"; Half(3)\n"
      "Greet \"you\"\n"
      "CALL Greet(\"me\")\n"
      "Add 5: Add 7: PRINT \"total \"; total\n"
      "PRINT Both$(2)\n"
      "FUNCTION Twice(v AS INTEGER) AS INTEGER\n"
      "  Twice = v * 2\n"
      "END FUNCTION\n"
      "FUNCTION Join$(a AS STRING, b AS STRING) AS STRING\n"
      "  Join$ = a + \"-\" + b\n"
      "  EXIT FUNCTION\n"
      "  Join$ = \"never\"\n"
      "END FUNCTION\n"
      "FUNCTION Fact(n AS INTEGER) AS DOUBLE\n"
      "  DIM k AS INTEGER\n"
      "  Fact = 1\n"
      "  FOR k = 2 TO n: Fact = Fact * k: NEXT\n"
      "END FUNCTION\n"
      "FUNCTION Half(x AS DOUBLE) AS DOUBLE\n"
      "  Half = x / 2\n"
      "END FUNCTION\n"
      "SUB Greet(who AS STRING)\n"
      "  IF who = \"me\" THEN PRINT \"hi me\": EXIT SUB\n"
      "  PRINT \"hello \"; who\n"
      "END SUB\n"
      "SUB Add(n AS INTEGER)\n"
      "  DIM calls AS INTEGER\n"
      "  calls = calls + 1\n"
      "  total = total + n + calls * 100\n"
      "END SUB\n"
      "FUNCTION Both$(n AS INTEGER) AS STRING\n"
      "  Both$ = Join$(STR$(n), STR$(Twice(n)))\n"
      "END FUNCTION\n"},
     "", "42 x-y 120 1.5\nhello you\nhi me\ntotal 212\n2-4\n"},

    {"locals_hide_and_results_reset",
     {"DIM x AS INTEGER\n"
      "x = 1\n"
      "Show\n"
      "PRINT x\n"
      "PRINT Count(); Count(); Sum(3); \" \"; Sum(2)\n"
      "SUB Show\n"
      "  DIM x AS STRING\n"
      "  x = x + \"local\"\n"
      "  PRINT x\n"
      "END SUB\n"
      "FUNCTION Count() AS INTEGER\n"
      "  Count = Count + 1\n"
      "END FUNCTION\n"
      "FUNCTION Sum(n AS INTEGER) AS INTEGER\n"
      "  DIM seen(3) AS INTEGER, s AS STRING, k AS INTEGER\n"
      "  FOR k = 1 TO n: seen(k) = seen(k) + k: s = s + \"x\": NEXT\n"
      "  Sum = seen(1) + seen(2) + seen(3) + LEN(s)\n"
      "END FUNCTION\n"},
     "", "local\n1\n119 5\n"},

    {"constants",
     {"CONST Limit = 3, Name$ = \"abc\", Half = 0.5\n"
      "CONST Twice = Limit * 2, Line$ = Name$ + \"!\" + CHR$(65)\n"
      "DIM t(Limit) AS INTEGER, i AS INTEGER\n"
      "FOR i = 0 TO Limit: t(i) = i * Twice: NEXT\n"
      "PRINT t(Limit); \" \"; Name$; \" \"; Line$; \" \"; Half; \" \"; LEN(Line$)\n"},
     "", "18 abc abc!A 0.5 5\n"},

    {"arrays",
     {"DIM t(3) AS STRING, m(2, 3) AS INTEGER, d(1) AS DOUBLE, i AS INTEGER, j AS INTEGER\n"
      "FOR i = 0 TO 3: t(i) = \"t\" + STR$(i): NEXT\n"
      "PRINT t(0); t(1); t(2); t(3); \" \"; LEN(t(3))\n"
      "FOR i = 0 TO 2: FOR j = 0 TO 3: m(i, j) = i * 10 + j: NEXT: NEXT\n"
      "PRINT m(0, 0); \" \"; m(1, 2); \" \"; m(2, 3); \" \"; d(0) + d(1)\n"
      "d(1) = 2.5: t(2) = t(2) + t(2): PRINT d(1); \" \"; t(2); \" \"; m(2.4, 1.6)\n"},
     "", "t0t1t2t3 2\n0 12 23 0\n2.5 t2t2 22\n"},

    {"values_kept_alive",
     {"DIM s AS STRING, u AS STRING\n"
      "s = \"ab\": s = s + s: PRINT s\n"
      "s = s + s + s: PRINT s\n"
      "PRINT Wrap$(\"<\" + s + \">\") + Wrap$(s + \"!\") + \".\"\n"
      "PRINT Ten$(STR$(1), STR$(2), STR$(3), STR$(4), STR$(5), STR$(6), STR$(7), STR$(8), STR$(9), STR$(10))\n"
      "u = \"keep\": Change u: PRINT u\n"
      "PRINT F$(1) + F$(2) + F$(3)\n"
      "PRINT LEFT$(Wrap$(s), 3) + MID$(Wrap$(\"z\"), 2)\n"
      "PRINT Wrap$(Wrap$(Wrap$(\"a\") + Wrap$(\"b\")))\n"
      "PRINT STR$(1) + STR$(2) + STR$(3) + STR$(4) + STR$(5) + STR$(6) + STR$(7) + STR$(8) + STR$(9) + STR$(10)\n"
      "FUNCTION Wrap$(x AS STRING) AS STRING\n"
      "  Wrap$ = \"[\" + x + \"]\"\n"
      "END FUNCTION\n"
      "FUNCTION Ten$(a AS STRING, b AS STRING, c AS STRING, d AS STRING, e AS STRING, f AS STRING, "
      "g AS STRING, h AS STRING, i AS STRING, j AS STRING) AS STRING\n"
      "  Ten$ = a + b + c + d + e + f + g + h + i + j\n"
      "END FUNCTION\n"
      "SUB Change(v AS STRING)\n"
      "  u = \"changed, and long enough that the variable's block must move elsewhere\"\n"
      "  PRINT v\n"
      "END SUB\n"
      "FUNCTION F$(n AS INTEGER) AS STRING\n"
      "  F$ = \"f\" + STR$(n)\n"
      "END FUNCTION\n"},
     "",
     "abab\nabababababab\n[<abababababab>][abababababab!].\n12345678910\nkeep\n"
     "changed, and long enough that the variable's block must move elsewhere\nf1f2f3\n[abz]\n[[[a][b]]]\n"
     "12345678910\n"},

    // A concatenation inside a string function inside another keeps its
    // text, whatever its pieces call.
    {"inner_concatenations",
     {"DIM a AS STRING, t AS STRING, h AS STRING, n AS INTEGER, tab(3) AS INTEGER\n"
      "a = \"x\": PRINT \"[\" + LEFT$(a + Two$(), 3) + \"]\"\n"
      "t = \"c\": PRINT \"<\" + LCASE$(\"A\" + LCASE$(\"B\" + t)) + \">\"\n"
      "n = 10: h = \"h\": h = h + \" \" + RIGHT$(\"0\" + HexOf$(n), 2): PRINT h\n"
      "PRINT \"n=\" + LEN(a + Two$())\n"
      "tab(2) = 7: PRINT STR$(tab(F())) + \"!\"\n"
      "FUNCTION Two$() AS STRING\n"
      "  Two$ = \"ab\"\n"
      "END FUNCTION\n"
      "FUNCTION HexOf$(v AS INTEGER) AS STRING\n"
      "  HexOf$ = \"A\" + STR$(v)\n"
      "END FUNCTION\n"
      "FUNCTION F() AS INTEGER\n"
      "  DIM x AS STRING\n"
      "  x = \"zz\" + STR$(n)\n"
      "  F = 2\n"
      "END FUNCTION\n"},
     "", "[xab]\n<abc>\nh 10\nn=3\n7!\n"},

    // Each CASE value is made in turn: two concatenations in one CASE, in a
    // list, a range and IS, do not share the accumulator.
    {"concatenations_in_one_case",
     {"DIM w AS STRING\n"
      "w = \"a\"\n"
      "SELECT CASE \"ab\"\n"
      "  CASE w + \"x\", w + \"b\": PRINT \"list\"\n"
      "END SELECT\n"
      "SELECT CASE \"ab\"\n"
      "  CASE w + \"a\" TO w + \"c\": PRINT \"range\"\n"
      "END SELECT\n"
      "SELECT CASE \"ab\"\n"
      "  CASE IS < w + \"a\", IS > w + \"a\": PRINT \"is\"\n"
      "END SELECT\n"},
     "", "list\nrange\nis\n"},

    // CASE values are tested from left to right up to the first match; a
    // range makes both ends before its test.
    {"case_values_in_turn",
     {"DIM n AS INTEGER, calls AS INTEGER\n"
      "FOR n = 1 TO 4\n"
      "  SELECT CASE n\n"
      "    CASE 1, Count(), 3: PRINT \"A\"; n; calls; \" \";\n"
      "    CASE Count() TO Count() + 2: PRINT \"B\"; n; calls; \" \";\n"
      "    CASE ELSE: PRINT \"C\"; n; calls; \" \";\n"
      "  END SELECT\n"
      "NEXT\n"
      "PRINT\n"
      "FUNCTION Count() AS INTEGER\n"
      "  calls = calls + 1\n"
      "  Count = calls\n"
      "END FUNCTION\n"},
     "", "A10 B23 A34 C47 \n"},

    // Operands and arguments are evaluated from left to right: a FUNCTION
    // that changes g runs before the g that follows it is read, and a value
    // made before a call survives what the call does.
    {"left_to_right",
     {"DIM g AS INTEGER\n"
      "g = 1: PRINT Add(Bump(), g); \" \";\n"
      "g = 1: PRINT MID$(\"abcdefgh\", Bump(), g); \" \";\n"
      "g = 1: PRINT Bump() = g; Bump() < g; \" \";\n"
      "g = 1: PRINT Bump() \\ g; \" \";\n"
      "g = 1: PRINT Bump() MOD g; \" \";\n"
      "g = 1: PRINT Bump() ^ g\n"
      "PRINT Pair$(Noise$(), STR$(42))\n"
      "FUNCTION Bump() AS INTEGER\n"
      "  g = g + 4\n"
      "  Bump = 3\n"
      "END FUNCTION\n"
      "FUNCTION Add(a AS INTEGER, b AS INTEGER) AS INTEGER\n"
      "  Add = a * 100 + b\n"
      "END FUNCTION\n"
      "FUNCTION Noise$() AS STRING\n"
      "  DIM i AS INTEGER\n"
      "  FOR i = 1 TO 9: Noise$ = Noise$ + STR$(i): NEXT\n"
      "END FUNCTION\n"
      "FUNCTION Pair$(x AS STRING, y AS STRING) AS STRING\n"
      "  Pair$ = x + \"/\" + y\n"
      "END FUNCTION\n"},
     "", "305 cdefg 01 0 3 243\n123456789/42\n"},

    // A trapped program compiles what the same program without the handler
    // compiles: constant FOR ends and steps, numeric CASEs with constants and
    // computed selectors, expressions of many operands, elements with
    // computed indexes. All exact, so the handler never runs.
    {"trapped_program_forms",
     {"ON FLOAT ERROR CALL Trap\n"
      "DIM i AS INTEGER, x AS DOUBLE, r AS INTEGER, s AS STRING, v(10) AS DOUBLE, j AS INTEGER\n"
      "DIM v1 AS INTEGER, v2 AS INTEGER, v3 AS INTEGER, v4 AS INTEGER, v5 AS INTEGER\n"
      "FOR i = 1 TO 3: PRINT i;: NEXT: PRINT \" \"; i\n"
      "FOR x = 1 TO 2 STEP 0.5: PRINT x; \" \";: NEXT: PRINT\n"
      "SELECT CASE i\n"
      "  CASE 1, 2: PRINT \"small\"\n"
      "  CASE 4: PRINT \"four\"\n"
      "END SELECT\n"
      "s = \"A\"\n"
      "SELECT CASE ASC(s): CASE 65: PRINT \"A\": END SELECT\n"
      "SELECT CASE VAL(\"12\"): CASE 10 TO 20: PRINT \"teen\": END SELECT\n"
      "SELECT CASE INSTR(\"abc\", \"c\"): CASE IS > 2: PRINT \"third\": END SELECT\n"
      "v1 = 1: v2 = 2: v3 = 4: v4 = 8: v5 = 16\n"
      "r = v1 OR v2 OR v3 OR v4 OR v5 OR v1 OR v2 OR v3 OR v4 OR v5: PRINT r\n"
      "r = v1 + v2 + v3 + v4 + v5 + v1 + v2 + v3 + v4 + v5 + v1 + v2 + v3 + v4 + v5 + v1 + v2 + v3 + v4 + v5 + "
      "v1 + v2 + v3 + v4 + v5 + v1 + v2 + v3 + v4: PRINT r\n"
      "FOR j = 0 TO 10: v(j) = j: NEXT\n"
      "i = 1: j = 2\n"
      "x = v(i + 1) * v(j + 2) - v(i + 5) / v(j + 6): PRINT x\n"
      "SUB Trap\n"
      "  PRINT \"trap\"\n"
      "END SUB\n"},
     "", "123 4\n1 1.5 2 \nfour\nA\nteen\nthird\n31\n170\n7.25\n"},

    // An INTEGER counter: a start it cannot hold runs no pass, a sum it
    // cannot hold ends the loop; either way the counter holds -2147483648.
    {"for_beyond_the_integer_range",
     {"DIM i AS INTEGER, n AS INTEGER, d AS DOUBLE\n"
      "n = 0: FOR i = 2147483646 TO 3000000000: n = n + 1: NEXT: PRINT n; \" \"; i\n"
      "n = 0: FOR i = 1E30 TO 5: n = n + 1: NEXT: PRINT n; \" \"; i\n"
      "n = 0: FOR i = -2147483647 TO -3000000000 STEP -1: n = n + 1: NEXT: PRINT n; \" \"; i\n"
      "d = 1E30: n = 0: FOR i = d TO 5 STEP 2: n = n + 1: NEXT: PRINT n; \" \"; i\n"
      "n = 0: FOR i = -2147483648.4 TO -2147483647: n = n + 1: NEXT: PRINT n; \" \"; i\n"},
     "", "2 -2147483648\n0 -2147483648\n2 -2147483648\n0 -2147483648\n2 -2147483646\n"},

    // Recursion: each call has its own parameters, locals and result.
    {"recursion",
     {"DIM a(9) AS INTEGER, i AS INTEGER, moves AS INTEGER\n"
      "PRINT Fib(25); \" \"; Ack(2, 3); \" \"; Fact(10)\n"
      "Hanoi 10, 1, 3, 2\n"
      "PRINT \"moves \"; moves\n"
      "FOR i = 0 TO 9: a(i) = (i * 7) MOD 10: NEXT\n"
      "Sort 0, 9\n"
      "FOR i = 0 TO 9: PRINT a(i);: NEXT: PRINT\n"
      "PRINT Rev$(\"recursion\"); \" \"; IsEven(10); IsOdd(7); \" \"; Depth$(3)\n"
      "FUNCTION Fib(n AS INTEGER) AS INTEGER\n"
      "  IF n < 2 THEN Fib = n ELSE Fib = Fib(n - 1) + Fib(n - 2)\n"
      "END FUNCTION\n"
      "FUNCTION Ack(m AS INTEGER, n AS INTEGER) AS INTEGER\n"
      "  IF m = 0 THEN\n"
      "    Ack = n + 1\n"
      "  ELSEIF n = 0 THEN\n"
      "    Ack = Ack(m - 1, 1)\n"
      "  ELSE\n"
      "    Ack = Ack(m - 1, Ack(m, n - 1))\n"
      "  END IF\n"
      "END FUNCTION\n"
      "FUNCTION Fact(n AS INTEGER) AS DOUBLE\n"
      "  IF n <= 1 THEN Fact = 1: EXIT FUNCTION\n"
      "  Fact = n * Fact(n - 1)\n"
      "END FUNCTION\n"
      "SUB Hanoi(n AS INTEGER, from AS INTEGER, dest AS INTEGER, via AS INTEGER)\n"
      "  IF n = 0 THEN EXIT SUB\n"
      "  Hanoi n - 1, from, via, dest\n"
      "  moves = moves + 1\n"
      "  Hanoi n - 1, via, dest, from\n"
      "END SUB\n"
      "SUB Sort(lo AS INTEGER, hi AS INTEGER)\n"
      "  DIM i AS INTEGER, j AS INTEGER, p AS INTEGER, t AS INTEGER\n"
      "  IF lo >= hi THEN EXIT SUB\n"
      "  p = a((lo + hi) \\ 2): i = lo: j = hi\n"
      "  DO WHILE i <= j\n"
      "    DO WHILE a(i) < p: i = i + 1: LOOP\n"
      "    DO WHILE a(j) > p: j = j - 1: LOOP\n"
      "    IF i <= j THEN t = a(i): a(i) = a(j): a(j) = t: i = i + 1: j = j - 1\n"
      "  LOOP\n"
      "  Sort lo, j\n"
      "  Sort i, hi\n"
      "END SUB\n"
      "FUNCTION Rev$(s AS STRING) AS STRING\n"
      "  IF LEN(s) <= 1 THEN Rev$ = s ELSE Rev$ = Rev$(MID$(s, 2)) + LEFT$(s, 1)\n"
      "END FUNCTION\n"
      "FUNCTION IsEven(n AS INTEGER) AS INTEGER\n"
      "  IF n = 0 THEN IsEven = 1 ELSE IsEven = IsOdd(n - 1)\n"
      "END FUNCTION\n"
      "FUNCTION IsOdd(n AS INTEGER) AS INTEGER\n"
      "  IF n = 0 THEN IsOdd = 0 ELSE IsOdd = IsEven(n - 1)\n"
      "END FUNCTION\n"
      "FUNCTION Depth$(n AS INTEGER) AS STRING\n"
      "  DIM mine AS STRING\n"
      "  mine = \"<\" + STR$(n)\n"
      "  IF n > 0 THEN Depth$ = mine + Depth$(n - 1) + \">\" ELSE Depth$ = mine\n"
      "END FUNCTION\n"},
     "", "75025 9 3628800\nmoves 1023\n0123456789\nnoisrucer 11 <3<2<1<0>>>\n"},

    // Labels and line numbers, GOTO, GOSUB and RETURN (nested), ON n GOTO,
    // DATA, READ and RESTORE, SWAP, EXIT WHILE, lower bounds, type suffixes.
    {"jumps_data_and_variables",
     {"DIM i%, total&, x#, y!, name$, t(1 TO 5) AS INTEGER, m(1 TO 2, 0 TO 2) AS INTEGER, a$, b$\n"
      "DIM n AS INTEGER, k AS INTEGER\n"
      "i% = 3: total& = 7: x# = 2.5: y! = 0.25: name$ = \"z\"\n"
      "PRINT i%; \" \"; total&; \" \"; x#; \" \"; y!; \" \"; name$\n"
      "FOR i% = 1 TO 5: t(i%) = i% * 10: NEXT\n"
      "PRINT t(1); \" \"; t(5); \" \"; LEN(name$)\n"
      "m(2, 2) = 9: PRINT m(2, 2); m(1, 0)\n"
      "10 PRINT \"line ten\"\n"
      "n = 0\n"
      "20 n = n + 1\n"
      "IF n < 3 THEN GOTO 20\n"
      "PRINT \"n=\"; n\n"
      "GOSUB Twice\n"
      "GOSUB Twice\n"
      "PRINT \"k=\"; k\n"
      "FOR n = 1 TO 4\n"
      "  ON n GOSUB One, Two, Three\n"
      "NEXT\n"
      "PRINT\n"
      "ON 2 GOTO Skip, Done\n"
      "Skip: PRINT \"skipped\"\n"
      "Done:\n"
      "READ a$, b$, n\n"
      "PRINT a$; \"|\"; b$; \"|\"; n\n"
      "RESTORE Again\n"
      "READ a$, x#: PRINT a$; x#\n"
      "a$ = \"left\": b$ = \"right\": SWAP a$, b$: PRINT a$; \" \"; b$\n"
      "SWAP t(1), t(5): PRINT t(1); \" \"; t(5)\n"
      "n = 0\n"
      "WHILE 1\n"
      "  n = n + 1\n"
      "  IF n = 4 THEN EXIT WHILE\n"
      "WEND\n"
      "PRINT \"while \"; n\n"
      "IF n = 4 THEN 100\n"
      "PRINT \"skipped\"\n"
      "100 PRINT \"end\"\n"
      "END\n"
      "Twice:\n"
      "  k = k + 2\n"
      "  GOSUB Inner\n"
      "  RETURN\n"
      "Inner:\n"
      "  k = k * 10\n"
      "  RETURN\n"
      "One: PRINT \"one \";: RETURN\n"
      "Two: PRINT \"two \";: RETURN\n"
      "Three: PRINT \"three \";: RETURN\n"
      "DATA hello world, \"quoted, text\", 42\n"
      "Again:\n"
      "DATA  again: 1  , 2.5\n"},
     "",
     "3 7 2.5 0.25 z\n10 50 1\n90\nline ten\nn=3\nk=220\none two three \nhello world|quoted, text|42\n"
     "again: 12.5\nright left\n50 10\nwhile 4\nend\n"},

    // A jump inside a routine, and a name with ':' that is a SUB's call.
    {"jumps_in_routines",
     {"Count\n"
      "Hello: Hello: PRINT\n"
      "SUB Count\n"
      "  DIM i AS INTEGER\n"
      "  i = 0\n"
      "Again:\n"
      "  i = i + 1: GOSUB Show\n"
      "  IF i < 3 THEN GOTO Again\n"
      "  EXIT SUB\n"
      "Show:\n"
      "  PRINT i;\n"
      "  RETURN\n"
      "END SUB\n"
      "SUB Hello\n"
      "  PRINT \" hi\";\n"
      "END SUB\n"},
     "", "123 hi hi\n"},

    // TYPE records (fields, nested records, arrays of them, whole copies,
    // SWAP, parameters), arrays passed whole with LBOUND and UBOUND, dynamic
    // arrays with REDIM and REDIM PRESERVE, BYREF parameters.
    {"records_arrays_and_references",
     {      "TYPE Point\n"
      "  x AS DOUBLE\n"
      "  name AS STRING\n"
      "END TYPE\n"
      "TYPE Segment\n"
      "  a AS Point\n"
      "  b AS Point\n"
      "  id AS INTEGER\n"
      "END TYPE\n"
      "DIM p AS Point, q AS Point, s AS Segment, pts(3) AS Point, i AS INTEGER\n"
      "DIM v(1 TO 5) AS INTEGER, d() AS STRING, m(,) AS INTEGER, q1 AS INTEGER, r1 AS INTEGER\n"
      "p.x = 1.5: p.name = \"first\"\n"
      "q = p: q.name = q.name + \"!\"\n"
      "PRINT p.x; \" \"; p.name; \" \"; q.name\n"
      "s.a = p: s.b.x = 2: s.b.name = \"end\": s.id = 7\n"
      "PRINT s.a.name; \"-\"; s.b.name; \" \"; s.a.x + s.b.x; \" \"; s.id\n"
      "FOR i = 0 TO 3: pts(i).x = i * i: pts(i).name = CHR$(65 + i): NEXT\n"
      "SWAP pts(0), pts(3)\n"
      "PRINT pts(0).name; pts(0).x; \" \"; pts(3).name; pts(3).x\n"
      "Show p\n"
      "Move p, 10\n"
      "PRINT p.x\n"
      "FOR i = 1 TO 5: v(i) = 6 - i: NEXT\n"
      "PRINT Total(v()); \" \"; LBOUND(v); UBOUND(v)\n"
      "SortAll v()\n"
      "FOR i = 1 TO 5: PRINT v(i);: NEXT: PRINT\n"
      "REDIM d(2)\n"
      "d(0) = \"a\": d(1) = \"b\": d(2) = \"c\"\n"
      "REDIM PRESERVE d(4)\n"
      "d(4) = \"e\"\n"
      "PRINT d(0); d(1); d(2); \"[\"; d(3); \"]\"; d(4); \" \"; UBOUND(d)\n"
      "REDIM m(1 TO 2, 1 TO 3)\n"
      "m(2, 3) = 23\n"
      "PRINT m(2, 3); LBOUND(m, 2); UBOUND(m, 2); \" \"; Total(v())\n"
      "Divide 17, 5, q1, r1\n"
      "PRINT q1; \" \"; r1\n"
      "Twice pts(1).x\n"
      "PRINT pts(1).x\n"
      "SUB Show(pt AS Point)\n"
      "  PRINT \"show \"; pt.name; pt.x\n"
      "END SUB\n"
      "SUB Move(pt AS Point, dx AS DOUBLE)\n"
      "  pt.x = pt.x + dx\n"
      "END SUB\n"
      "FUNCTION Total(a() AS INTEGER) AS INTEGER\n"
      "  DIM k AS INTEGER\n"
      "  FOR k = LBOUND(a) TO UBOUND(a): Total = Total + a(k): NEXT\n"
      "END FUNCTION\n"
      "SUB SortAll(a() AS INTEGER)\n"
      "  DIM i AS INTEGER, j AS INTEGER\n"
      "  FOR i = LBOUND(a) TO UBOUND(a) - 1\n"
      "    FOR j = i + 1 TO UBOUND(a)\n"
      "      IF a(j) < a(i) THEN SWAP a(i), a(j)\n"
      "    NEXT\n"
      "  NEXT\n"
      "END SUB\n"
      "SUB Divide(a AS INTEGER, b AS INTEGER, BYREF q AS INTEGER, BYREF r AS INTEGER)\n"
      "  q = a \\ b: r = a MOD b\n"
      "END SUB\n"
      "SUB Twice(BYREF x AS DOUBLE)\n"
      "  x = x * 2\n"
      "END SUB\n"},
     "",
     "1.5 first first!\nfirst-end 3.5 7\nD9 A0\nshow first1.5\n11.5\n15 15\n12345\nabc[]e 4\n2313 15\n3 2\n2\n"},

    // DATA read into an array of records made with REDIM, sorted by a
    // recursive SUB through an array parameter; a recursive quicksort of
    // 10,000 numbers; a recursive FUNCTION with its own dynamic array.
    {"records_data_and_recursive_sorts",
     {      "TYPE Person\n"
      "  name AS STRING\n"
      "  age AS INTEGER\n"
      "END TYPE\n"
      "DIM people() AS Person, n AS INTEGER, i AS INTEGER, seed AS INTEGER, nums() AS DOUBLE, ok AS INTEGER\n"
      "READ n\n"
      "REDIM people(1 TO n)\n"
      "FOR i = 1 TO n: READ people(i).name, people(i).age: NEXT\n"
      "SortPeople people(), 1, n\n"
      "FOR i = 1 TO n: PRINT people(i).name; \" \"; people(i).age: NEXT\n"
      "REDIM nums(9999)\n"
      "seed = 12345\n"
      "FOR i = 0 TO 9999: seed = (seed * 1103 + 12345) MOD 65536: nums(i) = seed / 65536: NEXT\n"
      "Quick nums(), 0, 9999\n"
      "ok = 1\n"
      "FOR i = 1 TO 9999: IF nums(i - 1) > nums(i) THEN ok = 0\n"
      "NEXT\n"
      "PRINT \"sorted \"; ok\n"
      "PRINT Names$(people(), n)\n"
      "SUB SortPeople(a() AS Person, lo AS INTEGER, hi AS INTEGER)\n"
      "  DIM i AS INTEGER, j AS INTEGER, pivot AS Person\n"
      "  IF lo >= hi THEN EXIT SUB\n"
      "  pivot = a((lo + hi) \\ 2): i = lo: j = hi\n"
      "  DO WHILE i <= j\n"
      "    DO WHILE a(i).age < pivot.age: i = i + 1: LOOP\n"
      "    DO WHILE a(j).age > pivot.age: j = j - 1: LOOP\n"
      "    IF i <= j THEN SWAP a(i), a(j): i = i + 1: j = j - 1\n"
      "  LOOP\n"
      "  SortPeople a(), lo, j\n"
      "  SortPeople a(), i, hi\n"
      "END SUB\n"
      "SUB Quick(a() AS DOUBLE, lo AS INTEGER, hi AS INTEGER)\n"
      "  DIM i AS INTEGER, j AS INTEGER, p AS DOUBLE\n"
      "  IF lo >= hi THEN EXIT SUB\n"
      "  p = a((lo + hi) \\ 2): i = lo: j = hi\n"
      "  DO WHILE i <= j\n"
      "    DO WHILE a(i) < p: i = i + 1: LOOP\n"
      "    DO WHILE a(j) > p: j = j - 1: LOOP\n"
      "    IF i <= j THEN SWAP a(i), a(j): i = i + 1: j = j - 1\n"
      "  LOOP\n"
      "  Quick a(), lo, j\n"
      "  Quick a(), i, hi\n"
      "END SUB\n"
      "FUNCTION Names$(a() AS Person, k AS INTEGER) AS STRING\n"
      "  DIM parts() AS STRING\n"
      "  IF k = 0 THEN EXIT FUNCTION\n"
      "  REDIM parts(0)\n"
      "  parts(0) = a(k).name\n"
      "  Names$ = Names$(a(), k - 1) + parts(0) + \";\"\n"
      "END FUNCTION\n"
      "DATA 4\n"
      "DATA Cleo, 31, Abe, 25, \"Dee Dee\", 40, Bo, 19\n"},
     "", "Bo 19\nAbe 25\nCleo 31\nDee Dee 40\nsorted 1\nBo;Abe;Cleo;Dee Dee;\n"},

    // Programs a newcomer writes from the language's common forms: a
    // recursive quicksort of 10,000 RND numbers through an array parameter,
    // GOSUB three deep, a table of functions to 15 digits.
    {"newcomer_programs",
     {"DIM nums(1 TO 10000) AS DOUBLE, i AS INTEGER, sorted AS INTEGER, depth AS INTEGER, trail$\n"
      "RANDOMIZE 7\n"
      "FOR i = 1 TO 10000: nums(i) = RND: NEXT\n"
      "Quick nums(), 1, 10000\n"
      "sorted = 1\n"
      "FOR i = 2 TO 10000: IF nums(i - 1) > nums(i) THEN sorted = 0\n"
      "NEXT\n"
      "PRINT \"sorted \"; sorted; \" in [0, 1) \"; nums(1) >= 0 AND nums(10000) < 1\n"
      "GOSUB One\n"
      "PRINT trail$\n"
      "PRINT SIN(1); \" \"; COS(0); \" \"; LOG(EXP(2)); \" \"; ATN(1) * 4 = PI\n"
      "END\n"
      "One: trail$ = trail$ + \"1\": GOSUB Two: trail$ = trail$ + \"1\": RETURN\n"
      "Two: trail$ = trail$ + \"2\": GOSUB Three: trail$ = trail$ + \"2\": RETURN\n"
      "Three: trail$ = trail$ + \"3\": RETURN\n"
      "SUB Quick(a() AS DOUBLE, lo AS INTEGER, hi AS INTEGER)\n"
      "  DIM i AS INTEGER, j AS INTEGER, p AS DOUBLE\n"
      "  IF lo >= hi THEN EXIT SUB\n"
      "  p = a((lo + hi) \\ 2): i = lo: j = hi\n"
      "  DO WHILE i <= j\n"
      "    DO WHILE a(i) < p: i = i + 1: LOOP\n"
      "    DO WHILE a(j) > p: j = j - 1: LOOP\n"
      "    IF i <= j THEN SWAP a(i), a(j): i = i + 1: j = j - 1\n"
      "  LOOP\n"
      "  Quick a(), lo, j\n"
      "  Quick a(), i, hi\n"
      "END SUB\n"},
     "", "sorted 1 in [0, 1) 1\n12321\n0.841470984807897 1 2 1\n"},

    {"line_input_and_input",
     {"DIM name$, n AS INTEGER, x AS DOUBLE\n"
      "LINE INPUT \"Name? \"; name$\n"
      "INPUT \"Age? \"; n\n"
      "INPUT x\n"
      "LINE INPUT name$\n"
      "PRINT \"[\" + name$ + \"]\"; n; x\n"
      "LINE INPUT name$\n"
      "PRINT \"[\" + name$ + \"]\"\n"},
     "Ada Lovelace\n36 years\n-1.5e2\n  spaced  \r\n", "Name? Age? [  spaced  ]36-150\n[]\n"},

    {"text_to_number",
     {"PRINT VAL(\"42\"); \" \"; VAL(\"  -12.5e1x\"); \" \"; VAL(\"abc\"); \" \"; VAL(\"\"); \" \"; VAL(\"&HFF\"); \" \";"
      " VAL(\"&hFFFFFFFF\"); \" \"; VAL(\"1e999999\"); \" \"; VAL(\"0e999999\"); \" \"; VAL(\".5\"); \" \"; VAL(\"+3.\")\n"},
     "", "42 -125 0 0 255 -1 ERROR 0 0.5 3\n"},

    // The numeric functions at points whose text the rules give: 16
    // significant digits, and 15 decimals below 1 (sin 1 = 0.84147098480789650665...).
    {"numeric_functions",
     {"DIM x AS DOUBLE\n"
      "x = 1\n"
      "PRINT SIN(x); \" \"; COS(x); \" \"; TAN(x); \" \"; ATN(x)\n"
      "PRINT LOG(2 * x); \" \"; LOG(10 * x); \" \"; EXP(x); \" \"; EXP(-x); \" \"; EXP(10 * x)\n"
      "PRINT SIN(0 * x); \" \"; COS(0 * x); \" \"; EXP(0 * x); \" \"; LOG(x); \" \"; SIN(PI / 6); \" \"; COS(PI); \" \"; "
      "ATN(x) * 4\n"
      "PRINT SIN(x) ^ 2 + COS(x) ^ 2; \" \"; LOG(EXP(5 * x)); \" \"; EXP(LOG(2) * 10); \" \"; ATN(TAN(0.5 * x)); \" \"; "
      "ABS(TAN(x) - SIN(x) / COS(x)) < 1E-17\n"},
     "",
     "0.841470984807897 0.54030230586814 1.557407724654902 0.785398163397448\n"
     "0.693147180559945 2.302585092994046 2.718281828459045 0.367879441171442 22026.46579480672\n"
     "0 1 1 0 0.5 -1 3.141592653589793\n"
     "1 5 1024 0.5 1\n"},

    // Outside their domains the functions give infinity (printed ERROR), not a
    // number (ERROR too, and equal to anything), or a large number.
    {"numeric_functions_outside_their_domain",
     {"DIM z AS DOUBLE, big AS DOUBLE\n"
      "big = 1E19\n"
      "PRINT LOG(z); \" \"; LOG(z - 1); \" \"; LOG(z) < -1E300; LOG(z) = 1; LOG(z - 1) = 1; LOG(z - 1) = 2\n"
      "PRINT SIN(big); \" \"; COS(-big); \" \"; TAN(big); \" \"; SIN(big) = 1; SIN(big) = 2; \" \"; SIN(big / 2) < 2\n"
      "PRINT EXP(100000 + z); \" \"; EXP(-100000 + z); \" \"; EXP(LOG(z)); \" \"; EXP(z + 11356) > 1E4931\n"
      "PRINT ABS(TAN(PI / 2 + z)) > 1E18; \" \"; SQR(z - 1); \" \"; ATN(-EXP(100000 + z)) * 2 = -PI\n"},
     "", "ERROR ERROR 1011\nERROR ERROR ERROR 11 1\nERROR 0 0 1\n1 ERROR 1\n"},

    {"whole_parts_sign_smaller_and_larger",
     {"DIM x AS DOUBLE, i AS INTEGER\n"
      "x = 1\n"
      "PRINT FIX(2.7 * x); FIX(-2.7 * x); INT(-2.7 * x); FIX(-0.5 * x) = 0; \" \"; FIX(7); \" \"; FIX(1E20 * x)\n"
      "PRINT CINT(2.5 * x); CINT(3.5 * x); CINT(-2.5 * x); CINT(2.4999 * x); \" \"; CINT(1E10 * x); \" \"; CINT(7)\n"
      "i = CINT(2.6 * x) * 10: PRINT i; \" \"; STR$(CINT(0.5 * x) + 1)\n"
      "PRINT SGN(-3 * x); SGN(0 * x); SGN(0.001 * x); SGN(LOG(-x)); SGN(-1E-300 * x); \" \"; SGN(5) * 2\n"
      "PRINT MIN(3, 5 * x); MAX(3, 5 * x); \" \"; MIN(-1.5 * x, 2); \" \"; MAX(-1.5 * x, -2); \" \"; MIN(2, 2 * x); \" \"; "
      "MAX(2, LOG(-x)); \" \"; MIN(LOG(-x), 2)\n"},
     "",
     "2-2-31 7 1.000000000000000E+0020\n24-22 -2147483648 7\n30 1\n-1010-1 2\n35 -1.5 -1.5 2 ERROR ERROR\n"},

    // PI is known when compiling; pi = 3.14159265358979323846...
    {"pi_is_a_constant",
     {"CONST TwoPi = 2 * PI, Half = PI / 2\n"
      "DIM r AS DOUBLE\n"
      "r = 2\n"
      "PRINT PI; \" \"; TwoPi; \" \"; PI * r ^ 2; \" \"; Half\n"},
     "", "3.141592653589793 6.283185307179586 12.56637061435917 1.570796326794897\n"},

    // The new built-ins are not reserved: a program's own names hide them.
    {"built_in_names_stay_free",
     {"DIM pi AS INTEGER, timer AS DOUBLE, rnd AS INTEGER, date$, max AS INTEGER\n"
      "pi = 3: timer = 1.5: rnd = 4: date$ = \"today\": max = 9\n"
      "PRINT pi; timer; rnd; date$; max; Sleep(2)\n"
      "Beep\n"
      "FUNCTION Sleep(n AS INTEGER) AS INTEGER\n"
      "  Sleep = n * 10\n"
      "END FUNCTION\n"
      "SUB Beep\n"
      "  PRINT \"my beep\"\n"
      "END SUB\n"},
     "", "31.54today920\nmy beep\n"},

    // A program starts with the sequence of RANDOMIZE 0; the generator
    // (splitmix64 from state 0) gives 0xE220A8397B1DCDAF / 2^64 =
    // 0.88331080821364268..., then 0.43152799704851005..., 0.02643377159259781...
    {"random_numbers",
     {"DIM a AS DOUBLE, b AS DOUBLE, x AS DOUBLE, low AS DOUBLE, high AS DOUBLE, i AS INTEGER, d AS INTEGER\n"
      "DIM hits(5) AS INTEGER, ok AS INTEGER\n"
      "PRINT RND; \" \"; RND; \" \"; RND\n"
      "RANDOMIZE 7: a = RND: b = RND\n"
      "RANDOMIZE 7: PRINT a = RND; b = RND; \" \";\n"
      "RANDOMIZE 8: PRINT a = RND; \" \";\n"
      "RANDOMIZE 0: PRINT RND\n"
      "RANDOMIZE TIMER\n"
      "low = 1: high = 0\n"
      "FOR i = 1 TO 6000\n"
      "  x = RND\n"
      "  IF x < low THEN low = x\n"
      "  IF x > high THEN high = x\n"
      "  d = INT(x * 6)\n"
      "  hits(d) = hits(d) + 1\n"
      "NEXT\n"
      "ok = 1\n"
      "FOR i = 0 TO 5: IF hits(i) < 800 OR hits(i) > 1200 THEN ok = 0\n"
      "NEXT\n"
      "PRINT ok; low >= 0 AND high < 1\n"},
     "", "0.883310808213643 0.43152799704851 0.026433771592598\n11 0 0.883310808213643\n11\n"},

    // TIMER and TIME$ read the same clock: TIME$ read after TIMER is the
    // same second or a few later (modulo a day).
    {"clock",
     {"DIM d$, t$, t1 AS DOUBLE, s AS INTEGER\n"
      "t1 = TIMER\n"
      "t$ = TIME$\n"
      "d$ = DATE$\n"
      "PRINT LEN(d$); MID$(d$, 5, 1); MID$(d$, 8, 1); LEN(t$); MID$(t$, 3, 1); MID$(t$, 6, 1)\n"
      "s = VAL(LEFT$(t$, 2)) * 3600 + VAL(MID$(t$, 4, 2)) * 60 + VAL(RIGHT$(t$, 2))\n"
      "PRINT t1 >= 0 AND t1 < 86400; (s - INT(t1) + 86400) MOD 86400 <= 5\n"
      "PRINT VAL(LEFT$(d$, 4)) >= 2000; VAL(MID$(d$, 6, 2)) >= 1 AND VAL(MID$(d$, 6, 2)) <= 12\n"},
     "", "10--8::\n11\n11\n"},

    {"text_functions",
     {"DIM s AS STRING\n"
      "s = \"  Hello, World  \"\n"
      "PRINT \"[\"; LTRIM$(s); \"][\"; RTRIM$(s); \"][\"; TRIM$(s); \"][\"; TRIM$(CHR$(9) + \"x\" + CHR$(9)); \"]\"\n"
      "PRINT \"[\"; SPACE$(3); \"][\"; SPACE$(0); \"][\"; SPACE$(-2); \"]\"; STRING$(3, \"*\"); STRING$(2, 65); "
      "STRING$(3, \"xyz\"); \"[\"; STRING$(4, \"\"); \"]\"; ASC(STRING$(1, 321)); ASC(STRING$(1, -1))\n"
      "PRINT HEX$(255); \" \"; HEX$(-1); \" \"; HEX$(&H7FFFFFFF); \" \"; HEX$(0); \" \"; OCT$(8); \" \"; OCT$(-1); \" \"; "
      "BIN$(5); \" \"; BIN$(-2147483648); \" \"; HEX$(254.5)\n"
      "PRINT INSTRREV(\"a.b.c\", \".\"); INSTRREV(\"a.b.c\", \".\", 3); INSTRREV(\"a.b.c\", \".\", 1); "
      "INSTRREV(\"a.b.c\", \"x\"); INSTRREV(\"abc\", \"\"); INSTRREV(\"abc\", \"\", 2); INSTRREV(\"aaa\", \"aa\")\n"
      "PRINT REPLACE$(\"a-b-c\", \"-\", \", \"); \"|\"; REPLACE$(\"aaaa\", \"aa\", \"a\"); \"|\"; REPLACE$(\"abc\", \"\", \"x\"); "
      "\"|\"; REPLACE$(s, \" \", \"\"); \"|\"; REPLACE$(\"x\", \"x\", \"xx\")\n"},
     "",
     "[Hello, World  ][  Hello, World][Hello, World][x]\n"
     "[   ][][]***AAxxx[]65255\n"
     "FF FFFFFFFF 7FFFFFFF 0 10 37777777777 101 10000000000000000000000000000000 FE\n"
     "4200422\n"
     "a, b, c|aa|abc|Hello,World|xx\n"},

    // MID$ as a statement replaces the bytes MID$ would give, as many as the
    // value has; the length never changes. The variable is changed as it is
    // when the statement stores, after its arguments and value are made.
    // The target of a MID$ statement as any assignment's: a BYREF
    // parameter is the caller's variable, an array parameter's element the
    // caller's element.
    {"mid_statement_on_parameters",
     {"DIM s AS STRING, t(2) AS STRING\n"
      "s = \"abcdef\": t(1) = \"hello\"\n"
      "Mark s: Stamp t(): PRINT s; \" \"; t(1)\n"
      "SUB Mark(BYREF x AS STRING)\n"
      "  MID$(x, 2, 2) = \"XY\"\n"
      "END SUB\n"
      "SUB Stamp(a() AS STRING)\n"
      "  MID$(a(1), 1) = \"J\"\n"
      "END SUB\n"},
     "", "aXYdef Jello\n"},

    // Dynamic arrays: REDIM with bounds made while the program runs,
    // PRESERVE keeping what still fits, arrays passed whole (a fixed one
    // too), and a routine's own dynamic array: empty at every call, one
    // for each call of a recursive one.
    {"dynamic_arrays",
     {"DIM a() AS INTEGER, s() AS STRING, g(,) AS DOUBLE, t(2) AS INTEGER\n"
      "DIM i AS INTEGER, n AS INTEGER\n"
      "n = 3\n"
      "REDIM a(1 TO n)\n"
      "FOR i = 1 TO n: a(i) = i * 10: NEXT\n"
      "PRINT LBOUND(a); \" \"; UBOUND(a); \" \"; a(1) + a(3)\n"
      "REDIM PRESERVE a(1 TO 5)\n"
      "PRINT a(2); \" \"; a(5); \" \"; UBOUND(a)\n"
      "REDIM PRESERVE a(1 TO 2)\n"
      "PRINT a(1); \" \"; a(2); \" \"; UBOUND(a)\n"
      "REDIM a(2)\n"
      "PRINT LBOUND(a); \" \"; a(1); \" \"; UBOUND(a)\n"
      "REDIM s(n - 1)\n"
      "s(0) = \"x\": s(2) = s(0) + \"y\"\n"
      "REDIM PRESERVE s(4)\n"
      "PRINT s(2); \"|\"; s(4); \"|\"; UBOUND(s)\n"
      "REDIM g(1 TO 2, 0 TO 2.6)\n"
      "g(2, 3) = 1.5: g(1, 0) = 0.25\n"
      "PRINT g(2, 3) * 2; \" \"; g(1, 0); \" \"; UBOUND(g, 2); \" \"; LBOUND(g); \" \"; UBOUND(g, 1)\n"
      "a(1) = 5: t(0) = 1: t(1) = 2: t(2) = 4: i = 1\n"
      "PRINT Total(a()); \" \"; Total(t); \" \"; UBOUND(t, i)\n"
      "Fill s()\n"
      "PRINT s(0); s(1); s(2); s(3); s(4)\n"
      "PRINT Depth(3); \" \"; Fresh(); \" \"; Fresh()\n"
      "FUNCTION Total(v() AS INTEGER) AS INTEGER\n"
      "  DIM k AS INTEGER\n"
      "  FOR k = LBOUND(v) TO UBOUND(v): Total = Total + v(k): NEXT\n"
      "END FUNCTION\n"
      "SUB Fill(v() AS STRING)\n"
      "  DIM k AS INTEGER\n"
      "  FOR k = LBOUND(v) TO UBOUND(v): v(k) = v(k) + CHR$(65 + k): NEXT\n"
      "END SUB\n"
      "FUNCTION Depth(k AS INTEGER) AS INTEGER\n"
      "  DIM d() AS INTEGER\n"
      "  REDIM d(k)\n"
      "  d(k) = k\n"
      "  IF k > 0 THEN Depth = Depth(k - 1) + d(k) ELSE Depth = 100\n"
      "END FUNCTION\n"
      "FUNCTION Fresh() AS INTEGER\n"
      "  DIM e() AS INTEGER\n"
      "  REDIM PRESERVE e(2)\n"
      "  e(2) = e(2) + 1\n"
      "  Fresh = e(2)\n"
      "END FUNCTION\n"},
     "",
     "1 3 40\n20 0 5\n10 20 2\n0 0 2\nxy||4\n3 0.25 3 1 2\n5 7 2\nxABxyCDE\n106 1 1\n"},

    // The registry, read only: a key that is missing (ERROR_FILE_NOT_FOUND,
    // 2), one that every profile has, under its two roots; a value that is
    // missing; the record cleared by Close.
    {"registry_members",
     {"DIM r AS REGISTRY, m AS REGISTRY(&H80000002)\n"
      "PRINT r.KeyHandle; \" \"; r.Open(\"Software\\No Such Key Of Tessaric\"); \" \"; r.Error; \" \"; r.KeyHandle\n"
      "PRINT r.Open(\"Software\"); \" \"; r.KeyHandle <> 0; \" \"; r.KeyPath; \" \"; r.KeyPathLength; \" \"; r.SubkeyCount > 0\n"
      "PRINT LEN(r.SubkeyName(0)) > 0; \" [\"; r.SubkeyName(-1); \"] \"; r.QueryValue(\"No Value Of Tessaric\"); \" \"; r.Error\n"
      "r.Close\n"
      "PRINT r.KeyHandle; \" \"; r.KeyPathLength; \" \"; m.Open(\"Software\"); \" \"; m.SubkeyCount > 0\n"
      "m.Close\n"},
     "", "0 2 2 0\n0 1 Software 8 1\n1 [] 1 0\n0 0 0 1\n"},

    // A recursive routine's fixed arrays: each call has its own, all zeros
    // and "" as it starts, passed whole to another routine too.
    {"arrays_of_each_recursive_call",
     {"PRINT Walk(3); \" \"; Names$(2)\n"
      "FUNCTION Walk(n AS INTEGER) AS INTEGER\n"
      "  DIM seen(3) AS INTEGER, k AS INTEGER\n"
      "  seen(n) = n * 10\n"
      "  IF n > 0 THEN Walk = Walk(n - 1)\n"
      "  FOR k = 0 TO 3: Walk = Walk + seen(k): NEXT\n"
      "  Walk = Walk + Sum(seen())\n"
      "END FUNCTION\n"
      "FUNCTION Sum(a() AS INTEGER) AS INTEGER\n"
      "  DIM k AS INTEGER\n"
      "  FOR k = LBOUND(a) TO UBOUND(a): Sum = Sum + a(k): NEXT\n"
      "END FUNCTION\n"
      "FUNCTION Names$(n AS INTEGER) AS STRING\n"
      "  DIM part(1 TO 2) AS STRING\n"
      "  part(1) = CHR$(65 + n): part(2) = LCASE$(part(1))\n"
      "  IF n > 0 THEN Names$ = Names$(n - 1)\n"
      "  Names$ = Names$ + part(1) + part(2) + STR$(UBOUND(part))\n"
      "END FUNCTION\n"},
     "", "120 Aa2Bb2Cc2\n"},

    {"mid_statement",
     {"DIM s AS STRING, t(2) AS STRING, i AS INTEGER\n"
      "s = \"2024-01-31\"\n"
      "MID$(s, 6, 2) = \"12\": PRINT s\n"
      "MID$(s, 1) = \"1999-99-99-99\": PRINT s\n"
      "MID$(s, 9, 5) = \"ABCDEF\": PRINT s\n"
      "MID$(s, 11) = \"zz\": MID$(s, 3, 0) = \"zz\": MID$(s, 3, -1) = \"zz\": PRINT s; LEN(s)\n"
      "MID$(s, 0, 2) = \"ab\": PRINT s\n"
      "s = \"abcdef\": MID$(s, 2) = s: PRINT s\n"
      "t(1) = \"hello\": i = 1: MID$(t(i), i + 1, 3) = UCASE$(t(i)): PRINT t(1)\n"
      "s = \"\": MID$(s, 1) = \"x\": PRINT \"[\"; s; \"]\"\n"
      "s = \"abcdef\": MID$(s, Two()) = Grow$(): PRINT s\n"
      "FUNCTION Two() AS INTEGER\n"
      "  Two = 2\n"
      "END FUNCTION\n"
      "FUNCTION Grow$() AS STRING\n"
      "  s = \"0123456789\"\n"
      "  Grow$ = \"XY\"\n"
      "END FUNCTION\n"},
     "", "2024-12-31\n1999-99-99\n1999-99-AB\n1999-99-AB10\nab99-99-AB\naabcde\nhHELo\n[]\n0XY3456789\n"},

    // Run without arguments; a pause of 0 or less is none, not one for ever.
    {"command_line_environment_sleep_and_beep",
     {"PRINT \"[\"; COMMAND$; \"]\"; LEN(ENVIRON$(\"PATH\")) > 0; \"[\"; ENVIRON$(\"TESSARIC_NO_SUCH_VARIABLE\"); \"]\"\n"
      "SLEEP 0: SLEEP -5: SLEEP 1: BEEP\n"
      "PRINT \"done\"\n"},
     "", "[]1[]\ndone\n"},

    // With standard input a file, INKEY$ gives its bytes, then "" at its end.
    {"inkey_from_a_file",
     {"DIM k$, i AS INTEGER\n"
      "FOR i = 1 TO 6: k$ = INKEY$: PRINT LEN(k$); ASC(k$); \" \";: NEXT\n"
      "PRINT\n"},
     "a\tb\n", "197 19 198 110 00 00 \n"},

    // In a trapped program each function is x87 code with one check after it:
    // exact results call no handler; LOG(0) (division by zero), LOG(-1), SIN
    // of 1E19 (invalid), EXP(100000) (overflow) and inexact results do. The
    // handler empties the stack, so the store after it gives a value that is
    // not a number; printing a DOUBLE starts the x87 afresh.
    {"trapped_functions",
     {"ON FLOAT ERROR CALL Count\n"
      "DIM calls AS INTEGER, x AS DOUBLE, r AS DOUBLE, i AS INTEGER\n"
      "x = 0\n"
      "r = SIN(x) + COS(x) + TAN(x) + ATN(x) + EXP(x) + LOG(x + 1): PRINT r; \" \"; calls\n"
      "i = SGN(x - 3) + FIX(x + 2) + CINT(x + 4) + INT(x - 1)\n"
      "r = MIN(x, 3) + MAX(x, 3) * MIN(x + 1, MAX(x + 2, 5)) + PI * x + RND * x + TIMER * x\n"
      "PRINT i; \" \"; r; \" \"; calls\n"
      "r = LOG(x): PRINT calls; \" \"; r\n"
      "r = LOG(x - 1): PRINT calls; \" \"; r\n"
      "r = SIN(x + 1E19): PRINT calls; \" \"; r\n"
      "r = EXP(x + 100000): PRINT calls; \" \"; r\n"
      "i = CINT(x + 2.5): PRINT calls; \" \"; i; \" \"; x\n"
      "r = SIN(x + 1): PRINT calls; \" \"; r\n"
      "SUB Count\n"
      "  calls = calls + 1\n"
      "END SUB\n"},
     "", "2 0\n4 3 0\n1 ERROR\n2 ERROR\n3 ERROR\n4 ERROR\n5 -2147483648 0\n6 ERROR\n"},

    {"screen_statements_with_output_to_a_file",
     {"CLS: COLOR 14, 1: LOCATE 2, 3: PRINT \"x\"\nPRINT CSRLIN; POS\nCOLOR 7\n"}, "", "x\n11\n"},

    {"end_in_a_sub", {"PRINT \"a\"\nStop\nPRINT \"never\"\nSUB Stop\n  PRINT \"b\"\n  END\nEND SUB\n"}, "", "a\nb\n"},
    {"end_in_the_main_code", {"PRINT \"a\";\nIF 1 THEN END\nPRINT \"never\"\n"}, "", "a"},

    {"modules",
     {"Counter: Counter: PRINT Total(); \" \"; Label$(\"x\")\n",
      "DIM count AS INTEGER, prefix AS STRING\n"
      "SUB Counter\n"
      "  count = count + 1\n"
      "  prefix = prefix + \"*\"\n"
      "END SUB\n"
      "FUNCTION Total() AS INTEGER\n"
      "  Total = count\n"
      "END FUNCTION\n"
      "FUNCTION Label$(s AS STRING) AS STRING\n"
      "  Label$ = prefix + s\n"
      "END FUNCTION\n"},
     "", "2 **x\n"},

    {"names_of_cpp_and_the_runtime",
     {"DIM int AS INTEGER, class AS STRING, StrAlloc AS INTEGER, ConsoleWrite AS STRING, main AS INTEGER\n"
      "DIM NULL AS INTEGER, min AS INTEGER, ProgramHeader AS STRING, Temp AS INTEGER, t1 AS INTEGER\n"
      "int = 1: class = \"c\": StrAlloc = 2: ConsoleWrite = \"w\": main = 3: NULL = 4: min = 5: t1 = 6\n"
      "ProgramHeader = \"h\": Temp = 7\n"
      "PRINT int; class; StrAlloc; ConsoleWrite; main; NULL; min; MessageBoxA(7); ProgramHeader; Temp; t1\n"
      "ExitProcess\n"
      "FUNCTION MessageBoxA(x AS INTEGER) AS INTEGER\n"
      "  MessageBoxA = x * 2\n"
      "END FUNCTION\n"
      "SUB ExitProcess\n"
      "  PRINT \"still here\"\n"
      "END SUB\n"},
     "", "1c2w34514h76\nstill here\n"},

    {"bytes_in_strings",
     {"DIM s AS STRING\n"
      "s = \"\xE9\" + CHR$(200) + CHR$(456)\n"
      "PRINT LEN(s); ASC(MID$(s, 2)); ASC(RIGHT$(s, 1)); \" \"; LEN(\"a\" + CHR$(0) + \"b\")\n"},
     "", "3200200 3\n"},

    {"trap_handler_counts",
     {"DIM calls AS INTEGER, x AS DOUBLE, i AS INTEGER\n"
      "ON FLOAT ERROR CALL Count\n"
      "x = 1 + 2\n"
      "PRINT calls; x\n"
      "x = 1 / 3\n"
      "PRINT calls\n"
      "i = 7: x = i * 2\n"
      "PRINT calls; x\n"
      "SUB Count\n"
      "  calls = calls + 1\n"
      "END SUB\n"},
     "", "03\n1\n2ERROR\n"},

    // Files, in the program's own folder: the open modes, transfers, seek, size
    // and end test, the memory copy with its write-back, whole-file reads.
    {"files",
     {"DIM f AS FILE, n AS INTEGER, c$, u$\n"
      "f.Open \"t.txt\", 65535\n"
      "f.WriteLine \"alpha\"\n"
      "n = f.Write(\"beta\")\n"
      "PRINT n; \" \"; f.Position; \" \"; f.Length\n"
      "f.Close\n"
      "PRINT LEN(READFILE$(\"t.txt\"))\n"
      "PRINT f.Open(\"t.txt\", 0) <> 0\n"
      "PRINT f.Size\n"
      "PRINT f.Read(5)\n"
      "f.Seek 7\n"
      "PRINT f.Read(100)\n"
      "PRINT f.AtEnd\n"
      "f.Seek 0\n"
      "PRINT f.AtEnd\n"
      "f.Close\n"
      "f.Open \"t.txt\", 2\n"
      "c$ = f.Load\n"
      "PRINT LEN(c$)\n"
      "f.Seek 0: f.Write \"ALPHA\"\n"
      "f.Seek 11: f.Write \"!\"\n"
      "PRINT f.Length\n"
      "f.Save \"u.txt\"\n"
      "f.Close\n"
      "PRINT READFILE$(\"t.txt\")\n"
      "u$ = READFILE$(\"u.txt\")\n"
      "PRINT u$ = READFILE$(\"t.txt\")\n"
      "f.Open \"t.txt\", 1: f.Write \"xy\": f.Close\n"
      "PRINT READFILE$(\"t.txt\")\n"
      "SAVEFILE \"t.txt\", \"short\"\n"
      "f.Open \"t.txt\", 0: c$ = f.Load: f.Write \"Z\": f.Close\n"
      "PRINT READFILE$(\"t.txt\")\n"
      "PRINT LEN(READFILE$(\"none.txt\"))\n"},
     "", "4 11 11\n11\n1\n11\nalpha\nbeta\n1\n0\n11\n12\nALPHA\nbeta!\n1\nxyPHA\nbeta!\nshort\n0\n"},

    // A position, count or length beyond the INTEGER range keeps its direction:
    // it counts as the nearest end of the range, not as -2147483648.
    {"positions_beyond_the_integer_range",
     {"DIM s AS STRING, big AS DOUBLE, f AS FILE\n"
      "s = \"abc\": big = 1E10\n"
      "PRINT \"[\"; MID$(s, 1E10); \"|\"; LEFT$(s, 1E10); \"|\"; RIGHT$(s, big); \"|\"; MID$(s, 2, big); \"|\"; "
      "MID$(s, -big); \"|\"; LEFT$(s, -1E10); \"|\"; RIGHT$(s, -big); \"]\"\n"
      "PRINT INSTR(1E10, s, \"b\"); INSTR(-big, s, \"b\"); INSTR(2147483648, s, \"c\"); INSTR(2147483647.5, s, \"\")\n"
      "SAVEFILE \"p.txt\", \"0123456789\": f.Open \"p.txt\", 2\n"
      "f.Seek 1E10: PRINT f.Position; \" \"; f.Write(\"XYZ\"); \" \"; f.Length\n"
      "f.Seek -1E10: PRINT f.Position; \" \"; f.Read(big)\n"
      "f.Close\n"
      "PRINT READFILE$(\"p.txt\")\n"},
     "", "[|abc|abc|bc|abc||]\n0200\n2147483647 0 10\n0 0123456789\n0123456789\n"},

    // USTR$: numbers from 2^31 to 2^32 - 1 are unsigned 32-bit numbers.
    {"ustr_of_unsigned_numbers",
     {"DIM x AS DOUBLE\n"
      "x = 3000000000\n"
      "PRINT USTR$(3000000000); \" \"; USTR$(4294967295); \" \"; USTR$(x); \" \"; USTR$(2147483648); \" \"; "
      "USTR$(-1); \" \"; USTR$(-2147483648)\n"
      "PRINT USTR$(x + 0.4); \" \"; USTR$(4294967295.5); \" \"; USTR$(-2147483649); \" \"; USTR$(7); \" \"; "
      "USTR$(2.5); \" \"; USTR$(SQR(-x))\n"},
     "", "3000000000 4294967295 3000000000 2147483648 4294967295 2147483648\n"
         "3000000000 2147483648 2147483648 7 2 2147483648\n"},

    // A text whose digits are all zero has no sign.
    {"tiny_negative_numbers_have_no_sign",
     {"DIM x AS DOUBLE, n AS DOUBLE\n"
      "n = -1\n"
      "PRINT -1E-20; \" \"; STR$(n * 1E-20); \" \"; n * 1E-16; \" \"; n * 0.0000000000000004; \" \"; "
      "n * 0.0000000000000006; \" \"; n / 3\n"
      "FOR x = 1 TO 0 STEP -0.1: NEXT: PRINT x; \" \"; \"<\" + STR$(x) + \">\"\n"},
     "", "0 0 0 0 -0.000000000000001 -0.333333333333333\n0 <0>\n"},

    // Opening a record that is open closes it first, as Close does.
    {"open_on_an_open_record_closes_it",
     {"DIM f AS FILE, c$, i AS INTEGER\n"
      "SAVEFILE \"r.txt\", \"[old text]\"\n"
      "f.Open \"r.txt\", 2: c$ = f.Load: f.Seek 1: f.Write \"NEW\"\n"
      "f.Open \"r.txt\", 0: PRINT f.Read(100)\n"
      "FOR i = 1 TO 3: f.Open \"r.txt\", 2: c$ = f.Load: f.Seek 1: f.Write STR$(i): NEXT\n"
      "f.Close\n"
      "PRINT READFILE$(\"r.txt\")\n"},
     "", "[NEW text]\n[3EW text]\n"},

    // f.Write(f.Load) inside the copy: the bytes go over themselves as if
    // through a separate buffer.
    {"write_of_the_memory_copy_into_itself",
     {"DIM f AS FILE, c$\n"
      "SAVEFILE \"w.txt\", \"0123456789\"\n"
      "f.Open \"w.txt\", 2: c$ = f.Load: f.Seek 5: PRINT f.Write(f.Load): f.Close\n"
      "PRINT READFILE$(\"w.txt\")\n"
      "f.Open \"w.txt\", 2: c$ = f.Load: f.Seek 1: f.Write f.Load: f.Seek 0: f.Write f.Load: f.Close\n"
      "PRINT READFILE$(\"w.txt\")\n"},
     "", "10\n012340123456789\n0012340123456789\n"},

    // More STRING elements than the system has moveable blocks: an empty
    // string takes no block, and 100,000 short strings are held.
    {"string_arrays_of_many_elements",
     {"DIM a(199999) AS STRING, i AS INTEGER, n AS INTEGER\n"
      "FOR i = 0 TO 99999: a(i * 2) = \"s\" + STR$(i): NEXT\n"
      "FOR i = 0 TO 99999: n = n + LEN(a(i * 2)): NEXT\n"
      "PRINT n; \" \"; a(0); \" \"; a(199998); \" [\"; a(199999); \"]\"; LEN(a(12345))\n"
      "PRINT LEN(READFILE$(a(7))); INSTR(a(9), \"\"); ASC(a(11)); \" \"; Echo$(a(13)); \"|\"; a(15) = \"\"\n"
      "a(21) = \"\": a(23) = a(25): a(27) = a(27) + \"x\": PRINT \"[\"; a(21); a(23); a(27); \"]\"\n"
      "LINE INPUT a(29): LINE INPUT a(31): PRINT \"[\"; a(29); \"|\"; a(31); \"]\"\n"
      "PRINT Local$(); Local$()\n"
      "FUNCTION Echo$(t AS STRING) AS STRING\n"
      "  Echo$ = \"<\" + t + \">\"\n"
      "END FUNCTION\n"
      "FUNCTION Local$() AS STRING\n"
      "  DIM b(99999) AS STRING, k AS INTEGER\n"
      "  Local$ = b(5) + \".\"\n"
      "  FOR k = 0 TO 99999: b(k) = \"x\": NEXT\n"
      "END FUNCTION\n"},
     "typed\n\n", "588890 s0 s99999 []0\n010 <>|1\n[x]\n[typed|]\n..\n"},

    // Temporaries hold on to nothing in proportion to what they once held:
    // with two texts of 256 MB, a third one made again and again fits.
    {"large_temporaries_are_not_held",
     {"DIM s AS STRING, t AS STRING, i AS INTEGER\n"
      "s = \"ab\": FOR i = 1 TO 27: s = s + s: NEXT\n"
      "t = s\n"
      "FOR i = 1 TO 4: t = UCASE$(s): NEXT\n"
      "PRINT LEN(t); \" \"; MID$(t, 268435455); \" \"; LEN(s); \" \"; MID$(s, 268435455)\n"},
     "", "268435456 AB 268435456 ab\n"},

    // VAL gives the nearest extended value of its text, as the literals are.
    {"val_is_as_exact_as_the_literals",
     {"PRINT VAL(\"1E300\") = 1E300; VAL(\"18446744073709551615\") = 18446744073709551615; "
      "VAL(\"18446744073709551615\") - 18446744073709551614\n"
      "PRINT VAL(\"0.1\") = 0.1; VAL(\"  -2.5e-3x\") = -0.0025; VAL(\"9.99999999999999999999e4931\") = "
      "9.99999999999999999999E4931; VAL(\"123456789012345678901234567890\") = 123456789012345678901234567890\n"
      "PRINT VAL(\"3.6451995318824746025e-4951\") > 0; VAL(\"1e-4952\") = 0; VAL(\"1.2e4933\"); VAL(\"&HFF\")\n"},
     "", "111\n1111\n11ERROR255\n"},
    // With standard output a file, the print position is the count of bytes
    // written since the last CR or LF, prompts included; a ',' goes on to the
    // next zone of 14 columns (at least one blank), TAB(n) to column n (on a
    // new line when past it), SPC(n) writes n blanks; WAITKEY ends its line.
    {"print_zones_tab_and_spc_to_a_file",
     {"DIM n AS INTEGER, s$\n"
      "PRINT \"a\", \"b\"; \"c\", 42\n"
      "PRINT \"abcdefghijklm\", \"x\"\n"
      "PRINT \"abcdefghijklmn\", \"x\"\n"
      "PRINT , \"z\",\n"
      "PRINT \"after\"\n"
      "PRINT 1; TAB(4); 2; TAB(4); 3\n"
      "PRINT TAB(0); \"t\"; TAB(-5); \"u\"\n"
      "PRINT \"a\"; SPC(3); \"b\"; SPC(0); SPC(-2); \"c\"\n"
      "PRINT \"x\" + CHR$(13) + \"ab\", \"y\"\n"
      "INPUT \"n? \"; n\n"
      "PRINT , n\n"
      "LINE INPUT \"s? \"; s$\n"
      "PRINT , s$\n"
      "PRINT \"key\";\n"
      "WAITKEY\n"
      "PRINT , \"w\"\n"},
     "7\nhello\nk",
     "a             bc            42\n"
     "abcdefghijklm x\n"
     "abcdefghijklmn              x\n"
     "              z             after\n"
     "1  2\n"
     "   3\n"
     "t\n"
     "u\n"
     "a   bc\n"
     "x\rab            y\n"
     "n?            7\n"
     "s?            hello\n"
     "keyPress a key to continue...\n"
     "              w\n"},

    // INPUT of several fields of records: each takes its kind of value (a
    // number into an INTEGER rounded, ties to even), the element's indexes
    // made at its turn.
    {"input_into_fields",
     {"TYPE P\n"
      "  d AS DOUBLE\n"
      "  n AS INTEGER\n"
      "  s AS STRING\n"
      "END TYPE\n"
      "DIM o AS P, a(1) AS P, i AS INTEGER\n"
      "INPUT o.d, o.n, a(1).s\n"
      "PRINT o.d; \" \"; o.n; \" [\"; a(1).s; \"]\"\n"
      "INPUT i, a(i).n, a(i).d\n"
      "PRINT i; \" \"; a(1).n; \" \"; a(1).d\n"},
     "2.5, 7.5, word \n1, 4, 0.25\n", "2.5 8 [word]\n1 4 0.25\n"},

    // INPUT of several variables takes one line apart at its commas: blanks
    // around a field go, a number is what VAL reads, missing fields give 0 or
    // "", fields beyond the variables are left; each index is made at its
    // variable's turn. One variable keeps the whole line.
    {"input_of_several_variables",
     {"DIM a$, b$, n AS INTEGER, x AS DOUBLE, t(3) AS INTEGER, i AS INTEGER\n"
      "INPUT \"Values? \"; a$, n, x, b$\n"
      "PRINT \"[\" + a$ + \"]\"; n; \" \"; x; \" [\" + b$ + \"]\"\n"
      "INPUT a$, n, b$\n"
      "PRINT \"[\" + a$ + \"]\"; n; \" [\" + b$ + \"]\"\n"
      "INPUT n, x\n"
      "PRINT n; \" \"; x\n"
      "INPUT i, t(i), t(i + 1)\n"
      "PRINT i; \" \"; t(1); \" \"; t(2); \" \"; t(3)\n"
      "INPUT a$\n"
      "PRINT \"[\" + a$ + \"]\"\n"
      "INPUT n\n"
      "PRINT n\n"
      "INPUT a$, b$\n"
      "PRINT \"[\" + a$ + \"][\" + b$ + \"]\"\n"},
     "  Ada Lovelace ,  36.5 , 1e3x ,\tLondon  \r\nonly\n&HFF, -2.5, extra, fields\n2, 20, 30\n a, b \n12,5\n",
     "Values? [Ada Lovelace]36 1000 [London]\n"
     "[only]0 []\n"
     "255 -2.5\n"
     "2 0 20 30\n"
     "[ a, b ]\n"
     "12\n"
     "[][]\n"},

    // A text file line by line: the line without its end (CR LF or LF), a lone
    // CR kept, the last line without an end, the position past each end; at
    // the end "" and AtEnd. After Load the lines come from the memory copy;
    // ReadLine as a statement skips one. A line longer than any buffer.
    {"file_lines",
     {"DIM f AS FILE, n AS INTEGER, c$, long$\n"
      "SAVEFILE \"t.txt\", \"one\" + CHR$(13) + CHR$(10) + \"two\" + CHR$(10) + CHR$(10) + \"a\" + CHR$(13) + \"b\" + _\n"
      "  CHR$(13) + CHR$(10) + \"last\"\n"
      "f.Open \"t.txt\", 0\n"
      "DO UNTIL f.AtEnd\n"
      "  n = n + 1\n"
      "  PRINT n; \":\"; f.ReadLine; \"|\"; f.Position\n"
      "LOOP\n"
      "PRINT \"[\" + f.ReadLine + \"]\"; f.AtEnd\n"
      "f.Close\n"
      "f.Open \"t.txt\", 2\n"
      "c$ = f.Load\n"
      "f.ReadLine\n"
      "PRINT f.Position\n"
      "f.Write \"TWO\"\n"
      "f.Seek 0\n"
      "PRINT f.ReadLine; \",\"; f.ReadLine\n"
      "f.Close\n"
      "PRINT LEFT$(READFILE$(\"t.txt\"), 8)\n"
      "long$ = \"x\"\n"
      "FOR n = 1 TO 12: long$ = long$ + long$: NEXT\n"
      "f.Open \"long.txt\", 65535\n"
      "f.WriteLine long$ + \"y\"\n"
      "f.Write long$\n"
      "f.Close\n"
      "f.Open \"long.txt\", 0\n"
      "c$ = f.ReadLine\n"
      "PRINT LEN(c$); \" \"; RIGHT$(c$, 2); \" \"; c$ = long$ + \"y\"\n"
      "c$ = f.ReadLine\n"
      "PRINT LEN(c$); \" \"; c$ = long$; \" \"; f.AtEnd\n"
      "f.Close\n"},
     "",
     "1:one|5\n2:two|9\n3:|10\n4:a\rb|15\n5:last|19\n[]1\n"
     "5\none,TWO\n"
     "one\nTWO\n"
     "4097 xy 1\n"
     "4096 1 1\n"},

    // What the fast forms must keep: -0 from INTEGER operands where its sign
    // shows (1 / -0 is minus infinity), the store of a result beyond the
    // range, INTEGER counters stepping past the end of the range, FUNCTION
    // results, pieces of a text read in place, and an append that a call
    // within it must not see.
    {"integer_path_and_strings_in_place",
     {"DIM a AS INTEGER, b AS INTEGER, i AS INTEGER, j AS INTEGER, d AS DOUBLE, s AS STRING\n"
      "a = 0: b = -5\n"
      "d = a * b: PRINT 1 / d < 0; \" \";\n"
      "d = -a: PRINT 1 / d < 0; \" \";\n"
      "d = -a - a: PRINT 1 / d < 0; \" \";\n"
      "d = a * b + 0: PRINT 1 / d < 0; \" \";\n"
      "d = a * 3: PRINT 1 / d < 0\n"
      "a = 65536: i = a * a: PRINT i; \" \"; a * a - a * a; \" \"; a * a\n"
      "i = 2147483647: j = i + 1: PRINT j; \" \"; i + i\n"
      "i = -2147483648: j = -i: PRINT j; \" \"; i * -1; \" \"; i - 1\n"
      "FOR i = 2147483640 TO 2147483647 STEP 5: PRINT i; \" \";: NEXT: PRINT i\n"
      "b = 5\n"
      "FOR i = 1 TO 12 STEP b: PRINT i; \" \";: NEXT: PRINT i\n"
      "j = -2147483648\n"
      "FOR i = -2147483640 TO j STEP -5: PRINT i; \" \";: NEXT: PRINT i\n"
      "FOR i = 3 TO 1 STEP -1: PRINT i;: NEXT: PRINT \" \"; i\n"
      "PRINT Half(3); \" \"; Twice(21); \" \"; Twice(5000); \" \"; Half(1) * 3 = 1.5\n"
      "s = \"abcdef\": s = MID$(s, 2): PRINT s;\n"
      "s = RIGHT$(s, 3): PRINT \" \"; s;\n"
      "s = LEFT$(s, 2) + s: PRINT \" \"; s\n"
      "s = \"a\": s = s + Grab() + \"c\": PRINT s\n"
      "s = \"ab cd\"\n"
      "PRINT MID$(s, 3, 1) = \" \"; MID$(s, 2, 1) = \" \"; \"[\"; LEFT$(s, -1); \"][\"; MID$(s, 0, 2); \"][\"; _\n"
      "  RIGHT$(s, 100); \"]\"; MID$(\"xyz\", 2, 1) <> \"y\"; \" \"; VAL(LEFT$(\"12345\", 3)) + 1\n"
      "FUNCTION Half(n AS INTEGER) AS DOUBLE\n"
      "  Half = n / 2\n"
      "END FUNCTION\n"
      "FUNCTION Twice(n AS INTEGER) AS INTEGER\n"
      "  IF n > 1000 THEN EXIT FUNCTION\n"
      "  Twice = n * 2\n"
      "END FUNCTION\n"
      "FUNCTION Grab() AS STRING\n"
      "  s = \"zz\"\n"
      "  Grab = \"b\"\n"
      "END FUNCTION\n"},
     "",
     "1 1 1 0 0\n"
     "-2147483648 0 4294967296\n"
     "-2147483648 4294967294\n"
     "-2147483648 2147483648 -2147483649\n"
     "2147483640 2147483645 -2147483648\n"
     "1 6 11 16\n"
     "-2147483640 -2147483645 -2147483648\n"
     "321 0\n"
     "1.5 42 0 1\n"
     "bcdef def dedef\n"
     "abc\n"
     "10[][ab][ab cd]0 124\n"},

    // The integer forms in machine code: FOR ends, steps and starts beyond
    // the INTEGER range, a step from a variable, 64-bit comparisons (the low
    // halves unsigned), wide sums and products, 32-bit stores that overflow,
    // elements stored from constants and variables (and from a call that
    // moves the index), and appends and slices where the text may change.
    {"integer_forms_and_text_places",
     {"DIM a AS INTEGER, b AS INTEGER, i AS INTEGER, z AS INTEGER, t(3) AS INTEGER, s AS STRING, d AS DOUBLE\n"
      "a = 65536: b = -2: z = 0: d = 3E9\n"
      "FOR i = 2147483645 TO a * a: NEXT: PRINT i\n"
      "FOR i = 1 TO 3 STEP a * a: PRINT i;: NEXT: PRINT \" \"; i\n"
      "FOR i = a * a TO 5: PRINT \"never\": NEXT: PRINT i\n"
      "FOR i = a - 65530 TO a - 65528: PRINT i;: NEXT: PRINT\n"
      "FOR i = d TO F(\"e\") STEP F(\"s\"): PRINT \"never\": NEXT: PRINT \" \"; i\n"
      "FOR i = 5 TO 1 STEP b: PRINT i;: NEXT: PRINT \" \"; i\n"
      "FOR i = 1 TO 0 STEP z: PRINT \"never\": NEXT: PRINT i\n"
      "i = 2000000000\n"
      "PRINT a * a > 2147483647; \" \"; a * a < 4294967296; \" \"; a * a + a * a > a * a; \" \"; a * a = a * a + b; \" \"; _\n"
      "  a * b < a * a; \" \"; a * a + i + i > a * a + 1; \" \"; a * a + i + i < a * a + 1\n"
      "IF a * a + i + i > a * a + 1 THEN PRINT \"above\" ELSE PRINT \"not above\"\n"
      "PRINT a * a + a * a; \" \"; a * a - b * a; \" \"; -(a * a); \" \"; -(a * a) + a * a\n"
      "i = 2147483647: i = i + 1: PRINT i; \" \";\n"
      "i = -2147483647: i = i - 2: PRINT i; \" \";\n"
      "i = 46341: i = i * i: PRINT i; \" \";\n"
      "i = 46340: i = i * 46340: PRINT i; \" \";\n"
      "i = -2147483647: i = i + b: PRINT i\n"
      "t(1) = 5: i = 1: t(i + 1) = t(i) * 2: t(3) = t(1) + t(2): PRINT t(1); \" \"; t(2); \" \"; t(3);\n"
      "i = 0: t(i) = G(): PRINT \" \"; t(0); \" \"; i\n"
      "s = \"ab\": Add s: PRINT s; \" \";\n"
      "s = s + s + \"!\": PRINT s\n"
      "s = \"ab\": PRINT MID$(s, 1, 1) = Change(); \" \"; s; \" \"; MID$(s, 2, 1) = MID$(\"xzy\", 2, 1); \" \"; LEFT$(s, 1) <> \"z\"\n"
      "i = 0: DO UNTIL i >= 3: i = i + 1: LOOP: PRINT i;\n"
      "DO: i = i - 1: LOOP WHILE i > 0: PRINT \" \"; i\n"
      "FUNCTION F(x AS STRING) AS INTEGER\n"
      "  PRINT x;\n"
      "  F = 1\n"
      "END FUNCTION\n"
      "FUNCTION G() AS INTEGER\n"
      "  i = 3\n"
      "  G = 7\n"
      "END FUNCTION\n"
      "SUB Add(BYREF x AS STRING)\n"
      "  s = s + x\n"
      "END SUB\n"
      "FUNCTION Change() AS STRING\n"
      "  s = \"zz\"\n"
      "  Change = \"a\"\n"
      "END FUNCTION\n"},
     "",
     "-2147483648\n"
     "1 -2147483648\n"
     "-2147483648\n"
     "678\n"
     "es -2147483648\n"
     "531 -1\n"
     "1\n"
     "1 0 1 0 1 1 0\n"
     "above\n"
     "8589934592 4295098368 -4294967296 0\n"
     "-2147483648 -2147483648 -2147483648 2147395600 -2147483648\n"
     "5 10 15 7 3\n"
     "abab abababab!\n"
     "1 zz 1 0\n"
     "3 0\n"},

    // Short literals appended as the block grows; texts compared with a
    // literal of one byte or none, elements that never held a text among
    // them; a parameter given on to a BYREF one.
    {"short_texts_and_parameters",
     {"DIM n(2) AS STRING, s AS STRING, i AS INTEGER\n"
      "FOR i = 1 TO 40: s = s + \"ab\": NEXT\n"
      "PRINT LEN(s); \" \"; MID$(s, 79, 3)\n"
      "PRINT n(1) = \"\"; \" \"; n(1) = \"a\"; \" \"; \"\" <> n(2); \" \"; \"b\" = MID$(s, 2, 1); \" \"; _\n"
      "  MID$(s, 81, 1) = \"\"; \" \"; s <> \"a\"\n"
      "n(1) = \"q\": PRINT n(1) = \"q\"; \" \"; \"q\" <> n(1)\n"
      "i = -2147483648\n"
      "PRINT MID$(s, 0, 1) = \"a\"; \" \"; MID$(s, 80, -1) = \"\"; \" \"; MID$(s, 80) = \"b\"; \" \"; MID$(s, i, 1) = \"a\"; \" \"; _\n"
      "  MID$(s, 79, 2) = \"ab\"; \" \"; MID$(s, 81) = \"b\"; \" \"; MID$(s, -3, 2) = \"ab\"\n"
      "PRINT Outer(5)\n"
      "FUNCTION Outer(k AS INTEGER) AS INTEGER\n"
      "  Bump k\n"
      "  Outer = k * 10\n"
      "END FUNCTION\n"
      "SUB Bump(BYREF x AS INTEGER)\n"
      "  x = x + 1\n"
      "END SUB\n"},
     "",
     "80 ab\n"
     "1 0 0 1 1 1\n"
     "1 0\n"
     "1 1 1 1 1 0 1\n"
     "60\n"},

    // Loops whose body only adds to a DOUBLE: its value after no pass, after
    // passes up and down, and after a counter that steps past the range.
    {"loops_that_add_to_a_number",
     {"DIM d AS DOUBLE, x(3) AS DOUBLE, i AS INTEGER, n AS INTEGER\n"
      "x(1) = 1.5: x(2) = 2.25: x(3) = -0.5\n"
      "d = 10: FOR i = 1 TO 3: d = d + x(i): NEXT: PRINT d; \" \"; i\n"
      "d = 10: FOR i = 3 TO 1 STEP -1: d = d - x(i) * 2: NEXT: PRINT d; \" \"; i\n"
      "d = 7: n = 0: FOR i = 1 TO n: d = d + 1: NEXT: PRINT d; \" \"; i\n"
      "d = 0: FOR i = 2147483646 TO 2147483647: d = d + i: NEXT: PRINT d; \" \"; i\n"
      "d = 0: FOR i = 1 TO 4: d = d + 0.25: NEXT: PRINT d\n"},
     "",
     "13.25 4\n"
     "3.5 0\n"
     "7 1\n"
     "4294967293 -2147483648\n"
     "1\n"},

    // Small routines of numbers as their calls must behave wherever they are
    // made: a result never given, a parameter that is a copy (of a variable
    // the routine changes, or one that a later argument changes), calls
    // within calls and side by side, a SUB.
    {"small_routines",
     {"DIM g AS INTEGER, x AS INTEGER\n"
      "PRINT Z(5); \" \"; x; \" \";\n"
      "g = 7: PRINT Inc(g); \" \"; g; \" \";\n"
      "x = 6: PRINT Dbl(x); \" \"; x\n"
      "g = 1: PRINT Two(g, Bump()); \" \"; g\n"
      "PRINT Two(1, 2) * Two(3, 4); \" \"; Two(Two(1, 2), 3); \" \"; Avg(1, 2)\n"
      "Put 5: PRINT g\n"
      "FUNCTION Z(a AS INTEGER) AS INTEGER\n"
      "  x = a\n"
      "END FUNCTION\n"
      "FUNCTION Inc(a AS INTEGER) AS INTEGER\n"
      "  g = g + 1\n"
      "  Inc = a * 10\n"
      "END FUNCTION\n"
      "FUNCTION Dbl(a AS INTEGER) AS INTEGER\n"
      "  a = a * 2\n"
      "  Dbl = a\n"
      "END FUNCTION\n"
      "FUNCTION Bump() AS INTEGER\n"
      "  PRINT \"b\";\n"
      "  g = 100\n"
      "  Bump = 1\n"
      "END FUNCTION\n"
      "FUNCTION Two(a AS INTEGER, b AS INTEGER) AS INTEGER\n"
      "  Two = a + b\n"
      "END FUNCTION\n"
      "FUNCTION Avg(a AS DOUBLE, b AS DOUBLE) AS DOUBLE\n"
      "  Avg = (a + b) / 2\n"
      "END FUNCTION\n"
      "SUB Put(a AS INTEGER)\n"
      "  g = a\n"
      "END SUB\n"},
     "",
     "0 5 70 8 12 6\n"
     "b2 100\n"
     "21 6 1.5\n"
     "5\n"},

    // A text compared with a call that changes it (a longer text, so a new
    // block) or that makes the same FUNCTION again: the left as it was made.
    {"text_compared_with_a_call_that_changes_it",
     {"DIM s AS STRING\n"
      "s = \"ab\"\n"
      "PRINT s = Change(); \" \"; s < Change(); \" \"; LEN(s)\n"
      "PRINT Twice(\"a\") = Twice(\"b\"); \" \"; Twice(\"a\") <> Twice(\"b\")\n"
      "FUNCTION Change() AS STRING\n"
      "  s = STRING$(300, \"z\")\n"
      "  Change = \"ab\"\n"
      "END FUNCTION\n"
      "FUNCTION Twice(t AS STRING) AS STRING\n"
      "  Twice = t + t\n"
      "END FUNCTION\n"},
     "",
     "1 0 300\n"
     "0 1\n"},
};


}  // namespace

const std::vector<ProgramCase>& ProgramCases() {
  static const std::vector<ProgramCase> cases(std::begin(kCases), std::end(kCases));
  return cases;
}

}  // namespace compilertest
