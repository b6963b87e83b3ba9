#include "model/checks/readability.h"

#include <cmath>
#include <cstdio>

#include <limits>

#include "model/color_swatches.h"
#include "platform/win/color_contrast.h"

Readability JudgeText(COLORREF text, COLORREF surface, double px, bool bold, bool exempt) {
  Readability r;
  r.text = text;
  r.surface = surface;
  r.ratio = ContrastRatio(text, surface);
  r.lc = ApcaContrast(text, surface);
  r.large = px >= kLargeTextPx || (bold && px >= kLargeBoldTextPx);
  r.exempt = exempt;
  return r;
}

namespace {

// Item `number` judged with `text` as its colour on `surface`: by the
// smallest text the phone draws in it, the strictest rule.
std::optional<Readability> JudgeAs(int number, COLORREF text, COLORREF surface) {
  const ThemeItemSchema& item = kThemeSchema[static_cast<std::size_t>(number - 1)];
  if (item.kind == ThemeItemKind::kSurface) return std::nullopt;
  return JudgeText(text, surface, item.text_px, item.bold, item.kind == ThemeItemKind::kDisabledText);
}

}  // namespace

std::optional<Readability> JudgeItem(const ThemeValues& theme, int number) {
  if (number < 1 || number > static_cast<int>(kThemeItemCount)) return std::nullopt;
  return JudgeAs(number, theme.Item(number), SurfaceColor(SurfaceOf(number), theme));
}

bool ItemFails(const ThemeValues& theme, int number) {
  const std::optional<Readability> r = JudgeItem(theme, number);
  return r.has_value() && !r->passes();
}

std::optional<int> NearestPassingSwatch(const ThemeValues& theme, int number) {
  if (!ItemFails(theme, number)) return std::nullopt;
  const COLORREF now = theme.Item(number);
  const COLORREF surface = SurfaceColor(SurfaceOf(number), theme);
  std::optional<int> best;
  double nearest = std::numeric_limits<double>::infinity();
  for (const ColorSwatch& swatch : kColorSwatches) {
    const std::optional<Readability> r = JudgeAs(number, swatch.color, surface);
    if (!r || !r->passes()) continue;
    const double d = ColourDifference(now, swatch.color);
    if (d < nearest) {
      nearest = d;
      best = swatch.control_id;
    }
  }
  return best;
}

std::optional<int> SwatchOf(COLORREF color) {
  for (const ColorSwatch& swatch : kColorSwatches) {
    if (swatch.color == color) return swatch.control_id;
  }
  return std::nullopt;
}

std::vector<ReadabilityWarning> FindReadabilityWarnings(const ThemeValues& theme) {
  static const ThemeValues defaults;
  std::vector<ReadabilityWarning> warnings;
  for (int item = 1; item <= static_cast<int>(kThemeItemCount); ++item) {
    const std::optional<Readability> r = JudgeItem(theme, item);
    if (!r || r->passes()) continue;
    const bool at_default = theme.Item(item) == defaults.Item(item) &&
                            SurfaceColor(SurfaceOf(item), theme) ==
                                SurfaceColor(SurfaceOf(item), defaults);
    warnings.push_back({item, r->ratio, *r, at_default});
  }
  return warnings;
}

const char* SurfaceId(ThemeSurface surface) {
  switch (surface) {
    case ThemeSurface::kWallpaper: return "lock-wallpaper";
    case ThemeSurface::kTipBox: return "mute-tip";
    case ThemeSurface::kPlayer: return "music-player";
    case ThemeSurface::kCalendarPage: return "calendar-page";
    case ThemeSurface::kButtonFace: return "button-face";
    case ThemeSurface::kToolbar: return "toolbar";
    case ThemeSurface::kWindowBackground: return "window-bg";
    case ThemeSurface::kNone: break;
  }
  return "";
}

std::vector<ConfusablePair> FindConfusablePairs(const ThemeValues& theme, ColourVision vision) {
  // Who is drawn on which surface: the items read against it, and the
  // window background item itself.
  auto surface_of = [](int number) {
    return number == kWindowBackgroundItem ? ThemeSurface::kWindowBackground : SurfaceOf(number);
  };
  const int count = static_cast<int>(kThemeItemCount);
  std::vector<LabColour> usual(count + 1), seen(count + 1);
  for (int n = 1; n <= count; ++n) {
    usual[n] = ToLab(theme.Item(n));
    seen[n] = ToLab(SeenWith(vision, theme.Item(n)));
  }
  std::vector<ConfusablePair> pairs;
  for (int a = 1; a <= count; ++a) {
    for (int b = a + 1; b <= count; ++b) {
      if (surface_of(a) != surface_of(b) || surface_of(a) == ThemeSurface::kNone) continue;
      if (ColourDifference(usual[a], usual[b]) < kConfusableDifference) continue;  // alike for all
      const double difference = ColourDifference(seen[a], seen[b]);
      if (difference < kConfusableDifference) pairs.push_back({a, b, difference});
    }
  }
  return pairs;
}

std::string RatioFigure(double ratio) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f:1", std::floor(ratio * 10 + 1e-9) / 10);
  return text;
}

std::string LcFigure(double lc) {
  char text[32];
  std::snprintf(text, sizeof text, "%.0f", std::trunc(std::fabs(lc) + 1e-9));
  return text;
}

std::vector<int> FindVanishingItems(const ThemeValues& theme, ColourVision vision) {
  std::vector<int> items;
  for (int n = 1; n <= static_cast<int>(kThemeItemCount); ++n) {
    const std::optional<Readability> r = JudgeItem(theme, n);
    if (!r) continue;
    if (ColourDifference(r->text, r->surface) < kConfusableDifference) continue;  // alike for all
    if (ColourDifference(SeenWith(vision, r->text), SeenWith(vision, r->surface)) < kConfusableDifference) {
      items.push_back(n);
    }
  }
  return items;
}
