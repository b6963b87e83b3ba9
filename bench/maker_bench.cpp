// What making a theme costs in CPU: from a colour (the five colours of the
// tests in turn), and from a 12-megapixel photo, read from the file, scaled
// down, quantised and made into a theme. The photos are written once into a
// fresh folder under $TMPDIR (else /tmp) and removed at the end.
#include <benchmark/benchmark.h>
#include <cairo.h>
#include <jpeglib.h>
#include <stdlib.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "model/theme/dominant_colours.h"
#include "model/theme/theme_maker.h"
#include "platform/shell/picture_file.h"

namespace {

constexpr COLORREF kSources[] = {RGB(0xFF, 0, 0), RGB(0, 0xFF, 0), RGB(0x80, 0x80, 0x80),
                                 RGB(0x1B, 0x26, 0x4A), RGB(0xFF, 0xF5, 0xB0)};
constexpr int kPhotoWidth = 4000, kPhotoHeight = 3000;

std::string& Folder() {
  static std::string folder;
  return folder;
}

// A photo-like picture: a sky's gradient over a field of noisy greens and greys.
unsigned char Channel(int x, int y, int c) {
  const int noise = static_cast<int>((x * 2654435761u ^ y * 40503u) >> 27);
  if (y < kPhotoHeight / 2) return static_cast<unsigned char>(c == 2 ? 230 - y / 40 : 120 + c * 40 - y / 60);
  return static_cast<unsigned char>((c == 1 ? 110 : 80) + noise + (x / 500) * 4);
}

void WritePhotos() {
  const std::string jpeg = Folder() + "/photo.jpg";
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  FILE* file = std::fopen(jpeg.c_str(), "wb");
  jpeg_stdio_dest(&info, file);
  info.image_width = kPhotoWidth;
  info.image_height = kPhotoHeight;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 90, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(kPhotoWidth * 3);
  cairo_surface_t* png = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kPhotoWidth, kPhotoHeight);
  unsigned char* pixels = cairo_image_surface_get_data(png);
  const int stride = cairo_image_surface_get_stride(png);
  for (int y = 0; y < kPhotoHeight; ++y) {
    auto* out = reinterpret_cast<std::uint32_t*>(pixels + static_cast<std::size_t>(y) * stride);
    for (int x = 0; x < kPhotoWidth; ++x) {
      for (int c = 0; c < 3; ++c) row[x * 3 + c] = Channel(x, y, c);
      out[x] = 0xFF000000u | row[x * 3] << 16 | row[x * 3 + 1] << 8 | row[x * 3 + 2];
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::fclose(file);
  cairo_surface_mark_dirty(png);
  cairo_surface_write_to_png(png, (Folder() + "/photo.png").c_str());
  cairo_surface_destroy(png);
}

void BM_ThemeFromColour(benchmark::State& state) {
  const bool exact = state.range(0) != 0;
  std::size_t i = 0;
  for (auto _ : state) {
    MadeTheme made = MakeTheme(kSources[i++ % std::size(kSources)], MakeOptions{false, exact});
    benchmark::DoNotOptimize(made);
  }
}
BENCHMARK(BM_ThemeFromColour)->ArgName("exact")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ThemeFromPhoto(benchmark::State& state) {
  const std::string path = Folder() + (state.range(0) != 0 ? "/photo.png" : "/photo.jpg");
  for (auto _ : state) {
    Picture picture;
    std::string problem;
    if (!ReadPicture(path, kPictureSide, picture, problem)) {
      state.SkipWithError(problem.c_str());
      break;
    }
    const auto colours = FindDominantColours(picture.pixels.data(), picture.pixels.size());
    MadeTheme made = MakeTheme(colours.front().color, MakeOptions{});
    benchmark::DoNotOptimize(made);
  }
}
BENCHMARK(BM_ThemeFromPhoto)->ArgName("png")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp != nullptr && tmp[0] != '\0' ? tmp : "/tmp") + "/tintor-maker-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) return 1;
  Folder() = pattern;
  WritePhotos();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ignored;
  std::filesystem::remove_all(Folder(), ignored);
  return 0;
}
