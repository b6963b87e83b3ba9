// A picture as straight (not premultiplied) 8-bit RGBA rows, the form the
// artwork is written in; and its conversion from a cairo drawing.
#pragma once

#include <cstdint>
#include <vector>

#include <cairo.h>

struct RgbaImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;  // width * height * 4 bytes, R G B A

  RgbaImage() = default;
  RgbaImage(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h * 4, 0) {}

  std::uint8_t* At(int x, int y) { return &pixels[(static_cast<std::size_t>(y) * width + x) * 4]; }
  const std::uint8_t* At(int x, int y) const {
    return &pixels[(static_cast<std::size_t>(y) * width + x) * 4];
  }
  void Set(int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a) {
    std::uint8_t* p = At(x, y);
    p[0] = r;
    p[1] = g;
    p[2] = b;
    p[3] = a;
  }
};

// Converts a finished ARGB32 surface (premultiplied, native-endian words) to
// straight RGBA. Fully transparent pixels become white with alpha 0.
RgbaImage RgbaFromCairo(cairo_surface_t* surface);
