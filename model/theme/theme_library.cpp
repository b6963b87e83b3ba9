#include "model/theme/theme_library.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "model/color_swatches.h"
#include "platform/file/folder.h"
#include "platform/file/user_folders.h"
#include "platform/file/utf16.h"
#include "model/theme/theme_file.h"
#include "platform/file/whole_file.h"

namespace {

constexpr std::size_t kMaxFileNameBytes = 200;
constexpr char kHex[] = "0123456789ABCDEF";

// A preset from the control ids of its 20 swatches, in menu order.
ThemePreset Preset(const char16_t* name, const std::array<int, kThemeTargetCount>& swatches) {
  ThemePreset preset{name, {}};
  for (std::size_t i = 0; i < kThemeTargetCount; ++i) preset.values.items[i] = FindColorSwatch(swatches[i])->color;
  return preset;
}

int HexValue(char c) {
  const char* at = c == '\0' ? nullptr : std::strchr(kHex, c);
  return at == nullptr ? -1 : static_cast<int>(at - kHex);
}

bool IsUtf8(const std::string& text) { return Utf16ToUtf8(Utf8ToUtf16(text)) == text; }

const ThemePreset* FindPreset(const std::string& name) {
  for (const ThemePreset& p : ThemePresets()) {
    if (Utf16ToUtf8(p.name) == name) return &p;
  }
  return nullptr;
}

std::string PathOf(const std::string& name, std::string& error) {
  const std::string file = ThemeFileName(name);
  const std::string folder = ThemesFolder();
  if (file.empty()) error = "'" + name + "' cannot be a theme name (empty, not UTF-8 text, or too long)";
  if (folder.empty()) error = "no themes folder: HOME is not set";
  return file.empty() || folder.empty() ? std::string() : folder + "/" + file;
}

}  // namespace

std::string ThemesFolder() {
  const std::string data = UserFolderPath(UserFolder::kData);
  return data.empty() ? data : data + "/tintor/themes";
}

std::string ThemeFileName(const std::string& name) {
  if (name.empty() || !IsUtf8(name)) return {};
  std::string file;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (c < 0x20 || c == 0x7F || c == '%' || c == '/' || c == '\\' || (i == 0 && c == '.')) {
      file += '%';
      file += kHex[c >> 4];
      file += kHex[c & 0xF];
    } else {
      file += static_cast<char>(c);
    }
  }
  if (file.size() > kMaxFileNameBytes) return {};
  return file + ".reg";
}

std::string ThemeNameOfFile(const std::string& file_name) {
  if (file_name.size() <= 4 || file_name.compare(file_name.size() - 4, 4, ".reg") != 0) return {};
  std::string name;
  for (std::size_t i = 0; i + 4 < file_name.size(); ++i) {
    if (file_name[i] != '%') {
      name += file_name[i];
      continue;
    }
    if (i + 2 >= file_name.size() - 4) return {};
    const int hi = HexValue(file_name[i + 1]);
    const int lo = HexValue(file_name[i + 2]);
    if (hi < 0 || lo < 0) return {};
    name += static_cast<char>((hi << 4) | lo);
    i += 2;
  }
  // Only the one way of writing each name counts: no temporary or foreign files.
  return ThemeFileName(name) == file_name ? name : std::string();
}

const std::vector<ThemePreset>& ThemePresets() {
  static const std::vector<ThemePreset> presets = {
      // The phone's defaults in the nearest swatches that read well everywhere.
      Preset(u"默认", {155, 164, 163, 164, 102, 102, 119, 102, 120, 119, 163, 119, 145, 163, 102, 133, 109, 102, 102, 119}),
      // Light texts on a dark navy window.
      Preset(u"深色", {156, 164, 163, 117, 163, 163, 145, 102, 120, 119, 163, 145, 145, 163, 164, 156, 150, 164, 163, 145}),
      // White and yellow on black; black on the white surfaces.
      Preset(u"高对比", {106, 163, 163, 102, 163, 163, 106, 102, 102, 102, 106, 106, 145, 163, 163, 106, 162, 163, 163, 106}),
  };
  return presets;
}

std::vector<std::string> ListSavedThemes() {
  std::vector<std::string> names;
  const std::string folder = ThemesFolder();
  std::vector<std::string> files;
  FileError ignored;
  if (folder.empty() || !ListFolder(folder, &files, &ignored)) return names;
  for (const std::string& file : files) {
    std::string name = ThemeNameOfFile(file);
    if (!name.empty()) names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool SaveTheme(const std::string& name, const ThemeValues& values, std::string& error) {
  if (FindPreset(name) != nullptr) {
    error = "'" + name + "' is the name of a preset; choose another name";
    return false;
  }
  const std::string path = PathOf(name, error);
  return !path.empty() && ReplaceWholeFile(path, EncodeThemeFile(values.Completed(), RegFileForm::kVersion5), error);
}

bool LoadTheme(const std::string& name, ThemeValues& values, std::string& error, bool* missing) {
  if (missing != nullptr) *missing = false;
  // A preset needs no folder: it is there when the themes folder cannot be
  // found or read.
  const ThemePreset* preset = FindPreset(name);
  const std::string path = PathOf(name, error);
  std::string bytes;
  bool absent = false;
  if (path.empty() || !ReadWholeFile(path, bytes, error, &absent)) {
    if (preset != nullptr) {
      values = preset->values;
      return true;
    }
    if (path.empty() || !absent) return false;
    if (missing != nullptr) *missing = true;
    error = "no theme named '" + name + "' (see tintor --list-themes)";
    return false;
  }
  RegFileFault fault;
  if (!ReadThemeFile(bytes, values, fault)) {
    error = path + ":" + std::to_string(fault.line) + ": " + fault.reason;
    return false;
  }
  return true;
}

bool DeleteTheme(const std::string& name, std::string& error) {
  const std::string path = PathOf(name, error);
  if (path.empty()) return false;
  // Only the file itself goes: never a link's target, nor a file reached
  // through another user's link.
  FileError failure;
  if (!RemoveFile(path, &failure)) {
    error = failure.error_number == ENOENT ? "no saved theme named '" + name + "'"
                                           : "cannot delete " + path + " (" + failure.reason + ")";
    return false;
  }
  return true;
}

bool ThemeNameTaken(const std::string& name) {
  ThemeValues values;
  std::string problem;
  bool missing = false;
  return LoadTheme(name, values, problem, &missing) || !missing;
}

std::string FreeThemeName(const std::string& base) {
  constexpr int kMostTries = 99;
  if (!ThemeNameTaken(base)) return base;
  for (int n = 2; n <= kMostTries; ++n) {
    const std::string name = base + " " + std::to_string(n);
    if (!ThemeNameTaken(name)) return name;
  }
  return {};
}
