// picshow: the bitmap file on drive D: in a picture and on a button face, or,
// without it, both blank.
#include <cstring>

#include "sample_window.h"

namespace drawtest {
namespace {

using driver::Pixels;

// The file's pixels, read from its bytes: 24 bits, rows from the bottom up.
class BitmapFile {
 public:
  explicit BitmapFile(std::string bytes) : bytes_(std::move(bytes)) {}
  bool Valid() const { return bytes_.size() > 54 && bytes_.compare(0, 2, "BM") == 0 && Word(28) == 24; }
  int Width() const { return static_cast<int>(Long(18)); }
  int Height() const { return static_cast<int>(Long(22)); }
  COLORREF At(int x, int y) const {
    size_t row = (static_cast<size_t>(Width()) * 3 + 3) & ~size_t{3};
    size_t at = Long(10) + row * static_cast<size_t>(Height() - 1 - y) + 3 * static_cast<size_t>(x);
    auto byte = [&](size_t i) { return static_cast<BYTE>(bytes_[at + i]); };
    return RGB(byte(2), byte(1), byte(0));
  }

 private:
  DWORD Long(size_t at) const {
    DWORD value = 0;
    std::memcpy(&value, bytes_.data() + at, 4);
    return value;
  }
  WORD Word(size_t at) const {
    WORD value = 0;
    std::memcpy(&value, bytes_.data() + at, 2);
    return value;
  }
  std::string bytes_;
};

constexpr int kPictureId = 1;  // object indices: the form is 0
constexpr int kButtonId = 2;

class Picshow : public ::testing::Test {
 protected:
  void TearDown() override { driver::UnmapDrive('D'); }

  // Drive D: as a fresh folder, with the sample's bitmap in vel\ when withFile.
  static bool MapDriveD(bool withFile) {
    std::string folder = driver::FreshDir("drive_d");
    CreateDirectoryA((folder + "\\vel").c_str(), nullptr);
    if (withFile)
      driver::WriteFileBytes(folder + "\\vel\\tessaric.bmp", driver::ReadFileBytes(SourceBitmap()));
    return driver::MapDrive('D', folder);
  }
  static std::string SourceBitmap() { return driver::SourcePath("samples/picshow/drive_d/vel/tessaric.bmp"); }

  struct Controls {
    HWND picture = nullptr;
    HWND button = nullptr;
  };

  // What holds with the file and without: the form's place, size and
  // caption, the two controls where they belong and their styles.
  static void ExpectForm(HWND form, Controls* controls) {
    ASSERT_NE(form, nullptr);
    RECT outer = driver::WindowRect(form);
    EXPECT_EQ(outer.left, 80);
    EXPECT_EQ(outer.top, 80);
    EXPECT_EQ(outer.right - outer.left, 200);
    EXPECT_EQ(outer.bottom - outer.top, 320);
    EXPECT_EQ(driver::WindowText(form), "picshow");
    controls->picture = GetDlgItem(form, kPictureId);
    controls->button = GetDlgItem(form, kButtonId);
    ASSERT_NE(controls->picture, nullptr);
    ASSERT_NE(controls->button, nullptr);
    EXPECT_EQ(driver::ClassName(controls->picture), "Static");
    EXPECT_EQ(driver::ClassName(controls->button), "Button");
    EXPECT_EQ(driver::WindowText(controls->button), "");
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(controls->picture, GWL_STYLE)), 0x5000010Eu);
    DWORD style = static_cast<DWORD>(GetWindowLongA(controls->button, GWL_STYLE));
    EXPECT_EQ(style & BS_BITMAP, static_cast<DWORD>(BS_BITMAP));
    EXPECT_EQ(style & BS_ICON, 0u);
    EXPECT_EQ(style & 0xFFFF0000u, 0x50010000u) << "a visible child push button";
    // The picture at (10, 10) of the form, the button at (100, 10), 80 by 80.
    POINT pictureAt = {0, 0}, buttonAt = {0, 0};
    MapWindowPoints(controls->picture, form, &pictureAt, 1);
    MapWindowPoints(controls->button, form, &buttonAt, 1);
    EXPECT_EQ(pictureAt.x, 10);
    EXPECT_EQ(pictureAt.y, 10);
    EXPECT_EQ(buttonAt.x, 100);
    EXPECT_EQ(buttonAt.y, 10);
    RECT buttonRect = driver::WindowRect(controls->button);
    EXPECT_EQ(buttonRect.right - buttonRect.left, 80);
    EXPECT_EQ(buttonRect.bottom - buttonRect.top, 80);
  }

  // A control's client area in the form's client coordinates: the display
  // is read through the form, which shows its controls.
  static RECT AreaOf(HWND form, HWND control) {
    RECT area = {};
    GetClientRect(control, &area);
    MapWindowPoints(control, form, reinterpret_cast<POINT*>(&area), 2);
    return area;
  }

  // Where the picture sits on a control's face, from the face's corner: the
  // offset at which every pixel matches, or (-1, -1).
  static POINT FindPicture(const Pixels& face, const BitmapFile& file) {
    const RECT& area = face.rect;
    for (int dy = 0; dy <= area.bottom - area.top - file.Height(); ++dy)
      for (int dx = 0; dx <= area.right - area.left - file.Width(); ++dx) {
        bool all = true;
        for (int y = 0; all && y < file.Height(); ++y)
          for (int x = 0; all && x < file.Width(); ++x)
            all = face.At(area.left + dx + x, area.top + dy + y) == file.At(x, y);
        if (all) return POINT{dx, dy};
      }
    return POINT{-1, -1};
  }
};

TEST_F(Picshow, ShowsTheFileInThePictureAndOnTheButton) {
  ASSERT_TRUE(MapDriveD(true));
  BitmapFile file(driver::ReadFileBytes(SourceBitmap()));
  ASSERT_TRUE(file.Valid());
  SampleWindow sample("picshow", "Tessaric3575");
  Controls controls;
  ASSERT_NO_FATAL_FAILURE(ExpectForm(sample.form, &controls));
  HWND picture = controls.picture, button = controls.button;
  EXPECT_NE(SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
  EXPECT_NE(SendMessageA(button, BM_GETIMAGE, IMAGE_BITMAP, 0), 0);

  // A static control shows its bitmap from its top left corner.
  RECT area = AreaOf(sample.form, picture);
  auto filePixel = [&](int x, int y) { return file.At(x - area.left, y - area.top); };
  RECT shownArea = {area.left, area.top, area.left + file.Width(), area.top + file.Height()};
  EXPECT_PIXELS(WaitForPixels(sample.form, shownArea, filePixel), filePixel);
  // A button centres it on its face.
  RECT face = AreaOf(sample.form, button);
  POINT at = {-1, -1};
  driver::WaitUntil([&] { return (at = FindPicture(sample.Read(face), file)).x >= 0; }, 5000);
  EXPECT_GE(at.x, 0) << "the button face does not show the file";
  EXPECT_NEAR(at.x, (face.right - face.left - file.Width()) / 2, 2);
  EXPECT_NEAR(at.y, (face.bottom - face.top - file.Height()) / 2, 2);
  EXPECT_EQ(sample.Close(), 0u);
}

// Without the file, or without drive D: at all, both controls stay blank and
// the program runs as ever.
TEST_F(Picshow, WithoutTheFileBothStayBlank) {
  for (bool driveD : {true, false}) {
    SCOPED_TRACE(driveD ? "drive D: without the file" : "no drive D:");
    if (driveD) {
      ASSERT_TRUE(MapDriveD(false));
    } else {
      driver::UnmapDrive('D');
      ASSERT_FALSE(driver::FileExists("d:\\vel"));
    }
    SampleWindow sample("picshow", "Tessaric3575");
    Controls controls;
    ASSERT_NO_FATAL_FAILURE(ExpectForm(sample.form, &controls));
    HWND picture = controls.picture, button = controls.button;
    EXPECT_EQ(SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    EXPECT_EQ(SendMessageA(button, BM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    // The form's background where the picture would be, a plain face inside the button's edges.
    auto background = [](int, int) { return FormBackground(); };
    EXPECT_PIXELS(WaitForPixels(sample.form, RECT{10, 10, 90, 90}, background), background);
    RECT face = AreaOf(sample.form, button);
    InflateRect(&face, -4, -4);
    auto plain = [](int, int) { return GetSysColor(COLOR_BTNFACE); };
    EXPECT_PIXELS(WaitForPixels(sample.form, face, plain), plain);
    EXPECT_TRUE(sample.process.Running());
    EXPECT_EQ(sample.Close(), 0u);
  }
}

}  // namespace
}  // namespace drawtest
