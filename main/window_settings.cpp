#include "main/window_settings.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "platform/file/read_file.h"
#include "platform/file/user_folders.h"
#include "platform/file/replace_file.h"

namespace {

constexpr std::size_t kMaxSize = 4096;  // a few short lines; anything larger is not ours

std::string_view Trim(std::string_view s) {
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

bool ParseScale(std::string_view text, double& scale) {
  const std::string copy(text);
  char* end = nullptr;
  errno = 0;
  const double v = std::strtod(copy.c_str(), &end);
  if (copy.empty() || errno != 0 || *end != '\0' || !std::isfinite(v) || v < 0.25 || v > 4.0) {
    return false;
  }
  scale = v;
  return true;
}

// A place on the desktop: a whole number of pixels, within reason.
bool ParsePlace(std::string_view text, int& place) {
  const std::string copy(text);
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(copy.c_str(), &end, 10);
  if (copy.empty() || errno != 0 || *end != '\0' || v < -100000 || v > 100000) return false;
  place = static_cast<int>(v);
  return true;
}

// False with `problem` set at the first line that is not "panel=shown",
// "panel=hidden", "scale=N", a comment or blank.
bool ParseSettings(std::string_view text, WindowSettings& settings, std::string& problem) {
  int number = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    ++number;
    if (line.empty() || line[0] == '#') continue;
    const std::size_t equals = line.find('=');
    const std::string_view key = Trim(line.substr(0, equals));
    const std::string_view value = equals == std::string_view::npos ? "" : Trim(line.substr(equals + 1));
    double scale = 0;
    int place = 0;
    ColourVision vision = ColourVision::kTypical;
    if (key == "panel" && (value == "shown" || value == "hidden")) {
      settings.panel_shown = value == "shown";
    } else if (key == "scale" && ParseScale(value, scale)) {
      settings.scale = scale;
    } else if ((key == "x" || key == "y") && ParsePlace(value, place)) {
      (key == "x" ? settings.x : settings.y) = place;
    } else if (key == "vision" && (value == "typical" || ParseColourVision(value, &vision))) {
      settings.vision = vision;
    } else if (key == "export" && (value == "regedit5" || value == "regedit4")) {
      settings.export_form = value == "regedit4" ? RegFileForm::kRegedit4 : RegFileForm::kVersion5;
    } else {
      problem = "line " + std::to_string(number) +
                " is not panel=shown|hidden, scale=0.25..4, x=N, y=N, "
                "vision=typical|protan|deutan|tritan or export=regedit5|regedit4";
      return false;
    }
  }
  return true;
}

}  // namespace

std::string WindowSettingsPath() {
  const std::string config = UserFolderPath(UserFolder::kConfig);
  return config.empty() ? config : config + "/tintor/settings";
}

WindowSettings ReadWindowSettings(const std::string& path, std::string& problem) {
  problem.clear();
  std::string text;
  FileError failure;
  if (!ReadWholeFile(path, kMaxSize, &text, &failure)) {
    if (failure.error_number != ENOENT) {
      problem = failure.error_number == EFBIG ? "it is larger than a settings file can be"
                                              : "cannot read it: " + failure.reason;
    }
    return {};
  }
  WindowSettings settings;
  if (ParseSettings(text, settings, problem)) return settings;
  return {};
}

bool WriteWindowSettings(const std::string& path, const WindowSettings& settings,
                         std::string& error) {
  std::string text = "# Tintor's window, as it was when it closed last.\n";
  if (settings.panel_shown) text += std::string("panel=") + (*settings.panel_shown ? "shown" : "hidden") + "\n";
  if (settings.scale) {
    char scale[32];
    std::snprintf(scale, sizeof scale, "%g", *settings.scale);
    text += std::string("scale=") + scale + "\n";
  }
  if (settings.x) text += "x=" + std::to_string(*settings.x) + "\n";
  if (settings.y) text += "y=" + std::to_string(*settings.y) + "\n";
  if (settings.vision) text += std::string("vision=") + ColourVisionName(*settings.vision) + "\n";
  if (settings.export_form) {
    text += std::string("export=") +
            (*settings.export_form == RegFileForm::kRegedit4 ? "regedit4" : "regedit5") + "\n";
  }
  // A link at the file's own name is never written through.
  FileError failure;
  const ReplaceOptions options{
      .link = LinkAtPath::kRefuse, .durable = true, .make_folders = true, .clear_stale_temporaries = true};
  if (ReplaceFile(path, text, options, &failure)) return true;
  error = "cannot write " + path + ": " + failure.reason;
  return false;
}
