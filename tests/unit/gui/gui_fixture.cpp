#include "gui_fixture.h"

#include <map>

namespace tessaric {
ObjectRecord* ObjectTable[guitest::kTableRecords + 1 + guitest::kTrapSlots] = {};
extern const int32_t ObjectTableRecordSlots = guitest::kTableRecords;
const GuiGeneration* Generation = &kLatestGeneration;
}  // namespace tessaric

namespace guitest {

ObjectRecord Records[kTableRecords + 1];
ObjectRecord Trap;
std::vector<HandlerCall> Calls;
int32_t OnMessageResult = 0;
std::function<int32_t()> Probe;

namespace {

int32_t Log(const char* slot) {
  Calls.push_back({slot, EventWindow, EventMessage, EventWParam, EventLParam, EventCode, PaintDC,
                   CurrentObject, Probe ? Probe() : 0});
  return std::string(slot) == "OnMessage" ? OnMessageResult : 0;
}

#define LOGGING_HANDLER(slot) \
  int32_t slot() { return Log(#slot); }
LOGGING_HANDLER(OnCommand)
LOGGING_HANDLER(OnClose)
LOGGING_HANDLER(OnKeyDown)
LOGGING_HANDLER(OnKeyUp)
LOGGING_HANDLER(OnDoubleClick)
LOGGING_HANDLER(OnMouseDown)
LOGGING_HANDLER(OnMouseUp)
LOGGING_HANDLER(OnPaint)
LOGGING_HANDLER(OnResize)
LOGGING_HANDLER(OnShow)
LOGGING_HANDLER(OnMessage)
LOGGING_HANDLER(OnMouseMove)
#undef LOGGING_HANDLER

struct SlotEntry {
  const char* name;
  EventHandler ObjectRecord::*slot;
  EventHandler handler;
};
const SlotEntry kSlots[] = {
    {"OnCommand", &ObjectRecord::OnCommand, OnCommand},
    {"OnClose", &ObjectRecord::OnClose, OnClose},
    {"OnKeyDown", &ObjectRecord::OnKeyDown, OnKeyDown},
    {"OnKeyUp", &ObjectRecord::OnKeyUp, OnKeyUp},
    {"OnDoubleClick", &ObjectRecord::OnDoubleClick, OnDoubleClick},
    {"OnMouseDown", &ObjectRecord::OnMouseDown, OnMouseDown},
    {"OnMouseUp", &ObjectRecord::OnMouseUp, OnMouseUp},
    {"OnPaint", &ObjectRecord::OnPaint, OnPaint},
    {"OnResize", &ObjectRecord::OnResize, OnResize},
    {"OnShow", &ObjectRecord::OnShow, OnShow},
    {"OnMessage", &ObjectRecord::OnMessage, OnMessage},
    {"OnMouseMove", &ObjectRecord::OnMouseMove, OnMouseMove},
};

MessageSpy* ActiveSpy = nullptr;

}  // namespace

void LogEverySlot(ObjectRecord& record) {
  for (const SlotEntry& entry : kSlots) record.*entry.slot = entry.handler;
}

EventHandler LoggingHandler(const std::string& slot) {
  for (const SlotEntry& entry : kSlots)
    if (slot == entry.name) return entry.handler;
  ADD_FAILURE() << "no slot " << slot;
  return nullptr;
}

std::vector<std::string> SlotsCalled() {
  std::vector<std::string> slots;
  for (const HandlerCall& call : Calls) slots.push_back(call.slot);
  return slots;
}

std::vector<HandlerCall> CallsOf(std::initializer_list<const char*> slots) {
  std::vector<HandlerCall> kept;
  for (const HandlerCall& call : Calls)
    for (const char* slot : slots)
      if (call.slot == slot) kept.push_back(call);
  return kept;
}

MessageSpy::MessageSpy(HWND window, std::vector<UINT> watched)
    : window_(window), watched_(std::move(watched)) {
  ActiveSpy = this;
  original_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Procedure)));
}

MessageSpy::~MessageSpy() {
  SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
  ActiveSpy = nullptr;
}

LRESULT CALLBACK MessageSpy::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MessageSpy* spy = ActiveSpy;
  for (UINT watched : spy->watched_) {
    if (watched != message) continue;
    spy->seen.push_back({message, wParam, lParam});
    if (message == WM_WINDOWPOSCHANGING) spy->positions.push_back(*reinterpret_cast<WINDOWPOS*>(lParam));
  }
  return CallWindowProcA(spy->original_, window, message, wParam, lParam);
}

void ExpectSeen(const std::vector<Seen>& seen, const Seen* expected, const char* file, int line) {
  size_t i = 0;
  for (; expected[i].message != 0; ++i) {
    if (i >= seen.size()) {
      ADD_FAILURE_AT(file, line) << "message " << i << " (" << expected[i].message << ") never came";
      return;
    }
    bool same = seen[i].message == expected[i].message &&
                (expected[i].wParam == kAny || seen[i].wParam == expected[i].wParam) &&
                (static_cast<uintptr_t>(expected[i].lParam) == kAny || seen[i].lParam == expected[i].lParam);
    if (!same)
      ADD_FAILURE_AT(file, line) << "message " << i << ": saw " << seen[i].message << " (" << seen[i].wParam
                                 << ", " << seen[i].lParam << "), expected " << expected[i].message << " ("
                                 << expected[i].wParam << ", " << expected[i].lParam << ")";
  }
  if (i < seen.size()) ADD_FAILURE_AT(file, line) << seen.size() - i << " more messages than expected";
}

namespace {
FaultWatch* ActiveWatch = nullptr;
}  // namespace

FaultWatch::FaultWatch() : thread_(GetCurrentThreadId()) {
  ActiveWatch = this;
  handle_ = AddVectoredExceptionHandler(1, Handler);
}

FaultWatch::~FaultWatch() {
  RemoveVectoredExceptionHandler(handle_);
  ActiveWatch = nullptr;
}

LONG CALLBACK FaultWatch::Handler(EXCEPTION_POINTERS* info) {
  DWORD code = info->ExceptionRecord->ExceptionCode;
  if (ActiveWatch != nullptr && GetCurrentThreadId() == ActiveWatch->thread_ && (code & 0xC0000000) == 0xC0000000)
    ActiveWatch->faults.push_back(code);
  return EXCEPTION_CONTINUE_SEARCH;
}

void DrainMessages() {
  MSG message;
  // WM_PAINT stays in the queue until the window is validated.
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
    if (message.message == WM_PAINT) ValidateRect(message.hwnd, nullptr);
}

void GuiTest::SetUp() {
  InstanceHandle = GetModuleHandleA(nullptr);
  Generation = &kLatestGeneration;
  for (int i = 0; i <= kTableRecords; ++i) {
    ObjectTable[i] = nullptr;
    Records[i] = kObjectImage;
  }
  Trap = kObjectImage;
  LogEverySlot(Trap);
  for (int i = 1; i <= kTrapSlots; ++i) ObjectTable[kTableRecords + i] = &Trap;
  LastObjectIndex = -1;
  CurrentFormWindow = MainFormWindow = nullptr;
  CurrentObject = QueryObject = nullptr;
  EventCode = 0;
  PaintDC = nullptr;
  Calls.clear();
  OnMessageResult = 0;
  Probe = nullptr;
  static bool registered = false;
  if (!registered) RegisterFormClass(&WindowClassInfo, AppIconName);
  registered = true;
  DrainMessages();
}

void GuiTest::StartWith(const GuiGeneration* generation) {
  SetUp();
  Generation = generation;
}

const char* GenerationName(const GuiGeneration* generation) {
  if (generation == &kLatestGeneration) return "latest";
  if (generation == &kMiddleGeneration) return "middle";
  return generation == &kEarliestGeneration ? "earliest" : "another";
}

void GuiTest::TearDown() {
  for (ObjectRecord& record : Records)
    if (record.WindowHandle != nullptr && IsWindow(record.WindowHandle)) DestroyWindow(record.WindowHandle);
  DrainMessages();
}

void GuiTest::MakeObjects() {
  form = MakeForm(0);
  label = Construct(1, CreateLabel);
  edit = Construct(2, CreateEdit);
  button = Construct(3, CreateButton);
  for (int i = 0; i < 4; ++i) LogEverySlot(R(i));
  Calls.clear();
}

HWND GuiTest::Construct(int n, void (*constructor)()) {
  CurrentObject = &Records[n];
  constructor();
  return Records[n].WindowHandle;
}

}  // namespace guitest
