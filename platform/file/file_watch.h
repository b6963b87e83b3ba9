// Tells when the registry file changes: written in place, replaced by a
// rename (as Tintor and most editors save), created or removed, by this
// process or any other. It watches the file's folder (inotify), so it sees
// a file that does not exist yet; a folder that does not exist yet is waited
// for from its nearest existing parent; for a symbolic link in the file's
// place the target's folder is watched too. No polling: fd() becomes
// readable when something happened, so a thread can block in poll() on it
// and wake the window, whose loop then calls Drain().
//
// When the watch cannot be set up (no inotify instance or watch left, a
// folder that may not be read), it says so in problem() and falls back to
// looking at the file itself whenever Drain() is called: its size, times and
// identity tell whether it changed since the last look.
#pragma once

#include <sys/types.h>

#include <map>
#include <set>
#include <string>

#include "platform/file/fingerprint.h"

class RegistryFileWatcher {
 public:
  explicit RegistryFileWatcher(std::string path);
  ~RegistryFileWatcher();
  RegistryFileWatcher(const RegistryFileWatcher&) = delete;
  RegistryFileWatcher& operator=(const RegistryFileWatcher&) = delete;

  // Readable (poll POLLIN) when events wait; -1 when nothing can be watched.
  int fd() const { return fd_; }
  // Reads the waiting events without blocking; true when one of them
  // concerned the file (read it again then), or, while not following(),
  // when the file looks changed since the last call. Follows a folder that
  // appeared or a link that now points elsewhere.
  bool Drain();
  // Why the file cannot be watched, or empty.
  const std::string& problem() const { return problem_; }
  // True when every change is told as it happens; false when changes are
  // only found when Drain() looks (see problem()).
  bool following() const { return fd_ >= 0 && problem_.empty(); }

 private:
  void Arm();
  bool DrainEvents();
  // What the file looks like from outside; equal when it did not change.
  FileFingerprint LookAtFile() const;

  std::string path_;
  int fd_ = -1;
  std::map<int, std::set<std::string>> watches_;  // watch -> names in its folder
  std::string problem_;
  FileFingerprint last_look_;
};
