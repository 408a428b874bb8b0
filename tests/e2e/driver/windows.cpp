#include "driver.h"

namespace driver {

namespace {

struct WindowSearch {
  DWORD processId;
  const char* className;
  bool visibleOnly;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<WindowSearch*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId) return TRUE;
  if (search->visibleOnly && !IsWindowVisible(window)) return TRUE;
  if (search->className != nullptr && ClassName(window) != search->className) return TRUE;
  search->found.push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM parameter) {
  reinterpret_cast<std::vector<HWND>*>(parameter)->push_back(window);
  return TRUE;
}

std::string Narrow(const wchar_t* text) {
  char buffer[1024] = {};
  WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, sizeof buffer, nullptr, nullptr);
  return buffer;
}

std::vector<std::string> Items(HWND box, UINT countMessage, UINT lengthMessage, UINT textMessage) {
  std::vector<std::string> items;
  DWORD_PTR count = 0;
  SendMessageTimeoutW(box, countMessage, 0, 0, SMTO_ABORTIFHUNG, 5000, &count);
  for (DWORD_PTR i = 0; i < count; ++i) {
    DWORD_PTR length = 0;
    SendMessageTimeoutW(box, lengthMessage, i, 0, SMTO_ABORTIFHUNG, 5000, &length);
    std::vector<wchar_t> text(length + 1);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(box, textMessage, i, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 5000,
                        &ignored);
    items.push_back(Narrow(text.data()));
  }
  return items;
}

}  // namespace

std::vector<HWND> TopLevelWindows(DWORD processId, const char* className, bool visibleOnly) {
  WindowSearch search{processId, className, visibleOnly, {}};
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForWindow(const Process& process, const char* className, DWORD timeoutMs) {
  HWND window = nullptr;
  WaitUntil(
      [&] {
        std::vector<HWND> windows = TopLevelWindows(process.id, className);
        window = windows.empty() ? nullptr : windows.front();
        return window != nullptr;
      },
      timeoutMs, &process);
  return window;
}

std::vector<HWND> ChildWindows(HWND parent) {
  std::vector<HWND> children;
  EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&children));
  return children;
}

std::string ClassName(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string WindowText(HWND window) {
  DWORD_PTR length = 0;
  SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length);
  std::string text(length + 1, '\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(&text[0]), SMTO_ABORTIFHUNG,
                      5000, &copied);
  text.resize(copied);
  return text;
}

RECT WindowRect(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  return rect;
}

MessageBoxInfo WaitForMessageBox(const Process& process, DWORD timeoutMs) {
  HWND box = WaitForWindow(process, "#32770", timeoutMs);
  if (box == nullptr) return MessageBoxInfo{};
  return ReadMessageBox(box);
}

MessageBoxInfo ReadMessageBox(HWND box) {
  MessageBoxInfo info;
  info.window = box;
  // The box is visible before its text is set; wait until the static holds it.
  WaitUntil([&] { return GetDlgItem(info.window, 0xFFFF) != nullptr; }, 5000);
  char text[1024] = {};
  GetDlgItemTextA(info.window, 0xFFFF, text, sizeof text);
  info.text = text;
  info.caption = WindowText(info.window);
  info.style = GetWindowLongA(info.window, GWL_STYLE);
  info.exStyle = GetWindowLongA(info.window, GWL_EXSTYLE);
  return info;
}

void CloseMessageBox(HWND box) {
  HWND ok = GetDlgItem(box, IDOK);
  if (ok != nullptr) {
    PostMessageA(ok, BM_CLICK, 0, 0);
  } else {
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  }
}

std::vector<std::string> ListBoxItems(HWND listBox) {
  return Items(listBox, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
}

std::vector<std::string> ComboBoxItems(HWND comboBox) {
  return Items(comboBox, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

COLORREF ClientPixel(HWND window, int x, int y) {
  HDC dc = GetDC(window);
  COLORREF colour = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return colour;
}

COLORREF Pixels::At(int x, int y) const {
  return colours[static_cast<size_t>((y - rect.top) * (rect.right - rect.left) + (x - rect.left))];
}

Pixels ClientPixels(HWND window, const RECT& rect) {
  Pixels block{rect, {}};
  int width = rect.right - rect.left, height = rect.bottom - rect.top;
  HDC source = GetDC(window);
  HDC copy = CreateCompatibleDC(source);
  BITMAPINFO info = {};
  // Top-down, 32 bits: one DWORD per pixel, rows in reading order.
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(copy, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(copy, section);
  BitBlt(copy, 0, 0, width, height, source, rect.left, rect.top, SRCCOPY);
  GdiFlush();
  const DWORD* pixel = static_cast<const DWORD*>(bits);
  for (int i = 0; pixel != nullptr && i < width * height; ++i)
    block.colours.push_back(RGB((pixel[i] >> 16) & 0xFF, (pixel[i] >> 8) & 0xFF, pixel[i] & 0xFF));
  SelectObject(copy, old);
  DeleteObject(section);
  DeleteDC(copy);
  ReleaseDC(window, source);
  return block;
}

COLORREF ScreenPixel(int x, int y) {
  HDC dc = GetDC(nullptr);
  COLORREF colour = GetPixel(dc, x, y);
  ReleaseDC(nullptr, dc);
  return colour;
}

DWORD CloseAndWait(const Process& process, HWND window, DWORD timeoutMs) {
  PostMessageA(window, WM_CLOSE, 0, 0);
  return process.WaitExit(timeoutMs);
}

}  // namespace driver
