// The real program, headless, driven by a script that presses swatches 500
// times (every other press chooses a target and confirms the box): it ends
// cleanly, leaves exactly the colours the presses chose, and its memory does
// not grow with the number of presses. Under the sanitizer build the leak
// checker runs at the program's exit and turns any leak into a failure.
#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "model/color_swatches.h"
#include "model/theme_targets.h"
#include "platform/win/reg_file_format.h"
#include "platform/win/registry_hive.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

struct RunResult {
  bool exited = false;
  int exit_code = -1;
  long max_rss_kb = 0;
};

class PressStorm : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string dir = (fs::temp_directory_path() / "tintor-storm-XXXXXX").string();
    ASSERT_NE(::mkdtemp(dir.data()), nullptr);
    dir_ = dir;
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  // The screen centre of grid position k (the first four rows need no scrolling).
  static std::pair<int, int> Centre(int k) {
    return {24 + 114 * (k % 4) + 45, 35 + 150 + 5 + 114 * (k / 4) + 45};
  }

  // A script of `presses` swatch presses over the first 16 swatches; even
  // presses dismiss the menu, odd ones choose a target and confirm the box.
  // `chosen` receives what the registry should then hold: (target, colour).
  static std::string Script(int presses, std::map<std::size_t, std::uint32_t>* chosen) {
    std::string s;
    for (int i = 0; i < presses; ++i) {
      const int k = i % 16;
      const auto [x, y] = Centre(k);
      s += "tap " + std::to_string(x) + " " + std::to_string(y) + "\n";
      if (i % 2 == 0) {
        s += "key escape\n";
        continue;
      }
      const std::size_t target = static_cast<std::size_t>((i / 2) % 20);
      for (std::size_t d = 0; d <= target; ++d) s += "key down\n";
      s += "key enter\nkey enter\n";
      if (chosen != nullptr) (*chosen)[target] = kColorSwatches[static_cast<std::size_t>(k)].color;
    }
    return s;
  }

  RunResult Run(const std::string& name, const std::string& script) {
    const std::string script_path = dir_ + "/" + name + ".script";
    std::ofstream(script_path) << script;
    registry_ = dir_ + "/" + name + ".reg";
    const std::string env_registry = "TINTOR_REGISTRY=" + registry_;
    std::vector<std::string> env_strings;
    for (char** e = environ; *e != nullptr; ++e) {
      if (std::string(*e).rfind("TINTOR_REGISTRY=", 0) != 0) env_strings.emplace_back(*e);
    }
    env_strings.push_back(env_registry);
    std::vector<char*> envp;
    for (std::string& e : env_strings) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string binary = TINTOR_BINARY;
    std::string flag = "--script";
    std::string path = script_path;
    char* argv[] = {binary.data(), flag.data(), path.data(), nullptr};

    RunResult r;
    pid_t pid = 0;
    if (posix_spawn(&pid, binary.c_str(), nullptr, nullptr, argv, envp.data()) != 0) {
      ADD_FAILURE() << "cannot start " << binary;
      return r;
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) return r;
    r.exited = WIFEXITED(status);
    r.exit_code = r.exited ? WEXITSTATUS(status) : -1;
    r.max_rss_kb = usage.ru_maxrss;
    return r;
  }

  std::string registry_;
  std::string dir_;
};

TEST_F(PressStorm, FiveHundredPressesEndCleanlyWithTheChosenColours) {
  std::map<std::size_t, std::uint32_t> chosen;
  const RunResult r = Run("storm500", Script(500, &chosen));
  ASSERT_TRUE(r.exited) << "the program did not exit normally";
  EXPECT_EQ(r.exit_code, 0);

  std::ifstream in(registry_, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  RegistryHive hive;
  std::string error;
  ASSERT_TRUE(ParseRegFile(bytes.data(), bytes.size(), &hive, &error)) << error;
  EXPECT_EQ(hive.ValueCount(), chosen.size());
  EXPECT_EQ(chosen.size(), 20u);
  for (const auto& [index, colour] : chosen) {
    const ThemeTarget& t = kThemeTargets[index];
    RegistryPath path;
    std::u16string part;
    for (const char16_t* c = t.key; *c != 0; ++c) {
      if (*c == u'\\') {
        if (!part.empty()) path.push_back(part);
        part.clear();
      } else {
        part += *c;
      }
    }
    path.push_back(part);
    const RegistryKey* key = hive.Find(2, path);
    ASSERT_NE(key, nullptr) << "target " << index + 1;
    const RegistryValue* v = key->FindValue(t.value_name);
    ASSERT_NE(v, nullptr) << "target " << index + 1;
    EXPECT_EQ(v->type, 4u);
    const std::vector<BYTE> expected{static_cast<BYTE>(colour), static_cast<BYTE>(colour >> 8),
                                     static_cast<BYTE>(colour >> 16),
                                     static_cast<BYTE>(colour >> 24)};
    EXPECT_EQ(v->data, expected) << "target " << index + 1;
  }
}

// Peak memory after 500 presses against after 100. A title picture or a menu
// kept per press would add megabytes; the allowance covers allocator slack.
TEST_F(PressStorm, MemoryDoesNotGrowWithThePresses) {
  const RunResult r100 = Run("rss100", Script(100, nullptr));
  const RunResult r500 = Run("rss500", Script(500, nullptr));
  ASSERT_EQ(r100.exit_code, 0);
  ASSERT_EQ(r500.exit_code, 0);
  ASSERT_GT(r100.max_rss_kb, 0);
  RecordProperty("rss_100_kb", std::to_string(r100.max_rss_kb));
  RecordProperty("rss_500_kb", std::to_string(r500.max_rss_kb));
  EXPECT_LT(r500.max_rss_kb - r100.max_rss_kb, 2 * 1024)
      << "100 presses: " << r100.max_rss_kb << " KB, 500 presses: " << r500.max_rss_kb << " KB";
}

}  // namespace
