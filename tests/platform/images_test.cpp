// Pictures: PNG decoding from buffers and resources, one object per id in the
// container, null pictures that draw nothing, and how image buttons layer
// their normal and pressed pictures.
#include <gtest/gtest.h>

#include <memory>

#include "platform/ui/toolkit.h"
#include "tests/platform/test_windows.h"
#include "tests/support/headless_shell_test.h"

TEST(ImagingHelperTest, DecodesPlainAndInterlacedPngs) {
  ImagingHelper image;
  EXPECT_TRUE(image.IsNull());
  const auto solid = SolidPng(3, 2, 0xFF336699u);
  ASSERT_TRUE(image.LoadImageFromBuffer(solid.data(), solid.size()));
  EXPECT_EQ(image.GetImageWidth(), 3);
  EXPECT_EQ(image.GetImageHeight(), 2);
  EXPECT_EQ(image.GetPixel(0, 0), 0xFF336699u);
  EXPECT_EQ(image.GetPixel(2, 1), 0xFF336699u);
  EXPECT_EQ(image.GetPixel(3, 0), 0u) << "outside the picture";
  EXPECT_EQ(image.GetPixel(-1, 0), 0u);

  // Half transparent: stored premultiplied, read back straight.
  const auto half = SolidPng(4, 4, 0x80FF0000u);
  ASSERT_TRUE(image.LoadImageFromBuffer(half.data(), half.size()));
  EXPECT_EQ(image.GetPixels()[0], 0x80800000u);
  EXPECT_EQ(image.GetPixel(1, 1) >> 24, 0x80u);
  EXPECT_NEAR(static_cast<int>((image.GetPixel(1, 1) >> 16) & 0xFF), 0xFF, 2);

  const std::uint32_t quadrants[4] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0x00000000u};
  for (int size : {1, 2, 7, 9, 33}) {
    SCOPED_TRACE(testing::Message() << "interlaced " << size << "x" << size + 3);
    const auto png = InterlacedQuadrantPng(size, size + 3, quadrants);
    ASSERT_GT(png.size(), 8u);
    ASSERT_EQ(png[28], 1) << "the test picture itself is interlaced (IHDR byte)";
    ImagingHelper interlaced;
    ASSERT_TRUE(interlaced.LoadImageFromBuffer(png.data(), png.size()));
    const int w = size, h = size + 3;
    EXPECT_EQ(interlaced.GetImageWidth(), w);
    EXPECT_EQ(interlaced.GetImageHeight(), h);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const std::uint32_t want = quadrants[(y >= h / 2 ? 2 : 0) + (x >= w / 2 ? 1 : 0)];
        ASSERT_EQ(interlaced.GetPixel(x, y), want) << "pixel " << x << "," << y;
      }
    }
  }
}

TEST(ImagingHelperTest, BadBytesGiveANullPictureAndForgetTheOldOne) {
  const auto good = SolidPng(5, 5, 0xFF00FF00u);
  std::vector<std::uint8_t> truncated(good.begin(), good.begin() + good.size() / 2);
  std::vector<std::uint8_t> corrupt = good;
  for (std::size_t i = 40; i < corrupt.size() && i < 60; ++i) corrupt[i] ^= 0x5A;
  const std::uint8_t text[] = "not a png at all";
  struct Case {
    int line;
    const void* data;
    std::size_t size;
  } cases[] = {
      {__LINE__, nullptr, 0},
      {__LINE__, good.data(), 0},
      {__LINE__, good.data(), 7},
      {__LINE__, text, sizeof text},
      {__LINE__, truncated.data(), truncated.size()},
      {__LINE__, corrupt.data(), corrupt.size()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case at line " << c.line);
    ImagingHelper image;
    ASSERT_TRUE(image.LoadImageFromBuffer(good.data(), good.size()));
    EXPECT_FALSE(image.LoadImageFromBuffer(c.data, c.size));
    EXPECT_TRUE(image.IsNull());
    EXPECT_EQ(image.GetImageWidth(), 0);
  }
}

TEST(ImagingHelperTest, LoadsFromTheModulesResourcesOrGivesNull) {
  ImagingHelper swatch;
  EXPECT_TRUE(swatch.LoadImageFromRes(MzGetInstanceHandle(), RT_RCDATA, MAKEINTRESOURCEW(102)));
  EXPECT_FALSE(swatch.IsNull());
  ImagingHelper icon;
  EXPECT_TRUE(icon.LoadImageFromRes(GetMzResModuleHandle(), RT_RCDATA, MAKEINTRESOURCEW(188)));
  EXPECT_FALSE(icon.IsNull());
  ImagingHelper missing;
  EXPECT_FALSE(missing.LoadImageFromRes(MzGetInstanceHandle(), RT_RCDATA, MAKEINTRESOURCEW(122)));
  EXPECT_TRUE(missing.IsNull());
  EXPECT_FALSE(missing.LoadImageFromRes(MzGetInstanceHandle(), MAKEINTRESOURCEW(3),
                                        MAKEINTRESOURCEW(102)));
  // Base-class pointer: the virtual table reaches the same loading.
  std::unique_ptr<ImagingHelper> owned(new ImagingHelper);
  EXPECT_TRUE(owned->LoadImageFromRes(MzGetInstanceHandle(), RT_RCDATA, MAKEINTRESOURCEW(170),
                                      true, true, true));
}

TEST(ImageContainerTest, HandsOutOneObjectPerIdAndNullForMissingOnes) {
  ImageContainer cache;
  HINSTANCE module = MzGetInstanceHandle();
  ImagingHelper* a = cache.LoadImageW(module, 102, true);
  ImagingHelper* b = cache.LoadImageW(module, 165, true);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_NE(a, b);
  for (int i = 0; i < 65; ++i) EXPECT_EQ(cache.LoadImageW(module, 165, true), b);
  EXPECT_EQ(cache.LoadImageW(module, 102), a);
  EXPECT_EQ(cache.LoadImageW(module, 122), nullptr);
  EXPECT_EQ(cache.LoadImageW(module, 122), nullptr);
  EXPECT_EQ(cache.LoadImageW(GetMzResModuleHandle(), 102), nullptr)
      << "the same id in another module is another picture";
  EXPECT_EQ(cache.GetImageCount(), 4u) << "missing ones are remembered, not retried";
}

namespace {
class ImageButtons : public HeadlessShellTest {};
}  // namespace

TEST_F(ImageButtons, PressedPictureGoesOverOrUnderAndNullDrawsNothing) {
  const auto red_png = SolidPng(40, 40, 0xFFFF0000u);
  const auto blue_png = SolidPng(60, 60, 0xFF0000FFu);
  ImagingHelper red, blue;
  ASSERT_TRUE(red.LoadImageFromBuffer(red_png.data(), red_png.size()));
  ASSERT_TRUE(blue.LoadImageFromBuffer(blue_png.data(), blue_png.size()));
  RecordingWnd wnd;
  wnd.CreateOverWorkArea();
  UiButton_Image button;
  button.SetBounds(100, 100, 100, 100);  // screen (100, 135) .. (199, 234), centre (150, 185)
  button.SetID(3);
  button.SetImage_Normal(&red);
  button.SetImage_Pressed(&blue);
  button.SetMode(1);
  wnd.AddUiWin(&button);
  UiButton_Image empty;  // no pictures at all
  empty.SetBounds(300, 100, 100, 100);
  empty.SetID(4);
  wnd.AddUiWin(&empty);
  const std::uint32_t kRed = 0xFF0000, kBlue = 0x0000FF, kBg = 0xECECEC;

  struct Case {
    int line;
    int mode;
    bool swapped;
    bool pressed;
    std::uint32_t centre, ring;  // ring: inside the 60 px but outside the 40 px picture
  } cases[] = {
      {__LINE__, 1, false, false, kRed, kBg},
      {__LINE__, 1, false, true, kBlue, kBlue},
      {__LINE__, 1, true, true, kRed, kBlue},
      {__LINE__, 1, true, false, kRed, kBg},
      {__LINE__, 0, false, true, kBlue, kBlue},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case at line " << c.line);
    button.SetMode(c.mode);
    button.SwapImageZOrder(c.swapped);
    if (c.pressed) host().Inject(InputEvent::Press(150, 185));
    Pump();
    EXPECT_EQ(button.IsPressed(), c.pressed);
    EXPECT_EQ(Pixel(150, 185), c.centre);
    EXPECT_EQ(Pixel(125, 160), c.ring);
    EXPECT_EQ(Pixel(350, 185), kBg) << "a button without pictures draws nothing";
    host().Inject(InputEvent::Release(0, 700));
    Pump();
  }
  EXPECT_TRUE(wnd.commands.empty()) << "every release was outside";

  // A picture element whose load failed draws nothing and says so.
  UiPicture picture;
  EXPECT_FALSE(picture.LoadImageW(MzGetInstanceHandle(), RT_RCDATA, MAKEINTRESOURCEW(166)));
  EXPECT_EQ(picture.GetImage(), nullptr);
  picture.SetBounds(0, 300, 480, 150);
  wnd.AddUiWin(&picture);
  Pump();
  EXPECT_EQ(Pixel(240, 400), kBg);
  EXPECT_TRUE(picture.LoadImageW(MzGetInstanceHandle(), RT_RCDATA, MAKEINTRESOURCEW(170)));
  Pump();
  EXPECT_NE(Pixel(240, 400), kBg);
}
