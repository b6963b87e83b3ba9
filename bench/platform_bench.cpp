// What the platform's drawing costs on the emulated phone, headless: a full
// repaint of the 480 x 720 screen holding a banner, 65 image buttons in a
// scroll pane and a toolbar; one frame of that pane dragged by the finger; and
// opening a popup menu of 20 items with its title picture, up to its first
// frame on the screen. A frame is the whole of Shell::RenderFrame: status
// bar, layers, and handing the pixels to the host.
// BM_WindowRepaint is the full repaint shown in a real window (SdlHost) at
// scale 1 and 2, when a display is there (e.g. under Xvfb); its window_rss_MB
// is the process's resident memory with the window open.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/host/sdl_host.h"
#include "tests/platform/proof_screen.h"

namespace {

void BM_FullRepaint(benchmark::State& state) {
  HeadlessPhone phone;
  ProofScreen screen;
  screen.CreateOverWorkArea();
  phone.shell().RenderFrame();
  for (auto _ : state) {
    phone.shell().Invalidate();
    phone.shell().RenderFrame();
  }
  state.counters["frames"] = static_cast<double>(phone.host().FrameCount());
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMillisecond);

// The VmRSS line of /proc/self/status, in MB.
double ResidentMB() {
  std::FILE* f = std::fopen("/proc/self/status", "r");
  if (f == nullptr) return 0;
  char line[256];
  long kb = 0;
  while (std::fgets(line, sizeof line, f) != nullptr) {
    if (std::sscanf(line, "VmRSS: %ld kB", &kb) == 1) break;
  }
  std::fclose(f);
  return static_cast<double>(kb) / 1024.0;
}

void BM_WindowRepaint(benchmark::State& state) {
  const char* display = std::getenv("DISPLAY");
  if (display == nullptr || *display == '\0') {
    state.SkipWithError("no display (run under Xvfb)");
    return;
  }
  HeadlessPhone phone;  // for its registry file of its own
  std::string error;
  SdlHost::Opening opening;
  opening.scale = static_cast<double>(state.range(0));
  std::unique_ptr<SdlHost> host = SdlHost::Create(opening, error);
  if (!host) {
    state.SkipWithError(("no window: " + error).c_str());
    return;
  }
  {
    Shell shell(*host);
    ProofScreen screen;
    screen.CreateOverWorkArea();
    shell.RenderFrame();
    for (auto _ : state) {
      shell.Invalidate();
      shell.RenderFrame();
    }
    state.counters["window_rss_MB"] = ResidentMB();
  }
}
BENCHMARK(BM_WindowRepaint)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The finger holds the pane and moves 6 pixels a frame, up then down again
// (between 6 and 80 pixels scrolled), so every frame shows the pane at a new
// offset.
void BM_ScrolledFrame(benchmark::State& state) {
  HeadlessPhone phone;
  ProofScreen screen;
  screen.CreateOverWorkArea();
  Shell& shell = phone.shell();
  const int x = 240;
  int y = 300;
  int step = -6;
  shell.DeliverInput(InputEvent::Press(x, y));
  shell.DeliverInput(InputEvent::Move(x, y - 20));  // past the drag threshold
  y -= 20;
  shell.RenderFrame();
  int before = screen.Pane().GetScrollY();
  for (auto _ : state) {
    if (y + step < 200 || y + step > 274) step = -step;
    y += step;
    shell.DeliverInput(InputEvent::Move(x, y));
    shell.RenderFrame();
    const int now = screen.Pane().GetScrollY();
    if (now == before) {
      state.SkipWithError("the pane did not move");
      break;
    }
    before = now;
  }
  shell.DeliverInput(InputEvent::Release(x, y));
}
BENCHMARK(BM_ScrolledFrame)->Unit(benchmark::kMillisecond);

// Builds the menu (title picture decoded from the resource module, 20 items),
// runs it until its first frame is shown, then Esc dismisses it.
void BM_OpenMenu20(benchmark::State& state) {
  HeadlessPhone phone;
  ProofScreen screen;
  screen.CreateOverWorkArea();
  phone.shell().RenderFrame();
  HeadlessHost& host = phone.host();
  for (auto _ : state) {
    const int frames = host.FrameCount();
    MzPopupMenu menu;
    menu.SetMenuTitle(u"选择颜色", NewTitleImage());
    for (int i = 0; i < 20; ++i) {
      const std::u16string text = u"颜色 " + std::u16string(1, static_cast<char16_t>(u'A' + i));
      menu.AppendMenuItem(static_cast<UINT>(100 + i), text.c_str());
    }
    host.InjectKey(InputKey::Escape);
    benchmark::DoNotOptimize(menu.MzTrackPopupMenu(screen.m_hWnd));
    if (host.FrameCount() != frames + 1) {
      state.SkipWithError("the menu did not show exactly one frame");
      break;
    }
  }
}
BENCHMARK(BM_OpenMenu20)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
