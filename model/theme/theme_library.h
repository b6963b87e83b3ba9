// Named themes: each a registry file of its own in the themes folder
// ($XDG_DATA_HOME/tintor/themes, else ~/.local/share/tintor/themes), and
// the presets built in: 默认, exactly the phone's defaults (nothing stored),
// and 深色, 高对比 and 清晰 (the defaults in the nearest readable swatches),
// made of swatch colours only and readable on every surface. Names are UTF-8
// text and may be Chinese; CheckThemeName says which names a theme may take,
// ThemeFileName how a name becomes a file name.
#pragma once

#include <string>
#include <vector>

#include "model/theme/theme_values.h"

// The themes folder, or empty when no home folder can be found.
std::string ThemesFolder();

// The file name a theme is saved under: the name's UTF-8 bytes with '%', '/',
// '\', control characters and a leading '.' written as %XX (two upper-case
// hex digits), then ".reg". Empty for a name that cannot be one: empty, not
// UTF-8, or longer than 200 bytes so written.
std::string ThemeFileName(const std::string& name);
// The file name a theme is exported under, for a person to read: '/' and
// '\' as their full-width forms (／, ＼), a control character or a leading
// '.' as '_', then ".reg". Empty for a name that cannot be one.
std::string ExportFileName(const std::string& name);
// The theme name of a file name in the themes folder; empty when the file is
// none of ours.
std::string ThemeNameOfFile(const std::string& file_name);

struct ThemePreset {
  const char16_t* name;
  ThemeValues values;  // the items it stores; the others are the defaults
};
const std::vector<ThemePreset>& ThemePresets();
// The preset called `name`, else null.
const ThemePreset* FindPreset(const std::string& name);

// The longest theme name, in characters (not bytes).
inline constexpr std::size_t kThemeNameMaxChars = 40;
// What is wrong with a name typed for a theme.
enum class ThemeNameFault { kNone, kBlank, kControl, kTooLong, kPreset, kNotText };
// The name `typed` (UTF-8) becomes, trimmed of spaces (ideographic ones too)
// at both ends, into `name`: it must hold a visible character, no control
// character or line break, be no preset's name, and have at most
// kThemeNameMaxChars characters. The same rule for every place a theme is
// named.
ThemeNameFault CheckThemeName(const std::string& typed, std::string& name);
// `typed` without the spaces (ideographic ones too) at both ends: the name a
// save gives a theme, and the name apply and delete look for.
std::string TrimmedThemeName(const std::string& typed);
// The fault in words, for the command line: "'NAME' cannot be ...".
std::string ThemeNameProblem(const std::string& typed, ThemeNameFault fault);

// The saved themes' names, sorted by their bytes.
std::vector<std::string> ListSavedThemes();

// Saves every item of `values` (each stored, else its default) as theme
// `name`, replacing a saved theme of that name. A name CheckThemeName
// refuses is refused.
bool SaveTheme(const std::string& name, const ThemeValues& values, std::string& error);

// The values of the saved theme `name` (trimmed as a save trims it), else of
// the preset of that name. `missing` (if given) tells a theme that does not
// exist from a bad file.
bool LoadTheme(const std::string& name, ThemeValues& values, std::string& error, bool* missing = nullptr);

// Removes the saved theme `name`'s file (the name trimmed as a save trims
// it); a preset's name is refused, saying presets cannot be deleted.
// `missing` (if given) tells a theme that is not there (deleted by another
// Tintor, say) from one that cannot be removed.
bool DeleteTheme(const std::string& name, std::string& error, bool* missing = nullptr);

// Saves `values` as a new theme `name` (checked as SaveTheme does), never
// over a theme that is there: a preset, a saved theme readable or not, or
// one another Tintor saves at the same moment. `taken` (if given) says when
// that is why nothing was saved. `saved` (if given) gets the name as kept.
bool SaveNewTheme(const std::string& name, const ThemeValues& values, std::string& error, bool* taken = nullptr,
                  std::string* saved = nullptr);
