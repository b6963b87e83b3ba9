#include <glib.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <set>

#include "main/entry_point.h"
#include "model/checks/colour_science.h"

const char* EntryUsage() {
  return "usage: tintor [--scale N] [--no-preview] [FILE.reg | PICTURE]\n"
         "       tintor --headless [--script FILE] [--screenshot-dir DIR]\n"
         "       tintor --preview-png FILE [--scale N] [--simulate KIND]\n"
         "       tintor --theme-report [--json]\n"
         "       tintor --undo | --redo\n"
         "       tintor --save-theme NAME | --apply-theme NAME | --delete-theme NAME | --list-themes\n"
         "       tintor --export-theme FILE [--format regedit5|regedit4] | --import-theme FILE\n"
         "       tintor --make-theme SOURCE [--dark] [--exact] [--style soft|vivid]\n"
         "                          [--contrast standard|high] [--name NAME] [--json]\n"
         "  --headless            run without a window (pixels in memory)\n"
         "  --script FILE         feed input from FILE (implies --headless); one command a line:\n"
         "                        tap X Y | drag X1 Y1 X2 Y2 MS | wait MS |\n"
         "                        key [shift+|ctrl+]escape|enter|space|tab|up|down|left|right|\n"
         "                            pageup|pagedown|home|end|f2|z|y|a|c|x|v|backspace|delete |\n"
         "                        type TEXT (the words typed, one space between) |\n"
         "                        compose [TEXT] (an input method composing TEXT; none: done) |\n"
         "                        shot NAME.png | preview NAME.png (the theme preview) |\n"
         "                        select N (later previews show item N and its card) | # comment\n"
         "  --screenshot-dir DIR  with --headless or --script: where 'shot' and 'preview'\n"
         "                        write, made if missing (default: .)\n"
         "  --scale N             window size factor, 0.25 to 4 (default: the window's\n"
         "                        size when it last closed, unless under 0.5 or too large\n"
         "                        for the screen; else 1: 1000 x 720, the phone's 480 x 720\n"
         "                        screen and the preview beside it); a window too large\n"
         "                        for the screen is drawn smaller; for the window and\n"
         "                        --preview-png only\n"
         "  --no-preview          start with the theme preview hidden, this time only: a\n"
         "                        narrow tab beside the phone brings it back; F2 in the\n"
         "                        window hides and shows it; for the window only\n"
         "  --preview-png FILE    draw the theme preview for the registry as it is now\n"
         "                        into the PNG file FILE (at --scale), and exit\n"
         "  --simulate KIND       with --preview-png: the preview as seen with protanopia,\n"
         "                        deuteranopia or tritanopia (KIND: protan, deutan, tritan)\n"
         "                        and which items on one surface become hard to tell apart\n"
         "  --theme-report        one line per theme item: number, value name, value, swatch\n"
         "                        id, custom or default, its surface with the WCAG 2 contrast\n"
         "                        ratio and the APCA Lc, pass or fail; exit 0 when every item\n"
         "                        passes, 1 when any fails, 2 when the registry file cannot\n"
         "                        be read\n"
         "  --json                with --theme-report: the same as JSON\n"
         "  --undo, --redo        undo the last change of the theme's 20 colours, or redo\n"
         "                        the change undone last\n"
         "  --save-theme NAME     save the current 20 colours as the theme NAME\n"
         "  --apply-theme NAME    apply a saved theme or a preset (默认, 深色, 高对比, 清晰)\n"
         "  --delete-theme NAME   delete a saved theme (presets cannot be)\n"
         "  --list-themes         list the presets and saved themes, one a line\n"
         "  --export-theme FILE   write the 20 colours to FILE as a registry file for a phone:\n"
         "                        --format regedit5 (default; UTF-16) or regedit4 (ASCII);\n"
         "                        FILE's folder must exist (none is made)\n"
         "  --import-theme FILE   apply the theme colours in the registry file FILE\n"
         "  --make-theme SOURCE   make a theme from SOURCE (#RRGGBB, a swatch id 102..169, or\n"
         "                        a PNG or JPEG picture: its dominant colour, clear colours\n"
         "                        before greys), save it under NAME (--name; else one made\n"
         "                        from the source, never one a theme has) and print its\n"
         "                        report; it is not applied. Light unless --dark; only the\n"
         "                        65 swatch colours unless --exact; --style soft (default:\n"
         "                        a near-neutral window tinted by the source, the accents\n"
         "                        in its hue) or vivid (the source, or its nearest readable\n"
         "                        tone, on the window); --contrast standard (default) or\n"
         "                        high (every text at least 7:1, for low vision); --json\n"
         "                        prints the report and the rules as JSON. Saved only when\n"
         "                        it holds every rule: each item passes the report's rule\n"
         "                        (at the high level every text 7:1); under each simulation\n"
         "                        every text meets it too; the list's three text levels, the\n"
         "                        button's two, the window text and the description stay\n"
         "                        apart (CIEDE2000 at least 10); each primary text outranks\n"
         "                        its secondary ones in contrast; the window background,\n"
         "                        else the accent texts, lie within 30 degrees of the\n"
         "                        source's hue; harmony: every item of chroma above 10 lies\n"
         "                        within 60 degrees of that hue (a grey source, chroma 10\n"
         "                        or less: every item grey). Each with room to spare: 0.1\n"
         "                        over a contrast ratio, 1 over an APCA Lc, CIEDE2000 10.5,\n"
         "                        28 and 58 degrees, chroma 1.5 from the line. CIELAB and\n"
         "                        CIE LCh are of sRGB under the D50 white point (Little\n"
         "                        CMS's Bradford adaptation); the room keeps a checker on\n"
         "                        D65 in agreement. When no theme holds them, it prints\n"
         "                        the closest and the rules it breaks, saves nothing and\n"
         "                        exits 1; a source that cannot be read exits 2 and\n"
         "                        writes nothing\n"
         "  FILE.reg              open the window and ask whether to import the theme in\n"
         "                        FILE.reg; imported as a file dropped on the window is\n"
         "  PICTURE               a PNG or JPEG: open the window on the theme shelf's 配色\n"
         "                        place with the four themes made from it (nothing written)\n"
         "  --version             show the program's version (asked alone)\n"
         "  --help                show this text (asked alone)\n"
         "Each theme command and --theme-report runs alone: it takes no window or script\n"
         "options.\n"
         "exit status: 0 done; 1 not done: nothing to undo or redo, no theme of that name,\n"
         "a name refused (a preset's, or one that cannot name a theme), no home folder\n"
         "(HOME set to a path that is not absolute; an unset HOME means the account's home\n"
         "folder), the registry, a theme or a file cannot be read or written (or its lock\n"
         "is held too long), no display or window, no made theme holds every rule;\n"
         "2 a bad command line or script, a refused import or a --make-theme source that\n"
         "cannot be read; --theme-report: see above\n"
         "In the window Ctrl+Z undoes the theme's last step, Ctrl+Shift+Z or Ctrl+Y redoes it;\n"
         "the preview's 主题 button opens the theme shelf (save under a typed name, apply,\n"
         "delete, export into the documents folder); a .reg file dropped on the window is\n"
         "imported as with --import-theme.\n"
         "The window can be resized (down to half the phone's size); Ctrl+plus, Ctrl+minus\n"
         "and Ctrl+0 zoom it. It keeps its size, its place (while that is on a screen),\n"
         "whether the preview was shown, its colour-vision view and the export format in\n"
         "$XDG_CONFIG_HOME/tintor/settings (else ~/.config/tintor/settings).\n";
}

namespace {

// --style soft|vivid and --contrast standard|high of --make-theme.
bool ParseMakeWord(const std::string& option, const std::string& word, ThemeCommand& theme,
                   std::string& error) {
  if (option == "--style" && (word == "soft" || word == "vivid")) {
    theme.style = word == "vivid" ? ThemeStyle::kVivid : ThemeStyle::kSoft;
    return true;
  }
  if (option == "--contrast" && (word == "standard" || word == "high")) {
    theme.contrast = word == "high" ? ContrastLevel::kHigh : ContrastLevel::kStandard;
    return true;
  }
  error = option + (option == "--style" ? " wants soft or vivid" : " wants standard or high") + ", not '" +
          word + "'";
  return false;
}

}  // namespace

const char* EntryVersion() { return "tintor " TINTOR_VERSION "\n"; }

namespace {

using Kind = ThemeCommand::Kind;

// What GLib fills in from the command line, before it is checked.
struct Given {
  // The switches given (--headless, --json, ...), as written.
  std::set<std::string> switches;
  bool Has(const std::string& option) const { return switches.count(option) > 0; }
  bool theme_report = false;
  gchar* script = nullptr;
  gchar* screenshot_dir = nullptr;
  gchar* scale = nullptr;
  gchar* preview_png = nullptr;
  gchar* simulate = nullptr;
  gchar* name = nullptr;
  gchar* style = nullptr;
  gchar* contrast = nullptr;
  gchar* format = nullptr;
  gchar** files = nullptr;
  // The theme command, and the one command that runs alone as it was
  // given: "--undo", "--theme-report".
  ThemeCommand theme;
  std::string alone;
  ~Given() {
    for (gchar* text : {script, screenshot_dir, scale, preview_png, simulate, name, style, contrast, format}) {
      g_free(text);
    }
    g_strfreev(files);
  }
};

struct CommandName {
  const char* option;
  Kind kind;
};
constexpr CommandName kCommands[] = {
    {"--undo", Kind::kUndo},           {"--redo", Kind::kRedo},
    {"--save-theme", Kind::kSave},     {"--apply-theme", Kind::kApply},
    {"--delete-theme", Kind::kDelete}, {"--list-themes", Kind::kList},
    {"--export-theme", Kind::kExport}, {"--import-theme", Kind::kImport},
    {"--make-theme", Kind::kMake},     {"--theme-report", Kind::kNone}};

gboolean TakeSwitch(const gchar* option, const gchar*, gpointer data, GError**) {
  static_cast<Given*>(data)->switches.insert(option);
  return TRUE;
}

// GLib lets "--headless=1" pass as "--headless"; a switch takes no value.
bool SwitchWithValue(const std::vector<std::string>& args, std::string& error) {
  static constexpr const char* kSwitches[] = {"headless", "no-preview", "json",  "dark",        "exact",
                                              "version",  "help",       "undo",  "redo",        "list-themes",
                                              "theme-report"};
  for (const std::string& a : args) {
    if (a == "--") break;
    for (const char* name : kSwitches) {
      if (a.rfind("--" + std::string(name) + "=", 0) == 0) {
        error = "--" + std::string(name) + " takes no value (here '" + a.substr(a.find('=') + 1) + "')";
        return true;
      }
    }
  }
  return false;
}

// One of the commands that run alone: the first is taken, a second refused.
gboolean TakeCommand(const gchar* option, const gchar* value, gpointer data, GError** error) {
  Given& given = *static_cast<Given*>(data);
  if (!given.alone.empty()) {
    g_set_error(error, G_OPTION_ERROR, G_OPTION_ERROR_FAILED, "one command at a time: %s and %s",
                given.alone.c_str(), option);
    return FALSE;
  }
  given.alone = option;
  for (const CommandName& command : kCommands) {
    if (given.alone == command.option) given.theme.kind = command.kind;
  }
  given.theme_report = given.alone == "--theme-report";
  if (value != nullptr) given.theme.argument = value;
  return TRUE;
}

// The options as GLib reads them. Every value is taken as bytes (a file
// name, a theme's name), never converted from the locale's character set.
std::unique_ptr<GOptionContext, void (*)(GOptionContext*)> MakeContext(Given& g) {
  constexpr int kBytes = G_OPTION_FLAG_FILENAME;
  constexpr int kSwitch = G_OPTION_FLAG_NO_ARG;
  const auto command = reinterpret_cast<gpointer>(&TakeCommand);
  const auto on = reinterpret_cast<gpointer>(&TakeSwitch);
  const GOptionEntry entries[] = {
      {"headless", 0, kSwitch, G_OPTION_ARG_CALLBACK, on, nullptr, nullptr},
      {"script", 0, 0, G_OPTION_ARG_FILENAME, &g.script, nullptr, nullptr},
      {"screenshot-dir", 0, 0, G_OPTION_ARG_FILENAME, &g.screenshot_dir, nullptr, nullptr},
      {"scale", 0, 0, G_OPTION_ARG_FILENAME, &g.scale, nullptr, nullptr},
      {"no-preview", 0, kSwitch, G_OPTION_ARG_CALLBACK, on, nullptr, nullptr},
      {"preview-png", 0, 0, G_OPTION_ARG_FILENAME, &g.preview_png, nullptr, nullptr},
      {"simulate", 0, 0, G_OPTION_ARG_FILENAME, &g.simulate, nullptr, nullptr},
      {"theme-report", 0, kSwitch, G_OPTION_ARG_CALLBACK, command, nullptr, nullptr},
      {"json", 0, kSwitch, G_OPTION_ARG_CALLBACK, on, nullptr, nullptr},
      {"undo", 0, kSwitch, G_OPTION_ARG_CALLBACK, command, nullptr, nullptr},
      {"redo", 0, kSwitch, G_OPTION_ARG_CALLBACK, command, nullptr, nullptr},
      {"save-theme", 0, kBytes, G_OPTION_ARG_CALLBACK, command, nullptr, nullptr},
      {"apply-theme", 0, kBytes, G_OPTION_ARG_CALLBACK, command, nullptr, nullptr},
      {"delete-theme", 0, kBytes, G_OPTION_ARG_CALLBACK, command, nullptr, nullptr},
      {"list-themes", 0, kSwitch, G_OPTION_ARG_CALLBACK, command, nullptr, nullptr},
      {"export-theme", 0, kBytes, G_OPTION_ARG_CALLBACK, command, nullptr, nullptr},
      {"format", 0, 0, G_OPTION_ARG_FILENAME, &g.format, nullptr, nullptr},
      {"import-theme", 0, kBytes, G_OPTION_ARG_CALLBACK, command, nullptr, nullptr},
      {"make-theme", 0, kBytes, G_OPTION_ARG_CALLBACK, command, nullptr, nullptr},
      {"dark", 0, kSwitch, G_OPTION_ARG_CALLBACK, on, nullptr, nullptr},
      {"exact", 0, kSwitch, G_OPTION_ARG_CALLBACK, on, nullptr, nullptr},
      {"style", 0, 0, G_OPTION_ARG_FILENAME, &g.style, nullptr, nullptr},
      {"contrast", 0, 0, G_OPTION_ARG_FILENAME, &g.contrast, nullptr, nullptr},
      {"name", 0, 0, G_OPTION_ARG_FILENAME, &g.name, nullptr, nullptr},
      {"version", 0, kSwitch, G_OPTION_ARG_CALLBACK, on, nullptr, nullptr},
      {"help", 'h', kSwitch, G_OPTION_ARG_CALLBACK, on, nullptr, nullptr},
      {G_OPTION_REMAINING, 0, 0, G_OPTION_ARG_FILENAME_ARRAY, &g.files, nullptr, nullptr},
      {}};
  std::unique_ptr<GOptionContext, void (*)(GOptionContext*)> context(g_option_context_new(nullptr),
                                                                     &g_option_context_free);
  // --help prints the program's own text (EntryUsage), which says more than
  // GLib's list of options could: the script's commands, the exit statuses.
  g_option_context_set_help_enabled(context.get(), FALSE);
  GOptionGroup* group = g_option_group_new("tintor", "", "", &g, nullptr);
  g_option_group_add_entries(group, entries);
  g_option_context_set_main_group(context.get(), group);
  return context;
}

// The first option given that shapes a window, a script run or a picture, in
// the order --help lists them; empty when none is.
std::string WindowOption(const Given& g) {
  const std::pair<bool, const char*> options[] = {
      {g.Has("--headless"), "--headless"},   {g.script != nullptr, "--script"},
      {g.screenshot_dir != nullptr, "--screenshot-dir"}, {g.scale != nullptr, "--scale"},
      {g.Has("--no-preview"), "--no-preview"}, {g.preview_png != nullptr, "--preview-png"},
      {g.simulate != nullptr, "--simulate"}};
  for (const auto& [given, option] : options) {
    if (given) return option;
  }
  return {};
}

// The values, each read as its option wants it.
bool ReadValues(const Given& g, EntryOptions& o, std::string& error) {
  if (g.scale != nullptr) {
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(g.scale, &end);
    if (*g.scale == '\0' || errno != 0 || *end != '\0' || !std::isfinite(v) || v < 0.25 || v > 4.0) {
      error = std::string("--scale wants a number from 0.25 to 4, not '") + g.scale + "'";
      return false;
    }
    o.scale = v;
    o.scale_asked = true;
  }
  ColourVision vision;
  if (g.simulate != nullptr && !ParseColourVision(g.simulate, &vision)) {
    error = std::string("--simulate wants protan, deutan or tritan, not '") + g.simulate + "'";
    return false;
  }
  const std::string format = g.format != nullptr ? g.format : "regedit5";
  if (format != "regedit5" && format != "regedit4") {
    error = "--format wants regedit5 or regedit4, not '" + format + "'";
    return false;
  }
  o.theme.format = format == "regedit4" ? RegFileForm::kRegedit4 : RegFileForm::kVersion5;
  if (g.style != nullptr && !ParseMakeWord("--style", g.style, o.theme, error)) return false;
  if (g.contrast != nullptr && !ParseMakeWord("--contrast", g.contrast, o.theme, error)) return false;
  for (const auto& [path, option] : {std::pair{g.script, "--script"}, std::pair{g.screenshot_dir, "--screenshot-dir"},
                                     std::pair{g.preview_png, "--preview-png"}}) {
    if (path != nullptr && *path == '\0') {
      error = std::string(option) + " wants a file or folder name, not an empty one";
      return false;
    }
  }
  return true;
}

// Options that go only with others, and options that exclude each other.
std::string Mismatch(const Given& g, const EntryOptions& o, std::size_t count) {
  const std::string window = WindowOption(g);
  if (g.Has("--help") && g.Has("--version")) return "--help and --version are each asked alone";
  if ((g.Has("--help") || g.Has("--version")) && count > 1) {
    return std::string(g.Has("--help") ? "--help" : "--version") + " is asked alone: it takes no other option or file";
  }
  if (!g.alone.empty() && !window.empty()) {
    return g.alone + " runs alone and exits: it takes no window or script options (here " + window + ")";
  }
  if (!g.alone.empty() && !o.open_file.empty()) {
    return g.alone + " runs alone and exits: it opens no file '" + o.open_file + "'";
  }
  const bool headless = g.Has("--headless") || g.script != nullptr;
  const bool picture = g.preview_png != nullptr;
  if (!o.open_file.empty() && (headless || picture)) {
    return "a file given to open is for the window: it takes no --headless, --script or --preview-png";
  }
  if (picture && headless) return "--preview-png draws one picture and exits: it takes no --headless or --script";
  if (g.Has("--no-preview") && (headless || picture)) {
    return "--no-preview is for the window: it takes no --headless, --script or --preview-png";
  }
  if (g.scale != nullptr && headless) {
    return "--scale is for the window and --preview-png: it takes no --headless or --script";
  }
  if (g.screenshot_dir != nullptr && !headless) return "--screenshot-dir goes with --headless or --script";
  if (g.simulate != nullptr && !picture) return "--simulate goes with --preview-png FILE";
  if (g.Has("--json") && !g.theme_report && o.theme.kind != Kind::kMake) {
    return "--json goes with --theme-report or --make-theme";
  }
  if (g.format != nullptr && o.theme.kind != Kind::kExport) return "--format goes with --export-theme";
  const bool made = g.Has("--dark") || g.Has("--exact") || g.style != nullptr || g.contrast != nullptr;
  if ((made || g.name != nullptr) && o.theme.kind != Kind::kMake) {
    return "--dark, --exact, --style, --contrast and --name go with --make-theme";
  }
  return {};
}

}  // namespace

bool ParseEntryOptions(const std::vector<std::string>& args, EntryOptions& options, std::string& error) {
  if (SwitchWithValue(args, error)) return false;
  Given g;
  std::vector<gchar*> argv = {const_cast<gchar*>("tintor")};
  for (const std::string& a : args) argv.push_back(const_cast<gchar*>(a.c_str()));
  argv.push_back(nullptr);
  // GLib takes out of the array what it reads; the strings stay ours.
  gint count = static_cast<gint>(args.size()) + 1;
  gchar** rest = argv.data();
  GError* failure = nullptr;
  const auto context = MakeContext(g);
  if (!g_option_context_parse(context.get(), &count, &rest, &failure)) {
    error = failure->message;
    g_error_free(failure);
    return false;
  }
  if (g.Has("-h")) g.switches.insert("--help");
  EntryOptions o;
  o.headless = g.Has("--headless") || g.script != nullptr;
  o.help = g.Has("--help");
  o.version = g.Has("--version");
  o.preview = !g.Has("--no-preview");
  o.theme_report = g.theme_report;
  o.json = g.Has("--json");
  o.theme.json = o.json;
  o.theme.kind = g.theme.kind;
  o.theme.argument = g.theme.argument;
  o.theme.dark = g.Has("--dark");
  o.theme.exact = g.Has("--exact");
  if (g.name != nullptr) o.theme.name = g.name;
  if (g.script != nullptr) o.script_path = g.script;
  if (g.screenshot_dir != nullptr) o.screenshot_dir = g.screenshot_dir;
  if (g.preview_png != nullptr) o.preview_png = g.preview_png;
  if (g.simulate != nullptr) o.simulate = g.simulate;
  if (!ReadValues(g, o, error)) return false;
  for (gchar** file = g.files; file != nullptr && *file != nullptr; ++file) {
    if (!o.open_file.empty()) {
      error = "one file at a time: '" + o.open_file + "' and '" + *file + "'";
      return false;
    }
    o.open_file = *file;
  }
  error = Mismatch(g, o, args.size());
  if (!error.empty()) return false;
  options = o;
  return true;
}
