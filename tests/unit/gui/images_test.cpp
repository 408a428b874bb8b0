// Images and cursors: which module a resource number is looked up in, the
// bitmap-file property and the class cursor.
#include "driver.h"
#include "gui_fixture.h"

namespace guitest {
namespace {

using Images = GuiTest;

SIZE BitmapSize(HANDLE bitmap) {
  BITMAP info = {};
  GetObjectA(bitmap, sizeof info, &info);
  return SIZE{info.bmWidth, info.bmHeight};
}

TEST_F(Images, IconNumbersBelow32600AreTheSystems) {
  EXPECT_EQ(LoadIconResource(IDI_APPLICATION), LoadIconA(nullptr, IDI_APPLICATION));
  EXPECT_NE(LoadIconResource(IDI_APPLICATION), nullptr);
  // The program carries 32599 too, but below the bound only the system is asked.
  EXPECT_EQ(LoadIconResource(MAKEINTRESOURCEA(32599)), nullptr);
  HICON own = LoadIconResource(MAKEINTRESOURCEA(32600));
  EXPECT_NE(own, nullptr);
  EXPECT_EQ(own, LoadIconA(InstanceHandle, MAKEINTRESOURCEA(32600)));
}

TEST_F(Images, BitmapNumbersBelow32768AreTheSystems) {
  HBITMAP system = LoadBitmapResource(MAKEINTRESOURCEA(32767));
  HBITMAP reference = LoadBitmapA(nullptr, MAKEINTRESOURCEA(32767));
  ASSERT_NE(reference, nullptr);
  ASSERT_NE(system, nullptr);
  EXPECT_EQ(BitmapSize(system).cx, BitmapSize(reference).cx);
  EXPECT_NE(BitmapSize(system).cx, 24);
  HBITMAP own = LoadBitmapResource(MAKEINTRESOURCEA(32768));
  ASSERT_NE(own, nullptr);
  EXPECT_EQ(BitmapSize(own).cx, 24);
  EXPECT_EQ(BitmapSize(own).cy, 8);
}

TEST_F(Images, CursorByNumberIsTheSystemsAndByNameTheProgramsForTheWholeClass) {
  MakeForm(0);
  HWND label = Construct(1, CreateLabel);
  HWND other = Construct(2, CreateLabel);
  CurrentObject = &R(1);
  SetObjectCursor(IDC_HAND);
  EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrA(other, GCLP_HCURSOR)), LoadCursorA(nullptr, IDC_HAND));
  HWND list = Construct(3, CreateListBox);
  CurrentObject = &R(3);
  SetObjectCursor("probe");
  HCURSOR cursor = reinterpret_cast<HCURSOR>(GetClassLongPtrA(list, GCLP_HCURSOR));
  ICONINFO info = {};
  ASSERT_TRUE(GetIconInfo(cursor, &info));
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 3u);
  EXPECT_EQ(info.yHotspot, 5u);
  EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrA(label, GCLP_HCURSOR)), LoadCursorA(nullptr, IDC_HAND));
}

TEST_F(Images, BitmapFileStoresTheHandleAndRestylesTheLowByte) {
  struct Case {
    void (*constructor)();
    const ImageControl* control;
    UINT getMessage;
    uint32_t style;
  };
  const Case cases[] = {{CreatePicture, &PictureImage, STM_GETIMAGE, 0x5000010E},
                        {CreateButton, &ButtonImage, BM_GETIMAGE, 0x50010080}};
  for (const Case& c : cases) {
    SetUp();
    MakeForm(0);
    HWND control = Construct(1, c.constructor);
    CurrentObject = &R(1);
    SetBitmapFile(*c.control, driver::FixturePath("probe.bmp").c_str());
    EXPECT_EQ(R(1).Style, c.style);
    EXPECT_EQ(static_cast<uint32_t>(GetWindowLongA(control, GWL_STYLE)) & 0xFFu, c.style & 0xFFu);
    ASSERT_NE(R(1).BitmapName, nullptr);
    EXPECT_EQ(BitmapSize(const_cast<char*>(R(1).BitmapName)).cx, 24);
    EXPECT_EQ(SendMessageA(control, c.getMessage, IMAGE_BITMAP, 0), reinterpret_cast<LRESULT>(R(1).BitmapName));
    // A missing file leaves no bitmap but the style all the same.
    CurrentObject = &R(1);
    SetBitmapFile(*c.control, "no such file.bmp");
    EXPECT_EQ(R(1).BitmapName, nullptr);
    EXPECT_EQ(R(1).Style, c.style);
    TearDown();
  }
}

}  // namespace
}  // namespace guitest
