#include "studio/sample_screens.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "platform/shell/canvas.h"
#include "platform/shell/color.h"
#include "platform/shell/utf.h"

namespace {

// The surfaces of the phone that no theme item colours.
constexpr COLORREF kWallpaper = RGB(0x1C, 0x27, 0x3D);
constexpr COLORREF kTipBox = RGB(0x33, 0x33, 0x33);
constexpr COLORREF kPlayer = RGB(0x16, 0x1A, 0x24);
constexpr COLORREF kCalendarPage = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kButtonFace = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kToolbarTop = RGB(0x3C, 0x3D, 0x40);
constexpr COLORREF kToolbarBottom = RGB(0x06, 0x06, 0x07);
constexpr COLORREF kToolbarMiddle = RGB(0x21, 0x22, 0x24);  // behind the toolbar's texts
constexpr int kWindowBackground = 4;

const Color kCaption = Color::Rgb(0xB8, 0xBE, 0xC8);
const Color kLyricDim = Color::Rgb(0x7C, 0x84, 0x92);
const Color kLyricNow = Color::Rgb(0xFF, 0xFF, 0xFF);
const Color kCalendarDigit = Color::Rgb(0x44, 0x48, 0x50);
const Color kToday = Color::Rgb(0x2F, 0x80, 0xED);
const Color kHairline = Color::Rgb(0x80, 0x80, 0x80, 0.35);
const Color kBadge = Color::Rgb(0x25, 0x63, 0xD8);
const Color kBadgeRim = Color::Rgb(0xFF, 0xFF, 0xFF);
const Color kWarning = Color::Rgb(0xFF, 0xB4, 0x1E);
const Color kWarningPill = Color::Rgb(0x1E, 0x1E, 0x1E, 0.92);

constexpr double kBadgeRadius = 8;
constexpr int kBadgeGap = 4;
constexpr int kPillWidth = 60;

// The surface item `number` is drawn on, when its colour is a text's (or the
// lyric shadow's, which has to stand out from the player for the line to show).
bool SurfaceOf(int number, const ThemeSnapshot& theme, COLORREF* surface) {
  switch (number) {
    case 1: *surface = kPlayer; return true;
    case 2: case 3: *surface = kWallpaper; return true;
    case 8: *surface = kButtonFace; return true;
    case 9: case 10: *surface = kCalendarPage; return true;
    case 11: *surface = kTipBox; return true;
    case 13: case 14: *surface = kToolbarMiddle; return true;
    case kWindowBackground: return false;
    default: *surface = theme.Item(kWindowBackground); return true;
  }
}

std::u16string RatioText(double ratio) {
  char text[16];
  std::snprintf(text, sizeof text, "%.1f:1", std::floor(ratio * 10) / 10);
  return Utf8ToUtf16(text);
}

// Draws theme texts in their item's colour, each followed by its badge.
class ScreenPainter {
 public:
  ScreenPainter(Canvas& canvas, const ThemeSnapshot& theme,
                const std::vector<ReadabilityWarning>& warnings)
      : canvas_(canvas), theme_(theme), warnings_(warnings) {}

  Canvas& canvas() { return canvas_; }
  Color Of(int item) const { return Color::FromColorRef(theme_.Item(item)); }

  // One line in item `item`'s colour, vertically centred in `rc`; the badge
  // comes after it, or before it for right-aligned text.
  void Text(int item, std::u16string_view text, RECT rc, UINT align, double px, bool bold = false,
            bool badge = true) {
    const UINT format = DT_VCENTER | DT_SINGLELINE;
    if (badge && (align & DT_CENTER)) {
      // The text and its badge are centred together.
      const int width = Canvas::MeasureText(text, rc.right - rc.left, rc.bottom - rc.top,
                                            DT_LEFT | format, px, bold).width;
      rc.left += (rc.right - rc.left - width - kBadgeGap - BadgeWidth(item)) / 2;
      align = DT_LEFT;
    }
    const TextMetrics m = canvas_.DrawText(text, rc, align | format, Of(item), px, bold);
    if (!badge) return;
    const double cy = (rc.top + rc.bottom) / 2.0;
    if (align & DT_RIGHT) {
      Badge(item, rc.right - m.width - kBadgeGap, cy, true);
    } else {
      Badge(item, rc.left + m.width + kBadgeGap, cy, false);
    }
  }

  // How wide an item's badge is, with its readability mark if it has one.
  int BadgeWidth(int item) const {
    const int mark = Warning(item) != nullptr ? kBadgeGap + kPillWidth : 0;
    return static_cast<int>(2 * kBadgeRadius) + mark;
  }

  // The item's number in a small disc starting at x (ending at x when
  // `leftwards`), and its contrast beside it when the item is hard to read.
  void Badge(int item, double x, double cy, bool leftwards) {
    const ReadabilityWarning* warning = Warning(item);
    double left = leftwards ? x - BadgeWidth(item) : x;
    canvas_.FillCircle(left + kBadgeRadius, cy, kBadgeRadius + 1, kBadgeRim);
    canvas_.FillCircle(left + kBadgeRadius, cy, kBadgeRadius, kBadge);
    const int bx = static_cast<int>(std::lround(left));
    const int by = static_cast<int>(std::lround(cy - kBadgeRadius));
    canvas_.DrawText(Utf8ToUtf16(std::to_string(item)), RECT{bx - 2, by, bx + 18, by + 16},
                     DT_CENTER | DT_VCENTER | DT_SINGLELINE, kBadgeRim, item >= 10 ? 9.5 : 10.5,
                     true);
    if (warning == nullptr) return;
    left += 2 * kBadgeRadius + kBadgeGap;
    canvas_.FillRoundRect(left, cy - 9, kPillWidth, 18, 9, kWarningPill);
    canvas_.StrokeRoundRect(left + 0.5, cy - 8.5, kPillWidth - 1, 17, 8.5, 1, kWarning);
    const double triangle[] = {left + 11, cy - 6, left + 18, cy + 6, left + 4, cy + 6};
    canvas_.FillPolygon(triangle, 3, kWarning);
    const int px = static_cast<int>(std::lround(left));
    const int py = static_cast<int>(std::lround(cy - 9));
    canvas_.DrawText(u"!", RECT{px + 4, py + 5, px + 18, py + 16},
                     DT_CENTER | DT_VCENTER | DT_SINGLELINE, Color::Rgb(0x1E, 0x1E, 0x1E), 9, true);
    canvas_.DrawText(RatioText(warning->ratio), RECT{px + 20, py, px + kPillWidth - 4, py + 18},
                     DT_CENTER | DT_VCENTER | DT_SINGLELINE, kWarning, 11, true);
  }

 private:
  const ReadabilityWarning* Warning(int item) const {
    for (const ReadabilityWarning& w : warnings_) {
      if (w.item == item) return &w;
    }
    return nullptr;
  }

  Canvas& canvas_;
  const ThemeSnapshot& theme_;
  const std::vector<ReadabilityWarning>& warnings_;
};

// Each sample screen is a rounded card; its name sits above it on the panel.
constexpr int kCardTop = kSampleScreensTop + 18;
constexpr int kCardHeight = 176;
constexpr int kCardWidth = 160;
constexpr double kCardRadius = 10;

void BeginCard(Canvas& canvas, int x, std::u16string_view name, COLORREF surface) {
  canvas.DrawText(name, RECT{x, kSampleScreensTop, x + kCardWidth, kCardTop - 2},
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE, kCaption, 12);
  canvas.FillRoundRect(x, kCardTop, kCardWidth, kCardHeight, kCardRadius,
                       Color::FromColorRef(surface));
  canvas.Save();
  canvas.ClipRect(x, kCardTop, kCardWidth, kCardHeight);
}

void LockScreen(ScreenPainter& p, int x) {
  Canvas& c = p.canvas();
  BeginCard(c, x, u"锁屏", kWallpaper);
  // Soft hills low on the wallpaper, clear of the texts.
  c.FillRoundRect(x + 60, kCardTop + 104, 100, 72, kCardRadius,
                  Color::Rgb(0x3A, 0x5A, 0x8C, 0.35));
  c.FillRoundRect(x, kCardTop + 132, 110, 44, kCardRadius, Color::Rgb(0x4A, 0x6E, 0xA8, 0.25));
  const int top = kCardTop;
  p.Text(3, u"08:30", RECT{x + 12, top + 14, x + 150, top + 56}, DT_LEFT, 34);
  p.Text(3, u"2024年5月15日", RECT{x + 12, top + 58, x + 150, top + 76}, DT_LEFT, 13, false,
         false);
  p.Text(2, u"星期三", RECT{x + 12, top + 78, x + 150, top + 96}, DT_LEFT, 13);
  // The tip the mute shortcut shows, over whatever is on the screen.
  c.FillRoundRect(x + 12, top + 118, 136, 42, 8, Color::FromColorRef(kTipBox));
  p.Text(11, u"已开启静音", RECT{x + 12, top + 118, x + 148, top + 160}, DT_CENTER, 13);
  c.Restore();
}

void MusicPlayer(ScreenPainter& p, int x) {
  Canvas& c = p.canvas();
  BeginCard(c, x, u"音乐", kPlayer);
  const int top = kCardTop;
  c.DrawText(u"夕阳之歌", RECT{x + 12, top + 8, x + 150, top + 26},
             DT_CENTER | DT_VCENTER | DT_SINGLELINE, kCaption, 12);
  c.DrawLine(x + 12, top + 31.5, x + 148, top + 31.5, 1, Color::Rgb(0xFF, 0xFF, 0xFF, 0.15));
  const double px = 12.5;
  c.DrawText(u"风吹过安静的街", RECT{x + 6, top + 40, x + 154, top + 60},
             DT_CENTER | DT_VCENTER | DT_SINGLELINE, kLyricDim, px);
  // The line now playing, over its shadow.
  const RECT now{x + 4, top + 66, x + 136, top + 90};
  const RECT shadow{now.left + 2, now.top + 2, now.right + 2, now.bottom + 2};
  c.DrawText(u"我们走在夕阳里", shadow, DT_CENTER | DT_VCENTER | DT_SINGLELINE, p.Of(1), 14.5,
             true);
  c.DrawText(u"我们走在夕阳里", now, DT_CENTER | DT_VCENTER | DT_SINGLELINE, kLyricNow, 14.5,
             true);
  const TextMetrics m = Canvas::MeasureText(u"我们走在夕阳里", now.right - now.left, 24,
                                            DT_CENTER | DT_VCENTER | DT_SINGLELINE, 14.5, true);
  p.Badge(1, now.left + (now.right - now.left + m.width) / 2.0 + kBadgeGap + 2, top + 79, false);
  c.DrawText(u"把今天轻轻写下", RECT{x + 6, top + 96, x + 154, top + 116},
             DT_CENTER | DT_VCENTER | DT_SINGLELINE, kLyricDim, px);
  c.DrawText(u"留给明天的自己", RECT{x + 6, top + 120, x + 154, top + 140},
             DT_CENTER | DT_VCENTER | DT_SINGLELINE, kLyricDim, px);
  c.FillRoundRect(x + 14, top + 156, 132, 4, 2, Color::Rgb(0xFF, 0xFF, 0xFF, 0.18));
  c.FillRoundRect(x + 14, top + 156, 44, 4, 2, kToday);
  c.Restore();
}

void Calendar(ScreenPainter& p, int x) {
  Canvas& c = p.canvas();
  BeginCard(c, x, u"日历", kCalendarPage);
  const int top = kCardTop;
  p.Text(9, u"2024年5月", RECT{x + 10, top + 6, x + 150, top + 28}, DT_LEFT, 14, true);
  const char16_t* weekdays[] = {u"日", u"一", u"二", u"三", u"四", u"五", u"六"};
  const int cell = 21;
  const int grid_left = x + (kCardWidth - 7 * cell) / 2;
  for (int i = 0; i < 7; ++i) {
    c.DrawText(weekdays[i], RECT{grid_left + i * cell, top + 30, grid_left + (i + 1) * cell, top + 44},
               DT_CENTER | DT_VCENTER | DT_SINGLELINE, Color::Rgb(0x90, 0x94, 0x9C), 9.5);
  }
  // May 2024 starts on a Wednesday; the 15th is today.
  for (int day = 1; day <= 31; ++day) {
    const int slot = day + 2;
    const int cx = grid_left + (slot % 7) * cell;
    const int cy = top + 45 + (slot / 7) * 14;
    Color digit = kCalendarDigit;
    if (day == 15) {
      c.FillCircle(cx + cell / 2.0, cy + 7, 7, kToday);
      digit = Color::Rgb(0xFF, 0xFF, 0xFF);
    }
    c.DrawText(Utf8ToUtf16(std::to_string(day)), RECT{cx, cy, cx + cell, cy + 14},
               DT_CENTER | DT_VCENTER | DT_SINGLELINE, digit, 9.5);
  }
  c.DrawLine(x + 10, top + 117.5, x + 150, top + 117.5, 1, kHairline);
  p.Text(9, u"5月15日 星期三", RECT{x + 10, top + 122, x + 150, top + 142}, DT_LEFT, 12, false,
         false);
  p.Text(10, u"没有事件", RECT{x + 10, top + 146, x + 150, top + 168}, DT_CENTER, 12);
  c.Restore();
}

// A settings window on the window background with its title, a list, an
// extended button, a label, static text, an edit box, a button and a toolbar.
void SettingsWindow(ScreenPainter& p) {
  Canvas& c = p.canvas();
  const int x = 8;
  const int w = kSampleScreensWidth - 16;
  const int top = kCardTop + kCardHeight + 12;
  const int h = kSampleScreensTop + kSampleScreensHeight - top;
  const int right = x + w;
  const int bar = top + h - 52;  // the toolbar along the window's bottom
  c.Save();
  c.ClipRect(x, top, w, h);
  c.FillRoundRect(x, top, w, bar - top + kCardRadius, kCardRadius, p.Of(kWindowBackground));

  p.Text(5, u"设置", RECT{x + 16, top + 6, x + 300, top + 40}, DT_LEFT, 18, true);
  p.Badge(kWindowBackground, right - 16, top + 23, true);
  c.DrawLine(x, top + 44.5, right, top + 44.5, 1, kHairline);

  int y = top + 45;
  p.Text(15, u"铃声", RECT{x + 16, y + 6, x + 300, y + 28}, DT_LEFT, 16);
  p.Text(12, u"来电铃声：清晨", RECT{x + 16, y + 30, x + 300, y + 48}, DT_LEFT, 12);
  p.Text(16, u"已开启", RECT{right - 216, y + 4, right - 16, y + 50}, DT_RIGHT, 13);
  c.DrawLine(x + 16, y + 54.5, right, y + 54.5, 1, kHairline);
  y += 55;
  p.Text(15, u"墙纸", RECT{x + 16, y + 4, x + 300, y + 50}, DT_LEFT, 16, false, false);
  p.Text(17, u"3张", RECT{right - 216, y + 4, right - 16, y + 50}, DT_RIGHT, 13);
  c.DrawLine(x, y + 54.5, right, y + 54.5, 1, kHairline);
  y += 60;

  // An extended button: a list-like entry with a main and a secondary text.
  c.StrokeRoundRect(x + 12.5, y + 0.5, w - 25, 55, 8, 1, kHairline);
  p.Text(6, u"无线网络", RECT{x + 26, y + 6, x + 300, y + 30}, DT_LEFT, 16);
  p.Text(7, u"未连接", RECT{x + 26, y + 32, x + 300, y + 50}, DT_LEFT, 12);
  const double chevron[] = {right - 32.0, y + 20.0, right - 25.0, y + 28.0, right - 32.0, y + 36.0};
  c.DrawPolyline(chevron, 3, 2, Color::Rgb(0x90, 0x90, 0x90));
  y += 63;

  p.Text(20, u"个人信息", RECT{x + 16, y, x + 300, y + 20}, DT_LEFT, 12, true);
  y += 22;
  p.Text(18, u"给手机起个名字，连接电脑时会显示。", RECT{x + 16, y, right - 16, y + 22}, DT_LEFT,
         14);
  y += 28;
  c.StrokeRoundRect(x + 16.5, y + 0.5, w - 33, 36, 6, 1, Color::Rgb(0x9A, 0x9E, 0xA6));
  p.Text(19, u"我的手机", RECT{x + 28, y + 1, right - 28, y + 36}, DT_LEFT, 15);
  y += 46;

  // An ordinary button.
  c.FillRoundRect(x + 16, y, 120, 36, 8, Color::FromColorRef(kButtonFace));
  c.StrokeRoundRect(x + 16.5, y + 0.5, 119, 35, 8, 1, Color::Rgb(0xB4, 0xB8, 0xBE));
  p.Text(8, u"保存", RECT{x + 16, y, x + 120, y + 36}, DT_CENTER, 15);

  // The toolbar: an enabled and a disabled button.
  // Its lowest strip is the gradient's last colour, with the window's rounded corners.
  c.FillRoundRect(x, bar + 52 - 2 * kCardRadius, w, 2 * kCardRadius, kCardRadius,
                  Color::FromColorRef(kToolbarBottom));
  c.FillVerticalGradient(x, bar, w, 52 - kCardRadius, Color::FromColorRef(kToolbarTop),
                         Color::FromColorRef(kToolbarBottom));
  const int slot = w / 3;
  p.Text(14, u"返回", RECT{x, bar, x + slot, bar + 52}, DT_CENTER, 16);
  p.Text(13, u"删除", RECT{right - slot, bar, right, bar + 52}, DT_CENTER, 16);
  c.Restore();
}

}  // namespace

std::vector<ReadabilityWarning> FindReadabilityWarnings(const ThemeSnapshot& theme, double least) {
  std::vector<ReadabilityWarning> warnings;
  for (int item = 1; item <= ThemeSnapshot::kItemCount; ++item) {
    COLORREF surface = 0;
    if (!SurfaceOf(item, theme, &surface)) continue;
    const double ratio = ContrastRatio(theme.Item(item), surface);
    if (ratio < least) warnings.push_back({item, ratio});
  }
  return warnings;
}

void PaintSampleScreens(Canvas& canvas, const ThemeSnapshot& theme,
                        const std::vector<ReadabilityWarning>& warnings) {
  ScreenPainter painter(canvas, theme, warnings);
  LockScreen(painter, 8);
  MusicPlayer(painter, 180);
  Calendar(painter, 352);
  SettingsWindow(painter);
}
