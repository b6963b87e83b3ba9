#include "tools/pressed_overlay_art.h"

#include <cmath>

namespace {

constexpr int kSize = 90;
// #2367E3 at 40 % alpha.
constexpr std::uint8_t kRed = 0x23, kGreen = 0x67, kBlue = 0xE3, kAlpha = 102;

void RoundedSquare(cairo_t* cr, double inset, double radius) {
  const double lo = inset, hi = kSize - inset;
  cairo_new_sub_path(cr);
  cairo_arc(cr, hi - radius, lo + radius, radius, -M_PI / 2, 0);
  cairo_arc(cr, hi - radius, hi - radius, radius, 0, M_PI / 2);
  cairo_arc(cr, lo + radius, hi - radius, radius, M_PI / 2, M_PI);
  cairo_arc(cr, lo + radius, lo + radius, radius, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

}  // namespace

RgbaImage DrawPressedOverlay() {
  // Coverage of the outline, anti-aliased by cairo; the colour is put in
  // afterwards so that every visible pixel has exactly the one colour.
  cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, kSize, kSize);
  cairo_t* cr = cairo_create(mask);
  cairo_set_source_rgba(cr, 0, 0, 0, 1);
  cairo_set_line_width(cr, 5.0);
  // The band runs from 4.5 to 9.5 pixels in from the edge: over the frame of
  // a face centred in the button, half a pixel of soft edge on either side.
  RoundedSquare(cr, 7.0, 5.0);
  cairo_stroke(cr);
  cairo_destroy(cr);
  cairo_surface_flush(mask);

  RgbaImage image(kSize, kSize);
  const unsigned char* data = cairo_image_surface_get_data(mask);
  const int stride = cairo_image_surface_get_stride(mask);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const unsigned coverage = data[y * stride + x];
      const auto alpha = static_cast<std::uint8_t>((coverage * kAlpha + 127) / 255);
      if (alpha == 0) {
        image.Set(x, y, 255, 255, 255, 0);
      } else {
        image.Set(x, y, kRed, kGreen, kBlue, alpha);
      }
    }
  }
  cairo_surface_destroy(mask);
  return image;
}
