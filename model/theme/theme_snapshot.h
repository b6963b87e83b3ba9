// The 20 theme colours as the registry holds them now: what the phone will
// draw with after its next start. Items are numbered as in the target menu.
#pragma once

#include <string>

#include <array>

#include "platform/win/theme_schema.h"
#include "platform/win/win_types.h"

class ThemeSnapshot {
 public:
  static constexpr int kItemCount = static_cast<int>(kThemeItemCount);

  // Every item at its default.
  ThemeSnapshot();

  // Reads the registry now. When the file cannot be read, every item is at
  // its default and problem() says why.
  static ThemeSnapshot Read();

  // The colour of item `number` (1 to 20).
  COLORREF Item(int number) const;
  // The same theme with item `number` in `color` (as if it were written).
  ThemeSnapshot With(int number, COLORREF color) const;
  bool readable() const { return problem_.empty(); }
  const std::string& problem() const { return problem_; }
  // The registry's status code for the read (ERROR_SUCCESS when readable).
  LONG status() const { return status_; }

  bool operator==(const ThemeSnapshot&) const = default;

 private:
  std::array<COLORREF, kThemeItemCount> colors_;  // by menu number - 1
  std::string problem_;
  LONG status_ = ERROR_SUCCESS;
};
