// Themes made from one colour, judged by the program's own report and
// simulation checks (themselves pinned to outside references in the checks'
// tests) and by figures worked out here, rather than by the maker's own
// account of itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "model/checks/readability.h"
#include "model/checks/theme_report.h"
#include "model/checks/theme_rules.h"
#include "model/color_swatches.h"
#include "model/theme/theme_maker.h"
#include "platform/win/color_contrast.h"

namespace {

constexpr ColourVision kEyes[] = {ColourVision::kTypical, ColourVision::kProtan, ColourVision::kDeutan,
                                  ColourVision::kTritan};

// What the report and the simulation views of the studio say of `theme`,
// and each text below `needed` plus the room for any eye; empty when
// nothing is wrong.
std::string Faults(const ThemeValues& theme, ContrastLevel level) {
  std::string faults, report;
  if (ReportTheme(theme, false, report) != kReportAllPass) faults += "report:\n" + report;
  for (ColourVision v : kDeficiencies) {
    for (const ConfusablePair& p : FindConfusablePairs(theme, v)) {
      faults += std::string(ColourVisionName(v)) + " merges " + std::to_string(p.first) + "/" +
                std::to_string(p.second) + "\n";
    }
  }
  for (ColourVision v : kEyes) {
    for (int n = 1; n <= ThemeValues::kItemCount; ++n) {
      const std::optional<Readability> r = JudgeItem(theme, n);
      if (!r || r->exempt) continue;
      const double needed = level == ContrastLevel::kHigh ? 7.1 : r->needed_ratio() + 0.1;
      const double seen = ContrastRatio(SeenWith(v, r->text), SeenWith(v, r->surface));
      if (seen < needed) faults += std::string(ColourVisionName(v)) + " item " + std::to_string(n) + "\n";
    }
  }
  return faults;
}

// WCAG 2's contrast ratio as its definition gives it, written here apart
// from the program's: sRGB channels to linear light, relative luminance,
// (lighter + 0.05) / (darker + 0.05).
double Wcag(COLORREF a, COLORREF b) {
  auto linear = [](int v) {
    const double s = v / 255.0;
    return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  auto luminance = [&](COLORREF c) {
    return 0.2126 * linear(c & 0xFF) + 0.7152 * linear(c >> 8 & 0xFF) + 0.0722 * linear(c >> 16 & 0xFF);
  };
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The weakest contrast of a text that must be read, under every eye: the
// typical by the definition above, the others as the simulations see them.
double Weakest(const ThemeValues& theme) {
  double weakest = 21;
  for (int n = 1; n <= ThemeValues::kItemCount; ++n) {
    const std::optional<Readability> r = JudgeItem(theme, n);
    if (!r || r->exempt) continue;
    weakest = std::min(weakest, Wcag(r->text, r->surface));
    for (ColourVision v : kDeficiencies) weakest = std::min(weakest, Wcag(SeenWith(v, r->text), SeenWith(v, r->surface)));
  }
  return weakest;
}

// Every item of chroma above 10 within 60 degrees of the source's hue, and a
// grey source's items grey.
std::string Discord(const ThemeValues& theme, COLORREF source) {
  const LchColour s = ToLch(source);
  std::string out;
  for (int n = 1; n <= ThemeValues::kItemCount; ++n) {
    const LchColour lch = ToLch(theme.Item(n));
    if (lch.c <= 10) continue;
    if (s.c <= 10 || HueDistance(lch.h, s.h) > 60) out += " " + std::to_string(n);
  }
  return out;
}

TEST(ThemeMaker, FiveSourcesGiveThemesInEveryStyleAndLevelThatEveryEyeCanReadInTheSourcesHue) {
  const struct {
    const char* name;
    COLORREF source;
  } sources[] = {{"pure red", RGB(0xFF, 0, 0)},
                 {"pure green", RGB(0, 0xFF, 0)},
                 {"mid grey", RGB(0x80, 0x80, 0x80)},
                 {"dark navy", RGB(0x1B, 0x26, 0x4A)},
                 {"pale yellow", RGB(0xFF, 0xF5, 0xB0)}};
  for (const auto& s : sources) {
    for (ThemeStyle style : {ThemeStyle::kSoft, ThemeStyle::kVivid}) {
      for (ContrastLevel level : {ContrastLevel::kStandard, ContrastLevel::kHigh}) {
        for (bool dark : {false, true}) {
          SCOPED_TRACE(std::string(s.name) + " " + ThemeStyleId(style) + (dark ? " dark" : " light") +
                       (level == ContrastLevel::kHigh ? " high" : ""));
          const MakeOptions options{dark, true, style, level};
          const MadeTheme made = MakeTheme(s.source, options);
          ASSERT_TRUE(made.passes()) << made.check.breaches.size() << " rules broken";
          const ThemeValues theme = made.Snapshot();
          EXPECT_EQ(Faults(theme, level), "");
          EXPECT_EQ(Discord(theme, s.source), "");
          EXPECT_GE(Weakest(theme), level == ContrastLevel::kHigh ? 7.1 : 6.0) << "the weakest text reads with ease";
          for (const ItemPair& p : kApartPairs) {
            for (ColourVision v : kEyes) {
              EXPECT_GE(ColourDifference(SeenWith(v, theme.Item(p.first)), SeenWith(v, theme.Item(p.second))), 10.5);
            }
          }
          const LchColour window = ToLch(theme.Item(kWindowBackgroundItem));
          EXPECT_EQ(window.l < 50, dark);
          if (style == ThemeStyle::kSoft) {
            EXPECT_LE(window.c, 16) << "a soft window is a near-neutral tint";
          }
          const LchColour source = ToLch(s.source);
          if (source.c <= 10) {
            EXPECT_LE(window.c, 8.5) << "a grey source, a grey window";
          } else if (window.c <= 10 || HueDistance(window.h, source.h) > 28) {
            for (int n : kAccentItems) {
              const LchColour accent = ToLch(theme.Item(n));
              EXPECT_TRUE(accent.c > 10 && HueDistance(accent.h, source.h) <= 28) << "accent " << n;
            }
          }
          EXPECT_EQ(MakeTheme(s.source, options).values, made.values) << "the same source, the same theme";
        }
      }
    }
  }
}

// Within the swatches, sources whose hue has tones dark and light enough
// among them (a blue, a purple, a tan) give themes whose every text has at
// least 6:1 under every eye, though 4.5 would keep the rules.
TEST(ThemeMaker, TextsReachSixToOneUnderEveryEyeWhereTheSwatchesAllowIt) {
  EXPECT_NEAR(Wcag(RGB(0x76, 0x76, 0x76), RGB(0xFF, 0xFF, 0xFF)), 4.54, 0.005) << "WCAG's own example grey";
  EXPECT_NEAR(Wcag(RGB(0, 0, 0), RGB(0xFF, 0xFF, 0xFF)), 21, 1e-9);
  for (COLORREF source : {RGB(0x3D, 0x7D, 0xA6), RGB(0x93, 0x70, 0xDB), RGB(0xDB, 0x93, 0x70)}) {
    for (const MadeTheme& made : MakeThemeCandidates(source, false, ContrastLevel::kStandard)) {
      SCOPED_TRACE(std::to_string(source) + " " + ThemeStyleId(made.options.style) + (made.options.dark ? " dark" : " light"));
      ASSERT_TRUE(made.passes());
      EXPECT_GE(Weakest(made.Snapshot()), 6.0);
    }
  }
}

// A vivid theme puts the source itself on the window where texts can be read
// on it; the four candidates are soft and vivid, light and dark.
TEST(ThemeMaker, VividPutsTheSourceOnTheWindowAndTheCandidatesHoldBothStyles) {
  const COLORREF sky = RGB(0xB8, 0xD8, 0xF8), night = RGB(0x10, 0x20, 0x40);
  EXPECT_EQ(MakeTheme(sky, {false, true, ThemeStyle::kVivid, ContrastLevel::kStandard}).values.items[3], sky);
  EXPECT_EQ(MakeTheme(night, {true, true, ThemeStyle::kVivid, ContrastLevel::kStandard}).values.items[3], night);
  const std::vector<MadeTheme> four = MakeThemeCandidates(RGB(0x3D, 0x7D, 0xA6), true, ContrastLevel::kStandard);
  ASSERT_EQ(four.size(), 4u);
  const struct {
    bool dark;
    ThemeStyle style;
  } order[] = {{false, ThemeStyle::kSoft}, {false, ThemeStyle::kVivid}, {true, ThemeStyle::kSoft}, {true, ThemeStyle::kVivid}};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(four[i].options.dark, order[i].dark) << i;
    EXPECT_EQ(four[i].options.style, order[i].style) << i;
    EXPECT_EQ(four[i].values, MakeTheme(RGB(0x3D, 0x7D, 0xA6), four[i].options).values) << i;
  }
  EXPECT_NE(four[0].values.items[3], four[1].values.items[3]) << "the styles differ on the window";
  EXPECT_EQ(MadeThemeName("#3D7DA6", four[3].options), "#3D7DA6 鲜明 深色");
  EXPECT_EQ(MadeThemeName("x.jpg", {false, false, ThemeStyle::kSoft, ContrastLevel::kHigh}), "x.jpg 柔和 浅色 高对比");
}

// A pale yellow has a dark theme of any colours (a black window with green
// texts among the 216 web colours alone shows one exists); every swatch as a
// source is called passing only when the checks agree.
TEST(ThemeMaker, FindsTheThemesThatExistAndCallsNoOtherPassing) {
  EXPECT_TRUE(MakeTheme(RGB(0xFF, 0xFF, 0xCC), {true, true, ThemeStyle::kSoft, ContrastLevel::kStandard}).passes());
  int passing = 0;
  for (const ColorSwatch& swatch : kColorSwatches) {
    for (bool dark : {false, true}) {
      SCOPED_TRACE(std::to_string(swatch.control_id) + (dark ? " dark" : " light"));
      const MadeTheme made = MakeTheme(swatch.color, {dark, false, ThemeStyle::kSoft, ContrastLevel::kStandard});
      for (const auto& value : made.values.items) {
        ASSERT_TRUE(value.has_value());
        EXPECT_TRUE(SwatchOf(*value).has_value()) << std::hex << *value << " is no swatch";
      }
      if (made.passes()) {
        ++passing;
        EXPECT_EQ(Faults(made.Snapshot(), ContrastLevel::kStandard), "");
        EXPECT_EQ(Discord(made.Snapshot(), swatch.color), "");
      } else {
        // The closest, never called passing: it says which rules it breaks.
        ASSERT_FALSE(made.check.breaches.empty());
      }
    }
  }
  EXPECT_GE(passing, 80) << "most swatches make a theme that holds every rule";
}

// The search against every theme a small palette allows. A theme's shape:
// the window, one primary text (5, 6, 15, 18, 19), one secondary (7, 12),
// two accents (16 and 20, 17), and on the phone's own artwork the pairs 3/2,
// 14/13, 9/10 and the single 11, 1 and 8. Surfaces are independent but for
// the source's hue, which the window carries, else the accents and 9; so
// each surface is searched on its own, every assignment checked whole by the
// program's rules. A light theme's window has L* at least 55, a dark one's
// at most 45.
struct Exhaustive {
  COLORREF source;
  bool dark;
  std::vector<COLORREF> palette;

  static bool Touches(const ThemeRuleCheck& check, const std::vector<int>& items, bool likeness) {
    return std::any_of(check.breaches.begin(), check.breaches.end(), [&](const RuleBreach& b) {
      if (!likeness && b.rule == ThemeRule::kLikeSource) return false;
      return std::count(items.begin(), items.end(), b.item) > 0 || std::count(items.begin(), items.end(), b.other) > 0;
    });
  }
  static ThemeValues Set(ThemeValues theme, const std::vector<int>& items, COLORREF c) {
    for (int n : items) theme = theme.With(n, c);
    return theme;
  }
  bool CarriesHue(COLORREF c) const {
    const LchColour lch = ToLch(c), s = ToLch(source);
    return s.c > 10 && lch.c > 10 && HueDistance(lch.h, s.h) <= 28;
  }
  // The artwork's items set to an assignment that holds its rules, 9
  // carrying the hue where one can; none when a surface has none.
  std::optional<ThemeValues> Artwork() const {
    ThemeValues theme;
    const std::vector<std::vector<int>> groups[] = {{{3}, {2}}, {{11}}, {{14}, {13}}, {{1}}, {{8}}, {{9}, {10}}};
    for (const auto& group : groups) {
      std::optional<ThemeValues> best;
      for (COLORREF a : palette) {
        for (COLORREF b : group.size() > 1 ? palette : std::vector<COLORREF>{0}) {
          ThemeValues t = Set(theme, group[0], a);
          if (group.size() > 1) t = Set(t, group[1], b);
          std::vector<int> items;
          for (const auto& slot : group) items.insert(items.end(), slot.begin(), slot.end());
          if (Touches(CheckMadeTheme(t, source), items, false)) continue;
          if (!best || (group[0][0] == 9 && CarriesHue(a))) best = t;
        }
      }
      if (!best) return std::nullopt;
      theme = *best;
    }
    return theme;
  }
  bool Exists() const {
    const std::optional<ThemeValues> artwork = Artwork();
    if (!artwork) return false;
    const std::vector<std::vector<int>> slots = {{5, 6, 15, 18, 19}, {7, 12}, {16, 20}, {17}};
    for (COLORREF w : palette) {
      const double l = ToLch(w).l;
      if (dark ? l > 45 : l < 55) continue;
      const ThemeValues base = artwork->With(kWindowBackgroundItem, w);
      // What each slot may take at all on this window.
      std::vector<std::vector<COLORREF>> fits(slots.size());
      for (COLORREF c : palette) {
        ThemeValues t = base;
        for (const auto& slot : slots) t = Set(t, slot, c);
        const ThemeRuleCheck check = CheckMadeTheme(t, source);
        for (std::size_t i = 0; i < slots.size(); ++i) {
          const bool alone = std::none_of(check.breaches.begin(), check.breaches.end(), [&](const RuleBreach& b) {
            const bool single = b.rule == ThemeRule::kReadable || b.rule == ThemeRule::kReadableByAll || b.rule == ThemeRule::kHarmony;
            return single && std::count(slots[i].begin(), slots[i].end(), b.item) > 0;
          });
          if (alone) fits[i].push_back(c);
        }
      }
      for (COLORREF p : fits[0]) for (COLORREF s : fits[1]) for (COLORREF a1 : fits[2]) for (COLORREF a2 : fits[3]) {
        const ThemeValues t = Set(Set(Set(Set(base, slots[0], p), slots[1], s), slots[2], a1), slots[3], a2);
        if (CheckMadeTheme(t, source).passes()) return true;
      }
    }
    return false;
  }
};

// A palette for `source`: four greys, five tones of its hue, one tone 45
// degrees round and one 90 (harmony's edge and beyond it).
std::vector<COLORREF> SmallPalette(COLORREF source) {
  const LchColour s = ToLch(source);
  std::vector<COLORREF> palette = {RGB(0, 0, 0), RGB(0x59, 0x59, 0x59), RGB(0xB0, 0xB0, 0xB0), RGB(0xFF, 0xFF, 0xFF)};
  for (double l : {22.0, 40.0, 60.0, 80.0, 95.0}) palette.push_back(FromLch({l, 40, s.h}));
  palette.push_back(FromLch({50, 40, std::fmod(s.h + 45, 360.0)}));
  palette.push_back(FromLch({70, 40, std::fmod(s.h + 90, 360.0)}));
  return palette;
}

TEST(ThemeMaker, FindsAThemeWheneverAnExhaustiveSearchOfTheSamePaletteDoes) {
  std::mt19937 random(50);
  int found = 0;
  for (int i = 0; i < 50; ++i) {
    const COLORREF source = RGB(random() & 0xFF, random() & 0xFF, random() & 0xFF);
    const std::vector<COLORREF> palette = SmallPalette(source);
    for (bool dark : {false, true}) {
      SCOPED_TRACE(std::to_string(i) + (dark ? " dark " : " light ") + std::to_string(source));
      const bool exists = Exhaustive{source, dark, palette}.Exists();
      const MadeTheme made = MakeThemeFromPalette(source, {dark, false, ThemeStyle::kSoft, ContrastLevel::kStandard}, palette);
      EXPECT_EQ(made.passes(), exists);
      found += exists;
    }
  }
  EXPECT_GE(found, 20) << "the palette gives few themes: a weak test";
}

}  // namespace
