// The theme's store, with no screen: the one way the studio and the command
// line read and write the 20 values, keep named themes and theme files, and
// step through the history. It owns every change: each write (one item,
// several, a restore, an undo, a redo) is one locked, durable transaction:
// the history's lock, then the registry file's lock (each waited for 2 s at
// most), the values read under the registry's lock, the new ones made from
// them, the step recorded, the items that differ written in one durable
// replace of the file, and the history saved before its lock is let go. A
// write that fails takes its step back: the history is as it was (a change
// nobody had recorded yet, seen on the way, stays recorded). An operation
// that cannot have the history's lock because another Tintor holds it fails
// and changes nothing; so does one that cannot have the registry's. A
// history that cannot be kept otherwise never stops a colour from being
// written: that is only said on standard error. The phone app's own write
// of a colour is not made here (it stays the phone's); Record takes it into
// the history once it is seen, and so does every change of the store before
// its own step: a change seen by several Tintors is recorded once.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "model/theme/theme_history.h"
#include "model/theme/theme_library.h"
#include "model/theme/theme_values.h"
#include "platform/win/reg_file_format.h"

class ThemeStore {
 public:
  enum class Outcome { kDone, kNothingToDo, kFailed };
  using Step = ThemeHistory::State;

  // The store of the registry file at `registry_path` (the one the registry
  // calls use).
  explicit ThemeStore(std::string registry_path);

  // ---- The values ----
  // One read of the registry file. False, with `problem` saying why (and
  // `status` the registry's code, if given), when it cannot be read; the
  // values are then all not stored.
  bool Read(ThemeValues& values, std::string& problem, LONG* status = nullptr) const;

  // A change that a person would not see (every item drawn as before) is
  // no change: nothing is written and no step recorded; the writes below
  // then give true with `changed` (if given) 0.

  // Stores `color` as item `number` (1 to 20): a step of kind "change".
  bool SetItem(int number, COLORREF color, std::string& problem, int* changed = nullptr);
  // Puts `theme` over the registry's values (see ThemeApply) as one step of
  // `kind` ("apply", "import") made from `label` (the theme's name, the
  // file's); `changed` gets how many items a person sees change. False with
  // `problem` set when nothing was written.
  bool Apply(const ThemeValues& theme, ThemeApply how, const std::string& kind, int& changed,
             std::string& problem, const std::string& label = {});
  // Removes the 20 values: the phone's defaults, a step of kind "restore".
  // `status` (if given) gets the registry's status code.
  bool Restore(std::string& problem, LONG* status = nullptr, int* changed = nullptr);

  // A step as a person reads it: what made it, what from (a theme's name, a
  // file's; may be empty), and the items it changed that a person sees.
  struct StepSeen {
    std::string kind;
    std::string label;
    std::vector<ThemeChange> changes;
  };
  // The step that made `step` from the state `before` it.
  static StepSeen Seen(const Step& before, const Step& step);
  // Writes the state before the cursor's step (undo) or after it (redo);
  // `step` (if given) gets the step undone or redone.
  Outcome Undo(std::string& problem, StepSeen* step = nullptr) { return Move(true, problem, step); }
  Outcome Redo(std::string& problem, StepSeen* step = nullptr) { return Move(false, problem, step); }
  // Takes the registry's values as a step if the history does not hold them
  // yet: a change made by the phone, by hand, or by another program.
  bool Record(std::string& problem);
  // The history's states, oldest first, and the cursor.
  bool Steps(std::vector<Step>& steps, std::size_t& cursor, std::string& problem);

  // The history's file; empty when no home folder can be found.
  const std::string& HistoryPath() const { return history_.path(); }

  // ---- Named themes ----
  // The presets, then the saved themes' names.
  const std::vector<ThemePreset>& Presets() const { return ThemePresets(); }
  std::vector<std::string> SavedNames() const { return ListSavedThemes(); }
  // The theme `name`: a preset (put as a whole: its unset items are the
  // defaults) or a saved theme (put over the registry's). `missing` (if
  // given) tells a theme that does not exist from a bad file.
  bool Find(const std::string& name, ThemeValues& values, ThemeApply& how, std::string& problem,
            bool* missing = nullptr) const;
  // Applies the theme `name` as one step of kind "apply".
  bool ApplyNamed(const std::string& name, int& changed, std::string& problem);
  // Saves the registry's values now as theme `name` (checked by
  // CheckThemeName first).
  bool SaveCurrent(const std::string& name, std::string& problem);
  // Saves `values` as a new theme, never over one that is there (see
  // SaveNewTheme): under `name`, or when it is empty under the first free of
  // `base`, "base 2", ... "base 99". `saved` gets the name used. False with
  // `problem` set when nothing was saved; `taken` (if given) then says
  // whether the name, or every one of them, was taken.
  bool SaveNew(const std::string& name, const std::string& base, const ThemeValues& values, std::string& saved,
               std::string& problem, bool* taken = nullptr);
  // Deletes the saved theme `name`; `missing` (if given) tells one that is
  // not there.
  bool Delete(const std::string& name, std::string& problem, bool* missing = nullptr) {
    return DeleteTheme(name, problem, missing);
  }

  // ---- Theme files ----
  // Reads the registry file `file` as a theme to import. False with
  // `problem` set when it cannot be read, or when it is refused: then
  // `refused` (if given) is true and `problem` is "FILE:LINE: reason", the
  // first fault, which `fault` (if given) gets with its kind.
  static bool ReadImport(const std::string& file, ThemeValues& theme, std::string& problem,
                         bool* refused = nullptr, RegFileFault* fault = nullptr);
  // Reads `file` and puts it over the registry's values, one step of kind
  // "import".
  bool Import(const std::string& file, int& changed, std::string& problem, bool* refused = nullptr);
  // Writes every item of `values` (each stored, else its default) into the
  // registry file `path` in `form`; a link, folder, device or pipe there is
  // left alone. False with `problem` set when nothing was written.
  static bool Export(const ThemeValues& values, const std::string& path, RegFileForm form, std::string& problem);
  // The same for the registry's values now.
  bool ExportCurrent(const std::string& path, RegFileForm form, std::string& problem) const;

 private:
  // Writes `make(now)` over the registry's values `now` and records it as a
  // step of `made.kind` from `made.label` (see the top); `changed` (if
  // given) gets how many items a person sees change. `status` (if given)
  // gets the registry's status code. With `made.whole`, the registry holds
  // nothing at an item's name but what `make` stores (see UpdateThemeValues).
  struct Made {
    std::string kind;
    std::string label;
    bool whole = false;
  };
  bool Change(const Made& made, const std::function<ThemeValues(const ThemeValues& now)>& make,
              std::string& problem, int* changed = nullptr, LONG* status = nullptr);
  Outcome Move(bool undo, std::string& problem, StepSeen* step);

  ThemeHistory history_;
};
