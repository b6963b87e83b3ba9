#include <cstdio>
#include <cstdlib>
#include <memory>

#include "main/entry_point.h"
#include "main/window_icon.h"
#include "main/window_settings.h"
#include "model/theme_targets.h"
#include "platform/file/file_place.h"
#include "platform/file/shown_text.h"
#include "platform/host/headless_host.h"
#include "platform/host/sdl_host.h"
#include "platform/shell/png_decoder.h"
#include "platform/shell/shell.h"
#include "studio/preview/preview_panel.h"
#include "studio/preview/preview_png.h"
#include "studio/studio.h"
#include "model/checks/theme_report.h"
#include "platform/ui/application.h"
#include "platform/win/hive_file.h"
#include "platform/win/registry.h"

namespace {

bool HasDisplay() {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 != nullptr && *x11 != '\0') || (wayland != nullptr && *wayland != '\0');
}

// The script commands of the studio, read above the host: `preview NAME.png`
// draws the theme preview into NAME.png in the screenshot folder.
std::string CheckPictureName(const std::vector<std::string>& arguments) {
  const std::string& name = arguments[0];
  if (name.size() < 5 || name.compare(name.size() - 4, 4, ".png") != 0) {
    return "the preview's picture name must end in .png";
  }
  if (!StaysInScreenshotFolder(name)) {
    return "the preview's picture name must be a name inside the screenshot folder";
  }
  return "";
}
// `select N` points at item N: the pictures `preview` draws after it show it
// outlined, with its card open.
std::string CheckItemNumber(const std::vector<std::string>& arguments) {
  const std::string& n = arguments[0];
  const int count = static_cast<int>(kThemeTargetCount);
  if (n.empty() || n.size() > 2 || n.find_first_not_of("0123456789") != std::string::npos ||
      std::stoi(n) < 1 || std::stoi(n) > count) {
    return "select wants an item number from 1 to " + std::to_string(count) + ", not '" + n + "'";
  }
  return "";
}
const std::vector<ScriptExtension> kStudioCommands = {
    {"preview", 1, "NAME.png", &CheckPictureName}, {"select", 1, "N", &CheckItemNumber}};

// window: the window's settings when the studio stands beside the phone (a
// window has it, a headless run does not): it starts shown or hidden as
// `shown` says, with the kept colour-vision view; when the run ends the
// settings get the panel's and the view's state. `open_file`: the file the
// window was opened with, which comes as if dropped and is imported after a
// question.
int RunApp(Host& host, WindowSettings* window = nullptr, bool shown = false,
           const std::string& open_file = {}) {
  CMzApp* app = CMzApp::Instance();
  Shell shell(host);
  if (!shell.ThemeProblem().empty()) {
    std::fprintf(stderr,
                 "tintor: %s; the phone starts with its default colours and saves no colour "
                 "until the file is mended or moved away\n",
                 ShownText(shell.ThemeProblem()).c_str());
  }
  std::unique_ptr<Studio> beside;
  if (window != nullptr) {
    beside = std::make_unique<Studio>(shell, RegistryFilePath(), shown);
    if (window->vision) beside->Panel().SetVision(*window->vision);
    if (!open_file.empty()) beside->AskBeforeImporting(open_file);
    if (window->export_form) beside->Panel().SetExportForm(*window->export_form);
    if (!beside->WatchProblem().empty()) {
      std::fprintf(stderr,
                   "tintor: the theme preview does not follow the registry file as it changes "
                   "(%s); it reads it again when the window comes to the front or Tintor writes\n",
                   ShownText(beside->WatchProblem()).c_str());
    }
  }
  app->InitApplication();
  const int code = app->Run();
  app->Done();
  if (window != nullptr) {
    // A change made in this run; one that only started without the panel
    // changes nothing.
    if (shell.SideShown() != shown) window->panel_shown = shell.SideShown();
    if (beside->Panel().Vision() != window->vision.value_or(ColourVision::kTypical)) {
      window->vision = beside->Panel().Vision();
    }
    if (beside->Panel().ExportForm() != window->export_form.value_or(RegFileForm::kVersion5)) {
      window->export_form = beside->Panel().ExportForm();
    }
  }
  beside.reset();
  return code;
}

int RunThemeReport(bool json) {
  std::string report;
  std::string error;
  const int code = MakeThemeReport(json, report, error);
  if (code == kReportUnreadable) {
    std::fprintf(stderr, "tintor: %s\n", ShownText(error).c_str());
  } else {
    std::fputs(report.c_str(), stdout);
  }
  return code;
}

int RunPreviewPng(const EntryOptions& options) {
  std::string error;
  std::string unreadable;
  ColourVision vision = ColourVision::kTypical;
  ParseColourVision(options.simulate, &vision);
  if (!WritePreviewPng(options.preview_png, options.scale, error, &unreadable, vision)) {
    std::fprintf(stderr, "tintor: %s\n", ShownText(error).c_str());
    return 1;
  }
  // The picture says so too, but a picture is not read by a script.
  if (!unreadable.empty()) {
    std::fprintf(stderr, "tintor: %s; the picture shows the default colours\n", ShownText(unreadable).c_str());
  }
  return 0;
}

// The phone without a window: the script's input, screenshots into the
// screenshot folder.
int RunHeadless(const EntryOptions& options, const std::vector<ScriptCommand>& commands) {
  // The screenshot folder is made when missing, like `mkdir -p`, never
  // through another user's link.
  FileError made;
  if (!options.screenshot_dir.empty() && !MakeFolders(options.screenshot_dir, &made)) {
    std::fprintf(stderr, "tintor: %s: cannot make the screenshot folder (%s)\n",
                 ShownText(options.screenshot_dir).c_str(), ShownText(made.reason).c_str());
    return 2;
  }
  HeadlessHost host;
  host.SetScreenshotDir(options.screenshot_dir.empty() ? "." : options.screenshot_dir);
  int selected = 0;
  host.SetCommandHandler([&host, &selected](const ScriptCommand& command, std::string& problem) {
    if (command.name == "select") {
      selected = std::stoi(command.arguments[0]);
      return true;
    }
    return command.name == "preview" && WritePreviewPng(host.InScreenshotDir(command.arguments[0]), 1.0, problem,
                                                        nullptr, ColourVision::kTypical, selected);
  });
  host.InjectScript(commands);
  const int code = RunApp(host);
  for (const std::string& e : host.Errors()) std::fprintf(stderr, "tintor: %s\n", ShownText(e).c_str());
  return host.Errors().empty() ? code : (code != 0 ? code : 1);
}

// The window, sized and placed as it was left unless the command line says
// otherwise, with the program's icon; null with the reason said.
std::unique_ptr<SdlHost> OpenWindow(const EntryOptions& options, const WindowSettings& kept, bool shown) {
  // The window fits the desktop with the studio beside the phone, shown or
  // hidden as it starts.
  SdlHost::Opening opening;
  if (options.scale_asked) opening.scale = options.scale;
  opening.kept = kept.scale;
  opening.width = Shell::kScreenWidth + (shown ? PreviewPanel::kWidth : PreviewPanel::kTabWidth);
  if (kept.x && kept.y) opening.place = SdlHost::Place{*kept.x, *kept.y};
  std::string error;
  std::unique_ptr<SdlHost> host = SdlHost::Create(opening, error);
  if (!host) {
    std::fprintf(stderr,
                 "tintor: cannot open a window (%s); run it headless: "
                 "tintor --headless [--script FILE] [--screenshot-dir DIR]\n",
                 ShownText(error).c_str());
    return host;
  }
  if (options.scale_asked && host->Scale() < options.scale) {
    std::fprintf(stderr, "tintor: --scale %g does not fit this screen; the window is drawn at %.2f\n",
                 options.scale, host->Scale());
  }
  int icon_width = 0, icon_height = 0;
  std::vector<std::uint32_t> icon;
  const WindowIconPng png = TintorWindowIcon();
  if (DecodePng(png.data, png.size, icon_width, icon_height, icon)) {
    host->SetIcon(icon.data(), icon_width, icon_height);
  }
  return host;
}

// The phone and the studio in a window, which keeps its settings when it closes.
int RunWindow(const EntryOptions& options) {
  if (!HasDisplay()) {
    std::fprintf(stderr,
                 "tintor: no display found (DISPLAY is not set); run it headless: "
                 "tintor --headless [--script FILE] [--screenshot-dir DIR]\n");
    return 1;
  }
  // The window starts as it was left, unless the command line says otherwise;
  // --no-preview is for this run, not the user's lasting choice.
  const std::string settings_path = WindowSettingsPath();
  std::string settings_problem;
  const WindowSettings kept =
      settings_path.empty() ? WindowSettings{} : ReadWindowSettings(settings_path, settings_problem);
  if (!settings_problem.empty()) {
    std::fprintf(stderr, "tintor: the settings file %s is ignored and left as it is: %s\n",
                 ShownText(settings_path).c_str(), ShownText(settings_problem).c_str());
  }
  const bool shown = options.preview && kept.panel_shown.value_or(true);
  std::unique_ptr<SdlHost> host = OpenWindow(options, kept, shown);
  if (!host) return 1;
  // A file opened with the program (from the file manager) comes as a file
  // dropped on the window: imported after a question, or a picture made
  // themes from.
  if (!options.open_file.empty()) host->QueueDroppedFile(options.open_file);
  WindowSettings now = kept;
  const int code = RunApp(*host, &now, shown, options.open_file);
  // Kept too: the window's size and place as it closed.
  now.scale = host->Scale();
  const SdlHost::Place place = host->WindowPlace();
  now.x = place.x;
  now.y = place.y;
  std::string error;
  if (settings_problem.empty() && !settings_path.empty() && now != kept &&
      !WriteWindowSettings(settings_path, now, error)) {
    std::fprintf(stderr, "tintor: the window's settings are not kept: %s\n", ShownText(error).c_str());
  }
  return code;
}

}  // namespace

int RunTintor(const std::vector<std::string>& args) {
  EntryOptions options;
  std::string error;
  if (!ParseEntryOptions(args, options, error)) {
    std::fprintf(stderr, "tintor: %s (see tintor --help)\n", ShownText(error).c_str());
    return 2;
  }
  if (options.help || options.version) {
    std::fputs(options.help ? EntryUsage() : EntryVersion(), stdout);
    return 0;
  }
  // The registry file is decided here, once, for the whole run.
  RegistryUseFile(HiveFile::DefaultPath());
  if (options.theme_report) return RunThemeReport(options.json);
  if (options.theme.kind != ThemeCommand::Kind::kNone) return RunThemeCommand(options.theme);
  if (!options.preview_png.empty()) return RunPreviewPng(options);
  std::vector<ScriptCommand> commands;
  if (!options.script_path.empty() && !LoadScriptFile(options.script_path, commands, error, kStudioCommands)) {
    std::fprintf(stderr, "tintor: %s\n", ShownText(error).c_str());
    return 2;
  }
  if (CMzApp::Instance() == nullptr) {
    std::fprintf(stderr, "tintor: the program has no application object\n");
    return 1;
  }
  return options.headless ? RunHeadless(options, commands) : RunWindow(options);
}
