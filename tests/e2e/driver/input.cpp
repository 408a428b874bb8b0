// Input delivered through the system, as a user at the display gives it, and
// reading a program's own records out of its memory.
#include "driver.h"

namespace driver {

namespace {

void Send(INPUT input) { SendInput(1, &input, sizeof input); }

// A mouse event at a point: absolute coordinates run from 0 to 65535 across the screen.
INPUT MouseInput(DWORD flags, POINT point) {
  int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  input.mi.dx = (point.x * 65536 + width / 2) / width;
  input.mi.dy = (point.y * 65536 + height / 2) / height;
  return input;
}

bool CursorAt(POINT point) {
  POINT now = {};
  GetCursorPos(&now);
  return now.x == point.x && now.y == point.y;
}

// The buttons' flags for down and up, left or right.
DWORD ButtonFlag(bool down, bool right) {
  if (right) return down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP;
  return down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
}

}  // namespace

bool BringToFront(HWND window, DWORD timeoutMs) {
  // Asked for from another process, the switch is sometimes refused while the
  // previous foreground program is still settling: ask again on every poll,
  // and after a while click the caption, as a user switching back would.
  DWORD start = GetTickCount();
  bool clicked = false;
  return WaitUntil(
      [&] {
        if (GetForegroundWindow() == window) return true;
        if (!clicked && GetTickCount() - start > timeoutMs / 2) {
          RECT rect = WindowRect(window);
          Click(POINT{(rect.left + rect.right) / 2, rect.top + GetSystemMetrics(SM_CYFRAME) + 4}, false);
          clicked = true;
        }
        SetForegroundWindow(window);
        return GetForegroundWindow() == window;
      },
      timeoutMs);
}

POINT ScreenPoint(HWND window, int x, int y) {
  POINT point = {x, y};
  ClientToScreen(window, &point);
  return point;
}

POINT ScreenCentre(HWND window) {
  RECT rect = WindowRect(window);
  return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

bool MoveMouse(POINT point) {
  Send(MouseInput(0, point));
  return WaitUntil([&] { return CursorAt(point); }, 2000);
}

// The button event carries its point, as a mouse's own events do. Under Wine
// every move made here reaches the program under the pointer a second time, as
// an X event that it turns into a move of its own whenever it gets to it; a
// button event without a point would go down or up wherever such a late copy
// of an earlier move had put the pointer. On Windows, where the pointer is
// already at the point, the event is the same as one without it.
void MouseButton(POINT point, bool down, bool right) { Send(MouseInput(ButtonFlag(down, right), point)); }

void Click(POINT point, bool right) {
  MoveMouse(point);
  MouseButton(point, true, right);
  MouseButton(point, false, right);
}

void DoubleClick(POINT point) {
  Click(point);
  Click(point);
}

void Drag(POINT from, POINT to) {
  MoveMouse(from);
  MouseButton(from, true);
  // Through a midpoint, so the target sees the pointer travel while held.
  MoveMouse(POINT{(from.x + to.x) / 2, (from.y + to.y) / 2});
  MoveMouse(to);
  MouseButton(to, false);
}

void KeyEvent(WORD virtualKey, bool down) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  Send(input);
}

void TypeKey(WORD virtualKey) {
  KeyEvent(virtualKey, true);
  KeyEvent(virtualKey, false);
}

LPARAM KeyLParam(WORD virtualKey, bool down) {
  LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC)) << 16;
  // Key up: previous state down and transition bits set.
  return down ? (1 | scan) : (1 | scan | 0xC0000000);
}

void PostKey(HWND window, WORD virtualKey) {
  PostMessageA(window, WM_KEYDOWN, virtualKey, KeyLParam(virtualKey, true));
  PostMessageA(window, WM_KEYUP, virtualKey, KeyLParam(virtualKey, false));
}

HWND FocusedWindow(const Process& process) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(process.threadId, &info)) return nullptr;
  return info.hwndFocus;
}

bool HoldsFocus(const Process& process, HWND window) {
  HWND focus = FocusedWindow(process);
  return focus != nullptr && (focus == window || IsChild(window, focus));
}

std::string ReadRemoteText(const Process& process, DWORD address) {
  std::string text;
  char c = 0;
  SIZE_T read = 0;
  while (ReadProcessMemory(process.handle, reinterpret_cast<LPCVOID>(address + text.size()), &c, 1, &read) &&
         read == 1 && c != 0)
    text += c;
  return text;
}

std::vector<DWORD> ReadRemoteWords(const Process& process, DWORD address, size_t count) {
  std::vector<DWORD> words(count);
  SIZE_T read = 0;
  if (!ReadProcessMemory(process.handle, reinterpret_cast<LPCVOID>(address), words.data(),
                         count * sizeof(DWORD), &read) ||
      read != count * sizeof(DWORD))
    words.clear();
  return words;
}

DWORD FindObjectRecord(const Process& process, HWND window) {
  // Programs have no relocations: the image sits at its preferred base.
  const DWORD base = 0x400000;
  std::vector<DWORD> dos = ReadRemoteWords(process, base, sizeof(IMAGE_DOS_HEADER) / 4);
  if (dos.empty()) return 0;
  DWORD headers = base + reinterpret_cast<const IMAGE_DOS_HEADER*>(dos.data())->e_lfanew;
  std::vector<DWORD> nt = ReadRemoteWords(process, headers, sizeof(IMAGE_NT_HEADERS32) / 4);
  if (nt.empty()) return 0;
  DWORD imageSize = reinterpret_cast<const IMAGE_NT_HEADERS32*>(nt.data())->OptionalHeader.SizeOfImage;
  const DWORD identifier = static_cast<DWORD>(GetDlgCtrlID(window));
  const DWORD handle = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(window));
  // Page by page, so one unreadable page does not hide the rest.
  std::vector<DWORD> image;
  for (DWORD page = base; page < base + imageSize; page += 4096) {
    std::vector<DWORD> words = ReadRemoteWords(process, page, 1024);
    words.resize(1024);
    image.insert(image.end(), words.begin(), words.end());
  }
  // ObjectIndex (field 10) is the identifier, WindowHandle (field 11) the window.
  for (size_t i = 10; i < image.size(); ++i)
    if (image[i] == handle && image[i - 1] == identifier && image[i - 9] != 0)
      return base + static_cast<DWORD>(i - 10) * 4;
  return 0;
}

}  // namespace driver
