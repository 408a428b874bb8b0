// A property write whose value acts on another object: the write still moves
// its own object's window, and the other keeps what the value did to it.
#include "forms_support.h"

namespace formstest {
namespace {

enum { kMoved = 1, kOther };

// A control's top left corner in its form's inside.
POINT PlaceInForm(HWND form, HWND control) {
  RECT r = {};
  GetWindowRect(control, &r);
  POINT corner = {r.left, r.top};
  ScreenToClient(form, &corner);
  return corner;
}

TEST(Order, TheValueIsMadeBeforeTheWriteActsOnItsObject) {
  Process process = Launch(FixturePath("order.exe"));
  ASSERT_NE(process.handle, nullptr);
  HWND form = StartShown(process, "Order");
  ASSERT_NE(form, nullptr);
  HWND moved = Control(form, kMoved), other = Control(form, kOther);
  ASSERT_NE(moved, nullptr);
  ASSERT_NE(other, nullptr);
  POINT m = PlaceInForm(form, moved), o = PlaceInForm(form, other);
  EXPECT_EQ(m.x, 150);
  EXPECT_EQ(m.y, 10);
  EXPECT_EQ(o.x, 10);
  EXPECT_EQ(o.y, 40);
  EXPECT_EQ(WindowText(other), "named");
  EXPECT_EQ(CloseAndWait(process, form), 0u);
}

}  // namespace
}  // namespace formstest
