// The banner across the top of the main window: a bright sky with sparkles
// and the name Tintor painted in multicoloured brush strokes. 480 x 150.
#pragma once

#include "tools/rgba_image.h"

RgbaImage DrawBanner();
