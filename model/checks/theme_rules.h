// What a theme made from one source colour must hold before it is saved:
// every item readable by the report's rule, every text still readable under
// each colour-vision simulation, the texts a reader tells apart on one
// surface still apart, the hierarchy of each surface, a likeness to the
// source's hue, and harmony (no colourful item far from that hue). Each need
// is held with room to spare, so that a checker using another common white
// point (D65 rather than the program's D50) or rounding otherwise agrees.
// Judged with the program's own figures; no words for people.
#pragma once

#include <array>
#include <string_view>
#include <vector>

#include "model/checks/colour_science.h"
#include "model/checks/readability.h"
#include "model/theme/theme_values.h"
#include "platform/win/win_types.h"

enum class ThemeRule {
  kReadable,        // every item passes the report's rule (WCAG 2 by size, APCA)
  kReadableByAll,   // under each simulation every text meets the WCAG 2 rule
  kApart,           // the pairs a reader tells apart differ by CIEDE2000 >= 10
                    // for every eye; other items on one surface are alike or apart
  kHierarchy,       // each surface's primary text has more contrast than the rest
  kLikeSource,      // the source's hue on the window or the accents; grey for grey
  kHarmony,         // every colourful item near the source's hue; a grey source, all grey
};
inline constexpr ThemeRule kThemeRules[] = {ThemeRule::kReadable, ThemeRule::kReadableByAll,
                                            ThemeRule::kApart, ThemeRule::kHierarchy,
                                            ThemeRule::kLikeSource, ThemeRule::kHarmony};
// "readable", "readable-by-all", "apart", "hierarchy", "like-source", "harmony".
const char* ThemeRuleId(ThemeRule rule);

// How much contrast every text needs: the standard (WCAG 2 AA by text size)
// or high (at least 7:1 for every text, WCAG AAA, for low vision).
enum class ContrastLevel { kStandard, kHigh };
inline constexpr double kHighTextRatio = 7;

// The room a made theme keeps over each need it prints.
inline constexpr double kRatioRoom = 0.1;   // WCAG 2 ratio
inline constexpr double kLcRoom = 1;        // APCA |Lc|
inline constexpr double kApartRoom = 0.5;   // CIEDE2000: 10.5 where 10 is needed
inline constexpr double kHueRoom = 2;       // degrees: 28 where 30 is allowed
inline constexpr double kChromaRoom = 1.5;  // chroma: a colour this near the line counts on both sides

// A source with more chroma than this (CIE LCh) has a hue a theme must keep;
// the window background or an accent carries it within kHueReach degrees.
inline constexpr double kSourceChroma = 10;
inline constexpr double kHueReach = 30;
// The hue distance of a colour too grey to have a hue: farther than any.
inline constexpr double kNoHue = 360;
// Harmony: every item with more chroma than kSourceChroma lies within this
// many degrees of a coloured source's hue.
inline constexpr double kHarmonyReach = 60;

// Two items that a reader tells apart on one surface, and a primary text with
// the secondary text it must outrank, by menu number.
struct ItemPair {
  int first;
  int second;
};
// The list's three text levels, the button's two, the window text and the
// description.
inline constexpr ItemPair kApartPairs[] = {{15, 16}, {15, 17}, {16, 17}, {6, 7}, {5, 12}};
// Primary before secondary: window text and list text over the description,
// the button's and the list's levels, the lock screen's date over its
// weekday, the calendar's title over its note, the toolbar over its
// disabled text.
inline constexpr ItemPair kHierarchyPairs[] = {{5, 12}, {15, 12}, {6, 7},  {15, 16},
                                               {15, 17}, {3, 2},  {9, 10}, {14, 13}};
// The accent texts: the list's second and third levels, the caption, the
// calendar's title.
inline constexpr int kAccentItems[] = {16, 17, 20, 9};

// One rule not met, and where.
struct RuleBreach {
  ThemeRule rule = ThemeRule::kReadable;
  int item = 0;   // the item (the first of a pair); 0 for the theme as a whole
  int other = 0;  // the second of a pair, else 0
  ColourVision vision = ColourVision::kTypical;
  double figure = 0;  // the ratio, difference or hue distance found
  double needed = 0;  // what the rule needs
};

// How the theme fares for one way of seeing: its weakest text and its
// closest pair.
struct VisionFigures {
  ColourVision vision = ColourVision::kTypical;
  int weakest_item = 0;
  double weakest_ratio = 21;  // WCAG 2 of the weakest text (simulated colours)
  double weakest_needed = 0;
  ItemPair closest{0, 0};
  double closest_difference = 0;  // CIEDE2000 of the closest pair (simulated)
};

struct ThemeRuleCheck {
  std::vector<RuleBreach> breaches;  // in rule order, then item order
  std::array<VisionFigures, 4> visions{};  // typical, protan, deutan, tritan
  LchColour source{};
  bool window_carries_hue = false;  // else the accents do (or the source is grey)
  double hue_distance = 0;          // the largest distance of the carrier(s), degrees

  bool passes() const { return breaches.empty(); }
  bool Breaks(ThemeRule rule) const;
};

// The WCAG 2 ratio text judged as `r` needs at `level` (0 for exempt text),
// and whether it holds it, and the report's APCA rule, with room to spare.
double NeededRatio(const Readability& r, ContrastLevel level);
bool ReadableWithRoom(const Readability& r, double ratio, ContrastLevel level);

// Whether a colour of this LCh may stand in a theme made from `source` by
// the harmony rule, with room: grey enough, or near enough the source's hue.
bool InHarmony(const LchColour& colour, const LchColour& source);

// Checks `theme`, made from `source`, against every rule at `level`.
ThemeRuleCheck CheckMadeTheme(const ThemeValues& theme, COLORREF source,
                              ContrastLevel level = ContrastLevel::kStandard);
