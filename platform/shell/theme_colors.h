// The theme colours the shell draws with, read once from the registry when
// the phone starts (HKEY_LOCAL_MACHINE "\SOFTWARE\Meizu\Theme\Colors").
// A value that is missing, not a REG_DWORD, or a registry file that cannot be
// read leaves that colour at its default. Colours are COLORREF (0x00BBGGRR).
#pragma once

#include <string>

#include "platform/win/win_types.h"

struct ThemeColors {
  COLORREF window_bg = 0x00ECECEC;              // SYSCLR_WINDOW_BG
  COLORREF window_text = 0x00202020;            // SYSCLR_WINDOW_TEXT
  COLORREF button_text = 0x00202020;            // SYSCLR_BUTTON_TEXT
  COLORREF static_text = 0x00303030;            // SYSCLR_STATIC_TEXT
  COLORREF toolbar_text = 0x00FFFFFF;           // SYSCLR_TOOLBAR_TEXT
  COLORREF toolbar_text_disabled = 0x00808080;  // SYSCLR_TOOLBAR_TEXT_DISABLED
  COLORREF list_text = 0x00202020;              // SYSCLR_LIST_TEXT

  // The defaults, overridden by whatever the registry holds. When the
  // registry cannot be read at all, `problem` (if given) says why.
  static ThemeColors LoadFromRegistry(std::string* problem = nullptr);
};
