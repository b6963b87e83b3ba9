// The colours the shell draws with, read once from the registry when the
// phone starts, over the defaults of the theme's schema. Colours are
// COLORREF (0x00BBGGRR).
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/win/theme_schema.h"
#include "platform/win/win_types.h"

using ThemeItemColors = std::array<COLORREF, kThemeItemCount>;

// The colours of all the items as the registry holds them now, in the order
// of kThemeSchema: each item's 4-byte REG_DWORD, else its default (a
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
