// The status bar comes from the common-controls library, which only programs
// with one import.
#include "gui/gui.h"

#include <commctrl.h>

namespace tessaric {

void CreateStatusBar() {
  InitCommonControls();
  ObjectRecord* bar = CurrentRecord();
  bar->ClassName = StatusBarClass;
  bar->Style = Generation->statusBarStyle;
  UseDefaultParent(bar);
  // Unlike other objects, a status bar takes a new slot at every construction.
  RegisterObject(bar);
  // Always a child of the form created last, whatever ParentWindow says; no font.
  bar->WindowHandle = CreateStatusWindowA(static_cast<LONG>(bar->Style), nullptr, CurrentFormWindow,
                                          static_cast<UINT>(bar->ObjectIndex));
}

}  // namespace tessaric
