// The host layer on Linux and other POSIX systems.
#include "host.h"

#include <fcntl.h>
#include <ftw.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace tbc::host {

bool IsSeparator(char c) { return c == '/'; }

char Separator() { return '/'; }

bool IsAbsolute(const std::string& path) { return !path.empty() && path[0] == '/'; }

std::string ProgramPath() {
  std::string self(4096, '\0');
  ssize_t n = readlink("/proc/self/exe", &self[0], self.size());
  if (n <= 0 || static_cast<size_t>(n) >= self.size()) return "";
  self.resize(static_cast<size_t>(n));
  return self;
}

namespace {

bool Executable(const std::string& path) {
  struct stat s;
  return stat(path.c_str(), &s) == 0 && S_ISREG(s.st_mode) && access(path.c_str(), X_OK) == 0;
}

}  // namespace

std::string FindProgram(const std::string& name) {
  if (name.empty()) return "";
  if (name.find('/') != std::string::npos) return Executable(name) ? name : "";
  const char* path = std::getenv("PATH");
  std::string dirs = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
  for (size_t start = 0;;) {
    size_t colon = dirs.find(':', start);
    std::string dir = dirs.substr(start, colon == std::string::npos ? std::string::npos : colon - start);
    // An empty entry is the current folder.
    std::string candidate = (dir.empty() ? "." : dir) + "/" + name;
    if (Executable(candidate)) return candidate;
    if (colon == std::string::npos) return "";
    start = colon + 1;
  }
}

Process RunProcess(const std::vector<std::string>& command) {
  Process result;
  std::string program = command.empty() ? "" : FindProgram(command[0]);
  if (program.empty()) return result;
  int pipes[2];
  if (pipe2(pipes, O_CLOEXEC) != 0) return result;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, pipes[1], 1);
  posix_spawn_file_actions_adddup2(&actions, pipes[1], 2);
  std::vector<char*> argv;
  for (const std::string& a : command) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t child = 0;
  // posix_spawn says so when the program cannot be started, unlike a fork
  // whose exec fails in the child.
  int failed = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipes[1]);
  if (failed == 0) {
    char buffer[4096];
    for (ssize_t n; (n = read(pipes[0], buffer, sizeof buffer)) != 0;) {
      if (n > 0) result.output.append(buffer, static_cast<size_t>(n));
      else if (errno != EINTR) break;
    }
  }
  close(pipes[0]);
  if (failed != 0) return result;
  result.started = true;
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  // A program ended by a signal has no exit code of its own.
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
  return result;
}

bool MakeScratchFolder(std::string& path, std::string& message) {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp != nullptr && *tmp ? tmp : "/tmp") + "/tessaric.XXXXXX";
  std::vector<char> dir(pattern.begin(), pattern.end());
  dir.push_back(0);
  if (mkdtemp(dir.data()) == nullptr) {
    message = "cannot make a scratch folder under " + pattern + ": " + std::strerror(errno);
    return false;
  }
  path = dir.data();
  return true;
}

bool WriteProgramFile(const std::string& path, const void* bytes, size_t size) {
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0777);
  if (fd < 0) return false;
  bool written = write(fd, bytes, size) == static_cast<ssize_t>(size);
  return close(fd) == 0 && written;
}

bool MakeFolder(const std::string& path) {
  struct stat s;
  return mkdir(path.c_str(), 0777) == 0 || (stat(path.c_str(), &s) == 0 && S_ISDIR(s.st_mode));
}

namespace {

int RemoveOne(const char* path, const struct stat*, int, struct FTW*) { return remove(path); }

}  // namespace

bool RemoveTree(const std::string& path) {
  // Depth first, and without following links out of the folder.
  nftw(path.c_str(), RemoveOne, 16, FTW_DEPTH | FTW_PHYS);
  return access(path.c_str(), F_OK) != 0;
}

void UseBinaryStreams() {}

}  // namespace tbc::host
