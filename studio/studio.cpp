#include "studio/studio.h"

#include <cstdio>

#include "platform/shell/shell.h"
#include "platform/file/utf16.h"
#include "studio/shelf/shelf_texts.h"
#include "studio/studio_texts.h"
#include "studio/widgets/confirmation_sheet.h"
#include "model/shown_text.h"

namespace {
// The window's keys of the history; none acts while a dialog holds the
// window, but for the theme shelf and the item card, which say what they did.
struct HistoryKey {
  InputKey key;
  unsigned modifiers;
  bool undo;
};
constexpr HistoryKey kHistoryKeys[] = {
    {InputKey::Z, kCtrl, true}, {InputKey::Z, kCtrl | kShift, false}, {InputKey::Y, kCtrl, false}};
}  // namespace

Studio::Studio(Shell& shell, const std::string& registry_path, bool shown)
    : shell_(shell), watcher_(registry_path), store_(registry_path), panel_(&shell, &store_) {
  SayWhetherFollowing();
  Record();
  shell_.SetSidePlace(PreviewPanel::kWidth, PreviewPanel::kTabWidth, shown);
  shell_.PushLayer(&panel_, false);
  shell_.WatchReadable(watcher_.fd(), [this] { Refresh(); });
  for (const HistoryKey& k : kHistoryKeys) {
    shell_.BindWindowKey(k.key, k.modifiers, false, [this, undo = k.undo] { Step(undo); });
  }
  shell_.TakeDroppedFiles([this](const std::string& path) {
    // The file the window was opened with is imported once the user says so.
    if (!import_to_ask_.empty() && path == import_to_ask_) {
      import_to_ask_.clear();
      shell_.ShowSide(true);
      ConfirmationSheet question(PreviewPanel::kWidth, &shell_, shelf_text::kImportQuestion,
                                 shelf_text::ImportQuestionNote(path));
      if (!question.Ask()) return;
    }
    Import(path);
  });
}

Studio::~Studio() {
  for (const HistoryKey& k : kHistoryKeys) shell_.BindWindowKey(k.key, k.modifiers, false, nullptr);
  shell_.TakeDroppedFiles(nullptr);
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
  if (store_.Record(problem) || problem == history_problem_) return;
  history_problem_ = problem;
  std::fprintf(stderr, "tintor: the theme history does not follow this change: %s\n", problem.c_str());
}

void Studio::Step(bool undo) {
  std::string problem;
  std::string kind;
  const ThemeStore::Outcome outcome = undo ? store_.Undo(problem, &kind) : store_.Redo(problem, &kind);
  panel_.Reload();
  switch (outcome) {
    case ThemeStore::Outcome::kDone:
      panel_.Report(studio_text::Stepped(undo, kind), false);
      return;
    case ThemeStore::Outcome::kNothingToDo:
      panel_.Report(undo ? studio_text::kNothingToUndo : studio_text::kNothingToRedo, false);
      return;
    case ThemeStore::Outcome::kFailed:
      panel_.Report(studio_text::StepFailed(undo, problem), true);
      return;
  }
}

void Studio::Import(const std::string& path) {
  // The outcome shows in the panel, so the panel shows.
  shell_.ShowSide(true);
  ThemeValues theme;
  std::string problem;
  bool refused = false;
  int changed = 0;
  // The file's path and what it holds are shown escaped, cut at a stated length.
  const std::string shown = ShownText(path, kShownLineChars);
  if (!ThemeStore::ReadImport(path, theme, problem, &refused)) {
    problem = ShownText(problem, kShownLineChars);
    panel_.Report(refused ? shelf_text::ImportRefused(shown, problem) : shelf_text::ImportFailed(shown, problem), true);
  } else if (!store_.Apply(theme, ThemeApply::kOver, "import", changed, problem)) {
    panel_.Report(shelf_text::ImportNotWritten(shown, problem), true);
  } else {
    panel_.Reload();
    panel_.Report(shelf_text::Imported(shown, changed), false);
  }
}
