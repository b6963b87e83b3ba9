#include "studio/item_places.h"

#include <iterator>

#include "platform/shell/theme_colors.h"

// The shell's defaults and the model's targets are one list seen twice: an
// item added to one and not the other stops the build here.
static_assert(kThemeItemDefaults.size() == kThemeTargetCount,
              "the shell's theme defaults and the model's theme targets differ in number");

namespace {

// The surfaces of the phone that no theme item colours.
constexpr COLORREF kWallpaper = RGB(0x1C, 0x27, 0x3D);
constexpr COLORREF kTipBox = RGB(0x33, 0x33, 0x33);
constexpr COLORREF kPlayer = RGB(0x16, 0x1A, 0x24);
constexpr COLORREF kCalendarPage = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kButtonFace = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kToolbarMiddle = RGB(0x21, 0x22, 0x24);  // behind the toolbar's texts

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
    {1, SampleScreen::kMusicPlayer, ItemSurface::kPlayer, false,
     {ItemPlace{Kind::kShadow, R(kMusicX + 4, C + 62, 152, 26), u"我们走在夕阳里", DT_CENTER, 14.5,
                true, true}},
     Chip(kMusicX + 41, C + 92)},
    {2, SampleScreen::kLockScreen, ItemSurface::kWallpaper, false,
     {Text(R(kLockX + 12, C + 72, 64, 18), u"星期三", DT_LEFT, 13)},
     Chip(kLockX + 78, C + 73)},
    {3, SampleScreen::kLockScreen, ItemSurface::kWallpaper, false,
     {Text(R(kLockX + 12, C + 10, 130, 42), u"08:30", DT_LEFT, 34),
      Text(R(kLockX + 12, C + 52, 130, 18), u"2024年5月15日", DT_LEFT, 13, false, false)},
     Chip(kLockX + 12, C + 94)},
    {kWindowBackgroundItem, SampleScreen::kSettings, ItemSurface::kNone, false,
     {ItemPlace{Kind::kFill, R(8, S, kSampleScreensWidth - 16,
                               kSampleScreensTop + kSampleScreensHeight - 52 - S),
                u"", DT_LEFT, 0, false, true}},
     {}},
    {5, SampleScreen::kSettings, ItemSurface::kWindowBackground, false,
     {Text(R(24, S + 6, 80, 34), u"设置", DT_LEFT, 18, true)},
     Chip(108, S + 15)},
    {6, SampleScreen::kSettings, ItemSurface::kWindowBackground, false,
     {Text(R(34, S + 156, 96, 22), u"无线网络", DT_LEFT, 16)},
     Chip(134, S + 159)},
    {7, SampleScreen::kSettings, ItemSurface::kWindowBackground, false,
     {Text(R(34, S + 180, 66, 18), u"未连接", DT_LEFT, 12)},
     Chip(104, S + 181)},
    {8, SampleScreen::kSettings, ItemSurface::kButtonFace, false,
     {Text(R(24, S + 298, 120, 32), u"保存", DT_CENTER, 15)},
     Chip(152, S + 306)},
    {9, SampleScreen::kCalendar, ItemSurface::kCalendarPage, false,
     {Text(R(kCalendarX + 10, C + 4, 98, 22), u"2024年5月", DT_LEFT, 14, true),
      Text(R(kCalendarX + 10, C + 130, 140, 18), u"5月15日 星期三", DT_LEFT, 12, false, false)},
     Chip(kCalendarX + 10, C + 28)},
    {10, SampleScreen::kCalendar, ItemSurface::kCalendarPage, false,
     {Text(R(kCalendarX + 10, C + 150, 70, 24), u"没有事件", DT_LEFT, 12)},
     Chip(kCalendarX + 80, C + 154)},
    {11, SampleScreen::kLockScreen, ItemSurface::kTipBox, false,
     {Text(R(kLockX + 12, C + 118, 136, 40), u"已开启静音", DT_CENTER, 13)},
     Chip(kLockX + 41, C + 166)},
    {12, SampleScreen::kSettings, ItemSurface::kWindowBackground, false,
     {Text(R(24, S + 73, 116, 16), u"来电铃声：清晨", DT_LEFT, 12)},
     Chip(144, S + 73)},
    {13, SampleScreen::kSettings, ItemSurface::kToolbar, true,
     {Text(R(kSampleScreensWidth - 8 - 168, kSampleScreensTop + kSampleScreensHeight - 52, 168, 52),
           u"删除", DT_CENTER, 16)},
     {}},
    {14, SampleScreen::kSettings, ItemSurface::kToolbar, false,
     {Text(R(8, kSampleScreensTop + kSampleScreensHeight - 52, 168, 52), u"返回", DT_CENTER, 16)},
     Chip(182, kSampleScreensTop + kSampleScreensHeight - 34)},
    {15, SampleScreen::kSettings, ItemSurface::kWindowBackground, false,
     {Text(R(24, S + 49, 80, 22), u"铃声", DT_LEFT, 16),
      Text(R(24, S + 99, 80, 42), u"墙纸", DT_LEFT, 16, false, false)},
     Chip(108, S + 52)},
    {16, SampleScreen::kSettings, ItemSurface::kWindowBackground, false,
     {Text(R(400, S + 49, 96, 40), u"已开启", DT_RIGHT, 13)},
     Chip(318, S + 61)},
    {17, SampleScreen::kSettings, ItemSurface::kWindowBackground, false,
     {Text(R(420, S + 99, 76, 42), u"3张", DT_RIGHT, 13)},
     Chip(338, S + 112)},
    {18, SampleScreen::kSettings, ItemSurface::kWindowBackground, false,
     {Text(R(24, S + 232, 266, 22), u"给手机起个名字，连接电脑时会显示。", DT_LEFT, 14)},
     Chip(294, S + 235)},
    {19, SampleScreen::kSettings, ItemSurface::kWindowBackground, false,
     {Text(R(36, S + 259, 84, 32), u"我的手机", DT_LEFT, 15)},
     Chip(124, S + 267)},
    {20, SampleScreen::kSettings, ItemSurface::kWindowBackground, false,
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

COLORREF SurfaceColor(ItemSurface surface, const ThemeSnapshot& theme) {
  switch (surface) {
    case ItemSurface::kWallpaper: return kWallpaper;
    case ItemSurface::kTipBox: return kTipBox;
    case ItemSurface::kPlayer: return kPlayer;
    case ItemSurface::kCalendarPage: return kCalendarPage;
    case ItemSurface::kButtonFace: return kButtonFace;
    case ItemSurface::kToolbar: return kToolbarMiddle;
    case ItemSurface::kWindowBackground: return theme.Item(kWindowBackgroundItem);
    case ItemSurface::kNone: break;
  }
  return 0;
}

const char* SurfaceId(ItemSurface surface) {
  switch (surface) {
    case ItemSurface::kWallpaper: return "lock-wallpaper";
    case ItemSurface::kTipBox: return "mute-tip";
    case ItemSurface::kPlayer: return "music-player";
    case ItemSurface::kCalendarPage: return "calendar-page";
    case ItemSurface::kButtonFace: return "button-face";
    case ItemSurface::kToolbar: return "toolbar";
    case ItemSurface::kWindowBackground: return "window-bg";
    case ItemSurface::kNone: break;
  }
  return "";
}

const char16_t* SurfaceTitle(ItemSurface surface) {
  switch (surface) {
    case ItemSurface::kWallpaper: return u"锁屏墙纸";
    case ItemSurface::kTipBox: return u"静音提示框";
    case ItemSurface::kPlayer: return u"音乐播放器";
    case ItemSurface::kCalendarPage: return u"日历页面";
    case ItemSurface::kButtonFace: return u"按钮";
    case ItemSurface::kToolbar: return u"工具栏";
    case ItemSurface::kWindowBackground: return u"窗口背景";
    case ItemSurface::kNone: break;
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
