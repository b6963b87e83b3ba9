// Test helper: reads an embedded PNG the way any decoder would (libpng) and
// lists its chunks, so tests can check both the layout and the pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct PngChunk {
  std::string type;
  std::vector<std::uint8_t> payload;
  bool crc_ok = false;
};

struct DecodedPng {
  bool ok = false;
  std::string error;
  int width = 0;
  int height = 0;
  int bit_depth = 0;
  int color_type = -1;
  int interlace = -1;
  std::vector<std::uint8_t> rgba;  // straight RGBA, as stored

  struct Pixel {
    int r, g, b, a;
  };
  Pixel At(int x, int y) const {
    const std::uint8_t* p = &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
    return {p[0], p[1], p[2], p[3]};
  }
};

// The chunks in file order; empty when the signature is wrong. Stops at a
// chunk that runs past the end.
std::vector<PngChunk> ListPngChunks(const std::uint8_t* data, std::size_t size);

// Decodes without any colour conversion: 8-bit RGBA files come back byte for byte.
DecodedPng DecodePng(const std::uint8_t* data, std::size_t size);

// The embedded bytes of a resource, or an empty vector.
std::vector<std::uint8_t> ProgramResource(int id);
std::vector<std::uint8_t> PlatformResource(int id);
