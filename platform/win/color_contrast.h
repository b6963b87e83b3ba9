// How far apart two colours are in luminance: WCAG 2's contrast ratio, used by
// the shell to keep its own sheets readable and by the checks of a theme; and
// the one sRGB decoding every colour figure of the program starts from.
#pragma once

#include <array>
#include <cmath>

#include "platform/win/win_types.h"

// An sRGB channel (0 to 1) as linear light (IEC 61966-2-1).
inline double SrgbToLinear(double s) {
  return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
}

// The same for an 8-bit channel, from a table made once.
inline double SrgbToLinear(int v) {
  static const std::array<double, 256> table = [] {
    std::array<double, 256> t{};
    for (int i = 0; i < 256; ++i) t[static_cast<std::size_t>(i)] = SrgbToLinear(i / 255.0);
    return t;
  }();
  return table[static_cast<std::size_t>(v & 0xFF)];
}

// The relative luminance of a colour, 0 (black) to 1 (white).
inline double RelativeLuminance(COLORREF c) {
  return 0.2126 * SrgbToLinear(int{GetRValue(c)}) + 0.7152 * SrgbToLinear(int{GetGValue(c)}) +
         0.0722 * SrgbToLinear(int{GetBValue(c)});
}

// The luminance contrast of two colours, from 1 (the same) to 21 (black on white).
inline double ContrastRatio(COLORREF a, COLORREF b) {
  const double la = RelativeLuminance(a);
  const double lb = RelativeLuminance(b);
  return (std::fmax(la, lb) + 0.05) / (std::fmin(la, lb) + 0.05);
}
