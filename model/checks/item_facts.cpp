#include "model/checks/item_facts.h"

#include "model/checks/readability.h"

ItemFacts DescribeItem(const ThemeValues& theme, int number) {
  static const std::vector<ReadabilityWarning> defaults = FindReadabilityWarnings(ThemeValues());
  ItemFacts f;
  f.number = number;
  f.target = &kThemeTargets[static_cast<std::size_t>(number - 1)];
  f.value = theme.Item(number);
  f.stored = theme.Stored(number);
  if (f.stored) f.swatch = SwatchOf(f.value);
  f.surface = SurfaceOf(number);
  f.figures = JudgeItem(theme, number);
  for (const ReadabilityWarning& w : defaults) f.default_fails |= w.item == number;
  f.suggestion = NearestPassingSwatch(theme, number);
  if (number == kWindowBackgroundItem) {
    for (int n = 1; n <= static_cast<int>(kThemeItemCount); ++n) {
      if (SurfaceOf(n) == ThemeSurface::kWindowBackground) f.drawn_on_it.push_back(n);
    }
  }
  return f;
}

bool HardToReadWith(const ThemeValues& theme, int number, COLORREF color) {
  const ThemeValues changed = theme.With(number, color);
  if (number != kWindowBackgroundItem) return ItemFails(changed, number);
  for (int n = 1; n <= static_cast<int>(kThemeItemCount); ++n) {
    if (SurfaceOf(n) == ThemeSurface::kWindowBackground && ItemFails(changed, n)) return true;
  }
  return false;
}
