#include "platform/shell/theme_colors.h"

#include <iterator>
#include <optional>
#include <utility>

#include "platform/win/registry.h"

ThemeColors ThemeColors::LoadFromRegistry(std::string* problem) {
  ThemeColors colors;
  // Each colour the shell draws with, by its value name under the theme's
  // system key, as the schema holds it.
  const std::pair<LPCWSTR, COLORREF*> drawn[] = {
      {u"SYSCLR_WINDOW_BG", &colors.window_bg},
      {u"SYSCLR_WINDOW_TEXT", &colors.window_text},
      {u"SYSCLR_BUTTON_TEXT", &colors.button_text},
      {u"SYSCLR_STATIC_TEXT", &colors.static_text},
      {u"SYSCLR_TOOLBAR_TEXT", &colors.toolbar_text},
      {u"SYSCLR_TOOLBAR_TEXT_DISABLED", &colors.toolbar_text_disabled},
      {u"SYSCLR_LIST_TEXT", &colors.list_text},
  };
  constexpr std::size_t kCount = std::size(drawn);
  RegistryValueName names[kCount];
  std::optional<DWORD> stored[kCount];
  for (std::size_t i = 0; i < kCount; ++i) {
    names[i] = {kThemeSystemKey, drawn[i].first};
  }
  if (RegistryReadDwords(HKEY_LOCAL_MACHINE, names, kCount, stored) != ERROR_SUCCESS) {
    if (problem != nullptr) *problem = RegistryLastErrorMessage();
    return colors;
  }
  for (std::size_t i = 0; i < kCount; ++i) {
    if (stored[i]) *drawn[i].second = *stored[i];
  }
  return colors;
}
