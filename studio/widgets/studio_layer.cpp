#include "studio/widgets/studio_layer.h"

#include "platform/shell/shell.h"
#include "platform/ui/ui_win.h"
#include "platform/ui/window.h"

StudioLayer::StudioLayer(Shell* shell) : ElementLayer(shell) {}

StudioLayer::~StudioLayer() {
  if (Shell* shell = GetShell(); shell != nullptr && hwnd_ != nullptr) shell->UnregisterTarget(hwnd_);
}

void StudioLayer::Later(std::function<void()> action) {
  Shell* shell = GetShell();
  if (shell == nullptr || !action) return;
  if (hwnd_ == nullptr) hwnd_ = shell->RegisterTarget(this);
  later_.push_back(std::move(action));
  shell->PostMessage(hwnd_, WM_COMMAND, 0, 0);
}

void StudioLayer::HandleMessage(UINT message, WPARAM /*wParam*/, LPARAM /*lParam*/) {
  if (message != WM_COMMAND || later_.empty()) return;
  std::function<void()> action = std::move(later_.front());
  later_.pop_front();
  action();
}

void RunLater(const UiWin& control, std::function<void()> action) {
  if (auto* layer = dynamic_cast<StudioLayer*>(control.Layer())) layer->Later(std::move(action));
}
