// Tintor's start-up, headless: from process start to the first complete frame
// of the main window, and the memory the process holds by then.
//
// BM_ProcessStartToFirstFrame spawns the real program with --headless and no
// input: it starts, draws its first frame and, finding no input, quits at
// once. The time is spawn to exit, so it bounds the time to the first frame
// from above. BM_BareStartToFirstFrame does the same with bare_start, a
// program that only starts SDL, cairo and pango and draws the same texts and
// one picture: what any program drawing this screen pays. For both,
// child_cpu_ms is the spawned program's own CPU time (user and system, from
// wait4) per run, and max_rss_MB its peak resident memory; the CPU column is
// only this benchmark's own waiting.
// BM_InitToFirstFrame is the in-process part alone: a shell, the application
// object, InitApplication (window, layout, 67 pictures) and one frame.
#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "app/tintor_app.h"
#include "platform/host/headless_host.h"
#include "platform/shell/shell.h"

extern char** environ;

namespace {

// A registry of its own for the whole run, so the user's is never touched;
// its folder goes when the benchmark ends.
class BenchFolder {
 public:
  BenchFolder() {
    dir_ = (std::filesystem::temp_directory_path() / "tintor-startup-XXXXXX").string();
    if (::mkdtemp(dir_.data()) == nullptr) std::abort();
    ::setenv("TINTOR_REGISTRY", (dir_ + "/registry.reg").c_str(), 1);
  }
  ~BenchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }

 private:
  std::string dir_;
};

void UseBenchRegistry() { static BenchFolder folder; }

double Ms(const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; }

// Runs `binary` with `arg` (if any) once an iteration, to its end.
void SpawnEachIteration(benchmark::State& state, const char* binary, const char* arg) {
  UseBenchRegistry();
  std::string path = binary;
  std::string option = arg != nullptr ? arg : "";
  char* argv[] = {path.data(), arg != nullptr ? option.data() : nullptr, nullptr};
  long max_rss_kb = 0;
  double cpu_ms = 0;
  for (auto _ : state) {
    pid_t pid = 0;
    if (posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv, environ) != 0) {
      state.SkipWithError(("cannot start " + path).c_str());
      return;
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
      state.SkipWithError((path + " did not exit cleanly").c_str());
      return;
    }
    max_rss_kb = std::max(max_rss_kb, usage.ru_maxrss);
    cpu_ms += Ms(usage.ru_utime) + Ms(usage.ru_stime);
  }
  state.counters["max_rss_MB"] = static_cast<double>(max_rss_kb) / 1024.0;
  state.counters["child_cpu_ms"] = benchmark::Counter(cpu_ms, benchmark::Counter::kAvgIterations);
}

void BM_ProcessStartToFirstFrame(benchmark::State& state) {
  SpawnEachIteration(state, TINTOR_BINARY, "--headless");
}
BENCHMARK(BM_ProcessStartToFirstFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BareStartToFirstFrame(benchmark::State& state) {
  SpawnEachIteration(state, BARE_START_BINARY, nullptr);
}
BENCHMARK(BM_BareStartToFirstFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_InitToFirstFrame(benchmark::State& state) {
  UseBenchRegistry();
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
