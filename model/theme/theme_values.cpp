#include "model/theme/theme_values.h"

#include <algorithm>

#include "platform/win/registry.h"

namespace {

bool InRange(int number) { return number >= 1 && number <= ThemeValues::kItemCount; }

// The 20 values' places, in menu order.
struct ValueNames {
  RegistryValueName names[kThemeTargetCount];
  ValueNames() {
    for (std::size_t i = 0; i < kThemeTargetCount; ++i) names[i] = {kThemeTargets[i].key, kThemeTargets[i].value_name};
  }
};
const ValueNames& Names() {
  static const ValueNames names;
  return names;
}

}  // namespace

bool ThemeValues::Stored(int number) const {
  return InRange(number) && items[static_cast<std::size_t>(number - 1)].has_value();
}

COLORREF ThemeValues::Item(int number) const {
  if (!InRange(number)) return 0;
  const std::size_t i = static_cast<std::size_t>(number - 1);
  return items[i] ? *items[i] : kThemeSchema[i].default_color;
}

ThemeValues ThemeValues::With(int number, COLORREF color) const {
  ThemeValues changed = *this;
  if (InRange(number)) changed.items[static_cast<std::size_t>(number - 1)] = color;
  return changed;
}

ThemeValues ThemeValues::Completed() const {
  ThemeValues full;
  for (int n = 1; n <= kItemCount; ++n) full.items[static_cast<std::size_t>(n - 1)] = Item(n);
  return full;
}

std::vector<ThemeChange> VisibleChanges(const ThemeValues& from, const ThemeValues& to) {
  std::vector<ThemeChange> changes;
  for (int n = 1; n <= ThemeValues::kItemCount; ++n) {
    if (from.Item(n) != to.Item(n)) changes.push_back({n, from.Item(n), to.Item(n), to.Stored(n)});
  }
  return changes;
}

ThemeValues Applied(const ThemeValues& now, const ThemeValues& theme, ThemeApply how) {
  if (how == ThemeApply::kWhole) return theme;
  ThemeValues next = now;
  for (std::size_t i = 0; i < kThemeTargetCount; ++i) {
    if (theme.items[i]) next.items[i] = theme.items[i];
  }
  return next;
}

bool ReadThemeValues(ThemeValues& values, std::string& problem, LONG* status) {
  // One look at the file for all 20, not one for each.
  values = ThemeValues();
  const LONG rc = RegistryReadDwords(HKEY_LOCAL_MACHINE, Names().names, kThemeTargetCount, values.items.data());
  if (status != nullptr) *status = rc;
  if (rc == ERROR_SUCCESS) return true;
  problem = RegistryLastErrorMessage();
  return false;
}

bool UpdateThemeValues(const std::function<ThemeValues(const ThemeValues& now)>& make, std::string& problem,
                       LONG* status, bool whole) {
  const LONG rc = RegistryUpdateDwords(
      HKEY_LOCAL_MACHINE, Names().names, kThemeTargetCount,
      [&](const std::optional<DWORD>* now, std::optional<DWORD>* next) {
        ThemeValues current;
        std::copy(now, now + kThemeTargetCount, current.items.begin());
        const ThemeValues wanted = make(current);
        std::copy(wanted.items.begin(), wanted.items.end(), next);
      },
      whole);
  if (status != nullptr) *status = rc;
  if (rc == ERROR_SUCCESS) return true;
  problem = RegistryLastErrorMessage();
  return false;
}
