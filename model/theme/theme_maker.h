// Makes a whole theme of the 20 items from one source colour, light or dark:
// tonal choices around the source's hue in CIE LCh, searched so that the
// theme holds every rule of model/checks/theme_rules.h. Either among the 65
// swatches only (the phone's own app can then set the same theme by hand) or
// among any colours. The same request always gives the same theme. When no
// theme holds every rule, the closest one, with the rules it breaks.
#pragma once

#include <vector>

#include "model/checks/theme_rules.h"
#include "model/theme/theme_values.h"

struct MadeTheme {
  ThemeValues values;  // every item stored
  COLORREF source = 0;
  bool dark = false;
  bool exact = false;    // any colour; else swatches only
  ThemeRuleCheck check;  // the rules, as checked after the theme was made

  bool passes() const { return check.passes(); }
  ThemeValues Snapshot() const;
};

// The best theme from `source`.
MadeTheme MakeTheme(COLORREF source, bool dark, bool exact);

// Four themes to choose from: two light, then two dark, each pair best first
// (the first of each is MakeTheme's) and on two different window
// backgrounds where the choices allow.
std::vector<MadeTheme> MakeThemeCandidates(COLORREF source, bool exact);
