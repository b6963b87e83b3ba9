// The scratch folder of the benchmarks that write files: $TINTOR_BENCH_DIR,
// else a fresh folder beside the real registry file, since fsync costs what
// that file system makes it cost. Folders made only for the run, and the
// scratch folder itself, are taken away again at the end. The user's folders
// (home, data, state, config) are the scratch folder for the whole run, so
// no history or theme of a benchmark lands in the real ones.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include <unistd.h>

#include "platform/win/hive_file.h"

// The scratch folder of this run (empty before RunBenchmarksInFolder).
inline std::string& BenchDir() {
  static std::string dir;
  return dir;
}

// Makes the scratch folder, runs the benchmarks named on the command line in
// it and cleans up; the value for main to return.
inline int RunBenchmarksInFolder(int argc, char** argv) {
  std::string base;
  if (const char* dir = std::getenv("TINTOR_BENCH_DIR"); dir != nullptr && dir[0] != '\0') {
    base = dir;
  } else {
    ::unsetenv("TINTOR_REGISTRY");
    base = std::filesystem::path(HiveFile::DefaultPath()).parent_path().string();
    // The user's folders are read once per process, and that look read the
    // real ones: the run starts again with its folder named.
    ::setenv("TINTOR_BENCH_DIR", base.c_str(), 1);
    ::execv("/proc/self/exe", argv);
    std::perror("cannot start the benchmarks again");
    return 1;
  }
  std::vector<std::filesystem::path> made;
  for (std::filesystem::path p = base; !p.empty() && !std::filesystem::exists(p); p = p.parent_path()) {
    made.push_back(p);
  }
  std::filesystem::create_directories(base);
  std::string pattern = base + "/tintor-bench-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) {
    std::perror("mkdtemp");
    return 1;
  }
  BenchDir() = pattern;
  for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_STATE_HOME", "XDG_CONFIG_HOME"}) {
    ::setenv(name, pattern.c_str(), 1);
  }
  std::printf("bench folder: %s\n", pattern.c_str());
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ignored;
  std::filesystem::remove_all(pattern, ignored);
  for (const std::filesystem::path& p : made) std::filesystem::remove(p, ignored);  // only if empty
  return 0;
}
