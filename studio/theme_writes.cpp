#include "studio/theme_writes.h"

#include <vector>

#include "model/color_swatches.h"
#include "model/theme/theme_history.h"
#include "model/theme_color_store.h"
#include "model/theme_targets.h"
#include "platform/win/registry.h"
#include "studio/studio_texts.h"

bool WriteSwatch(int item, int control_id) {
  const ColorSwatch* swatch = FindColorSwatch(control_id);
  if (swatch == nullptr || item < 1 || item > static_cast<int>(kThemeTargetCount)) return false;
  const ThemeTarget& target = kThemeTargets[static_cast<std::size_t>(item - 1)];
  return WriteThemeColor(HKEY_LOCAL_MACHINE, target.key, target.value_name, swatch->color, true);
}

bool RestoreDefaults(std::u16string& message) {
  std::vector<RegistryValueName> names;
  for (const ThemeTarget& target : kThemeTargets) names.push_back({target.key, target.value_name});
  const LONG status = RegistryDeleteValues(HKEY_LOCAL_MACHINE, names.data(), names.size());
  if (status != ERROR_SUCCESS) {
    message = studio_text::RestoreFailed(RegistryFilePath(), status);
    return false;
  }
  // One write, so one step of the history; recorded as a restore before the
  // watch sees it as a change.
  std::string unrecorded;
  ThemeHistory(RegistryFilePath()).Record("restore", unrecorded);
  message = studio_text::kRestored;
  return true;
}
