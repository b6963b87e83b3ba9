// The undo and redo history of the 20 theme values as a file: one per
// registry file, kept in $XDG_STATE_HOME/tintor (else ~/.local/state/tintor)
// so that it survives restarts and is shared by every Tintor using that
// registry file. It holds the theme's states, oldest first, and a cursor at
// the state the registry should hold now; each state after the first is one
// step. The file is a log: a line for each state added and for each undo and
// redo, appended, and written anew in short when it grows long. A hold takes
// the history's lock (2 s at most) and reads the file (unless it is as this
// object last left it); what is added or moved while it is held is written
// by Save, or taken back by RollBack. A new step after undone ones drops
// those; the last 200 steps are kept. A history file that is corrupt, from a
// newer Tintor, another registry's, larger than 16 MiB or unreadable (not an
// ordinary file, say) is set aside (renamed to NAME.bad) with one line on
// standard error. The history is not flushed to disk: only the registry's
// own write waits for the disk. It knows nothing of the registry: the
// theme's store (theme_store.h) reads and writes the values and is its one
// user.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

#include "model/theme/theme_values.h"
#include "platform/file/file_place.h"
#include "platform/file/fingerprint.h"

class ThemeHistory {
 public:
  static constexpr std::size_t kMaxSteps = 200;

  struct State {
    std::string kind;  // what made it: start, change, restore, import, apply
    ThemeValues values;
    std::string label;  // what it was made from: a theme's name, a file's; may be empty
    bool operator==(const State&) const = default;
  };

  // The history of the registry file at `registry_path`.
  explicit ThemeHistory(std::string registry_path);

  // The history file's path; empty when no home folder can be found.
  const std::string& path() const { return path_; }

  // One operation on the history: its lock taken (another Tintor's hold
  // waited for 2 s at most) and its file read, until the hold goes.
  class Hold {
   public:
    explicit Hold(ThemeHistory& history);
    ~Hold();
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

    // The lock is held and the file read: the history may be used.
    bool held() const { return read_; }
    // Another Tintor has held the lock past the bound.
    bool busy() const { return busy_; }
    // Why it is not held.
    const std::string& problem() const { return problem_; }

   private:
    ThemeHistory& history_;
    FilePlace place_;
    FileDescriptor lock_;
    bool busy_ = false;
    bool read_ = false;
    std::string problem_;
  };

  // ---- While a hold is held ----
  const std::deque<State>& states() const { return states_; }
  std::size_t cursor() const { return cursor_; }
  // Adds `values` as a step of `kind`, made from `label` (shown on one
  // line), after the cursor (dropping the steps undone) unless the cursor
  // holds them; the first state is "start".
  bool Add(const std::string& kind, const ThemeValues& values, const std::string& label = {});
  // Moves the cursor one state back (-1, undo) or on (+1, redo); false when
  // there is none.
  bool Move(int direction);
  // What is in memory, to be taken back to: the states, the cursor, the
  // lines not yet written.
  struct Mark {
    std::deque<State> states;
    std::size_t cursor = 0;
    std::size_t log_size = 0;
  };
  Mark Marked() const { return {states_, cursor_, log_.size()}; }
  void RollBack(Mark mark);
  // Writes what was added or moved since the hold began: appended to the
  // file, or the file written anew.
  bool Save(std::string& problem);

 private:
  bool Load(std::string& problem);
  // The file's bytes as read now; `missing` when there is none yet, `why`
  // when it is to be set aside. False when it cannot be read now (no memory,
  // no file descriptor left), which is not the file's fault.
  bool ReadLines(std::string& bytes, bool& missing, std::string& why, std::string& problem);
  void Parse(const std::string& bytes, std::string& why);
  bool SetAside(const std::string& why, std::string& problem);
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
  bool torn_ = false;      // the last line read was cut short
  bool old_format_ = false;  // the file read is of an older version
};
