// Reads and decodes a PNG held in memory (8-bit or 16-bit, RGB or RGBA, grey, palette,
// interlaced or not) into premultiplied ARGB pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// False (and nothing changed) when the bytes are not a PNG that decodes.
bool DecodePng(const void* data, std::size_t size, int& width, int& height,
               std::vector<std::uint32_t>& pixels);

// The picture's size from its header alone, without decoding it. False when
// the bytes do not start like a PNG (signature, then the IHDR chunk).
bool ReadPngSize(const void* data, std::size_t size, int& width, int& height);
