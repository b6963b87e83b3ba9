// The colours the shell draws with, read once from the registry when the
// phone starts, over the defaults of the theme's schema. Colours are
// COLORREF (0x00BBGGRR).
#pragma once

#include <string>

#include "platform/win/theme_schema.h"
#include "platform/win/win_types.h"

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

  // The defaults, overridden by whatever the registry holds (each value a
  // 4-byte REG_DWORD; one of another type or size counts as missing), read
  // in one look at the registry file. When the registry cannot be read at
  // all, every colour keeps its default and `problem` (if given) says why.
  static ThemeColors LoadFromRegistry(std::string* problem = nullptr);
};
