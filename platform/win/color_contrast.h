// How far apart two colours are in luminance: WCAG 2's contrast ratio, used by
// the shell to keep its own sheets readable and by the checks of a theme.
#pragma once

#include <cmath>

#include "platform/win/win_types.h"

// The luminance contrast of two colours, from 1 (the same) to 21 (black on white).
inline double ContrastRatio(COLORREF a, COLORREF b) {
  auto luminance = [](COLORREF c) {
    auto linear = [](int v) {
      const double s = v / 255.0;
      return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(GetRValue(c)) + 0.7152 * linear(GetGValue(c)) +
           0.0722 * linear(GetBValue(c));
  };
  const double la = luminance(a);
  const double lb = luminance(b);
  return (std::fmax(la, lb) + 0.05) / (std::fmin(la, lb) + 0.05);
}
