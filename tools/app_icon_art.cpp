#include "tools/app_icon_art.h"

#include <cairo-svg.h>

#include <cmath>
#include <cstdint>

#include "tools/swatch_face_art.h"

namespace {

// The icon is laid out on a 256 x 256 grid and scaled to the size asked for.
constexpr double kGrid = 256;

// The swatches shown on the phone's screen, by resource id, row by row: a
// run round the colour wheel. The pressed one is the cyan.
constexpr int kColumns = 3;
constexpr int kRows = 4;
constexpr int kShownSwatches[kRows][kColumns] = {
    {104, 124, 106}, {113, 105, 150}, {162, 161, 154}, {160, 158, 135}};
constexpr int kPressedSwatch = 162;

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

void SetRgb(cairo_t* cr, std::uint32_t rgb) {
  cairo_set_source_rgb(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0,
                       (rgb & 0xFF) / 255.0);
}

std::uint32_t SwatchColour(int id) {
  for (const SwatchFace& face : SwatchFaces()) {
    if (face.id == id) return face.rgb;
  }
  return 0x808080;
}

void DrawBody(cairo_t* cr) {
  // A soft shadow below and to the right.
  RoundedRect(cr, 55, 16, 152, 232, 26);
  cairo_set_source_rgba(cr, 0.05, 0.08, 0.15, 0.28);
  cairo_fill(cr);

  cairo_pattern_t* shell = cairo_pattern_create_linear(52, 12, 204, 244);
  cairo_pattern_add_color_stop_rgb(shell, 0, 0.36, 0.40, 0.47);
  cairo_pattern_add_color_stop_rgb(shell, 1, 0.11, 0.13, 0.16);
  RoundedRect(cr, 52, 12, 152, 232, 26);
  cairo_set_source(cr, shell);
  cairo_fill(cr);
  cairo_pattern_destroy(shell);

  // A light rim, so the body stands out on dark panels too.
  RoundedRect(cr, 53.5, 13.5, 149, 229, 24.5);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.22);
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);

  // Earpiece and home button.
  RoundedRect(cr, 108, 21, 40, 5, 2.5);
  cairo_set_source_rgb(cr, 0.07, 0.08, 0.10);
  cairo_fill(cr);
  cairo_arc(cr, 128, 229, 8, 0, 2 * M_PI);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.35);
  cairo_set_line_width(cr, 2.5);
  cairo_stroke(cr);
}

void DrawScreen(cairo_t* cr) {
  RoundedRect(cr, 64, 34, 128, 180, 5);
  cairo_set_source_rgb(cr, 0.93, 0.93, 0.93);
  cairo_fill(cr);

  // Status bar and toolbar.
  cairo_set_source_rgb(cr, 0.17, 0.19, 0.23);
  cairo_rectangle(cr, 64, 34, 128, 12);
  cairo_fill(cr);
  cairo_rectangle(cr, 64, 201, 128, 13);
  cairo_fill(cr);

  constexpr double kSwatch = 30, kGap = 7, kLeft = 76, kTop = 53;
  for (int row = 0; row < kRows; ++row) {
    for (int column = 0; column < kColumns; ++column) {
      const int id = kShownSwatches[row][column];
      const double x = kLeft + column * (kSwatch + kGap);
      const double y = kTop + row * (kSwatch + kGap);
      RoundedRect(cr, x, y, kSwatch, kSwatch, 4);
      SetRgb(cr, SwatchColour(id));
      cairo_fill_preserve(cr);
      cairo_set_source_rgba(cr, 0, 0, 0, 0.28);
      cairo_set_line_width(cr, 1.5);
      cairo_stroke(cr);
      if (id == kPressedSwatch) {
        RoundedRect(cr, x - 4, y - 4, kSwatch + 8, kSwatch + 8, 7);
        cairo_set_source_rgb(cr, 0x23 / 255.0, 0x67 / 255.0, 0xE3 / 255.0);
        cairo_set_line_width(cr, 4);
        cairo_stroke(cr);
      }
    }
  }

  // A faint gloss across the upper half of the glass.
  cairo_move_to(cr, 64, 34);
  cairo_line_to(cr, 192, 34);
  cairo_line_to(cr, 192, 80);
  cairo_line_to(cr, 64, 150);
  cairo_close_path(cr);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.12);
  cairo_fill(cr);
}

void DrawIcon(cairo_t* cr, double size) {
  cairo_scale(cr, size / kGrid, size / kGrid);
  DrawBody(cr);
  DrawScreen(cr);
}

}  // namespace

RgbaImage DrawAppIcon(int size) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
  cairo_t* cr = cairo_create(surface);
  DrawIcon(cr, size);
  cairo_destroy(cr);
  RgbaImage image = RgbaFromCairo(surface);
  cairo_surface_destroy(surface);
  return image;
}

bool WriteAppIconSvg(const std::string& path, std::string* error) {
  cairo_surface_t* surface = cairo_svg_surface_create(path.c_str(), kGrid, kGrid);
  cairo_svg_surface_restrict_to_version(surface, CAIRO_SVG_VERSION_1_1);
  cairo_svg_surface_set_document_unit(surface, CAIRO_SVG_UNIT_PX);
  cairo_t* cr = cairo_create(surface);
  DrawIcon(cr, kGrid);
  cairo_destroy(cr);
  cairo_surface_finish(surface);
  const cairo_status_t status = cairo_surface_status(surface);
  cairo_surface_destroy(surface);
  if (status != CAIRO_STATUS_SUCCESS) {
    if (error) *error = path + ": " + cairo_status_to_string(status);
    return false;
  }
  return true;
}
