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

// CreateStatusBar makes the bar on the form created last; a program's bar
// belongs to the form it is declared on (ParentWindow, by default that same
// form), which then keeps it along its bottom edge through every resize.
void CreateFormStatusBar() {
  ObjectRecord* bar = CurrentRecord();
  HWND form = UseDefaultParent(bar);
  HWND last = CurrentFormWindow;
  CurrentFormWindow = form;
  CreateStatusBar();
  CurrentFormWindow = last;
  if (ObjectRecord* owner = LookUpWindow(form)) owner->StatusBarWindow = bar->WindowHandle;
}

}  // namespace tessaric
