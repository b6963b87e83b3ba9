// The theme commands of the command line: undo and redo, saving, applying,
// listing and deleting named themes, export and import. Each runs once and
// gives the process's exit code: 0 done, 1 not done (nothing to undo or
// redo, no such theme, a registry or file that cannot be read or written),
// 2 an import file refused. Messages go to standard output and error.
#pragma once

#include <string>

#include "platform/win/reg_file_format.h"
#include "studio/theme_values.h"

struct ThemeCommand {
  enum class Kind { kNone, kUndo, kRedo, kSave, kApply, kList, kDelete, kExport, kImport };
  Kind kind = Kind::kNone;
  std::string argument;  // the theme's name or the file
  RegFileForm format = RegFileForm::kVersion5;
};

int RunThemeCommand(const ThemeCommand& command);

// The steps behind the commands, which the studio takes too.
//
// Writes the items `theme` holds over the registry's in one locked, durable
// write, recorded as one step of `kind` (apply, import) in the history;
// `changed` gets how many of the 20 changed. False with `problem` set when
// nothing was written.
bool ApplyTheme(const ThemeValues& theme, const std::string& kind, int& changed, std::string& problem);
// Reads the registry file `file` as a theme to import. False with `problem`
// set when it cannot be read, or when it is refused: then `refused` (if
// given) is true and `problem` is "FILE:LINE: reason", the first fault.
bool ReadImportFile(const std::string& file, ThemeValues& theme, std::string& problem,
                    bool* refused = nullptr);
// Writes every item of `values` (each stored, else its default) into the
// registry file `path` in `form`; a link, folder, device or pipe there is
// left alone. False with `problem` set when nothing was written.
bool ExportTheme(const ThemeValues& values, const std::string& path, RegFileForm form, std::string& problem);
