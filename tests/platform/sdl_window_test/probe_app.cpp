// The program of the real-window test: one proof screen. Every control
// notification is appended to the file named by TINTOR_PROBE_LOG as
// "ID INDEX" on a line of its own; the toolbar's left button quits with exit
// code 7.
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "tests/platform/proof_screen.h"

namespace {

constexpr int kQuitCode = 7;

class ProbeWindow : public ProofScreen {
 public:
  void OnControlCommand(WPARAM wParam, LPARAM lParam) override {
    if (const char* path = std::getenv("TINTOR_PROBE_LOG"); path != nullptr && *path != '\0') {
      if (std::FILE* f = std::fopen(path, "a")) {
        std::fprintf(f, "%d %ld\n", LOWORD(wParam), static_cast<long>(lParam));
        std::fclose(f);
      }
    }
    if (LOWORD(wParam) == kToolbarId && lParam == 0) PostQuitMessage(kQuitCode);
  }
};

class ProbeApp : public CMzApp {
 public:
  BOOL InitApplication() override {
    window_ = std::make_unique<ProbeWindow>();
    return window_->CreateOverWorkArea() ? TRUE : FALSE;
  }
  int Done() override {
    window_.reset();
    return CMzApp::Done();
  }

 private:
  std::unique_ptr<ProbeWindow> window_;
};

ProbeApp theApp;

}  // namespace
