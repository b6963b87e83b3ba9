// A test fixture that starts the phone's shell on a HeadlessHost with a
// registry file of its own (TINTOR_REGISTRY names a fresh temporary file,
// and the theme's history and saved themes go into its folder),
// injects input, pumps until idle and compares screenshots.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "platform/host/headless_host.h"
#include "platform/shell/shell.h"
#include "platform/win/win_types.h"

class HeadlessShellTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

 public:  // public, so that cases kept in tables and lambdas can drive it

  HeadlessHost& host() { return *host_; }
  Shell& shell() { return *shell_; }

  // Stops the shell and starts a new one (the phone restarts: the theme
  // colours are read again).
  void RestartShell();
  // Writes a REG_DWORD under HKEY_LOCAL_MACHINE; false when the registry refused.
  bool WriteRegistryDword(const char16_t* key, const char16_t* name, DWORD value);
  const std::string& RegistryPath() const { return registry_path_; }

  void Tap(int x, int y) { host_->InjectTap(x, y); }
  void Drag(int x1, int y1, int x2, int y2, int ms) { host_->InjectDrag(x1, y1, x2, y2, ms); }
  void Key(InputKey key, unsigned modifiers = kNoModifier) {
    host_->Inject(InputEvent::Key(key, modifiers));
  }
  void Wheel(int x, int y, int turns) { host_->InjectWheel(x, y, turns); }
  void Wait(int ms) { host_->InjectWait(ms); }

  // Runs the shell's loop until every injected input is used, every message
  // delivered and nothing moves; then renders the screen.
  void Pump();
  // Like Pump, but stops as soon as the input is used up, even while the
  // content still moves.
  void PumpInput();

  std::uint32_t Pixel(int x, int y) const { return shell_->PixelAt(x, y); }
  // Compares the whole screen with tests/golden/NAME.
  ::testing::AssertionResult ScreenMatches(const std::string& name, int tolerance = 10);

 private:
  std::string registry_dir_;
  std::string registry_path_;
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_env_;
  std::unique_ptr<HeadlessHost> host_;
  std::unique_ptr<Shell> shell_;
};
