// The theme commands of the command line: undo and redo, saving, applying,
// listing and deleting named themes, export and import, making one. Each runs once and
// gives the process's exit code: 0 done, 1 not done (nothing to undo or
// redo, no such theme, a registry or file that cannot be read or written),
// 2 an import file refused. Messages go to standard output and error.
#pragma once

#include <string>

#include "platform/win/reg_file_format.h"
#include "model/theme/theme_maker.h"
#include "model/theme/theme_store.h"

struct ThemeCommand {
  enum class Kind { kNone, kUndo, kRedo, kSave, kApply, kList, kDelete, kExport, kImport, kMake };
  Kind kind = Kind::kNone;
  std::string argument;  // the theme's name, the file, or what a theme is made from
  RegFileForm format = RegFileForm::kVersion5;
  // Making a theme (main/make_theme_command.h): dark, of any colour, its
  // style and contrast level, its name, its printout as JSON.
  bool dark = false;
  bool exact = false;
  ThemeStyle style = ThemeStyle::kSoft;
  ContrastLevel contrast = ContrastLevel::kStandard;
  std::string name{};
  bool json = false;
};

int RunThemeCommand(const ThemeCommand& command);
