#include "model/checks/theme_rules.h"

#include <algorithm>
#include <optional>

#include "model/checks/readability.h"
#include "platform/win/color_contrast.h"
#include "platform/win/theme_schema.h"

const char* ThemeRuleId(ThemeRule rule) {
  switch (rule) {
    case ThemeRule::kReadable: return "readable";
    case ThemeRule::kReadableByAll: return "readable-by-all";
    case ThemeRule::kApart: return "apart";
    case ThemeRule::kHierarchy: return "hierarchy";
    case ThemeRule::kLikeSource: return "like-source";
  }
  return "";
}

bool ThemeRuleCheck::Breaks(ThemeRule rule) const {
  return std::any_of(breaches.begin(), breaches.end(),
                     [rule](const RuleBreach& b) { return b.rule == rule; });
}

namespace {

constexpr ColourVision kEveryVision[] = {ColourVision::kTypical, ColourVision::kProtan,
                                         ColourVision::kDeutan, ColourVision::kTritan};

COLORREF SurfaceUnder(const ThemeValues& theme, int number) {
  return SurfaceColor(SurfaceOf(number), theme);
}

void CheckReadable(const ThemeValues& theme, ThemeRuleCheck& check) {
  for (int n = 1; n <= ThemeValues::kItemCount; ++n) {
    const std::optional<Readability> r = JudgeItem(theme, n);
    if (r && !r->passes()) {
      check.breaches.push_back({ThemeRule::kReadable, n, 0, ColourVision::kTypical, r->ratio,
                                r->needed_ratio()});
    }
  }
}

// The WCAG 2 rule for every text, and the pairs, as each eye sees them.
void CheckEveryEye(const ThemeValues& theme, ThemeRuleCheck& check) {
  std::vector<RuleBreach> apart;
  for (std::size_t v = 0; v < std::size(kEveryVision); ++v) {
    const ColourVision vision = kEveryVision[v];
    VisionFigures& figures = check.visions[v];
    figures.vision = vision;
    for (int n = 1; n <= ThemeValues::kItemCount; ++n) {
      const std::optional<Readability> r = JudgeItem(theme, n);
      if (!r || r->exempt) continue;
      const double ratio =
          ContrastRatio(SeenWith(vision, theme.Item(n)), SeenWith(vision, SurfaceUnder(theme, n)));
      if (ratio < figures.weakest_ratio) {
        figures.weakest_item = n;
        figures.weakest_ratio = ratio;
        figures.weakest_needed = r->needed_ratio();
      }
      if (vision != ColourVision::kTypical && ratio < r->needed_ratio()) {
        check.breaches.push_back({ThemeRule::kReadableByAll, n, 0, vision, ratio, r->needed_ratio()});
      }
    }
    figures.closest_difference = 1e9;
    for (const ItemPair& pair : kApartPairs) {
      const double d = ColourDifference(SeenWith(vision, theme.Item(pair.first)),
                                        SeenWith(vision, theme.Item(pair.second)));
      if (d < figures.closest_difference) {
        figures.closest = pair;
        figures.closest_difference = d;
      }
      if (d < kConfusableDifference) {
        apart.push_back({ThemeRule::kApart, pair.first, pair.second, vision, d, kConfusableDifference});
      }
    }
  }
  // Any other two items on one surface that a typical eye tells apart must
  // stay apart for every eye too, as the studio's simulation marks them.
  for (ColourVision vision : kDeficiencies) {
    for (const ConfusablePair& pair : FindConfusablePairs(theme, vision)) {
      const bool named = std::any_of(std::begin(kApartPairs), std::end(kApartPairs), [&](const ItemPair& p) {
        return p.first == pair.first && p.second == pair.second;
      });
      if (!named) {
        apart.push_back({ThemeRule::kApart, pair.first, pair.second, vision, pair.difference,
                         kConfusableDifference});
      }
    }
  }
  check.breaches.insert(check.breaches.end(), apart.begin(), apart.end());
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

void CheckLikeSource(const ThemeValues& theme, COLORREF source, ThemeRuleCheck& check) {
  check.source = ToLch(source);
  if (check.source.c <= kSourceChroma) {
    // A grey source: a grey window, and nothing much more colourful.
    for (int n = 1; n <= ThemeValues::kItemCount; ++n) {
      const double c = ToLch(theme.Item(n)).c;
      const double limit = n == kWindowBackgroundItem ? kSourceChroma : kGreyThemeChroma;
      if (c > limit) check.breaches.push_back({ThemeRule::kLikeSource, n, 0, ColourVision::kTypical, c, limit});
    }
    return;
  }
  // The hue's distance, or more than any reach for a colour too grey to have one.
  auto distance = [&](int n) {
    const LchColour lch = ToLch(theme.Item(n));
    return lch.c > kSourceChroma ? HueDistance(lch.h, check.source.h) : kNoHue;
  };
  const double window = distance(kWindowBackgroundItem);
  if (window <= kHueReach) {
    check.window_carries_hue = true;
    check.hue_distance = window;
    return;
  }
  std::vector<RuleBreach> far;
  for (int n : kAccentItems) {
    const double d = distance(n);
    check.hue_distance = std::max(check.hue_distance, d);
    if (d > kHueReach) far.push_back({ThemeRule::kLikeSource, n, 0, ColourVision::kTypical, d, kHueReach});
  }
  if (!far.empty()) {
    // Neither carries it: name the window first, then the accents that stray.
    check.breaches.push_back({ThemeRule::kLikeSource, kWindowBackgroundItem, 0, ColourVision::kTypical,
                              window, kHueReach});
    check.breaches.insert(check.breaches.end(), far.begin(), far.end());
  }
}

}  // namespace

ThemeRuleCheck CheckMadeTheme(const ThemeValues& theme, COLORREF source) {
  ThemeRuleCheck check;
  CheckReadable(theme, check);
  CheckEveryEye(theme, check);
  CheckHierarchy(theme, check);
  CheckLikeSource(theme, source, check);
  return check;
}
