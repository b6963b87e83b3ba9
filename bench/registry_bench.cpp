// What one colour write costs: WriteThemeColor end to end on a registry of 20
// and of 10,000 values, beside the bare cost of replacing a small file
// durably (write, fsync, rename, fsync of the folder) in the same folder.
// The folder is $TINTOR_BENCH_DIR, else a fresh one beside the real registry
// file, since fsync costs what that file system makes it cost.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <malloc.h>
#include <filesystem>
#include <string>
#include <vector>
#include <sys/wait.h>
#include <unistd.h>

#include "model/theme/theme_store.h"
#include "model/theme_color_store.h"
#include "model/theme_targets.h"
#include "bench/bench_folder.h"
#include "platform/win/hive_file.h"
#include "platform/win/reg_file_format.h"
#include "platform/win/registry.h"
#include "tests/platform/win/hostile_registry.h"

namespace {

// A registry file of `values` values in a folder of its own: the 20 theme
// values and the rest spread over keys of 100 values each.
void UseRegistryOf(int values) {
  const std::string path = BenchDir() + "/registry-" + std::to_string(values) + ".reg";
  RegistryUseFile(path);
  if (std::filesystem::exists(path)) return;
  RegistryHive hive;
  for (const ThemeTarget& t : kThemeTargets) {
    RegistryPath key_path;
    std::u16string_view rest(t.key + 1);
    while (!rest.empty()) {
      const std::size_t sep = rest.find(u'\\');
      key_path.emplace_back(rest.substr(0, sep));
      if (sep == std::u16string_view::npos) break;
      rest.remove_prefix(sep + 1);
    }
    hive.Create(2, key_path, nullptr)->SetValue(t.value_name, REG_DWORD, {0xEC, 0xEC, 0xEC, 0});
  }
  for (int i = 20; i < values; ++i) {
    const std::string key = "Key" + std::to_string(i / 100);
    const std::string name = "Value" + std::to_string(i);
    RegistryKey* k = hive.Create(2, {u"SOFTWARE", u"Bench", std::u16string(key.begin(), key.end())}, nullptr);
    k->SetValue(std::u16string(name.begin(), name.end()), REG_DWORD,
                {static_cast<BYTE>(i), static_cast<BYTE>(i >> 8), 0, 0});
  }
  const std::string bytes = EncodeRegFile(hive);
  std::FILE* f = std::fopen(path.c_str(), "wb");
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

void BM_WriteThemeColor(benchmark::State& state) {
  UseRegistryOf(static_cast<int>(state.range(0)));
  const ThemeTarget& target = *FindThemeTarget(20);
  std::uint32_t colour = 0;
  for (auto _ : state) {
    // A different colour each time, so that every call really writes.
    if (!WriteThemeColor(HKEY_LOCAL_MACHINE, target.key, target.value_name, ++colour, true)) {
      state.SkipWithError(RegistryLastErrorMessage());
      break;
    }
  }
  state.counters["file_bytes"] =
      static_cast<double>(std::filesystem::file_size(RegistryFilePath()));
}
BENCHMARK(BM_WriteThemeColor)->Arg(20)->Arg(10000)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_BareDurableReplace(benchmark::State& state) {
  const std::string path = BenchDir() + "/bare.txt";
  const std::string temp = path + ".tmp";
  const std::string text(static_cast<std::size_t>(state.range(0)), 'x');
  for (auto _ : state) {
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 || ::write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size()) ||
        ::fsync(fd) != 0 || ::close(fd) != 0 || ::rename(temp.c_str(), path.c_str()) != 0) {
      state.SkipWithError("file replace failed");
      break;
    }
    const int dir = ::open(BenchDir().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ::fsync(dir);
    ::close(dir);
  }
}
BENCHMARK(BM_BareDurableReplace)->Arg(1000)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The pieces of a write that are not the disk: reading the file back after
// another process changed it, and formatting the new content.
void BM_ParseRegFile(benchmark::State& state) {
  UseRegistryOf(static_cast<int>(state.range(0)));
  const std::string path = RegistryFilePath();
  std::FILE* f = std::fopen(path.c_str(), "rb");
  std::string bytes(std::filesystem::file_size(path), '\0');
  if (std::fread(bytes.data(), 1, bytes.size(), f) != bytes.size()) state.SkipWithError("read failed");
  std::fclose(f);
  for (auto _ : state) {
    RegistryHive hive;
    std::string error;
    benchmark::DoNotOptimize(ParseRegFile(bytes.data(), bytes.size(), &hive, &error));
  }
}
BENCHMARK(BM_ParseRegFile)->Arg(20)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_EncodeRegFile(benchmark::State& state) {
  UseRegistryOf(static_cast<int>(state.range(0)));
  HiveFile file(RegistryFilePath());
  const RegistryHive* hive = nullptr;
  if (file.Load(&hive) != ERROR_SUCCESS) {
    state.SkipWithError("load failed");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(EncodeRegFile(*hive));
}
BENCHMARK(BM_EncodeRegFile)->Arg(20)->Arg(10000)->Unit(benchmark::kMicrosecond);

// One key holding `count` values (or `count` subkeys): every name read is
// looked up among its siblings, so this shows how reading grows with them.
// With `removed`, the file then removes every one of them again, as a
// long-lived file edited by hand may, each removal finding its name among
// the siblings still there.
void BM_ParseWideKey(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const bool subkeys = state.range(1) != 0;
  const bool removed = state.range(2) != 0;
  std::string bytes = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\Wide]\r\n";
  for (int i = 0; i < count; ++i) {
    const std::string n = std::to_string(i);
    bytes += subkeys ? "[HKEY_LOCAL_MACHINE\\Wide\\Key" + n + "]\r\n" : "\"Value" + n + "\"=dword:00000001\r\n";
  }
  for (int i = 0; removed && i < count; ++i) {
    const std::string n = std::to_string(i);
    bytes += subkeys ? "[-HKEY_LOCAL_MACHINE\\Wide\\Key" + n + "]\r\n" : "\"Value" + n + "\"=-\r\n";
  }
  bytes += "\r\n";
  for (auto _ : state) {
    RegistryHive hive;
    std::string error;
    if (!ParseRegFile(bytes.data(), bytes.size(), &hive, &error)) state.SkipWithError(error.c_str());
    const RegistryKey* wide = hive.Find(2, {u"Wide"});
    if (wide == nullptr || wide->values.size() + wide->subkeys.size() != (removed ? 0u : std::size_t(count))) {
      state.SkipWithError("the names read are not the names the file leaves");
    }
  }
  state.counters["file_bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_ParseWideKey)
    ->ArgNames({"names", "subkeys", "removed"})
    ->Args({1000, 0, 0})
    ->Args({10000, 0, 0})
    ->Args({40000, 0, 0})
    ->Args({40000, 1, 0})
    ->Args({40000, 0, 1})
    ->Args({40000, 1, 1})
    ->Args({160000, 0, 1})
    ->Unit(benchmark::kMillisecond);

// A read when nothing changed: the shell reading a colour at start.
void BM_ReadDwordUnchanged(benchmark::State& state) {
  UseRegistryOf(static_cast<int>(state.range(0)));
  const ThemeTarget& target = *FindThemeTarget(20);
  DWORD v = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(RegistryReadDword(HKEY_LOCAL_MACHINE, target.key, target.value_name, &v));
  }
}
BENCHMARK(BM_ReadDwordUnchanged)->Arg(20)->Arg(10000)->Unit(benchmark::kMicrosecond);

// What reading one large file costs in memory, as a command reading it pays:
// the growth of the peak resident memory of a process that starts from
// nothing, reads the file (as every command reads the registry, or as
// --import-theme reads a theme) and ends. The files are the largest a
// registry file (64 MiB) or a theme file (16 MiB) may be, less 4 KiB:
//   0 what the program writes: one binary value filling the file (UTF-16)
//   1 keys 512 levels deep on every line (refused when they are too many)
//   2 one key on each short line for 15 % of the file, comments after
//   3 blank lines (UTF-16)
//   4 one string of 24 Mi characters (UTF-8)
//   5 a dword value on each short line (refused when they are too many)
//   6 a theme to import: one colour, then comment lines
//   7 the file of 2 read, then read again after another process put
//     another file as large in its place (as a window that stays open does)
//   8 a REGEDIT4 file of one hex(2) list, 8-bit text that becomes UTF-16
// Counters: the file's size and the growth in MiB, the growth per byte of
// file, and whether the file was read (1) or refused (0).
std::string LargeFile(int shape) {
  const std::size_t registry = static_cast<std::size_t>(HiveFile::kMaxFileSize) - 4096;
  switch (shape) {
    case 0:
      return hostile::LargeValueRegistry(registry);
    case 1:
      return hostile::NestedKeysRegistry(registry);
    case 2:
      return hostile::ManyKeysRegistry(registry, registry / 80);
    case 3:
      return hostile::BlankLinesRegistry(registry, true);
    case 4:
      return hostile::LongStringRegistry(registry, 24u << 20);
    case 5:
      return hostile::ManyValuesRegistry(registry, registry / 16);
    case 6:
      return hostile::ThemeFile((16u << 20) - 4096, false);
    case 7:
      return LargeFile(2);
    default:
      return hostile::OldTextListRegistry(registry);
  }
}

// The resident memory of this process now ("VmRSS") or at its peak
// ("VmHWM"), in bytes, as the kernel tells it.
long MemoryBytes(const char* field) {
  long kib = 0;
  if (std::FILE* f = std::fopen("/proc/self/status", "r")) {
    char line[256];
    const std::size_t length = std::strlen(field);
    while (std::fgets(line, sizeof line, f) != nullptr) {
      if (std::strncmp(line, field, length) == 0 && line[length] == ':') kib = std::atol(line + length + 1);
    }
    std::fclose(f);
  }
  return kib * 1024;
}

// Starts the peak over from the memory resident now: a forked process would
// otherwise keep its parent's. The memory the parent freed but kept goes
// back first, so that reading cannot take it again unseen.
void ResetPeakMemory() {
  ::malloc_trim(0);
  if (std::FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
    std::fputs("5", f);
    std::fclose(f);
  }
}

void BM_LargeFileMemory(benchmark::State& state) {
  const int shape = static_cast<int>(state.range(0));
  const std::string path = BenchDir() + "/large-" + std::to_string(shape) + ".reg";
  std::size_t size = 0;
  {
    const std::string bytes = LargeFile(shape);
    size = bytes.size();
    for (const std::string& name : {path, path + ".next"}) {
      std::FILE* f = std::fopen(name.c_str(), "wb");
      if (f == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || std::fclose(f) != 0) {
        state.SkipWithError("cannot write the file");
        return;
      }
      if (shape != 7) break;
    }
  }
  struct Measured {
    long growth;
    int read;
  } measured{0, 0};
  for (auto _ : state) {
    int link[2];
    if (::pipe(link) != 0) {
      state.SkipWithError("pipe failed");
      break;
    }
    const pid_t child = ::fork();
    if (child == 0) {
      ::close(link[0]);
      ResetPeakMemory();
      const long start = MemoryBytes("VmRSS");
      Measured m{0, 0};
      if (shape == 6) {
        ThemeValues theme;
        std::string problem;
        m.read = ThemeStore::ReadImport(path, theme, problem, nullptr) ? 1 : 0;
      } else {
        HiveFile file(path);
        const RegistryHive* hive = nullptr;
        m.read = file.Load(&hive) == ERROR_SUCCESS ? 1 : 0;
        if (shape == 7 && m.read == 1) {
          m.read = std::rename((path + ".next").c_str(), path.c_str()) == 0 && file.Load(&hive) == ERROR_SUCCESS;
        }
      }
      m.growth = MemoryBytes("VmHWM") - start;
      const bool sent = ::write(link[1], &m, sizeof m) == static_cast<ssize_t>(sizeof m);
      ::_exit(sent ? 0 : 1);
    }
    ::close(link[1]);
    const bool got = ::read(link[0], &measured, sizeof measured) == static_cast<ssize_t>(sizeof measured);
    ::close(link[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!got) {
      state.SkipWithError("the reading process reported nothing");
      break;
    }
  }
  std::filesystem::remove(path);
  std::filesystem::remove(path + ".next");
  state.counters["file_MiB"] = static_cast<double>(size) / (1 << 20);
  state.counters["growth_MiB"] = static_cast<double>(measured.growth) / (1 << 20);
  state.counters["growth_per_file_byte"] = static_cast<double>(measured.growth) / static_cast<double>(size);
  state.counters["read"] = measured.read;
}
BENCHMARK(BM_LargeFileMemory)->DenseRange(0, 8)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) { return RunBenchmarksInFolder(argc, argv); }
