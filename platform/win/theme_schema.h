// The phone's colour theme as its system keeps it: the two registry keys
// (under HKEY_LOCAL_MACHINE), and for each of the 20 items its value name,
// the colour the phone uses while the registry holds none, the surface the
// phone draws it on and what kind of item it is. Written once: the shell
// draws from it, the model's target table takes key and name from it, the
// checks judge by it. Colours are COLORREF (0x00BBGGRR).
#pragma once

#include <array>
#include <cstddef>
#include <string_view>
#include <type_traits>

#include "platform/win/registry_hive.h"
#include "platform/win/win_types.h"

inline constexpr WCHAR kThemeSystemKey[] = u"\\SOFTWARE\\Meizu\\Theme\\Colors";
inline constexpr WCHAR kThemeAppKey[] = u"\\SOFTWARE\\Meizu\\Theme\\Colors\\App";

// What an item is read against: a surface of the phone's own artwork, or the
// window background (itself a theme item).
enum class ThemeSurface {
  kNone,  // the item is a surface itself
  kWallpaper,
  kTipBox,
  kPlayer,
  kCalendarPage,
  kButtonFace,
  kToolbar,
  kWindowBackground,
};

enum class ThemeItemKind {
  kSurface,       // a background other items are read on
  kText,          // a text in the item's colour
  kShadow,        // the shadow under a white text
  kDisabledText,  // a disabled control's text: never has to be readable
};

struct ThemeItemSchema {
  LPCWSTR key;
  LPCWSTR value_name;
  COLORREF default_color;
  ThemeSurface surface;
  ThemeItemKind kind;
  // The smallest text the phone draws in the item's colour: its size in
  // pixels and weight (0 for a surface).
  double text_px;
  bool bold;
};

// Every theme item, in the order of the phone app's target menu.
inline constexpr std::array<ThemeItemSchema, 20> kThemeSchema = {{
    {kThemeAppKey, u"MUSIC_LYRIC_SHADOW_COLOR", RGB(0x3C, 0xB4, 0xFF), ThemeSurface::kPlayer,
     ThemeItemKind::kShadow, 14.5, true},
    {kThemeAppKey, u"LOCKPHONE_DATE_WEEK_COLOR", RGB(0xE0, 0xE4, 0xEA), ThemeSurface::kWallpaper,
     ThemeItemKind::kText, 13, false},
    {kThemeAppKey, u"LOCKPHONE_DATE_MONTH_COLOR", RGB(0xFF, 0xFF, 0xFF), ThemeSurface::kWallpaper,
     ThemeItemKind::kText, 13, false},
    {kThemeSystemKey, u"SYSCLR_WINDOW_BG", RGB(0xEC, 0xEC, 0xEC), ThemeSurface::kNone,
     ThemeItemKind::kSurface, 0, false},
    {kThemeSystemKey, u"SYSCLR_WINDOW_TEXT", RGB(0x20, 0x20, 0x20), ThemeSurface::kWindowBackground,
     ThemeItemKind::kText, 18, true},
    {kThemeSystemKey, u"SYSCLR_BUTTONEX_TEXT", RGB(0x20, 0x20, 0x20), ThemeSurface::kWindowBackground,
     ThemeItemKind::kText, 16, false},
    {kThemeSystemKey, u"SYSCLR_BUTTONEX_TEXT2", RGB(0x60, 0x60, 0x60),
     ThemeSurface::kWindowBackground, ThemeItemKind::kText, 12, false},
    {kThemeSystemKey, u"SYSCLR_BUTTON_TEXT", RGB(0x20, 0x20, 0x20), ThemeSurface::kButtonFace,
     ThemeItemKind::kText, 15, false},
    {kThemeAppKey, u"CANLENDAR_TITLE_STATIC", RGB(0x1E, 0x3C, 0x78), ThemeSurface::kCalendarPage,
     ThemeItemKind::kText, 12, false},
    {kThemeAppKey, u"CANLENDAR_NOEVENT_STATIC", RGB(0x70, 0x70, 0x70), ThemeSurface::kCalendarPage,
     ThemeItemKind::kText, 12, false},
    {kThemeAppKey, u"MUTE_ONOFF_TIPS_COLOR", RGB(0xFF, 0xFF, 0xFF), ThemeSurface::kTipBox,
     ThemeItemKind::kText, 13, false},
    {kThemeSystemKey, u"SYSCLR_LIST_DESCRIPTION", RGB(0x70, 0x70, 0x70),
     ThemeSurface::kWindowBackground, ThemeItemKind::kText, 12, false},
    {kThemeSystemKey, u"SYSCLR_TOOLBAR_TEXT_DISABLED", RGB(0x80, 0x80, 0x80), ThemeSurface::kToolbar,
     ThemeItemKind::kDisabledText, 16, false},
    {kThemeSystemKey, u"SYSCLR_TOOLBAR_TEXT", RGB(0xFF, 0xFF, 0xFF), ThemeSurface::kToolbar,
     ThemeItemKind::kText, 16, false},
    {kThemeSystemKey, u"SYSCLR_LIST_TEXT", RGB(0x20, 0x20, 0x20), ThemeSurface::kWindowBackground,
     ThemeItemKind::kText, 16, false},
    {kThemeSystemKey, u"SYSCLR_LIST_TEXT2", RGB(0x2A, 0x5C, 0xAA), ThemeSurface::kWindowBackground,
     ThemeItemKind::kText, 13, false},
    {kThemeSystemKey, u"SYSCLR_LIST_TEXT3", RGB(0x80, 0x50, 0x20), ThemeSurface::kWindowBackground,
     ThemeItemKind::kText, 13, false},
    {kThemeSystemKey, u"SYSCLR_STATIC_TEXT", RGB(0x30, 0x30, 0x30), ThemeSurface::kWindowBackground,
     ThemeItemKind::kText, 14, false},
    {kThemeSystemKey, u"SYSCLR_EDIT_TEXT", RGB(0x10, 0x10, 0x10), ThemeSurface::kWindowBackground,
     ThemeItemKind::kText, 15, false},
    {kThemeSystemKey, u"SYSCLR_CAPTION_TEXT", RGB(0x50, 0x50, 0x50), ThemeSurface::kWindowBackground,
     ThemeItemKind::kText, 12, true},
}};

inline constexpr std::size_t kThemeItemCount = kThemeSchema.size();

// The item that is the window background the settings window's texts are
// read against (its number in menu order).
inline constexpr int kWindowBackgroundItem = 4;

// The colour of a surface of the phone's own artwork; `window_bg` for the
// window background, 0 for kNone.
constexpr COLORREF SurfaceColor(ThemeSurface surface, COLORREF window_bg) {
  switch (surface) {
    case ThemeSurface::kWallpaper: return RGB(0x1C, 0x27, 0x3D);
    case ThemeSurface::kTipBox: return RGB(0x33, 0x33, 0x33);
    case ThemeSurface::kPlayer: return RGB(0x16, 0x1A, 0x24);
    case ThemeSurface::kCalendarPage: return RGB(0xFF, 0xFF, 0xFF);
    case ThemeSurface::kButtonFace: return RGB(0xFF, 0xFF, 0xFF);
    case ThemeSurface::kToolbar: return RGB(0x21, 0x22, 0x24);  // behind the toolbar's texts
    case ThemeSurface::kWindowBackground: return window_bg;
    case ThemeSurface::kNone: break;
  }
  return 0;
}

// Whether two names are one to the registry. While the program is compiled
// only our own tables' names are compared, which are ASCII: for them the
// registry's rule is the plain fold of a to z below.
constexpr bool SameThemeName(std::u16string_view a, std::u16string_view b) {
  if (!std::is_constant_evaluated()) return RegistryNamesEqual(a, b);
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto fold = [](char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; };
    if (fold(a[i]) != fold(b[i])) return false;
  }
  return true;
}

// The position in kThemeSchema of the item stored as `value_name` under
// `key` (under either key when `key` is empty), names compared as the
// registry compares them, or kThemeItemCount for no such item. The one
// look-up of the schema by name.
constexpr std::size_t ThemeItemIndex(std::u16string_view key, std::u16string_view value_name) {
  std::size_t i = 0;
  for (; i < kThemeItemCount; ++i) {
    if ((key.empty() || SameThemeName(kThemeSchema[i].key, key)) && SameThemeName(kThemeSchema[i].value_name, value_name)) {
      break;
    }
  }
  return i;
}

// The default of one item, found while the program is compiled; black for a
// name that is no theme item.
consteval COLORREF DefaultThemeColor(std::u16string_view key, std::u16string_view value_name) {
  const std::size_t i = ThemeItemIndex(key, value_name);
  return i < kThemeItemCount ? kThemeSchema[i].default_color : 0;
}
