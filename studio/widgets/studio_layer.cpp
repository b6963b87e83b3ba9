#include "studio/widgets/studio_layer.h"

#include "platform/shell/shell.h"
#include "platform/ui/ui_win.h"
#include "platform/ui/window.h"
#include "studio/widgets/studio_controls.h"
#include "studio/widgets/style.h"

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

void StudioLayer::PaintFocusOutside(Canvas& canvas) {
  const auto* button = dynamic_cast<const ActionButton*>(Focused());
  if (button == nullptr || !button->IsVisible() || !FocusShown()) return;
  const POINT o = button->WindowOrigin();
  const int gap = studio_style::kFocusGap;
  UiWin::PaintFocusRing(canvas, o.x - gap, o.y - gap, button->GetWidth() + 2 * gap, button->GetHeight() + 2 * gap);
}

void RunLater(const UiWin& control, std::function<void()> action) {
  if (auto* layer = dynamic_cast<StudioLayer*>(control.Layer())) layer->Later(std::move(action));
}

bool StudioLayer::OnKey(InputKey key) {
  if (key == InputKey::Escape && IsRunningModal()) {
    EndModal(0);
    return true;
  }
  return ElementLayer::OnKey(key);
}
