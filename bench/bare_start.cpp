// The comparator for Tintor's start-up: a bare program that starts SDL, cairo
// and pango, draws the texts of the main window's first frame and one of its
// pictures into a 480 x 720 image, and ends. It does no more than any program
// that draws this screen with these libraries must, so Tintor's headless
// start to its first frame should take no longer than this program's run.
#include <SDL.h>
#include <cairo.h>
#include <pango/pangocairo.h>

#include <cstdio>

int main() {
  if (SDL_Init(SDL_INIT_EVENTS) != 0) {
    std::fprintf(stderr, "bare_start: %s\n", SDL_GetError());
    return 1;
  }
  cairo_surface_t* screen = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 480, 720);
  cairo_t* cr = cairo_create(screen);
  cairo_set_source_rgb(cr, 0.925, 0.925, 0.925);
  cairo_paint(cr);

  cairo_surface_t* picture = cairo_image_surface_create_from_png(BARE_START_PICTURE);
  if (cairo_surface_status(picture) != CAIRO_STATUS_SUCCESS) {
    std::fprintf(stderr, "bare_start: cannot read %s\n", BARE_START_PICTURE);
    return 1;
  }
  cairo_set_source_surface(cr, picture, 0, 35);
  cairo_paint(cr);
  cairo_surface_destroy(picture);

  struct Text {
    const char* utf8;
    double x, y, px;
  } texts[] = {{"12:00", 215, 6, 20}, {"退出", 55, 672, 22}, {"先看说明", 195, 672, 22},
               {"关于", 375, 672, 22}};
  PangoLayout* layout = pango_cairo_create_layout(cr);
  PangoFontDescription* font = pango_font_description_from_string("WenQuanYi Micro Hei");
  cairo_set_source_rgb(cr, 1, 1, 1);
  for (const Text& t : texts) {
    pango_font_description_set_absolute_size(font, t.px * PANGO_SCALE);
    pango_layout_set_font_description(layout, font);
    pango_layout_set_text(layout, t.utf8, -1);
    cairo_move_to(cr, t.x, t.y);
    pango_cairo_show_layout(cr, layout);
  }
  pango_font_description_free(font);
  g_object_unref(layout);
  cairo_destroy(cr);
  cairo_surface_flush(screen);
  cairo_surface_destroy(screen);
  SDL_Quit();
  return 0;
}
