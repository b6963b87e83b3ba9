// Writes one colour value into the theme's registry value.
#include "model/theme_color_store.h"

#include "platform/win/registry.h"

bool WriteThemeColor(HKEY root, LPCWSTR subkey, LPCWSTR value_name, std::uint32_t value,
                     bool create) {
  HKEY key = nullptr;
  LONG status;
  if (create) {
    DWORD disposition = 0;
    status = RegCreateKeyExW(root, subkey, 0, nullptr, 0, 0, nullptr, &key, &disposition);
  } else {
    status = RegOpenKeyExW(root, subkey, 0, 0, &key);
  }
  if (status != ERROR_SUCCESS) return false;

  const BYTE data[4] = {
      static_cast<BYTE>(value & 0xFF),
      static_cast<BYTE>((value >> 8) & 0xFF),
      static_cast<BYTE>((value >> 16) & 0xFF),
      static_cast<BYTE>((value >> 24) & 0xFF),
  };
  const LONG set_status = RegSetValueExW(key, value_name, 0, REG_DWORD, data, sizeof data);
  RegCloseKey(key);
  return set_status == ERROR_SUCCESS;
}
