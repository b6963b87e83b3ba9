// Writes artwork as PNG files in the program's fixed layout: 8-bit RGBA, chunks
// IHDR, pHYs, cHRM, one IDAT, IEND; the same picture always gives the same bytes.
#pragma once

#include <string>

#include "tools/rgba_image.h"

enum class PngInterlace { None, Adam7 };

// False, with a message in `error`, when the file cannot be written.
bool WritePngFile(const std::string& path, const RgbaImage& image, PngInterlace interlace,
                  std::string* error);
