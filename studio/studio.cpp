#include "studio/studio.h"

#include "platform/shell/shell.h"

Studio::Studio(Shell& shell, const std::string& registry_path, bool shown)
    : shell_(shell), watcher_(registry_path) {
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
  if (watcher_.Drain()) panel_.Reload();
}
