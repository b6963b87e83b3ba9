// The phone's colour theme: the default of each of the 20 items the theme
// lets a user recolour, and the colours the shell draws with, read once from
// the registry when the phone starts. Colours are COLORREF (0x00BBGGRR).
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/win/win_types.h"

// Where one theme item lives in the registry (under HKEY_LOCAL_MACHINE) and
// the colour the phone uses while the registry holds none for it.
struct ThemeItemDefault {
  LPCWSTR key;
  LPCWSTR value_name;
  COLORREF color;
};

inline constexpr WCHAR kThemeSystemKey[] = u"\\SOFTWARE\\Meizu\\Theme\\Colors";
inline constexpr WCHAR kThemeAppKey[] = u"\\SOFTWARE\\Meizu\\Theme\\Colors\\App";

// Every theme item with its default, in the order of the target menu: the
// same items as the model's table of targets, which the studio checks at
// compile time. How well each reads on its surface is the studio's to say
// (tintor --theme-report).
inline constexpr std::array<ThemeItemDefault, 20> kThemeItemDefaults = {{
    {kThemeAppKey, u"MUSIC_LYRIC_SHADOW_COLOR", RGB(0x3C, 0xB4, 0xFF)},
    {kThemeAppKey, u"LOCKPHONE_DATE_WEEK_COLOR", RGB(0xE0, 0xE4, 0xEA)},
    {kThemeAppKey, u"LOCKPHONE_DATE_MONTH_COLOR", RGB(0xFF, 0xFF, 0xFF)},
    {kThemeSystemKey, u"SYSCLR_WINDOW_BG", RGB(0xEC, 0xEC, 0xEC)},
    {kThemeSystemKey, u"SYSCLR_WINDOW_TEXT", RGB(0x20, 0x20, 0x20)},
    {kThemeSystemKey, u"SYSCLR_BUTTONEX_TEXT", RGB(0x20, 0x20, 0x20)},
    {kThemeSystemKey, u"SYSCLR_BUTTONEX_TEXT2", RGB(0x60, 0x60, 0x60)},
    {kThemeSystemKey, u"SYSCLR_BUTTON_TEXT", RGB(0x20, 0x20, 0x20)},
    {kThemeAppKey, u"CANLENDAR_TITLE_STATIC", RGB(0x1E, 0x3C, 0x78)},
    {kThemeAppKey, u"CANLENDAR_NOEVENT_STATIC", RGB(0x70, 0x70, 0x70)},
    {kThemeAppKey, u"MUTE_ONOFF_TIPS_COLOR", RGB(0xFF, 0xFF, 0xFF)},
    {kThemeSystemKey, u"SYSCLR_LIST_DESCRIPTION", RGB(0x70, 0x70, 0x70)},
    {kThemeSystemKey, u"SYSCLR_TOOLBAR_TEXT_DISABLED", RGB(0x80, 0x80, 0x80)},
    {kThemeSystemKey, u"SYSCLR_TOOLBAR_TEXT", RGB(0xFF, 0xFF, 0xFF)},
    {kThemeSystemKey, u"SYSCLR_LIST_TEXT", RGB(0x20, 0x20, 0x20)},
    {kThemeSystemKey, u"SYSCLR_LIST_TEXT2", RGB(0x2A, 0x5C, 0xAA)},
    {kThemeSystemKey, u"SYSCLR_LIST_TEXT3", RGB(0x80, 0x50, 0x20)},
    {kThemeSystemKey, u"SYSCLR_STATIC_TEXT", RGB(0x30, 0x30, 0x30)},
    {kThemeSystemKey, u"SYSCLR_EDIT_TEXT", RGB(0x10, 0x10, 0x10)},
    {kThemeSystemKey, u"SYSCLR_CAPTION_TEXT", RGB(0x50, 0x50, 0x50)},
}};

// The position in kThemeItemDefaults of the item stored as `value_name` under
// `key` (names compare as the registry does, without regard to case), or
// kThemeItemDefaults.size() for no such item.
constexpr std::size_t ThemeItemIndex(std::u16string_view key, std::u16string_view value_name) {
  auto fold = [](char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; };
  auto same = [&](std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
      if (fold(a[i]) != fold(b[i])) return false;
    }
    return true;
  };
  std::size_t i = 0;
  for (; i < kThemeItemDefaults.size(); ++i) {
    const ThemeItemDefault& item = kThemeItemDefaults[i];
    if (same(item.key, key) && same(item.value_name, value_name)) break;
  }
  return i;
}

// The default of one item; black for a name that is no theme item.
constexpr COLORREF DefaultThemeColor(std::u16string_view key, std::u16string_view value_name) {
  const std::size_t i = ThemeItemIndex(key, value_name);
  return i < kThemeItemDefaults.size() ? kThemeItemDefaults[i].color : 0;
}

using ThemeItemColors = std::array<COLORREF, kThemeItemDefaults.size()>;

// The colours of all the items as the registry holds them now, in the order
// of kThemeItemDefaults: each item's 4-byte REG_DWORD, else its default (a
// value of another type or size counts as missing). Each key is opened once.
// When the registry file cannot be read, every item keeps its default, the
// result is false and `problem` (if given) says why.
// `status` (if given) gets the registry's status code for it.
bool ReadThemeItemColors(ThemeItemColors& colors, std::string* problem = nullptr,
                         LONG* status = nullptr);

// The colours the shell's own drawing uses.
struct ThemeColors {
  COLORREF window_bg = DefaultThemeColor(kThemeSystemKey, u"SYSCLR_WINDOW_BG");
  COLORREF window_text = DefaultThemeColor(kThemeSystemKey, u"SYSCLR_WINDOW_TEXT");
  COLORREF button_text = DefaultThemeColor(kThemeSystemKey, u"SYSCLR_BUTTON_TEXT");
  COLORREF static_text = DefaultThemeColor(kThemeSystemKey, u"SYSCLR_STATIC_TEXT");
  COLORREF toolbar_text = DefaultThemeColor(kThemeSystemKey, u"SYSCLR_TOOLBAR_TEXT");
  COLORREF toolbar_text_disabled =
      DefaultThemeColor(kThemeSystemKey, u"SYSCLR_TOOLBAR_TEXT_DISABLED");
  COLORREF list_text = DefaultThemeColor(kThemeSystemKey, u"SYSCLR_LIST_TEXT");

  // The defaults, overridden by whatever the registry holds (as
  // ReadThemeItemColors reads it). When the registry cannot be read at all,
  // `problem` (if given) says why.
  static ThemeColors LoadFromRegistry(std::string* problem = nullptr);
};
