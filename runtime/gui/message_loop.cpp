// The message loop and its per-message step, which forwards the key and mouse
// input of controls to the main form: controls keep the system's procedures,
// so the copy is how their handlers get to run.
#include "gui/gui.h"

namespace tessaric {

namespace {

bool IsForwardedInput(UINT message) {
  return message == WM_KEYDOWN || message == WM_KEYUP ||
         (message >= WM_MOUSEMOVE && message <= WM_RBUTTONDBLCLK);
}

}  // namespace

// The copy is posted before the message is translated, so the handler runs
// ahead of the WM_CHAR that TranslateMessage posts for a typed character.
void DispatchOneMessage() {
  MSG& m = CurrentMessage;
  if (m.hwnd != MainFormWindow && IsForwardedInput(m.message)) {
    const ObjectRecord* control = FindObjectByWindow(m.hwnd);
    // Forwarded input carries the control's index in the high word of wParam.
    if (control != nullptr && control->ObjectIndex != 0)
      PostMessageA(MainFormWindow, m.message,
                   (static_cast<WPARAM>(control->ObjectIndex) << 16) | m.wParam, m.lParam);
  }
  TranslateMessage(&m);
  DispatchMessageA(&m);
}

int32_t RunMessageLoop() {
  while (GetMessageA(&CurrentMessage, nullptr, 0, 0) != 0) DispatchOneMessage();
  return static_cast<int32_t>(CurrentMessage.wParam);
}

// A handler that runs this may take the quit message that a closed form left
// for RunMessageLoop: it is posted again, with its code, and nothing more is
// handled here, so the program still ends once the handler returns.
void ProcessPendingMessages() {
  while (PeekMessageA(&CurrentMessage, nullptr, 0, 0, PM_REMOVE) != 0) {
    if (CurrentMessage.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(CurrentMessage.wParam));
      return;
    }
    DispatchOneMessage();
  }
}

// A handler that loops on DOEVENTS never returns to the loop that would see
// the quit message again, so the statement itself ends the program, with the
// quit code, once the pump met it. The pump stops at the quit message, so
// CurrentMessage holds it only then: a PeekMessageA that finds nothing leaves
// the last message dispatched there.
void DoEvents() {
  ProcessPendingMessages();
  if (CurrentMessage.message == WM_QUIT) ExitProcess(static_cast<UINT>(CurrentMessage.wParam));
}

}  // namespace tessaric
