#include "tools/banner_art.h"

#include <cmath>
#include <vector>

#include "tools/brush_stroke.h"

namespace {

constexpr int kWidth = 480;
constexpr int kHeight = 150;

struct Rgb {
  double r, g, b;
};

Rgb Hex(unsigned v) {
  return {((v >> 16) & 0xFF) / 255.0, ((v >> 8) & 0xFF) / 255.0, (v & 0xFF) / 255.0};
}

// One painted letter: its strokes and its ink, lighter at the top.
struct Letter {
  std::vector<BrushStroke> strokes;
  Rgb light;
  Rgb deep;
};

void PaintSky(cairo_t* cr) {
  cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, kWidth, kHeight);
  const Rgb top = Hex(0xA0E0F1), bottom = Hex(0x4CA1BC);
  cairo_pattern_add_color_stop_rgb(sky, 0, top.r, top.g, top.b);
  cairo_pattern_add_color_stop_rgb(sky, 1, bottom.r, bottom.g, bottom.b);
  cairo_set_source(cr, sky);
  cairo_paint(cr);
  cairo_pattern_destroy(sky);

  // A soft sunlit haze behind the lettering.
  cairo_pattern_t* haze = cairo_pattern_create_radial(215, 62, 10, 215, 62, 210);
  cairo_pattern_add_color_stop_rgba(haze, 0, 1, 1, 1, 0.42);
  cairo_pattern_add_color_stop_rgba(haze, 0.55, 1, 1, 1, 0.14);
  cairo_pattern_add_color_stop_rgba(haze, 1, 1, 1, 1, 0);
  cairo_set_source(cr, haze);
  cairo_paint(cr);
  cairo_pattern_destroy(haze);
}

// Low puffs of cloud along the bottom edge.
void PaintClouds(cairo_t* cr) {
  struct Puff {
    double x, y, r;
  };
  const Puff puffs[] = {{20, 160, 38},  {70, 150, 30},  {112, 163, 34}, {160, 156, 22},
                        {300, 166, 30}, {345, 156, 26}, {385, 168, 28}};
  cairo_push_group(cr);
  cairo_set_source_rgb(cr, 1, 1, 1);
  for (const Puff& p : puffs) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, p.x, p.y, p.r, 0, 2 * M_PI);
  }
  cairo_fill(cr);
  cairo_pop_group_to_source(cr);
  cairo_paint_with_alpha(cr, 0.28);
}

// A four-pointed star with a soft glow round it.
void Sparkle(cairo_t* cr, double x, double y, double size, double strength) {
  cairo_pattern_t* glow = cairo_pattern_create_radial(x, y, 0, x, y, size * 1.3);
  cairo_pattern_add_color_stop_rgba(glow, 0, 1, 1, 1, 0.55 * strength);
  cairo_pattern_add_color_stop_rgba(glow, 1, 1, 1, 1, 0);
  cairo_set_source(cr, glow);
  cairo_arc(cr, x, y, size * 1.3, 0, 2 * M_PI);
  cairo_fill(cr);
  cairo_pattern_destroy(glow);

  const double w = size * 0.16;  // waist of the star's arms
  cairo_move_to(cr, x, y - size);
  cairo_curve_to(cr, x + w * 0.3, y - w, x + w, y - w * 0.3, x + size, y);
  cairo_curve_to(cr, x + w, y + w * 0.3, x + w * 0.3, y + w, x, y + size);
  cairo_curve_to(cr, x - w * 0.3, y + w, x - w, y + w * 0.3, x - size, y);
  cairo_curve_to(cr, x - w, y - w * 0.3, x - w * 0.3, y - w, x, y - size);
  cairo_close_path(cr);
  cairo_set_source_rgba(cr, 1, 1, 1, strength);
  cairo_fill(cr);
}

void Dot(cairo_t* cr, double x, double y, double r, double alpha) {
  cairo_set_source_rgba(cr, 1, 1, 1, alpha);
  cairo_arc(cr, x, y, r, 0, 2 * M_PI);
  cairo_fill(cr);
}

void PaintSparkles(cairo_t* cr) {
  struct Star {
    double x, y, size, strength;
  };
  const Star stars[] = {{30, 28, 11, 0.95},  {62, 96, 6, 0.8},     {438, 34, 13, 0.95},
                        {458, 102, 7, 0.85}, {400, 16, 5, 0.75},   {120, 16, 6, 0.8},
                        {250, 16, 4.5, 0.7}, {418, 128, 4.5, 0.7}, {22, 124, 5, 0.75}};
  for (const Star& s : stars) Sparkle(cr, s.x, s.y, s.size, s.strength);
  struct Speck {
    double x, y, r, alpha;
  };
  const Speck specks[] = {{48, 52, 1.6, 0.9},  {92, 30, 1.2, 0.8},  {170, 24, 1.4, 0.8},
                          {330, 22, 1.5, 0.85}, {364, 40, 1.1, 0.7}, {465, 66, 1.5, 0.85},
                          {420, 82, 1.2, 0.7},  {12, 70, 1.3, 0.8},  {470, 138, 1.2, 0.7},
                          {82, 134, 1.4, 0.7},  {205, 10, 1.1, 0.7}, {300, 8, 1.2, 0.75}};
  for (const Speck& s : specks) Dot(cr, s.x, s.y, s.r, s.alpha);
}

std::vector<Letter> Lettering() {
  using B = BrushPoint;
  std::vector<Letter> letters;
  // T: a swung crossbar and a stem with a little kick at its foot.
  letters.push_back({{BrushStroke::Cubic(B{78, 44}, B{100, 34}, B{132, 32}, B{160, 36}, 17),
                      BrushStroke::Cubic(B{119, 40}, B{122, 68}, B{118, 98}, B{108, 120}, 21)},
                     Hex(0xFF5CC8), Hex(0xD6127E)});
  // i
  letters.push_back({{BrushStroke::Cubic(B{178, 74}, B{180, 90}, B{179, 106}, B{176, 120}, 19),
                      BrushStroke::Dab(B{179, 53}, B{185, 50}, 17)},
                     Hex(0xB27CFF), Hex(0x7433D6)});
  // n
  letters.push_back({{BrushStroke::Cubic(B{203, 74}, B{205, 90}, B{204, 106}, B{202, 120}, 19),
                      BrushStroke::Cubic(B{205, 96}, B{214, 66}, B{246, 62}, B{243, 120}, 19)},
                     Hex(0x5AA8FF), Hex(0x1D57E0)});
  // t: a tall stem hooking to the right, crossed low.
  letters.push_back({{BrushStroke::Cubic(B{272, 46}, B{271, 84}, B{266, 124}, B{298, 112}, 19),
                      BrushStroke::Cubic(B{257, 76}, B{268, 72}, B{282, 70}, B{297, 70}, 15)},
                     Hex(0x6EE86A), Hex(0x18A33C)});
  // o: one round sweep that closes over its own start.
  letters.push_back({{BrushStroke::Arc(B{327, 97}, 20, 23, -2.2, 2 * M_PI - 2.0, 19)},
                     Hex(0xFFF06A), Hex(0xFFB300)});
  // r
  letters.push_back({{BrushStroke::Cubic(B{365, 74}, B{367, 90}, B{366, 106}, B{364, 120}, 19),
                      BrushStroke::Cubic(B{367, 98}, B{372, 72}, B{392, 64}, B{408, 76}, 18)},
                     Hex(0xFF7AD9), Hex(0xE0208F)});
  return letters;
}

void FillAll(cairo_t* cr, const std::vector<Letter>& letters, double grow, double dx, double dy) {
  cairo_save(cr);
  cairo_translate(cr, dx, dy);
  for (const Letter& l : letters) {
    for (const BrushStroke& s : l.strokes) s.AddOutline(cr, grow);
  }
  cairo_restore(cr);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  cairo_fill(cr);
}

void PaintLettering(cairo_t* cr) {
  const std::vector<Letter> letters = Lettering();

  // A soft shadow cast down and to the right.
  cairo_push_group(cr);
  cairo_set_source_rgb(cr, 0.05, 0.22, 0.35);
  FillAll(cr, letters, 5.5, 3.5, 4.5);
  cairo_pop_group_to_source(cr);
  cairo_paint_with_alpha(cr, 0.30);

  // A white rim so every colour stands off the sky.
  cairo_set_source_rgb(cr, 1, 1, 1);
  FillAll(cr, letters, 4.0, 0, 0);

  for (const Letter& l : letters) {
    double top = 1e9, bottom = -1e9;
    for (const BrushStroke& s : l.strokes) {
      top = std::fmin(top, s.Top());
      bottom = std::fmax(bottom, s.Bottom());
    }
    cairo_pattern_t* ink = cairo_pattern_create_linear(0, top, 0, bottom);
    cairo_pattern_add_color_stop_rgb(ink, 0, l.light.r, l.light.g, l.light.b);
    cairo_pattern_add_color_stop_rgb(ink, 1, l.deep.r, l.deep.g, l.deep.b);
    // Stroke by stroke, as painted: a later stroke covers the marks of an
    // earlier one where they cross.
    for (const BrushStroke& s : l.strokes) {
      s.AddOutline(cr, 0);
      cairo_set_source(cr, ink);
      cairo_fill(cr);

      // Bristle marks: a bright sheen on one side, a darker groove on the other.
      cairo_save(cr);
      s.AddOutline(cr, 0);
      cairo_clip(cr);
      cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
      cairo_set_line_width(cr, 2.2);
      cairo_set_source_rgba(cr, 1, 1, 1, 0.55);
      s.AddStreak(cr, 0.22, 0.08, 0.55);
      cairo_stroke(cr);
      cairo_set_line_width(cr, 1.0);
      cairo_set_source_rgba(cr, 1, 1, 1, 0.35);
      s.AddStreak(cr, 0.05, 0.2, 0.8);
      cairo_stroke(cr);
      cairo_set_line_width(cr, 1.2);
      cairo_set_source_rgba(cr, l.deep.r * 0.6, l.deep.g * 0.6, l.deep.b * 0.6, 0.35);
      s.AddStreak(cr, -0.3, 0.3, 0.95);
      cairo_stroke(cr);
      cairo_restore(cr);
    }
    cairo_pattern_destroy(ink);
  }
}

// Flicks of paint thrown off the brush, each in one letter's ink.
void PaintSplashes(cairo_t* cr) {
  struct Drop {
    double x, y, r;
    unsigned ink;
  };
  const Drop drops[] = {{66, 60, 4.2, 0xF03AA6},  {58, 72, 2.0, 0xF03AA6},
                        {190, 134, 3.0, 0x8F52F0}, {258, 136, 2.2, 0x2F7BF2},
                        {306, 50, 3.4, 0x3CCB52},  {316, 40, 1.8, 0x3CCB52},
                        {420, 96, 3.8, 0xFFC21A},  {428, 108, 2.0, 0xFFC21A},
                        {414, 58, 2.4, 0xF03AA6}};
  for (const Drop& d : drops) {
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_arc(cr, d.x, d.y, d.r + 1.6, 0, 2 * M_PI);
    cairo_fill(cr);
    const Rgb ink = Hex(d.ink);
    cairo_set_source_rgb(cr, ink.r, ink.g, ink.b);
    cairo_arc(cr, d.x, d.y, d.r, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.7);
    cairo_arc(cr, d.x - d.r * 0.35, d.y - d.r * 0.35, d.r * 0.3, 0, 2 * M_PI);
    cairo_fill(cr);
  }
}

}  // namespace

RgbaImage DrawBanner() {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight);
  cairo_t* cr = cairo_create(surface);
  PaintSky(cr);
  PaintClouds(cr);
  PaintSparkles(cr);
  PaintSplashes(cr);
  PaintLettering(cr);
  // A glint on the T and the o, over the paint.
  Sparkle(cr, 155, 34, 7, 1.0);
  Sparkle(cr, 340, 80, 5, 0.9);
  cairo_destroy(cr);
  RgbaImage image = RgbaFromCairo(surface);
  cairo_surface_destroy(surface);
  return image;
}
