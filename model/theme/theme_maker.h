// Makes a whole theme of the 20 items from one source colour: tonal choices
// around the source's hue in CIE LCh, searched so that the theme holds every
// rule of model/checks/theme_rules.h with room to spare. Light or dark, in
// one of two styles, at one of two contrast levels; either among the 65
// swatches only (the phone's own app can then set the same theme by hand)
// or among any colours. The same request always gives the same theme. When
// no theme holds every rule, the closest one, with the rules it breaks.
#pragma once

#include <string>
#include <vector>

#include "model/checks/theme_rules.h"
#include "model/theme/theme_values.h"

// Soft: the window a near-neutral tint of the source (chroma at most
// kSoftWindowChroma), the accents carrying its hue. Vivid: the source
// itself, or its nearest readable tone, on the window.
enum class ThemeStyle { kSoft, kVivid };
inline constexpr double kSoftWindowChroma = 16;
// "soft", "vivid", as the command line writes them.
const char* ThemeStyleId(ThemeStyle style);

struct MakeOptions {
  bool dark = false;
  bool exact = false;  // any colour; else swatches only
  ThemeStyle style = ThemeStyle::kSoft;
  ContrastLevel contrast = ContrastLevel::kStandard;
};

struct MadeTheme {
  ThemeValues values;  // every item stored
  COLORREF source = 0;
  MakeOptions options;
  ThemeRuleCheck check;  // the rules, as checked after the theme was made

  bool passes() const { return check.passes(); }
  ThemeValues Snapshot() const;
};

// The best theme from `source`.
MadeTheme MakeTheme(COLORREF source, const MakeOptions& options);
// The same among the colours of `palette` alone (options.exact is ignored).
MadeTheme MakeThemeFromPalette(COLORREF source, const MakeOptions& options,
                               const std::vector<COLORREF>& palette);

// Four themes to choose from, MakeTheme's each: soft light, vivid light,
// soft dark, vivid dark.
std::vector<MadeTheme> MakeThemeCandidates(COLORREF source, bool exact, ContrastLevel contrast);

// What a made theme is called after its source's name when none is given:
// "#3366CC 柔和 浅色", "#3366CC 鲜明 深色 高对比". The name is the theme's,
// kept in the themes folder, the same from the command line and the window.
std::string MadeThemeName(const std::string& source_name, const MakeOptions& options);
