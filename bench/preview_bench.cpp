// What keeping the preview live costs: drawing the whole panel (at scale 1
// and 2), and re-reading the theme after another process replaced a registry
// file of the 20 theme values.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "model/theme_color_store.h"
#include "model/theme_targets.h"
#include "studio/preview_panel.h"
#include "platform/shell/canvas.h"
#include "platform/win/registry.h"

namespace {

// The bytes of a registry file that holds the 20 theme values, each set to
// `color`, written at `path` through the registry API.
std::string ThemeFile(const std::string& path, COLORREF color) {
  for (const ThemeTarget& t : kThemeTargets) {
    if (!WriteThemeColor(HKEY_LOCAL_MACHINE, t.key, t.value_name, color, true)) std::abort();
  }
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Replace(const std::string& path, const std::string& bytes) {
  const std::string side = path + ".new";
  std::FILE* f = std::fopen(side.c_str(), "wb");
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
  std::filesystem::rename(side, path);
}

std::string BenchFolder() {
  std::string dir = (std::filesystem::temp_directory_path() / "tintor-preview-bench-XXXXXX");
  if (::mkdtemp(dir.data()) == nullptr) std::abort();
  RegistryUseFile(dir + "/registry.reg");
  return dir;
}

// Painting into a frame that already exists, as the window does.
void BM_PaintPanel(benchmark::State& state) {
  const std::string dir = BenchFolder();
  const double scale = static_cast<double>(state.range(0));
  cairo_surface_t* frame = cairo_image_surface_create(
      CAIRO_FORMAT_RGB24, static_cast<int>(PreviewPanel::kWidth * scale),
      static_cast<int>(PreviewPanel::kHeight * scale));
  cairo_t* cr = cairo_create(frame);
  PreviewPanel panel;
  for (auto _ : state) {
    Canvas canvas(cr);
    panel.Paint(canvas, scale);
    cairo_surface_flush(frame);
    benchmark::DoNotOptimize(cairo_image_surface_get_data(frame));
  }
  cairo_destroy(cr);
  cairo_surface_destroy(frame);
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_PaintPanel)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_ReloadAfterChange(benchmark::State& state) {
  const std::string dir = BenchFolder();
  const std::string path = dir + "/registry.reg";
  const std::string files[2] = {ThemeFile(path, RGB(0x20, 0x20, 0x20)),
                                ThemeFile(path, RGB(0x30, 0x30, 0x30))};
  Replace(path, files[0]);
  PreviewPanel panel;
  int turn = 0;
  for (auto _ : state) {
    state.PauseTiming();
    turn ^= 1;
    Replace(path, files[turn]);
    state.ResumeTiming();
    if (!panel.Reload()) state.SkipWithError("the change was not seen");
  }
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_ReloadAfterChange)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
