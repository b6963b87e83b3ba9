#include "studio/studio.h"

#include <cstdio>
#include <vector>

#include "platform/shell/picture_file.h"
#include "platform/shell/shell.h"
#include "platform/file/utf16.h"
#include "studio/shelf/shelf_texts.h"
#include "studio/studio_texts.h"
#include "studio/widgets/confirmation_sheet.h"
#include "platform/file/shown_text.h"
#include "studio/preview/restore_confirmation.h"
#include "studio/shelf/theme_shelf.h"
#include "platform/win/registry.h"
#include "model/theme/theme_library.h"

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

// The registry file, for the preview; the themes folder, for the shelf.
enum WatchedPlace { kRegistryFile = 0, kThemesFolder = 1 };
std::vector<FileWatch::Target> Watched(const std::string& registry_path) {
  std::vector<FileWatch::Target> targets{{registry_path, FileWatch::Kind::kFile}};
  if (const std::string themes = ThemesFolder(); !themes.empty()) {
    targets.push_back({themes, FileWatch::Kind::kFolder});
  }
  return targets;
}
}  // namespace

Studio::Studio(Shell& shell, const std::string& registry_path, bool shown)
    : shell_(shell),
      watch_(Watched(registry_path)),
      store_(registry_path),
      panel_(&shell, {.open_shelf = [this] { OpenShelf(); },
                      .restore = [this] { AskRestore(); },
                      .point_at = [this](int item) {
                        if (shelf_ == nullptr && !asking_) card_.Run(item);
                      },
                      .undo = [this] { Step(true); },
                      .redo = [this] { Step(false); }}),
      card_(panel_, store_, [this] { Reload(); }) {
  Reload();
  ShowNotice();
  Record();
  shell_.SetSidePlace(PreviewPanel::kWidth, PreviewPanel::kTabWidth, shown);
  shell_.PushLayer(&panel_, false);
  shell_.WatchReadable(watch_.fd(), [this] { Refresh(); });
  for (const HistoryKey& k : kHistoryKeys) {
    shell_.BindWindowKey(k.key, k.modifiers, false, [this, undo = k.undo] { Step(undo); });
  }
  shell_.TakeDroppedFiles([this](const std::string& path) { Take(path); });
}

Studio::~Studio() {
  for (const HistoryKey& k : kHistoryKeys) shell_.BindWindowKey(k.key, k.modifiers, false, nullptr);
  shell_.TakeDroppedFiles(nullptr);
  shell_.WatchReadable(-1, nullptr);
  shell_.RemoveLayer(&panel_, false);
  shell_.SetSidePlace(0, 0, false);
}

bool Studio::Reload() {
  if (!panel_.ShowRead(store_)) return false;
  card_.Refresh();
  return true;
}

void Studio::Refresh() {
  const std::vector<bool> changed = watch_.Drain();
  if (changed[kRegistryFile]) {
    Reload();
    Record();
  }
  if (changed.size() > kThemesFolder && changed[kThemesFolder] && shelf_ != nullptr) shelf_->ThemesChanged();
  ShowNotice();
}

// Without a whole watch the panel still reads the file again whenever the
// window wakes: back in front, after Tintor's own write (its box slides in),
// at the clock's minute. A history that cannot be written matters more: the
// changes made meanwhile cannot be undone.
void Studio::ShowNotice() {
  panel_.SetNotice(!history_kept_          ? studio_text::HistoryNotKept(store_.HistoryPath())
                   : watch_.following() ? std::u16string()
                                          : std::u16string(studio_text::kNotFollowing));
}

void Studio::Record() {
  std::string problem;
  const bool recorded = store_.Record(problem);
  ShowHistory();
  // A registry that cannot be read is shown as such already.
  history_kept_ = recorded || !panel_.ReadsRegistry();
  ShowNotice();
  if (recorded) history_problem_.clear();
  if (recorded || problem == history_problem_) return;
  history_problem_ = problem;
  // Nor is it said again here: no change was made that the history missed.
  if (!panel_.ReadsRegistry()) return;
  std::fprintf(stderr, "tintor: the theme history does not follow this change: %s\n", ShownText(problem).c_str());
}

void Studio::Step(bool undo) {
  std::string problem;
  ThemeStore::StepSeen step;
  const ThemeStore::Outcome outcome = undo ? store_.Undo(problem, &step) : store_.Redo(problem, &step);
  Reload();
  switch (outcome) {
    case ThemeStore::Outcome::kDone:
      Report(studio_text::Stepped(undo, step), false);
      return;
    case ThemeStore::Outcome::kNothingToDo:
      Report(undo ? studio_text::kNothingToUndo : studio_text::kNothingToRedo, false);
      return;
    case ThemeStore::Outcome::kFailed:
      std::fprintf(stderr, "tintor: %s failed: %s\n", undo ? "undo" : "redo", ShownText(problem).c_str());
      Report(studio_text::StepFailed(undo), true);
      return;
  }
}

void Studio::Take(const std::string& path, bool typed) {
  // Told once what it is, by its first bytes: a picture goes to the 配色
  // place, anything else to the import, which says why it is refused.
  const bool picture = IsPictureFile(path);
  // The file the window was opened with is read first, so that the question
  // is asked only of a file that can be imported, and says how much it
  // holds; a picture, which writes nothing, is made themes from at once.
  if (!import_to_ask_.empty() && path == import_to_ask_) {
    import_to_ask_.clear();
    shell_.ShowSide(true);
    if (picture) {
      OpenShelf(path);
      return;
    }
    ThemeValues theme;
    if (!ReadImport(path, theme)) return;
    int held = 0;
    for (const auto& item : theme.items) held += item.has_value();
    ConfirmationSheet question(PreviewPanel::kWidth, &shell_, shelf_text::kImportQuestion,
                               shelf_text::ImportQuestionNote(path, held), /*undoable=*/true);
    if (question.Ask()) ApplyImport(path, theme);
    return;
  }
  // A picture dropped on the shelf or its 配色 place (or typed in the
  // shelf's import box) is made themes from there. Nothing else acts behind
  // what holds the window: a file dropped meanwhile is refused, saying why.
  if (shelf_ != nullptr && shelf_->TakeDroppedFile(path, picture)) return;
  if (!typed && shell_.Holder() != nullptr) {
    Report(studio_text::DroppedWhileHeld(path), true);
    return;
  }
  // A picture dropped on the window opens the shelf's 配色 place, its
  // themes made from the picture.
  shell_.ShowSide(true);
  if (picture) {
    OpenShelf(path);
    return;
  }
  ThemeValues theme;
  if (ReadImport(path, theme)) ApplyImport(path, theme);
}

bool Studio::ReadImport(const std::string& path, ThemeValues& theme) {
  std::string problem;
  bool refused = false;
  RegFileFault fault;
  if (ThemeStore::ReadImport(path, theme, problem, &refused, &fault)) return true;
  // The panel says it in words; the details go to standard error.
  std::fprintf(stderr, "tintor: not imported: %s\n", ShownText(problem, kShownLineChars).c_str());
  Report(refused ? shelf_text::ImportRefused(path, fault) : shelf_text::ImportFailed(path), true);
  return false;
}

void Studio::ApplyImport(const std::string& path, const ThemeValues& theme) {
  std::string problem;
  int changed = 0;
  if (!store_.Apply(theme, ThemeApply::kOver, "import", changed, problem, path.substr(path.rfind('/') + 1))) {
    std::fprintf(stderr, "tintor: not imported: %s\n", ShownText(problem, kShownLineChars).c_str());
    Report(shelf_text::ImportNotWritten(path), true);
    return;
  }
  Reload();
  Report(changed == 0 ? shelf_text::ImportUnchanged(path) : shelf_text::Imported(path, changed), false);
}

void Studio::AskRestore() {
  if (asking_ || shelf_ != nullptr || card_.IsOpen()) return;
  // The question names what a restore changes now; at the defaults nothing
  // is asked, and a registry file that cannot be read is said at once.
  ThemeValues now;
  std::string problem;
  LONG status = ERROR_SUCCESS;
  if (!store_.Read(now, problem, &status)) {
    std::fprintf(stderr, "tintor: the defaults are not restored: %s\n", ShownText(problem).c_str());
    Report(studio_text::RestoreFailed(RegistryFilePath(), status), true);
    return;
  }
  const int changes = static_cast<int>(VisibleChanges(now, ThemeValues()).size());
  if (changes == 0) {
    Report(studio_text::kAlreadyDefaults, false);
    return;
  }
  asking_ = true;
  const bool yes = RestoreConfirmation(PreviewPanel::kWidth, &shell_, changes).Ask();
  asking_ = false;
  if (!yes) return;
  // One write, and one step of the history, recorded as a restore.
  int changed = 0;
  const bool restored = store_.Restore(problem, &status, &changed);
  Reload();
  Report(!restored      ? studio_text::RestoreFailed(RegistryFilePath(), status)
         : changed == 0 ? std::u16string(studio_text::kAlreadyDefaults)
                        : studio_text::Restored(changed),
         !restored);
}

void Studio::OpenShelf(const std::string& picture) {
  if (asking_ || shelf_ != nullptr || card_.IsOpen()) return;
  ThemeShelf shelf(PreviewPanel::kWidth, &shell_, store_, [this](const std::string& path) { Take(path, true); });
  shelf.SetExportForm(panel_.ExportForm());
  shelf_ = &shelf;
  shelf.Run(picture);
  shelf_ = nullptr;
  panel_.SetExportForm(shelf.ExportForm());
  Reload();
}

void Studio::ShowHistory() {
  std::vector<ThemeStore::Step> states;
  std::size_t cursor = 0;
  std::string problem;
  std::u16string undo, redo;
  if (store_.Steps(states, cursor, problem) && cursor < states.size()) {
    if (cursor > 0) undo = studio_text::StepName(ThemeStore::Seen(states[cursor - 1], states[cursor]));
    if (cursor + 1 < states.size()) redo = studio_text::StepName(ThemeStore::Seen(states[cursor], states[cursor + 1]));
  }
  panel_.SetHistory(undo, redo);
}

void Studio::Report(std::u16string message, bool failed) {
  ShowHistory();
  if (shelf_ != nullptr) shelf_->Say(message, failed);
  card_.Report(message, failed);
  panel_.Report(std::move(message), failed);
}
