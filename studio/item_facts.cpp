#include "studio/item_facts.h"

#include "studio/sample_screens.h"

ItemFacts DescribeItem(const ThemeSnapshot& theme, int number) {
  static const std::vector<ReadabilityWarning> defaults = FindReadabilityWarnings(ThemeSnapshot());
  ItemFacts f;
  f.number = number;
  f.target = &kThemeTargets[static_cast<std::size_t>(number - 1)];
  f.value = theme.Item(number);
  f.swatch = SwatchOf(f.value);
  f.surface = PlacementOf(number).surface;
  f.figures = JudgeItem(theme, number);
  for (const ReadabilityWarning& w : defaults) f.default_fails |= w.item == number;
  f.suggestion = NearestPassingSwatch(theme, number);
  if (number == kWindowBackgroundItem) {
    for (const ItemPlacement& row : ItemPlacements()) {
      if (row.surface == ItemSurface::kWindowBackground) f.drawn_on_it.push_back(row.number);
    }
  }
  return f;
}

bool HardToReadWith(const ThemeSnapshot& theme, int number, COLORREF color) {
  const ThemeSnapshot changed = theme.With(number, color);
  if (number != kWindowBackgroundItem) return ItemFails(changed, number);
  for (const ItemPlacement& row : ItemPlacements()) {
    if (row.surface == ItemSurface::kWindowBackground && ItemFails(changed, row.number)) return true;
  }
  return false;
}
