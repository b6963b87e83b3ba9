// What the window keeps between runs: whether the studio beside the phone
// was shown when it closed, the window's scale and place then, the studio's
// colour-vision view and the export format. Kept as a key file (GLib's, a
// [window] group of "key=value" lines) in $XDG_CONFIG_HOME/tintor/settings
// (else ~/.config/tintor/settings); headless runs neither read nor write it.
// Not for: anything the phone keeps (that is the registry's).
#pragma once

#include <optional>
#include <string>

#include "model/checks/colour_science.h"
#include "platform/win/reg_file_format.h"

struct WindowSettings {
  std::optional<bool> panel_shown;
  std::optional<double> scale;  // 0.25 to 4, as --scale takes it
  std::optional<int> x, y;      // the window's top left corner on the desktop
  std::optional<ColourVision> vision;     // the studio's colour-vision view
  std::optional<RegFileForm> export_form;  // the theme shelf's export format
  bool operator==(const WindowSettings&) const = default;
};

// The settings file's path, or empty when neither XDG_CONFIG_HOME nor HOME
// names an absolute folder.
std::string WindowSettingsPath();

// Reads the file at `path`. A missing file is no settings and no problem. A
// file that cannot be read, is reached through a symbolic link, is not an
// ordinary file or holds a line this program does not understand gives no
// settings and `problem` saying why; such a file is not written over either.
WindowSettings ReadWindowSettings(const std::string& path, std::string& problem);

// Writes the settings to `path`, making its folder if missing: a new file
// replaces the old one whole, never through a link, keeping the old one's
// owner and mode (or taking the folder's owner when root makes it). False
// with `error` set.
bool WriteWindowSettings(const std::string& path, const WindowSettings& settings,
                         std::string& error);
