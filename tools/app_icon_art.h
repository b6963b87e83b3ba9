// The program's own icon for desktop menus: an upright phone whose screen
// shows a grid of colour swatches, one of them pressed. Drawn as vectors, so
// it comes out sharp as a PNG of any size and as a scalable SVG.
#pragma once

#include <string>

#include "tools/rgba_image.h"

// The icon as a square picture `size` pixels wide.
RgbaImage DrawAppIcon(int size);

// Writes the icon as an SVG document; false, with a message in `error`, when
// the file cannot be written.
bool WriteAppIconSvg(const std::string& path, std::string* error);
