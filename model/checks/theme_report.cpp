#include "model/checks/theme_report.h"

#include <cstdio>
#include <nlohmann/json.hpp>
#include <optional>

#include "model/theme_targets.h"
#include "platform/file/utf16.h"
#include "model/checks/item_facts.h"
#include "model/checks/readability.h"

namespace {

std::string Hex(COLORREF c) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(c));
  return text;
}

std::string Fixed(const char* format, double value) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// The items read against a surface item, as "5 6 7".
std::string DrawnOnIt(const ItemFacts& f) {
  std::string items;
  for (int n : f.drawn_on_it) items += (items.empty() ? "" : " ") + std::to_string(n);
  return items;
}

// What the value is: its swatch, "custom" for a stored colour of one's own,
// "default" for one the registry does not hold.
nlohmann::json Origin(const ItemFacts& f) {
  if (!f.stored) return "default";
  return f.swatch ? nlohmann::json(*f.swatch) : nlohmann::json("custom");
}

std::string TextLine(const ItemFacts& f) {
  std::string line = (f.number < 10 ? " " : "") + std::to_string(f.number) + " " + Utf16ToUtf8(f.target->value_name) + " " +
                     Hex(f.value) + " " + (f.swatch ? std::to_string(*f.swatch) : Origin(f).get<std::string>());
  if (!f.figures) return line + " surface of items " + DrawnOnIt(f) + "\n";
  const Readability& r = *f.figures;
  line += std::string(" on ") + SurfaceId(f.surface) + " " + Hex(r.surface) + ": WCAG " +
          RatioFigure(r.ratio) + " (needs " + Fixed("%.1f", r.needed_ratio()) + "), APCA Lc " +
          LcFigure(r.lc) + " (needs " + Fixed("%.0f", r.needed_lc()) + "), ";
  if (r.exempt) {
    line += "pass (a disabled control's text is exempt)";
  } else if (r.passes()) {
    line += "pass";
  } else {
    line += "fail";
    if (f.default_fails) line += "; its default colour fails too";
    line += f.suggestion ? "; nearest swatch that passes: " + std::to_string(*f.suggestion)
                         : std::string("; no swatch passes on ") + SurfaceId(f.surface);
  }
  return line + "\n";
}

nlohmann::json JsonItem(const ItemFacts& f) {
  nlohmann::json item = {
      {"number", f.number},
      {"name", Utf16ToUtf8(f.target->value_name)},
      {"label", Utf16ToUtf8(f.target->label)},
      {"value", Hex(f.value)},
      {"swatch", Origin(f)},
      {"stored", f.stored},
      {"surfaces", nlohmann::json::array()},
      {"pass", !f.fails()},
  };
  if (!f.figures) {
    item["surface_of"] = DrawnOnIt(f);
    return item;
  }
  const Readability& r = *f.figures;
  item["surfaces"].push_back({
      {"surface", SurfaceId(f.surface)},
      {"color", Hex(r.surface)},
      {"wcag_ratio", r.ratio},
      {"wcag_needed", r.needed_ratio()},
      {"apca_lc", r.lc},
      {"apca_needed", r.needed_lc()},
      {"large_text", r.large},
      {"exempt", r.exempt},
      {"pass", r.passes()},
  });
  item["default_fails"] = f.default_fails;
  item["nearest_passing_swatch"] = f.suggestion ? nlohmann::json(*f.suggestion) : nlohmann::json();
  return item;
}

}  // namespace

int ReportTheme(const ThemeValues& theme, bool json, std::string& out) {
  out.clear();
  bool all_pass = true;
  nlohmann::json items = nlohmann::json::array();
  for (int number = 1; number <= static_cast<int>(kThemeTargetCount); ++number) {
    const ItemFacts f = DescribeItem(theme, number);
    all_pass &= !f.fails();
    if (json) {
      items.push_back(JsonItem(f));
    } else {
      out += TextLine(f);
    }
  }
  if (json) {
    const nlohmann::json report = {{"pass", all_pass}, {"items", items}};
    out = report.dump(2) + "\n";
  }
  return all_pass ? kReportAllPass : kReportSomeFail;
}

int MakeThemeReport(bool json, std::string& out, std::string& error) {
  out.clear();
  ThemeValues theme;
  std::string problem;
  if (!ReadThemeValues(theme, problem)) {
    error = "cannot read the registry file: " + (problem.empty() ? std::string("unknown error") : problem);
    return kReportUnreadable;
  }
  return ReportTheme(theme, json, out);
}
