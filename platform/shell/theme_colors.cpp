#include "platform/shell/theme_colors.h"

#include "platform/win/registry.h"

namespace {

void ReadColor(HKEY key, LPCWSTR name, COLORREF& color) {
  DWORD type = 0;
  DWORD value = 0;
  DWORD size = sizeof(value);
  LONG rc = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  if (rc == ERROR_SUCCESS && type == REG_DWORD && size == sizeof(value)) color = value;
}

}  // namespace

ThemeColors ThemeColors::LoadFromRegistry(std::string* problem) {
  ThemeColors colors;
  HKEY key = nullptr;
  const LONG rc =
      RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"\\SOFTWARE\\Meizu\\Theme\\Colors", 0, 0, &key);
  if (rc != ERROR_SUCCESS) {
    // A missing key is a phone nobody has recoloured yet; anything else is a
    // registry that cannot be read.
    if (problem != nullptr && rc != ERROR_FILE_NOT_FOUND) *problem = RegistryLastErrorMessage();
    return colors;
  }
  ReadColor(key, u"SYSCLR_WINDOW_BG", colors.window_bg);
  ReadColor(key, u"SYSCLR_WINDOW_TEXT", colors.window_text);
  ReadColor(key, u"SYSCLR_BUTTON_TEXT", colors.button_text);
  ReadColor(key, u"SYSCLR_STATIC_TEXT", colors.static_text);
  ReadColor(key, u"SYSCLR_TOOLBAR_TEXT", colors.toolbar_text);
  ReadColor(key, u"SYSCLR_TOOLBAR_TEXT_DISABLED", colors.toolbar_text_disabled);
  ReadColor(key, u"SYSCLR_LIST_TEXT", colors.list_text);
  RegCloseKey(key);
  return colors;
}
