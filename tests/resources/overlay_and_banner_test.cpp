// The pressed overlay (165), the banner (170) and the platform's menu title
// picture (188), decoded from the embedded bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "tests/resources/png_inspector.h"

namespace {

DecodedPng Decoded(const std::vector<std::uint8_t>& bytes) {
  return DecodePng(bytes.data(), bytes.size());
}

TEST(PressedOverlay, IsATranslucentBlueRoundedOutlineClearInside) {
  const DecodedPng png = Decoded(ProgramResource(165));
  ASSERT_TRUE(png.ok);
  ASSERT_EQ(png.width, 90);
  ASSERT_EQ(png.height, 90);
  EXPECT_EQ(png.interlace, 1) << "Adam7";
  int soft = 0, full = 0;
  for (int y = 0; y < 90; ++y) {
    for (int x = 0; x < 90; ++x) {
      const DecodedPng::Pixel p = png.At(x, y);
      ASSERT_LE(p.a, 102) << x << "," << y;
      if (p.a == 0) {
        // Clear pixels are stored as white.
        ASSERT_TRUE(p.r == 255 && p.g == 255 && p.b == 255) << x << "," << y;
        continue;
      }
      ASSERT_TRUE(p.r == 0x23 && p.g == 0x67 && p.b == 0xE3) << "colour at " << x << "," << y;
      if (p.a == 102) {
        ++full;
      } else {
        ++soft;
      }
    }
  }
  EXPECT_GT(soft, 0) << "edges should be anti-aliased";
  EXPECT_GT(full, 4 * 60) << "a solid band on every side";
  // Across the middle of each side the band is about 5 pixels of full colour
  // with nothing beyond it on either side.
  struct Scan {
    int x0, y0, dx, dy;
  };
  const Scan scans[] = {{0, 45, 1, 0}, {89, 45, -1, 0}, {45, 0, 0, 1}, {45, 89, 0, -1}};
  for (const Scan& s : scans) {
    SCOPED_TRACE(testing::Message() << "scan from " << s.x0 << "," << s.y0);
    int first = -1, last = -1, solid = 0;
    for (int i = 0; i < 45; ++i) {
      const int a = png.At(s.x0 + s.dx * i, s.y0 + s.dy * i).a;
      if (a > 0) {
        if (first < 0) first = i;
        last = i;
      }
      if (a == 102) ++solid;
    }
    ASSERT_GE(first, 0);
    EXPECT_GE(first, 2);
    EXPECT_LE(last, 12);
    EXPECT_GE(solid, 4);
    EXPECT_LE(last - first + 1, 7);
  }
  // The whole inside is clear: a face's fill shows through untouched.
  for (int y = 12; y < 78; ++y) {
    for (int x = 12; x < 78; ++x) ASSERT_EQ(png.At(x, y).a, 0) << x << "," << y;
  }
  // Rounded corners of about 5 pixels: where a square band would turn, at
  // (5, 5) and its mirrors, the rounded one has cut inside.
  for (const auto& [x, y] : std::vector<std::pair<int, int>>{{5, 5}, {84, 5}, {5, 84}, {84, 84}}) {
    EXPECT_EQ(png.At(x, y).a, 0) << x << "," << y;
    EXPECT_EQ(png.At(x + (x < 45 ? 3 : -3), y + (y < 45 ? 3 : -3)).a, 102) << "band at corner " << x << "," << y;
  }
}

struct Rgb {
  int r, g, b;
};

int Off(const DecodedPng::Pixel& p, const Rgb& c) {
  return std::max({std::abs(p.r - c.r), std::abs(p.g - c.g), std::abs(p.b - c.b)});
}

TEST(Banner, IsAnOpaqueSkyLightAtTopLeftDarkAtBottomRight) {
  const DecodedPng png = Decoded(ProgramResource(170));
  ASSERT_TRUE(png.ok);
  ASSERT_EQ(png.width, 480);
  ASSERT_EQ(png.height, 150);
  EXPECT_EQ(png.interlace, 0);
  for (int y = 0; y < 150; ++y) {
    for (int x = 0; x < 480; ++x) ASSERT_EQ(png.At(x, y).a, 255) << x << "," << y;
  }
  EXPECT_LE(Off(png.At(0, 0), {0xA0, 0xE0, 0xF1}), 16);
  EXPECT_LE(Off(png.At(479, 149), {0x4C, 0xA1, 0xBC}), 16);
  // Blue sky: blue over green over red in all four corners.
  for (const auto& [x, y] : std::vector<std::pair<int, int>>{{0, 0}, {479, 0}, {0, 149}, {479, 149}}) {
    const DecodedPng::Pixel p = png.At(x, y);
    EXPECT_TRUE(p.b >= p.g && p.g > p.r) << x << "," << y;
  }
  const DecodedPng::Pixel tl = png.At(0, 0), br = png.At(479, 149);
  EXPECT_GT(tl.r + tl.g + tl.b, br.r + br.g + br.b + 100);
}

// Which of the lettering's inks a pixel is, if it is a bright saturated one.
enum Ink { kNone, kMagenta, kViolet, kBlue, kGreen, kYellow, kInkCount };

Ink InkOf(const DecodedPng::Pixel& p) {
  const int mx = std::max({p.r, p.g, p.b}), mn = std::min({p.r, p.g, p.b});
  if (mx < 150 || mx - mn < 110) return kNone;  // not bright and saturated: sky, white, shadow
  double h;
  const double d = mx - mn;
  if (mx == p.r) {
    h = 60 * ((p.g - p.b) / d);
  } else if (mx == p.g) {
    h = 60 * ((p.b - p.r) / d + 2);
  } else {
    h = 60 * ((p.r - p.g) / d + 4);
  }
  if (h < 0) h += 360;
  if (h >= 300 || h < 10) return kMagenta;
  if (h >= 255) return kViolet;
  if (h >= 200) return kBlue;
  if (h >= 90 && h < 160) return kGreen;
  if (h >= 38 && h < 70) return kYellow;
  return kNone;
}

TEST(Banner, CarriesWhiteSparklesAndMulticolouredLettering) {
  const DecodedPng png = Decoded(ProgramResource(170));
  ASSERT_TRUE(png.ok);
  int counts[kInkCount] = {};
  int white = 0;
  for (int y = 0; y < png.height; ++y) {
    for (int x = 0; x < png.width; ++x) {
      const DecodedPng::Pixel p = png.At(x, y);
      ++counts[InkOf(p)];
      if (std::min({p.r, p.g, p.b}) >= 250) ++white;
    }
  }
  EXPECT_GT(counts[kMagenta], 600);
  EXPECT_GT(counts[kViolet], 300);
  EXPECT_GT(counts[kBlue], 300);
  EXPECT_GT(counts[kGreen], 300);
  EXPECT_GT(counts[kYellow], 300);
  EXPECT_GT(white, 200);
  // Sparkles reach pure white away from the lettering, in the top strip.
  int sparkle = 0;
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 60; ++x) {
      const DecodedPng::Pixel p = png.At(x, y);
      if (std::min({p.r, p.g, p.b}) >= 245) ++sparkle;
    }
  }
  EXPECT_GT(sparkle, 3);
  // The name reads left to right in the centre: ink left and right of the middle.
  int left = 0, right = 0;
  for (int y = 20; y < 135; ++y) {
    for (int x = 40; x < 440; ++x) {
      if (InkOf(png.At(x, y)) == kNone) continue;
      if (x < 240) {
        ++left;
      } else {
        ++right;
      }
    }
  }
  EXPECT_GT(left, 1000);
  EXPECT_GT(right, 1000);
}

TEST(MenuTitlePicture, IsASmallPictureOnAClearBackground) {
  const DecodedPng png = Decoded(PlatformResource(188));
  ASSERT_TRUE(png.ok);
  EXPECT_EQ(png.width, 40);
  EXPECT_EQ(png.height, 40);
  int clear = 0, solid = 0;
  for (int y = 0; y < png.height; ++y) {
    for (int x = 0; x < png.width; ++x) {
      const int a = png.At(x, y).a;
      if (a == 0) ++clear;
      if (a == 255) ++solid;
    }
  }
  EXPECT_EQ(png.At(0, 0).a, 0);
  EXPECT_GT(clear, 100);
  EXPECT_GT(solid, 600);
}

}  // namespace
