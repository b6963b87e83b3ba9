// A drawing colour with straight alpha, made from the phone's COLORREF or from
// plain 8-bit channels.
#pragma once

#include <cmath>

#include "platform/win/color_contrast.h"
#include "platform/win/win_types.h"

struct Color {
  double r = 0, g = 0, b = 0, a = 1;

  static constexpr Color Rgb(int red, int green, int blue, double alpha = 1.0) {
    return Color{red / 255.0, green / 255.0, blue / 255.0, alpha};
  }
  // COLORREF is 0x00BBGGRR; the top byte is ignored.
  static constexpr Color FromColorRef(COLORREF c, double alpha = 1.0) {
    return Rgb(GetRValue(c), GetGValue(c), GetBValue(c), alpha);
  }
};

// The weakest luminance contrast (WCAG's ratio, 1 to 21) that still reads as
// text; white on the light sheets is about 1.1, mid grey on white about 4.
constexpr double kMinTextContrast = 2.0;

// `text` when it can be read on `surface`, else `fallback`. The popup menu
// and the message box are light sheets of the platform's own: a theme made
// for dark windows (light list, window and button texts) must not make them
// unreadable.
inline COLORREF ReadableText(COLORREF text, COLORREF surface, COLORREF fallback) {
  return ContrastRatio(text, surface) >= kMinTextContrast ? text : fallback;
}
