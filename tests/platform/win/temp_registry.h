// A registry file of its own for one test: a fresh folder under the system's
// temporary folder, named to the registry (and in TINTOR_REGISTRY, for the
// programs a test starts), removed (with everything in it) when the test
// ends, when the registry goes back to its default place. The theme's
// history, saved themes and settings are kept in that folder too, never in
// the real home folder (the user's folders are read once per process: the
// first registry of a process decides them).
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "platform/win/hive_file.h"
#include "platform/win/registry.h"

class TempRegistry {
 public:
  TempRegistry() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr && tmp[0] != '\0' ? tmp : "/tmp") + "/tintor-reg-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed";
    dir_ = pattern;
    path_ = dir_ + "/registry.reg";
    ::setenv("TINTOR_REGISTRY", path_.c_str(), 1);
    for (const char* name : {"XDG_STATE_HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME"}) {
      const char* was = std::getenv(name);
      saved_env_.emplace_back(name, was != nullptr ? std::optional<std::string>(was) : std::nullopt);
      ::setenv(name, dir_.c_str(), 1);
    }
    RegistryUseFile(path_);
  }
  ~TempRegistry() {
    ::unsetenv("TINTOR_REGISTRY");
    RegistryUseFile(HiveFile::DefaultPath());
    for (const auto& [name, was] : saved_env_) {
      if (was) {
        ::setenv(name, was->c_str(), 1);
      } else {
        ::unsetenv(name);
      }
    }
    std::error_code ignored;
    std::filesystem::permissions(dir_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(dir_, ignored);
  }
  TempRegistry(const TempRegistry&) = delete;
  TempRegistry& operator=(const TempRegistry&) = delete;

  const std::string& dir() const { return dir_; }
  const std::string& path() const { return path_; }

  bool Exists() const { return std::filesystem::exists(path_); }

  std::string ReadBytes() const {
    std::ifstream in(path_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  // Overwrites the file in place.
  void WriteBytes(const std::string& bytes) const { WriteFile(path_, bytes); }

  // Puts a new file with these bytes in place of the old one, as editors save.
  void ReplaceBytes(const std::string& bytes) const {
    const std::string side = path_ + ".editor";
    WriteFile(side, bytes);
    std::filesystem::rename(side, path_);
  }

 private:
  static void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }

  std::string dir_;
  std::string path_;
  std::vector<std::pair<const char*, std::optional<std::string>>> saved_env_;
};
