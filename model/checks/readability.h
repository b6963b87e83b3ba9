// Whether a theme text can be read on the surface the phone draws it on,
// measured two ways: the WCAG 2 contrast ratio and the APCA lightness
// contrast. The rules (which figure each needs) are kept here and nowhere
// else.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/win/theme_schema.h"
#include "platform/win/win_types.h"
#include "model/checks/colour_science.h"
#include "model/theme/theme_values.h"

// Text this large (in pixels), or this large and bold, is large text.
inline constexpr double kLargeTextPx = 24;
inline constexpr double kLargeBoldTextPx = 18.66;
// WCAG 2 level AA: contrast ratio for small and for large text.
inline constexpr double kSmallTextRatio = 4.5;
inline constexpr double kLargeTextRatio = 3.0;
// APCA: |Lc| for small and for large text.
inline constexpr double kSmallTextLc = 60;
inline constexpr double kLargeTextLc = 45;
// Two colours closer than this (CIEDE2000) are hard to tell apart.
inline constexpr double kConfusableDifference = 10;

struct Readability {
  COLORREF text = 0;
  COLORREF surface = 0;
  double ratio = 1;        // WCAG 2, 1 to 21
  double lc = 0;           // APCA, signed, 100 times Lc
  bool large = false;      // judged by the rules for large text
  bool exempt = false;     // shown, never failing (a disabled control's text)

  double needed_ratio() const { return large ? kLargeTextRatio : kSmallTextRatio; }
  double needed_lc() const { return large ? kLargeTextLc : kSmallTextLc; }
  bool ratio_ok() const { return ratio >= needed_ratio(); }
  bool lc_ok() const { return lc >= needed_lc() || -lc >= needed_lc(); }
  bool passes() const { return exempt || (ratio_ok() && lc_ok()); }
};

// The surface item `number` (1 to 20) is drawn on, as the theme's schema says.
inline ThemeSurface SurfaceOf(int number) {
  return number >= 1 && number <= static_cast<int>(kThemeItemCount)
             ? kThemeSchema[static_cast<std::size_t>(number - 1)].surface
             : ThemeSurface::kNone;
}
// The colour of a surface in `theme`; the window background is item 4.
inline COLORREF SurfaceColor(ThemeSurface surface, const ThemeValues& theme) {
  return SurfaceColor(surface, theme.Item(kWindowBackgroundItem));
}

// `text` at `px` pixels (bold or not) on `surface`.
Readability JudgeText(COLORREF text, COLORREF surface, double px, bool bold, bool exempt = false);

// The text items that a person with `vision` can hardly tell from the
// surface they are drawn on (CIEDE2000 under kConfusableDifference), though
// in typical vision they can: in menu order.
std::vector<int> FindVanishingItems(const ThemeValues& theme, ColourVision vision);

// The figures as every view shows them, cut and never rounded, so that a
// text just under a rule never shows the rule's own figure: the ratio to
// one decimal ("4.4:1"), |Lc| to a whole number ("55").
std::string RatioFigure(double ratio);
std::string LcFigure(double lc);

// Item `number` in `theme` on the surface it is drawn on, by the rule of its
// smallest text there; none for an item that is itself a surface.
std::optional<Readability> JudgeItem(const ThemeValues& theme, int number);

// True when `number` fails in `theme`.
bool ItemFails(const ThemeValues& theme, int number);

// For an item that fails: the control id of the swatch nearest its colour
// (CIEDE2000) with which it would pass; none when it passes or no swatch does.
std::optional<int> NearestPassingSwatch(const ThemeValues& theme, int number);

// The swatch whose value the colour is, all 32 bits; none for a colour of
// one's own ("custom").
std::optional<int> SwatchOf(COLORREF color);

struct ReadabilityWarning {
  int item = 0;        // menu number
  double ratio = 1.0;  // WCAG contrast with the surface, 1 to 21
  Readability figures;
  bool default_fails = false;  // the item is at its default, and the default fails too
};

// The items that fail on the surface the phone draws them on, in menu order.
std::vector<ReadabilityWarning> FindReadabilityWarnings(const ThemeValues& theme);

// A surface as scripts name it ("window-bg").
const char* SurfaceId(ThemeSurface surface);

// Two items drawn on one surface (a surface that is itself an item counts as
// drawn there) that a person with `vision` can hardly tell apart, though
// they differ for others. Lower number first, in order.
struct ConfusablePair {
  int first = 0;
  int second = 0;
  double difference = 0;  // CIEDE2000 as seen with the deficiency
};
std::vector<ConfusablePair> FindConfusablePairs(const ThemeValues& theme, ColourVision vision);
