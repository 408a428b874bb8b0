// The differential test: random programs from seeds, each compiled with the
// built compiler and run under Wine, against what the reference evaluator
// (differential/reference.cpp, written from the language's rules) says they
// print. A quarter of them carry a floating-point handler. A failure is
// shrunk to the smallest program that still fails the same way and printed
// with its seed.
//
// Through the native back end, the trapped programs the reference cannot
// predict because a floating-point flag would call the handler are built
// through both back ends too: where the handler runs, and what an
// interrupted expression then gives, must be the same in both.
//
//   TESSARIC_DIFF_SEED=<first seed>  TESSARIC_DIFF_COUNT=<programs>
// run other seeds than the suite's own.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <set>
#include <thread>

#include "differential/model.h"
#include "support.h"

namespace {

using namespace compilertest;

uint64_t Setting(const char* name, uint64_t fallback) {
  const char* value = std::getenv(name);
  return value != nullptr && *value ? std::strtoull(value, nullptr, 10) : fallback;
}

struct Outcome {
  // NotBuilt: the native back end cannot build the program yet, and says so.
  enum class Kind { Printed, Refused, CompilerFailed, ProgramFailed, NotBuilt } kind = Kind::Printed;
  std::string output;  // Printed: what the program wrote before its closing prompt
  std::string detail;
};

const char kClosingPrompt[] = "Press a key to continue...\r\n";

// TESSARIC_BACKEND names the back end the programs are built through
// (the compiler's default when unset).
std::vector<std::string> BackendOptions() {
  const char* backend = std::getenv("TESSARIC_BACKEND");
  if (backend == nullptr || !*backend) return {};
  return {"--backend", backend};
}

Outcome CompileAndRun(const std::string& dir, const difftest::Program& p) {
  WriteFile(dir + "/main.bas", difftest::Source(p));
  Outcome r;
  RunResult built = Compile(dir, {"main.bas"}, dir + "/main.exe", BackendOptions());
  if (built.exitCode != 0) {
    r.kind = built.exitCode == 1 ? Outcome::Kind::Refused : Outcome::Kind::CompilerFailed;
    if (built.exitCode == 3 && built.errors.find("the native back end cannot build this yet") != std::string::npos)
      r.kind = Outcome::Kind::NotBuilt;
    r.detail = "the compiler exited with " + std::to_string(built.exitCode) + ":\n" + built.errors + built.output;
    return r;
  }
  RunResult run = RunProgram(dir + "/main.exe", "");
  std::string out = run.output;
  size_t prompt = out.size() >= sizeof kClosingPrompt - 1 ? out.size() - (sizeof kClosingPrompt - 1) : 0;
  if (run.timedOut || run.exitCode != 0 || out.compare(prompt, std::string::npos, kClosingPrompt) != 0) {
    r.kind = Outcome::Kind::ProgramFailed;
    r.detail = run.timedOut ? "the program did not end" : "the program ended with " + std::to_string(run.exitCode);
    r.output = out;
    return r;
  }
  r.output = out.substr(0, prompt);
  return r;
}

// A program the native back end cannot build fails too: it builds them all.
bool Fails(const Outcome& r, const std::string& expected) {
  return r.kind != Outcome::Kind::Printed || r.output != expected;
}

struct Case {
  uint64_t seed = 0;
  difftest::Program program;
  std::string expected;
};

struct Failure {
  Case c;
  Outcome run;
};

// The smallest program that fails as the original does, within a budget of
// compilations.
Failure Shrink(Failure f, const std::string& dir) {
  int budget = 100;
  std::set<std::string> tried;
  for (bool smaller = true; smaller && budget > 0;) {
    smaller = false;
    for (const difftest::Program& candidate : difftest::Shrinks(f.c.program)) {
      difftest::Outcome o = difftest::Evaluate(candidate);
      if (!o.usable || !tried.insert(difftest::Source(candidate)).second) continue;
      if (--budget < 0) break;
      Outcome r = CompileAndRun(dir, candidate);
      if (!Fails(r, o.output) || r.kind != f.run.kind) continue;
      f.c.program = candidate;
      f.c.expected = o.output;
      f.run = r;
      smaller = true;
      break;
    }
  }
  return f;
}

TEST(Differential, RandomProgramsPrintWhatTheRulesGive) {
  uint64_t first = Setting("TESSARIC_DIFF_SEED", 1);
  uint64_t count = Setting("TESSARIC_DIFF_COUNT", 240);

  // Each seed gives the first of its programs that the reference predicts.
  std::vector<Case> cases;
  int unusable = 0;
  for (uint64_t seed = first; seed < first + count; ++seed) {
    bool trapped = seed % 4 == 0;
    for (uint64_t attempt = 0; attempt < 100; ++attempt) {
      difftest::Program p = difftest::Generate(seed * 1000 + attempt, trapped);
      difftest::Outcome o = difftest::Evaluate(p);
      if (!o.usable) {
        ++unusable;
        continue;
      }
      cases.push_back({seed, p, o.output});
      break;
    }
  }
  ASSERT_GE(cases.size(), count * 9 / 10) << "the generator makes too few programs the reference can predict";

  std::atomic<size_t> next{0};
  std::mutex lock;
  std::vector<Failure> failures;
  std::atomic<size_t> notBuilt{0};
  auto worker = [&](int index) {
    std::string dir = ScratchDir("differential/worker" + std::to_string(index));
    for (size_t i; (i = next++) < cases.size();) {
      Outcome r = CompileAndRun(dir, cases[i].program);
      if (r.kind == Outcome::Kind::NotBuilt) ++notBuilt;
      if (!Fails(r, cases[i].expected)) continue;
      std::lock_guard<std::mutex> hold(lock);
      failures.push_back({cases[i], r});
    }
  };
  std::thread second(worker, 1);
  worker(0);
  second.join();

  std::printf("%zu programs compiled and run (%d generated ones set aside as unpredictable, %zu that the back end "
              "cannot build yet), %zu failed\n",
              cases.size() - notBuilt, unusable, notBuilt.load(), failures.size());
  std::sort(failures.begin(), failures.end(), [](const Failure& a, const Failure& b) { return a.c.seed < b.c.seed; });
  for (const Failure& f : failures) std::printf("failed: seed %llu\n", static_cast<unsigned long long>(f.c.seed));
  for (size_t i = 0; i < failures.size() && i < 3; ++i) {
    Failure smallest = Shrink(failures[i], ScratchDir("differential/shrink"));
    ADD_FAILURE() << "seed " << smallest.c.seed << (smallest.c.program.trapped ? " (trapped)" : "")
                  << ", the smallest program that fails the same way:\n"
                  << difftest::Source(smallest.c.program) << "\nexpected:\n"
                  << smallest.c.expected << "\ngot:\n"
                  << smallest.run.output << smallest.run.detail;
  }
}

// A trapped program whose flags call the handler, through both back ends:
// the same output (the handler's lines where they come) and exit code.
constexpr int kRunawaySeconds = 10;

TEST(Differential, TrappedProgramsAgreeThroughBothBackEnds) {
  const char* backend = std::getenv("TESSARIC_BACKEND");
  if (backend == nullptr || std::string(backend) != "native") GTEST_SKIP() << "only beside the native back end";
  uint64_t first = Setting("TESSARIC_DIFF_SEED", 1);
  uint64_t count = Setting("TESSARIC_DIFF_COUNT", 240);
  std::vector<Case> cases;
  for (uint64_t seed = first; seed < first + count; ++seed) {
    if (seed % 4 != 0) continue;
    for (uint64_t attempt = 0; attempt < 100; ++attempt) {
      difftest::Program p = difftest::Generate(seed * 1000 + attempt, true);
      difftest::Outcome o = difftest::Evaluate(p);
      if (o.usable || o.why.rfind("a flag in a trapped program", 0) != 0) continue;
      cases.push_back({seed, p, ""});
      break;
    }
  }
  ASSERT_GE(cases.size() * 2, count / 4) << "too few generated programs raise a flag";

  std::atomic<size_t> next{0}, notBuilt{0}, runaway{0};
  std::mutex lock;
  std::vector<std::string> failures;
  auto worker = [&](int index) {
    std::string dir = ScratchDir("differential/both" + std::to_string(index));
    for (size_t i; (i = next++) < cases.size();) {
      WriteFile(dir + "/main.bas", difftest::Source(cases[i].program));
      RunResult nativeBuild = Compile(dir, {"main.bas"}, dir + "/native.exe", {"--backend", "native"});
      if (nativeBuild.exitCode == 3 && nativeBuild.errors.find("cannot build this yet") != std::string::npos)
        ++notBuilt;
      RunResult cppBuild = Compile(dir, {"main.bas"}, dir + "/cpp.exe", {"--backend", "cpp"});
      std::string why;
      if (nativeBuild.exitCode != 0 || cppBuild.exitCode != 0) {
        why = "built with exit codes " + std::to_string(cppBuild.exitCode) + " (C++) and " +
              std::to_string(nativeBuild.exitCode) + " (native):\n" + cppBuild.errors + nativeBuild.errors;
      } else {
        // A handler that a loop's own test calls again and again can keep a
        // program from ending: such a program says nothing here.
        RunResult cpp = RunCommand({"wine", dir + "/cpp.exe"}, "", kRunawaySeconds, true, dir);
        if (cpp.timedOut) {
          ++runaway;
          continue;
        }
        RunResult native = RunCommand({"wine", dir + "/native.exe"}, "", kRunawaySeconds, true, dir);
        if (cpp.exitCode != native.exitCode || native.timedOut || cpp.output != native.output)
          why = "through C++ (exit code " + std::to_string(cpp.exitCode) + "):\n" + cpp.output.substr(0, 4000) +
                "\nnatively (exit code " + std::to_string(native.exitCode) + "):\n" + native.output.substr(0, 4000);
      }
      if (why.empty()) continue;
      std::lock_guard<std::mutex> hold(lock);
      failures.push_back("seed " + std::to_string(cases[i].seed) + ":\n" + difftest::Source(cases[i].program) +
                         "\n" + why);
    }
  };
  std::thread second(worker, 1);
  worker(0);
  second.join();
  std::printf("%zu trapped programs that raise flags built through both back ends (%zu the native one cannot build "
              "yet, %zu that did not end), %zu differ\n",
              cases.size() - notBuilt, notBuilt.load(), runaway.load(), failures.size());
  for (size_t i = 0; i < failures.size() && i < 3; ++i) ADD_FAILURE() << failures[i];
}

}  // namespace
