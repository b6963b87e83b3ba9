#include "model/checks/theme_rules.h"

#include <algorithm>
#include <optional>

#include "platform/win/color_contrast.h"
#include "platform/win/theme_schema.h"

const char* ThemeRuleId(ThemeRule rule) {
  switch (rule) {
    case ThemeRule::kReadable: return "readable";
    case ThemeRule::kReadableByAll: return "readable-by-all";
    case ThemeRule::kApart: return "apart";
    case ThemeRule::kHierarchy: return "hierarchy";
    case ThemeRule::kLikeSource: return "like-source";
    case ThemeRule::kHarmony: return "harmony";
  }
  return "";
}

bool ThemeRuleCheck::Breaks(ThemeRule rule) const {
  return std::any_of(breaches.begin(), breaches.end(),
                     [rule](const RuleBreach& b) { return b.rule == rule; });
}

double NeededRatio(const Readability& r, ContrastLevel level) {
  if (r.exempt) return 0;
  return level == ContrastLevel::kHigh ? kHighTextRatio : r.needed_ratio();
}

bool ReadableWithRoom(const Readability& r, double ratio, ContrastLevel level) {
  if (r.exempt) return true;
  return r.passes() && ratio >= NeededRatio(r, level) + kRatioRoom &&
         std::max(r.lc, -r.lc) >= r.needed_lc() + kLcRoom;
}

bool InHarmony(const LchColour& colour, const LchColour& source) {
  if (colour.c <= kSourceChroma - kChromaRoom) return true;
  if (source.c <= kSourceChroma) return false;  // a grey source: every item grey
  return HueDistance(colour.h, source.h) <= kHarmonyReach - kHueRoom;
}

namespace {

constexpr ColourVision kEveryVision[] = {ColourVision::kTypical, ColourVision::kProtan,
                                         ColourVision::kDeutan, ColourVision::kTritan};

COLORREF SurfaceUnder(const ThemeValues& theme, int number) {
  return SurfaceColor(SurfaceOf(number), theme);
}

void CheckReadable(const ThemeValues& theme, ContrastLevel level, ThemeRuleCheck& check) {
  for (int n = 1; n <= ThemeValues::kItemCount; ++n) {
    const std::optional<Readability> r = JudgeItem(theme, n);
    if (r && !ReadableWithRoom(*r, r->ratio, level)) {
      check.breaches.push_back({ThemeRule::kReadable, n, 0, ColourVision::kTypical, r->ratio,
                                NeededRatio(*r, level)});
    }
  }
}

// Who is drawn on which surface: the items read against it, and the
// window background item itself.
ThemeSurface DrawnOn(int number) {
  return number == kWindowBackgroundItem ? ThemeSurface::kWindowBackground : SurfaceOf(number);
}

bool Named(int first, int second) {
  return std::any_of(std::begin(kApartPairs), std::end(kApartPairs),
                     [&](const ItemPair& p) { return p.first == first && p.second == second; });
}

// The WCAG 2 rule for every text, as each eye sees it.
void CheckTextsForEye(const ThemeValues& theme, std::size_t v, ContrastLevel level,
                      ThemeRuleCheck& check) {
  const ColourVision vision = kEveryVision[v];
  VisionFigures& figures = check.visions[v];
  figures.vision = vision;
  for (int n = 1; n <= ThemeValues::kItemCount; ++n) {
    const std::optional<Readability> r = JudgeItem(theme, n);
    if (!r || r->exempt) continue;
    const double ratio =
        ContrastRatio(SeenWith(vision, theme.Item(n)), SeenWith(vision, SurfaceUnder(theme, n)));
    const double needed = NeededRatio(*r, level);
    if (ratio < figures.weakest_ratio) {
      figures.weakest_item = n;
      figures.weakest_ratio = ratio;
      figures.weakest_needed = needed;
    }
    if (vision != ColourVision::kTypical && ratio < needed + kRatioRoom) {
      check.breaches.push_back({ThemeRule::kReadableByAll, n, 0, vision, ratio, needed});
    }
  }
}

// The named pairs stay apart for every eye; any other two items on one
// surface are alike for a typical eye (with room) or apart for every eye.
void CheckApart(const ThemeValues& theme, ThemeRuleCheck& check) {
  const int count = ThemeValues::kItemCount;
  std::array<std::vector<LabColour>, std::size(kEveryVision)> seen;
  for (std::size_t v = 0; v < std::size(kEveryVision); ++v) {
    for (int n = 1; n <= count; ++n) seen[v].push_back(ToLab(SeenWith(kEveryVision[v], theme.Item(n))));
    check.visions[v].closest_difference = 1e9;
  }
  const double apart = kConfusableDifference + kApartRoom;
  for (int a = 1; a <= count; ++a) {
    for (int b = a + 1; b <= count; ++b) {
      if (DrawnOn(a) != DrawnOn(b) || DrawnOn(a) == ThemeSurface::kNone) continue;
      const bool named = Named(a, b);
      const double typical = ColourDifference(seen[0][a - 1], seen[0][b - 1]);
      if (!named && typical < kConfusableDifference - kApartRoom) continue;  // alike for all
      for (std::size_t v = 0; v < std::size(kEveryVision); ++v) {
        const double d = ColourDifference(seen[v][a - 1], seen[v][b - 1]);
        VisionFigures& figures = check.visions[v];
        if (named && d < figures.closest_difference) {
          figures.closest = {a, b};
          figures.closest_difference = d;
        }
        if (d < apart) check.breaches.push_back({ThemeRule::kApart, a, b, kEveryVision[v], d, kConfusableDifference});
      }
    }
  }
}

void CheckHierarchy(const ThemeValues& theme, ThemeRuleCheck& check) {
  for (const ItemPair& pair : kHierarchyPairs) {
    const double primary = ContrastRatio(theme.Item(pair.first), SurfaceUnder(theme, pair.first));
    const double secondary = ContrastRatio(theme.Item(pair.second), SurfaceUnder(theme, pair.second));
    if (primary <= secondary) {
      check.breaches.push_back(
          {ThemeRule::kHierarchy, pair.first, pair.second, ColourVision::kTypical, primary, secondary});
    }
  }
}

void CheckLikeSource(const ThemeValues& theme, ThemeRuleCheck& check) {
  const double reach = kHueReach - kHueRoom;
  if (check.source.c <= kSourceChroma) {
    // A grey source: a grey window (harmony holds the rest grey).
    const double c = ToLch(theme.Item(kWindowBackgroundItem)).c;
    if (c > kSourceChroma - kChromaRoom) {
      check.breaches.push_back({ThemeRule::kLikeSource, kWindowBackgroundItem, 0, ColourVision::kTypical, c,
                                kSourceChroma});
    }
    return;
  }
  // The hue's distance, or more than any reach for a colour too grey to have one.
  auto distance = [&](int n) {
    const LchColour lch = ToLch(theme.Item(n));
    return lch.c > kSourceChroma ? HueDistance(lch.h, check.source.h) : kNoHue;
  };
  const double window = distance(kWindowBackgroundItem);
  if (window <= reach) {
    check.window_carries_hue = true;
    check.hue_distance = window;
    return;
  }
  std::vector<RuleBreach> far;
  for (int n : kAccentItems) {
    const double d = distance(n);
    check.hue_distance = std::max(check.hue_distance, d);
    if (d > reach) far.push_back({ThemeRule::kLikeSource, n, 0, ColourVision::kTypical, d, kHueReach});
  }
  if (!far.empty()) {
    // Neither carries it: name the window first, then the accents that stray.
    check.breaches.push_back({ThemeRule::kLikeSource, kWindowBackgroundItem, 0, ColourVision::kTypical,
                              window, kHueReach});
    check.breaches.insert(check.breaches.end(), far.begin(), far.end());
  }
}

void CheckHarmony(const ThemeValues& theme, ThemeRuleCheck& check) {
  const bool grey = check.source.c <= kSourceChroma;
  for (int n = 1; n <= ThemeValues::kItemCount; ++n) {
    const LchColour lch = ToLch(theme.Item(n));
    if (InHarmony(lch, check.source)) continue;
    // Grey: the chroma found, against the most a grey theme's item has;
    // else the hue's distance, against the reach.
    if (grey) {
      check.breaches.push_back({ThemeRule::kHarmony, n, 0, ColourVision::kTypical, lch.c, kSourceChroma});
    } else {
      check.breaches.push_back({ThemeRule::kHarmony, n, 0, ColourVision::kTypical,
                                HueDistance(lch.h, check.source.h), kHarmonyReach});
    }
  }
}

}  // namespace

ThemeRuleCheck CheckMadeTheme(const ThemeValues& theme, COLORREF source, ContrastLevel level) {
  ThemeRuleCheck check;
  check.source = ToLch(source);
  CheckReadable(theme, level, check);
  for (std::size_t v = 0; v < std::size(kEveryVision); ++v) CheckTextsForEye(theme, v, level, check);
  CheckApart(theme, check);
  CheckHierarchy(theme, check);
  CheckLikeSource(theme, check);
  CheckHarmony(theme, check);
  return check;
}
