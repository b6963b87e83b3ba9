#include "studio/preview/item_places.h"

#include <iterator>


namespace {

// The three cards side by side under their names, the settings window below.
constexpr int kCardTop = kSampleScreensTop + 18;
constexpr int kCardHeight = 192;
constexpr int kCardWidth = 160;
constexpr int kLockX = 8, kMusicX = 180, kCalendarX = 352;
// A line between the cards and the window says which defaults read badly.
constexpr int kSettingsTop = kCardTop + kCardHeight + 22;

using Kind = ItemPlace::Kind;

constexpr RECT R(int left, int top, int width, int height) {
  return RECT{left, top, left + width, top + height};
}

constexpr ItemPlace Text(RECT rect, std::u16string_view text, UINT align, double px,
                         bool bold = false, bool badge = true) {
  return ItemPlace{Kind::kText, rect, text, align, px, bold, badge};
}

// A chip is 78 x 16, beside or under its item.
constexpr RECT Chip(int left, int top) { return R(left, top, 78, 16); }

constexpr int C = kCardTop;
constexpr int S = kSettingsTop;

constexpr ItemPlacement kRows[] = {
    {1, SampleScreen::kMusicPlayer,
     {ItemPlace{Kind::kShadow, R(kMusicX + 4, C + 62, 152, 26), u"我们走在夕阳里", DT_CENTER, 14.5,
                true, true}},
     Chip(kMusicX + 41, C + 92)},
    {2, SampleScreen::kLockScreen,
     {Text(R(kLockX + 12, C + 72, 64, 18), u"星期三", DT_LEFT, 13)},
     Chip(kLockX + 78, C + 73)},
    {3, SampleScreen::kLockScreen,
     {Text(R(kLockX + 12, C + 10, 130, 42), u"08:30", DT_LEFT, 34),
      Text(R(kLockX + 12, C + 52, 130, 18), u"2024年5月15日", DT_LEFT, 13, false, false)},
     Chip(kLockX + 12, C + 94)},
    {kWindowBackgroundItem, SampleScreen::kSettings,
     {ItemPlace{Kind::kFill, R(8, S, kSampleScreensWidth - 16,
                               kSampleScreensTop + kSampleScreensHeight - 52 - S),
                u"", DT_LEFT, 0, false, true}},
     {}},
    {5, SampleScreen::kSettings,
     {Text(R(24, S + 6, 80, 34), u"设置", DT_LEFT, 18, true)},
     Chip(108, S + 15)},
    {6, SampleScreen::kSettings,
     {Text(R(34, S + 156, 96, 22), u"无线网络", DT_LEFT, 16)},
     Chip(134, S + 159)},
    {7, SampleScreen::kSettings,
     {Text(R(34, S + 180, 66, 18), u"未连接", DT_LEFT, 12)},
     Chip(104, S + 181)},
    {8, SampleScreen::kSettings,
     {Text(R(24, S + 298, 120, 32), u"保存", DT_CENTER, 15)},
     Chip(152, S + 306)},
    {9, SampleScreen::kCalendar,
     {Text(R(kCalendarX + 10, C + 4, 98, 22), u"2024年5月", DT_LEFT, 14, true),
      Text(R(kCalendarX + 10, C + 130, 140, 18), u"5月15日 星期三", DT_LEFT, 12, false, false)},
     Chip(kCalendarX + 10, C + 28)},
    {10, SampleScreen::kCalendar,
     {Text(R(kCalendarX + 10, C + 150, 70, 24), u"没有事件", DT_LEFT, 12)},
     Chip(kCalendarX + 80, C + 154)},
    {11, SampleScreen::kLockScreen,
     {Text(R(kLockX + 12, C + 118, 136, 40), u"已开启静音", DT_CENTER, 13)},
     Chip(kLockX + 41, C + 166)},
    {12, SampleScreen::kSettings,
     {Text(R(24, S + 73, 116, 16), u"来电铃声：清晨", DT_LEFT, 12)},
     Chip(144, S + 73)},
    {13, SampleScreen::kSettings,
     {Text(R(kSampleScreensWidth - 8 - 168, kSampleScreensTop + kSampleScreensHeight - 52, 168, 52),
           u"删除", DT_CENTER, 16)},
     {}},
    {14, SampleScreen::kSettings,
     {Text(R(8, kSampleScreensTop + kSampleScreensHeight - 52, 168, 52), u"返回", DT_CENTER, 16)},
     Chip(182, kSampleScreensTop + kSampleScreensHeight - 34)},
    {15, SampleScreen::kSettings,
     {Text(R(24, S + 49, 80, 22), u"铃声", DT_LEFT, 16),
      Text(R(24, S + 99, 80, 42), u"墙纸", DT_LEFT, 16, false, false)},
     Chip(108, S + 52)},
    {16, SampleScreen::kSettings,
     {Text(R(400, S + 49, 96, 40), u"已开启", DT_RIGHT, 13)},
     Chip(318, S + 61)},
    {17, SampleScreen::kSettings,
     {Text(R(420, S + 99, 76, 42), u"3张", DT_RIGHT, 13)},
     Chip(338, S + 112)},
    {18, SampleScreen::kSettings,
     {Text(R(24, S + 232, 266, 22), u"给手机起个名字，连接电脑时会显示。", DT_LEFT, 14)},
     Chip(294, S + 235)},
    {19, SampleScreen::kSettings,
     {Text(R(36, S + 259, 84, 32), u"我的手机", DT_LEFT, 15)},
     Chip(124, S + 267)},
    {20, SampleScreen::kSettings,
     {Text(R(24, S + 212, 76, 18), u"个人信息", DT_LEFT, 12, true)},
     Chip(104, S + 213)},
};

// One row per item of the model's table, numbered in menu order.
static_assert(std::size(kRows) == kThemeTargetCount,
              "every theme target needs one row of placement, and no more");
constexpr bool NumberedInOrder() {
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    if (kRows[i].number != static_cast<int>(i) + 1) return false;
  }
  return true;
}
static_assert(NumberedInOrder(), "placement rows are in menu order");

// The smallest text drawn for each item is the one the theme's schema says
// the phone draws: the checks judge by the schema, the screens show it.
constexpr bool DrawnAsTheSchemaSays() {
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    const ItemPlace* smallest = nullptr;
    for (const ItemPlace& place : kRows[i].places) {
      if (place.empty() || place.kind == Kind::kFill) continue;
      if (smallest == nullptr || place.px < smallest->px) smallest = &place;
    }
    const ThemeItemSchema& item = kThemeSchema[i];
    if (smallest == nullptr ? item.kind != ThemeItemKind::kSurface
                            : smallest->px != item.text_px || smallest->bold != item.bold) {
      return false;
    }
  }
  return true;
}
static_assert(DrawnAsTheSchemaSays(), "every item's smallest text is drawn at the schema's size");

constexpr std::array<ItemPlacement, kThemeTargetCount> ToArray() {
  std::array<ItemPlacement, kThemeTargetCount> rows{};
  for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = kRows[i];
  return rows;
}
constexpr std::array<ItemPlacement, kThemeTargetCount> kPlacements = ToArray();

}  // namespace

const std::array<ItemPlacement, kThemeTargetCount>& ItemPlacements() { return kPlacements; }

const ItemPlacement& PlacementOf(int number) {
  const std::size_t i = number >= 1 && number <= static_cast<int>(kThemeTargetCount)
                            ? static_cast<std::size_t>(number - 1)
                            : 0;
  return kPlacements[i];
}

RECT ScreenCard(SampleScreen screen) {
  switch (screen) {
    case SampleScreen::kLockScreen: return R(kLockX, kCardTop, kCardWidth, kCardHeight);
    case SampleScreen::kMusicPlayer: return R(kMusicX, kCardTop, kCardWidth, kCardHeight);
    case SampleScreen::kCalendar: return R(kCalendarX, kCardTop, kCardWidth, kCardHeight);
    case SampleScreen::kSettings: break;
  }
  return R(8, kSettingsTop, kSampleScreensWidth - 16,
           kSampleScreensTop + kSampleScreensHeight - kSettingsTop);
}

const char16_t* SurfaceTitle(ThemeSurface surface) {
  switch (surface) {
    case ThemeSurface::kWallpaper: return u"锁屏墙纸";
    case ThemeSurface::kTipBox: return u"静音提示框";
    case ThemeSurface::kPlayer: return u"音乐播放器";
    case ThemeSurface::kCalendarPage: return u"日历页面";
    case ThemeSurface::kButtonFace: return u"按钮";
    case ThemeSurface::kToolbar: return u"工具栏";
    case ThemeSurface::kWindowBackground: return u"窗口背景";
    case ThemeSurface::kNone: break;
  }
  return u"";
}

int ItemAt(int x, int y) {
  // Texts and chips first: a surface item lies under them.
  for (const ItemPlacement& row : kPlacements) {
    if (InsideRect(row.chip, x, y)) return row.number;
    for (const ItemPlace& place : row.places) {
      if (place.kind != Kind::kFill && InsideRect(place.rect, x, y)) return row.number;
    }
  }
  for (const ItemPlacement& row : kPlacements) {
    for (const ItemPlace& place : row.places) {
      if (place.kind == Kind::kFill && InsideRect(place.rect, x, y)) return row.number;
    }
  }
  return 0;
}
