// The phone's theme as one value: each of the 20 items either stored in the
// registry (its dword, exactly as stored) or not stored, in which case the
// phone draws the item in its schema's default. A stored value that equals
// the default is still a stored value: the phone draws the same, but the
// registry holds it. Everything that holds, compares, shows or judges a theme
// takes this type; items are numbered 1 to 20 as in the target menu.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/theme_targets.h"

struct ThemeValues {
  static constexpr int kItemCount = static_cast<int>(kThemeTargetCount);

  std::array<std::optional<DWORD>, kThemeTargetCount> items;  // by menu number - 1

  // True when item `number` (1 to 20) is stored.
  bool Stored(int number) const;
  // The colour the phone draws item `number` in: its stored value, else its
  // default (black for a number out of range).
  COLORREF Item(int number) const;
  // The same theme with item `number` stored as `color`.
  ThemeValues With(int number, COLORREF color) const;
  // Every item stored: its value, else its default.
  ThemeValues Completed() const;

  bool operator==(const ThemeValues&) const = default;
};

// One item a person would see change: drawn in `from` before, in `to` after.
struct ThemeChange {
  int number = 0;
  COLORREF from = 0;
  COLORREF to = 0;
  bool stored = true;  // `to` is a stored value (else the default)
};
// The items drawn in another colour in `to` than in `from`, in menu order.
// An item stored with its default's colour over an unset one is no change.
std::vector<ThemeChange> VisibleChanges(const ThemeValues& from, const ThemeValues& to);

// How a theme is put over the registry's: kOver stores the items it holds
// and leaves the others as they are (an import, a saved theme); kWhole makes
// the registry hold exactly its items, removing the others (a preset, so
// that the preset of the phone's defaults is a restore).
enum class ThemeApply { kOver, kWhole };
ThemeValues Applied(const ThemeValues& now, const ThemeValues& theme, ThemeApply how);

// Reads the 20 values in one look at the registry file; one of another type
// or size counts as not stored. False, with `problem` saying why, when the
// registry file cannot be read. `status` (if given) gets the registry's
// status code.
bool ReadThemeValues(ThemeValues& values, std::string& problem, LONG* status = nullptr);

// Under the registry file's lock (held for 2 s at most by another), reads
// the 20 values, lets `make` turn them into the ones to hold and writes the
// items that differ in one durable replace of the file: all of them land, or
// none. `make` runs under the registry's own lock and must not call the
// registry. With `whole`, a value of another type where an item is not
// stored is removed too. False, with `problem` saying why, when nothing was
// written. `status` (if given) gets the registry's status code.
bool UpdateThemeValues(const std::function<ThemeValues(const ThemeValues& now)>& make, std::string& problem,
                       LONG* status = nullptr, bool whole = false);
