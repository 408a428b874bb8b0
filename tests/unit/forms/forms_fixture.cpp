#include "forms_fixture.h"

namespace tessaric {
ObjectRecord* ObjectTable[formsunit::kTableRecords + 1] = {};
extern const int32_t ObjectTableRecordSlots = formsunit::kTableRecords;
const GuiGeneration* Generation = &kLatestGeneration;
}  // namespace tessaric

namespace formsunit {

ExtendedRecord Records[kTableRecords];
std::vector<Call> Calls;
void (*During)() = nullptr;

namespace {

int32_t Log(const char* handler) {
  Calls.push_back({handler, EventWindow, EventMessage, EventWParam, EventLParam, EventCode, PaintingWindow, PaintDC});
  if (During != nullptr) During();
  return 0;
}

}  // namespace

int32_t OnChangeLogged() { return Log("OnChange"); }
int32_t OnCommandLogged() { return Log("OnCommand"); }
int32_t OnPaintLogged() { return Log("OnPaint"); }
int32_t OnTimerLogged() { return Log("OnTimer"); }

void DrainMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
    if (message.message == WM_PAINT) ValidateRect(message.hwnd, nullptr);
}

bool PumpUntil(bool (*condition)(), DWORD timeoutMs) {
  DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > timeoutMs) return false;
    if (PeekMessageA(&CurrentMessage, nullptr, 0, 0, PM_REMOVE)) DispatchOneMessage();
    else MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

void FormsTest::SetUp() {
  InstanceHandle = GetModuleHandleA(nullptr);
  for (int i = 0; i < kTableRecords; ++i) {
    ObjectTable[i] = nullptr;
    Records[i] = kExtendedImage;
  }
  ObjectTable[kTableRecords] = nullptr;
  LastObjectIndex = -1;
  CurrentFormWindow = MainFormWindow = nullptr;
  CurrentObject = QueryObject = nullptr;
  EventCode = 0;
  PaintDC = nullptr;
  Calls.clear();
  During = nullptr;
  static bool registered = false;
  if (!registered) RegisterExtendedFormClass(&WindowClassInfo, AppIconName);
  registered = true;
  DrainMessages();
}

void FormsTest::TearDown() {
  for (ExtendedRecord& record : Records)
    if (record.WindowHandle != nullptr && IsWindow(record.WindowHandle)) DestroyWindow(record.WindowHandle);
  DrainMessages();
}

HWND FormsTest::Construct(int n, void (*constructor)()) {
  CurrentObject = &Records[n];
  constructor();
  return Records[n].WindowHandle;
}

}  // namespace formsunit
