#include "platform/shell/canvas.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <list>
#include <string>
#include <unordered_map>

#include "platform/file/utf16.h"

namespace {

// One pango context for every layout, so measuring and drawing agree exactly.
PangoContext* SharedContext() {
  static PangoContext* context = [] {
    PangoFontMap* map = pango_cairo_font_map_get_default();
    PangoContext* ctx = pango_font_map_create_context(map);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    pango_cairo_context_set_font_options(ctx, options);
    cairo_font_options_destroy(options);
    pango_cairo_context_set_resolution(ctx, 96.0);
    return ctx;
  }();
  return context;
}

void SetSource(cairo_t* cr, Color c) { cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a); }

void RoundRectPath(cairo_t* cr, double x, double y, double w, double h, double r) {
  r = std::min(r, std::min(w, h) / 2);
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

// A layout for the text under the DT_* flags, sized for a width x height box.
PangoLayout* MakeLayout(std::u16string_view text, int width, int height, UINT format, double px,
                        bool bold) {
  PangoLayout* layout = pango_layout_new(SharedContext());
  PangoFontDescription* font = pango_font_description_new();
  pango_font_description_set_family(font, Canvas::kFontFamily);
  pango_font_description_set_absolute_size(font, px * PANGO_SCALE);
  if (bold) pango_font_description_set_weight(font, PANGO_WEIGHT_BOLD);
  pango_layout_set_font_description(layout, font);
  pango_font_description_free(font);

  std::string utf8 = Utf16ToUtf8(text);
  if (format & DT_SINGLELINE) {
    pango_layout_set_single_paragraph_mode(layout, TRUE);
  }
  pango_layout_set_text(layout, utf8.data(), static_cast<int>(utf8.size()));

  const bool wrap = (format & DT_WORDBREAK) && !(format & DT_SINGLELINE);
  const bool ellipsis = (format & DT_END_ELLIPSIS) != 0;
  if (wrap || ellipsis) {
    pango_layout_set_width(layout, std::max(width, 1) * PANGO_SCALE);
  }
  if (wrap) {
    // Word breaking after the Unicode line-breaking rules: CJK breaks between
    // ideographs and keeps closing punctuation with the character before it.
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
    if (ellipsis) pango_layout_set_height(layout, std::max(height, 1) * PANGO_SCALE);
  }
  if (ellipsis) pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
  if (wrap || ellipsis) {
    if (format & DT_CENTER) {
      pango_layout_set_alignment(layout, PANGO_ALIGN_CENTER);
    } else if (format & DT_RIGHT) {
      pango_layout_set_alignment(layout, PANGO_ALIGN_RIGHT);
    }
  }
  return layout;
}

struct Placed {
  int dx = 0;
  int dy = 0;
  TextMetrics metrics;
};

std::function<void(const Canvas::DrawnText&)>& TextWitness() {
  static std::function<void(const Canvas::DrawnText&)> witness;
  return witness;
}

Placed Place(PangoLayout* layout, int width, int height, UINT format) {
  Placed p;
  PangoRectangle logical;
  pango_layout_get_pixel_extents(layout, nullptr, &logical);
  p.metrics.width = logical.width;
  p.metrics.height = logical.height;
  p.metrics.cut = pango_layout_is_ellipsized(layout) || logical.height > height;
  const bool sized = (format & (DT_WORDBREAK | DT_END_ELLIPSIS)) != 0 &&
                     !((format & DT_SINGLELINE) && !(format & DT_END_ELLIPSIS));
  if (!sized) {
    if (format & DT_CENTER) {
      p.dx = (width - logical.width) / 2;
    } else if (format & DT_RIGHT) {
      p.dx = width - logical.width;
    }
    if (logical.width > width) p.metrics.cut = true;
  }
  if (format & DT_VCENTER) {
    p.dy = (height - logical.height) / 2;
  } else if (format & DT_BOTTOM) {
    p.dy = height - logical.height;
  }
  return p;
}

// Laid-out texts kept for the next frame: a scrolled pane repaints the same
// texts again and again, the preview panel some hundred of them. The least
// recently used go.
class LayoutCache {
 public:
  static constexpr std::size_t kCapacity = 160;

  ~LayoutCache() {
    for (auto& entry : order_) g_object_unref(entry.second);
  }
  void Clear() {
    for (auto& entry : order_) g_object_unref(entry.second);
    order_.clear();
    index_.clear();
  }
  // A layout the caller borrows until the next call.
  PangoLayout* Get(std::u16string_view text, int width, int height, UINT format, double px,
                   bool bold) {
    std::string key(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t));
    key += '|' + std::to_string(width) + '|' + std::to_string(height) + '|' +
           std::to_string(format) + '|' + std::to_string(px) + (bold ? "b" : "");
    auto found = index_.find(key);
    if (found != index_.end()) {
      order_.splice(order_.begin(), order_, found->second);
      return found->second->second;
    }
    PangoLayout* layout = MakeLayout(text, width, height, format, px, bold);
    order_.emplace_front(key, layout);
    index_[key] = order_.begin();
    if (order_.size() > kCapacity) {
      g_object_unref(order_.back().second);
      index_.erase(order_.back().first);
      order_.pop_back();
    }
    return layout;
  }

 private:
  using Entry = std::pair<std::string, PangoLayout*>;
  std::list<Entry> order_;
  std::unordered_map<std::string, std::list<Entry>::iterator> index_;
};

LayoutCache& Layouts() {
  static LayoutCache cache;
  return cache;
}

}  // namespace

Canvas::Canvas(cairo_t* cr) : cr_(cr) {}

void Canvas::SetDeviceScale(double scale) {
  PangoContext* context = SharedContext();
  const PangoMatrix* now = pango_context_get_matrix(context);
  if ((now == nullptr ? 1.0 : now->xx) == scale) return;
  PangoMatrix matrix = PANGO_MATRIX_INIT;
  pango_matrix_scale(&matrix, scale, scale);
  pango_context_set_matrix(context, scale == 1.0 ? nullptr : &matrix);
  Layouts().Clear();  // laid out for the old size
}

void Canvas::Save() { cairo_save(cr_); }
void Canvas::Restore() { cairo_restore(cr_); }
void Canvas::Translate(int dx, int dy) { cairo_translate(cr_, dx, dy); }

void Canvas::ClipRect(int x, int y, int w, int h) {
  cairo_rectangle(cr_, x, y, std::max(w, 0), std::max(h, 0));
  cairo_clip(cr_);
}

bool Canvas::IsRectVisible(int x, int y, int w, int h) const {
  double x1, y1, x2, y2;
  cairo_clip_extents(cr_, &x1, &y1, &x2, &y2);
  return x < x2 && y < y2 && x + w > x1 && y + h > y1 && w > 0 && h > 0;
}

void Canvas::FillRect(int x, int y, int w, int h, Color c) {
  SetSource(cr_, c);
  cairo_rectangle(cr_, x, y, w, h);
  cairo_fill(cr_);
}

void Canvas::FillRoundRect(double x, double y, double w, double h, double radius, Color c) {
  SetSource(cr_, c);
  RoundRectPath(cr_, x, y, w, h, radius);
  cairo_fill(cr_);
}

void Canvas::StrokeRoundRect(double x, double y, double w, double h, double radius, double width,
                             Color c) {
  SetSource(cr_, c);
  RoundRectPath(cr_, x, y, w, h, radius);
  cairo_set_line_width(cr_, width);
  cairo_stroke(cr_);
}

void Canvas::FillVerticalGradient(int x, int y, int w, int h, Color top, Color bottom) {
  cairo_pattern_t* p = cairo_pattern_create_linear(0, y, 0, y + h);
  cairo_pattern_add_color_stop_rgba(p, 0, top.r, top.g, top.b, top.a);
  cairo_pattern_add_color_stop_rgba(p, 1, bottom.r, bottom.g, bottom.b, bottom.a);
  cairo_set_source(cr_, p);
  cairo_rectangle(cr_, x, y, w, h);
  cairo_fill(cr_);
  cairo_pattern_destroy(p);
}

void Canvas::DrawLine(double x1, double y1, double x2, double y2, double width, Color c) {
  SetSource(cr_, c);
  cairo_set_line_width(cr_, width);
  cairo_move_to(cr_, x1, y1);
  cairo_line_to(cr_, x2, y2);
  cairo_stroke(cr_);
}

void Canvas::DrawPolyline(const double* xy, int points, double width, Color c) {
  if (points < 2) return;
  SetSource(cr_, c);
  cairo_set_line_width(cr_, width);
  cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
  cairo_move_to(cr_, xy[0], xy[1]);
  for (int i = 1; i < points; ++i) cairo_line_to(cr_, xy[2 * i], xy[2 * i + 1]);
  cairo_stroke(cr_);
  cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
  cairo_set_line_join(cr_, CAIRO_LINE_JOIN_MITER);
}

void Canvas::FillCircle(double cx, double cy, double radius, Color c) {
  SetSource(cr_, c);
  cairo_new_sub_path(cr_);
  cairo_arc(cr_, cx, cy, radius, 0, 2 * M_PI);
  cairo_fill(cr_);
}

void Canvas::FillPolygon(const double* xy, int points, Color c) {
  if (points < 3) return;
  SetSource(cr_, c);
  cairo_move_to(cr_, xy[0], xy[1]);
  for (int i = 1; i < points; ++i) cairo_line_to(cr_, xy[2 * i], xy[2 * i + 1]);
  cairo_close_path(cr_);
  cairo_fill(cr_);
}

void Canvas::Scale(double factor) { cairo_scale(cr_, factor, factor); }

void Canvas::DrawImage(const std::uint32_t* pixels, int width, int height, int x, int y,
                       double alpha) {
  if (pixels == nullptr || width <= 0 || height <= 0) return;
  if (!IsRectVisible(x, y, width, height)) return;
  cairo_surface_t* s = cairo_image_surface_create_for_data(
      reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(pixels)), CAIRO_FORMAT_ARGB32,
      width, height, width * 4);
  cairo_set_source_surface(cr_, s, x, y);
  if (alpha >= 1.0) {
    cairo_rectangle(cr_, x, y, width, height);
    cairo_fill(cr_);
  } else {
    cairo_paint_with_alpha(cr_, alpha);
  }
  cairo_surface_destroy(s);
}

TextMetrics Canvas::DrawText(std::u16string_view text, const RECT& rc, UINT format, Color c,
                             double px, bool bold) {
  const int width = rc.right - rc.left;
  const int height = rc.bottom - rc.top;
  PangoLayout* layout = Layouts().Get(text, width, height, format, px, bold);
  Placed placed = Place(layout, width, height, format);
  cairo_save(cr_);
  cairo_rectangle(cr_, rc.left, rc.top, std::max(width, 0), std::max(height, 0));
  cairo_clip(cr_);
  SetSource(cr_, c);
  cairo_move_to(cr_, rc.left + placed.dx, rc.top + placed.dy);
  pango_cairo_show_layout(cr_, layout);
  if (TextWitness() && !text.empty()) {
    // The text as laid out (whole, even where the clip cuts it), its
    // corners taken to the device; nothing when it is wholly clipped away.
    double cx1 = 0, cy1 = 0, cx2 = 0, cy2 = 0;
    cairo_clip_extents(cr_, &cx1, &cy1, &cx2, &cy2);
    double x1 = rc.left + placed.dx, y1 = rc.top + placed.dy;
    double x2 = x1 + placed.metrics.width, y2 = y1 + placed.metrics.height;
    if (std::min(x2, cx2) > std::max(x1, cx1) && std::min(y2, cy2) > std::max(y1, cy1)) {
      cairo_user_to_device(cr_, &x1, &y1);
      cairo_user_to_device(cr_, &x2, &y2);
      const RECT where{static_cast<LONG>(std::lround(x1)), static_cast<LONG>(std::lround(y1)),
                       static_cast<LONG>(std::lround(x2)), static_cast<LONG>(std::lround(y2))};
      TextWitness()(DrawnText{std::u16string(text), where});
    }
  }
  cairo_restore(cr_);
  return placed.metrics;
}

void Canvas::WitnessText(std::function<void(const DrawnText&)> witness) { TextWitness() = std::move(witness); }

TextMetrics Canvas::MeasureText(std::u16string_view text, int width, int height, UINT format,
                                double px, bool bold) {
  PangoLayout* layout = Layouts().Get(text, width, height, format, px, bold);
  return Place(layout, width, height, format).metrics;
}

// An opaque picture of width x height: black, then whatever `paint` draws.
void Canvas::EditPixels(
    int x, int y, int w, int h,
    const std::function<void(std::uint32_t* pixels, int w, int h, int stride)>& edit) {
  cairo_surface_t* s = cairo_get_target(cr_);
  if (cairo_surface_get_type(s) != CAIRO_SURFACE_TYPE_IMAGE) return;
  const cairo_format_t format = cairo_image_surface_get_format(s);
  if (format != CAIRO_FORMAT_RGB24 && format != CAIRO_FORMAT_ARGB32) return;
  cairo_surface_flush(s);
  const int left = std::max(x, 0), top = std::max(y, 0);
  const int right = std::min(x + w, cairo_image_surface_get_width(s));
  const int bottom = std::min(y + h, cairo_image_surface_get_height(s));
  unsigned char* data = cairo_image_surface_get_data(s);
  if (data == nullptr || right <= left || bottom <= top) return;
  const int stride = cairo_image_surface_get_stride(s) / 4;
  edit(reinterpret_cast<std::uint32_t*>(data) + static_cast<std::ptrdiff_t>(top) * stride + left,
       right - left, bottom - top, stride);
  cairo_surface_mark_dirty(s);
}

RECT Canvas::DeviceRect(double x, double y, double w, double h) const {
  double left = x, top = y, right = x + w, bottom = y + h;
  cairo_user_to_device(cr_, &left, &top);
  cairo_user_to_device(cr_, &right, &bottom);
  return RECT{static_cast<LONG>(std::floor(std::min(left, right))),
              static_cast<LONG>(std::floor(std::min(top, bottom))),
              static_cast<LONG>(std::ceil(std::max(left, right))),
              static_cast<LONG>(std::ceil(std::max(top, bottom)))};
}

bool Canvas::DevicePlacement(int* x, int* y, double* scale) const {
  cairo_matrix_t m;
  cairo_get_matrix(cr_, &m);
  if (m.xy != 0 || m.yx != 0 || m.xx != m.yy || m.xx <= 0) return false;
  if (m.x0 != std::round(m.x0) || m.y0 != std::round(m.y0)) return false;
  *x = static_cast<int>(m.x0);
  *y = static_cast<int>(m.y0);
  *scale = m.xx;
  return true;
}

void Canvas::DrawDevicePixels(const std::uint32_t* pixels, int width, int height, int x, int y) {
  if (pixels == nullptr || width <= 0 || height <= 0) return;
  cairo_surface_t* s = cairo_image_surface_create_for_data(
      reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(pixels)), CAIRO_FORMAT_RGB24,
      width, height, width * 4);
  cairo_save(cr_);
  cairo_identity_matrix(cr_);
  cairo_set_source_surface(cr_, s, x, y);
  cairo_rectangle(cr_, x, y, width, height);
  cairo_fill(cr_);
  cairo_restore(cr_);
  cairo_surface_destroy(s);
}

void Canvas::PaintIntoPixels(std::uint32_t* pixels, int width, int height,
                             const std::function<void(Canvas&)>& paint) {
  if (pixels == nullptr || width <= 0 || height <= 0) return;
  cairo_surface_t* s = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(pixels),
                                                           CAIRO_FORMAT_RGB24, width, height, width * 4);
  cairo_t* cr = cairo_create(s);
  {
    Canvas canvas(cr);
    paint(canvas);
  }
  cairo_destroy(cr);
  cairo_surface_flush(s);
  cairo_surface_destroy(s);
}

cairo_surface_t* Canvas::PaintOnBlack(int width, int height,
                                      const std::function<void(Canvas&)>& paint) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t* cr = cairo_create(s);
  {
    Canvas canvas(cr);
    canvas.FillRect(0, 0, width, height, Color::Rgb(0, 0, 0));
    paint(canvas);
  }
  cairo_destroy(cr);
  return s;
}

void Canvas::RenderOffscreen(int width, int height, const std::function<void(Canvas&)>& paint,
                             std::uint32_t* pixels, int stride) {
  if (width <= 0 || height <= 0 || pixels == nullptr) return;
  cairo_surface_t* s = PaintOnBlack(width, height, paint);
  cairo_surface_flush(s);
  const unsigned char* data = cairo_image_surface_get_data(s);
  const int src_stride = cairo_image_surface_get_stride(s);
  for (int y = 0; y < height; ++y) {
    auto* out = reinterpret_cast<std::uint32_t*>(reinterpret_cast<unsigned char*>(pixels) +
                                                 static_cast<std::size_t>(y) * stride);
    const auto* in = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * src_stride);
    for (int x = 0; x < width; ++x) out[x] = in[x] & 0x00FFFFFFu;
  }
  cairo_surface_destroy(s);
}

bool Canvas::RenderPng(int width, int height, const std::function<void(Canvas&)>& paint,
                       std::string& png) {
  if (width <= 0 || height <= 0) return false;
  cairo_surface_t* s = PaintOnBlack(width, height, paint);
  png.clear();
  auto append = [](void* out, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(out)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
  };
  const bool ok = cairo_surface_status(s) == CAIRO_STATUS_SUCCESS &&
                  cairo_surface_write_to_png_stream(s, append, &png) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(s);
  return ok;
}

std::vector<std::u16string> Canvas::BreakLines(std::u16string_view text, int width, UINT format,
                                               double px) {
  PangoLayout* layout = MakeLayout(text, width, 1 << 20, format & ~DT_END_ELLIPSIS, px, false);
  const char* utf8 = pango_layout_get_text(layout);
  std::vector<std::u16string> lines;
  for (GSList* l = pango_layout_get_lines_readonly(layout); l != nullptr; l = l->next) {
    auto* line = static_cast<PangoLayoutLine*>(l->data);
    lines.push_back(Utf8ToUtf16(std::string_view(utf8 + line->start_index,
                                                 static_cast<std::size_t>(line->length))));
  }
  g_object_unref(layout);
  return lines;
}
