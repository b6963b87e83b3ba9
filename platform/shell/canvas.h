// The one drawing facade of the platform: rectangles, lines, pictures and
// text with DrawText-style flags, over cairo and pango. Callers never see
// cairo; all numbers are pixels in the current (translated) coordinates.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/shell/color.h"
#include "platform/shell/draw_text_flags.h"
#include "platform/win/win_types.h"

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

// What laying out a text gave: its height in pixels and whether it was cut
// (an ellipsis, or lines below the rectangle's bottom that were not shown).
struct TextMetrics {
  int width = 0;
  int height = 0;
  bool cut = false;
};

class Canvas {
 public:
  // The font every element uses: WenQuanYi Micro Hei.
  static constexpr const char* kFontFamily = "WenQuanYi Micro Hei";

  explicit Canvas(cairo_t* cr);

  // How many device pixels one pixel of the phone covers where canvases end
  // up (the screen buffer's scale). Text is laid out and its glyphs shaped
  // for that size, so it stays sharp when the screen is drawn larger.
  static void SetDeviceScale(double scale);
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  void Save();
  void Restore();
  void Translate(int dx, int dy);
  // Narrows the clip to the rectangle (intersected with the current clip).
  void ClipRect(int x, int y, int w, int h);
  // False when the rectangle lies wholly outside the current clip.
  bool IsRectVisible(int x, int y, int w, int h) const;

  void FillRect(int x, int y, int w, int h, Color c);
  void FillRoundRect(double x, double y, double w, double h, double radius, Color c);
  void StrokeRoundRect(double x, double y, double w, double h, double radius, double width,
                       Color c);
  void FillVerticalGradient(int x, int y, int w, int h, Color top, Color bottom);
  void DrawLine(double x1, double y1, double x2, double y2, double width, Color c);
  // An open polyline with round joins (arrows, ticks).
  void DrawPolyline(const double* xy, int points, double width, Color c);
  void FillCircle(double cx, double cy, double radius, Color c);
  // A closed polygon through `points` (x, y) pairs, filled.
  void FillPolygon(const double* xy, int points, Color c);
  // Multiplies every following coordinate and size by `factor`, so a picture
  // laid out in logical pixels is drawn sharp at 1.5 or 2 times its size.
  void Scale(double factor);
  // Premultiplied ARGB pixels, width * 4 bytes a row, top left at (x, y).
  void DrawImage(const std::uint32_t* pixels, int width, int height, int x, int y,
                 double alpha = 1.0);

  // Hands the finished pixels of the device rectangle (x, y, w, h) of the
  // canvas's target (clipped to it) to `edit`, to be rewritten in place:
  // 0xAARRGGBB rows `stride` pixels apart. Device pixels: no scale or
  // translation applies.
  void EditPixels(int x, int y, int w, int h,
                  const std::function<void(std::uint32_t* pixels, int w, int h, int stride)>& edit);
  // The device rectangle that covers the rectangle (x, y, w, h) as the
  // scale and translation now in force place it.
  RECT DeviceRect(double x, double y, double w, double h) const;
  // Where the origin falls in device pixels and how many device pixels a
  // unit is: false unless the origin is on a whole pixel and the two axes
  // are scaled alike, without rotation.
  bool DevicePlacement(int* x, int* y, double* scale) const;
  // Opaque pixels (0x00RRGGBB, `width` a row) with their top left at device
  // pixel (x, y), one to one: no scale or translation applies; the clip does.
  void DrawDevicePixels(const std::uint32_t* pixels, int width, int height, int x, int y);
  // Paints straight into opaque pixels (0x00RRGGBB, `width` a row) as they are.
  static void PaintIntoPixels(std::uint32_t* pixels, int width, int height,
                              const std::function<void(Canvas&)>& paint);

  // Draws UTF-16 text in the rectangle under DT_* flags (left/center/right,
  // top/vcenter/bottom, DT_WORDBREAK, DT_SINGLELINE, DT_END_ELLIPSIS), clipped
  // to the rectangle. px is the font size in pixels.
  TextMetrics DrawText(std::u16string_view text, const RECT& rc, UINT format, Color c,
                       double px, bool bold = false);
  // A text as drawn: its words, and where it is laid out (whole, though the
  // clip may cut it) in the device pixels of the surface it was drawn on.
  struct DrawnText {
    std::u16string text;
    RECT where;
  };
  // While set, every text drawn with DrawText is handed to `witness`, for
  // tests that read what a screen says and where; empty stops.
  static void WitnessText(std::function<void(const DrawnText&)> witness);

  // The same layout without drawing.
  static TextMetrics MeasureText(std::u16string_view text, int width, int height, UINT format,
                                 double px, bool bold = false);

  // The lines the text is broken into at `width` under `format` (no height limit).
  static std::vector<std::u16string> BreakLines(std::u16string_view text, int width, UINT format,
                                                double px);
  // Paints into a fresh width x height buffer (black at first) and copies it
  // out as 0x00RRGGBB rows, `stride` bytes apart.
  static void RenderOffscreen(int width, int height, const std::function<void(Canvas&)>& paint,
                              std::uint32_t* pixels, int stride);

  // Paints into a fresh width x height picture (black at first) and encodes
  // it as a PNG file's bytes. False when the picture cannot be made.
  static bool RenderPng(int width, int height, const std::function<void(Canvas&)>& paint,
                        std::string& png);

 private:
  static cairo_surface_t* PaintOnBlack(int width, int height,
                                       const std::function<void(Canvas&)>& paint);

  cairo_t* cr_;
};
