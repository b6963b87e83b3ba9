// Writes one colour value into the theme's registry value.
#include "model/theme_color_store.h"

#include "platform/win/registry.h"
#include "platform/win/registry_hive.h"

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

  const std::vector<BYTE> data = DwordBytes(value);
  const LONG set_status =
      RegSetValueExW(key, value_name, 0, REG_DWORD, data.data(), static_cast<DWORD>(data.size()));
  RegCloseKey(key);
  return set_status == ERROR_SUCCESS;
}
