// A change made from outside, to the window's pixels: another process
// replaces the registry file, the studio's watch wakes the window's loop, the
// studio reads the theme and the next frame shows it (BM_ChangeToPixels).
// Beside it the floor no studio can go under (BM_Floor): an inotify watch on
// the file's folder, one read of the 20 values, one paint of the sample
// screens. Both in one run: `live_update_bench --benchmark_repetitions=9
// --benchmark_enable_random_interleaving` and compare the medians.
#include <benchmark/benchmark.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/bench_folder.h"
#include "model/theme/theme_values.h"
#include "model/checks/readability.h"
#include "model/theme_color_store.h"
#include "model/theme_targets.h"
#include "platform/host/headless_host.h"
#include "platform/shell/canvas.h"
#include "platform/shell/shell.h"
#include "platform/win/registry.h"
#include "studio/preview/preview_panel.h"
#include "studio/preview/sample_screens.h"
#include "studio/studio.h"

namespace {

constexpr COLORREF kBackgrounds[2] = {RGB(0x20, 0x40, 0x60), RGB(0x60, 0x40, 0x20)};

// A folder of its own for one benchmark: the registry file, and the home
// folders the studio keeps its history in.
struct Scene {
  std::string dir;
  std::string registry;
  std::string files[2];  // the registry file's bytes with each background

  Scene() {
    dir = BenchDir() + "/live-" + std::to_string(::getpid()) + "-" + std::to_string(counter()++);
    std::filesystem::create_directories(dir);
    ::setenv("HOME", dir.c_str(), 1);
    ::setenv("XDG_STATE_HOME", (dir + "/state").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (dir + "/data").c_str(), 1);
    registry = dir + "/registry.reg";
    RegistryUseFile(registry);
    const ThemeTarget& bg = kThemeTargets[kWindowBackgroundItem - 1];
    for (int i = 0; i < 2; ++i) {
      if (!WriteThemeColor(HKEY_LOCAL_MACHINE, bg.key, bg.value_name, kBackgrounds[i], true)) std::abort();
      std::ifstream in(registry, std::ios::binary);
      files[i].assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
  }
  ~Scene() {
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
  }
  // Puts file `i` in place as another program would: a new file renamed over it.
  void Replace(int i) const {
    const std::string side = dir + "/.new";
    std::ofstream(side, std::ios::binary) << files[i];
    std::filesystem::rename(side, registry);
  }
  static int& counter() {
    static int n = 0;
    return n;
  }
};

// Whether the pixel is the background `i` (the frame is 0xAARRGGBB).
bool Shows(std::uint32_t pixel, int i) {
  const COLORREF c = kBackgrounds[i];
  return (pixel & 0xFFFFFFu) ==
         ((static_cast<std::uint32_t>(GetRValue(c)) << 16) | (GetGValue(c) << 8) | GetBValue(c));
}

void BM_ChangeToPixels(benchmark::State& state) {
  Scene scene;
  scene.Replace(0);
  HeadlessHost host;
  Shell shell(host);
  Studio studio(shell, scene.registry, true);
  // The loop waits once (where the watch wakes it), then runs until idle.
  auto settle = [&] {
    host.InjectCall([] {});
    shell.RunLoop([&] { return !host.HasPendingInput() && shell.PendingMessages() == 0; });
    shell.RenderFrame();
  };
  settle();
  // A spot of the settings window's background, beside the phone.
  const RECT card = ScreenCard(SampleScreen::kSettings);
  const int x = Shell::kScreenWidth + card.right - 12, y = card.top + 40;
  int turn = 0;
  for (auto _ : state) {
    state.PauseTiming();
    turn ^= 1;
    scene.Replace(turn);
    state.ResumeTiming();
    settle();
    if (!Shows(host.FramePixel(x, y), turn)) {
      state.SkipWithError("the change did not reach the window's pixels");
      break;
    }
  }
}
BENCHMARK(BM_ChangeToPixels)->Unit(benchmark::kMillisecond);

void BM_Floor(benchmark::State& state) {
  Scene scene;
  scene.Replace(0);
  const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (watch < 0 || ::inotify_add_watch(watch, scene.dir.c_str(), IN_MOVED_TO | IN_CLOSE_WRITE) < 0) {
    state.SkipWithError("no inotify");
    return;
  }
  std::vector<std::uint32_t> frame(static_cast<std::size_t>(PreviewPanel::kWidth) * PreviewPanel::kHeight);
  char events[4096];
  int turn = 0;
  for (auto _ : state) {
    state.PauseTiming();
    turn ^= 1;
    scene.Replace(turn);
    state.ResumeTiming();
    while (::read(watch, events, sizeof events) > 0) {
    }
    ThemeValues theme;
    std::string problem;
    ReadThemeValues(theme, problem);
    const std::vector<ReadabilityWarning> warnings = FindReadabilityWarnings(theme);
    Canvas::RenderOffscreen(PreviewPanel::kWidth, PreviewPanel::kHeight,
                            [&](Canvas& c) { PaintSampleScreens(c, theme, warnings); }, frame.data(),
                            PreviewPanel::kWidth * 4);
    benchmark::DoNotOptimize(frame.data());
  }
  ::close(watch);
}
BENCHMARK(BM_Floor)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunBenchmarksInFolder(argc, argv); }
