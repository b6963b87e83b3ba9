#include "main/theme_commands.h"

#include <cstdio>

#include "main/make_theme_command.h"
#include "platform/file/shown_text.h"
#include "model/colour_hex.h"
#include "model/theme/theme_library.h"
#include "model/theme/theme_store.h"
#include "model/theme_targets.h"
#include "platform/file/user_folders.h"
#include "platform/file/utf16.h"
#include "platform/win/registry.h"

namespace {

// Names and reasons may come from a file or from what was typed: shown
// escaped, on one line, cut at a stated length.
std::string Name(const std::string& name) { return ShownText(name, kShownNameChars); }
std::string Path(const std::string& path) { return ShownText(path, kShownLineChars); }

int Failed(const std::string& problem, int code = 1) {
  std::fprintf(stderr, "tintor: %s\n", ShownText(problem, kShownLineChars).c_str());
  return code;
}

int Said(bool done, const std::string& problem, const std::string& what) {
  if (!done) return Failed(problem + "; the registry is not changed");
  std::printf("%s\n", what.c_str());
  return 0;
}

// A step that changes nothing a person sees is not written nor recorded.
std::string Changed(const std::string& what, int changed) {
  if (changed == 0) return what + ": nothing changed, the theme colours are already these; no step is recorded";
  return what + ": " + std::to_string(changed) + " of the 20 theme colours changed";
}

std::string Colours(std::size_t n) { return std::to_string(n) + (n == 1 ? " theme colour" : " theme colours"); }

// A step of the history in words: the item it changed, or what made it and
// how many items.
std::string Described(const ThemeStore::StepSeen& step) {
  const std::size_t n = step.changes.size();
  if (step.kind == "change" && n == 1) {
    const ThemeChange& c = step.changes[0];
    return "the change of item " + std::to_string(c.number) + " (" +
           Utf16ToUtf8(kThemeTargets[static_cast<std::size_t>(c.number - 1)].value_name) + ") from " +
           ColourHex(c.from) + " to " + ColourHex(c.to);
  }
  const std::string count = " (" + Colours(n) + ")";
  if (step.kind == "apply") return "applying the theme '" + Name(step.label) + "'" + count;
  if (step.kind == "import") return "importing " + Name(step.label) + count;
  if (step.kind == "restore") return "restoring the defaults" + count;
  return "a change of " + Colours(n);
}

int Move(ThemeStore& store, bool undo) {
  std::string problem;
  ThemeStore::StepSeen step;
  switch (undo ? store.Undo(problem, &step) : store.Redo(problem, &step)) {
    case ThemeStore::Outcome::kDone:
      std::printf("%s %s\n", undo ? "undone:" : "redone:", Described(step).c_str());
      return 0;
    case ThemeStore::Outcome::kNothingToDo:
      return Failed(problem);
    case ThemeStore::Outcome::kFailed:
      break;
  }
  return Failed(problem + "; the registry is not changed");
}

int Import(ThemeStore& store, const std::string& file) {
  ThemeValues theme;
  std::string problem;
  bool refused = false;
  if (!ThemeStore::ReadImport(file, theme, problem, &refused)) {
    // A refused file is a fault of the file (2); one that cannot be read, of
    // the place (1), as for every other file.
    std::fprintf(stderr, "%s%s\n", refused ? "" : "tintor: ", ShownText(problem, kShownLineChars).c_str());
    std::fprintf(stderr, "tintor: %s is not imported; nothing is written\n", Path(file).c_str());
    return refused ? 2 : 1;
  }
  int changed = 0;
  const bool done = store.Apply(theme, ThemeApply::kOver, "import", changed, problem, file.substr(file.rfind('/') + 1));
  return Said(done, problem, Changed("imported " + Path(file), changed));
}

}  // namespace

int RunThemeCommand(const ThemeCommand& command) {
  const std::string& arg = command.argument;
  ThemeStore store(RegistryFilePath());
  std::string problem;
  switch (command.kind) {
    case ThemeCommand::Kind::kNone:
      return 0;
    case ThemeCommand::Kind::kUndo:
    case ThemeCommand::Kind::kRedo:
      return Move(store, command.kind == ThemeCommand::Kind::kUndo);
    case ThemeCommand::Kind::kSave: {
      std::string name;
      if (!store.SaveCurrent(arg, problem)) return Failed(problem);
      CheckThemeName(arg, name);
      std::printf("saved the theme as '%s'\n", Name(name).c_str());
      return 0;
    }
    case ThemeCommand::Kind::kApply: {
      ThemeValues theme;
      ThemeApply how = ThemeApply::kOver;
      if (!store.Find(arg, theme, how, problem)) return Failed(problem);
      int changed = 0;
      const std::string name = TrimmedThemeName(arg);
      const bool done = store.Apply(theme, how, "apply", changed, problem, name);
      return Said(done, problem, Changed("applied theme '" + Name(name) + "'", changed));
    }
    case ThemeCommand::Kind::kList:
      for (const ThemePreset& preset : store.Presets()) std::printf("preset\t%s\n", Utf16ToUtf8(preset.name).c_str());
      // Without a themes folder the presets are all there is, and that is said.
      if (ThemesFolder().empty()) return Failed("no themes folder: " + HomeFolderProblem());
      for (const std::string& name : store.SavedNames()) std::printf("saved\t%s\n", Name(name).c_str());
      return 0;
    case ThemeCommand::Kind::kDelete:
      if (!store.Delete(arg, problem)) return Failed(problem);
      std::printf("deleted the theme '%s'\n", Name(TrimmedThemeName(arg)).c_str());
      return 0;
    case ThemeCommand::Kind::kExport:
      if (!store.ExportCurrent(arg, command.format, problem)) return Failed(problem);
      std::printf("exported the theme to %s\n", Path(arg).c_str());
      return 0;
    case ThemeCommand::Kind::kImport:
      return Import(store, arg);
    case ThemeCommand::Kind::kMake:
      return RunMakeTheme(
          {arg, MakeOptions{command.dark, command.exact, command.style, command.contrast}, command.name, command.json});
  }
  return 1;
}
