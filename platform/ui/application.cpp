#include "platform/ui/application.h"

#include "platform/shell/shell.h"
#include "platform/ui/toolkit_functions.h"

namespace {
// Constant-initialised, so it is null before any global constructor runs.
CMzApp* g_app = nullptr;
}  // namespace

CMzApp::CMzApp() {
  if (g_app == nullptr) g_app = this;
}

CMzApp::~CMzApp() {
  if (g_app == this) g_app = nullptr;
}

CMzApp* CMzApp::Instance() { return g_app; }

BOOL CMzApp::InitApplication() { return TRUE; }

int CMzApp::Run() {
  Shell* shell = ToolkitShell();
  if (shell == nullptr) return exit_code_;
  shell->RunLoop(nullptr);
  exit_code_ = shell->ExitCode();
  return exit_code_;
}

int CMzApp::Done() { return exit_code_; }

BOOL CMzApp::PreTranslateMessage(MSG* /*pMsg*/) { return FALSE; }
