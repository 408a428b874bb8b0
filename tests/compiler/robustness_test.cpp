// Mutants of the sample sources: tokens and lines deleted, repeated and
// swapped, bytes changed, files cut short. The compiler must never crash,
// hang or fail inside itself (exit 3) on any of them, and every mutant it
// accepts must build into a program.
#include <gtest/gtest.h>

#include <dirent.h>

#include <atomic>
#include <mutex>
#include <random>
#include <thread>

#include "support.h"

namespace {

using namespace compilertest;

// A program of the samples or the examples: its modules, the main one first.
struct Sample {
  std::string name;
  std::vector<std::string> files;
  std::vector<std::string> texts;
};

void LoadFolder(const std::string& root, std::vector<Sample>& samples) {
  DIR* dir = opendir(root.c_str());
  if (dir == nullptr) return;
  std::vector<std::string> names;
  while (dirent* entry = readdir(dir))
    if (entry->d_name[0] != '.') names.push_back(entry->d_name);
  closedir(dir);
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) {
    Sample s;
    s.name = name;
    std::string main = root + "/" + name + "/" + name + ".bas";
    std::string text = ReadFile(main);
    if (text.empty()) continue;
    s.files.push_back(name + ".bas");
    s.texts.push_back(text);
    DIR* folder = opendir((root + "/" + name).c_str());
    std::vector<std::string> others;
    while (dirent* entry = readdir(folder)) {
      std::string file = entry->d_name;
      if (file.size() > 4 && file.substr(file.size() - 4) == ".bas" && file != name + ".bas") others.push_back(file);
    }
    closedir(folder);
    std::sort(others.begin(), others.end());
    for (const std::string& other : others) {
      s.files.push_back(other);
      s.texts.push_back(ReadFile(root + "/" + name + "/" + other));
    }
    samples.push_back(s);
  }
}

std::vector<Sample> LoadSamples() {
  std::vector<Sample> samples;
  for (const char* folder : {"/samples", "/examples"}) LoadFolder(SourceRoot() + folder, samples);
  return samples;
}

// Where tokens start and end: names, numbers, texts in quotes, and single
// other characters; blanks and line ends are not tokens.
std::vector<std::pair<size_t, size_t>> Tokens(const std::string& t) {
  std::vector<std::pair<size_t, size_t>> tokens;
  for (size_t i = 0; i < t.size();) {
    unsigned char c = static_cast<unsigned char>(t[i]);
    size_t start = i;
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      ++i;
      continue;
    }
    if (std::isalnum(c) || c == '_' || c == '&' || c == '.') {
      while (i < t.size() && (std::isalnum(static_cast<unsigned char>(t[i])) || t[i] == '_' || t[i] == '$' ||
                              t[i] == '.' || t[i] == '&'))
        ++i;
    } else if (c == '"') {
      for (++i; i < t.size() && t[i] != '"' && t[i] != '\n'; ++i) {
      }
      if (i < t.size()) ++i;
    } else {
      ++i;
    }
    tokens.push_back({start, i});
  }
  return tokens;
}

std::vector<std::pair<size_t, size_t>> Lines(const std::string& t) {
  std::vector<std::pair<size_t, size_t>> lines;
  for (size_t start = 0; start < t.size();) {
    size_t end = t.find('\n', start);
    end = end == std::string::npos ? t.size() : end + 1;
    lines.push_back({start, end});
    start = end;
  }
  return lines;
}

std::string Mutate(const std::string& text, std::mt19937& random, std::string& how) {
  auto pick = [&](size_t n) { return static_cast<size_t>(random() % (n == 0 ? 1 : n)); };
  auto tokens = Tokens(text);
  auto lines = Lines(text);
  auto piece = [&](const std::pair<size_t, size_t>& p) { return text.substr(p.first, p.second - p.first); };
  switch (random() % 8) {
    case 0: {
      auto t = tokens[pick(tokens.size())];
      how = "token deleted";
      return text.substr(0, t.first) + text.substr(t.second);
    }
    case 1: {
      auto t = tokens[pick(tokens.size())];
      how = "token repeated";
      return text.substr(0, t.second) + " " + piece(t) + text.substr(t.second);
    }
    case 2: {
      size_t i = pick(tokens.size() - 1);
      auto a = tokens[i], b = tokens[i + 1];
      how = "tokens swapped";
      return text.substr(0, a.first) + piece(b) + text.substr(a.second, b.first - a.second) + piece(a) +
             text.substr(b.second);
    }
    case 3: {
      auto l = lines[pick(lines.size())];
      how = "line deleted";
      return text.substr(0, l.first) + text.substr(l.second);
    }
    case 4: {
      auto l = lines[pick(lines.size())];
      how = "line repeated";
      return text.substr(0, l.second) + piece(l) + text.substr(l.second);
    }
    case 5: {
      size_t i = pick(lines.size() - 1);
      size_t j = i + 1 + pick(lines.size() - i - 1);
      auto a = lines[i], b = lines[j];
      how = "lines swapped";
      return text.substr(0, a.first) + piece(b) + text.substr(a.second, b.first - a.second) + piece(a) +
             text.substr(b.second);
    }
    case 6: {
      std::string changed = text;
      changed[pick(text.size())] = static_cast<char>(random() & 0xFF);
      how = "byte changed";
      return changed;
    }
    default:
      how = "cut short";
      return text.substr(0, pick(text.size()));
  }
}

TEST(Robustness, MutantsOfTheSamplesNeverBreakTheCompiler) {
  std::vector<Sample> samples = LoadSamples();
  ASSERT_GE(samples.size(), 15u) << "no samples under " << SourceRoot();
  constexpr int kMutants = 300;
  std::mt19937 random(20261209);
  struct Mutant {
    const Sample* sample;
    size_t file;
    std::string text, how;
  };
  std::vector<Mutant> mutants;
  for (int i = 0; i < kMutants; ++i) {
    const Sample& s = samples[random() % samples.size()];
    size_t file = random() % s.files.size();
    Mutant m{&s, file, "", ""};
    m.text = Mutate(s.texts[file], random, m.how);
    mutants.push_back(m);
  }
  std::atomic<int> next{0}, accepted{0};
  std::mutex failures;
  std::vector<std::string> problems;
  auto worker = [&](int id) {
    for (int i; (i = next++) < kMutants;) {
      const Mutant& m = mutants[static_cast<size_t>(i)];
      std::string dir = ScratchDir("robustness/" + std::to_string(id) + "/" + std::to_string(i));
      for (size_t f = 0; f < m.sample->files.size(); ++f)
        WriteFile(dir + "/" + m.sample->files[f], f == m.file ? m.text : m.sample->texts[f]);
      std::string program = dir + "/program.out";
      RunResult r = Compile(dir, m.sample->files, program);
      std::string what = m.sample->name + "/" + m.sample->files[m.file] + ", mutant " + std::to_string(i) + " (" +
                         m.how + "): ";
      std::string problem;
      if (r.timedOut) problem = "the compiler hung";
      else if (r.exitCode == 3) problem = "internal error:\n" + r.errors;
      else if (r.exitCode != 0 && r.exitCode != 1) problem = "exit code " + std::to_string(r.exitCode) + "\n" + r.errors;
      else if (r.exitCode == 1 && r.errors.find(": error: ") == std::string::npos) problem = "refused without a message";
      else if (r.exitCode == 0 && ReadFile(program).empty()) problem = "accepted but wrote no program";
      if (r.exitCode == 0) ++accepted;
      if (!problem.empty()) {
        std::lock_guard<std::mutex> lock(failures);
        problems.push_back(what + problem + "\n--- mutant ---\n" + m.text);
      } else {
        RunCommand({"rm", "-rf", dir}, "", 30);
      }
    }
  };
  std::thread a(worker, 0), b(worker, 1);
  a.join();
  b.join();
  for (const std::string& p : problems) ADD_FAILURE() << p;
  // Most mutants are refused; some are programs still, and those were built.
  EXPECT_GT(accepted.load(), 0);
  std::printf("%d of %d mutants were programs and built\n", accepted.load(), kMutants);
}

}  // namespace
