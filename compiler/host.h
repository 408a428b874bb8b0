// What the compiler asks of the system it runs on: where it is itself,
// starting a program and collecting what it writes, scratch folders, and how
// paths are spelled. host_posix.cpp and host_win32.cpp implement it; the rest
// of the compiler builds unchanged for Linux and for Windows.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tbc::host {

// '/' everywhere; on Windows '\' as well.
bool IsSeparator(char c);
// The separator that joins paths: '/', on Windows '\'.
char Separator();
// A path that does not depend on the current folder: "/x", and on Windows
// also "\x", "C:\x" and "\\server\share".
bool IsAbsolute(const std::string& path);

// The running compiler's own file, as the system knows it; "" when it cannot say.
std::string ProgramPath();

struct Process {
  bool started = false;  // false: the program could not be started at all
  int exitCode = -1;
  std::string output;    // standard output and standard error, as written
};

// The file a program name stands for: a name with a folder as it is, a bare
// name found on the search path (on Windows ".exe" is added to a name
// without an extension, as starting it would). "" when there is none.
std::string FindProgram(const std::string& name);

// Runs a program (found as FindProgram finds it) with its arguments, passed
// as they are, and nothing on its standard input; waits for it to end.
Process RunProcess(const std::vector<std::string>& command);

// Makes a new, empty folder under the system's folder for temporary files
// (TMPDIR; on Windows TMP or TEMP). False, with what went wrong, if it cannot.
bool MakeScratchFolder(std::string& path, std::string& message);

// Writes a program's image: a new file of these bytes, which the system may
// run (on Linux with the run bit where the file mode mask allows it, as a
// linker makes a program). False when it cannot.
bool WriteProgramFile(const std::string& path, const void* bytes, size_t size);

// Makes one folder; true when it is there afterwards.
bool MakeFolder(const std::string& path);

// Removes a folder and everything in it; true when it is gone.
bool RemoveTree(const std::string& path);

// Standard output and standard error carry the bytes written and nothing
// else: the C library on Windows would add a CR before each LF.
void UseBinaryStreams();

}  // namespace tbc::host
