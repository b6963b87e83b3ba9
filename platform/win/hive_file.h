// The registry file on disk: where it lives, reading it again when another
// process changed it, and replacing it durably under a lock that every
// process sharing the file takes around its read-modify-write.
#pragma once

#include <functional>
#include <string>
#include <sys/types.h>

#include "platform/win/registry_hive.h"
#include "platform/win/win_types.h"

class HiveFile {
 public:
  // $TINTOR_REGISTRY, else $XDG_DATA_HOME/tintor/registry.reg, else
  // ~/.local/share/tintor/registry.reg. Empty when no home can be found.
  static std::string DefaultPath();

  // A registry file larger than this is refused as not a registry file, and
  // a change that would make the file larger is not written.
  static constexpr long long kMaxFileSize = 64LL << 20;

  explicit HiveFile(std::string path);
  ~HiveFile();
  HiveFile(const HiveFile&) = delete;
  HiveFile& operator=(const HiveFile&) = delete;

  const std::string& path() const { return path_; }
  // Why the last failing call failed, in words, for diagnostics.
  const std::string& last_error() const { return last_error_; }

  // The current content, read again only when the file changed since the
  // last look. A missing file is an empty registry. Status 0 or an ERROR_*.
  LONG Load(const RegistryHive** hive);

  // How long a change waits for another process to let go of the lock.
  static constexpr int kLockWaitMs = 2000;

  // Under the exclusive lock: reads the file again if it changed, lets
  // `change` edit the content and, when it reports a modification, writes the
  // result (a fresh temporary file beside it, fsync, rename, fsync of the
  // folder) before returning. Success means the new file is in place under
  // the file's name; a folder that cannot be flushed after that is only
  // warned about on standard error. The new file keeps the old one's owner,
  // group and mode. A file that cannot be parsed is left alone and gives an
  // error. When the path is a symbolic link, its target (resolved once per
  // change) is replaced and the link kept; no other link is followed.
  using Change = std::function<LONG(RegistryHive& hive, bool& modified)>;
  LONG Update(const Change& change);

 private:
  struct Identity {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    long long mtime_ns = 0;
    bool operator==(const Identity&) const = default;
  };

  bool FindTarget();
  LONG UntrustedLink();
  // Reads the file again if it changed: through path_, or with dir_fd >= 0
  // as name_ in that folder, without following a link.
  LONG Refresh(int dir_fd);
  LONG OpenLock(int dir_fd, int* lock_fd);
  LONG WaitForLock(int lock_fd);
  void RemoveStaleTemporaries(int dir_fd);
  LONG WriteOut(int dir_fd);
  LONG Fail(LONG status, const std::string& what, int error_number);
  void HoldOpen(int fd);

  std::string path_;
  std::string dir_;   // the folder of path_ with symbolic links followed
  std::string name_;  // the file's name in that folder
  RegistryHive hive_;
  bool loaded_ = false;
  Identity identity_;
  int held_fd_ = -1;
  std::string last_error_;
  // The folder could not be flushed after a write: said once, not after
  // each of the writes that one colour takes (the key, then the value).
  bool said_folder_unflushed_ = false;
};

// Test hook: makes the writing of registry files fail the way a full or
// broken disk does. With fail_after_bytes >= 0, write() stores that many bytes
// of each file and then fails with `error_number`; with fail_fsync, fsync of
// the file fails with `error_number`. Reset with the default value.
struct HiveWriteFault {
  long long fail_after_bytes = -1;
  bool fail_fsync = false;
  int error_number = 0;
};
void SetHiveWriteFaultForTesting(const HiveWriteFault& fault);
