// Both back ends on the same programs: every program of the table and every
// example is compiled through the C++ back end and the native one. Where the
// native one builds a program, the two programs must behave alike (output
// and exit code, on the same input); where it refuses one, it says so at a
// place of the program, with exit code 3, and writes nothing. The test says
// how many programs the native back end built, and fails if it built none.
#include <gtest/gtest.h>

#include <dirent.h>
#include <unistd.h>

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
};

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
  int built = 0, refused = 0;
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
    RunResult a = RunProgram(cppProgram, s.input);
    RunResult b = RunProgram(nativeProgram, s.input);
    EXPECT_FALSE(a.timedOut);
    EXPECT_FALSE(b.timedOut);
    EXPECT_EQ(b.output, a.output);
    EXPECT_EQ(b.exitCode, a.exitCode);
  }
  std::cout << "the native back end built " << built << " of " << built + refused << " programs\n";
  EXPECT_GT(built, 0);
}

}  // namespace
