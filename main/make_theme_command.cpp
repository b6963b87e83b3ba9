#include "main/make_theme_command.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <optional>
#include <vector>

#include "model/checks/readability.h"
#include "model/checks/theme_report.h"
#include "model/color_swatches.h"
#include "model/colour_hex.h"
#include "platform/file/shown_text.h"
#include "model/theme/dominant_colours.h"
#include "model/theme/theme_store.h"
#include "model/theme/theme_maker.h"
#include "model/theme/theme_library.h"
#include "platform/file/utf16.h"
#include "platform/file/utf8.h"
#include "platform/host/quit_signals.h"
#include "platform/shell/picture_file.h"
#include "platform/win/registry.h"
#include "platform/win/theme_schema.h"

namespace {

std::string Figure(const char* format, double value) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string ItemName(int number) {
  if (number < 1 || number > static_cast<int>(kThemeItemCount)) return "";
  return std::to_string(number) + " " +
         Utf16ToUtf8(kThemeSchema[static_cast<std::size_t>(number - 1)].value_name);
}

// The source as a colour, and the name part and words that say where it came from.
struct Source {
  COLORREF color = 0;
  std::string name;  // what a made name starts with
  std::string told;  // printed before the report
  std::vector<COLORREF> others;  // a picture's next colours, best first
};

bool ParseHexColour(const std::string& text, COLORREF& color) {
  if (text.size() != 7 || text[0] != '#') return false;
  for (std::size_t i = 1; i < 7; ++i) {
    if (!std::isxdigit(static_cast<unsigned char>(text[i]))) return false;
  }
  const unsigned long v = std::strtoul(text.c_str() + 1, nullptr, 16);
  color = RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  return true;
}

// The picture's file name as the start of the theme name `part + ending`:
// whatever the theme-name rule refuses in it (a byte that is no UTF-8, a
// control character, a line break) is "_", and it is cut so that the made
// name and a number after it (" 99") stay within the longest name. A file
// name that still makes no name (nothing visible in it) gives "图片".
std::string NamePart(const std::string& path, const std::string& ending) {
  const std::size_t slash = path.find_last_of('/');
  const std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
  const std::size_t room = kThemeNameMaxChars - Utf8ToUtf16(ending).size() - 3;
  std::string part;
  std::size_t characters = 0;
  for (std::size_t at = 0; at < file.size() && characters < room; ++characters) {
    const Utf8Char c = DecodeUtf8(file, at);
    std::string one = c.fault == Utf8Fault::kNone ? file.substr(at, c.length) : "_";
    at += c.length;
    std::string checked;
    if (CheckThemeName("x" + one + "x", checked) != ThemeNameFault::kNone) one = "_";
    part += one;
  }
  std::string checked;
  const bool blank = CheckThemeName(part, checked) == ThemeNameFault::kBlank;
  return !blank && CheckThemeName(part + ending, checked) == ThemeNameFault::kNone ? part : "图片";
}

// `kind` is what the made name ends with (" 柔和 浅色").
bool ReadSource(const std::string& text, const std::string& kind, Source& source, std::string& problem) {
  if (ParseHexColour(text, source.color)) {
    source.name = ColourHex(source.color);
    source.told = "the source colour: " + source.name;
    return true;
  }
  if (!text.empty() && text.find_first_not_of("0123456789") == std::string::npos) {
    const ColorSwatch* swatch = text.size() <= 4 ? FindColorSwatch(std::atoi(text.c_str())) : nullptr;
    if (swatch == nullptr) {
      problem = "no swatch has the id " + text + " (the swatches are 102 to 169, with gaps)";
      return false;
    }
    source.color = swatch->color & 0x00FFFFFF;
    source.name = ColourHex(source.color);
    source.told = "the source colour: swatch " + text + ", " + source.name;
    return true;
  }
  Picture picture;
  PictureFault fault = PictureFault::kUnreadable;
  if (!ReadPicture(text, kPictureSide, picture, problem, &fault)) {
    if (TypedNoPath(text, fault)) {
      problem = "'" + text + "' is neither a colour #RRGGBB, nor a swatch id, nor a picture: there is no file of "
                "that name";
    }
    return false;
  }
  const std::vector<DominantColour> colours = FindDominantColours(picture.pixels.data(), picture.pixels.size());
  if (colours.empty()) {
    problem = text + " has no pixel that is at least half opaque";
    return false;
  }
  source.color = colours.front().color;
  source.name = NamePart(text, kind);
  source.told = "the picture's dominant colours:";
  for (std::size_t i = 0; i < colours.size() && i < 5; ++i) {
    source.told += " " + ColourHex(colours[i].color) + " " + Figure("%.0f%%", colours[i].share * 100) +
                   (colours[i].clear ? " clear" : "");
  }
  for (std::size_t i = 1; i < colours.size() && i < 5; ++i) source.others.push_back(colours[i].color);
  source.told += "\nthe source colour taken: " + ColourHex(source.color);
  return true;
}

const char* VisionWord(ColourVision vision) {
  return vision == ColourVision::kTypical ? "typical" : ColourVisionName(vision);
}

// "4.5 (and 0.1 to spare)": a need as printed, with the room a made theme keeps over it.
std::string Need(const char* format, double needed, double room) {
  return Figure(format, needed) + " and " + Figure("%.1f", room) + " to spare";
}

std::string DescribeLikeness(const RuleBreach& b, const std::string& item) {
  if (b.rule == ThemeRule::kLikeSource && b.needed == kHueReach) {
    return item + " is " +
           (b.figure >= kNoHue ? std::string("grey, of no hue") : Figure("%.0f", b.figure) + " degrees from the source's hue") +
           " (needs at most " + Need("%.0f", b.needed, -kHueRoom) + ")";
  }
  if (b.rule == ThemeRule::kHarmony && b.needed == kHarmonyReach) {
    return item + " has chroma above " + Figure("%.0f", kSourceChroma - kChromaRoom) + " and is " +
           Figure("%.0f", b.figure) + " degrees from the source's hue (needs at most " +
           Need("%.0f", b.needed, -kHueRoom) + ")";
  }
  return item + " has chroma " + Figure("%.1f", b.figure) + " (a grey source's theme: at most " +
         Need("%.0f", b.needed, -kChromaRoom) + ")";
}

std::string DescribeBreach(const RuleBreach& b) {
  const std::string line = std::string(ThemeRuleId(b.rule)) + ": ";
  const std::string item = "item " + ItemName(b.item);
  switch (b.rule) {
    case ThemeRule::kReadable:
      return line + item + " has " + Figure("%.2f:1", b.figure) + " (needs " + Need("%.1f", b.needed, kRatioRoom) +
             ") or too little APCA Lc (needs " + Figure("%.0f", kLcRoom) + " to spare)";
    case ThemeRule::kReadableByAll:
      return line + item + " seen " + VisionWord(b.vision) + " has " + Figure("%.2f:1", b.figure) + " (needs " +
             Need("%.1f", b.needed, kRatioRoom) + ")";
    case ThemeRule::kApart:
      return line + "items " + ItemName(b.item) + " and " + ItemName(b.other) + " seen " + VisionWord(b.vision) +
             " differ by CIEDE2000 " + Figure("%.1f", b.figure) + " (needs " + Need("%.0f", b.needed, kApartRoom) + ")";
    case ThemeRule::kHierarchy:
      return line + item + " has " + Figure("%.2f:1", b.figure) + ", not more than item " + ItemName(b.other) +
             " at " + Figure("%.2f:1", b.needed);
    case ThemeRule::kLikeSource:
    case ThemeRule::kHarmony: return line + DescribeLikeness(b, item);
  }
  return line;
}

// Who carries the source's hue, in words.
std::string Carrier(const ThemeRuleCheck& check) {
  const std::string off =
      check.hue_distance >= kNoHue ? "one of them grey" : Figure("%.0f", check.hue_distance) + " degrees off";
  if (check.source.c <= kSourceChroma) return "a grey source, a grey theme";
  if (check.window_carries_hue) return "the window background carries the hue, " + off;
  if (!check.Breaks(ThemeRule::kLikeSource)) return "the accent texts carry the hue, " + off + " at most";
  return "neither the window background nor the accent texts carry the hue (" + off + " at most)";
}

// The report, the figures for each eye and the rules.
void PrintChecks(const MadeTheme& made) {
  std::string report;
  ReportTheme(made.Snapshot(), false, report);
  std::fputs(report.c_str(), stdout);
  for (const VisionFigures& v : made.check.visions) {
    std::printf("seen %s: weakest text %s at %.2f:1 (needs %.1f); closest pair %d/%d at CIEDE2000 %.1f (needs %.0f)\n",
                VisionWord(v.vision), ItemName(v.weakest_item).c_str(), v.weakest_ratio, v.weakest_needed,
                v.closest.first, v.closest.second, v.closest_difference, kConfusableDifference);
  }
  const ThemeRuleCheck& check = made.check;
  const bool grey = check.source.c <= kSourceChroma;
  std::printf("source %s: L %.1f, chroma %.1f, %s; %s\n", ColourHex(made.source).c_str(), check.source.l,
              check.source.c, grey ? "no hue" : ("hue " + Figure("%.0f", check.source.h)).c_str(),
              Carrier(check).c_str());
  for (ThemeRule rule : kThemeRules) {
    std::printf("rule %s: %s\n", ThemeRuleId(rule), check.Breaks(rule) ? "not met" : "met");
  }
  for (const RuleBreach& b : check.breaches) std::printf("  %s\n", DescribeBreach(b).c_str());
}

// The same as JSON: the source, the theme's report, each eye's figures and
// each rule with what breaks it.
void PrintChecksJson(const MadeTheme& made, const std::string& saved) {
  std::string report;
  ReportTheme(made.Snapshot(), true, report);
  nlohmann::json out = {{"source", ColourHex(made.source)},
                        {"style", ThemeStyleId(made.options.style)},
                        {"contrast", made.options.contrast == ContrastLevel::kHigh ? "high" : "standard"},
                        {"dark", made.options.dark},
                        {"exact", made.options.exact},
                        {"pass", made.passes()},
                        {"saved_as", saved.empty() ? nlohmann::json() : nlohmann::json(saved)},
                        {"report", nlohmann::json::parse(report)}};
  for (const VisionFigures& v : made.check.visions) {
    out["visions"].push_back({{"vision", VisionWord(v.vision)},
                              {"weakest_item", v.weakest_item},
                              {"weakest_ratio", v.weakest_ratio},
                              {"closest_pair", {v.closest.first, v.closest.second}},
                              {"closest_difference", v.closest_difference}});
  }
  for (ThemeRule rule : kThemeRules) {
    nlohmann::json breaches = nlohmann::json::array();
    for (const RuleBreach& b : made.check.breaches) {
      if (b.rule == rule) breaches.push_back(DescribeBreach(b));
    }
    out["rules"].push_back({{"rule", ThemeRuleId(rule)}, {"met", breaches.empty()}, {"breaches", breaches}});
  }
  std::fputs((out.dump(2) + "\n").c_str(), stdout);
}

// The options that make the same theme again, as typed after the source.
std::string Options(const MakeOptions& o) {
  return std::string(o.dark ? " --dark" : "") + (o.exact ? " --exact" : "") +
         (o.style == ThemeStyle::kVivid ? " --style vivid" : "") +
         (o.contrast == ContrastLevel::kHigh ? " --contrast high" : "");
}

// No theme holds every rule: the closest, and another colour of the
// picture that gives one.
int NoTheme(const MakeThemeRequest& request, const Source& source, const MadeTheme& made) {
  const char* kind = request.options.dark ? "dark" : "light";
  const char* within = request.options.exact ? "" : " within the 65 swatches";
  if (request.json) {
    PrintChecksJson(made, "");
  } else {
    std::printf("no %s theme%s holds every rule; the closest one:\n", kind, within);
    PrintChecks(made);
  }
  std::fprintf(stderr, "tintor: no %s theme%s from %s holds every rule; nothing is saved\n", kind, within,
               ColourHex(source.color).c_str());
  for (COLORREF other : source.others) {
    if (!MakeTheme(other, request.options).passes()) continue;
    std::fprintf(stderr, "tintor: the picture's colour %s gives one: tintor --make-theme '%s'%s\n",
                 ColourHex(other).c_str(), ColourHex(other).c_str(), Options(request.options).c_str());
    break;
  }
  return 1;
}

// Whether SIGINT or SIGTERM came meanwhile; the command then ends, saying so.
bool Stopped() {
  if (QuitSignalExitStatus() == 0) return false;
  std::fputs("tintor: stopped by a quit signal; nothing is saved\n", stderr);
  return true;
}

}  // namespace

int RunMakeTheme(const MakeThemeRequest& request) {
  Source source;
  std::string problem;
  const bool read = ReadSource(request.source, MadeThemeName("", request.options), source, problem);
  if (Stopped()) return QuitSignalExitStatus();
  if (!read) {
    std::fprintf(stderr, "tintor: %s\ntintor: no theme is made; nothing is written\n", ShownText(problem).c_str());
    return 2;
  }
  if (!request.json) std::printf("%s\n", source.told.c_str());
  const MadeTheme made = MakeTheme(source.color, request.options);
  if (!made.passes()) return NoTheme(request, source, made);
  if (Stopped()) return QuitSignalExitStatus();
  std::string name;
  bool taken = false;
  ThemeStore store(RegistryFilePath());
  if (!store.SaveNew(request.name, MadeThemeName(source.name, request.options), made.values, name, problem, &taken)) {
    if (taken && !request.name.empty()) problem = "a theme named '" + request.name + "' is there already";
    std::fprintf(stderr, "tintor: %s; nothing is saved\n", ShownText(problem, kShownLineChars).c_str());
    return 1;
  }
  if (request.json) {
    PrintChecksJson(made, name);
    return 0;
  }
  std::printf("made a %s %s theme%s%s and saved it as '%s' (tintor --apply-theme applies it)\n",
              ThemeStyleId(request.options.style), request.options.dark ? "dark" : "light",
              request.options.contrast == ContrastLevel::kHigh ? " of high contrast" : "",
              request.options.exact ? "" : " within the 65 swatches", ShownText(name, kShownNameChars).c_str());
  PrintChecks(made);
  return 0;
}
