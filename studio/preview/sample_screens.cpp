#include "studio/preview/sample_screens.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "platform/shell/canvas.h"
#include "platform/shell/color.h"
#include "platform/file/utf16.h"
#include "studio/studio_texts.h"

namespace {

const Color kCaption = Color::Rgb(0xB8, 0xBE, 0xC8);
const Color kLyricDim = Color::Rgb(0x7C, 0x84, 0x92);
const Color kLyricNow = Color::Rgb(0xFF, 0xFF, 0xFF);
const Color kCalendarDigit = Color::Rgb(0x44, 0x48, 0x50);
const Color kToday = Color::Rgb(0x2F, 0x80, 0xED);
const Color kHairline = Color::Rgb(0x80, 0x80, 0x80, 0.35);
const Color kBadge = Color::Rgb(0x25, 0x63, 0xD8);
const Color kBadgeRim = Color::Rgb(0xFF, 0xFF, 0xFF);
const Color kWarning = Color::Rgb(0xFF, 0xB4, 0x1E);
const Color kWarningInk = Color::Rgb(0x1E, 0x1E, 0x1E);
const Color kWarningPill = Color::Rgb(0x1E, 0x1E, 0x1E, 0.92);
constexpr COLORREF kToolbarTop = RGB(0x3C, 0x3D, 0x40);
constexpr COLORREF kToolbarBottom = RGB(0x06, 0x06, 0x07);

constexpr double kBadgeRadius = 8;
constexpr int kBadgeGap = 4;
constexpr double kCardRadius = 10;
constexpr double kChipPx = 10;
constexpr double kNotePx = 11.5;  // the line between the cards and the window

const ReadabilityWarning* WarningOf(const std::vector<ReadabilityWarning>& warnings, int item) {
  for (const ReadabilityWarning& w : warnings) {
    if (w.item == item) return &w;
  }
  return nullptr;
}

// Draws theme items from their rows, each text followed by its badge.
class ScreenPainter {
 public:
  ScreenPainter(Canvas& canvas, const ThemeValues& theme,
                const std::vector<ReadabilityWarning>& warnings)
      : canvas_(canvas), theme_(theme), warnings_(warnings) {}

  Canvas& canvas() { return canvas_; }
  Color Of(int item) const { return Color::FromColorRef(theme_.Item(item)); }

  // Every item drawn on `screen`, with its badges and chips.
  void Items(SampleScreen screen) {
    for (const ItemPlacement& row : ItemPlacements()) {
      if (row.screen != screen) continue;
      for (const ItemPlace& place : row.places) {
        if (!place.empty()) Place(row.number, place);
      }
      const ReadabilityWarning* warning = WarningOf(warnings_, row.number);
      if (warning != nullptr && row.chip.right > row.chip.left) Chip(row.chip, *warning);
    }
  }

 private:
  void Place(int item, const ItemPlace& place) {
    const RECT& rc = place.rect;
    switch (place.kind) {
      case ItemPlace::Kind::kFill:
        Badge(item, rc.right - 16, rc.top + 23, true);
        return;
      case ItemPlace::Kind::kShadow: {
        // The lyric in white over its shadow; the badge after both.
        const UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
        const int width = Canvas::MeasureText(place.text, rc.right - rc.left, rc.bottom - rc.top,
                                              format, place.px, place.bold).width;
        const int left = rc.left + (rc.right - rc.left - width - kBadgeGap - 16) / 2;
        const RECT text{left, rc.top, left + width + 4, rc.bottom - 2};
        canvas_.DrawText(place.text, RECT{text.left + 2, text.top + 2, text.right + 2, text.bottom + 2},
                         DT_LEFT | DT_VCENTER | DT_SINGLELINE, Of(item), place.px, place.bold);
        canvas_.DrawText(place.text, text, DT_LEFT | DT_VCENTER | DT_SINGLELINE, kLyricNow,
                         place.px, place.bold);
        Badge(item, left + width + kBadgeGap + 2, (text.top + text.bottom) / 2.0 + 1, false);
        return;
      }
      case ItemPlace::Kind::kText:
        Text(item, place);
        return;
    }
  }

  // One line in the item's colour, vertically centred in its rectangle; the
  // badge comes after it, or before it for right-aligned text, and centred
  // text is centred together with its badge.
  void Text(int item, const ItemPlace& place) {
    RECT rc = place.rect;
    UINT align = place.align;
    const UINT format = DT_VCENTER | DT_SINGLELINE;
    if (place.badge && (align & DT_CENTER)) {
      const int width = Canvas::MeasureText(place.text, rc.right - rc.left, rc.bottom - rc.top,
                                            DT_LEFT | format, place.px, place.bold).width;
      rc.left += (rc.right - rc.left - width - kBadgeGap - static_cast<int>(2 * kBadgeRadius)) / 2;
      align = DT_LEFT;
    }
    const TextMetrics m =
        canvas_.DrawText(place.text, rc, align | format, Of(item), place.px, place.bold);
    if (!place.badge) return;
    const double cy = (rc.top + rc.bottom) / 2.0;
    if (align & DT_RIGHT) {
      Badge(item, rc.right - m.width - kBadgeGap, cy, true);
    } else {
      Badge(item, rc.left + m.width + kBadgeGap, cy, false);
    }
  }

  // The item's number in a small disc starting at x (ending at x when
  // `leftwards`); amber when the item is hard to read.
  void Badge(int item, double x, double cy, bool leftwards) {
    const bool warned = WarningOf(warnings_, item) != nullptr;
    const double left = leftwards ? x - 2 * kBadgeRadius : x;
    canvas_.FillCircle(left + kBadgeRadius, cy, kBadgeRadius + 1, kBadgeRim);
    canvas_.FillCircle(left + kBadgeRadius, cy, kBadgeRadius, warned ? kWarning : kBadge);
    const int bx = static_cast<int>(std::lround(left));
    const int by = static_cast<int>(std::lround(cy - kBadgeRadius));
    canvas_.DrawText(Utf8ToUtf16(std::to_string(item)), RECT{bx - 2, by, bx + 18, by + 16},
                     DT_CENTER | DT_VCENTER | DT_SINGLELINE, warned ? kWarningInk : kBadgeRim,
                     item >= 10 ? 9.5 : 10.5, true);
  }

  // The chip in its own spot: words and the figure that fails.
  void Chip(const RECT& r, const ReadabilityWarning& warning) {
    const double w = r.right - r.left, h = r.bottom - r.top;
    canvas_.FillRoundRect(r.left, r.top, w, h, h / 2, kWarningPill);
    canvas_.StrokeRoundRect(r.left + 0.5, r.top + 0.5, w - 1, h - 1, h / 2 - 0.5, 1, kWarning);
    canvas_.DrawText(ChipText(warning.figures), r, DT_CENTER | DT_VCENTER | DT_SINGLELINE, kWarning,
                     kChipPx, true);
  }

  Canvas& canvas_;
  const ThemeValues& theme_;
  const std::vector<ReadabilityWarning>& warnings_;
};

// Each sample screen is a rounded card; its name sits above it on the panel.
void BeginCard(Canvas& canvas, SampleScreen screen, std::u16string_view name, Color surface) {
  const RECT card = ScreenCard(screen);
  const int w = card.right - card.left, h = card.bottom - card.top;
  canvas.DrawText(name, RECT{card.left, kSampleScreensTop, card.right, card.top - 2},
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE, kCaption, 12);
  canvas.FillRoundRect(card.left, card.top, w, h, kCardRadius, surface);
  canvas.Save();
  canvas.ClipRect(card.left, card.top, w, h);
}

void LockScreen(ScreenPainter& p, const ThemeValues& theme) {
  Canvas& c = p.canvas();
  const RECT card = ScreenCard(SampleScreen::kLockScreen);
  const int x = card.left, top = card.top;
  BeginCard(c, SampleScreen::kLockScreen, u"锁屏",
            Color::FromColorRef(SurfaceColor(ThemeSurface::kWallpaper, theme)));
  // Soft hills low on the wallpaper, clear of the texts.
  c.FillRoundRect(x + 60, top + 120, 100, 72, kCardRadius, Color::Rgb(0x3A, 0x5A, 0x8C, 0.35));
  c.FillRoundRect(x, top + 148, 110, 44, kCardRadius, Color::Rgb(0x4A, 0x6E, 0xA8, 0.25));
  // The tip the mute shortcut shows, over whatever is on the screen.
  const RECT tip = PlacementOf(11).places[0].rect;
  c.FillRoundRect(tip.left, tip.top, tip.right - tip.left, tip.bottom - tip.top, 8,
                  Color::FromColorRef(SurfaceColor(ThemeSurface::kTipBox, theme)));
  p.Items(SampleScreen::kLockScreen);
  c.Restore();
}

void MusicPlayer(ScreenPainter& p, const ThemeValues& theme) {
  Canvas& c = p.canvas();
  const RECT card = ScreenCard(SampleScreen::kMusicPlayer);
  const int x = card.left, top = card.top;
  BeginCard(c, SampleScreen::kMusicPlayer, u"音乐",
            Color::FromColorRef(SurfaceColor(ThemeSurface::kPlayer, theme)));
  const UINT centred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
  c.DrawText(u"夕阳之歌", RECT{x + 12, top + 8, x + 150, top + 26}, centred, kCaption, 12);
  c.DrawLine(x + 12, top + 31.5, x + 148, top + 31.5, 1, Color::Rgb(0xFF, 0xFF, 0xFF, 0.15));
  const double px = 12.5;
  c.DrawText(u"风吹过安静的街", RECT{x + 6, top + 36, x + 154, top + 56}, centred, kLyricDim, px);
  c.DrawText(u"把今天轻轻写下", RECT{x + 6, top + 112, x + 154, top + 132}, centred, kLyricDim, px);
  c.DrawText(u"留给明天的自己", RECT{x + 6, top + 136, x + 154, top + 156}, centred, kLyricDim, px);
  c.FillRoundRect(x + 14, top + 172, 132, 4, 2, Color::Rgb(0xFF, 0xFF, 0xFF, 0.18));
  c.FillRoundRect(x + 14, top + 172, 44, 4, 2, kToday);
  p.Items(SampleScreen::kMusicPlayer);  // the line now playing, over its shadow
  c.Restore();
}

void Calendar(ScreenPainter& p, const ThemeValues& theme) {
  Canvas& c = p.canvas();
  const RECT card = ScreenCard(SampleScreen::kCalendar);
  const int x = card.left, top = card.top;
  BeginCard(c, SampleScreen::kCalendar, u"日历",
            Color::FromColorRef(SurfaceColor(ThemeSurface::kCalendarPage, theme)));
  const char16_t* weekdays[] = {u"日", u"一", u"二", u"三", u"四", u"五", u"六"};
  const int cell = 21, row = 13;
  const int grid_left = x + (card.right - card.left - 7 * cell) / 2;
  const UINT centred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
  for (int i = 0; i < 7; ++i) {
    c.DrawText(weekdays[i], RECT{grid_left + i * cell, top + 46, grid_left + (i + 1) * cell, top + 58},
               centred, Color::Rgb(0x90, 0x94, 0x9C), 9.5);
  }
  // May 2024 starts on a Wednesday; the 15th is today.
  for (int day = 1; day <= 31; ++day) {
    const int slot = day + 2;
    const int cx = grid_left + (slot % 7) * cell;
    const int cy = top + 59 + (slot / 7) * row;
    Color digit = kCalendarDigit;
    if (day == 15) {
      c.FillCircle(cx + cell / 2.0, cy + row / 2.0, 6.5, kToday);
      digit = Color::Rgb(0xFF, 0xFF, 0xFF);
    }
    c.DrawText(Utf8ToUtf16(std::to_string(day)), RECT{cx, cy, cx + cell, cy + row}, centred, digit,
               9.5);
  }
  c.DrawLine(x + 10, top + 127.5, x + 150, top + 127.5, 1, kHairline);
  p.Items(SampleScreen::kCalendar);
  c.Restore();
}

// A settings window on the window background with its title, a list, an
// extended button, a label, static text, an edit box, a button and a toolbar.
void SettingsWindow(ScreenPainter& p, const ThemeValues& theme) {
  Canvas& c = p.canvas();
  const RECT window = ScreenCard(SampleScreen::kSettings);
  const int x = window.left, top = window.top, right = window.right;
  const int w = right - x, h = window.bottom - top;
  const RECT bar = PlacementOf(14).places[0].rect;  // the toolbar along the window's bottom
  const RECT button = PlacementOf(8).places[0].rect;
  const RECT edit = PlacementOf(19).places[0].rect;
  const RECT main_text = PlacementOf(6).places[0].rect;
  const RECT second_text = PlacementOf(7).places[0].rect;
  c.Save();
  c.ClipRect(x, top, w, h);
  c.FillRoundRect(x, top, w, bar.top - top + kCardRadius, kCardRadius,
                  Color::FromColorRef(SurfaceColor(ThemeSurface::kWindowBackground, theme)));
  c.DrawLine(x, top + 44.5, right, top + 44.5, 1, kHairline);
  c.DrawLine(x + 16, top + 95.5, right, top + 95.5, 1, kHairline);
  c.DrawLine(x, top + 147.5, right, top + 147.5, 1, kHairline);

  // An extended button: a list-like entry with a main and a secondary text.
  const double ext_top = main_text.top - 4, ext_bottom = second_text.bottom + 4;
  c.StrokeRoundRect(x + 12.5, ext_top + 0.5, w - 25, ext_bottom - ext_top - 1, 8, 1, kHairline);
  const double mid = (ext_top + ext_bottom) / 2;
  const double chevron[] = {right - 32.0, mid - 8, right - 25.0, mid, right - 32.0, mid + 8};
  c.DrawPolyline(chevron, 3, 2, Color::Rgb(0x90, 0x90, 0x90));

  c.StrokeRoundRect(x + 16.5, edit.top - 0.5, w - 33, edit.bottom - edit.top + 1, 6, 1,
                    Color::Rgb(0x9A, 0x9E, 0xA6));
  // An ordinary button.
  const double bw = button.right - button.left, bh = button.bottom - button.top;
  c.FillRoundRect(button.left, button.top, bw, bh, 8,
                  Color::FromColorRef(SurfaceColor(ThemeSurface::kButtonFace, theme)));
  c.StrokeRoundRect(button.left + 0.5, button.top + 0.5, bw - 1, bh - 1, 8, 1,
                    Color::Rgb(0xB4, 0xB8, 0xBE));

  // The toolbar: an enabled and a disabled button. Its lowest strip is the
  // gradient's last colour, with the window's rounded corners.
  const int bar_h = bar.bottom - bar.top;
  c.FillRoundRect(x, bar.bottom - 2 * kCardRadius, w, 2 * kCardRadius, kCardRadius,
                  Color::FromColorRef(kToolbarBottom));
  c.FillVerticalGradient(x, bar.top, w, bar_h - static_cast<int>(kCardRadius),
                         Color::FromColorRef(kToolbarTop), Color::FromColorRef(kToolbarBottom));
  p.Items(SampleScreen::kSettings);
  c.Restore();
}

// The line between the cards and the settings window.
RECT NoteLine() {
  const RECT lock = ScreenCard(SampleScreen::kLockScreen);
  const RECT window = ScreenCard(SampleScreen::kSettings);
  return RECT{lock.left, lock.bottom + 2, window.right, window.top - 2};
}

// Says in words which items fail in the colours they come with.
void DefaultsNote(Canvas& c, const std::vector<ReadabilityWarning>& warnings) {
  std::u16string items;
  for (const ReadabilityWarning& w : warnings) {
    if (!w.default_fails) continue;
    if (!items.empty()) items += u"、";
    items += kThemeTargets[static_cast<std::size_t>(w.item - 1)].label;
  }
  if (items.empty()) return;
  c.DrawText(u"默认颜色本身就难以阅读：" + items, NoteLine(),
             DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS, kWarning, 11.5);
}

}  // namespace

void ShowAsSeenWith(Canvas& canvas, const RECT& area, const ThemeValues& theme,
                    ColourVision vision) {
  if (vision == ColourVision::kTypical) return;
  const RECT d = canvas.DeviceRect(area.left, area.top, area.right - area.left, area.bottom - area.top);
  canvas.EditPixels(d.left, d.top, d.right - d.left, d.bottom - d.top, [vision](std::uint32_t* pixels, int width, int height, int stride) {
    SeePixelsWith(vision, pixels, width, height, stride);
  });
  // What vanishes into its own surface, then the pairs alike, as much as
  // the line holds (the counts say when there is more; an item's card names
  // all of its own); the items whose defaults read badly stay said.
  const std::vector<int> vanishing = FindVanishingItems(theme, vision);
  const std::vector<ConfusablePair> found = FindConfusablePairs(theme, vision);
  const RECT line = NoteLine();
  const int room = line.right - line.left - 12;
  const auto width_of = [&](const std::u16string& text) {
    return Canvas::MeasureText(text, 1 << 16, line.bottom - line.top, DT_LEFT | DT_SINGLELINE, kNotePx).width;
  };
  const auto number = [](int n) { return Utf8ToUtf16(std::to_string(n)); };
  std::u16string defaults;
  for (const ReadabilityWarning& w : FindReadabilityWarnings(theme)) {
    if (w.default_fails) defaults += (defaults.empty() ? u"；默认颜色本身难读：" : u"、") + number(w.item);
  }
  const std::u16string title = ColourVisionTitle(vision);
  std::u16string note = title + u"看来：";
  if (vanishing.empty() && found.empty()) note += u"每一项都还能与底色和同一表面上的项目分辨";
  // Each list shows whole entries while they fit; "……" says that more follow.
  const auto add_list = [&](std::u16string head, const std::vector<std::u16string>& entries) {
    if (entries.empty()) return;
    std::u16string shown;
    std::size_t count = 0;
    for (const std::u16string& entry : entries) {
      const std::u16string next = shown + (shown.empty() ? u"" : u"、") + entry;
      const std::u16string tail = count + 1 < entries.size() ? u"……" : u"";
      if (count > 0 && width_of(note + head + next + tail + u"）" + defaults) > room) break;
      shown = next;
      ++count;
    }
    note += head + shown + (count < entries.size() ? u"……" : u"") + u"）";
  };
  std::vector<std::u16string> entries;
  for (int n : vanishing) entries.push_back(number(n));
  add_list(number(static_cast<int>(vanishing.size())) + u" 项与底色难以分辨（", entries);
  entries.clear();
  for (const ConfusablePair& pair : found) entries.push_back(number(pair.first) + u" 与 " + number(pair.second));
  add_list(std::u16string(vanishing.empty() ? u"" : u"，") + number(static_cast<int>(found.size())) + u" 对难以区分（",
           entries);
  note += defaults;
  canvas.Save();
  canvas.FillRoundRect(line.left, line.top, line.right - line.left, line.bottom - line.top, 4,
                       Color{kWarningPill.r, kWarningPill.g, kWarningPill.b, 1});
  canvas.DrawText(note, RECT{line.left + 6, line.top, line.right - 6, line.bottom},
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS, kWarning, kNotePx);
  canvas.Restore();
}

std::u16string ChipText(const Readability& figures) {
  // The ratio is cut, not rounded, so a text just under the rule never
  // shows the rule's own figure.
  if (!figures.ratio_ok()) {
    return u"难以阅读 " + Utf8ToUtf16(RatioFigure(figures.ratio));
  }
  return u"难以阅读 Lc " + Utf8ToUtf16(LcFigure(figures.lc));
}

void OutlineItem(Canvas& canvas, int number) {
  // A dark halo under a bright line: seen on light and dark surfaces alike.
  for (const ItemPlace& place : PlacementOf(number).places) {
    if (place.empty()) continue;
    const RECT& r = place.rect;
    const double x = r.left - 2.5, y = r.top - 2.5, w = r.right - r.left + 5, h = r.bottom - r.top + 5;
    canvas.StrokeRoundRect(x, y, w, h, 5, 4, Color::Rgb(0x00, 0x00, 0x00, 0.7));
    canvas.StrokeRoundRect(x, y, w, h, 5, 2, Color::Rgb(0x00, 0xE5, 0xFF));
  }
}

void PaintSampleScreens(Canvas& canvas, const ThemeValues& theme,
                        const std::vector<ReadabilityWarning>& warnings) {
  ScreenPainter painter(canvas, theme, warnings);
  LockScreen(painter, theme);
  MusicPlayer(painter, theme);
  Calendar(painter, theme);
  DefaultsNote(canvas, warnings);
  SettingsWindow(painter, theme);
}
