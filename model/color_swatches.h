// The 65 colour swatches, in grid order (row by row, left to right): each
// swatch's control id, the colour value it writes, its picture and its cell.
#pragma once

#include <array>
#include <cstdint>

#include "platform/win/win_types.h"

struct ColorSwatch {
  int control_id;        // the image button's id; 102 to 169 with gaps
  std::uint32_t color;   // COLORREF 0x00BBGGRR, written unchanged (top byte too)
  int image_id;          // PNG resource id; equals control_id
  int row;               // 0 to 16
  int column;            // 0 to 3; -1 for the single centred swatch of row 16
};

inline constexpr std::size_t kColorSwatchCount = 65;

extern const std::array<ColorSwatch, kColorSwatchCount> kColorSwatches;

// The swatch whose button carries this id, or null.
const ColorSwatch* FindColorSwatch(int control_id);
