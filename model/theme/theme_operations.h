// The theme's operations that the command line and the studio both take:
// applying a theme over the registry's, reading a registry file to import,
// exporting the theme to a registry file.
#pragma once

#include <string>

#include "model/theme/theme_values.h"
#include "platform/win/reg_file_format.h"

// Writes the items `theme` holds over the registry's in one locked, durable
// write, recorded as one step of `kind` (apply, import) in the history;
// `changed` gets how many of the 20 changed. False with `problem` set when
// nothing was written.
bool ApplyTheme(const ThemeValues& theme, const std::string& kind, int& changed, std::string& problem);
// Reads the registry file `file` as a theme to import. False with `problem`
// set when it cannot be read, or when it is refused: then `refused` (if
// given) is true, `problem` is "FILE:LINE: reason", the first fault, and
// `fault` (if given) says what kind of fault and where.
bool ReadImportFile(const std::string& file, ThemeValues& theme, std::string& problem,
                    bool* refused = nullptr, RegFileFault* fault = nullptr);
// Writes every item of `values` (each stored, else its default) into the
// registry file `path` in `form`; a link, folder, device or pipe there is
// left alone. False with `problem` set when nothing was written.
bool ExportTheme(const ThemeValues& values, const std::string& path, RegFileForm form, std::string& problem);
