#include "sample_window.h"

namespace drawtest {

COLORREF FormBackground() { return GetSysColor(COLOR_BTNFACE); }

SampleWindow::SampleWindow(const char* program, const char* signature, const driver::LaunchOptions& options)
    : process(driver::Launch(driver::BinPath(std::string(program) + ".exe"), options)) {
  if (process.handle == nullptr) return;
  form = driver::WaitForWindow(process, signature);
  if (form != nullptr) Settle();
}

SampleWindow::~SampleWindow() {
  if (process.Running() && form != nullptr) Close();
}

void SampleWindow::Settle() {
  // A sent message is taken only once the program is back in its loop, so the
  // reply means that whatever it was handling (a paint) is finished.
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(form, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
}

void SampleWindow::Repaint(const RECT* rect) {
  // The program paints when its queue runs dry; BeginPaint empties the update
  // region, and the reply to a later message means the handler has returned.
  RedrawWindow(form, rect, nullptr, RDW_INVALIDATE | RDW_ERASE);
  driver::WaitUntil([&] { return !GetUpdateRect(form, nullptr, FALSE); }, 5000, &process);
  Settle();
}

DWORD SampleWindow::Close() { return driver::CloseAndWait(process, form); }

std::string FirstMismatch(const driver::Pixels& block, const Expected& expected) {
  if (block.colours.empty()) return "nothing read";
  for (int y = block.rect.top; y < block.rect.bottom; ++y)
    for (int x = block.rect.left; x < block.rect.right; ++x) {
      COLORREF seen = block.At(x, y), want = expected(x, y);
      if (seen == want) continue;
      char text[96];
      wsprintfA(text, "(%d, %d) is %06X, expected %06X", x, y, seen, want);
      return text;
    }
  return "";
}

driver::Pixels WaitForPixels(HWND window, const RECT& rect, const Expected& expected) {
  driver::Pixels block;
  driver::WaitUntil(
      [&] {
        block = driver::ClientPixels(window, rect);
        return FirstMismatch(block, expected).empty();
      },
      5000);
  return block;
}

std::vector<std::string> ConsoleLinesOf(const driver::Process& process) {
  std::vector<std::string> lines;
  FreeConsole();
  if (!AttachConsole(process.id)) return lines;
  HANDLE output = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  CONSOLE_SCREEN_BUFFER_INFO info = {};
  if (GetConsoleScreenBufferInfo(output, &info)) {
    SHORT rows = static_cast<SHORT>(info.dwCursorPosition.Y + (info.dwCursorPosition.X > 0 ? 1 : 0));
    for (SHORT row = 0; row < rows; ++row) {
      std::string text(static_cast<size_t>(info.dwSize.X), ' ');
      DWORD read = 0;
      ReadConsoleOutputCharacterA(output, &text[0], static_cast<DWORD>(text.size()), COORD{0, row}, &read);
      text.resize(read);
      text.erase(text.find_last_not_of(' ') + 1);
      lines.push_back(text);
    }
  }
  CloseHandle(output);
  FreeConsole();
  return lines;
}

}  // namespace drawtest
