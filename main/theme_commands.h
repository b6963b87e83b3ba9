// The theme commands of the command line: undo and redo, saving, applying,
// listing and deleting named themes, export and import. Each runs once and
// gives the process's exit code: 0 done, 1 not done (nothing to undo or
// redo, no such theme, a registry or file that cannot be read or written),
// 2 an import file refused. Messages go to standard output and error.
#pragma once

#include <string>

#include "platform/win/reg_file_format.h"
#include "model/theme/theme_operations.h"

struct ThemeCommand {
  enum class Kind { kNone, kUndo, kRedo, kSave, kApply, kList, kDelete, kExport, kImport };
  Kind kind = Kind::kNone;
  std::string argument;  // the theme's name or the file
  RegFileForm format = RegFileForm::kVersion5;
};

int RunThemeCommand(const ThemeCommand& command);
