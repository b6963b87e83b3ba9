#include "studio/preview_side_panel.h"

#include "platform/shell/shell.h"

namespace {

// Without a watch the panel still reads the file again whenever the window
// wakes: back in front, after Tintor's own write (its box slides in), at the
// clock's minute.
void SayWhetherFollowing(PreviewPanel& panel, const RegistryFileWatcher& watcher) {
  panel.SetNotice(watcher.following()
                      ? u""
                      : u"不再即时跟随注册表文件：窗口回到前台或 Tintor 写入时重新读取。");
}

}  // namespace

PreviewSidePanel::PreviewSidePanel(Shell& shell, const std::string& registry_path)
    : shell_(shell), watcher_(registry_path) {
  SayWhetherFollowing(panel_, watcher_);
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
      if (panel_.Click(event.x, event.y) == PreviewAction::kHide) shell_.ShowSidePanel(false);
      break;
    }
    default:
      break;
  }
}

void PreviewSidePanel::Refresh() {
  if (watcher_.Drain()) panel_.Reload();
  SayWhetherFollowing(panel_, watcher_);
}
