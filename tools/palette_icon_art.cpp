#include "tools/palette_icon_art.h"

#include <cmath>

namespace {

constexpr int kSize = 40;

void PaletteShape(cairo_t* cr) {
  // A rounded board with a thumb hole.
  cairo_save(cr);
  cairo_translate(cr, 20, 21);
  cairo_rotate(cr, -0.25);
  cairo_scale(cr, 18, 15);
  cairo_new_sub_path(cr);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_restore(cr);
  cairo_new_sub_path(cr);
  cairo_arc_negative(cr, 27, 27, 3.2, 2 * M_PI, 0);
}

void Dab(cairo_t* cr, double x, double y, double r, double red, double green, double blue) {
  cairo_pattern_t* p = cairo_pattern_create_radial(x - r * 0.35, y - r * 0.35, r * 0.1, x, y, r);
  cairo_pattern_add_color_stop_rgb(p, 0, 0.5 + red / 2, 0.5 + green / 2, 0.5 + blue / 2);
  cairo_pattern_add_color_stop_rgb(p, 1, red, green, blue);
  cairo_set_source(cr, p);
  cairo_arc(cr, x, y, r, 0, 2 * M_PI);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

}  // namespace

RgbaImage DrawPaletteIcon() {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kSize, kSize);
  cairo_t* cr = cairo_create(surface);

  // Drop shadow.
  cairo_save(cr);
  cairo_translate(cr, 1, 1.5);
  PaletteShape(cr);
  cairo_restore(cr);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
  cairo_set_source_rgba(cr, 0.1, 0.15, 0.25, 0.35);
  cairo_fill(cr);

  // The board, warm wood lit from the top left.
  cairo_pattern_t* wood = cairo_pattern_create_linear(4, 6, 34, 36);
  cairo_pattern_add_color_stop_rgb(wood, 0, 0.99, 0.86, 0.62);
  cairo_pattern_add_color_stop_rgb(wood, 1, 0.85, 0.58, 0.30);
  PaletteShape(cr);
  cairo_set_source(cr, wood);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(wood);
  cairo_set_source_rgb(cr, 0.62, 0.38, 0.16);
  cairo_set_line_width(cr, 1.0);
  cairo_stroke(cr);

  Dab(cr, 10.5, 18, 3.6, 0.93, 0.12, 0.45);  // magenta
  Dab(cr, 17, 11.5, 3.6, 1.00, 0.80, 0.10);  // yellow
  Dab(cr, 25.5, 10, 3.6, 0.20, 0.75, 0.30);  // green
  Dab(cr, 31.5, 15.5, 3.4, 0.15, 0.45, 0.95);  // blue
  Dab(cr, 12.5, 26.5, 3.4, 0.55, 0.25, 0.90);  // violet

  cairo_destroy(cr);
  RgbaImage image = RgbaFromCairo(surface);
  cairo_surface_destroy(surface);
  return image;
}
