#include "studio/studio.h"

#include <cstdio>

#include "platform/shell/shell.h"
#include "studio/studio_texts.h"

Studio::Studio(Shell& shell, const std::string& registry_path, bool shown)
    : shell_(shell), watcher_(registry_path), panel_(&shell), history_(registry_path) {
  SayWhetherFollowing();
  Record();
  // A colour the studio writes itself is a step of the history at once,
  // before the watch reports it (which then finds nothing new).
  panel_.SetWrittenHandler([this] { Record(); });
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
  if (watcher_.Drain()) {
    panel_.Reload();
    Record();
  }
  SayWhetherFollowing();
}

// Without a whole watch the panel still reads the file again whenever the
// window wakes: back in front, after Tintor's own write (its box slides in),
// at the clock's minute.
void Studio::SayWhetherFollowing() {
  panel_.SetNotice(watcher_.following() ? u"" : studio_text::kNotFollowing);
}

void Studio::Record() {
  std::string problem;
  if (history_.Record("change", problem) || problem == history_problem_) return;
  history_problem_ = problem;
  std::fprintf(stderr, "tintor: the theme history does not follow this change: %s\n", problem.c_str());
}
