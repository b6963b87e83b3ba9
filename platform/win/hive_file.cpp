// Reading and durably replacing the registry file.
#include "platform/win/hive_file.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <climits>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
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
  void Reset() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
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

// The file that `path` finally names: symbolic links followed, a relative
// one from the folder of the link. Anything that is not a link names itself.
std::string FollowLinks(std::string path) {
  for (int hops = 0; hops < 40; ++hops) {
    char target[PATH_MAX];
    const ssize_t n = ::readlink(path.c_str(), target, sizeof target);
    if (n <= 0 || static_cast<std::size_t>(n) >= sizeof target) return path;
    std::string next(target, static_cast<std::size_t>(n));
    if (next[0] != '/') next = DirectoryOf(path) + "/" + next;
    path = std::move(next);
  }
  return path;  // a loop of links: opening it reports the loop
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

int LockExclusive(int fd) {
  while (::flock(fd, LOCK_EX) != 0) {
    if (errno != EINTR) return -1;
  }
  return 0;
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

HiveFile::HiveFile(std::string path)
    : path_(std::move(path)) {
  FindTarget();
}

// A registry file reached through a symbolic link is written in its target's
// place, so the link stays and everyone using the target shares its lock.
void HiveFile::FindTarget() {
  target_ = FollowLinks(path_);
  temp_path_ = target_ + ".tmp";
  lock_path_ = target_ + ".lock";
}

LONG HiveFile::Fail(LONG status, const std::string& what, int error_number) {
  last_error_ = what;
  if (error_number != 0) {
    last_error_ += ": ";
    last_error_ += std::strerror(error_number);
  }
  return status;
}

// A temporary file is only ever written under the lock; one that exists while
// nobody holds the lock was left by a writer that died, and is removed.
void HiveFile::RemoveStaleTemporary() {
  stale_checked_ = true;
  if (::access(temp_path_.c_str(), F_OK) != 0) return;
  FileDescriptor lock(::open(lock_path_.c_str(), O_RDWR | O_CLOEXEC));
  if (lock.get() < 0) return;
  if (::flock(lock.get(), LOCK_EX | LOCK_NB) == 0) ::unlink(temp_path_.c_str());
}

LONG HiveFile::Refresh() {
  if (path_.empty()) return Fail(ERROR_CANTOPEN, "no registry file: HOME is not set", 0);
  if (!stale_checked_) RemoveStaleTemporary();
  // Not blocking: a named pipe in the file's place must not stall the program.
  FileDescriptor fd(::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
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
  FindTarget();
  const LONG status = Refresh();
  if (status != ERROR_SUCCESS) return status;
  *hive = &hive_;
  return ERROR_SUCCESS;
}

LONG HiveFile::Update(const Change& change) {
  if (path_.empty()) return Fail(ERROR_CANTOPEN, "no registry file: HOME is not set", 0);
  FindTarget();
  const std::string dir = DirectoryOf(target_);
  if (!MakeDirectories(dir)) {
    const int e = errno;
    return Fail(StatusForWriteErrno(e), "cannot create the folder " + dir, e);
  }
  FileDescriptor lock(::open(lock_path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644));
  if (lock.get() < 0) {
    const int e = errno;
    return Fail(StatusForWriteErrno(e), "cannot open the lock file " + lock_path_, e);
  }
  if (LockExclusive(lock.get()) != 0) {
    const int e = errno;
    return Fail(ERROR_CANTWRITE, "cannot lock " + lock_path_, e);
  }
  LONG status = Refresh();
  if (status != ERROR_SUCCESS) return status;
  bool modified = false;
  status = change(hive_, modified);
  if (status != ERROR_SUCCESS || !modified) return status;
  status = WriteOut();
  // Whatever happened, the lock is released when `lock` closes.
  return status;
}

LONG HiveFile::WriteOut() {
  const std::string bytes = EncodeRegFile(hive_);
  const std::string dir = DirectoryOf(target_);
  // The content in memory no longer matches the file until the rename is done.
  loaded_ = false;
  // What is written must be readable again.
  if (bytes.size() > static_cast<std::size_t>(kMaxFileSize)) {
    return Fail(ERROR_CANTWRITE, "the registry file " + path_ + " would grow past " +
                    std::to_string(kMaxFileSize >> 20) + " MiB; the change is not written", 0);
  }

  mode_t mode = 0644;
  struct stat old;
  if (::stat(target_.c_str(), &old) == 0) mode = old.st_mode & 07777;

  ::unlink(temp_path_.c_str());  // a leftover of a writer that died
  FileDescriptor fd(::open(temp_path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode));
  if (fd.get() < 0) {
    const int e = errno;
    return Fail(StatusForWriteErrno(e), "cannot create " + temp_path_, e);
  }
  auto abandon = [&](const std::string& what) {
    const int e = errno;
    fd.Reset();
    ::unlink(temp_path_.c_str());
    return Fail(StatusForWriteErrno(e), what, e);
  };
  if (!WriteAll(fd.get(), bytes)) return abandon("cannot write " + temp_path_);
  if (!SyncFile(fd.get())) return abandon("cannot flush " + temp_path_ + " to disk");
  struct stat st;
  if (::fstat(fd.get(), &st) != 0) return abandon("cannot inspect " + temp_path_);
  if (::rename(temp_path_.c_str(), target_.c_str()) != 0) {
    const int e = errno;
    ::unlink(temp_path_.c_str());
    return Fail(StatusForWriteErrno(e), "cannot replace " + path_, e);
  }
  // The new file is in place; the content in memory is what it holds.
  identity_ = Identity{true, st.st_dev, st.st_ino, st.st_size,
                       static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec};
  loaded_ = true;
  HoldOpen(fd.Release());

  FileDescriptor dir_fd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir_fd.get() < 0 || ::fsync(dir_fd.get()) != 0) {
    const int e = errno;
    return Fail(ERROR_REGISTRY_IO_FAILED, "cannot flush the folder " + dir + " to disk", e);
  }
  return ERROR_SUCCESS;
}
