#include "model/theme/theme_store.h"

#include <cstdio>

#include "model/theme/theme_file.h"
#include "platform/file/shown_text.h"
#include "platform/file/whole_file.h"

ThemeStore::ThemeStore(std::string registry_path) : history_(std::move(registry_path)) {}

bool ThemeStore::Read(ThemeValues& values, std::string& problem, LONG* status) const {
  return ReadThemeValues(values, problem, status);
}

bool ThemeStore::SetItem(int number, COLORREF color, std::string& problem, int* changed) {
  if (number < 1 || number > ThemeValues::kItemCount) {
    problem = "no theme item " + std::to_string(number);
    return false;
  }
  return Change({"change", {}, false}, [&](const ThemeValues& now) { return now.With(number, color); }, problem, changed);
}

bool ThemeStore::Apply(const ThemeValues& theme, ThemeApply how, const std::string& kind, int& changed,
                       std::string& problem, const std::string& label) {
  return Change({kind, label, how == ThemeApply::kWhole},
                [&](const ThemeValues& now) { return Applied(now, theme, how); }, problem, &changed);
}

bool ThemeStore::Restore(std::string& problem, LONG* status, int* changed) {
  return Change({"restore", {}, true}, [](const ThemeValues&) { return ThemeValues(); }, problem, changed, status);
}

ThemeStore::StepSeen ThemeStore::Seen(const Step& before, const Step& step) {
  return {step.kind, step.label, VisibleChanges(before.values, step.values)};
}

namespace {

void HistoryNotKept(const std::string& problem) {
  std::fprintf(stderr, "tintor: the theme is changed, but the history does not record it: %s\n",
               ShownText(problem).c_str());
}

}  // namespace

bool ThemeStore::Change(const Made& made, const std::function<ThemeValues(const ThemeValues& now)>& make,
                        std::string& problem, int* changed, LONG* status) {
  if (changed != nullptr) *changed = 0;
  ThemeHistory::Hold hold(history_);
  // A history held by another is waited for, never gone around: two
  // changes at once then land one after the other, each whole.
  if (hold.busy()) {
    problem = hold.problem();
    return false;
  }
  std::string history_problem = hold.problem();
  const bool keep = hold.held();
  bool unrecorded = false, recorded = false;
  ThemeHistory::Mark before;
  // The values are read under the registry's lock and written before it is
  // let go: nothing falls between the read and the write.
  const bool written = UpdateThemeValues([&](const ThemeValues& now) {
    unrecorded = keep && history_.Add("change", now);
    before = history_.Marked();
    const ThemeValues next = make(now);
    const std::size_t seen = VisibleChanges(now, next).size();
    if (changed != nullptr) *changed = static_cast<int>(seen);
    if (seen == 0) return now;  // no change: nothing written, nothing recorded
    recorded = keep && history_.Add(made.kind, next, made.label);
    return next;
  }, problem, status, made.whole);
  if (!written) {
    if (!keep) return false;
    history_.RollBack(std::move(before));
    if (unrecorded) history_.Save(history_problem);
    return false;
  }
  if (!keep || ((unrecorded || recorded) && !history_.Save(history_problem))) HistoryNotKept(history_problem);
  return true;
}

ThemeStore::Outcome ThemeStore::Move(bool undo, std::string& problem, StepSeen* step) {
  ThemeHistory::Hold hold(history_);
  if (!hold.held()) {
    problem = hold.problem();
    return Outcome::kFailed;
  }
  bool unrecorded = false, moved = false;
  ThemeHistory::Mark before;
  const bool written = UpdateThemeValues([&](const ThemeValues& now) {
    unrecorded = history_.Add("change", now);
    before = history_.Marked();
    moved = history_.Move(undo ? -1 : +1);
    return moved ? history_.states()[history_.cursor()].values : now;
  }, problem);
  if (!written) {
    history_.RollBack(std::move(before));
    std::string ignored;
    if (unrecorded) history_.Save(ignored);
    return Outcome::kFailed;
  }
  if (!moved) {
    if (unrecorded && !history_.Save(problem)) return Outcome::kFailed;
    problem = undo ? "nothing to undo" : "nothing to redo";
    return Outcome::kNothingToDo;
  }
  // The step undone is the one that made the state after the cursor now;
  // the step redone, the one that made the state at it.
  const std::size_t made = history_.cursor() + (undo ? 1 : 0);
  if (step != nullptr) *step = Seen(history_.states()[made - 1], history_.states()[made]);
  std::string history_problem;
  if (!history_.Save(history_problem)) HistoryNotKept(history_problem);
  return Outcome::kDone;
}

bool ThemeStore::Record(std::string& problem) {
  ThemeHistory::Hold hold(history_);
  if (!hold.held()) {
    problem = hold.problem();
    return false;
  }
  ThemeValues now;
  if (!Read(now, problem)) return false;
  return !history_.Add("change", now) || history_.Save(problem);
}

bool ThemeStore::Steps(std::vector<Step>& steps, std::size_t& cursor, std::string& problem) {
  ThemeHistory::Hold hold(history_);
  if (!hold.held()) {
    problem = hold.problem();
    return false;
  }
  steps.assign(history_.states().begin(), history_.states().end());
  cursor = history_.cursor();
  return true;
}

bool ThemeStore::Find(const std::string& name, ThemeValues& values, ThemeApply& how, std::string& problem,
                      bool* missing) const {
  if (missing != nullptr) *missing = false;
  // A preset is what it says whatever the themes folder holds.
  if (const ThemePreset* preset = FindPreset(TrimmedThemeName(name))) {
    values = preset->values;
    how = ThemeApply::kWhole;
    return true;
  }
  how = ThemeApply::kOver;
  return LoadTheme(name, values, problem, missing);
}

bool ThemeStore::ApplyNamed(const std::string& name, int& changed, std::string& problem) {
  ThemeValues theme;
  ThemeApply how = ThemeApply::kOver;
  changed = 0;
  return Find(name, theme, how, problem) && Apply(theme, how, "apply", changed, problem, name);
}

bool ThemeStore::SaveCurrent(const std::string& name, std::string& problem) {
  ThemeValues now;
  return Read(now, problem) && SaveTheme(name, now, problem);
}

bool ThemeStore::SaveNew(const std::string& name, const std::string& base, const ThemeValues& values,
                         std::string& saved, std::string& problem, bool* taken) {
  constexpr int kMostTries = 99;
  bool was_taken = false;
  for (int n = 1; n <= (name.empty() ? kMostTries : 1); ++n) {
    const std::string tried = !name.empty() ? name : n == 1 ? base : base + " " + std::to_string(n);
    if (SaveNewTheme(tried, values, problem, &was_taken, &saved)) return true;
    if (!was_taken) break;
  }
  if (taken != nullptr) *taken = was_taken;
  if (was_taken && name.empty()) problem = "every name from '" + base + "' to '" + base + " 99' is taken";
  return false;
}

bool ThemeStore::ReadImport(const std::string& file, ThemeValues& theme, std::string& problem, bool* refused,
                            RegFileFault* fault) {
  if (refused != nullptr) *refused = false;
  std::string bytes;
  if (!ReadWholeFile(file, bytes, problem)) return false;
  RegFileFault found;
  if (ReadThemeFile(bytes, theme, found)) return true;
  if (refused != nullptr) *refused = true;
  problem = found.In(file);
  if (fault != nullptr) *fault = std::move(found);
  return false;
}

bool ThemeStore::Import(const std::string& file, int& changed, std::string& problem, bool* refused) {
  ThemeValues theme;
  changed = 0;
  return ReadImport(file, theme, problem, refused) &&
         Apply(theme, ThemeApply::kOver, "import", changed, problem, file.substr(file.rfind('/') + 1));
}

bool ThemeStore::Export(const ThemeValues& values, const std::string& path, RegFileForm form, std::string& problem) {
  // An export goes where it is asked: no folder is made for it.
  return ReplaceWholeFile(path, EncodeThemeFile(values.Completed(), form), problem, true, MissingFolder::kRefuse);
}

bool ThemeStore::ExportCurrent(const std::string& path, RegFileForm form, std::string& problem) const {
  ThemeValues now;
  return Read(now, problem) && Export(now, path, form, problem);
}
