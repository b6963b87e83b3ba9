#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "platform/entry/entry_point.h"
#include "studio/colour_science.h"

const char* EntryUsage() {
  return "usage: tintor [--headless] [--script FILE] [--screenshot-dir DIR] [--scale N]\n"
         "              [--no-preview] [--preview-png FILE [--simulate KIND]]\n"
         "       tintor --theme-report [--json]\n"
         "  --headless            run without a window (pixels in memory)\n"
         "  --script FILE         feed input from FILE (implies --headless); one command a line:\n"
         "                        tap X Y | drag X1 Y1 X2 Y2 MS | wait MS |\n"
         "                        key [shift+|ctrl+]escape|enter|space|tab|up|down|left|right|\n"
         "                            pageup|pagedown|home|end|f2 |\n"
         "                        shot NAME.png | preview NAME.png (the theme preview) | # comment\n"
         "  --screenshot-dir DIR  where 'shot' and 'preview' write, made if missing (default: .)\n"
         "  --scale N             window size factor, 0.25 to 4 (default 1: 480 x 720)\n"
         "  --no-preview          start with the theme preview hidden: a narrow tab beside\n"
         "                        the phone brings it back; F2 in the window hides and shows it\n"
         "  --preview-png FILE    draw the theme preview for the registry as it is now\n"
         "                        into the PNG file FILE (at --scale), and exit\n"
         "  --simulate KIND       with --preview-png: the preview as seen with protanopia,\n"
         "                        deuteranopia or tritanopia (KIND: protan, deutan, tritan)\n"
         "                        and which items on one surface become hard to tell apart\n"
         "  --theme-report        one line per theme item: number, value name, value, swatch\n"
         "                        id or custom, its surface with the WCAG 2 contrast ratio and\n"
         "                        the APCA Lc, pass or fail; exit 0 when every item passes,\n"
         "                        1 when any fails, 2 when the registry file cannot be read\n"
         "  --json                with --theme-report: the same as JSON\n"
         "  --version             show the program's version\n"
         "  --help                show this text\n";
}

const char* EntryVersion() { return "tintor " TINTOR_VERSION "\n"; }

bool ParseEntryOptions(const std::vector<std::string>& args, EntryOptions& options,
                       std::string& error) {
  EntryOptions o;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
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
    } else {
      error = "unknown option '" + a + "'";
      return false;
    }
  }
  if (!o.preview_png.empty() && o.headless) {
    error = "--preview-png draws one picture and exits: it takes no --headless or --script";
    return false;
  }
  if (!o.simulate.empty() && o.preview_png.empty()) {
    error = "--simulate goes with --preview-png FILE";
    return false;
  }
  if (o.json && !o.theme_report) {
    error = "--json goes with --theme-report";
    return false;
  }
  if (o.theme_report && (o.headless || !o.preview_png.empty())) {
    error = "--theme-report prints a report and exits: it takes no --headless, --script or "
            "--preview-png";
    return false;
  }
  options = o;
  return true;
}
