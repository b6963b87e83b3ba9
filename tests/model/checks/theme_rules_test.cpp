// The rules a made theme holds, on themes made by hand: harmony against hue
// angles from outside the program (the CIELAB of the sRGB primaries under
// D50, as published by B. Lindbloom: red 54.29/80.81/69.89, hue 40.85;
// green 87.82/-79.29/80.99, hue 134.39; blue 29.57/68.30/-112.03, hue
// 301.37), and the room kept over a need.
#include <gtest/gtest.h>

#include "model/checks/theme_rules.h"

namespace {

constexpr COLORREF kRed = RGB(0xFF, 0, 0), kGreen = RGB(0, 0xFF, 0), kBlue = RGB(0, 0, 0xFF);

// Every item a grey: black texts on a white window, white on the artwork's
// dark surfaces, black on its light ones.
ThemeValues Greys() {
  ThemeValues theme;
  for (int n = 1; n <= ThemeValues::kItemCount; ++n) {
    const ThemeSurface surface = SurfaceOf(n);
    const bool light_ground = surface == ThemeSurface::kWindowBackground || surface == ThemeSurface::kCalendarPage ||
                              surface == ThemeSurface::kButtonFace;
    theme = theme.With(n, light_ground ? RGB(0, 0, 0) : RGB(0xFF, 0xFF, 0xFF));
  }
  return theme.With(kWindowBackgroundItem, RGB(0xFF, 0xFF, 0xFF));
}

std::vector<RuleBreach> Harmony(const ThemeValues& theme, COLORREF source) {
  std::vector<RuleBreach> found;
  for (const RuleBreach& b : CheckMadeTheme(theme, source).breaches) {
    if (b.rule == ThemeRule::kHarmony) found.push_back(b);
  }
  return found;
}

TEST(ThemeRules, HarmonyHoldsColourfulItemsNearTheSourcesHueAndAGreySourcesItemsGrey) {
  EXPECT_TRUE(Harmony(Greys(), kRed).empty()) << "greys stand with any source";
  EXPECT_TRUE(Harmony(Greys().With(17, kRed), kRed).empty());
  // Green is 134.39 - 40.85 = 93.54 degrees from red.
  std::vector<RuleBreach> found = Harmony(Greys().With(17, kGreen), kRed);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].item, 17);
  EXPECT_NEAR(found[0].figure, 93.54, 0.1);
  EXPECT_EQ(found[0].needed, 60);
  // Blue is 360 - 301.37 + 40.85 = 99.48 degrees from red, round the circle.
  found = Harmony(Greys().With(16, kBlue).With(9, kBlue), kRed);
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].item, 9);
  EXPECT_EQ(found[1].item, 16);
  EXPECT_NEAR(found[1].figure, 99.48, 0.1);
  // A grey source: every item grey; red has chroma hypot(80.81, 69.89) = 106.84.
  EXPECT_TRUE(Harmony(Greys(), RGB(0x80, 0x80, 0x80)).empty());
  found = Harmony(Greys().With(20, kRed), RGB(0x80, 0x80, 0x80));
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].item, 20);
  EXPECT_NEAR(found[0].figure, 106.84, 0.1);
  EXPECT_EQ(found[0].needed, 10);
  const ThemeRuleCheck whole = CheckMadeTheme(Greys().With(20, kRed), RGB(0x80, 0x80, 0x80));
  EXPECT_TRUE(whole.Breaks(ThemeRule::kHarmony));
  EXPECT_STREQ(ThemeRuleId(ThemeRule::kHarmony), "harmony");
}

// Room to spare: a colour 59 degrees from the source meets the printed 60
// but not the 58 a made theme keeps; one 57 degrees away meets both. Its
// angle is read back (the 8-bit colour rounds it), and the colour is taken
// only where the reading lies on its side of the line.
TEST(ThemeRules, AMadeThemeKeepsRoomOverTheHueItIsAllowed) {
  const LchColour red = ToLch(kRed);
  for (double off : {57.0, 59.0}) {
    const COLORREF near = FromLch({60, 40, red.h + off});
    const double distance = HueDistance(ToLch(near).h, red.h);
    ASSERT_TRUE(off == 57 ? distance < 58 : distance > 58 && distance <= 60) << distance;
    EXPECT_EQ(Harmony(Greys().With(17, near), kRed).empty(), off == 57) << off;
  }
}

}  // namespace
