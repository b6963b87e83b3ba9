#include "model/theme/theme_file.h"

#include <string_view>

#include "platform/file/utf16.h"
#include "platform/win/registry.h"

namespace {

constexpr int kLocalMachine = 2;  // HKEY_LOCAL_MACHINE's root index

// A key path such as "\SOFTWARE\Meizu\Theme\Colors" as its parts.
RegistryPath PathOf(std::u16string_view key) {
  RegistryPath path;
  while (!key.empty()) {
    if (key.front() == u'\\') key.remove_prefix(1);
    const std::size_t sep = key.find(u'\\');
    path.emplace_back(key.substr(0, sep));
    if (sep == std::u16string_view::npos) break;
    key.remove_prefix(sep);
  }
  return path;
}

// Whether `path` is `key` or, with `or_above`, one of the keys above it.
bool Names(const RegistryPath& path, std::u16string_view key, bool or_above) {
  const RegistryPath whole = PathOf(key);
  if (path.size() > whole.size() || (!or_above && path.size() != whole.size())) return false;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (!RegistryNamesEqual(path[i], whole[i])) return false;
  }
  return true;
}

// The schema's item stored as `name` under `path`, or kThemeItemCount.
std::size_t ItemAt(const RegistryPath& path, std::u16string_view name) {
  std::u16string key;
  for (const std::u16string& part : path) key += u"\\" + part;
  return ThemeItemIndex(key, name);
}

std::string CheckEntry(const RegFileEntry& e) {
  const bool theme_key = e.root == kLocalMachine &&
                         (Names(e.path, kSystemColorsKey, false) || Names(e.path, kAppColorsKey, false));
  if (e.value_name == nullptr) {
    if (e.removal) return "a theme removes no keys";
    if (theme_key || (e.root == kLocalMachine && Names(e.path, kSystemColorsKey, true))) return {};
    return "this key holds no theme colours (only HKEY_LOCAL_MACHINE\\SOFTWARE\\Meizu\\Theme\\Colors "
           "and its subkey App do)";
  }
  const std::string name = Utf16ToUtf8(*e.value_name);
  if (!theme_key) return "value \"" + name + "\" under a key that holds no theme colours";
  if (e.removal) return "a theme removes no values (\"" + name + "\"=-)";
  if (ItemAt(e.path, *e.value_name) == kThemeItemCount) {
    return "\"" + name + "\" is not one of the theme's colours under this key";
  }
  if (e.type != REG_DWORD || e.data->size() != 4) return "\"" + name + "\" is not a dword value";
  return {};
}

RegistryKey* KeyFor(RegistryHive& hive, const ThemeTarget& target) {
  return hive.Create(kLocalMachine, PathOf(target.key), nullptr);
}

}  // namespace

std::string EncodeThemeFile(const ThemeValues& values, RegFileForm form) {
  RegistryHive hive;
  for (std::size_t i = 0; i < kThemeTargetCount; ++i) {
    if (!values.items[i]) continue;
    const DWORD v = *values.items[i];
    KeyFor(hive, kThemeTargets[i])
        ->SetValue(kThemeTargets[i].value_name, REG_DWORD,
                   DwordBytes(v));
  }
  return EncodeRegFile(hive, form, true);
}

bool ReadThemeFile(const std::string& bytes, ThemeValues& values, RegFileFault& fault) {
  RegistryHive hive;
  if (!ReadRegFile(bytes.data(), bytes.size(), CheckEntry, &hive, &fault)) return false;
  values = ThemeValues();
  for (std::size_t i = 0; i < kThemeTargetCount; ++i) {
    const RegistryKey* key = hive.Find(kLocalMachine, PathOf(kThemeTargets[i].key));
    const RegistryValue* value = key != nullptr ? key->FindValue(kThemeTargets[i].value_name) : nullptr;
    if (value != nullptr) values.items[i] = value->Dword();
  }
  return true;
}
