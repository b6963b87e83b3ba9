#include "studio/theme_snapshot.h"

#include "model/theme_targets.h"

ThemeSnapshot::ThemeSnapshot() {
  for (const ThemeTarget& target : kThemeTargets) {
    colors_[target.menu_id - kFirstTargetMenuId] = DefaultThemeColor(target.key, target.value_name);
  }
}

ThemeSnapshot ThemeSnapshot::Read() {
  ThemeSnapshot snapshot;
  ThemeItemColors stored;
  std::string problem;
  if (!ReadThemeItemColors(stored, &problem, &snapshot.status_)) {
    snapshot.problem_ = problem.empty() ? "unknown error" : problem;
    return snapshot;
  }
  for (const ThemeTarget& target : kThemeTargets) {
    snapshot.colors_[target.menu_id - kFirstTargetMenuId] =
        stored[ThemeItemIndex(target.key, target.value_name)];
  }
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
