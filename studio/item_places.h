// Where the sample screens draw each theme item, as data: one row per item of
// the model's table, in menu order, giving the screen, the rectangles of its
// texts (with their size and weight), the surface the item is read against
// and the spot its readability chip takes. Painting, readability and
// pointing at an item all read these rows.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "model/theme_targets.h"
#include "platform/shell/draw_text_flags.h"
#include "platform/win/win_types.h"
#include "studio/theme_snapshot.h"

// The area the screens take, in the panel's logical pixels.
inline constexpr int kSampleScreensTop = 94;
inline constexpr int kSampleScreensWidth = 520;
inline constexpr int kSampleScreensHeight = 622;

enum class SampleScreen { kLockScreen, kMusicPlayer, kCalendar, kSettings };

// The item that is the window background the settings window's texts are
// read against.
inline constexpr int kWindowBackgroundItem = 4;

// What an item is read against: a colour of the phone's own artwork, or the
// window background (itself a theme item).
enum class ItemSurface {
  kNone,  // the item is a surface itself
  kWallpaper,
  kTipBox,
  kPlayer,
  kCalendarPage,
  kButtonFace,
  kToolbar,
  kWindowBackground,
};

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

  bool empty() const { return rect.right <= rect.left; }
};

struct ItemPlacement {
  int number = 0;  // as in the target menu
  SampleScreen screen = SampleScreen::kSettings;
  ItemSurface surface = ItemSurface::kNone;
  bool inactive = false;  // a disabled control's text: figures shown, never failing
  std::array<ItemPlace, 2> places{};  // the second may be empty
  RECT chip{};  // where the readability chip goes; empty for an item that never fails
};

// The rows, one per theme item, in menu order.
const std::array<ItemPlacement, kThemeTargetCount>& ItemPlacements();
// The row of item `number` (1 to kThemeTargetCount).
const ItemPlacement& PlacementOf(int number);

// The card a screen is drawn on, in panel coordinates.
RECT ScreenCard(SampleScreen screen);

// The colour of a surface in `theme`; the window background is item 4.
COLORREF SurfaceColor(ItemSurface surface, const ThemeSnapshot& theme);
// A surface as scripts name it ("window-bg") and as the studio names it.
const char* SurfaceId(ItemSurface surface);
const char16_t* SurfaceTitle(ItemSurface surface);

// The item drawn at (x, y), panel coordinates (its text, badge or chip, or
// for a surface item anywhere else on it); 0 for none.
int ItemAt(int x, int y);

inline bool InsideRect(const RECT& r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}
