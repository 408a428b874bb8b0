#include "driver.h"

#include <cstdlib>

namespace driver {

namespace {

// The running test program: its path, its folder, its name without extension.
std::string ProgramPath() {
  char path[MAX_PATH] = {};
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return std::string(path, length < MAX_PATH ? length : 0);
}

std::string ProgramFolder() {
  std::string path = ProgramPath();
  return path.substr(0, path.find_last_of('\\'));
}

std::string ProgramName() {
  std::string path = ProgramPath();
  std::string name = path.substr(path.find_last_of('\\') + 1);
  return name.substr(0, name.find_last_of('.'));
}

std::string FullPath(const std::string& path) {
  char full[MAX_PATH] = {};
  DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
  return length > 0 && length < MAX_PATH ? std::string(full, length) : path;
}

std::string TempFolder() {
  char temp[MAX_PATH] = {};
  DWORD length = GetTempPathA(MAX_PATH, temp);
  std::string folder(temp, length < MAX_PATH ? length : 0);
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  return folder;
}

// A folder the test runner names through the environment, or, without the
// variable (a test program of the Windows package), the package's own folder.
std::string FromEnvironment(const char* variable, const std::string& fallback) {
  const char* value = std::getenv(variable);
  if (value == nullptr || *value == 0) return fallback;
  std::string path(value);
  // The runner passes Unix paths; Wine shows the Unix root as drive Z:.
  if (path[0] == '/') path = "Z:" + path;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

std::string Join(const std::string& folder, const std::string& name) {
  std::string relative = name;
  for (char& c : relative)
    if (c == '/') c = '\\';
  return folder + "\\" + relative;
}

void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      std::string path = folder + "\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(folder.c_str());
}

void CreateTree(const std::string& folder) {
  for (size_t i = 3; i <= folder.size(); ++i)
    if (i == folder.size() || folder[i] == '\\') CreateDirectoryA(folder.substr(0, i).c_str(), nullptr);
}

}  // namespace

std::string BinDir() { return FromEnvironment("TESSARIC_BIN", FullPath(ProgramFolder() + "\\..\\bin")); }
std::string FixtureDir() { return FromEnvironment("TESSARIC_FIXTURES", ProgramFolder() + "\\fixtures"); }
std::string SourceDir() { return FromEnvironment("TESSARIC_SOURCE", ProgramFolder() + "\\source"); }
std::string BinPath(const std::string& file) { return Join(BinDir(), file); }
std::string FixturePath(const std::string& file) { return Join(FixtureDir(), file); }
std::string SourcePath(const std::string& relative) { return Join(SourceDir(), relative); }

std::string FreshDir(const std::string& name) {
  std::string scratch = FromEnvironment("TESSARIC_TMP", TempFolder() + "\\tessaric-tests\\" + ProgramName());
  std::string folder = Join(scratch, name);
  RemoveTree(folder);
  CreateTree(folder);
  return folder;
}

std::string ReadFileBytes(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  std::string bytes(GetFileSize(file, nullptr), '\0');
  DWORD read = 0;
  if (!bytes.empty()) ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr);
  bytes.resize(read);
  CloseHandle(file);
  return bytes;
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

Process::Process(Process&& other) noexcept { *this = std::move(other); }

Process& Process::operator=(Process&& other) noexcept {
  std::swap(handle, other.handle);
  std::swap(id, other.id);
  std::swap(threadId, other.threadId);
  return *this;
}

Process::~Process() {
  if (handle == nullptr) return;
  if (Running()) {
    Kill();
    WaitForSingleObject(handle, 5000);
  }
  CloseHandle(handle);
}

bool Process::Running() const {
  return handle != nullptr && WaitForSingleObject(handle, 0) == WAIT_TIMEOUT;
}

DWORD Process::WaitExit(DWORD timeoutMs) const {
  if (WaitForSingleObject(handle, timeoutMs) != WAIT_OBJECT_0) return STILL_ACTIVE;
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(handle, &code);
  return code;
}

void Process::Kill() const { TerminateProcess(handle, 255); }

bool Retried(const std::function<void()>& act, const std::function<bool()>& took) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (attempt > 0) {
      TypeKey(VK_ESCAPE);
      TypeKey(VK_ESCAPE);
    }
    act();
    if (took()) return true;
  }
  return false;
}

DWORD ExitAfter(const Process& process, const std::function<void()>& act) {
  DWORD code = STILL_ACTIVE;
  Retried(act, [&] { return (code = process.WaitExit(5000)) != STILL_ACTIVE; });
  return code;
}

Process Launch(const std::string& exe, const LaunchOptions& options) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE output = nullptr, input = nullptr;
  BOOL inheritHandles = FALSE;

  HANDLE error = nullptr;
  if (options.consoleInput || !options.outputFile.empty() || options.nullInput || options.inputHandle ||
      !options.errorFile.empty()) {
    startup.dwFlags = STARTF_USESTDHANDLES;
    inheritHandles = TRUE;
    if (options.consoleInput) {
      input = CreateFileA("CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                          &inherit, OPEN_EXISTING, 0, nullptr);
    } else if (options.nullInput) {
      input = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING,
                          0, nullptr);
    }
    if (!options.outputFile.empty()) {
      output = CreateFileA(options.outputFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    } else {
      output = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           &inherit, OPEN_EXISTING, 0, nullptr);
    }
    startup.hStdInput = input;
    startup.hStdOutput = output;
    startup.hStdError = output;
    if (options.inputHandle) startup.hStdInput = options.inputHandle;
    if (!options.errorFile.empty()) {
      error = CreateFileA(options.errorFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
      startup.hStdError = error;
    }
  }

  std::string commandLine = "\"" + exe + "\"";
  if (!options.arguments.empty()) commandLine += " " + options.arguments;
  PROCESS_INFORMATION info = {};
  BOOL started = CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, inheritHandles,
                                options.creationFlags, nullptr,
                                options.workingDirectory.empty() ? nullptr : options.workingDirectory.c_str(),
                                &startup, &info);
  if (input) CloseHandle(input);
  if (output) CloseHandle(output);
  if (error) CloseHandle(error);
  Process process;
  if (started) {
    CloseHandle(info.hThread);
    process.handle = info.hProcess;
    process.id = info.dwProcessId;
    process.threadId = info.dwThreadId;
  }
  return process;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, const Process* watched) {
  DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - start > timeoutMs) return false;
    if (watched != nullptr && !watched->Running()) return condition();
    Sleep(10);
  }
}

}  // namespace driver
