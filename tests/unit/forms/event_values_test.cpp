// The values of events without Windows' numbers, from the event globals a
// handler runs with.
#include "forms_fixture.h"

namespace formsunit {
namespace {

struct EventCase {
  const char* name;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  int32_t x, y, button, key;
};

const EventCase kEvents[] = {
    {"left down", WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 40), 30, 40, 1, 0},
    {"left up", WM_LBUTTONUP, 0, MAKELPARAM(30, 40), 30, 40, 1, 0},
    {"left double click", WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(1, 2), 1, 2, 1, 0},
    {"right down", WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 6), 5, 6, 2, 0},
    {"right up with the left held", WM_RBUTTONUP, MK_LBUTTON, MAKELPARAM(5, 6), 5, 6, 2, 0},
    {"move with none held", WM_MOUSEMOVE, 0, MAKELPARAM(7, 8), 7, 8, 0, 0},
    {"move with the left held", WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(7, 8), 7, 8, 1, 0},
    {"move with both held", WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON | MK_SHIFT, MAKELPARAM(7, 8), 7, 8, 3, 0},
    // Left of or above a control's corner, while the button is held there.
    {"move beyond the corner", WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-3, -12), -3, -12, 1, 0},
    // A click on a control, told to the main form first.
    {"child click", WM_PARENTNOTIFY, MAKEWPARAM(WM_RBUTTONDOWN, 3), MAKELPARAM(100, 50), 100, 50, 2, 0},
    {"child created", WM_PARENTNOTIFY, MAKEWPARAM(WM_CREATE, 3), 12345, 0, 0, 0, 0},
    {"key down", WM_KEYDOWN, 'A', 0x001E0001, 0, 0, 0, 65},
    {"key up", WM_KEYUP, VK_F1, static_cast<LPARAM>(0xC03B0001), 0, 0, 0, 112},
    {"a command", WM_COMMAND, MAKEWPARAM(3, BN_CLICKED), 0x12345678, 0, 0, 0, 0},
    {"a paint", WM_PAINT, 0, 0, 0, 0, 0, 0},
};

class EventValues : public testing::TestWithParam<EventCase> {};

TEST_P(EventValues, ComeFromTheEvent) {
  const EventCase& c = GetParam();
  EventMessage = c.message;
  EventWParam = c.wParam;
  EventLParam = c.lParam;
  EXPECT_EQ(EventMouseX(), c.x);
  EXPECT_EQ(EventMouseY(), c.y);
  EXPECT_EQ(EventMouseButton(), c.button);
  EXPECT_EQ(EventKeyCode(), c.key);
}

INSTANTIATE_TEST_SUITE_P(Table, EventValues, testing::ValuesIn(kEvents), [](const testing::TestParamInfo<EventCase>& info) {
  std::string name = info.param.name;
  for (char& c : name)
    if (c == ' ') c = '_';
  return name;
});

}  // namespace
}  // namespace formsunit
