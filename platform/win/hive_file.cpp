// Reading and durably replacing the registry file.
#include "platform/win/hive_file.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <poll.h>
#include <random>
#include <string_view>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/win/reg_file_format.h"

namespace {

HiveWriteFault g_fault;

// Closes a descriptor when the scope ends.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd = -1) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() { Reset(); }
  int get() const { return fd_; }
  void Reset(int fd = -1) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }
  int Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// Whether a link may be followed. As the kernel's "protected symlinks" rule
// has it, a link in a sticky folder that everyone may write to is followed
// only when it is this user's or the folder owner's, so that nobody else can
// point a write of ours somewhere of their choosing.
bool TrustedLink(const std::string& link) {
  struct stat l;
  struct stat folder;
  if (::lstat(link.c_str(), &l) != 0 || ::stat(DirectoryOf(link).c_str(), &folder) != 0) return true;
  const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
  return !shared || l.st_uid == ::geteuid() || l.st_uid == folder.st_uid;
}

// The file that `path` finally names: symbolic links followed, a relative
// one from the folder of the link. Anything that is not a link names itself.
// False when a link on the way may not be followed.
bool FollowLinks(std::string path, std::string* target) {
  for (int hops = 0; hops < 40; ++hops) {
    char next_text[PATH_MAX];
    const ssize_t n = ::readlink(path.c_str(), next_text, sizeof next_text);
    if (n <= 0 || static_cast<std::size_t>(n) >= sizeof next_text) break;
    if (!TrustedLink(path)) return false;
    std::string next(next_text, static_cast<std::size_t>(n));
    if (next[0] != '/') next = DirectoryOf(path) + "/" + next;
    path = std::move(next);
  }
  *target = std::move(path);  // after a loop of links, opening it reports the loop
  return true;
}

// Creates the folder and its missing parents, as `mkdir -p` does.
bool MakeDirectories(const std::string& dir) {
  struct stat st;
  if (::stat(dir.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return true;
    errno = ENOTDIR;
    return false;
  }
  if (errno != ENOENT) return false;
  const std::string parent = DirectoryOf(dir);
  if (parent != dir && !MakeDirectories(parent)) return false;
  if (::mkdir(dir.c_str(), 0755) == 0 || errno == EEXIST) return true;
  return false;
}

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

bool WriteAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    std::size_t chunk = bytes.size() - done;
    if (g_fault.fail_after_bytes >= 0) {
      const auto allowed = static_cast<std::size_t>(g_fault.fail_after_bytes);
      if (done >= allowed) {
        errno = g_fault.error_number;
        return false;
      }
      chunk = std::min(chunk, allowed - done);
    }
    const ssize_t n = ::write(fd, bytes.data() + done, chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

bool SyncFile(int fd) {
  if (g_fault.fail_fsync) {
    errno = g_fault.error_number;
    return false;
  }
  return ::fsync(fd) == 0;
}

// Temporary files are named ".NAME.XXXXXX" with six of these, picked at random.
constexpr std::string_view kTempLetters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t kTempSuffix = 6;

std::string TempPrefix(const std::string& name) { return "." + name + "."; }

bool IsTempName(std::string_view entry, const std::string& name) {
  const std::string prefix = TempPrefix(name);
  if (entry.size() != prefix.size() + kTempSuffix || entry.substr(0, prefix.size()) != prefix) return false;
  return entry.substr(prefix.size()).find_first_not_of(kTempLetters) == std::string_view::npos;
}

// A new file of our own beside the registry file, under a name nobody can
// guess, never through a link: O_EXCL refuses anything already there.
int CreateTemporary(int dir_fd, const std::string& name, mode_t mode, std::string* temp_name) {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string candidate = TempPrefix(name);
    for (std::size_t i = 0; i < kTempSuffix; ++i) candidate += kTempLetters[random() % kTempLetters.size()];
    const int fd = ::openat(dir_fd, candidate.c_str(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) {
      *temp_name = std::move(candidate);
      return fd;
    }
  }
  return -1;  // errno is EEXIST
}

// A descriptor to read a folder that is held only by path (O_PATH), or -1.
int OpenForReading(int dir_fd) {
  return ::openat(dir_fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

}  // namespace

void SetHiveWriteFaultForTesting(const HiveWriteFault& fault) { g_fault = fault; }

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
bool HiveFile::FindTarget() {
  std::string target;
  if (!FollowLinks(path_, &target)) return false;
  dir_ = DirectoryOf(target);
  name_ = target.substr(target.rfind('/') + 1);
  return true;
}

LONG HiveFile::Fail(LONG status, const std::string& what, int error_number) {
  last_error_ = what;
  if (error_number != 0) {
    last_error_ += ": ";
    last_error_ += std::strerror(error_number);
  }
  return status;
}

LONG HiveFile::UntrustedLink() {
  loaded_ = false;
  return Fail(ERROR_ACCESS_DENIED, "the registry file " + path_ + " leads through a symbolic link that "
                  "another user put in a shared folder, which is never followed", 0);
}

LONG HiveFile::Refresh(int dir_fd) {
  if (path_.empty()) return Fail(ERROR_CANTOPEN, "no registry file: HOME is not set", 0);
  // Not blocking: a named pipe in the file's place must not stall the program.
  FileDescriptor fd(dir_fd >= 0
                        ? ::openat(dir_fd, name_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW)
                        : ::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0) {
    const int e = errno;
    if (e == ENOENT || e == ENOTDIR) {
      if (!loaded_ || identity_.exists) hive_ = RegistryHive();
      identity_ = Identity();
      HoldOpen(-1);
      loaded_ = true;
      return ERROR_SUCCESS;
    }
    loaded_ = false;
    return Fail(e == EACCES ? ERROR_ACCESS_DENIED : ERROR_CANTREAD,
                "cannot open the registry file " + path_, e);
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
  Identity now{true, st.st_dev, st.st_ino, st.st_size,
               static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec};
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
    const ssize_t n = ::read(fd.get(), bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
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
  if (!path_.empty() && !FindTarget()) return UntrustedLink();
  const LONG status = Refresh(-1);
  if (status != ERROR_SUCCESS) return status;
  *hive = &hive_;
  return ERROR_SUCCESS;
}

LONG HiveFile::Update(const Change& change) {
  if (path_.empty()) return Fail(ERROR_CANTOPEN, "no registry file: HOME is not set", 0);
  if (!FindTarget()) return UntrustedLink();
  if (!MakeDirectories(dir_)) {
    const int e = errno;
    return Fail(StatusForWriteErrno(e), "cannot create the folder " + dir_, e);
  }
  // Everything below happens by name inside this folder, so the folder the
  // file is replaced in is the one the lock and the temporary file are in.
  // O_PATH needs no right to read it: a folder of mode 0300 can be written.
  FileDescriptor dir(::open(dir_.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() < 0) {
    const int e = errno;
    return Fail(StatusForWriteErrno(e), "cannot open the folder " + dir_, e);
  }
  int lock_fd = -1;
  if (LONG status = OpenLock(dir.get(), &lock_fd); status != ERROR_SUCCESS) return status;
  FileDescriptor lock(lock_fd);
  if (LONG status = WaitForLock(lock.get()); status != ERROR_SUCCESS) return status;
  RemoveStaleTemporaries(dir.get());
  LONG status = Refresh(dir.get());
  if (status != ERROR_SUCCESS) return status;
  bool modified = false;
  status = change(hive_, modified);
  if (status != ERROR_SUCCESS || !modified) return status;
  // Whatever happens, the lock is released when `lock` closes.
  return WriteOut(dir.get());
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
  const mode_t mode = have_file ? (file.st_mode & 0666) : 0644;
  const int flags = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
  int opened = ::openat(dir_fd, lock_name.c_str(), flags | O_CREAT | O_EXCL, mode);
  if (opened >= 0) {
    // Made here: give it the file's mode, whatever the umask took away, and
    // when running as root, the file's owner.
    if (have_file && ::geteuid() == 0 && ::fchown(opened, file.st_uid, file.st_gid) != 0) {
      std::fprintf(stderr, "tintor: warning: cannot give the lock file %s the registry file's owner (%s)\n",
                   lock_path.c_str(), std::strerror(errno));
    }
    ::fchmod(opened, mode);
  } else if (errno == EEXIST) {
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
  while (::flock(lock_fd, LOCK_EX | LOCK_NB) != 0) {
    const int e = errno;
    if (e == EINTR) continue;
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
    if (!IsTempName(entry->d_name, name_)) continue;
    struct stat st;
    if (::fstatat(dir_fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) continue;
    if (st.st_uid != ::geteuid() && !(have_file && st.st_uid == file.st_uid)) continue;
    ::unlinkat(dir_fd, entry->d_name, 0);
  }
  ::closedir(list);
}

LONG HiveFile::WriteOut(int dir_fd) {
  const std::string bytes = EncodeRegFile(hive_);
  // The content in memory no longer matches the file until the rename is done.
  loaded_ = false;
  // What is written must be readable again.
  if (bytes.size() > static_cast<std::size_t>(kMaxFileSize)) {
    return Fail(ERROR_CANTWRITE, "the registry file " + path_ + " would grow past " +
                    std::to_string(kMaxFileSize >> 20) + " MiB; the change is not written", 0);
  }

  struct stat old;
  const bool have_old = ::fstatat(dir_fd, name_.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0 &&
                        S_ISREG(old.st_mode);
  std::string temp_name;
  // A first file gets the usual mode less the umask; a replacement gets the
  // old file's mode below, and nobody else may open it before that.
  FileDescriptor fd(CreateTemporary(dir_fd, name_, have_old ? 0600 : 0644, &temp_name));
  const std::string temp_path = dir_ + "/" + temp_name;
  if (fd.get() < 0) {
    const int e = errno;
    return Fail(StatusForWriteErrno(e), "cannot create a temporary file in " + dir_, e);
  }
  auto abandon = [&](const std::string& what) {
    const int e = errno;
    fd.Reset();
    ::unlinkat(dir_fd, temp_name.c_str(), 0);
    return Fail(StatusForWriteErrno(e), what, e);
  };
  if (have_old) {
    struct stat mine;
    if (::fstat(fd.get(), &mine) != 0) return abandon("cannot inspect " + temp_path);
    // Only root can give a file away; anyone else keeps the file as theirs,
    // as any editor saving it would.
    if ((mine.st_uid != old.st_uid || mine.st_gid != old.st_gid) &&
        ::fchown(fd.get(), old.st_uid, old.st_gid) != 0 && ::geteuid() == 0) {
      return abandon("cannot give " + temp_path + " the registry file's owner");
    }
    if (::fchmod(fd.get(), old.st_mode & 0777) != 0) {
      return abandon("cannot give " + temp_path + " the registry file's mode");
    }
  }
  if (!WriteAll(fd.get(), bytes)) return abandon("cannot write " + temp_path);
  if (!SyncFile(fd.get())) return abandon("cannot flush " + temp_path + " to disk");
  struct stat st;
  if (::fstat(fd.get(), &st) != 0) return abandon("cannot inspect " + temp_path);
  if (::renameat(dir_fd, temp_name.c_str(), dir_fd, name_.c_str()) != 0) {
    return abandon("cannot replace " + path_);
  }
  // The new file is in place; the content in memory is what it holds.
  identity_ = Identity{true, st.st_dev, st.st_ino, st.st_size,
                       static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec};
  loaded_ = true;
  HoldOpen(fd.Release());

  // The change is made; only its surviving a power cut is in doubt.
  FileDescriptor dir(OpenForReading(dir_fd));
  if ((dir.get() < 0 || ::fsync(dir.get()) != 0) && !said_folder_unflushed_) {
    said_folder_unflushed_ = true;
    std::fprintf(stderr, "tintor: warning: the registry file %s is written, but its folder %s could not be "
                 "flushed to disk (%s); this change and later ones may be lost if the power fails soon "
                 "after them\n",
                 path_.c_str(), dir_.c_str(), std::strerror(errno));
  }
  return ERROR_SUCCESS;
}
