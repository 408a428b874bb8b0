#include "support.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace compilertest {

namespace {

std::string Environment(const char* name, const char* fallback) {
  const char* value = std::getenv(name);
  return value != nullptr && *value ? value : fallback;
}

// Reads everything from fd into text without blocking the writer.
void Drain(int fd, std::string& text) {
  char buffer[4096];
  for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<size_t>(n));
}

}  // namespace

std::string CompilerPath() { return Environment("TESSARIC_COMPILER", "tessaric"); }
std::string SourceRoot() { return Environment("TESSARIC_SOURCE", "."); }

std::string KitPath() {
  const char* kit = std::getenv("TESSARIC_KIT");
  if (kit != nullptr && *kit) return kit;
  std::string compiler = CompilerPath();
  return compiler.substr(0, compiler.find_last_of('/') + 1) + "tessaric-kit.txt";
}

std::string KitValue(const std::string& key) {
  std::ifstream in(KitPath());
  for (std::string line; std::getline(in, line);)
    if (line.compare(0, key.size() + 1, key + "=") == 0) return line.substr(key.size() + 1);
  return "";
}

std::string ScratchDir(const std::string& name) {
  std::string dir = Environment("TESSARIC_TMP", "/tmp/tessaric-compiler-tests") + "/" + name;
  RunCommand({"rm", "-rf", dir}, "", 60);
  RunCommand({"mkdir", "-p", dir}, "", 60);
  return dir;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

RunResult RunCommand(const std::vector<std::string>& command, const std::string& input, int timeoutSeconds,
                     bool separateErrors, const std::string& workingDir) {
  RunResult result;
  char inputName[] = "/tmp/tessaric-input-XXXXXX";
  int inputFile = mkstemp(inputName);
  if (inputFile < 0) return result;
  if (write(inputFile, input.data(), input.size()) != static_cast<ssize_t>(input.size())) return result;
  lseek(inputFile, 0, SEEK_SET);
  unlink(inputName);
  int out[2], err[2];
  if (pipe(out) != 0 || pipe(err) != 0) return result;
  pid_t child = fork();
  if (child == 0) {
    setpgid(0, 0);
    if (!workingDir.empty() && chdir(workingDir.c_str()) != 0) _exit(126);
    dup2(inputFile, 0);
    dup2(out[1], 1);
    dup2(separateErrors ? err[1] : out[1], 2);
    close(out[0]);
    close(err[0]);
    std::vector<char*> argv;
    for (const std::string& a : command) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  close(inputFile);
  close(out[1]);
  close(err[1]);
  fcntl(out[0], F_SETFL, O_NONBLOCK);
  fcntl(err[0], F_SETFL, O_NONBLOCK);
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
  int status = 0;
  for (;;) {
    Drain(out[0], result.output);
    Drain(err[0], result.errors);
    pid_t done = waitpid(child, &status, WNOHANG);
    if (done == child) break;
    if (std::chrono::steady_clock::now() > deadline) {
      kill(-child, SIGKILL);
      waitpid(child, &status, 0);
      result.timedOut = true;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  Drain(out[0], result.output);
  Drain(err[0], result.errors);
  close(out[0]);
  close(err[0]);
  if (!result.timedOut && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  return result;
}

RunResult Compile(const std::string& dir, const std::vector<std::string>& sources, const std::string& program,
                  const std::vector<std::string>& options) {
  std::vector<std::string> command = {CompilerPath()};
  command.insert(command.end(), options.begin(), options.end());
  for (const std::string& s : sources) command.push_back(dir + "/" + s);
  command.insert(command.end(), {"-o", program});
  return RunCommand(command, "", 120, true);
}

RunResult RunProgram(const std::string& program, const std::string& input) {
  // Standard input is a file: the closing key wait then reads one byte, or
  // the end of the input, instead of waiting for a key.
  // In its own folder, where the files it names are made.
  return RunCommand({"wine", program}, input, 60, true, program.substr(0, program.find_last_of('/')));
}

std::string CrLf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

}  // namespace compilertest
