// Themes made from one colour, judged by the program's own report and
// simulation checks rather than by the maker's own account of itself.
#include <gtest/gtest.h>

#include "model/checks/readability.h"
#include "model/checks/theme_report.h"
#include "model/checks/theme_rules.h"
#include "model/color_swatches.h"
#include "model/theme/theme_maker.h"
#include "platform/win/color_contrast.h"

namespace {

// What the report and the simulation views of the studio say of `theme`;
// empty when both find nothing wrong.
std::string Faults(const ThemeValues& theme) {
  std::string faults, report;
  if (ReportTheme(theme, false, report) != kReportAllPass) faults += "report:\n" + report;
  for (ColourVision v : kDeficiencies) {
    for (const ConfusablePair& p : FindConfusablePairs(theme, v)) {
      faults += std::string(ColourVisionName(v)) + " merges " + std::to_string(p.first) + "/" +
                std::to_string(p.second) + "\n";
    }
    for (int n = 1; n <= ThemeValues::kItemCount; ++n) {
      const std::optional<Readability> r = JudgeItem(theme, n);
      if (!r || r->exempt) continue;
      const double seen = ContrastRatio(SeenWith(v, r->text), SeenWith(v, r->surface));
      if (seen < r->needed_ratio()) faults += std::string(ColourVisionName(v)) + " item " + std::to_string(n) + "\n";
    }
  }
  return faults;
}

bool WithinHue(COLORREF color, double hue) {
  const LchColour lch = ToLch(color);
  return lch.c > kSourceChroma && HueDistance(lch.h, hue) <= kHueReach;
}

TEST(ThemeMaker, FiveSourcesGiveThemesEveryEyeCanReadInTheSourcesHue) {
  const struct {
    const char* name;
    COLORREF source;
  } sources[] = {{"pure red", RGB(0xFF, 0, 0)},
                 {"pure green", RGB(0, 0xFF, 0)},
                 {"mid grey", RGB(0x80, 0x80, 0x80)},
                 {"dark navy", RGB(0x1B, 0x26, 0x4A)},
                 {"pale yellow", RGB(0xFF, 0xF5, 0xB0)}};
  for (const auto& s : sources) {
    for (bool dark : {false, true}) {
      for (bool exact : {false, true}) {
        SCOPED_TRACE(std::string(s.name) + (dark ? " dark" : " light") + (exact ? " exact" : ""));
        const MadeTheme made = MakeTheme(s.source, dark, exact);
        EXPECT_TRUE(made.passes()) << made.check.breaches.size() << " rules broken";
        const ThemeValues theme = made.Snapshot();
        EXPECT_EQ(Faults(theme), "");
        for (const ItemPair& p : kApartPairs) {
          EXPECT_GE(ColourDifference(theme.Item(p.first), theme.Item(p.second)), kConfusableDifference);
        }
        for (const auto& value : made.values.items) {
          ASSERT_TRUE(value.has_value());
          EXPECT_TRUE(exact || SwatchOf(*value).has_value()) << std::hex << *value << " is no swatch";
        }
        EXPECT_EQ(ToLch(theme.Item(kWindowBackgroundItem)).l < 50, dark);
        const LchColour source = ToLch(s.source);
        if (source.c <= kSourceChroma) {
          EXPECT_LE(ToLch(theme.Item(kWindowBackgroundItem)).c, kSourceChroma) << "a grey source, a grey window";
        } else if (!WithinHue(theme.Item(kWindowBackgroundItem), source.h)) {
          for (int n : kAccentItems) EXPECT_TRUE(WithinHue(theme.Item(n), source.h)) << "accent " << n;
        }
        EXPECT_EQ(MakeTheme(s.source, dark, exact).values, made.values) << "the same source, the same theme";
      }
    }
  }
}

TEST(ThemeMaker, EverySwatchAsSourceIsPassingOnlyWhenTheChecksAgreeAndFourCandidatesAreOffered) {
  int failing = 0;
  for (const ColorSwatch& swatch : kColorSwatches) {
    for (bool dark : {false, true}) {
      SCOPED_TRACE(std::to_string(swatch.control_id) + (dark ? " dark" : " light"));
      const MadeTheme made = MakeTheme(swatch.color, dark, false);
      if (made.passes()) {
        EXPECT_EQ(Faults(made.Snapshot()), "");
      } else {
        // The closest, never called passing: it says which rules it breaks.
        ++failing;
        ASSERT_FALSE(made.check.breaches.empty());
        EXPECT_TRUE(made.check.Breaks(made.check.breaches.front().rule));
      }
    }
  }
  EXPECT_LE(failing, 4) << "most swatches make a theme that holds every rule";
  const std::vector<MadeTheme> four = MakeThemeCandidates(RGB(0x3D, 0x7D, 0xA6), false);
  ASSERT_EQ(four.size(), 4u);
  EXPECT_FALSE(four[0].dark || four[1].dark);
  EXPECT_TRUE(four[2].dark && four[3].dark);
  EXPECT_EQ(four[0].values, MakeTheme(RGB(0x3D, 0x7D, 0xA6), false, false).values);
  EXPECT_EQ(four[2].values, MakeTheme(RGB(0x3D, 0x7D, 0xA6), true, false).values);
  EXPECT_NE(four[0].values.items[kWindowBackgroundItem - 1], four[1].values.items[kWindowBackgroundItem - 1]);
}

}  // namespace
