// The host layer on Windows, through the ANSI entry points, like the
// programs the compiler makes.
#include "host.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>

namespace tbc::host {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

char Separator() { return '\\'; }

bool IsAbsolute(const std::string& path) {
  if (!path.empty() && IsSeparator(path[0])) return true;  // "\x" is on the current drive, "\\server\share" anywhere
  return path.size() >= 3 && path[1] == ':' && IsSeparator(path[2]);
}

std::string ProgramPath() {
  for (DWORD size = MAX_PATH;; size *= 2) {
    std::string self(size, '\0');
    DWORD n = GetModuleFileNameA(nullptr, &self[0], size);
    if (n == 0) return "";
    if (n < size) {
      self.resize(n);
      return self;
    }
    if (size >= 32768) return "";
  }
}

namespace {

bool IsFile(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool HasExtension(const std::string& name) {
  for (size_t i = name.size(); i-- > 0;) {
    if (name[i] == '.') return true;
    if (IsSeparator(name[i])) return false;
  }
  return false;
}

// One argument as the C runtime's command line parsing gives it back: quoted
// when it holds blanks or quotes (or is empty), a quote inside escaped with a
// backslash, and the backslashes before a quote, or before the closing one,
// doubled.
void AppendArgument(std::string& line, const std::string& argument) {
  if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos) {
    line += argument;
    return;
  }
  line += '"';
  size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    line.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    backslashes = 0;
    line += c;
  }
  line.append(2 * backslashes, '\\');
  line += '"';
}

}  // namespace

std::string FindProgram(const std::string& name) {
  if (name.empty()) return "";
  std::string file = HasExtension(name) ? name : name + ".exe";
  bool hasFolder = false;
  for (char c : name) hasFolder = hasFolder || IsSeparator(c) || c == ':';
  if (hasFolder) return IsFile(file) ? file : "";
  char found[MAX_PATH];
  DWORD n = SearchPathA(nullptr, file.c_str(), nullptr, sizeof found, found, nullptr);
  return n > 0 && n < sizeof found && IsFile(found) ? std::string(found, n) : "";
}

Process RunProcess(const std::vector<std::string>& command) {
  Process result;
  std::string program = command.empty() ? "" : FindProgram(command[0]);
  if (program.empty()) return result;
  std::string line;
  for (const std::string& a : command) {
    if (!line.empty()) line += ' ';
    AppendArgument(line, a);
  }
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE reader = nullptr, writer = nullptr;
  if (!CreatePipe(&reader, &writer, &inherit, 0)) return result;
  SetHandleInformation(reader, HANDLE_FLAG_INHERIT, 0);
  HANDLE nothing = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0,
                               nullptr);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nothing;
  startup.hStdOutput = writer;
  startup.hStdError = writer;
  PROCESS_INFORMATION child = {};
  std::vector<char> mutableLine(line.begin(), line.end());
  mutableLine.push_back(0);
  BOOL started = CreateProcessA(program.c_str(), mutableLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                nullptr, &startup, &child);
  // The child holds its own copies; the pipe ends when the child's are closed.
  CloseHandle(writer);
  if (nothing != INVALID_HANDLE_VALUE) CloseHandle(nothing);
  if (started) {
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(reader, buffer, sizeof buffer, &n, nullptr) && n > 0) result.output.append(buffer, n);
    WaitForSingleObject(child.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(child.hProcess, &code);
    result.started = true;
    result.exitCode = static_cast<int>(code);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
  }
  CloseHandle(reader);
  return result;
}

bool MakeScratchFolder(std::string& path, std::string& message) {
  char temp[MAX_PATH + 1];
  DWORD n = GetTempPathA(sizeof temp, temp);
  if (n == 0 || n > MAX_PATH) {
    message = "cannot find the folder for temporary files";
    return false;
  }
  // A name no one else holds: CreateDirectory fails on one that exists.
  DWORD seed = GetCurrentProcessId() * 2654435761u ^ GetTickCount();
  for (int attempt = 0; attempt < 1000; ++attempt) {
    char name[32];
    std::snprintf(name, sizeof name, "tessaric.%08lx", static_cast<unsigned long>(seed + attempt * 7919u));
    std::string candidate = std::string(temp, n) + name;
    if (CreateDirectoryA(candidate.c_str(), nullptr)) {
      path = candidate;
      return true;
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  message = "cannot make a scratch folder under " + std::string(temp, n);
  return false;
}

bool WriteProgramFile(const std::string& path, const void* bytes, size_t size) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD done = 0;
  bool written = WriteFile(file, bytes, static_cast<DWORD>(size), &done, nullptr) && done == size;
  return CloseHandle(file) && written;
}

bool MakeFolder(const std::string& path) {
  if (CreateDirectoryA(path.c_str(), nullptr)) return true;
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((path + "\\*").c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = entry.cFileName;
      if (name == "." || name == "..") continue;
      std::string inner = path + "\\" + name;
      // A link to a folder (a junction) goes, not what it points to.
      bool folder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
                    (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
      if (folder) {
        RemoveTree(inner);
      } else {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesA(inner.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!DeleteFileA(inner.c_str())) RemoveDirectoryA(inner.c_str());
      }
    } while (FindNextFileA(search, &entry));
    FindClose(search);
  }
  RemoveDirectoryA(path.c_str());
  return GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES;
}

void UseBinaryStreams() {
  std::fflush(stdout);
  std::fflush(stderr);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}

}  // namespace tbc::host
