// The registry file on disk: where it lives, reading it again when another
// process changed it, and replacing it durably under a lock that every
// process sharing the file takes around its read-modify-write.
#pragma once

#include <functional>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>

#include "platform/file/file_place.h"
#include "platform/file/fingerprint.h"
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
  // change) is replaced and the link kept. A link of any user but this one
  // or root, on the way or at the path, is never followed (ERROR_ACCESS_DENIED).
  using Change = std::function<LONG(RegistryHive& hive, bool& modified)>;
  LONG Update(const Change& change);

 private:
  // A first registry file's mode, less the umask.
  static constexpr mode_t kNewFileMode = 0644;

  bool Locate(bool make_folders, FilePlace* place, FileError* error);
  // Reads the file again if it changed: name_ in that folder, without
  // following a link.
  LONG Refresh(int dir_fd);
  LONG Missing();
  // The file is past the size a registry file may have; it is left as it is.
  LONG TooLarge();
  // All of the open file `fd` (`size` bytes when it was looked at) into `bytes`.
  LONG ReadAll(int fd, std::size_t size, std::string* bytes);
  LONG CannotOpen(int error_number, const std::string& why);
  // Takes the lock beside the file.
  LONG Lock(const FilePlace& place, FileDescriptor* lock);
  LONG WriteOut(const FilePlace& place);
  LONG Fail(LONG status, const std::string& what, int error_number);
  void HoldOpen(int fd);

  std::string path_;
  std::string dir_;   // the folder of path_ with symbolic links followed
  std::string name_;  // the file's name in that folder
  RegistryHive hive_;
  bool loaded_ = false;
  FileFingerprint identity_;
  uid_t owner_ = static_cast<uid_t>(-1);  // the file's, as last looked at; -1 while there is none
  FileDescriptor held_;
  std::string last_error_;
  // The folder could not be flushed after a write: said once, not after
  // each of the writes that one colour takes (the key, then the value).
  bool said_folder_unflushed_ = false;
};
