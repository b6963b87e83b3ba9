// What the window keeps between runs: whether the studio beside the phone
// was shown when it closed, and the scale last asked for with --scale. Kept
// as a few "key=value" lines in $XDG_CONFIG_HOME/tintor/settings (else
// ~/.config/tintor/settings); headless runs neither read nor write it.
// Not for: anything the phone keeps (that is the registry's).
#pragma once

#include <optional>
#include <string>

struct WindowSettings {
  std::optional<bool> panel_shown;
  std::optional<double> scale;  // 0.25 to 4, as --scale takes it
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
