// Shared set-up of the GUI library tests: a clean object table before every
// test, records that tests turn into real windows, handlers that log what they
// saw, and a spy that records the messages a control receives.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "gui/gui.h"

namespace guitest {

using namespace tessaric;

// The table holds this many records; Records has one more, to overflow it.
constexpr int kTableRecords = 8;
extern ObjectRecord Records[kTableRecords + 1];
// Past the table's null end slot lie this many slots that point at a trap
// record, so that reading beyond the table shows as a handler call.
constexpr int kTrapSlots = 300;
extern ObjectRecord Trap;

// One handler call as the handler saw it.
struct HandlerCall {
  std::string slot;
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  int32_t code;
  HDC paintDC;
  void* current;
  int32_t probe;  // whatever the test's Probe returned at that moment
};
extern std::vector<HandlerCall> Calls;
extern int32_t OnMessageResult;
extern std::function<int32_t()> Probe;

// Installs the logging handler in every slot of the record.
void LogEverySlot(ObjectRecord& record);
// The slot's logging handler, by slot name ("OnCommand" ... "OnMouseMove").
EventHandler LoggingHandler(const std::string& slot);
std::vector<std::string> SlotsCalled();
// The calls of the given slots, in order.
std::vector<HandlerCall> CallsOf(std::initializer_list<const char*> slots);

// A message as a spy saw it. Tables of expected messages end with message 0.
struct Seen {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

// Records the watched messages that one window receives.
class MessageSpy {
 public:
  MessageSpy(HWND window, std::vector<UINT> watched);
  ~MessageSpy();
  std::vector<Seen> seen;
  std::vector<WINDOWPOS> positions;  // for WM_WINDOWPOSCHANGING

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HWND window_;
  WNDPROC original_;
  std::vector<UINT> watched_;
};

// Compares what a spy saw with a zero-terminated table; wParam or lParam of
// kAny in the table match anything.
constexpr uintptr_t kAny = 0xA5A5A5A5;
void ExpectSeen(const std::vector<Seen>& seen, const Seen* expected, const char* file, int line);
#define EXPECT_SEEN(spy, table) ::guitest::ExpectSeen((spy).seen, (table), __FILE__, __LINE__)

class GuiTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts the test afresh with the program carrying the given generation.
  void StartWith(const GuiGeneration* generation);
  // Makes Records[n] the current object and constructs it.
  HWND Construct(int n, void (*constructor)());
  HWND MakeForm(int n) { return Construct(n, CreateForm); }
  ObjectRecord& R(int n) { return Records[n]; }
  // A form (0) with a label (1), an edit (2) and a button (3), every slot logging.
  void MakeObjects();
  HWND form = nullptr, label = nullptr, edit = nullptr, button = nullptr;
};

// "latest", "middle" or "earliest", for tracing table rows.
const char* GenerationName(const GuiGeneration* generation);

// A test's expected outcome for each generation, written out by the test.
template <typename T>
struct GenerationCase {
  const GuiGeneration* generation;
  T expected;
};
template <typename T>
std::vector<GenerationCase<T>> ByGeneration(T latest, T middle, T earliest) {
  return {{&kLatestGeneration, latest}, {&kMiddleGeneration, middle}, {&kEarliestGeneration, earliest}};
}

// Sees, first chance, the faults on this thread while it lives: under Wine a
// fault inside a window procedure or a handler is swallowed and the call
// simply returns, where Windows ends the program.
class FaultWatch {
 public:
  FaultWatch();
  ~FaultWatch();
  FaultWatch(const FaultWatch&) = delete;
  std::vector<DWORD> faults;  // exception codes

 private:
  static LONG CALLBACK Handler(EXCEPTION_POINTERS* info);
  void* handle_;
  DWORD thread_;
};

// Removes every waiting message, WM_QUIT included.
void DrainMessages();

}  // namespace guitest
