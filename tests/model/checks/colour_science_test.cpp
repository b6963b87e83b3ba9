// The colour figures every check stands on, held against values from outside
// the program: the published CIEDE2000 test data, WCAG 2 ratios worked out by
// hand, and hue angles across 0/360 degrees.
#include <gtest/gtest.h>

#include "model/checks/colour_science.h"
#include "platform/win/color_contrast.h"

namespace {

// G. Sharma, W. Wu, E. N. Dalal, "The CIEDE2000 Color-Difference Formula:
// Implementation Notes, Supplementary Test Data, and Mathematical
// Observations", Color Research and Application 30(1), 2005, table 1: all 34
// pairs, among them those that catch a mean hue taken the wrong way round
// (7 to 16) and the hue rotation term in the blues (1 to 6).
TEST(ColourScience, Ciede2000MatchesThePublishedTestData) {
  struct Pair {
    LabColour a, b;
    double difference;
  };
  const Pair pairs[] = {
      {{50.0000, 2.6772, -79.7751}, {50.0000, 0.0000, -82.7485}, 2.0425},
      {{50.0000, 3.1571, -77.2803}, {50.0000, 0.0000, -82.7485}, 2.8615},
      {{50.0000, 2.8361, -74.0200}, {50.0000, 0.0000, -82.7485}, 3.4412},
      {{50.0000, -1.3802, -84.2814}, {50.0000, 0.0000, -82.7485}, 1.0000},
      {{50.0000, -1.1848, -84.8006}, {50.0000, 0.0000, -82.7485}, 1.0000},
      {{50.0000, -0.9009, -85.5211}, {50.0000, 0.0000, -82.7485}, 1.0000},
      {{50.0000, 0.0000, 0.0000}, {50.0000, -1.0000, 2.0000}, 2.3669},
      {{50.0000, -1.0000, 2.0000}, {50.0000, 0.0000, 0.0000}, 2.3669},
      {{50.0000, 2.4900, -0.0010}, {50.0000, -2.4900, 0.0009}, 7.1792},
      {{50.0000, 2.4900, -0.0010}, {50.0000, -2.4900, 0.0010}, 7.1792},
      {{50.0000, 2.4900, -0.0010}, {50.0000, -2.4900, 0.0011}, 7.2195},
      {{50.0000, 2.4900, -0.0010}, {50.0000, -2.4900, 0.0012}, 7.2195},
      {{50.0000, -0.0010, 2.4900}, {50.0000, 0.0009, -2.4900}, 4.8045},
      {{50.0000, -0.0010, 2.4900}, {50.0000, 0.0010, -2.4900}, 4.8045},
      {{50.0000, -0.0010, 2.4900}, {50.0000, 0.0011, -2.4900}, 4.7461},
      {{50.0000, 2.5000, 0.0000}, {50.0000, 0.0000, -2.5000}, 4.3065},
      {{50.0000, 2.5000, 0.0000}, {73.0000, 25.0000, -18.0000}, 27.1492},
      {{50.0000, 2.5000, 0.0000}, {61.0000, -5.0000, 29.0000}, 22.8977},
      {{50.0000, 2.5000, 0.0000}, {56.0000, -27.0000, -3.0000}, 31.9030},
      {{50.0000, 2.5000, 0.0000}, {58.0000, 24.0000, 15.0000}, 19.4535},
      {{50.0000, 2.5000, 0.0000}, {50.0000, 3.1736, 0.5854}, 1.0000},
      {{50.0000, 2.5000, 0.0000}, {50.0000, 3.2972, 0.0000}, 1.0000},
      {{50.0000, 2.5000, 0.0000}, {50.0000, 1.8634, 0.5757}, 1.0000},
      {{50.0000, 2.5000, 0.0000}, {50.0000, 3.2592, 0.3350}, 1.0000},
      {{60.2574, -34.0099, 36.2677}, {60.4626, -34.1751, 39.4387}, 1.2644},
      {{63.0109, -31.0961, -5.8663}, {62.8187, -29.7946, -4.0864}, 1.2630},
      {{61.2901, 3.7196, -5.3901}, {61.4292, 2.2480, -4.9620}, 1.8731},
      {{35.0831, -44.1164, 3.7933}, {35.0232, -40.0716, 1.5901}, 1.8645},
      {{22.7233, 20.0904, -46.6940}, {23.0331, 14.9730, -42.5619}, 2.0373},
      {{36.4612, 47.8580, 18.3852}, {36.2715, 50.5065, 21.2231}, 1.4146},
      {{90.8027, -2.0831, 1.4410}, {91.1528, -1.6435, 0.0447}, 1.4441},
      {{90.9257, -0.5406, -0.9208}, {88.6381, -0.8985, -0.7239}, 1.5381},
      {{6.7747, -0.2908, -2.4247}, {5.8714, -0.0985, -2.2286}, 0.6377},
      {{2.0776, 0.0795, -1.1350}, {0.9033, -0.0636, -0.5514}, 0.9082},
  };
  for (std::size_t i = 0; i < std::size(pairs); ++i) {
    SCOPED_TRACE("pair " + std::to_string(i + 1));
    EXPECT_NEAR(ColourDifference(pairs[i].a, pairs[i].b), pairs[i].difference, 5e-5);
    EXPECT_NEAR(ColourDifference(pairs[i].b, pairs[i].a), pairs[i].difference, 5e-5) << "either way round";
  }
}

// WCAG 2's ratio worked by hand from the sRGB decoding: #777777 is
// ((119/255 + 0.055) / 1.055)^2.4 = 0.18447 in luminance, so on white
// (1.05) / (0.23447) = 4.478; #767676 is 0.18116, 4.542 on white, the
// lightest grey that passes 4.5:1 there. Pure red is 0.2126, 3.998 on white
// and 5.252 on black; pure blue 0.0722, 8.592 on white.
TEST(ColourScience, WcagRatiosAgreeWithHandWorkedValues) {
  const COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0);
  EXPECT_NEAR(ContrastRatio(black, white), 21.0, 1e-9);
  EXPECT_NEAR(ContrastRatio(white, white), 1.0, 1e-9);
  EXPECT_NEAR(ContrastRatio(RGB(0x77, 0x77, 0x77), white), 4.478, 0.001);
  EXPECT_NEAR(ContrastRatio(white, RGB(0x76, 0x76, 0x76)), 4.542, 0.001);
  EXPECT_NEAR(ContrastRatio(RGB(255, 0, 0), white), 3.998, 0.001);
  EXPECT_NEAR(ContrastRatio(RGB(255, 0, 0), black), 5.252, 0.001);
  EXPECT_NEAR(ContrastRatio(RGB(0, 0, 255), white), 8.592, 0.001);
  // The lowest channel values lie on the straight part of the decoding:
  // 10/255 / 12.92 = 0.0030353, so #0A0A0A on black is 1.0607.
  EXPECT_NEAR(ContrastRatio(RGB(10, 10, 10), black), 1.0607, 0.0001);
  EXPECT_NEAR(SrgbToLinear(10), 0.0030353, 1e-7);
  EXPECT_NEAR(SrgbToLinear(0.5), 0.2140411, 1e-7);
}

// Hue angles wrap at 360: 350 and 10 are 20 apart, never 340; the distance
// is at most 180 and the same either way round.
TEST(ColourScience, HueDistanceWrapsAround360Degrees) {
  EXPECT_DOUBLE_EQ(HueDistance(350, 10), 20);
  EXPECT_DOUBLE_EQ(HueDistance(10, 350), 20);
  EXPECT_DOUBLE_EQ(HueDistance(0, 359.5), 0.5);
  EXPECT_DOUBLE_EQ(HueDistance(0, 180), 180);
  EXPECT_DOUBLE_EQ(HueDistance(90, 271), 179);
  EXPECT_DOUBLE_EQ(HueDistance(45, 45), 0);
  EXPECT_DOUBLE_EQ(HueDistance(30, 330), 60);
}

// CIE LCh of CIELAB values worked by hand: a = 3, b = -4 is chroma 5 at
// atan2(-4, 3) = 306.87 degrees; back again, and pure sRGB red (CIELAB
// 54.29, 80.80, 69.89 under D50, as Little CMS adapts it) lands at hue 40.85.
TEST(ColourScience, LchIsCielabInPolarForm) {
  const LchColour lch = ToLch(LabColour{50, 3, -4});
  EXPECT_DOUBLE_EQ(lch.l, 50);
  EXPECT_NEAR(lch.c, 5, 1e-12);
  EXPECT_NEAR(lch.h, 306.8699, 1e-4);
  const LchColour grey = ToLch(LabColour{50, 0, 0});
  EXPECT_DOUBLE_EQ(grey.c, 0);
  const LchColour red = ToLch(RGB(255, 0, 0));
  EXPECT_NEAR(red.l, 54.29, 0.05);
  EXPECT_NEAR(red.c, 106.84, 0.1);
  EXPECT_NEAR(red.h, 40.85, 0.1);
  // Back to the screen: a colour the screen shows comes back as itself.
  EXPECT_EQ(FromLch(ToLch(RGB(0x33, 0x66, 0xCC))), RGB(0x33, 0x66, 0xCC));
}

}  // namespace
