#include "tests/support/headless_shell_test.h"

#include <cstdlib>
#include <filesystem>

#include "platform/win/hive_file.h"
#include "platform/win/registry.h"
#include "tests/support/golden.h"
#include "tests/support/leak_suppressions.h"

void HeadlessShellTest::SetUp() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern =
      std::string(tmp != nullptr && tmp[0] != '\0' ? tmp : "/tmp") + "/tintor-shell-XXXXXX";
  ASSERT_NE(::mkdtemp(pattern.data()), nullptr) << "cannot make a temporary folder";
  registry_dir_ = pattern;
  registry_path_ = registry_dir_ + "/registry.reg";
  ::setenv("TINTOR_REGISTRY", registry_path_.c_str(), 1);
  // The theme's history and saved themes stay in the scratch folder too.
  for (const char* name : {"XDG_STATE_HOME", "XDG_DATA_HOME"}) {
    const char* was = std::getenv(name);
    saved_env_.emplace_back(name, was != nullptr ? std::optional<std::string>(was) : std::nullopt);
    ::setenv(name, registry_dir_.c_str(), 1);
  }
  RegistryUseFile(registry_path_);
  host_ = std::make_unique<HeadlessHost>();
  shell_ = std::make_unique<Shell>(*host_);
}

void HeadlessShellTest::TearDown() {
  shell_.reset();
  host_.reset();
  ::unsetenv("TINTOR_REGISTRY");
  for (const auto& [name, was] : saved_env_) {
    if (was) {
      ::setenv(name.c_str(), was->c_str(), 1);
    } else {
      ::unsetenv(name.c_str());
    }
  }
  saved_env_.clear();
  RegistryUseFile(HiveFile::DefaultPath());
  std::error_code ignored;
  if (!registry_dir_.empty()) std::filesystem::remove_all(registry_dir_, ignored);
}

void HeadlessShellTest::RestartShell() {
  shell_.reset();
  host_ = std::make_unique<HeadlessHost>();
  shell_ = std::make_unique<Shell>(*host_);
}

bool HeadlessShellTest::WriteRegistryDword(const char16_t* key, const char16_t* name,
                                           DWORD value) {
  HKEY h = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, 0, nullptr, &h, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  const LONG rc = RegSetValueExW(h, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                 sizeof(value));
  RegCloseKey(h);
  return rc == ERROR_SUCCESS;
}

void HeadlessShellTest::Pump() {
  shell_->RunLoop([this] {
    return !host_->HasPendingInput() && shell_->PendingMessages() == 0 && !shell_->IsAnimating();
  });
  shell_->RenderFrame();
}

void HeadlessShellTest::PumpInput() {
  shell_->RunLoop([this] { return !host_->HasPendingInput() && shell_->PendingMessages() == 0; });
  shell_->RenderFrame();
}

::testing::AssertionResult HeadlessShellTest::ScreenMatches(const std::string& name,
                                                            int tolerance) {
  return MatchesGolden(shell_->Pixels(), Shell::kScreenWidth, Shell::kScreenHeight,
                       shell_->Stride(), name, tolerance);
}

// Read by LeakSanitizer at start-up (see leak_suppressions.h).
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
