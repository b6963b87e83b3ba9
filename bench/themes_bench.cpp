// What keeping a theme costs: one colour set through the theme's store, an
// undo (or redo), an apply and an import of all 20 values, each one
// transaction with the history kept, beside one colour written as the phone
// writes it (one durable replace of the registry file) in the same folder. The folder is $TINTOR_BENCH_DIR, else a fresh one beside the real
// registry file, since fsync costs what that file system makes it cost; the
// history and themes go there too. What fsync costs changes with everything
// else the disk does, so compare them from one run with their repetitions
// interleaved: --benchmark_repetitions=15 --benchmark_enable_random_interleaving=true
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "model/theme_color_store.h"
#include "bench/bench_folder.h"
#include "platform/win/hive_file.h"
#include "platform/win/registry.h"
#include "model/theme/theme_file.h"
#include "model/theme/theme_store.h"
#include "platform/file/whole_file.h"

namespace {

// A fresh registry holding one of the presets, with a history of its own;
// the histories and themes are kept in the scratch folder too.
void FreshRegistry(const std::string& name) {
  const std::string path = BenchDir() + "/" + name + ".reg";
  ::setenv("XDG_STATE_HOME", BenchDir().c_str(), 1);
  ::setenv("XDG_DATA_HOME", BenchDir().c_str(), 1);
  RegistryUseFile(path);
  std::string problem;
  if (!UpdateThemeValues([](const ThemeValues&) { return ThemePresets()[1].values; }, problem)) {
    std::fprintf(stderr, "cannot set up %s: %s\n", path.c_str(), problem.c_str());
  }
}

void BM_OneColourWritten(benchmark::State& state) {
  FreshRegistry("one-colour");
  const ThemeTarget& target = kThemeTargets[3];
  std::uint32_t colour = 0;
  for (auto _ : state) {
    if (!WriteThemeColor(HKEY_LOCAL_MACHINE, target.key, target.value_name, ++colour, true)) {
      state.SkipWithError(RegistryLastErrorMessage());
      break;
    }
  }
}
BENCHMARK(BM_OneColourWritten)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The studio's write of one colour: the history's lock, the registry's,
// one durable replace and the step appended.
void BM_OneColourThroughStore(benchmark::State& state) {
  FreshRegistry("store-colour");
  ThemeStore store(RegistryFilePath());
  std::uint32_t colour = 0;
  for (auto _ : state) {
    std::string problem;
    if (!store.SetItem(4, ++colour, problem)) {
      state.SkipWithError(problem.c_str());
      break;
    }
  }
}
BENCHMARK(BM_OneColourThroughStore)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_UndoOrRedo(benchmark::State& state) {
  FreshRegistry("undo");
  ThemeStore store(RegistryFilePath());
  std::string problem;
  int changed = 0;
  store.Apply(ThemePresets()[2].values, ThemeApply::kWhole, "apply", changed, problem);
  bool undo = true;
  for (auto _ : state) {
    if ((undo ? store.Undo(problem) : store.Redo(problem)) != ThemeStore::Outcome::kDone) {
      state.SkipWithError(problem.c_str());
      break;
    }
    undo = !undo;
  }
}
BENCHMARK(BM_UndoOrRedo)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_ApplyPreset(benchmark::State& state) {
  FreshRegistry("apply");
  ThemeStore store(RegistryFilePath());
  std::size_t next = 2;
  for (auto _ : state) {
    std::string problem;
    int changed = 0;
    if (!store.ApplyNamed(next == 1 ? "深色" : "高对比", changed, problem)) {
      state.SkipWithError(problem.c_str());
      break;
    }
    next = 3 - next;
  }
}
BENCHMARK(BM_ApplyPreset)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_ImportFile(benchmark::State& state) {
  FreshRegistry("import");
  const std::string files[2] = {BenchDir() + "/dark.reg", BenchDir() + "/contrast.reg"};
  std::string problem;
  ReplaceWholeFile(files[0], EncodeThemeFile(ThemePresets()[1].values, RegFileForm::kVersion5), problem);
  ReplaceWholeFile(files[1], EncodeThemeFile(ThemePresets()[2].values, RegFileForm::kRegedit4), problem);
  ThemeStore store(RegistryFilePath());
  std::size_t next = 1;
  for (auto _ : state) {
    int changed = 0;
    if (!store.Import(files[next], changed, problem)) {
      state.SkipWithError(problem.c_str());
      break;
    }
    next = 1 - next;
  }
}
BENCHMARK(BM_ImportFile)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) { return RunBenchmarksInFolder(argc, argv); }
