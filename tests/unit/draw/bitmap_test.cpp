// Off-screen bitmaps: the declared image, creation, and copying to a target.
#include <cstring>

#include "draw_fixture.h"
#include "gdi_spy.h"

TESSARIC_GUI(1, kLatestGeneration);

namespace drawtest {
namespace {

// The image is made at build time, so a program's bitmap record needs no code to start.
constexpr BitmapObject kDeclared = BitmapImage<64, 48, 16>();
static_assert(kDeclared.Header.biWidth == 64 && kDeclared.Header.biHeight == 48, "declared size");
static_assert(kDeclared.RasterOp == 0x00CC0020, "SRCCOPY");

TEST(BitmapImage, HoldsTheDeclarationAndNothingElse) {
  const BitmapObject image = BitmapImage<64, 48, 16>();
  // The record word by word: the header (biPlanes and biBitCount share a
  // word), then MemoryDC, BitmapHandle, Bits, SourceX, SourceY, the declared
  // width and height, RasterOp and the spare field.
  const uint32_t expected[19] = {40, 64, 48, 1 | 16 << 16, BI_RGB, 0, 0, 0, 0, 0,
                                 0,  0,  0,  0,           0,      64, 48, 0x00CC0020, 0};
  const auto* words = reinterpret_cast<const uint32_t*>(&image);
  for (int i = 0; i < 19; ++i) EXPECT_EQ(words[i], expected[i]) << "word " << i;
  EXPECT_EQ(&image.MemoryDC, static_cast<const void*>(words + 10));
  EXPECT_EQ(&image.RasterOp, static_cast<const void*>(words + 17));
}

using CreateBitmap = DrawTest;

TEST_F(CreateBitmap, FillsTheHeaderFromTheBitmapItMade) {
  for (BitmapObject bitmap : {BitmapImage<64, 64, 16>(), BitmapImage<30, 20, 32>(), BitmapImage<17, 5, 24>()}) {
    const BITMAPINFOHEADER declared = bitmap.Header;
    bitmap.Bits = reinterpret_cast<void*>(0xDEADBEEF);
    CreateBitmapObject(&bitmap);
    EXPECT_EQ(CurrentObject, &bitmap);
    ASSERT_NE(bitmap.MemoryDC, nullptr);
    ASSERT_NE(bitmap.BitmapHandle, nullptr);
    EXPECT_EQ(GetObjectType(bitmap.MemoryDC), static_cast<DWORD>(OBJ_MEMDC));
    EXPECT_EQ(GetCurrentObject(bitmap.MemoryDC, OBJ_BITMAP), bitmap.BitmapHandle);

    BITMAP made = {};
    ASSERT_EQ(GetObjectA(bitmap.BitmapHandle, sizeof made, &made), static_cast<int>(sizeof made));
    EXPECT_EQ(bitmap.Header.biWidth, made.bmWidth);
    EXPECT_EQ(bitmap.Header.biHeight, made.bmHeight);
    EXPECT_EQ(bitmap.Header.biPlanes, made.bmPlanes);
    EXPECT_EQ(bitmap.Header.biBitCount, made.bmBitsPixel);
    EXPECT_EQ(bitmap.Bits, made.bmBits);
    EXPECT_NE(bitmap.Bits, nullptr) << "a DIB section has bits of its own";
    // The DIB section lent its format: the declared one, not the empty memory DC's monochrome.
    EXPECT_EQ(made.bmWidth, declared.biWidth);
    EXPECT_EQ(made.bmHeight, declared.biHeight);
    EXPECT_EQ(made.bmBitsPixel, declared.biBitCount);
    EXPECT_EQ(bitmap.Header.biSize, 40u);
    EXPECT_EQ(bitmap.Header.biCompression, static_cast<DWORD>(BI_RGB));
  }
}

TEST_F(CreateBitmap, StartsBlackAndLeavesPaintDCAlone) {
  Canvas canvas = NewCanvas();
  CreateBitmapObject(&canvas);
  EXPECT_EQ(PaintDC, nullptr);
  ExpectPixels(canvas, [](int, int) { return kBlack; });
}

// A bitmap that cannot be made leaves a record that says so: no DC, no
// bitmap, no bits, the header as declared. Drawing on it, copying onto it
// and copying from it then do nothing.
TEST_F(CreateBitmap, AFailedCreationLeavesTheDeclarationAndDrawsNothing) {
  struct Declared {
    const char* what;
    BitmapObject image;
  };
  const Declared cases[] = {{"negative width", BitmapImage<-5, 5, 32>()},
                            {"100000 x 100000", BitmapImage<100000, 100000, 32>()},
                            {"1 GiB", BitmapImage<16384, 16384, 32>()}};
  Canvas target = NewCanvas();
  Prepare(&target, kWhite);
  for (const Declared& c : cases) {
    SCOPED_TRACE(c.what);
    BitmapObject bitmap = c.image;
    CreateBitmapObject(&bitmap);
    EXPECT_EQ(CurrentObject, &bitmap);
    EXPECT_EQ(bitmap.MemoryDC, nullptr);
    EXPECT_EQ(bitmap.BitmapHandle, nullptr);
    EXPECT_EQ(bitmap.Bits, nullptr);
    EXPECT_EQ(std::memcmp(&bitmap, &c.image, sizeof bitmap), 0) << "the record as declared";
    GdiSpy spy;
    ASSERT_TRUE(spy.installed());
    DrawCircle(&bitmap, 2, 2, 2, kBlack);
    FillCircle(&bitmap, 2, 2, 2, kBlack);
    DrawBox(&bitmap, 0, 0, 4, 4, kBlack);
    FloodFill(&bitmap, 1, 1, kBlack, kRed);
    CopyBitmap(&bitmap, 0, 0, &target);
    CopyBitmap(&target, 0, 0, &bitmap);
    bitmap.RasterOp = BLACKNESS;  // one that needs no source
    CopyBitmap(&target, 0, 0, &bitmap);
    EXPECT_EQ(spy.calls, 0);
    ExpectPixels(target, [](int, int) { return kWhite; });
  }
}

using CopyBitmapTest = DrawTest;

TEST_F(CopyBitmapTest, CoversExactlyTheBitmapsSize) {
  Canvas target = NewCanvas();
  Prepare(&target, kWhite);
  BitmapObject source = BitmapImage<16, 24, 32>();
  Prepare(&source, kGreen);
  CopyBitmap(&target, 10, 20, &source);
  EXPECT_EQ(CurrentObject, &target);
  EXPECT_EQ(PaintDC, target.MemoryDC);
  ExpectPixels(target, [](int x, int y) { return x >= 10 && x < 26 && y >= 20 && y < 44 ? kGreen : kWhite; });
}

TEST_F(CopyBitmapTest, UsesTheSourceCornerAndRasterOperation) {
  Canvas target = NewCanvas();
  Prepare(&target, kWhite);
  BitmapObject source = BitmapImage<16, 16, 32>();
  Prepare(&source, kBlack);
  // Red from x 4 on: a source corner at (4, 0) starts the copy there.
  HBRUSH red = ::CreateSolidBrush(kRed);
  RECT right = {4, 0, 16, 16};
  ::FillRect(source.MemoryDC, &right, red);
  ::DeleteObject(red);
  source.SourceX = 4;
  source.RasterOp = SRCINVERT;
  CopyBitmap(&target, 0, 0, &source);
  // White XOR red is cyan; only the 12 columns that the source holds from x 4 are certain.
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 12; ++x) ASSERT_EQ(Pixel(target, x, y), kCyan) << x << ", " << y;
  EXPECT_EQ(Pixel(target, 0, 16), kWhite);
}

TEST_F(CopyBitmapTest, OntoAFormOutsideOnPaintDoesNothing) {
  BitmapObject source = BitmapImage<8, 8, 32>();
  Prepare(&source, kGreen);
  ObjectRecord form = kObjectImage;
  GdiSpy spy;
  ASSERT_TRUE(spy.installed());
  CopyBitmap(&form, 0, 0, &source);
  EXPECT_EQ(spy.calls, 0);
  EXPECT_EQ(CurrentObject, &form);
  EXPECT_EQ(PaintDC, nullptr);
}

}  // namespace
}  // namespace drawtest
