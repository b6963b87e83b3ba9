// The undo and redo history of the 20 theme values, one per registry file,
// kept in $XDG_STATE_HOME/tintor (else ~/.local/state/tintor) so that it
// survives restarts and is shared by every Tintor using that registry file.
// It holds the theme's states, oldest first, and a cursor at the state the
// registry should hold now; each state after the first is one step. The
// file is a log: a line for each state added and for each undo and redo,
// appended, and written anew in short when it grows long. Every
// operation takes the history's lock (2 s at most), reads the registry and
// the file (unless it is as this object last left it), and records the
// registry's values as a new step only when they differ from the state at
// the cursor: a change seen by several Tintors is
// recorded once, and one that nobody recorded yet (made by hand, or while
// no studio was running) is recorded before anything else is done. A new
// step after undone ones drops those; the last 200 steps are kept. A history
// file that is corrupt, from a newer Tintor, another registry's, larger than
// 16 MiB or unreadable (not an ordinary file, say) is set aside (renamed to
// NAME.bad) with one line on standard error; a history that cannot be kept
// never stops a colour from being written, but one whose lock another
// Tintor holds is waited for and never gone around. The history
// is not flushed to disk: only the registry's own write waits for the disk.
// The theme's store (theme_store.h) is its one user.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/file/fingerprint.h"
#include "model/theme/theme_values.h"

class ThemeHistory {
 public:
  static constexpr std::size_t kMaxSteps = 200;

  struct State {
    std::string kind;  // what made it: start, change, restore, import, apply, save
    ThemeValues values;
    bool operator==(const State&) const = default;
  };

  // The history of the registry file at `registry_path`.
  explicit ThemeHistory(std::string registry_path);

  // The history file's path; empty when no home folder can be found.
  const std::string& path() const { return path_; }

  // Records the registry's values as a step of `kind` if they differ from
  // the state at the cursor. False with `problem` set when the registry or
  // the history cannot be read or written.
  bool Record(const std::string& kind, std::string& problem);

  // Writes `make(now)` over the registry's values `now` in one transaction
  // and records it as a step of `kind` (after any change nobody recorded).
  // False with `problem` set when the registry was not changed; a history
  // that cannot be kept is only warned about on standard error.
  // The values are read under the registry file's lock and written before
  // it is let go. Another Tintor holding the history's lock past 2 s makes
  // it fail with nothing written. `status` (if given) gets the registry's
  // status code. With `whole`, the registry holds nothing at an item's name
  // but what `make` stores (see UpdateThemeValues).
  bool Change(const std::string& kind, const std::function<ThemeValues(const ThemeValues& now)>& make,
              std::string& problem, LONG* status = nullptr, bool whole = false);

  enum class Outcome { kDone, kNothingToDo, kFailed };
  // Writes the state before the cursor's step (undo) or the step after it
  // (redo) in one transaction and moves the cursor.
  Outcome Undo(std::string& problem) { return Move(-1, problem); }
  Outcome Redo(std::string& problem) { return Move(+1, problem); }

  // The states and the cursor as the file holds them now (for showing).
  bool Read(std::vector<State>& states, std::size_t& cursor, std::string& problem);

 private:
  class Lock;
  Outcome Move(int direction, std::string& problem);
  bool Load(std::string& problem);
  // Appends what changed since Load to the file, or writes it anew.
  bool Save(std::string& problem);
  // Adds `values` as a step after the cursor unless the cursor holds them.
  bool Add(const std::string& kind, const ThemeValues& values);
  void Push(State state);
  // The history file's identity and times now (under the lock).
  FileFingerprint SeenFile() const;
  static void Line(std::string& out, const State& state);

  std::string registry_path_;
  std::string path_;
  std::deque<State> states_;
  std::size_t cursor_ = 0;
  std::string log_;       // lines for the file since Load
  bool rewrite_ = false;  // the file is to be written anew, not appended to
  FileFingerprint seen_;  // the file when it last held exactly states_ and cursor_
  const FilePlace* place_ = nullptr;  // the file's place while the lock is held
  std::size_t lines_ = 0;  // the file's lines then
};
