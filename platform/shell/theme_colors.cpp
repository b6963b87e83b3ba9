#include "platform/shell/theme_colors.h"

#include "platform/win/registry.h"

namespace {

// Reads every item stored under `key_name` from the open key.
void ReadKeyItems(HKEY key, std::u16string_view key_name, ThemeItemColors& colors) {
  for (std::size_t i = 0; i < kThemeItemCount; ++i) {
    if (key_name != kThemeSchema[i].key) continue;
    DWORD type = 0;
    BYTE data[4] = {};
    DWORD size = sizeof data;
    const LONG rc =
        RegQueryValueExW(key, kThemeSchema[i].value_name, nullptr, &type, data, &size);
    if (rc == ERROR_SUCCESS && type == REG_DWORD && size == sizeof data) {
      colors[i] = static_cast<COLORREF>(data[0]) | (static_cast<COLORREF>(data[1]) << 8) |
                  (static_cast<COLORREF>(data[2]) << 16) | (static_cast<COLORREF>(data[3]) << 24);
    }
  }
}

}  // namespace

bool ReadThemeItemColors(ThemeItemColors& colors, std::string* problem, LONG* status) {
  for (std::size_t i = 0; i < kThemeItemCount; ++i) colors[i] = kThemeSchema[i].default_color;
  ThemeItemColors stored = colors;
  for (LPCWSTR key_name : {kThemeSystemKey, kThemeAppKey}) {
    HKEY key = nullptr;
    const LONG rc = RegOpenKeyExW(HKEY_LOCAL_MACHINE, key_name, 0, 0, &key);
    if (rc == ERROR_FILE_NOT_FOUND) continue;  // nobody has recoloured these items yet
    if (rc != ERROR_SUCCESS) {
      if (problem != nullptr) *problem = RegistryLastErrorMessage();
      if (status != nullptr) *status = rc;
      return false;
    }
    ReadKeyItems(key, key_name, stored);
    RegCloseKey(key);
  }
  colors = stored;
  return true;
}

ThemeColors ThemeColors::LoadFromRegistry(std::string* problem) {
  ThemeItemColors items;
  ReadThemeItemColors(items, problem);
  auto stored = [&](LPCWSTR value_name) { return items[ThemeItemIndex(kThemeSystemKey, value_name)]; };
  ThemeColors colors;
  colors.window_bg = stored(u"SYSCLR_WINDOW_BG");
  colors.window_text = stored(u"SYSCLR_WINDOW_TEXT");
  colors.button_text = stored(u"SYSCLR_BUTTON_TEXT");
  colors.static_text = stored(u"SYSCLR_STATIC_TEXT");
  colors.toolbar_text = stored(u"SYSCLR_TOOLBAR_TEXT");
  colors.toolbar_text_disabled = stored(u"SYSCLR_TOOLBAR_TEXT_DISABLED");
  colors.list_text = stored(u"SYSCLR_LIST_TEXT");
  return colors;
}
