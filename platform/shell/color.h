// A drawing colour with straight alpha, made from the phone's COLORREF or from
// plain 8-bit channels.
#pragma once

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
