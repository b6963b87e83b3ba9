// Decodes a PNG held in memory (8-bit or 16-bit, RGB or RGBA, grey, palette,
// interlaced or not) into premultiplied ARGB pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// False (and nothing changed) when the bytes are not a PNG that decodes.
bool DecodePng(const void* data, std::size_t size, int& width, int& height,
               std::vector<std::uint32_t>& pixels);
