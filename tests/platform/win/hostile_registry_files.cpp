// Writes the hostile registry and theme files into a folder, each the largest
// a registry file (64 MiB) or a theme file (16 MiB) may be less 4 KiB, so
// that what the program does with them can be measured from outside:
//   hostile_registry_files DIR
#include <cstdio>
#include <string>

#include "platform/win/hive_file.h"
#include "tests/platform/win/hostile_registry.h"

namespace {

bool Write(const std::string& path, const std::string& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  const bool ok = f != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  if (f != nullptr && std::fclose(f) != 0) return false;
  if (ok) std::printf("%s\n", path.c_str());
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: hostile_registry_files DIR\n");
    return 2;
  }
  const std::string dir = argv[1];
  const std::size_t registry = static_cast<std::size_t>(HiveFile::kMaxFileSize) - 4096;
  const std::size_t theme = (16u << 20) - 4096;
  const bool ok = Write(dir + "/large-value.reg", hostile::LargeValueRegistry(registry)) &&
                  Write(dir + "/many-values.reg", hostile::ManyValuesRegistry(registry, registry / 16)) &&
                  Write(dir + "/nested-keys.reg", hostile::NestedKeysRegistry(registry)) &&
                  Write(dir + "/many-keys.reg", hostile::ManyKeysRegistry(registry, registry / 80)) &&
                  Write(dir + "/blank-utf16.reg", hostile::BlankLinesRegistry(registry, true)) &&
                  Write(dir + "/blank-utf8.reg", hostile::BlankLinesRegistry(registry, false)) &&
                  Write(dir + "/long-string.reg", hostile::LongStringRegistry(registry, 24u << 20)) &&
                  Write(dir + "/old-text-list.reg", hostile::OldTextListRegistry(registry)) &&
                  Write(dir + "/theme-comments.reg", hostile::ThemeFile(theme, false)) &&
                  Write(dir + "/theme-blank.reg", hostile::ThemeFile(theme, true));
  if (!ok) std::perror(dir.c_str());
  return ok ? 0 : 1;
}
