#include "main/theme_commands.h"

#include <cstdio>

#include "main/make_theme_command.h"
#include "platform/file/utf16.h"
#include "platform/win/registry.h"
#include "model/theme/theme_history.h"
#include "model/theme/theme_library.h"

namespace {

int Failed(const std::string& problem, int code = 1) {
  std::fprintf(stderr, "tintor: %s\n", problem.c_str());
  return code;
}

int Apply(const ThemeValues& theme, const std::string& kind, const std::string& what) {
  int changed = 0;
  std::string problem;
  if (!ApplyTheme(theme, kind, changed, problem)) return Failed(problem + "; the registry is not changed");
  std::printf("%s: %d of the 20 theme colours changed\n", what.c_str(), changed);
  return 0;
}

int Move(bool undo) {
  ThemeHistory history(RegistryFilePath());
  std::string problem;
  switch (undo ? history.Undo(problem) : history.Redo(problem)) {
    case ThemeHistory::Outcome::kDone:
      std::printf(undo ? "undone: the theme is as it was before the last step\n"
                       : "redone: the theme is as it was after the step undone last\n");
      return 0;
    case ThemeHistory::Outcome::kNothingToDo:
      return Failed(problem);
    case ThemeHistory::Outcome::kFailed:
      break;
  }
  return Failed(problem + "; the registry is not changed");
}

int Import(const std::string& file) {
  ThemeValues theme;
  std::string problem;
  bool refused = false;
  if (!ReadImportFile(file, theme, problem, &refused)) {
    // A refused file is a fault of the file (2); one that cannot be read, of
    // the place (1), as for every other file.
    std::fprintf(stderr, "%s%s\n", refused ? "" : "tintor: ", problem.c_str());
    std::fprintf(stderr, "tintor: %s is not imported; nothing is written\n", file.c_str());
    return refused ? 2 : 1;
  }
  return Apply(theme, "import", "imported " + file);
}

}  // namespace

int RunThemeCommand(const ThemeCommand& command) {
  const std::string& arg = command.argument;
  std::string problem;
  ThemeValues values;
  switch (command.kind) {
    case ThemeCommand::Kind::kNone:
      return 0;
    case ThemeCommand::Kind::kUndo:
    case ThemeCommand::Kind::kRedo:
      return Move(command.kind == ThemeCommand::Kind::kUndo);
    case ThemeCommand::Kind::kSave:
      if (!ReadThemeValues(values, problem) || !SaveTheme(arg, values, problem)) return Failed(problem);
      std::printf("saved the theme as '%s'\n", arg.c_str());
      return 0;
    case ThemeCommand::Kind::kApply:
      if (!LoadTheme(arg, values, problem)) return Failed(problem);
      return Apply(values, "apply", "applied theme '" + arg + "'");
    case ThemeCommand::Kind::kList:
      for (const ThemePreset& preset : ThemePresets()) std::printf("preset\t%s\n", Utf16ToUtf8(preset.name).c_str());
      for (const std::string& name : ListSavedThemes()) std::printf("saved\t%s\n", name.c_str());
      return 0;
    case ThemeCommand::Kind::kDelete:
      if (!DeleteTheme(arg, problem)) return Failed(problem);
      std::printf("deleted the theme '%s'\n", arg.c_str());
      return 0;
    case ThemeCommand::Kind::kExport:
      if (!ReadThemeValues(values, problem) || !ExportTheme(values, arg, command.format, problem)) {
        return Failed(problem);
      }
      std::printf("exported the theme to %s\n", arg.c_str());
      return 0;
    case ThemeCommand::Kind::kImport:
      return Import(arg);
    case ThemeCommand::Kind::kMake:
      return RunMakeTheme({arg, command.dark, command.exact, command.name});
  }
  return 1;
}
