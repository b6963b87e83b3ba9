#include "model/theme/theme_values.h"

#include <string_view>

#include "platform/win/registry.h"

namespace {

// The item's key below the theme's system key: "" or "App".
LPCWSTR SubkeyOf(const ThemeTarget& target) {
  const std::u16string_view system(kSystemColorsKey);
  LPCWSTR rest = target.key + system.size();
  return *rest == u'\\' ? rest + 1 : rest;
}

}  // namespace

ThemeValues ThemeValues::Completed() const {
  ThemeValues full;
  for (std::size_t i = 0; i < kThemeTargetCount; ++i) {
    const ThemeTarget& t = kThemeTargets[i];
    full.items[i] = items[i] ? *items[i] : DefaultThemeColor(t.key, t.value_name);
  }
  return full;
}

bool ReadThemeValues(ThemeValues& values, std::string& problem, LONG* status) {
  // One look at the file for all 20, not one for each.
  RegistryValueName names[kThemeTargetCount];
  for (std::size_t i = 0; i < kThemeTargetCount; ++i) names[i] = {kThemeTargets[i].key, kThemeTargets[i].value_name};
  values = ThemeValues();
  const LONG rc = RegistryReadDwords(HKEY_LOCAL_MACHINE, names, kThemeTargetCount, values.items.data());
  if (status != nullptr) *status = rc;
  if (rc == ERROR_SUCCESS) return true;
  problem = RegistryLastErrorMessage();
  return false;
}

bool WriteThemeValues(const ThemeValues& from, const ThemeValues& to, std::string& problem) {
  if (from == to) return true;
  HANDLE transaction = CreateTransaction(nullptr, nullptr, 0, 0, 0, 0, nullptr);
  HKEY key = nullptr;
  LONG status = RegCreateKeyTransactedW(HKEY_LOCAL_MACHINE, kSystemColorsKey, 0, nullptr, 0, 0, nullptr,
                                        &key, nullptr, transaction, nullptr);
  for (std::size_t i = 0; i < kThemeTargetCount && status == ERROR_SUCCESS; ++i) {
    if (from.items[i] == to.items[i]) continue;
    const ThemeTarget& t = kThemeTargets[i];
    if (to.items[i]) {
      const DWORD v = *to.items[i];
      const BYTE data[4] = {static_cast<BYTE>(v), static_cast<BYTE>(v >> 8), static_cast<BYTE>(v >> 16),
                            static_cast<BYTE>(v >> 24)};
      status = RegSetKeyValueW(key, SubkeyOf(t), t.value_name, REG_DWORD, data, sizeof data);
    } else {
      status = RegDeleteKeyValueW(key, SubkeyOf(t), t.value_name);
    }
  }
  if (status == ERROR_SUCCESS && !CommitTransaction(transaction)) status = static_cast<LONG>(GetLastError());
  if (status != ERROR_SUCCESS) problem = RegistryLastErrorMessage();
  if (key != nullptr) RegCloseKey(key);
  CloseHandle(transaction);
  return status == ERROR_SUCCESS;
}
