#include "model/theme/theme_snapshot.h"

#include "model/theme/theme_values.h"
#include "model/theme_targets.h"

ThemeSnapshot::ThemeSnapshot() {
  for (const ThemeTarget& target : kThemeTargets) {
    colors_[target.menu_id - kFirstTargetMenuId] = DefaultThemeColor(target.key, target.value_name);
  }
}

ThemeSnapshot ThemeSnapshot::Read() {
  ThemeSnapshot snapshot;
  ThemeValues stored;
  std::string problem;
  if (!ReadThemeValues(stored, problem, &snapshot.status_)) {
    snapshot.problem_ = problem.empty() ? "unknown error" : problem;
    return snapshot;
  }
  const ThemeValues full = stored.Completed();
  for (std::size_t i = 0; i < kThemeItemCount; ++i) snapshot.colors_[i] = *full.items[i];
  return snapshot;
}

COLORREF ThemeSnapshot::Item(int number) const {
  if (number < 1 || number > kItemCount) return 0;
  return colors_[static_cast<std::size_t>(number - 1)];
}

ThemeSnapshot ThemeSnapshot::With(int number, COLORREF color) const {
  ThemeSnapshot changed = *this;
  if (number >= 1 && number <= kItemCount) changed.colors_[static_cast<std::size_t>(number - 1)] = color;
  return changed;
}
