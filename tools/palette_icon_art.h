// The platform's small title picture for popup menus: a painter's palette
// with dabs of colour, 40 x 40 on a clear background.
#pragma once

#include "tools/rgba_image.h"

RgbaImage DrawPaletteIcon();
