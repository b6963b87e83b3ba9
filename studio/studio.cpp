#include "studio/studio.h"

#include <cstdio>

#include "platform/shell/shell.h"

Studio::Studio(Shell& shell, const std::string& registry_path, bool shown)
    : shell_(shell), watcher_(registry_path), panel_(&shell), history_(registry_path) {
  Record();
  shell_.SetSidePlace(PreviewPanel::kWidth, PreviewPanel::kTabWidth, shown);
  shell_.PushLayer(&panel_, false);
  shell_.WatchReadable(watcher_.fd(), [this] { Refresh(); });
}

Studio::~Studio() {
  shell_.WatchReadable(-1, nullptr);
  shell_.RemoveLayer(&panel_, false);
  shell_.SetSidePlace(0, 0, false);
}

void Studio::Refresh() {
  if (!watcher_.Drain()) return;
  panel_.Reload();
  Record();
}

void Studio::Record() {
  std::string problem;
  if (history_.Record("change", problem) || problem == history_problem_) return;
  history_problem_ = problem;
  std::fprintf(stderr, "tintor: the theme history does not follow this change: %s\n", problem.c_str());
}
