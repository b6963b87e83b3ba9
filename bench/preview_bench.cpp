// What keeping the preview live costs: drawing the whole panel (at scale 1
// and 2; once after the theme changed), and as seen with each colour-vision deficiency (at scale 1), and
// re-reading the theme after another process replaced a registry file of the
// 20 theme values. The theme report for such a file: in process, and as the
// whole `tintor --theme-report` process, whose own CPU time (user and
// system, from wait4) is child_cpu_ms.
#include <benchmark/benchmark.h>
#include <cairo.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "model/theme_color_store.h"
#include "model/theme_targets.h"
#include "studio/preview/preview_panel.h"
#include "model/checks/colour_science.h"
#include "studio/preview/sample_screens.h"
#include "model/checks/theme_report.h"
#include "platform/shell/canvas.h"
#include "platform/win/registry.h"
#include "model/theme/theme_store.h"

extern char** environ;

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
  PreviewPanel panel(nullptr, {});
  panel.ShowRead(ThemeStore(RegistryFilePath()));
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

// The first redraw after the theme changed, when the sample screens are
// drawn anew (the other redraws reuse their picture); the change itself and
// the reload are not timed.
void BM_PaintPanelAfterChange(benchmark::State& state) {
  const std::string dir = BenchFolder();
  cairo_surface_t* frame =
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, PreviewPanel::kWidth, PreviewPanel::kHeight);
  cairo_t* cr = cairo_create(frame);
  PreviewPanel panel(nullptr, {});
  panel.ShowRead(ThemeStore(RegistryFilePath()));
  const ThemeTarget& window_text = kThemeTargets[4];
  COLORREF colour = 0;
  for (auto _ : state) {
    state.PauseTiming();
    colour = (colour + 0x000F0F0F) & 0x00FFFFFF;
    if (!WriteThemeColor(HKEY_LOCAL_MACHINE, window_text.key, window_text.value_name, colour, true) ||
        !panel.ShowRead(ThemeStore(RegistryFilePath()))) {
      std::abort();
    }
    state.ResumeTiming();
    Canvas canvas(cr);
    panel.Paint(canvas, 1);
    cairo_surface_flush(frame);
    benchmark::DoNotOptimize(cairo_image_surface_get_data(frame));
  }
  cairo_destroy(cr);
  cairo_surface_destroy(frame);
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_PaintPanelAfterChange)->Unit(benchmark::kMillisecond);

// The same at scale 1, then every pixel as seen with protanopia (1),
// deuteranopia (2) or tritanopia (3) and the line of pairs hard to tell apart.
void BM_PaintPanelSimulated(benchmark::State& state) {
  const std::string dir = BenchFolder();
  const ColourVision vision = kDeficiencies[state.range(0) - 1];
  cairo_surface_t* frame =
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, PreviewPanel::kWidth, PreviewPanel::kHeight);
  cairo_t* cr = cairo_create(frame);
  PreviewPanel panel(nullptr, {});
  panel.ShowRead(ThemeStore(RegistryFilePath()));
  panel.SetVision(vision);
  for (auto _ : state) {
    Canvas canvas(cr);
    panel.Paint(canvas, 1);
    cairo_surface_flush(frame);
    benchmark::DoNotOptimize(cairo_image_surface_get_data(frame));
  }
  cairo_destroy(cr);
  cairo_surface_destroy(frame);
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_PaintPanelSimulated)->DenseRange(1, 3)->Unit(benchmark::kMillisecond);

// The pixel pass alone, over a picture of the panel.
void BM_SeePanelPixels(benchmark::State& state) {
  const std::string dir = BenchFolder();
  PreviewPanel panel(nullptr, {});
  panel.ShowRead(ThemeStore(RegistryFilePath()));
  std::vector<std::uint32_t> picture(PreviewPanel::kWidth * PreviewPanel::kHeight);
  Canvas::RenderOffscreen(PreviewPanel::kWidth, PreviewPanel::kHeight,
                          [&](Canvas& c) { panel.Paint(c, 1); }, picture.data(),
                          PreviewPanel::kWidth * 4);
  std::vector<std::uint32_t> pixels;
  for (auto _ : state) {
    state.PauseTiming();
    pixels = picture;
    state.ResumeTiming();
    SeePixelsWith(ColourVision::kDeutan, pixels.data(), PreviewPanel::kWidth,
                  PreviewPanel::kHeight, PreviewPanel::kWidth);
    benchmark::DoNotOptimize(pixels.data());
  }
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_SeePanelPixels)->Unit(benchmark::kMillisecond);

void BM_ThemeReportInProcess(benchmark::State& state) {
  const std::string dir = BenchFolder();
  ThemeFile(dir + "/registry.reg", RGB(0x20, 0x20, 0x20));
  std::string out, error;
  for (auto _ : state) {
    if (MakeThemeReport(state.range(0) != 0, out, error) == kReportUnreadable) {
      state.SkipWithError(error.c_str());
    }
    benchmark::DoNotOptimize(out.data());
  }
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_ThemeReportInProcess)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ThemeReportProcess(benchmark::State& state) {
  const std::string dir = BenchFolder();
  ThemeFile(dir + "/registry.reg", RGB(0x20, 0x20, 0x20));
  std::string path = TINTOR_BINARY, option = "--theme-report", json = "--json";
  char* argv[] = {path.data(), option.data(), state.range(0) != 0 ? json.data() : nullptr, nullptr};
  posix_spawn_file_actions_t quiet;
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
  double cpu_ms = 0;
  for (auto _ : state) {
    pid_t pid = 0;
    int status = 0;
    rusage usage{};
    if (posix_spawn(&pid, path.c_str(), &quiet, nullptr, argv, environ) != 0 ||
        wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) > 1) {
      state.SkipWithError("the report did not run");
      break;
    }
    cpu_ms += (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
              (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
  }
  posix_spawn_file_actions_destroy(&quiet);
  state.counters["child_cpu_ms"] = benchmark::Counter(cpu_ms, benchmark::Counter::kAvgIterations);
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_ThemeReportProcess)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReloadAfterChange(benchmark::State& state) {
  const std::string dir = BenchFolder();
  const std::string path = dir + "/registry.reg";
  const std::string files[2] = {ThemeFile(path, RGB(0x20, 0x20, 0x20)),
                                ThemeFile(path, RGB(0x30, 0x30, 0x30))};
  Replace(path, files[0]);
  PreviewPanel panel(nullptr, {});
  panel.ShowRead(ThemeStore(RegistryFilePath()));
  int turn = 0;
  for (auto _ : state) {
    state.PauseTiming();
    turn ^= 1;
    Replace(path, files[turn]);
    state.ResumeTiming();
    if (!panel.ShowRead(ThemeStore(RegistryFilePath()))) state.SkipWithError("the change was not seen");
  }
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_ReloadAfterChange)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
