#include "platform/shell/png_decoder.h"

#include <cairo.h>

#include <cstring>

namespace {

const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

struct Reader {
  const unsigned char* data;
  std::size_t size;
  std::size_t pos;
};

cairo_status_t Read(void* closure, unsigned char* out, unsigned int length) {
  auto* r = static_cast<Reader*>(closure);
  if (length > r->size - r->pos) return CAIRO_STATUS_READ_ERROR;
  std::memcpy(out, r->data + r->pos, length);
  r->pos += length;
  return CAIRO_STATUS_SUCCESS;
}

}  // namespace

bool DecodePng(const void* data, std::size_t size, int& width, int& height,
               std::vector<std::uint32_t>& pixels) {
  if (data == nullptr || size < 8 || std::memcmp(data, kSignature, 8) != 0) return false;
  Reader reader{static_cast<const unsigned char*>(data), size, 0};
  cairo_surface_t* s = cairo_image_surface_create_from_png_stream(&Read, &reader);
  bool ok = cairo_surface_status(s) == CAIRO_STATUS_SUCCESS;
  if (ok) {
    const cairo_format_t format = cairo_image_surface_get_format(s);
    const int w = cairo_image_surface_get_width(s);
    const int h = cairo_image_surface_get_height(s);
    ok = (format == CAIRO_FORMAT_ARGB32 || format == CAIRO_FORMAT_RGB24) && w > 0 && h > 0;
    if (ok) {
      cairo_surface_flush(s);
      const unsigned char* rows = cairo_image_surface_get_data(s);
      const int stride = cairo_image_surface_get_stride(s);
      std::vector<std::uint32_t> out(static_cast<std::size_t>(w) * h);
      for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(rows + static_cast<std::size_t>(y) * stride);
        for (int x = 0; x < w; ++x) {
          out[static_cast<std::size_t>(y) * w + x] =
              format == CAIRO_FORMAT_RGB24 ? (row[x] | 0xFF000000u) : row[x];
        }
      }
      width = w;
      height = h;
      pixels = std::move(out);
    }
  }
  cairo_surface_destroy(s);
  return ok;
}

bool ReadPngSize(const void* data, std::size_t size, int& width, int& height) {
  // Signature, then the first chunk: length 13, "IHDR", width, height (big-endian).
  constexpr std::size_t kHeaderEnd = 8 + 4 + 4 + 8;
  if (data == nullptr || size < kHeaderEnd || std::memcmp(data, kSignature, 8) != 0) return false;
  const auto* bytes = static_cast<const unsigned char*>(data);
  if (std::memcmp(bytes + 12, "IHDR", 4) != 0) return false;
  auto word = [bytes](std::size_t at) {
    return (std::uint32_t{bytes[at]} << 24) | (std::uint32_t{bytes[at + 1]} << 16) |
           (std::uint32_t{bytes[at + 2]} << 8) | std::uint32_t{bytes[at + 3]};
  };
  const std::uint32_t w = word(16);
  const std::uint32_t h = word(20);
  // Cairo's image surfaces stop at 32767 pixels a side.
  if (w == 0 || h == 0 || w > 32767 || h > 32767) return false;
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  return true;
}
