#include "studio/preview_side_panel.h"

#include <cstdio>

#include "platform/shell/shell.h"

PreviewSidePanel::PreviewSidePanel(Shell& shell, const std::string& registry_path)
    : shell_(shell), watcher_(registry_path), history_(registry_path) {
  Record("change");
}

void PreviewSidePanel::Record(const std::string& kind) {
  std::string problem;
  if (history_.Record(kind, problem) || problem == history_problem_) return;
  history_problem_ = problem;
  std::fprintf(stderr, "tintor: the theme history does not follow this change: %s\n", problem.c_str());
}

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
      const PreviewAction done = panel_.Click(event.x, event.y);
      if (done == PreviewAction::kHide) shell_.ShowSidePanel(false);
      if (done == PreviewAction::kConfirmRestore) Record("restore");
      break;
    }
    default:
      break;
  }
}

void PreviewSidePanel::Refresh() {
  if (!watcher_.Drain()) return;
  panel_.Reload();
  Record("change");
}
