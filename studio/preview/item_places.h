// Where the sample screens draw each theme item, as data: one row per item of
// the model's table, in menu order, giving the screen, the rectangles of its
// texts (with their size and weight) and the spot its readability chip takes. Painting, readability and
// pointing at an item all read these rows.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "model/theme_targets.h"
#include "platform/shell/draw_text_flags.h"
#include "platform/win/theme_schema.h"
#include "platform/win/win_types.h"
#include "model/theme/theme_values.h"

// The area the screens take, in the panel's logical pixels.
inline constexpr int kSampleScreensTop = 94;
inline constexpr int kSampleScreensWidth = 520;
inline constexpr int kSampleScreensHeight = 622;

enum class SampleScreen { kLockScreen, kMusicPlayer, kCalendar, kSettings };

struct ItemPlace {
  enum class Kind {
    kText,    // the text in the item's colour, its badge after it
    kShadow,  // the item is the shadow under a white text
    kFill,    // the item fills the rectangle; its badge sits at the top right
  };
  Kind kind = Kind::kText;
  RECT rect{};  // the text and its badge fit inside; no two places overlap
  std::u16string_view text;
  UINT align = DT_LEFT;  // DT_LEFT, DT_CENTER or DT_RIGHT; one line, centred vertically
  double px = 0;         // font size in pixels
  bool bold = false;
  bool badge = true;  // this text carries the item's number

  constexpr bool empty() const { return rect.right <= rect.left; }
};

struct ItemPlacement {
  int number = 0;  // as in the target menu
  SampleScreen screen = SampleScreen::kSettings;
  std::array<ItemPlace, 2> places{};  // the second may be empty
  RECT chip{};  // where the readability chip goes; empty for an item that never fails
};

// The rows, one per theme item, in menu order.
const std::array<ItemPlacement, kThemeTargetCount>& ItemPlacements();
// The row of item `number` (1 to kThemeTargetCount).
const ItemPlacement& PlacementOf(int number);

// The card a screen is drawn on, in panel coordinates.
RECT ScreenCard(SampleScreen screen);

// A surface as the studio names it.
const char16_t* SurfaceTitle(ThemeSurface surface);

// The item drawn at (x, y), panel coordinates (its text, badge or chip, or
// for a surface item anywhere else on it); 0 for none.
int ItemAt(int x, int y);

inline bool InsideRect(const RECT& r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}
