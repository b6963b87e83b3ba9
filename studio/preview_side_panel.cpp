#include "studio/preview_side_panel.h"

#include "platform/shell/shell.h"

PreviewSidePanel::PreviewSidePanel(Shell& shell, const std::string& registry_path)
    : shell_(shell), watcher_(registry_path) {}

void PreviewSidePanel::HandleInput(const InputEvent& event) {
  switch (event.type) {
    case InputEvent::Type::Press:
      pressed_ = panel_.HitTest(event.x, event.y);
      break;
    case InputEvent::Type::Release: {
      // A button acts when the finger leaves it where it went down.
      const PreviewAction pressed = pressed_;
      pressed_ = PreviewAction::kNone;
      if (pressed == PreviewAction::kNone || panel_.HitTest(event.x, event.y) != pressed) break;
      if (panel_.Click(event.x, event.y) == PreviewAction::kHide) shell_.ShowSidePanel(false);
      break;
    }
    default:
      break;
  }
}

void PreviewSidePanel::Refresh() {
  if (watcher_.Drain()) panel_.Reload();
}
