// The studio in the window: opens the shell's place beside the phone, puts
// the preview panel there, and keeps it live through the watch on the
// registry file (the shell's loop wakes for the watch and reads the news);
// the same watch keeps the theme shelf's list live with the themes folder.
// It runs what the panel asks for: the item card, the theme shelf and the
// question before the defaults are restored.
// The shell knows nothing of what stands in that place. Every change of the
// theme it sees (a colour set on the phone, a restore, a change by another
// Tintor or by hand) is recorded in the theme's undo history, and the
// window's Ctrl+Z undoes a step, Ctrl+Shift+Z and Ctrl+Y redo one (in the
// theme shelf and the item card too). A
// registry file dropped on the window is imported as --import-theme does:
// refused whole, with nothing written, unless it holds only theme colours; a
// picture dropped on it opens the shelf's 配色 place, its themes made from it.
#pragma once

#include <string>

#include "studio/card/card_run.h"
#include "studio/preview/preview_panel.h"
#include "platform/file/file_watch.h"
#include "model/theme/theme_store.h"

class Shell;
class ThemeShelf;

class Studio {
 public:
  // Reads the theme, starts watching `registry_path` and takes the place
  // beside the phone, shown or hidden (the way back only).
  Studio(Shell& shell, const std::string& registry_path, bool shown);
  ~Studio();
  Studio(const Studio&) = delete;
  Studio& operator=(const Studio&) = delete;

  PreviewPanel& Panel() { return panel_; }
  // Reads the theme again and shows it wherever it shows; true when it
  // changed.
  bool Reload();
  // The file at `path`, when it comes as if dropped on the window (the file
  // the window was opened with), is imported only after a question.
  void AskBeforeImporting(std::string path) { import_to_ask_ = std::move(path); }
  // Why the registry file cannot be watched (the panel then says so in a
  // line of its own and reads the file again whenever the window wakes), or
  // empty.
  const std::string& WatchProblem() const { return watch_.problem(); }

 private:
  void Refresh();
  void ShowNotice();
  // Records the theme as it is now in the history (a change the studio did
  // not make: the phone's own write, another program's); says why not on
  // standard error, once for each new reason.
  void Record();
  // Says in the panel what undo and redo would do now.
  void ShowHistory();
  // Undoes or redoes one step of the history and shows how that went.
  void Step(bool undo);
  // Takes the file at `path` (dropped on the window, the file it was opened
  // with, or `typed` in the shelf's import box) to the one place for it: a
  // picture to the 配色 place, anything else to the import.
  void Take(const std::string& path, bool typed = false);
  // Reads the theme in the registry file at `path`, else says why not.
  bool ReadImport(const std::string& path, ThemeValues& theme);
  // Imports `theme`, read from `path`, and shows how that went.
  void ApplyImport(const std::string& path, const ThemeValues& theme);
  // Asks first, then restores the defaults.
  void AskRestore();
  // Runs the theme shelf; with `picture`, its 配色 place opens on it.
  void OpenShelf(const std::string& picture = {});
  // Shows how a command went: in the panel, and in the card or the shelf
  // open over it.
  void Report(std::u16string message, bool failed);

  Shell& shell_;
  // Watching before the first read: no change can fall between the two. It
  // watches the registry file and the themes folder (for the shelf).
  FileWatch watch_;
  // Every write of the studio goes through it.
  ThemeStore store_;
  PreviewPanel panel_;
  std::string history_problem_;
  bool history_kept_ = true;  // the last change seen was recorded
  CardRun card_;
  ThemeShelf* shelf_ = nullptr;
  bool asking_ = false;
  std::string import_to_ask_;
};
