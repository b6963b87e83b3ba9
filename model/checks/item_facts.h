// Everything the studio says of one theme item: its value, the swatch that
// writes it, how well it reads on the surface it is drawn on, whether its
// default reads badly too, the nearest swatch that would read well, and,
// for the item that is a surface itself, the items read against it. The
// theme report prints these; the item card shows them.
#pragma once

#include <optional>
#include <vector>

#include "model/theme_targets.h"
#include "model/checks/readability.h"
#include "model/theme/theme_values.h"

struct ItemFacts {
  int number = 0;
  const ThemeTarget* target = nullptr;
  COLORREF value = 0;           // the colour it is drawn in
  bool stored = false;          // the registry holds it (else: the default)
  std::optional<int> swatch;    // for a stored value: the swatch it is; none for a colour of one's own

  // A stored colour that is none of the swatches.
  bool custom() const { return stored && !swatch; }
  ThemeSurface surface = ThemeSurface::kNone;
  std::optional<Readability> figures;  // none for an item that is a surface
  bool default_fails = false;          // its default colour fails on its surface too
  std::optional<int> suggestion;       // nearest passing swatch, for an item that fails
  std::vector<int> drawn_on_it;        // for a surface item: the items read against it

  bool fails() const { return figures && !figures->passes(); }
};

// Item `number` (1 to kThemeTargetCount) in `theme`.
ItemFacts DescribeItem(const ThemeValues& theme, int number);

// Whether item `number` set to `color` would make a text hard to read: the
// item itself, or for a surface item any item read against it.
bool HardToReadWith(const ThemeValues& theme, int number, COLORREF color);
