// Reading and durably replacing the registry file.
#include "platform/win/hive_file.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file/replace_file.h"
#include "platform/file/system_calls.h"
#include "platform/win/reg_file_format.h"

namespace {

LONG StatusForWriteErrno(int error_number) {
  switch (error_number) {
    case ENOSPC:
    case EDQUOT:
      return ERROR_DISK_FULL;
    case EACCES:
    case EPERM:
    case EROFS:
      return ERROR_ACCESS_DENIED;
    default:
      return ERROR_CANTWRITE;
  }
}

// A descriptor to read a folder that is held only by path (O_PATH), or -1.
int OpenForReading(int dir_fd) {
  return ::openat(dir_fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

}  // namespace

std::string HiveFile::DefaultPath() {
  const char* named = std::getenv("TINTOR_REGISTRY");
  if (named != nullptr && named[0] != '\0') return named;
  const char* data_home = std::getenv("XDG_DATA_HOME");
  if (data_home != nullptr && data_home[0] == '/') {
    return std::string(data_home) + "/tintor/registry.reg";
  }
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] == '\0') {
    const passwd* pw = ::getpwuid(::getuid());
    home = pw != nullptr ? pw->pw_dir : nullptr;
  }
  if (home == nullptr || home[0] == '\0') return {};
  return std::string(home) + "/.local/share/tintor/registry.reg";
}

HiveFile::HiveFile(std::string path) : path_(std::move(path)) {}

// A registry file reached through a symbolic link is written in its target's
// place, so the link stays and everyone using the target shares its lock.
// Only a link of this user's or root's is followed.
bool HiveFile::Locate(bool make_folders, FilePlace* place, FileError* error) {
  if (!FindPlace(path_, true, make_folders, place, error)) return false;
  dir_ = place->folder_path;
  name_ = place->name;
  return true;
}

HiveFile::Identity HiveFile::IdentityOf(const struct stat& st) {
  return Identity{true, st.st_dev, st.st_ino, st.st_size,
                  static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec};
}

LONG HiveFile::Fail(LONG status, const std::string& what, int error_number) {
  last_error_ = what;
  if (error_number != 0) {
    last_error_ += ": ";
    last_error_ += std::strerror(error_number);
  }
  return status;
}

LONG HiveFile::Missing() {
  if (!loaded_ || identity_.exists) hive_ = RegistryHive();
  identity_ = Identity();
  HoldOpen(-1);
  loaded_ = true;
  return ERROR_SUCCESS;
}

LONG HiveFile::CannotOpen(int error_number, const std::string& why) {
  loaded_ = false;
  return Fail(error_number == EACCES || error_number == EPERM ? ERROR_ACCESS_DENIED : ERROR_CANTREAD,
              "cannot open the registry file " + path_ + ": " + why, 0);
}

LONG HiveFile::Refresh(int dir_fd) {
  // Not blocking: a named pipe in the file's place must not stall the program.
  FileDescriptor fd(::openat(dir_fd, name_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW));
  if (fd.get() < 0) {
    const int e = errno;
    if (e == ENOENT || e == ENOTDIR) return Missing();
    return CannotOpen(e, std::strerror(e));
  }
  struct stat st;
  if (::fstat(fd.get(), &st) != 0) {
    loaded_ = false;
    return Fail(ERROR_CANTREAD, "cannot inspect the registry file " + path_, errno);
  }
  if (!S_ISREG(st.st_mode)) {
    loaded_ = false;
    return Fail(ERROR_REGISTRY_CORRUPT,
                "the registry file " + path_ + " is not an ordinary file and is left as it is", 0);
  }
  const auto too_large = [this] {
    loaded_ = false;
    return Fail(ERROR_REGISTRY_CORRUPT, "the registry file " + path_ + " is larger than " +
                    std::to_string(kMaxFileSize >> 20) + " MiB and is left as it is", 0);
  };
  if (st.st_size > kMaxFileSize) return too_large();
  const Identity now = IdentityOf(st);
  if (loaded_ && now == identity_) return ERROR_SUCCESS;

  std::string bytes;
  bytes.resize(static_cast<std::size_t>(st.st_size));
  std::size_t done = 0;
  while (true) {
    if (done == bytes.size()) {
      // The file grew since fstat; it may still not grow past the limit.
      if (done > static_cast<std::size_t>(kMaxFileSize)) return too_large();
      bytes.resize(bytes.size() + 4096);
    }
    const ssize_t n = RetryOnInterrupt(
        [&] { return FileSystemCalls().read(fd.get(), bytes.data() + done, bytes.size() - done); });
    if (n < 0) {
      loaded_ = false;
      return Fail(ERROR_CANTREAD, "cannot read the registry file " + path_, errno);
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  bytes.resize(done);
  RegistryHive parsed;
  std::string why;
  // A file of no bytes holds nothing to lose: it is an empty registry, as a
  // missing file is, and the first change writes a sound file over it.
  if (!bytes.empty() && !ParseRegFile(bytes.data(), bytes.size(), &parsed, &why)) {
    loaded_ = false;
    return Fail(ERROR_REGISTRY_CORRUPT,
                "the registry file " + path_ + " cannot be read and is left as it is: " + why, 0);
  }
  hive_ = std::move(parsed);
  identity_ = now;
  loaded_ = true;
  HoldOpen(fd.Release());
  return ERROR_SUCCESS;
}

HiveFile::~HiveFile() { HoldOpen(-1); }

// Keeping the file that the content came from open keeps its inode number
// from being given to a newer file, so an equal identity means the same file.
void HiveFile::HoldOpen(int fd) {
  if (held_fd_ >= 0) ::close(held_fd_);
  held_fd_ = fd;
}

LONG HiveFile::Load(const RegistryHive** hive) {
  if (path_.empty()) return Fail(ERROR_CANTOPEN, "no registry file: HOME is not set", 0);
  FilePlace place;
  FileError error;
  LONG status;
  if (Locate(false, &place, &error)) {
    status = Refresh(place.folder.get());
  } else if (error.error_number == ENOENT || error.error_number == ENOTDIR) {
    status = Missing();
  } else {
    status = CannotOpen(error.error_number, error.reason);
  }
  if (status != ERROR_SUCCESS) return status;
  *hive = &hive_;
  return ERROR_SUCCESS;
}

LONG HiveFile::Update(const Change& change) {
  if (path_.empty()) return Fail(ERROR_CANTOPEN, "no registry file: HOME is not set", 0);
  // Everything below happens by name inside this folder, so the folder the
  // file is replaced in is the one the lock and the temporary file are in.
  // It is held with O_PATH, which needs no right to read it: a folder of
  // mode 0300 can be written.
  FilePlace place;
  FileError error;
  if (!Locate(true, &place, &error)) {
    loaded_ = false;
    return Fail(StatusForWriteErrno(error.error_number),
                "cannot write the registry file " + path_ + ": " + error.reason, 0);
  }
  const int dir = place.folder.get();
  int lock_fd = -1;
  if (LONG status = OpenLock(dir, &lock_fd); status != ERROR_SUCCESS) return status;
  FileDescriptor lock(lock_fd);
  if (LONG status = WaitForLock(lock.get()); status != ERROR_SUCCESS) return status;
  RemoveStaleTemporaries(dir);
  LONG status = Refresh(dir);
  if (status != ERROR_SUCCESS) return status;
  bool modified = false;
  status = change(hive_, modified);
  if (status != ERROR_SUCCESS || !modified) return status;
  // Whatever happens, the lock is released when `lock` closes.
  return WriteOut(place);
}

// The lock file sits beside the registry file and takes its owner and mode.
// It is opened for reading only, so anyone who can read the registry can
// take the lock, and it is never reached through a link.
LONG HiveFile::OpenLock(int dir_fd, int* lock_fd) {
  const std::string lock_name = name_ + ".lock";
  const std::string lock_path = dir_ + "/" + lock_name;
  struct stat file;
  const bool have_file = ::fstatat(dir_fd, name_.c_str(), &file, AT_SYMLINK_NOFOLLOW) == 0 &&
                         S_ISREG(file.st_mode);
  // Before the first registry file, the lock gets the mode that file will
  // get: the usual one less the umask.
  const mode_t mode = have_file ? (file.st_mode & 0666) : kNewFileMode;
  const int flags = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
  int opened = ::openat(dir_fd, lock_name.c_str(), flags | O_CREAT | O_EXCL, mode);
  if (opened >= 0 && have_file) {
    // Made here: give it the file's mode, whatever the umask took away, and
    // when running as root, the file's owner.
    if (::geteuid() == 0 && ::fchown(opened, file.st_uid, file.st_gid) != 0) {
      std::fprintf(stderr, "tintor: warning: cannot give the lock file %s the registry file's owner (%s)\n",
                   lock_path.c_str(), std::strerror(errno));
    }
    ::fchmod(opened, mode);
  } else if (opened < 0 && errno == EEXIST) {
    opened = ::openat(dir_fd, lock_name.c_str(), flags);
  }
  FileDescriptor fd(opened);
  if (fd.get() < 0) {
    const int e = errno;
    if (e == ELOOP) {
      return Fail(ERROR_ACCESS_DENIED, "the lock file " + lock_path +
                      " is a symbolic link, which is never followed; the change is not written", 0);
    }
    return Fail(StatusForWriteErrno(e), "cannot open the lock file " + lock_path, e);
  }
  struct stat st;
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
    return Fail(ERROR_CANTWRITE, "the lock file " + lock_path + " is not an ordinary file", 0);
  }
  *lock_fd = fd.Release();
  return ERROR_SUCCESS;
}

// Waits a bounded time: a process that keeps the lock must not freeze this
// one. The holder lets go by closing the lock file, which wakes the wait at
// once, so a waiter gets its turn between the changes of a busy writer.
LONG HiveFile::WaitForLock(int lock_fd) {
  const std::string lock_path = dir_ + "/" + name_ + ".lock";
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kLockWaitMs);
  FileDescriptor closes;  // notices of the lock file being closed, once there is a wait
  bool watching = false;
  while (RetryOnInterrupt([lock_fd] { return ::flock(lock_fd, LOCK_EX | LOCK_NB); }) != 0) {
    const int e = errno;
    if (e != EWOULDBLOCK) return Fail(ERROR_CANTWRITE, "cannot lock " + lock_path, e);
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      return Fail(ERROR_CANTWRITE, "another process has held the lock " + lock_path + " for " +
                      std::to_string(kLockWaitMs / 1000) + " s; the change is not written", 0);
    }
    if (!watching) {
      // Watched before the next try, so a release after that try is seen.
      watching = true;
      closes.Reset(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
      if (closes.get() >= 0) ::inotify_add_watch(closes.get(), lock_path.c_str(), IN_CLOSE | IN_DONT_FOLLOW);
      continue;
    }
    // Short naps as well, in case a notice is missed or cannot be had.
    pollfd wait{closes.get(), POLLIN, 0};
    ::poll(&wait, 1, static_cast<int>(std::min<long long>(left.count(), 10)));
    char drained[4096];
    while (closes.get() >= 0 && ::read(closes.get(), drained, sizeof drained) > 0) {
    }
  }
  return ERROR_SUCCESS;
}

// Temporary files are only ever written under the lock, so while we hold it,
// one that is there was left by a writer that died. Only ours are removed:
// ordinary files (a link is never ours) of our name's pattern, owned by this
// user or by the registry file's owner, whom a writer running as root gives
// them to.
void HiveFile::RemoveStaleTemporaries(int dir_fd) {
  const int list_fd = OpenForReading(dir_fd);
  if (list_fd < 0) return;  // a folder we may not list keeps what it has
  DIR* list = ::fdopendir(list_fd);
  if (list == nullptr) {
    ::close(list_fd);
    return;
  }
  struct stat file;
  const bool have_file = ::fstatat(dir_fd, name_.c_str(), &file, AT_SYMLINK_NOFOLLOW) == 0;
  while (const dirent* entry = ::readdir(list)) {
    if (!IsTemporaryFileOf(entry->d_name, name_)) continue;
    struct stat st;
    if (::fstatat(dir_fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) continue;
    if (st.st_uid != ::geteuid() && !(have_file && st.st_uid == file.st_uid)) continue;
    ::unlinkat(dir_fd, entry->d_name, 0);
  }
  ::closedir(list);
}

LONG HiveFile::WriteOut(const FilePlace& place) {
  const std::string bytes = EncodeRegFile(hive_);
  // The content in memory no longer matches the file until the rename is done.
  loaded_ = false;
  // What is written must be readable again.
  if (bytes.size() > static_cast<std::size_t>(kMaxFileSize)) {
    return Fail(ERROR_CANTWRITE, "the registry file " + path_ + " would grow past " +
                    std::to_string(kMaxFileSize >> 20) + " MiB; the change is not written", 0);
  }
  ReplaceOptions options;
  options.link = LinkAtPath::kWriteThrough;
  options.durable = true;
  options.new_file_mode = kNewFileMode;
  Replaced replaced;
  FileError error;
  if (!ReplaceFileIn(place, bytes, options, &replaced, &error)) {
    return Fail(StatusForWriteErrno(error.error_number),
                "cannot write the registry file " + path_ + ": " + error.reason, 0);
  }
  // The new file is in place; the content in memory is what it holds.
  identity_ = IdentityOf(replaced.status);
  loaded_ = true;
  HoldOpen(replaced.file.Release());
  // The change is made; only its surviving a power cut is in doubt.
  if (replaced.folder_sync_error != 0 && !said_folder_unflushed_) {
    said_folder_unflushed_ = true;
    std::fprintf(stderr, "tintor: warning: the registry file %s is written, but its folder %s could not be "
                 "flushed to disk (%s); this change and later ones may be lost if the power fails soon "
                 "after them\n",
                 path_.c_str(), dir_.c_str(), std::strerror(replaced.folder_sync_error));
  }
  return ERROR_SUCCESS;
}
