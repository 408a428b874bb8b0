// Runs one program as a person would and records what it shows:
//   showcase_driver console <exe> <run folder> <output prefix> [typed]
//     the transcript (prefix.txt), after a key press at the prompt; typed
//     holds lines typed at the console as the program starts, each ended by
//     "|" for Enter;
//   showcase_driver gui <exe> <run folder> <output prefix>
//     a screenshot of the main window (prefix.bmp), then closes it.
// Message boxes are answered with OK and their captions and texts recorded
// (prefix.boxes.txt); the exit code goes to prefix.exit.
#include <string>

#include "driver.h"
#include "screenshot.h"

using namespace driver;

namespace {

const char kPrompt[] = "Press a key to continue...";

std::string Boxes;

// Answers one pending message box of the process, if any; true when it did.
bool AnswerBox(const Process& process) {
  std::vector<HWND> boxes = TopLevelWindows(process.id, "#32770");
  if (boxes.empty()) return false;
  MessageBoxInfo box = WaitForMessageBox(process, 2000);
  if (box.window == nullptr) return false;
  Boxes += "[" + box.caption + "]\r\n" + box.text + "\r\n\r\n";
  CloseMessageBox(box.window);
  WaitUntil([&] { return !IsWindow(box.window); }, 5000, &process);
  return true;
}

// The lines of the console a window program opened for itself, if it did.
std::string ProgramConsoleText(const Process& process) {
  FreeConsole();
  if (!AttachConsole(process.id)) return std::string();
  HANDLE screen = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  CONSOLE_SCREEN_BUFFER_INFO info = {};
  GetConsoleScreenBufferInfo(screen, &info);
  std::string text;
  for (SHORT row = 0; row < info.dwCursorPosition.Y; ++row) {
    std::string line(info.dwSize.X, ' ');
    DWORD read = 0;
    ReadConsoleOutputCharacterA(screen, &line[0], info.dwSize.X, COORD{0, row}, &read);
    line.resize(line.find_last_not_of(' ') + 1);
    text += line + "\r\n";
  }
  CloseHandle(screen);
  FreeConsole();
  return text;
}

HWND MainWindow(const Process& process) {
  for (HWND window : TopLevelWindows(process.id))
    if (ClassName(window) != "#32770" && ClassName(window) != "ConsoleWindowClass") return window;
  return nullptr;
}

// Typed ahead: the console holds the keys until the program reads them, and
// echoes each line where the program reads it.
void TypeLines(std::string typed) {
  for (char& c : typed)
    if (c == '|') c = '\r';
  TypeText(typed);
}

DWORD RunConsole(const std::string& exe, const std::string& folder, const std::string& prefix,
                 const std::string& typed) {
  std::string transcript = prefix + ".txt";
  FlushInput();
  LaunchOptions options;
  options.consoleInput = true;
  options.outputFile = transcript;
  options.workingDirectory = folder;
  Process process = Launch(exe, options);
  if (process.handle == nullptr) return 255;
  TypeLines(typed);
  bool pressed = false;
  WaitUntil(
      [&] {
        AnswerBox(process);
        if (!pressed && ReadFileBytes(transcript).find(kPrompt) != std::string::npos) {
          PressKey();
          pressed = true;
        }
        return !process.Running();
      },
      30000, &process);
  return process.WaitExit(5000);
}

DWORD RunGui(const std::string& exe, const std::string& folder, const std::string& prefix) {
  LaunchOptions options;
  options.workingDirectory = folder;
  // Detached, as when started from the desktop: a program that asks for a
  // console of its own (circlet) then gets one instead of sharing ours.
  options.creationFlags = DETACHED_PROCESS;
  Process process = Launch(exe, options);
  if (process.handle == nullptr) return 255;
  HWND main = nullptr;
  WaitUntil(
      [&] {
        if (AnswerBox(process)) return false;
        main = MainWindow(process);
        return main != nullptr;
      },
      20000, &process);
  if (main == nullptr) return process.WaitExit(5000);
  WaitForInputIdle(process.handle, 5000);
  // A console the program opened for itself may lie over the form.
  SetWindowPos(main, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  SetForegroundWindow(main);
  // Let the program handle what showing the window queued (paints included).
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
  Sleep(300);  // the X server composes the frame after the program has painted
  SaveScreenRect(WindowRect(main), prefix + ".bmp");
  std::string console = ProgramConsoleText(process);
  if (!console.empty()) WriteFileBytes(prefix + ".txt", console);
  PostMessageA(main, WM_CLOSE, 0, 0);
  WaitUntil(
      [&] {
        AnswerBox(process);
        return !process.Running();
      },
      10000, &process);
  return process.WaitExit(2000);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5 && argc != 6) return 2;
  std::string kind = argv[1], exe = argv[2], folder = argv[3], prefix = argv[4];
  std::string typed = argc == 6 ? argv[5] : "";
  DWORD code = kind == "console" ? RunConsole(exe, folder, prefix, typed) : RunGui(exe, folder, prefix);
  if (!Boxes.empty()) WriteFileBytes(prefix + ".boxes.txt", Boxes);
  WriteFileBytes(prefix + ".exit", std::to_string(code) + "\n");
  return 0;
}
