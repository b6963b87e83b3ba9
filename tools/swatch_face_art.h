// The 65 swatch faces: an 80 x 80 picture, a uniform 70 x 70 fill inside a
// 5-pixel grey frame that gets lighter towards the top left.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/rgba_image.h"

struct SwatchFace {
  int id;             // resource id, the swatch button's control id
  std::uint32_t rgb;  // the fill, 0xRRGGBB
};

// Every face, in resource id order.
const std::vector<SwatchFace>& SwatchFaces();

RgbaImage DrawSwatchFace(const SwatchFace& face);
