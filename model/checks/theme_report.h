// The theme report for scripts and theme authors: every item's value and how
// well it reads on its surface, one line per item or as JSON.
#pragma once

#include <string>

#include "model/theme/theme_values.h"

// Exit codes of the report: every item passes, some item fails, the registry
// file cannot be read.
inline constexpr int kReportAllPass = 0;
inline constexpr int kReportSomeFail = 1;
inline constexpr int kReportUnreadable = 2;

// Reads the registry now and writes the report into `out` (text or JSON).
// Returns one of the codes above; for kReportUnreadable, `out` is empty and
// `error` says why in one line.
int MakeThemeReport(bool json, std::string& out, std::string& error);
// The same report for `theme` as given: kReportAllPass or kReportSomeFail.
int ReportTheme(const ThemeValues& theme, bool json, std::string& out);
