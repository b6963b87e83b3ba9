#include <cerrno>
#include <cmath>
#include <cstdlib>

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
         "  --screenshot-dir DIR  where 'shot' and 'preview' write, made if missing (default: .)\n"
         "  --scale N             window size factor, 0.25 to 4 (default: the window's\n"
         "                        size when it last closed, unless under 0.5 or too large\n"
         "                        for the screen; else 1: 1000 x 720, the phone's 480 x 720\n"
         "                        screen and the preview beside it); a window too large\n"
         "                        for the screen is drawn smaller\n"
         "  --no-preview          start with the theme preview hidden, this time only: a\n"
         "                        narrow tab beside the phone brings it back; F2 in the\n"
         "                        window hides and shows it\n"
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
         "  --delete-theme NAME   delete a saved theme\n"
         "  --list-themes         list the presets and saved themes, one a line\n"
         "  --export-theme FILE   write the 20 colours to FILE as a registry file for a phone:\n"
         "                        --format regedit5 (default; UTF-16) or regedit4 (ASCII)\n"
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
         "  --version             show the program's version\n"
         "  --help                show this text\n"
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

bool ParseEntryOptions(const std::vector<std::string>& args, EntryOptions& options,
                       std::string& error) {
  EntryOptions o;
  bool format_given = false;
  bool made_given = false;  // --dark, --exact, --style, --contrast or --name
  // The first option given that shapes a window, a script run or a picture:
  // a command that prints or changes the theme and exits takes none of them.
  std::string window_option;
  // The first command given that runs alone.
  std::string alone;
  auto theme_kind = [](const std::string& a) {
    using K = ThemeCommand::Kind;
    if (a == "--undo") return K::kUndo;
    if (a == "--redo") return K::kRedo;
    if (a == "--save-theme") return K::kSave;
    if (a == "--apply-theme") return K::kApply;
    if (a == "--delete-theme") return K::kDelete;
    if (a == "--list-themes") return K::kList;
    if (a == "--export-theme") return K::kExport;
    if (a == "--import-theme") return K::kImport;
    if (a == "--make-theme") return K::kMake;
    return K::kNone;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (window_option.empty() &&
        (a == "--headless" || a == "--script" || a == "--screenshot-dir" || a == "--scale" ||
         a == "--no-preview" || a == "--preview-png" || a == "--simulate")) {
      window_option = a;
    }
    if (a == "--theme-report" || theme_kind(a) != ThemeCommand::Kind::kNone) {
      if (!alone.empty()) {
        error = "one command at a time: " + alone + " and " + a;
        return false;
      }
      alone = a;
    }
    auto value = [&](std::string& out) {
      if (i + 1 >= args.size() || args[i + 1].empty()) {
        error = "option " + a + " needs a value";
        return false;
      }
      out = args[++i];
      return true;
    };
    if (a == "--headless") {
      o.headless = true;
    } else if (a == "--help" || a == "-h") {
      o.help = true;
    } else if (a == "--version") {
      o.version = true;
    } else if (a == "--script") {
      if (!value(o.script_path)) return false;
      o.headless = true;
    } else if (a == "--no-preview") {
      o.preview = false;
    } else if (a == "--preview-png") {
      if (!value(o.preview_png)) return false;
    } else if (a == "--simulate") {
      if (!value(o.simulate)) return false;
      ColourVision vision;
      if (!ParseColourVision(o.simulate, &vision)) {
        error = "--simulate wants protan, deutan or tritan, not '" + o.simulate + "'";
        return false;
      }
    } else if (a == "--theme-report") {
      o.theme_report = true;
    } else if (a == "--json") {
      o.json = true;
    } else if (a == "--screenshot-dir") {
      if (!value(o.screenshot_dir)) return false;
    } else if (theme_kind(a) != ThemeCommand::Kind::kNone) {
      o.theme.kind = theme_kind(a);
      const bool takes_value = a != "--undo" && a != "--redo" && a != "--list-themes";
      if (takes_value && !value(o.theme.argument)) return false;
    } else if (a == "--dark" || a == "--exact") {
      (a == "--dark" ? o.theme.dark : o.theme.exact) = true;
      made_given = true;
    } else if (a == "--name") {
      if (!value(o.theme.name)) return false;
      made_given = true;
    } else if (a == "--style" || a == "--contrast") {
      std::string word;
      if (!value(word)) return false;
      if (!ParseMakeWord(a, word, o.theme, error)) return false;
      made_given = true;
    } else if (a == "--format") {
      std::string form;
      if (!value(form)) return false;
      if (form != "regedit5" && form != "regedit4") {
        error = "--format wants regedit5 or regedit4, not '" + form + "'";
        return false;
      }
      o.theme.format = form == "regedit4" ? RegFileForm::kRegedit4 : RegFileForm::kVersion5;
      format_given = true;
    } else if (a == "--scale") {
      std::string text;
      if (!value(text)) return false;
      char* end = nullptr;
      errno = 0;
      const double v = std::strtod(text.c_str(), &end);
      if (errno != 0 || *end != '\0' || !std::isfinite(v) || v < 0.25 || v > 4.0) {
        error = "--scale wants a number from 0.25 to 4, not '" + text + "'";
        return false;
      }
      o.scale = v;
      o.scale_asked = true;
    } else if (!a.empty() && a[0] != '-') {
      if (!o.open_file.empty()) {
        error = "one file at a time: '" + o.open_file + "' and '" + a + "'";
        return false;
      }
      o.open_file = a;
    } else {
      error = "unknown option '" + a + "'";
      return false;
    }
  }
  if (!alone.empty() && !window_option.empty()) {
    error = alone + " runs alone and exits: it takes no window or script options (here " +
            window_option + ")";
    return false;
  }
  if (!alone.empty() && !o.open_file.empty()) {
    error = alone + " runs alone and exits: it opens no file '" + o.open_file + "'";
    return false;
  }
  if (!o.open_file.empty() && (o.headless || !o.preview_png.empty())) {
    error = "a file given to open is for the window: it takes no --headless, --script or "
            "--preview-png";
    return false;
  }
  if (!o.preview_png.empty() && o.headless) {
    error = "--preview-png draws one picture and exits: it takes no --headless or --script";
    return false;
  }
  if (!o.simulate.empty() && o.preview_png.empty()) {
    error = "--simulate goes with --preview-png FILE";
    return false;
  }
  if (o.json && !o.theme_report && o.theme.kind != ThemeCommand::Kind::kMake) {
    error = "--json goes with --theme-report or --make-theme";
    return false;
  }
  if (format_given && o.theme.kind != ThemeCommand::Kind::kExport) {
    error = "--format goes with --export-theme";
    return false;
  }
  if (made_given && o.theme.kind != ThemeCommand::Kind::kMake) {
    error = "--dark, --exact, --style, --contrast and --name go with --make-theme";
    return false;
  }
  o.theme.json = o.json;
  options = o;
  return true;
}
