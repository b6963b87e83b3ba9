// The preview panel as the shell shows it beside the phone's screen: painted
// into the window's frame, clicked like a button (a press and a release on
// the same button), kept live by the watch on the registry file, and its
// "隐藏" button hides it again. Every change of the theme it sees (a colour
// set on the phone, a restore, a change by another Tintor or by hand) is
// recorded in the theme's undo history.
#pragma once

#include <string>

#include "studio/preview_panel.h"
#include "studio/registry_file_watcher.h"
#include "studio/theme_history.h"
#include "platform/shell/side_panel.h"

class Shell;

class PreviewSidePanel : public SidePanel {
 public:
  // Reads the theme and starts watching `registry_path`.
  PreviewSidePanel(Shell& shell, const std::string& registry_path);

  int Width() const override { return PreviewPanel::kWidth; }
  void Paint(Canvas& canvas, double scale) override { panel_.Paint(canvas, scale); }
  bool NeedsRepaint() const override { return panel_.NeedsRepaint(); }
  void HandleInput(const InputEvent& event) override;
  int WakeFd() const override { return watcher_.fd(); }
  void Refresh() override;

  // Why the registry file cannot be watched (the panel then shows the theme
  // as it was at start), or empty.
  const std::string& WatchProblem() const { return watcher_.problem(); }

 private:
  // Records the theme as it is now in the history; says why not on standard
  // error, once for each new reason.
  void Record(const std::string& kind);

  Shell& shell_;
  // Watching before the first read: no change can fall between the two.
  RegistryFileWatcher watcher_;
  PreviewPanel panel_;
  PreviewAction pressed_ = PreviewAction::kNone;
  ThemeHistory history_;
  std::string history_problem_;
};
