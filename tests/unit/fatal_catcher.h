// Runs code that may end through FatalError on a thread of its own, so that the
// test program lives on. While it runs, the program's import entries for
// MessageBoxA and ExitProcess point at stand-ins: the box's text and caption
// are recorded, whatever the test has happen while the box is up (a handler
// that the box's modal loop would run) runs inside the stand-in, and the exit
// ends only that thread. A fault on the thread is seen by a first-chance
// handler, recorded, and ends the thread too.
#pragma once

#include <functional>
#include <string>

#include "import_entry.h"

namespace unittest {

struct FatalOutcome {
  bool boxShown = false;
  std::string text;
  std::string caption;
  bool exited = false;
  UINT exitCode = 0;
  DWORD fault = 0;  // the exception code of a fault on the thread; 0 when none
};

namespace fatal_detail {

inline FatalOutcome* Outcome = nullptr;
inline const std::function<void()>* WhileBoxIsUp = nullptr;
inline DWORD Thread = 0;

inline int WINAPI StandInMessageBox(HWND, LPCSTR text, LPCSTR caption, UINT) {
  Outcome->boxShown = true;
  Outcome->caption = caption;
  Outcome->text = text;
  if (*WhileBoxIsUp) (*WhileBoxIsUp)();
  return IDOK;
}

inline void WINAPI StandInExitProcess(UINT code) {
  Outcome->exited = true;
  Outcome->exitCode = code;
  ExitThread(0);
}

inline LONG CALLBACK OnFault(EXCEPTION_POINTERS* info) {
  DWORD code = info->ExceptionRecord->ExceptionCode;
  if (GetCurrentThreadId() != Thread || (code & 0xC0000000) != 0xC0000000) return EXCEPTION_CONTINUE_SEARCH;
  Outcome->fault = code;
  ExitThread(1);
}

inline DWORD WINAPI Run(void* body) {
  (*static_cast<const std::function<void()>*>(body))();
  return 0;
}

}  // namespace fatal_detail

inline FatalOutcome RunToFatal(const std::function<void()>& body, const std::function<void()>& whileBoxIsUp = {}) {
  using namespace fatal_detail;
  FatalOutcome outcome;
  Outcome = &outcome;
  WhileBoxIsUp = &whileBoxIsUp;
  void* realBox = reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "MessageBoxA"));
  void* realExit = reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "ExitProcess"));
  void** boxEntry = ImportEntryHolding("user32.dll", realBox);
  void** exitEntry = ImportEntryHolding("kernel32.dll", realExit);
  if (!PatchImportEntry(boxEntry, reinterpret_cast<void*>(StandInMessageBox)) ||
      !PatchImportEntry(exitEntry, reinterpret_cast<void*>(StandInExitProcess))) {
    PatchImportEntry(boxEntry, realBox);
    outcome.text = "(the import entries could not be replaced)";
    return outcome;
  }
  void* watch = AddVectoredExceptionHandler(1, OnFault);
  HANDLE thread = CreateThread(nullptr, 0, Run, const_cast<std::function<void()>*>(&body), CREATE_SUSPENDED, &Thread);
  ResumeThread(thread);
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  RemoveVectoredExceptionHandler(watch);
  PatchImportEntry(exitEntry, realExit);
  PatchImportEntry(boxEntry, realBox);
  Outcome = nullptr;
  return outcome;
}

}  // namespace unittest
