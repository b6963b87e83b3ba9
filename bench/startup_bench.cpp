// Tintor's start-up, headless: from process start to the first complete frame
// of the main window, and the memory the process holds by then.
//
// BM_ProcessStartToFirstFrame spawns the real program with --headless and no
// input: it starts, draws its first frame and, finding no input, quits at
// once. The time is spawn to exit, so it bounds the time to the first frame
// from above; max_rss_MB is the process's peak resident memory (it holds no
// more than that at its first frame).
// BM_InitToFirstFrame is the in-process part alone: a shell, the application
// object, InitApplication (window, layout, 67 pictures) and one frame.
#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "app/tintor_app.h"
#include "platform/host/headless_host.h"
#include "platform/shell/shell.h"

extern char** environ;

namespace {

// A registry of its own for the whole run, so the user's is never touched.
const std::string& BenchRegistry() {
  static const std::string path = [] {
    std::string dir = (std::filesystem::temp_directory_path() / "tintor-startup-XXXXXX").string();
    if (::mkdtemp(dir.data()) == nullptr) std::abort();
    const std::string file = dir + "/registry.reg";
    ::setenv("TINTOR_REGISTRY", file.c_str(), 1);
    return file;
  }();
  return path;
}

void BM_ProcessStartToFirstFrame(benchmark::State& state) {
  BenchRegistry();
  char binary[] = TINTOR_BINARY;
  char headless[] = "--headless";
  char* argv[] = {binary, headless, nullptr};
  long max_rss_kb = 0;
  for (auto _ : state) {
    pid_t pid = 0;
    if (posix_spawn(&pid, binary, nullptr, nullptr, argv, environ) != 0) {
      state.SkipWithError("cannot start tintor");
      return;
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
      state.SkipWithError("tintor did not exit cleanly");
      return;
    }
    max_rss_kb = std::max(max_rss_kb, usage.ru_maxrss);
  }
  state.counters["max_rss_MB"] = static_cast<double>(max_rss_kb) / 1024.0;
}
BENCHMARK(BM_ProcessStartToFirstFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_InitToFirstFrame(benchmark::State& state) {
  BenchRegistry();
  for (auto _ : state) {
    HeadlessHost host;
    Shell shell(host);
    auto app = std::make_unique<CTintorApp>();
    app->InitApplication();
    shell.RenderFrame();
    benchmark::DoNotOptimize(host.FrameCount());
    state.PauseTiming();
    app.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_InitToFirstFrame)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
