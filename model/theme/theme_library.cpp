#include "model/theme/theme_library.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "model/color_swatches.h"
#include "platform/file/shown_text.h"
#include "platform/file/folder.h"
#include "platform/file/user_folders.h"
#include "platform/file/utf16.h"
#include "model/theme/theme_file.h"
#include "platform/file/whole_file.h"

namespace {

constexpr std::size_t kMaxFileNameBytes = 200;
constexpr char kHex[] = "0123456789ABCDEF";

// A preset as data over the theme's schema: the value names it stores and
// the swatch each is stored as; the items it does not name are the defaults.
struct PresetColour {
  const char16_t* value_name;
  int swatch;
};

// The phone's defaults: nothing stored.
constexpr PresetColour kDefaults[] = {{nullptr, 0}};
// The phone's defaults in the nearest swatches that read well everywhere.
constexpr PresetColour kClear[] = {
    {u"MUSIC_LYRIC_SHADOW_COLOR", 155}, {u"LOCKPHONE_DATE_WEEK_COLOR", 164},
    {u"LOCKPHONE_DATE_MONTH_COLOR", 163}, {u"SYSCLR_WINDOW_BG", 164}, {u"SYSCLR_WINDOW_TEXT", 102},
    {u"SYSCLR_BUTTONEX_TEXT", 102}, {u"SYSCLR_BUTTONEX_TEXT2", 119}, {u"SYSCLR_BUTTON_TEXT", 102},
    {u"CANLENDAR_TITLE_STATIC", 120}, {u"CANLENDAR_NOEVENT_STATIC", 119}, {u"MUTE_ONOFF_TIPS_COLOR", 163},
    {u"SYSCLR_LIST_DESCRIPTION", 119}, {u"SYSCLR_TOOLBAR_TEXT_DISABLED", 145}, {u"SYSCLR_TOOLBAR_TEXT", 163},
    {u"SYSCLR_LIST_TEXT", 102}, {u"SYSCLR_LIST_TEXT2", 133}, {u"SYSCLR_LIST_TEXT3", 109},
    {u"SYSCLR_STATIC_TEXT", 102}, {u"SYSCLR_EDIT_TEXT", 102}, {u"SYSCLR_CAPTION_TEXT", 119},
};
// Light texts on a dark navy window.
constexpr PresetColour kDark[] = {
    {u"MUSIC_LYRIC_SHADOW_COLOR", 156}, {u"LOCKPHONE_DATE_WEEK_COLOR", 164},
    {u"LOCKPHONE_DATE_MONTH_COLOR", 163}, {u"SYSCLR_WINDOW_BG", 117}, {u"SYSCLR_WINDOW_TEXT", 163},
    {u"SYSCLR_BUTTONEX_TEXT", 163}, {u"SYSCLR_BUTTONEX_TEXT2", 145}, {u"SYSCLR_BUTTON_TEXT", 102},
    {u"CANLENDAR_TITLE_STATIC", 120}, {u"CANLENDAR_NOEVENT_STATIC", 119}, {u"MUTE_ONOFF_TIPS_COLOR", 163},
    {u"SYSCLR_LIST_DESCRIPTION", 145}, {u"SYSCLR_TOOLBAR_TEXT_DISABLED", 145}, {u"SYSCLR_TOOLBAR_TEXT", 163},
    {u"SYSCLR_LIST_TEXT", 164}, {u"SYSCLR_LIST_TEXT2", 156}, {u"SYSCLR_LIST_TEXT3", 150},
    {u"SYSCLR_STATIC_TEXT", 164}, {u"SYSCLR_EDIT_TEXT", 163}, {u"SYSCLR_CAPTION_TEXT", 145},
};
// White and yellow on black; black on the white surfaces.
constexpr PresetColour kHighContrast[] = {
    {u"MUSIC_LYRIC_SHADOW_COLOR", 106}, {u"LOCKPHONE_DATE_WEEK_COLOR", 163},
    {u"LOCKPHONE_DATE_MONTH_COLOR", 163}, {u"SYSCLR_WINDOW_BG", 102}, {u"SYSCLR_WINDOW_TEXT", 163},
    {u"SYSCLR_BUTTONEX_TEXT", 163}, {u"SYSCLR_BUTTONEX_TEXT2", 106}, {u"SYSCLR_BUTTON_TEXT", 102},
    {u"CANLENDAR_TITLE_STATIC", 102}, {u"CANLENDAR_NOEVENT_STATIC", 102}, {u"MUTE_ONOFF_TIPS_COLOR", 106},
    {u"SYSCLR_LIST_DESCRIPTION", 106}, {u"SYSCLR_TOOLBAR_TEXT_DISABLED", 145}, {u"SYSCLR_TOOLBAR_TEXT", 163},
    {u"SYSCLR_LIST_TEXT", 163}, {u"SYSCLR_LIST_TEXT2", 106}, {u"SYSCLR_LIST_TEXT3", 162},
    {u"SYSCLR_STATIC_TEXT", 163}, {u"SYSCLR_EDIT_TEXT", 163}, {u"SYSCLR_CAPTION_TEXT", 106},
};

template <std::size_t N>
constexpr bool InSchema(const PresetColour (&colours)[N]) {
  for (const PresetColour& c : colours) {
    if (c.value_name != nullptr && ThemeItemIndex({}, c.value_name) == kThemeItemCount) return false;
  }
  return true;
}
static_assert(InSchema(kClear) && InSchema(kDark) && InSchema(kHighContrast),
              "a preset names only values of the theme's schema");

template <std::size_t N>
ThemePreset Preset(const char16_t* name, const PresetColour (&colours)[N]) {
  ThemePreset preset{name, {}};
  for (const PresetColour& c : colours) {
    if (c.value_name != nullptr) preset.values.items[ThemeItemIndex({}, c.value_name)] = FindColorSwatch(c.swatch)->color;
  }
  return preset;
}

std::size_t CharacterCount(const std::u16string& text) {
  std::size_t n = 0;
  for (char16_t c : text) n += c < 0xDC00 || c > 0xDFFF;  // a pair counts once
  return n;
}

int HexValue(char c) {
  const char* at = c == '\0' ? nullptr : std::strchr(kHex, c);
  return at == nullptr ? -1 : static_cast<int>(at - kHex);
}

bool IsUtf8(const std::string& text) { return Utf16ToUtf8(Utf8ToUtf16(text)) == text; }

std::string PathOf(const std::string& name, std::string& error) {
  const std::string file = ThemeFileName(name);
  const std::string folder = ThemesFolder();
  if (file.empty()) error = "'" + name + "' cannot be a theme name (empty, not UTF-8 text, or too long)";
  if (folder.empty()) error = "no themes folder: " + HomeFolderProblem();
  return file.empty() || folder.empty() ? std::string() : folder + "/" + file;
}

// Writes `values` as theme `typed` (checked first): over a saved theme of
// that name, or `only_new` never over anything (see SaveNewTheme).
bool WriteTheme(const std::string& typed, const ThemeValues& values, bool only_new, std::string& error, bool* taken,
                std::string* saved) {
  if (taken != nullptr) *taken = false;
  std::string name;
  if (const ThemeNameFault fault = CheckThemeName(typed, name); fault != ThemeNameFault::kNone) {
    if (taken != nullptr) *taken = fault == ThemeNameFault::kPreset;
    error = ThemeNameProblem(typed, fault);
    return false;
  }
  if (saved != nullptr) *saved = name;
  const std::string path = PathOf(name, error);
  const std::string bytes = EncodeThemeFile(values.Completed(), RegFileForm::kVersion5);
  return !path.empty() &&
         (only_new ? WriteNewWholeFile(path, bytes, error, taken) : ReplaceWholeFile(path, bytes, error));
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

std::string ExportFileName(const std::string& name) {
  if (name.empty() || !IsUtf8(name)) return {};
  std::string file;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (c == '/') {
      file += "\uFF0F";  // ／, the full-width solidus
    } else if (c == '\\') {
      file += "\uFF3C";  // ＼
    } else if (c < 0x20 || c == 0x7F || (i == 0 && c == '.')) {
      file += '_';
    } else {
      file += static_cast<char>(c);
    }
  }
  return file.size() > kMaxFileNameBytes ? std::string() : file + ".reg";
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
      Preset(u"默认", kDefaults),
      Preset(u"深色", kDark),
      Preset(u"高对比", kHighContrast),
      Preset(u"清晰", kClear),
  };
  return presets;
}

const ThemePreset* FindPreset(const std::string& name) {
  for (const ThemePreset& p : ThemePresets()) {
    if (Utf16ToUtf8(p.name) == name) return &p;
  }
  return nullptr;
}

std::string TrimmedThemeName(const std::string& typed) {
  static constexpr std::string_view kBlanks[] = {" ", "\u3000"};
  std::string_view name = typed;
  for (bool more = true; more;) {
    more = false;
    for (const std::string_view blank : kBlanks) {
      if (name.substr(0, blank.size()) == blank) name.remove_prefix(blank.size()), more = true;
      if (name.size() >= blank.size() && name.substr(name.size() - blank.size()) == blank) {
        name.remove_suffix(blank.size());
        more = true;
      }
    }
  }
  return std::string(name);
}

ThemeNameFault CheckThemeName(const std::string& typed, std::string& name) {
  name.clear();
  if (!IsUtf8(typed)) return ThemeNameFault::kNotText;
  const std::u16string text = Utf8ToUtf16(TrimmedThemeName(typed));
  bool visible = false;
  for (char16_t c : text) {
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029) return ThemeNameFault::kControl;
    // Spaces of every width, and the marks that take no room, show nothing.
    const bool empty = c == u' ' || c == 0x00A0 || c == 0x3000 || (c >= 0x2000 && c <= 0x200F) ||
                       (c >= 0x202A && c <= 0x202F) || c == 0x205F || (c >= 0x2060 && c <= 0x206F) || c == 0xFEFF;
    visible = visible || !empty;
  }
  if (!visible) return ThemeNameFault::kBlank;
  if (CharacterCount(text) > kThemeNameMaxChars) return ThemeNameFault::kTooLong;
  name = Utf16ToUtf8(text);
  if (FindPreset(name) != nullptr) return ThemeNameFault::kPreset;
  return ThemeNameFault::kNone;
}

std::string ThemeNameProblem(const std::string& typed, ThemeNameFault fault) {
  const std::string shown = "'" + ShownText(typed, kShownNameChars) + "'";
  switch (fault) {
    case ThemeNameFault::kNone: break;
    case ThemeNameFault::kBlank: return "a theme name needs a visible character";
    case ThemeNameFault::kControl: return shown + " cannot be a theme name: it holds a control character or a line break";
    case ThemeNameFault::kTooLong:
      return shown + " cannot be a theme name: it is longer than " + std::to_string(kThemeNameMaxChars) + " characters";
    case ThemeNameFault::kPreset: return shown + " is the name of a preset; choose another name";
    case ThemeNameFault::kNotText: return shown + " cannot be a theme name: it is not UTF-8 text";
  }
  return {};
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

bool SaveTheme(const std::string& typed, const ThemeValues& values, std::string& error) {
  return WriteTheme(typed, values, false, error, nullptr, nullptr);
}

bool LoadTheme(const std::string& typed, ThemeValues& values, std::string& error, bool* missing) {
  if (missing != nullptr) *missing = false;
  const std::string name = TrimmedThemeName(typed);
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
    error = fault.In(path);
    return false;
  }
  return true;
}

bool DeleteTheme(const std::string& typed, std::string& error, bool* missing) {
  if (missing != nullptr) *missing = false;
  const std::string name = TrimmedThemeName(typed);
  if (FindPreset(name) != nullptr) {
    error = "'" + name + "' is a preset; presets are built in and cannot be deleted";
    return false;
  }
  const std::string path = PathOf(name, error);
  if (path.empty()) return false;
  // Only the file itself goes: never a link's target, nor a file reached
  // through another user's link.
  FileError failure;
  if (!RemoveFile(path, &failure)) {
    if (missing != nullptr) *missing = failure.error_number == ENOENT;
    error = failure.error_number == ENOENT ? "no saved theme named '" + name + "'"
                                           : "cannot delete " + path + " (" + failure.reason + ")";
    return false;
  }
  return true;
}

bool SaveNewTheme(const std::string& typed, const ThemeValues& values, std::string& error, bool* taken,
                  std::string* saved) {
  return WriteTheme(typed, values, true, error, taken, saved);
}
