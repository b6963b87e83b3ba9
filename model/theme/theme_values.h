// The 20 theme values as the registry holds them, each stored or missing
// (the phone then draws its default), and a change of several of them in one
// registry transaction: all of its values land, or none.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "model/theme_targets.h"

struct ThemeValues {
  std::array<std::optional<DWORD>, kThemeTargetCount> items;  // by menu number - 1

  // Every item stored: its value, else its default.
  ThemeValues Completed() const;
  bool operator==(const ThemeValues&) const = default;
};

// Reads the 20 values; one of another type or size counts as missing. False,
// with `problem` saying why, when the registry file cannot be read.
// `status` (if given) gets the registry's status code.
bool ReadThemeValues(ThemeValues& values, std::string& problem, LONG* status = nullptr);

// Changes the registry from `from` to `to`: every item that differs is set,
// or removed where `to` has none. One transaction: the theme's key opened
// once (the application items through its subkey), one lock, one durable
// replace of the registry file. False, with `problem` saying why, when
// nothing was written.
bool WriteThemeValues(const ThemeValues& from, const ThemeValues& to, std::string& problem);
