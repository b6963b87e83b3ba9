#include "model/theme/theme_operations.h"

#include "model/theme/theme_file.h"
#include "model/theme/theme_history.h"
#include "platform/win/registry.h"
#include "platform/file/whole_file.h"

namespace {

int Differences(const ThemeValues& a, const ThemeValues& b) {
  int n = 0;
  for (std::size_t i = 0; i < kThemeTargetCount; ++i) n += a.items[i] != b.items[i];
  return n;
}

}  // namespace

bool ApplyTheme(const ThemeValues& theme, const std::string& kind, int& changed, std::string& problem) {
  ThemeHistory history(RegistryFilePath());
  changed = 0;
  return history.Change(kind, [&](const ThemeValues& now) {
    ThemeValues next = now;
    for (std::size_t i = 0; i < kThemeTargetCount; ++i) {
      if (theme.items[i]) next.items[i] = theme.items[i];
    }
    changed = Differences(now, next);
    return next;
  }, problem);
}

bool ReadImportFile(const std::string& file, ThemeValues& theme, std::string& problem, bool* refused,
                    RegFileFault* fault) {
  if (refused != nullptr) *refused = false;
  std::string bytes;
  if (!ReadWholeFile(file, bytes, problem)) return false;
  RegFileFault found;
  if (ReadThemeFile(bytes, theme, found)) return true;
  if (refused != nullptr) *refused = true;
  problem = file + ":" + std::to_string(found.line) + ": " + found.reason;
  if (fault != nullptr) *fault = std::move(found);
  return false;
}

bool ExportTheme(const ThemeValues& values, const std::string& path, RegFileForm form, std::string& problem) {
  return ReplaceWholeFile(path, EncodeThemeFile(values.Completed(), form), problem);
}
