#include "tools/rgba_image.h"

RgbaImage RgbaFromCairo(cairo_surface_t* surface) {
  cairo_surface_flush(surface);
  const int w = cairo_image_surface_get_width(surface);
  const int h = cairo_image_surface_get_height(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  RgbaImage image(w, h);
  for (int y = 0; y < h; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
    for (int x = 0; x < w; ++x) {
      const std::uint32_t argb = row[x];
      const unsigned a = argb >> 24;
      if (a == 0) {
        image.Set(x, y, 255, 255, 255, 0);
        continue;
      }
      // Undo the premultiplication with rounding; integer only, so the same
      // drawing always gives the same bytes.
      auto straight = [a](unsigned c) {
        const unsigned v = (c * 255 + a / 2) / a;
        return static_cast<std::uint8_t>(v > 255 ? 255 : v);
      };
      image.Set(x, y, straight((argb >> 16) & 0xFF), straight((argb >> 8) & 0xFF),
                straight(argb & 0xFF), static_cast<std::uint8_t>(a));
    }
  }
  return image;
}
