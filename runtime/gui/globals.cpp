#include "gui/gui.h"

namespace tessaric {

int32_t LastObjectIndex = -1;
HWND CurrentFormWindow = nullptr;
HWND MainFormWindow = nullptr;
HFONT DefaultFont = nullptr;
HICON AppIcon = nullptr;

// CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS; the double clicks are what make
// OnDoubleClick reachable for forms. RegisterFormClass fills in the rest.
WNDCLASSEXA WindowClassInfo = {
    sizeof(WNDCLASSEXA), 0x0B, nullptr, 0, 0, nullptr, nullptr, nullptr,
    reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), nullptr, nullptr, nullptr};

RECT WindowRect = {};
int32_t FrameOffsetX = 0;
int32_t FrameOffsetY = 0;
uint32_t ScratchBuffer[15] = {};

HWND EventWindow = nullptr;
UINT EventMessage = 0;
WPARAM EventWParam = 0;
LPARAM EventLParam = 0;
int32_t EventCode = 0;
HDC PaintDC = nullptr;

MSG CurrentMessage = {};

const char ButtonClass[] = "BUTTON";
const char ComboBoxClass[] = "COMBOBOX";
const char EditClass[] = "EDIT";
const char ListBoxClass[] = "LISTBOX";
const char RichEditClass[] = "RichEdit20a";
const char StaticClass[] = "STATIC";
const char StatusBarClass[] = "STATUSCLASSNAME";
const char RichEditLibrary[] = "RICHED20.DLL";
const char AppIconName[] = "AppIco";

}  // namespace tessaric
