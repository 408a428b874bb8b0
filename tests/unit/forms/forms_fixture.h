// Shared set-up of the tests of the newer window forms: a table of extended
// records, as a program that uses OnChange has, the form class with the newer
// window procedure, and handlers that log what they saw.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/forms.h"

namespace formsunit {

using namespace tessaric;

constexpr int kTableRecords = 8;
extern ExtendedRecord Records[kTableRecords];

// One handler call as the handler saw it.
struct Call {
  std::string handler;
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  int32_t code;
  HWND paintingWindow;
  HDC paintDC;
};
extern std::vector<Call> Calls;
// Runs inside every logging handler, after the call is logged.
extern void (*During)();

int32_t OnChangeLogged();
int32_t OnCommandLogged();
int32_t OnPaintLogged();
int32_t OnTimerLogged();

// Removes every waiting message, WM_QUIT included; paints are validated.
void DrainMessages();
// Handles the waiting messages as the message loop does, until condition
// holds or timeoutMs passes; gives whether it held.
bool PumpUntil(bool (*condition)(), DWORD timeoutMs = 5000);

class FormsTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  HWND Construct(int n, void (*constructor)());
  ExtendedRecord& R(int n) { return Records[n]; }
};

}  // namespace formsunit
