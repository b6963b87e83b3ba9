// The studio in the window: opens the shell's place beside the phone, puts
// the preview panel there, and keeps it live through the watch on the
// registry file (the shell's loop wakes for the watch and reads the news).
// The shell knows nothing of what stands in that place.
#pragma once

#include <string>

#include "studio/preview_panel.h"
#include "studio/registry_file_watcher.h"

class Shell;

class Studio {
 public:
  // Reads the theme, starts watching `registry_path` and takes the place
  // beside the phone, shown or hidden (the way back only).
  Studio(Shell& shell, const std::string& registry_path, bool shown);
  ~Studio();
  Studio(const Studio&) = delete;
  Studio& operator=(const Studio&) = delete;

  PreviewPanel& Panel() { return panel_; }
  // Why the registry file cannot be watched (the panel then shows the theme
  // as it was at start), or empty.
  const std::string& WatchProblem() const { return watcher_.problem(); }

 private:
  void Refresh();

  Shell& shell_;
  // Watching before the first read: no change can fall between the two.
  RegistryFileWatcher watcher_;
  PreviewPanel panel_;
};
