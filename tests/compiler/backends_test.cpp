// Both back ends on the same programs: every program of the table and every
// example is compiled through the C++ back end and the native one. Where the
// native one builds a program, the two programs must behave alike (output
// and exit code, on the same input); where it refuses one, it says so at a
// place of the program, with exit code 3, and writes nothing. The test says
// how many programs the native back end built, and fails if it built none.
// Window programs run until their form closes: they are compared at the
// display, by e2e_native, which drives both builds through the end-to-end
// tests.
#include <gtest/gtest.h>

#include <dirent.h>
#include <unistd.h>

#include <fstream>
#include <iostream>

#include "program_table.h"
#include "support.h"

namespace {

using namespace compilertest;

struct Subject {
  std::string name;
  std::string dir;                  // where the sources are
  std::vector<std::string> files;   // the main module first
  std::string input;
};

// Programs beside the table, each for a fault the native back end once had.
struct Extra {
  const char* name;
  const char* source;
};
const Extra kExtras[] = {
    // A recursive routine's temporary, made only on a path that the call
    // does not take (the ELSEIF), was freed as the statement ended all the
    // same, unset: a crash. (Found by the differential test's generator.)
    {"temporary_on_a_path_not_taken", R"(DIM gi2 AS INTEGER
DIM gi3 AS INTEGER
DIM gd1 AS DOUBLE
DIM gd2 AS DOUBLE
DIM gs1 AS STRING
DIM gs2 AS STRING
DIM gs3 AS STRING
DIM ti(3) AS INTEGER
DIM td(3) AS DOUBLE
DIM ts(3) AS STRING
DIM c1 AS INTEGER
DIM c3 AS INTEGER
DIM w1 AS INTEGER
DO
  SELECT CASE LEN("1.XZ")
    CASE IS > F2(), ((19.125 AND 7) ^ 0) TO (9 OR 11)
  END SELECT
  w1 = w1 + 1
LOOP WHILE w1 < 3
SELECT CASE (-c3)
  CASE 3 TO VAL(gs2)
    SELECT CASE ("c--,c" + gs2)
      CASE (12 + "") TO (gs2 + 20), LEFT$("", ti((0 AND 3))) TO "", IS <= LEFT$(gs1, 3)
      CASE IS = MID$("9X1", 8, 5.0), "XY9", (ts((c1 AND 3)) + 7.125)
        S1 ((2 MOD (gd2 + td((1 AND 3)))) AND 3), 19, ("c" + gs3)
    END SELECT
  CASE IS <> (gd2 + 1.375), INT(gd1), IS >= ti((ti((gd1 AND 3)) AND 3))
    PRINT (ASC((gs3 + "Yc")) + 23.0); c1; ABS((NOT td((gi3 AND 3)))); LCASE$("ZZ");
END SELECT
S1 (((td((gd1 AND 3)) >= gd1) >= 1) AND 3), INSTR((ti((gd2 AND 3)) AND 7), USTR$(5), "Z1-"), ""
gd2 = F2()
SUB S1(p1 AS INTEGER, p2 AS INTEGER, p3 AS STRING)
  DIM q1 AS STRING
  DIM k1 AS INTEGER
  DIM k2 AS INTEGER
  DIM m1 AS INTEGER
  DIM m2 AS INTEGER
  IF ((td((td((c1 AND 3)) AND 3)) + 14) OR ASC(gs1)) THEN
  ELSEIF (USTR$(2147483645) <> CHR$(((ti((13.0 AND 3)) AND 63) + 48))) THEN
  END IF
  IF (p1 > 0) THEN CALL S1((p1 - 1), 10, gs2)
  PRINT MID$((USTR$(ti((td((15.0 AND 3)) AND 3))) + LCASE$("c9")), (((2147483645 MOD 24.375) AND 7) ^ 0), SQR(INT(13.375)))
END SUB
FUNCTION F2() AS DOUBLE
  DIM k1 AS INTEGER
  DIM k2 AS INTEGER
  CALL S1(((ASC("""") + (k1 MOD gd2)) AND 3), INSTR(STR$(18.25), UCASE$(gs3)), STR$(gi2))
  PRINT ABS(((td((17 AND 3)) AND 17) + (k2 + gd1))); (NOT VAL(gs2)); INT(td((gi3 AND 3)))
END FUNCTION
)"},
    // Checked x87 code stored into variables, the handler emptying the
    // register stack in the middle of an expression: the native code must be
    // the C++ path's sequence, instruction for instruction.
    {"checked_stores_and_the_handler", R"(ON FLOAT ERROR CALL Trap
DIM calls AS INTEGER, x AS DOUBLE, r AS DOUBLE, i AS INTEGER, s AS STRING, flag AS INTEGER
x = 2
r = x ^ 3 - -x: PRINT r; " "; calls
i = CINT(x / 4) + INT(-x / 3): PRINT i; " "; calls
i = FIX(-x / 3) + CINT(x + 0.5): PRINT i; " "; calls
r = SGN(x - 5) * MIN(x, 7) + MAX(x, PI): PRINT r; " "; calls
s = "hello": i = LEN(s) * 2 + ASC(s): PRINT i; " "; calls
r = ABS(-x) + SQR(x * 8) + ATN(x - 2) + LOG(x - 1): PRINT r; " "; calls
r = 1 / (x - 2): PRINT r; " "; calls
i = 1E300 * 1E300: PRINT i; " "; calls
r = SQR(-x) + 1: PRINT r; " "; calls
flag = 1
r = x / 3: PRINT calls
i = 7: x = i: PRINT x; " "; calls
IF flag THEN r = EXP(x / 7)
PRINT calls; " "; r
Work 3
PRINT calls
SUB Work(k AS INTEGER)
  DIM y AS DOUBLE
  y = k / 3
  PRINT y; " in "; calls
END SUB
SUB Trap
  calls = calls + 1
  IF calls > 100 THEN EXIT SUB
  PRINT "[trap"; calls; "]";
END SUB
)"},
    // Checked x87 code printed: its value is a number that need not be
    // whole, an INTEGER expression's too.
    {"checked_print_items", R"(ON FLOAT ERROR CALL Trap
DIM calls AS INTEGER, x AS DOUBLE, i AS INTEGER
x = 3: i = 2147483647
PRINT x / 3; " "; x / 7; " "; i + 1; " "; -i; " "; calls
PRINT 1 + 2; " "; SQR(-x); " "; calls
PRINT LEN("abc") * 2; " "; 7 / 0 + 1; " "; calls
SUB Trap
  calls = calls + 1
  PRINT "<"; calls; ">";
END SUB
)"},
    // Checked comparisons, NOT, AND, \ and MOD in conditions and PRINT
    // items, and sums too long for one stretch of x87 code, computed in parts.
    {"checked_conditions_and_parts", R"(ON FLOAT ERROR CALL Trap
DIM calls AS INTEGER, x AS DOUBLE, y AS DOUBLE, i AS INTEGER, j AS INTEGER, n AS INTEGER
x = 2.5: i = 7: j = 2
IF x > 2 THEN PRINT "big"; calls
IF x / 3 > 0.8 AND i MOD j = 1 THEN PRINT "both"; calls ELSE PRINT "not"; calls
IF NOT (i = 7) THEN
  PRINT "no"
ELSEIF i \ j = 3 THEN
  PRINT "three"; calls
END IF
PRINT i > j; " "; i AND 3; " "; (x < 3) + (x <= 2.5) + (x >= 9) + (x <> 2.5); " "; calls
PRINT i \ 0; " "; i MOD -1; " "; (0 - 2147483647 - 1) \ -1; " "; x / 3 OR 8; " "; calls
WHILE n < 3 AND x / 7 > 0
  n = n + 1
WEND
PRINT n; " "; calls
DO
  n = n - 1
LOOP UNTIL n * 1.5 < 1
PRINT n; " "; calls
DO WHILE y < 2: y = y + 0.5: LOOP
PRINT y; " "; calls
y = x + x + x + x + x + x + x + x + x + x + x + x + x + x + x + x + x + x + x + x + x + x + x + x + x + x + x + x / 3
PRINT y; " "; calls
i = i * 2 + j * 3 + i * 4 + j * 5 + i * 6 + j * 7 + i * 8 + j * 9 + i * 10 + (i > 3) + (j < 1) + (x = 2.5)
PRINT i; " "; calls
SUB Trap
  calls = calls + 1
END SUB
)"},
    // Checked FOR loops: the step's direction and both ends compared in
    // checked code, the sum checked, an INTEGER counter's start and sums it
    // cannot hold ending the loop.
    {"checked_for_loops", R"(ON FLOAT ERROR CALL Trap
DIM calls AS INTEGER, x AS DOUBLE, i AS INTEGER, j AS INTEGER, z AS DOUBLE
FOR i = 1 TO 3: PRINT i;: NEXT: PRINT " "; i; " "; calls
FOR x = 1 TO 2 STEP 0.5: PRINT x; " ";: NEXT: PRINT calls
FOR x = 1 TO 0 STEP 1 / 3: PRINT "never": NEXT: PRINT x; " "; calls
FOR i = 2.5 TO 7 STEP 2: PRINT i;: NEXT: PRINT " "; calls
FOR i = 5 TO 1 STEP -2: PRINT i;: IF i < 3 THEN EXIT FOR
NEXT: PRINT " "; i; " "; calls
FOR i = 2147483646 TO 2147483647: PRINT i; " ";: NEXT: PRINT i; " "; calls
FOR j = 1 TO 3
  FOR x = j / 2 TO j: PRINT x; ",";: NEXT
NEXT: PRINT calls
FOR i = 1E10 TO 3: PRINT "no": NEXT: PRINT i; " "; calls
SUB Trap
  calls = calls + 1
END SUB
)"},
    // Checked SELECT CASE: the selector made once, each value tested in a
    // checked compare, a range making both compares.
    {"checked_select_case", R"(ON FLOAT ERROR CALL Trap
DIM calls AS INTEGER, x AS DOUBLE, i AS INTEGER, s AS STRING, k AS INTEGER
x = 2.5: i = 4: s = "A"
FOR k = 1 TO 6
  SELECT CASE k
    CASE 1, 2: PRINT "small";
    CASE 3 TO 4.5: PRINT "mid";
    CASE IS > x * 2: PRINT "big";
    CASE ELSE: PRINT "else";
  END SELECT
  PRINT calls;
NEXT
PRINT
SELECT CASE x / 3
  CASE 0 TO 0.9: PRINT "under"; calls
  CASE ELSE: PRINT "over"; calls
END SELECT
SELECT CASE ASC(s): CASE 65: PRINT "A"; calls: END SELECT
SELECT CASE VAL("12"): CASE 10 TO 20: PRINT "teen"; calls: END SELECT
SELECT CASE INSTR("abc", "c"): CASE IS > 2: PRINT "third"; calls: END SELECT
SELECT CASE i: CASE Bump(), 5: PRINT "five"; calls: CASE ELSE: PRINT "no"; i; calls: END SELECT
SELECT CASE 7: CASE 7.0: PRINT "seven"; calls: END SELECT
FUNCTION Bump() AS INTEGER
  i = i + 1
  Bump = 0
END FUNCTION
SUB Trap
  calls = calls + 1
END SUB
)"},
    // Elements as operands of checked code: their indexes' code first, then
    // the elements read, their indexes stored into INTEGERs as they are.
    {"checked_element_operands", R"(ON FLOAT ERROR CALL Trap
DIM calls AS INTEGER, v(5) AS DOUBLE, w(2, 2) AS INTEGER, i AS INTEGER, x AS DOUBLE
FOR i = 0 TO 5: v(i) = i: NEXT
w(1, 2) = 12
x = 1.5
PRINT v(x) + v(i / 3); " "; calls
PRINT w(x - 0.5, x + 0.5) * v(x + 1); " "; calls
IF v(i - 1) > w(1, 2) / 3 THEN PRINT "yes"; calls
SUB Trap
  calls = calls + 1
  PRINT "<"; calls; ">";
END SUB
)"},
    // Checked code as an element's value or index: the indexes' code, then
    // the value's, then the conversions and the store.
    {"checked_element_stores", R"(ON FLOAT ERROR CALL Trap
DIM calls AS INTEGER, t(4) AS INTEGER, v(2, 2) AS DOUBLE, x AS DOUBLE, i AS INTEGER
x = 1.5: i = 2
t(i + 1) = x * 2: PRINT t(3); " "; calls
t(i) = 7: PRINT t(2); " "; calls
v(i - 1, x / 1.5) = i / 4: PRINT v(1, 1); " "; calls
t(1) = x / 0 + 1: PRINT t(1); " "; calls
v(0, 0) = 2.5: t(0) = 2.5: PRINT v(0, 0); t(0); " "; calls
SUB Trap
  calls = calls + 1
  x = x + 1
END SUB
)"},
    // Checked code as a routine's argument: made in its turn, its value
    // kept exactly; one given as an INTEGER rounded as the call is made,
    // after the later arguments' code (1E10 raises its flag there).
    {"checked_call_arguments", R"(ON FLOAT ERROR CALL Trap
DIM calls AS INTEGER, x AS DOUBLE, i AS INTEGER
x = 3: i = 4
Show x / 3, i \ 3, x * 2
Show i + 0.5, i > x, x / 0
Show 1, 1E10 * x, x / 0
PRINT Twice(x - 0.5) + Twice(i / 8); " "; calls
SUB Show(a AS DOUBLE, b AS INTEGER, c AS DOUBLE)
  PRINT a; " "; b; " "; c; " "; calls
END SUB
FUNCTION Twice(v AS DOUBLE) AS DOUBLE
  Twice = v * 2
END FUNCTION
SUB Trap
  calls = calls + 1
  PRINT "<"; calls; ">";
END SUB
)"},
    // Operands of checked code in the order both back ends plan: a
    // variable that a later call changes read first; beside an element
    // whose index is checked code, built-ins before it with checked code in
    // their arguments, a concatenation, a comparison of texts; a built-in
    // whose argument holds a call makes the call once; arithmetic of
    // constants is computed, its flags calling the handler.
    {"checked_operands_in_the_plans_order", R"(ON FLOAT ERROR CALL Trap
DIM calls AS INTEGER, x AS INTEGER, d AS DOUBLE, t(3) AS INTEGER, s AS STRING
x = 1: d = 2.5: s = "abc": t(1) = 3: t(2) = 7
PRINT x + Bump(); " "; x; " "; calls
PRINT INSTR(x AND 7, s, "c") \ t(x AND 3) + ASC(s + STR$(d)) * t((x - 98) AND 3); " "; calls
PRINT (s < "abd") + LEN(s + "xy") - t(d / 2); " "; calls
PRINT VAL(Text$() + "9") + t((6 ^ 3) AND 3); " "; calls
d = 1E300 * 1E300: t((6 ^ 3) AND 3) = 5: PRINT t(0); " "; calls
FUNCTION Bump() AS INTEGER
  x = x + 100
  Bump = 5
END FUNCTION
FUNCTION Text$()
  PRINT "[text]";
  Text$ = "1"
END FUNCTION
SUB Trap
  calls = calls + 1
  PRINT "<"; calls; ">";
END SUB
)"},
    // A DOUBLE or checked code given to USTR$, HEX$, OCT$ and BIN$: its 32
    // bits taken as the call is made, the flags of that rounding left for
    // the next check.
    {"checked_unsigned_patterns", R"(ON FLOAT ERROR CALL Trap
DIM calls AS INTEGER, d AS DOUBLE
d = 2.5
PRINT USTR$(d); " "; HEX$(d * 4); " "; OCT$(d / 0); " "; calls
PRINT BIN$(d - 0.5); " "; USTR$(-d * 2); " "; USTR$(3E9 + d - 0.5); " "; calls
SUB Trap
  calls = calls + 1
  PRINT "<"; calls; ">";
END SUB
)"},
    // Checked code as a built-in's argument: a number, a count that is an
    // INTEGER's code, a character code.
    {"checked_builtin_arguments", R"(ON FLOAT ERROR CALL Trap
DIM calls AS INTEGER, x AS DOUBLE, i AS INTEGER, s AS STRING
x = 3: i = 5: s = "abcdefgh"
PRINT STR$(x / 4); " "; LEFT$(s, i \ 2); " "; MID$(s, i AND 3, i MOD 3); " "; calls
PRINT CHR$(x * 20 + 5); STRING$(i \ 2, "z"); " "; calls
PRINT STR$(x / 0); " "; CHR$(x - 0.5 + 65); " "; calls
SUB Trap
  calls = calls + 1
  PRINT "<"; calls; ">";
END SUB
)"},
    // Checked code stored into a record's field and a BYREF parameter, and
    // a call, a field and a BYREF parameter as operands of checked code.
    {"checked_fields_and_references", R"(ON FLOAT ERROR CALL Trap
TYPE Pair
  a AS INTEGER
  b AS DOUBLE
END TYPE
DIM calls AS INTEGER, p AS Pair, q(2) AS Pair, x AS DOUBLE, i AS INTEGER
x = 3: i = 1
p.a = x * 2 + 1: p.b = x / 4: PRINT p.a; " "; p.b; " "; calls
q(i).a = p.a - 1: q(i + 1).b = p.b * x + Half(x): PRINT q(1).a; " "; q(2).b; " "; calls
p.b = x / 0: PRINT p.b; " "; calls
Bump x, i: PRINT x; " "; i; " "; calls
FUNCTION Half(v AS DOUBLE) AS DOUBLE
  Half = v / 2
END FUNCTION
SUB Bump(BYREF d AS DOUBLE, BYREF n AS INTEGER)
  d = d * 3 + n: n = d / 2 + Half(d)
  d = d / (n - n)
END SUB
SUB Trap
  calls = calls + 1
  PRINT "<"; calls; ">";
END SUB
)"},
    // A number given as a position or a character code in a checked
    // program, rounded as the call is made: a DOUBLE variable read then (the
    // handler of the later argument's code changes it), a constant, checked
    // code's value beyond the range counting as its nearest end.
    {"checked_positions_and_codes", R"(ON FLOAT ERROR CALL Trap
DIM calls AS INTEGER, x AS DOUBLE, d AS DOUBLE, s AS STRING
x = 3: d = 2: s = "abcdefgh"
PRINT MID$(s, d, x / 0); " "; calls
PRINT LEFT$(s, 3.0); RIGHT$(s, x * 1E10); " "; calls
PRINT MID$(s, 2.5, 2); CHR$(d * 33); " "; calls
SUB Trap
  calls = calls + 1
  d = 5
  PRINT "<"; calls; ">";
END SUB
)"},
    // An element whose index is checked code given a value that is not: the
    // index's code, then the value made, then the store.
    {"checked_index_with_other_values", R"(ON FLOAT ERROR CALL Trap
DIM calls AS INTEGER, t(3) AS INTEGER, v(3) AS DOUBLE, s AS STRING, i AS INTEGER
s = "hello": i = 1
t(i + 1) = LEN(s): v(i AND 3) = VAL("2.5"): t(i * 3) = t(i + 1) + 0
t(i \ 1) = s > "abc": v(i * 1.5) = ASC(s): t(0) = i / 0
PRINT t(0); t(1); t(2); t(3); v(1); v(2); " "; calls
SUB Trap
  calls = calls + 1
  PRINT "<"; calls; ">";
END SUB
)"},
    // A built-in beside an element whose index is checked code, after it:
    // the index's code, the element read, then the built-in.
    {"checked_index_then_builtin", R"(ON FLOAT ERROR CALL Trap
DIM calls AS INTEGER, t(3) AS INTEGER, s AS STRING, i AS INTEGER, x AS DOUBLE
s = "hello": i = 1: t(1) = 4: t(2) = 9
x = t(i AND 3) + LEN(s): PRINT x; " "; calls
x = t(i + 1) * ASC(s) - INSTR(s, "l"): PRINT x; " "; calls
x = t(i * 1.5) + LEN(s): PRINT x; " "; calls: PRINT s
SUB Trap
  calls = calls + 1
  s = "changed"
  PRINT "<"; calls; ">";
END SUB
)"},
    // A text compared with one whose making reuses its place (a FUNCTION's
    // result, the whole-file buffer) is kept first.
    {"compared_texts_whose_place_is_reused", R"(SAVEFILE "a.txt", "x": SAVEFILE "b.txt", "y"
PRINT F$(1) = F$(2); F$(1) < F$(2); READFILE$("a.txt") = READFILE$("b.txt")
FUNCTION F$(k AS INTEGER) AS STRING
  F$ = STR$(k)
END FUNCTION
)"},
};

// Whether the image is a window program: its optional header names the GUI
// subsystem (2).
bool IsWindowProgram(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  auto word = [&](size_t at, size_t bytes) {
    uint32_t v = 0;
    for (size_t i = 0; i < bytes && at + i < image.size(); ++i) v |= uint32_t(uint8_t(image[at + i])) << (8 * i);
    return v;
  };
  size_t header = word(0x3C, 4);
  return image.size() > header + 24 + 70 && word(header + 24 + 68, 2) == 2;
}

// A recursive FUNCTION whose statements keep more texts than one call's
// first room for them holds (three a statement), so many that its frame
// passes a page: each call's frame is taken a page at a time.
std::string ManyTemporaries() {
  std::string source =
      "PRINT R$(20)\n"
      "FUNCTION G$(k AS INTEGER) AS STRING\n"
      "  G$ = CHR$(65 + k)\n"
      "END FUNCTION\n"
      "FUNCTION R$(k AS INTEGER) AS STRING\n"
      "  DIM x AS STRING\n"
      "  IF k > 0 THEN x = R$(k - 1)\n";
  for (int i = 0; i < 70; ++i) source += "  x = x + G$(" + std::to_string(i % 26) + ") + G$(1)\n";
  source += "  R$ = LEFT$(x, 3) + STR$(LEN(x))\nEND FUNCTION\n";
  return source;
}

std::vector<Subject> Subjects() {
  std::vector<Subject> subjects;
  {
    Subject s;
    s.name = "many_temporaries_of_a_recursive_function";
    s.dir = ScratchDir("backends/" + s.name);
    WriteFile(s.dir + "/main.bas", ManyTemporaries());
    s.files.push_back("main.bas");
    subjects.push_back(s);
  }
  for (const Extra& e : kExtras) {
    Subject s;
    s.name = e.name;
    s.dir = ScratchDir(std::string("backends/") + e.name);
    WriteFile(s.dir + "/main.bas", e.source);
    s.files.push_back("main.bas");
    subjects.push_back(s);
  }
  for (const ProgramCase& c : ProgramCases()) {
    Subject s;
    s.name = c.name;
    s.dir = ScratchDir(std::string("backends/") + c.name);
    for (size_t i = 0; i < c.modules.size(); ++i) {
      std::string file = i == 0 ? "main.bas" : "module" + std::to_string(i) + ".bas";
      WriteFile(s.dir + "/" + file, c.modules[i]);
      s.files.push_back(file);
    }
    s.input = c.input;
    subjects.push_back(s);
  }
  std::string examples = SourceRoot() + "/examples";
  if (DIR* d = opendir(examples.c_str())) {
    std::vector<std::string> names;
    while (dirent* e = readdir(d))
      if (e->d_name[0] != '.') names.push_back(e->d_name);
    closedir(d);
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
      std::string source = examples + "/" + name + "/" + name + ".bas";
      if (access(source.c_str(), R_OK) != 0) continue;
      Subject s;
      s.name = "example_" + name;
      s.dir = examples + "/" + name;
      s.files.push_back(name + ".bas");
      subjects.push_back(s);
    }
  }
  return subjects;
}

TEST(Backends, NativeProgramsBehaveAsTheCppOnes) {
  int built = 0, refused = 0, windows = 0;
  for (const Subject& s : Subjects()) {
    SCOPED_TRACE(s.name);
    std::string out = ScratchDir("backends_out/" + s.name);
    std::string cppProgram = out + "/cpp.exe", nativeProgram = out + "/native.exe";
    RunResult cpp = Compile(s.dir, s.files, cppProgram, {"--backend", "cpp"});
    ASSERT_EQ(cpp.exitCode, 0) << cpp.errors;
    RunResult native = Compile(s.dir, s.files, nativeProgram, {"--backend", "native"});
    if (native.exitCode == 3) {
      // Refused: an error at a line and column, and no program.
      EXPECT_NE(native.errors.find(": error: the native back end cannot build this yet"), std::string::npos)
          << native.errors;
      EXPECT_NE(access(nativeProgram.c_str(), F_OK), 0);
      ++refused;
      continue;
    }
    ASSERT_EQ(native.exitCode, 0) << native.errors;
    ++built;
    EXPECT_EQ(IsWindowProgram(nativeProgram), IsWindowProgram(cppProgram));
    if (IsWindowProgram(cppProgram)) {
      ++windows;
      continue;
    }
    RunResult a = RunProgram(cppProgram, s.input);
    RunResult b = RunProgram(nativeProgram, s.input);
    EXPECT_FALSE(a.timedOut);
    EXPECT_FALSE(b.timedOut);
    EXPECT_EQ(b.output, a.output);
    EXPECT_EQ(b.exitCode, a.exitCode);
  }
  std::cout << "the native back end built " << built << " of " << built + refused << " programs (" << windows
            << " of them window programs, compared by e2e_native)\n";
  EXPECT_GT(built, 0);
}

}  // namespace
