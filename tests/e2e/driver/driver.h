// The end-to-end driver: starts deliverables as a user would and observes them
// from outside (exit codes, output bytes, consoles, windows, message boxes, pixels).
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace driver {

// Folders handed over by the test runner, as Windows paths. Without the
// runner's variables a test program is in the Windows package's tests folder:
// the deliverables are in ..\bin, fixtures in fixtures\, the source files the
// tests read in source\, and scratch space under the system's temporary folder.
// The package copies the files that SourcePath names with a literal path.
std::string BinDir();                           // the deliverables
std::string FixtureDir();                       // freestanding test programs and the files tests read
std::string SourceDir();                        // the source tree
std::string BinPath(const std::string& file);
std::string FixturePath(const std::string& file);
std::string SourcePath(const std::string& relative);
// A fresh, empty folder for this test (removed and created again).
std::string FreshDir(const std::string& name);

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

struct LaunchOptions {
  std::string workingDirectory;  // empty: the driver's own
  bool consoleInput = false;     // standard input = the driver's console (see ConsoleInput)
  std::string outputFile;        // standard output (and error) to this file
  bool nullInput = false;        // standard input = the NUL device
  std::string arguments;         // appended to the quoted program path
  HANDLE inputHandle = nullptr;  // standard input = this inheritable handle; the caller keeps it
  std::string errorFile;         // standard error to this file instead of with standard output
  // Added to CreateProcessA's flags. Under Wine a GUI program shares the
  // driver's console unless DETACHED_PROCESS; with it, one that asks for a
  // console gets its own.
  DWORD creationFlags = 0;
};

class Process {
 public:
  Process() = default;
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;
  Process(const Process&) = delete;
  ~Process();  // a program still running at the end of a test is ended

  bool Running() const;
  // Waits for the end; returns the exit code, or STILL_ACTIVE after the timeout.
  DWORD WaitExit(DWORD timeoutMs = 15000) const;
  void Kill() const;

  HANDLE handle = nullptr;
  DWORD id = 0;
  DWORD threadId = 0;
};

Process Launch(const std::string& exe, const LaunchOptions& options = {});

// Acts (a menu pick), then asks whether it took. With Wine's X server busy
// a synthesized key has been seen to go astray, so an act that did not take
// is made again, up to three times, after two Escapes close what it left
// open. Returns whether it took.
bool Retried(const std::function<void()>& act, const std::function<bool()>& took);
// The same for an act that ends the program: the exit code, or STILL_ACTIVE.
DWORD ExitAfter(const Process& process, const std::function<void()>& act);

// Polls condition every 10 ms until it holds or timeoutMs passes; stops early
// when the watched process has ended. Returns whether the condition held.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 15000,
               const Process* watched = nullptr);

// Console: the driver owns a real console; its input handle can be given to a
// program as standard input, and records written to it are what the program polls.
HANDLE ConsoleInput();
HANDLE ConsoleOutput();
void WriteInput(const INPUT_RECORD* records, DWORD count);
INPUT_RECORD KeyRecord(bool down, WORD virtualKey, char character);
INPUT_RECORD MouseMoveRecord(SHORT x, SHORT y);
INPUT_RECORD FocusRecord(bool focused);
void PressKey(WORD virtualKey = 'A', char character = 'a');  // key down and key up
void TypeText(const std::string& text);  // each character pressed in turn, '\r' as Enter
void FlushInput();
std::string ConsoleTitle();

// Runs a console program in the driver's console with its output into a file,
// waits for text to appear in that file (the prompt), presses a key and waits
// for the end. Returns the output bytes; the exit code goes to *exitCode.
std::string RunConsoleProgram(const std::string& exe, const std::string& waitFor, DWORD* exitCode,
                              const std::string& workingDirectory = "");

// Windows of a process.
std::vector<HWND> TopLevelWindows(DWORD processId, const char* className = nullptr,
                                  bool visibleOnly = true);
HWND WaitForWindow(const Process& process, const char* className, DWORD timeoutMs = 15000);
std::vector<HWND> ChildWindows(HWND parent);
std::string ClassName(HWND window);
std::string WindowText(HWND window);
RECT WindowRect(HWND window);

struct MessageBoxInfo {
  HWND window = nullptr;
  std::string text;
  std::string caption;
  LONG style = 0;
  LONG exStyle = 0;
};
// Waits for a message box of the process; window is null after the timeout.
MessageBoxInfo WaitForMessageBox(const Process& process, DWORD timeoutMs = 15000);
// Reads a box that is already shown (one of the driver's own process, for example).
MessageBoxInfo ReadMessageBox(HWND box);
void CloseMessageBox(HWND box);

// List and combo box items; read with the wide messages, which cross processes intact.
std::vector<std::string> ListBoxItems(HWND listBox);
std::vector<std::string> ComboBoxItems(HWND comboBox);

// Input through the system: SendInput goes to the foreground window, so bring
// the program's window to the front first. Points are screen coordinates.
bool BringToFront(HWND window, DWORD timeoutMs = 5000);
POINT ScreenPoint(HWND window, int x, int y);  // a client point of window
POINT ScreenCentre(HWND window);
bool MoveMouse(POINT point);  // true once the cursor is there
void MouseButton(POINT point, bool down, bool right = false);  // pressed or released at point
void Click(POINT point, bool right = false);
void DoubleClick(POINT point);
void Drag(POINT from, POINT to);  // left button held from one point to the other
void KeyEvent(WORD virtualKey, bool down);
void TypeKey(WORD virtualKey);  // down and up
// Posts a key down and up to a window; the program's loop retrieves them.
void PostKey(HWND window, WORD virtualKey);
LPARAM KeyLParam(WORD virtualKey, bool down);
// Keyboard focus of the program's thread; HoldsFocus also accepts a child of window.
HWND FocusedWindow(const Process& process);
bool HoldsFocus(const Process& process, HWND window);

// A program's memory: the address of the object record that holds window (0
// when none does), its 32-bit fields, and the text at an address.
DWORD FindObjectRecord(const Process& process, HWND window);
std::vector<DWORD> ReadRemoteWords(const Process& process, DWORD address, size_t count);
std::string ReadRemoteText(const Process& process, DWORD address);

// Pixels as the X display shows them; colours as 0x00BBGGRR.
COLORREF ClientPixel(HWND window, int x, int y);
COLORREF ScreenPixel(int x, int y);
// A rectangle of a window's client area, read in one go. Read a control
// through its top-level window: under Wine another process's control reads black.
struct Pixels {
  RECT rect;                      // client coordinates
  std::vector<COLORREF> colours;  // row by row from the top left
  COLORREF At(int x, int y) const;  // client coordinates inside rect
};
Pixels ClientPixels(HWND window, const RECT& rect);

// Maps a drive letter to a folder (a path the driver can open) for every
// program of the session until UnmapDrive: under Wine through Wine's mount
// manager, as Wine's own configuration tool does, elsewhere with
// DefineDosDevice, as subst does. Under Wine UnmapDrive removes the letter;
// elsewhere it removes only what MapDrive defined, so a drive of the machine's
// own shows again. Both return whether it worked.
bool MapDrive(char letter, const std::string& folder);
bool UnmapDrive(char letter);

// Asks the window to close (WM_CLOSE) and waits for the process to end.
DWORD CloseAndWait(const Process& process, HWND window, DWORD timeoutMs = 15000);

// A 32-bit module file's headers and contents, read from disk as the loader sees them.
struct PeFile {
  std::string bytes;
  const IMAGE_NT_HEADERS32* Headers() const;  // null when the file is no PE image
  std::vector<IMAGE_SECTION_HEADER> Sections() const;
  IMAGE_DATA_DIRECTORY Directory(int index) const;
  // The file bytes behind an address relative to the image base; null outside every section.
  const char* AtRva(DWORD rva) const;
};
PeFile ReadPeFile(const std::string& path);

}  // namespace driver
