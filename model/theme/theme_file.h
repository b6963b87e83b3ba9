// A theme as a registry file: the theme's values under their two keys and
// nothing else, in either form registry editors write, so that a registry
// editor on a phone can import it; and reading one back, from Tintor or from
// another registry editor, with nothing in it but the theme.
#pragma once

#include <string>

#include "platform/win/reg_file_format.h"
#include "model/theme/theme_values.h"

// The stored values of `values` as a registry file in `form`.
std::string EncodeThemeFile(const ThemeValues& values, RegFileForm form);

// Reads a theme file: only dword values of the 20 items under their two keys
// (names compare without regard to case; the keys above them may stand
// there, empty). Items the file does not hold stay missing in `values`.
// Anything else refuses the whole file: false, with `fault` saying where and why.
bool ReadThemeFile(const std::string& bytes, ThemeValues& values, RegFileFault& fault);
