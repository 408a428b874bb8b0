// The one window procedure of every form: it finds the record that a message
// concerns, publishes the message in the event globals and calls one of the
// record's handlers. Controls keep the system's procedures; what the program
// learns about them arrives here as notifications to their form and as the
// input copies that the message loop forwards.
#include "gui/gui.h"

#include <commctrl.h>
#include <stddef.h>

namespace tessaric {

namespace {

using HandlerSlot = EventHandler ObjectRecord::*;

struct Message {
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

struct InputRoute {
  UINT message;
  HandlerSlot slot;
};

constexpr InputRoute kInputRoutes[] = {
    {WM_MOUSEMOVE, &ObjectRecord::OnMouseMove},     {WM_LBUTTONDOWN, &ObjectRecord::OnMouseDown},
    {WM_RBUTTONDOWN, &ObjectRecord::OnMouseDown},   {WM_LBUTTONUP, &ObjectRecord::OnMouseUp},
    {WM_RBUTTONUP, &ObjectRecord::OnMouseUp},       {WM_KEYDOWN, &ObjectRecord::OnKeyDown},
    {WM_KEYUP, &ObjectRecord::OnKeyUp},             {WM_LBUTTONDBLCLK, &ObjectRecord::OnDoubleClick},
    {WM_RBUTTONDBLCLK, &ObjectRecord::OnDoubleClick}};

constexpr uint32_t kMenuIdentifierBase = 1000;
constexpr WPARAM kChildButtonDown = 512;
constexpr char kScrollBarClass[] = "ScrollBar";

LRESULT Default(const Message& m) { return DefWindowProcA(m.window, m.message, m.wParam, m.lParam); }

// The handler in slot, called the one way handlers are called; false when
// there is no object or no handler.
bool RunHandler(ObjectRecord* object, HandlerSlot slot, const Message& m) {
  if (object == nullptr || object->*slot == nullptr) return false;
  SetEventGlobals(object, m.message, m.wParam, m.lParam);
  (object->*slot)();
  return true;
}

// What no step took goes to the window's OnMessage first; a non-zero result
// means the handler dealt with it. The lookup leaves CurrentObject alone.
LRESULT Fallback(const Message& m) {
  ObjectRecord* object = LookUpWindow(m.window);
  if (object != nullptr && object->OnMessage != nullptr) {
    SetEventGlobals(object, m.message, m.wParam, m.lParam);
    if (object->OnMessage() != 0) return 0;
  }
  return Default(m);
}

// A step whose object or handler is missing.
LRESULT GiveUp(const Message& m) { return Generation->missingHandlerFallsBack ? Fallback(m) : Default(m); }

LRESULT RunOrGiveUp(ObjectRecord* object, HandlerSlot slot, const Message& m) {
  return RunHandler(object, slot, m) ? 0 : GiveUp(m);
}

// Red text needs an opaque background of the brush's colour, or the system's
// defaults win.
HBRUSH ColourControl(const Message& m) {
  const ObjectRecord* control = FindObjectByWindow(reinterpret_cast<HWND>(m.lParam));
  if (control == nullptr || (control->Style & WS_CHILD) == 0) return nullptr;
  HDC dc = reinterpret_cast<HDC>(m.wParam);
  if (control->TextColor != 0) SetTextColor(dc, control->TextColor);
  if (control->BackBrush == nullptr) return nullptr;
  LOGBRUSH* brush = ScratchAs<LOGBRUSH>();
  GetObjectA(control->BackBrush, sizeof(LOGBRUSH), brush);
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, brush->lbColor);
  return control->BackBrush;
}

const InputRoute* FindInputRoute(UINT message) {
  for (const InputRoute& route : kInputRoutes)
    if (route.message == message) return &route;
  return nullptr;
}

// Forwarded input names its control in the high word; input sent to a form
// directly has 0 there and so goes to the main form, object 0.
LRESULT RouteInput(const InputRoute& route, Message m) {
  uint32_t index = (m.wParam >> 16) & Generation->inputIndexMask;
  m.wParam &= 0xFFFF;
  RunHandler(ObjectAt(index), route.slot, m);
  return 0;
}

LRESULT Resize(const Message& m) {
  if (m.wParam != SIZE_RESTORED && m.wParam != SIZE_MAXIMIZED) return Fallback(m);
  ObjectRecord* form = FindObjectByWindow(m.window);
  if (form == nullptr) return GiveUp(m);
  *QuerySlot() = form;
  RefreshGeometry();
  // A status bar places itself along the new bottom edge.
  if (form->StatusBarWindow != nullptr) MoveWindow(form->StatusBarWindow, 0, 0, 0, 0, TRUE);
  return RunOrGiveUp(form, &ObjectRecord::OnResize, m);
}

// The DC of the OnPaint that runs; 0 when none does.
HDC RunningPaintDC = nullptr;

// A paint handler may make another form paint (showing it, processing pending
// messages): each paint ends with its own structure, and the outer handler
// draws into its own DC again afterwards. BeginPaint sends WM_ERASEBKGND,
// whose OnMessage may empty the slot, so the slot is read again after it.
LRESULT Paint(const Message& m) {
  ObjectRecord* form = FindObjectByWindow(m.window);
  if (form == nullptr || form->OnPaint == nullptr) return GiveUp(m);
  SetEventGlobals(form, m.message, m.wParam, m.lParam);
  PAINTSTRUCT paint;
  HDC outer = RunningPaintDC;
  PaintDC = RunningPaintDC = BeginPaint(m.window, &paint);
  if (EventHandler handler = form->OnPaint) handler();
  EndPaint(m.window, &paint);
  PaintDC = RunningPaintDC = outer;
  return 0;
}

LRESULT Show(const Message& m) {
  if (m.wParam == 0) return GiveUp(m);
  return RunOrGiveUp(FindObjectByWindow(m.window), &ObjectRecord::OnShow, m);
}

// Whether size bytes from address on can be read without a fault: committed,
// readable and no guard page, in every region they touch. Bytes that would run
// past the top of the address space never are.
bool Readable(uintptr_t address, uintptr_t size) {
  constexpr DWORD kReadable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                              PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
  uintptr_t end = address + size;
  if (end < address) return false;
  MEMORY_BASIC_INFORMATION region;
  for (; address < end;
       address = reinterpret_cast<uintptr_t>(region.BaseAddress) + region.RegionSize) {
    if (VirtualQuery(reinterpret_cast<const void*>(address), &region, sizeof region) == 0 ||
        region.State != MEM_COMMIT || (region.Protect & kReadable) == 0 || (region.Protect & PAGE_GUARD) != 0)
      return false;
  }
  return true;
}

// The structure at lParam, when one of the form's own controls sent it: its
// bytes can be read here, and the window it names is the form's child with
// the identifier in wParam. Any process can post such a message with any
// lParam, and a message box's loop dispatches it too, so the test is here.
const void* FromOwnControl(const Message& m, uintptr_t size, uintptr_t windowOffset) {
  if (!Readable(m.lParam, size)) return nullptr;
  HWND control = *reinterpret_cast<const HWND*>(m.lParam + windowOffset);
  if (control == nullptr || GetDlgItem(m.window, static_cast<int>(m.wParam)) != control) return nullptr;
  return reinterpret_cast<const void*>(m.lParam);
}

// The item's DC stays in PaintDC after the handler; it belongs to the system.
LRESULT DrawItem(const Message& m) {
  const auto* item = static_cast<const DRAWITEMSTRUCT*>(
      FromOwnControl(m, sizeof(DRAWITEMSTRUCT), offsetof(DRAWITEMSTRUCT, hwndItem)));
  if (item == nullptr || item->CtlType == ODT_MENU || m.wParam != item->CtlID) return Fallback(m);
  PaintDC = item->hDC;
  return RunHandler(FindObjectByWindow(item->hwndItem), &ObjectRecord::OnPaint, m) ? TRUE : GiveUp(m);
}

LRESULT Notify(const Message& m) {
  const auto* header = static_cast<const NMHDR*>(FromOwnControl(m, sizeof(NMHDR), offsetof(NMHDR, hwndFrom)));
  if (header == nullptr || m.wParam != header->idFrom || header->code != static_cast<UINT>(NM_CLICK))
    return Fallback(m);
  EventCode = Generation->clickEventCode;
  return RunOrGiveUp(ObjectAt(m.wParam & Generation->commandIndexMask), &ObjectRecord::OnCommand, m);
}

// Code 1 (a selection change in a list or combo box, among others) never
// reaches a handler. Menus and accelerators send code 0 without a control;
// their entries are records from index identifier - 1000, with OnCommand too.
LRESULT Command(const Message& m) {
  EventCode = HIWORD(m.wParam);
  if (EventCode == 1) return GiveUp(m);
  uint32_t index = LOWORD(m.wParam);
  if (EventCode == 0 && m.lParam == 0) index -= kMenuIdentifierBase;
  return RunOrGiveUp(ObjectAt(index & Generation->commandIndexMask), &ObjectRecord::OnCommand, m);
}

// Whether the window is a scroll bar among the form's own children. A window
// of this program's records was made by its one thread, so a message sent to
// it is a call and never waits for another thread.
bool OwnScrollBar(const Message& m) {
  HWND bar = reinterpret_cast<HWND>(m.lParam);
  if (LookUpWindow(bar) == nullptr) return false;
  for (HWND child = nullptr; (child = FindWindowExA(m.window, child, kScrollBarClass, nullptr)) != nullptr;)
    if (child == bar) return true;
  return false;
}

// A scroll bar control's thumb stays where the user released it.
LRESULT Scroll(const Message& m) {
  if (m.lParam == 0 || LOWORD(m.wParam) != SB_THUMBPOSITION || !OwnScrollBar(m)) return Fallback(m);
  SendMessageA(reinterpret_cast<HWND>(m.lParam), SBM_SETPOS, HIWORD(m.wParam), TRUE);
  return 0;
}

// A mouse button went down over a control: the main form hears of it first.
LRESULT ChildClick(const Message& m) {
  EventCode = 0;
  return RunOrGiveUp(ObjectAt(0), &ObjectRecord::OnMouseDown, m);
}

}  // namespace

int32_t HideClosedForm() {
  ShowWindow(EventWindow, SW_HIDE);
  return 0;
}

void SetEventGlobals(const ObjectRecord* object, UINT message, WPARAM wParam, LPARAM lParam) {
  EventWindow = object->WindowHandle;
  EventMessage = message;
  EventWParam = wParam;
  EventLParam = lParam;
}

LRESULT CALLBACK FormWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const Message m = {window, message, wParam, lParam};
  if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
    HBRUSH brush = ColourControl(m);
    return brush != nullptr ? reinterpret_cast<LRESULT>(brush) : Fallback(m);
  }
  if (const InputRoute* route = FindInputRoute(message)) return RouteInput(*route, m);
  switch (message) {
    case WM_DESTROY:
      // Any form's end ends the program.
      PostQuitMessage(0);
      return 0;
    case WM_SIZE:
      return Resize(m);
    case WM_PAINT:
      return Paint(m);
    case WM_CLOSE:
      // With OnClose the form stays; closing it is then up to the handler.
      return RunOrGiveUp(FindObjectByWindow(window), &ObjectRecord::OnClose, m);
    case WM_SHOWWINDOW:
      return Show(m);
    case WM_DRAWITEM:
      return DrawItem(m);
    case WM_NOTIFY:
      return Notify(m);
    case WM_COMMAND:
      return Command(m);
    case WM_HSCROLL:
    case WM_VSCROLL:
      return Scroll(m);
    case WM_PARENTNOTIFY:
      if (Generation->childClickRunsMainForm && (wParam & kChildButtonDown) != 0) return ChildClick(m);
      return Fallback(m);
    default:
      return Fallback(m);
  }
}

}  // namespace tessaric
