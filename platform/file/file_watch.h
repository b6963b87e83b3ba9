// Tells when files or folders change, by this process or any other: a file
// written in place, replaced by a rename (as Tintor and most editors save),
// created or removed; a folder's entries added, replaced or removed, or the
// folder itself made or removed. It watches the folder of each file, and
// each watched folder itself (inotify), so it sees a file or folder that
// does not exist yet; a folder that does not exist yet is waited for from
// its nearest existing parent; for a symbolic link in the way the target's
// folder is watched too. No polling: fd() becomes readable when something
// happened, so a loop can block in poll() on it and then call Drain().
//
// When the watch cannot be set up (no inotify instance or watch left, a
// folder that may not be read), it says so in problem() and falls back to
// looking at each file or folder itself whenever Drain() is called: its
// size, times and identity tell whether it changed since the last look.
#pragma once

#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

#include "platform/file/fingerprint.h"

class FileWatch {
 public:
  // What is watched at a path: the file there, or the entries of the folder
  // there.
  enum class Kind { kFile, kFolder };
  struct Target {
    std::string path;
    Kind kind = Kind::kFile;
  };

  explicit FileWatch(std::vector<Target> targets);
  ~FileWatch();
  FileWatch(const FileWatch&) = delete;
  FileWatch& operator=(const FileWatch&) = delete;

  // Readable (poll POLLIN) when events wait; -1 when nothing can be watched.
  int fd() const { return fd_; }
  // Reads the waiting events without blocking; for each target (in the
  // order given), true when an event concerned it (read it again then), or,
  // while not following(), when it looks changed since the last call.
  // Follows a folder that appeared or a link that now points elsewhere.
  std::vector<bool> Drain();
  // Why a target cannot be watched, or empty.
  const std::string& problem() const { return problem_; }
  // True when every change is told as it happens; false when changes are
  // only found when Drain() looks (see problem()).
  bool following() const { return fd_ >= 0 && problem_.empty(); }

 private:
  // A name that matters in a watched folder (empty: any name), and the
  // target it tells of.
  struct Interest {
    std::string name;
    std::size_t target;
  };
  void Arm();
  std::vector<bool> DrainEvents();
  // What a target looks like from outside; equal when it did not change.
  FileFingerprint Look(std::size_t target) const;

  std::vector<Target> targets_;
  int fd_ = -1;
  std::map<int, std::vector<Interest>> watches_;  // watch -> what matters in its folder
  std::string problem_;
  std::vector<FileFingerprint> last_looks_;
};
