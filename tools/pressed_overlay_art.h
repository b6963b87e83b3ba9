// The pressed overlay shared by all swatch buttons: a translucent blue
// rounded-square outline over the face's frame, clear inside.
#pragma once

#include "tools/rgba_image.h"

RgbaImage DrawPressedOverlay();
