#include "main/window_settings.h"

#include <glib.h>

#include <cerrno>
#include <cmath>
#include <memory>

#include "platform/file/read_file.h"
#include "platform/file/replace_file.h"
#include "platform/file/user_folders.h"

namespace {

constexpr std::size_t kMaxSize = 4096;  // a few short lines; anything larger is not ours
constexpr const char* kGroup = "window";

using KeyFile = std::unique_ptr<GKeyFile, void (*)(GKeyFile*)>;

KeyFile NewKeyFile() { return KeyFile(g_key_file_new(), &g_key_file_free); }

// The value of `key` as text; empty when there is none or it is no text.
std::string Value(GKeyFile* file, const char* key) {
  gchar* value = g_key_file_get_string(file, kGroup, key, nullptr);
  const std::string text = value != nullptr ? value : "";
  g_free(value);
  return text;
}

// Each key the window keeps, read into `settings`; false for a value it
// does not take.
bool ReadKey(GKeyFile* file, const std::string& key, WindowSettings& settings) {
  const std::string value = Value(file, key.c_str());
  GError* failure = nullptr;
  if (key == "panel" && (value == "shown" || value == "hidden")) {
    settings.panel_shown = value == "shown";
  } else if (key == "scale") {
    const double scale = g_key_file_get_double(file, kGroup, "scale", &failure);
    const bool taken = failure == nullptr && std::isfinite(scale) && scale >= 0.25 && scale <= 4.0;
    g_clear_error(&failure);
    if (!taken) return false;
    settings.scale = scale;
  } else if (key == "x" || key == "y") {
    // A place on the desktop: a whole number of pixels, within reason.
    const gint place = g_key_file_get_integer(file, kGroup, key.c_str(), &failure);
    const bool taken = failure == nullptr && place >= -100000 && place <= 100000;
    g_clear_error(&failure);
    if (!taken) return false;
    (key == "x" ? settings.x : settings.y) = place;
  } else if (ColourVision vision = ColourVision::kTypical;
             key == "vision" && (value == "typical" || ParseColourVision(value, &vision))) {
    settings.vision = vision;
  } else if (key == "export" && (value == "regedit5" || value == "regedit4")) {
    settings.export_form = value == "regedit4" ? RegFileForm::kRegedit4 : RegFileForm::kVersion5;
  } else {
    return false;
  }
  return true;
}

// False with `problem` set for a file that is no key file, or holds a group
// or key this program does not keep, or a value it does not take.
bool ParseSettings(const std::string& text, WindowSettings& settings, std::string& problem) {
  KeyFile file = NewKeyFile();
  GError* failure = nullptr;
  bool loaded = g_key_file_load_from_data(file.get(), text.data(), text.size(), G_KEY_FILE_NONE, &failure);
  // An older Tintor wrote its lines with no group above them: they are the
  // window's.
  if (!loaded && text.find('[') == std::string::npos) {
    g_clear_error(&failure);
    const std::string grouped = std::string("[") + kGroup + "]\n" + text;
    loaded = g_key_file_load_from_data(file.get(), grouped.data(), grouped.size(), G_KEY_FILE_NONE, &failure);
  }
  if (!loaded) {
    problem = failure->message;
    g_error_free(failure);
    return false;
  }
  gchar** groups = g_key_file_get_groups(file.get(), nullptr);
  for (gchar** group = groups; *group != nullptr && problem.empty(); ++group) {
    if (std::string(*group) != kGroup) problem = std::string("the group [") + *group + "] is not the window's";
  }
  g_strfreev(groups);
  gchar** keys = problem.empty() ? g_key_file_get_keys(file.get(), kGroup, nullptr, nullptr) : nullptr;
  for (gchar** key = keys; key != nullptr && *key != nullptr && problem.empty(); ++key) {
    if (!ReadKey(file.get(), *key, settings)) {
      problem = std::string("the line ") + *key + "=" + Value(file.get(), *key) +
                " is not panel=shown|hidden, scale=0.25..4, x=N, y=N, "
                "vision=typical|protan|deutan|tritan or export=regedit5|regedit4";
    }
  }
  g_strfreev(keys);
  return problem.empty();
}

std::string SettingsText(const WindowSettings& settings) {
  KeyFile file = NewKeyFile();
  GKeyFile* f = file.get();
  if (settings.panel_shown) g_key_file_set_string(f, kGroup, "panel", *settings.panel_shown ? "shown" : "hidden");
  if (settings.scale) {
    // As a person writes it: 0.6, not the nearest double's 17 digits.
    char scale[G_ASCII_DTOSTR_BUF_SIZE];
    g_key_file_set_string(f, kGroup, "scale", g_ascii_formatd(scale, sizeof scale, "%g", *settings.scale));
  }
  if (settings.x) g_key_file_set_integer(f, kGroup, "x", *settings.x);
  if (settings.y) g_key_file_set_integer(f, kGroup, "y", *settings.y);
  if (settings.vision) g_key_file_set_string(f, kGroup, "vision", ColourVisionName(*settings.vision));
  if (settings.export_form) {
    const bool four = *settings.export_form == RegFileForm::kRegedit4;
    g_key_file_set_string(f, kGroup, "export", four ? "regedit4" : "regedit5");
  }
  g_key_file_set_comment(f, kGroup, nullptr, " Tintor's window, as it was when it closed last.", nullptr);
  gchar* data = g_key_file_to_data(f, nullptr, nullptr);
  const std::string text = data;
  g_free(data);
  return text;
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
  const std::string text = SettingsText(settings);
  // A link at the file's own name is never written through.
  FileError failure;
  const ReplaceOptions options{
      .link = LinkAtPath::kRefuse, .durable = true, .make_folders = true, .clear_stale_temporaries = true};
  if (ReplaceFile(path, text, options, &failure)) return true;
  error = "cannot write " + path + ": " + failure.reason;
  return false;
}
