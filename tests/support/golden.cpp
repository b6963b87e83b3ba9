#include "tests/support/golden.h"

#include <cairo.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <vector>

namespace {

// How many pixels of a picture may be edge shades off by up to twice the
// tolerance.
constexpr long kEdgeShadePixels = 64;

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0x00RRGGBB
};

bool ReadPng(const std::string& path, Picture& out) {
  cairo_surface_t* s = cairo_image_surface_create_from_png(path.c_str());
  const bool ok = cairo_surface_status(s) == CAIRO_STATUS_SUCCESS;
  if (ok) {
    cairo_surface_flush(s);
    out.width = cairo_image_surface_get_width(s);
    out.height = cairo_image_surface_get_height(s);
    const int stride = cairo_image_surface_get_stride(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    out.pixels.resize(static_cast<std::size_t>(out.width) * out.height);
    for (int y = 0; y < out.height; ++y) {
      const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
      for (int x = 0; x < out.width; ++x) {
        out.pixels[static_cast<std::size_t>(y) * out.width + x] = row[x] & 0x00FFFFFFu;
      }
    }
  }
  cairo_surface_destroy(s);
  return ok;
}

bool WritePng(const std::string& path, const Picture& p) {
  std::error_code ignored;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
  std::vector<std::uint32_t> copy = p.pixels;
  for (auto& px : copy) px |= 0xFF000000u;
  cairo_surface_t* s = cairo_image_surface_create_for_data(
      reinterpret_cast<unsigned char*>(copy.data()), CAIRO_FORMAT_RGB24, p.width, p.height,
      p.width * 4);
  const bool ok = cairo_surface_write_to_png(s, path.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(s);
  return ok;
}

std::string Hex(std::uint32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "#%06X", v & 0xFFFFFFu);
  return buf;
}

int Channel(std::uint32_t v, int shift) { return static_cast<int>((v >> shift) & 0xFF); }

int Distance(std::uint32_t a, std::uint32_t b) {
  int worst = 0;
  for (int shift : {0, 8, 16}) worst = std::max(worst, std::abs(Channel(a, shift) - Channel(b, shift)));
  return worst;
}

// Whether `colour` lies, channel by channel and within `tolerance`, inside the
// range of the colours of `p` at most one pixel from (x, y): a shade between
// the two sides of an edge there.
bool InsideRangeAround(const Picture& p, int x, int y, std::uint32_t colour, int tolerance) {
  for (int shift : {0, 8, 16}) {
    int low = 255, high = 0;
    for (int ny = std::max(y - 1, 0); ny <= std::min(y + 1, p.height - 1); ++ny) {
      for (int nx = std::max(x - 1, 0); nx <= std::min(x + 1, p.width - 1); ++nx) {
        const int c = Channel(p.pixels[static_cast<std::size_t>(ny) * p.width + nx], shift);
        low = std::min(low, c);
        high = std::max(high, c);
      }
    }
    const int c = Channel(colour, shift);
    if (c < low - tolerance || c > high + tolerance) return false;
  }
  return true;
}

}  // namespace

std::string GoldenDir() { return TINTOR_GOLDEN_DIR; }
std::string GoldenOutDir() { return TINTOR_GOLDEN_OUT_DIR; }

::testing::AssertionResult MatchesGolden(const std::uint32_t* pixels, int width, int height,
                                         int stride, const std::string& name, int tolerance) {
  Picture actual;
  actual.width = width;
  actual.height = height;
  actual.pixels.resize(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(
        reinterpret_cast<const unsigned char*>(pixels) + static_cast<std::size_t>(y) * stride);
    for (int x = 0; x < width; ++x) actual.pixels[static_cast<std::size_t>(y) * width + x] = row[x] & 0x00FFFFFFu;
  }
  const std::string reference = GoldenDir() + "/" + name;
  const char* record = std::getenv("TINTOR_RECORD_GOLDEN");
  if (record != nullptr && std::string(record) == "1") {
    if (!WritePng(reference, actual)) {
      return ::testing::AssertionFailure() << "cannot record " << reference;
    }
    return ::testing::AssertionSuccess() << "recorded " << reference;
  }
  Picture expected;
  const std::string base = GoldenOutDir() + "/" + name.substr(0, name.size() - 4);
  if (!ReadPng(reference, expected)) {
    WritePng(base + ".actual.png", actual);
    return ::testing::AssertionFailure()
           << "no reference picture " << reference << " (run with TINTOR_RECORD_GOLDEN=1 to "
           << "record it); the actual picture is in " << base << ".actual.png";
  }
  if (expected.width != width || expected.height != height) {
    WritePng(base + ".actual.png", actual);
    return ::testing::AssertionFailure()
           << reference << " is " << expected.width << "x" << expected.height << ", the picture is "
           << width << "x" << height;
  }
  // Glyph edges may come out a shade lighter or darker on another release of
  // the font rasteriser (Debian 13 embolden text a little less than Debian 12):
  // a pixel off by up to twice the tolerance, whose drawn colour still lies
  // between the colours around it in the reference, is such an edge shade. A
  // few of them pass; a wrong colour, a missing element or a moved one makes
  // far more, or pixels further off.
  Picture diff = actual;
  long bad = 0, shades = 0;
  int first_x = -1, first_y = -1;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::size_t i = static_cast<std::size_t>(y) * width + x;
      const std::uint32_t a = actual.pixels[i];
      const std::uint32_t e = expected.pixels[i];
      if (Distance(a, e) <= tolerance) {
        const int grey = (Channel(e, 16) + Channel(e, 8) + Channel(e, 0)) / 12 + 40;
        diff.pixels[i] = static_cast<std::uint32_t>(grey * 0x010101);
        continue;
      }
      // An edge shade: the drawn colour lies among the reference's colours
      // around it, or the reference's among the drawn ones (the shade moved
      // by a pixel).
      if (Distance(a, e) <= 2 * tolerance && (InsideRangeAround(expected, x, y, a, tolerance) ||
                                              InsideRangeAround(actual, x, y, e, tolerance))) {
        ++shades;
        diff.pixels[i] = 0xFFC000u;
        continue;
      }
      if (bad == 0) {
        first_x = x;
        first_y = y;
      }
      ++bad;
      diff.pixels[i] = 0xFF0000u;
    }
  }
  if (bad == 0 && shades <= kEdgeShadePixels) return ::testing::AssertionSuccess();
  WritePng(base + ".actual.png", actual);
  WritePng(base + ".diff.png", diff);
  std::ostringstream msg;
  msg << name << ": ";
  if (bad > 0) {
    const std::size_t i = static_cast<std::size_t>(first_y) * width + first_x;
    msg << bad << " pixels differ by more than " << tolerance << " in a channel; first at ("
        << first_x << ", " << first_y << "): expected " << Hex(expected.pixels[i]) << ", got "
        << Hex(actual.pixels[i]) << "; ";
  }
  msg << shades << " pixels are edge shades within " << 2 * tolerance << " (at most "
      << kEdgeShadePixels << " pass). Wrote " << base << ".actual.png and " << base
      << ".diff.png (red: wrong, amber: edge shade)";
  return ::testing::AssertionFailure() << msg.str();
}
