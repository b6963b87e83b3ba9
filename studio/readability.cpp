#include "studio/readability.h"

#include <limits>

#include "model/color_swatches.h"
#include "platform/shell/color.h"
#include "studio/item_places.h"

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

// The item's row judged with `text` as its colour: by the smallest of its
// texts, the strictest rule.
std::optional<Readability> JudgeRow(const ItemPlacement& row, COLORREF text, COLORREF surface) {
  if (row.surface == ItemSurface::kNone) return std::nullopt;
  const ItemPlace* smallest = nullptr;
  for (const ItemPlace& place : row.places) {
    if (place.empty() || place.kind == ItemPlace::Kind::kFill) continue;
    if (smallest == nullptr || place.px < smallest->px) smallest = &place;
  }
  if (smallest == nullptr) return std::nullopt;
  return JudgeText(text, surface, smallest->px, smallest->bold, row.inactive);
}

}  // namespace

std::optional<Readability> JudgeItem(const ThemeSnapshot& theme, int number) {
  const ItemPlacement& row = PlacementOf(number);
  return JudgeRow(row, theme.Item(number), SurfaceColor(row.surface, theme));
}

bool ItemFails(const ThemeSnapshot& theme, int number) {
  const std::optional<Readability> r = JudgeItem(theme, number);
  return r.has_value() && !r->passes();
}

std::optional<int> NearestPassingSwatch(const ThemeSnapshot& theme, int number) {
  if (!ItemFails(theme, number)) return std::nullopt;
  const ItemPlacement& row = PlacementOf(number);
  const COLORREF now = theme.Item(number);
  const COLORREF surface = SurfaceColor(row.surface, theme);
  std::optional<int> best;
  double nearest = std::numeric_limits<double>::infinity();
  for (const ColorSwatch& swatch : kColorSwatches) {
    const std::optional<Readability> r = JudgeRow(row, swatch.color, surface);
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

std::vector<ConfusablePair> FindConfusablePairs(const ThemeSnapshot& theme, ColourVision vision) {
  // Who is drawn on which surface: the items read against it, and the
  // window background item itself.
  auto surface_of = [](int number) {
    const ItemPlacement& row = PlacementOf(number);
    return number == kWindowBackgroundItem ? ItemSurface::kWindowBackground
                                                            : row.surface;
  };
  const int count = static_cast<int>(kThemeTargetCount);
  std::vector<LabColour> usual(count + 1), seen(count + 1);
  for (int n = 1; n <= count; ++n) {
    usual[n] = ToLab(theme.Item(n));
    seen[n] = ToLab(SeenWith(vision, theme.Item(n)));
  }
  std::vector<ConfusablePair> pairs;
  for (int a = 1; a <= count; ++a) {
    for (int b = a + 1; b <= count; ++b) {
      if (surface_of(a) != surface_of(b) || surface_of(a) == ItemSurface::kNone) continue;
      if (ColourDifference(usual[a], usual[b]) < kConfusableDifference) continue;  // alike for all
      const double difference = ColourDifference(seen[a], seen[b]);
      if (difference < kConfusableDifference) pairs.push_back({a, b, difference});
    }
  }
  return pairs;
}
