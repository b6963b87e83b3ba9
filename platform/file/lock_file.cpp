#include "platform/file/lock_file.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "platform/file/shown_text.h"
#include "platform/file/system_calls.h"

namespace {

bool Open(const FilePlace& place, const std::string& name, const LockOptions& options, FileDescriptor* lock,
          FileError* error) {
  const SystemCalls& calls = FileSystemCalls();
  const int folder = place.folder.get();
  constexpr int kFlags = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
  // Nearly always there already: opened as it is, made only when missing.
  FileDescriptor fd(RetryOnInterrupt([&] { return calls.openat(folder, name.c_str(), kFlags, 0); }));
  if (fd.get() < 0 && errno == ENOENT) {
    struct stat like;
    const bool have_like = options.like != nullptr &&
                           calls.fstatat(folder, options.like, &like, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(like.st_mode);
    const mode_t mode = have_like ? (like.st_mode & 0666) : options.new_file_mode;
    fd.Reset(RetryOnInterrupt([&] { return calls.openat(folder, name.c_str(), kFlags | O_CREAT | O_EXCL, mode); }));
    if (fd.get() >= 0 && have_like) {
      // Made here: the guarded file's mode, whatever the umask took away, and
      // when running as root, its owner.
      if (::geteuid() == 0 && calls.fchown(fd.get(), like.st_uid, like.st_gid) != 0) {
        std::fprintf(stderr, "tintor: warning: cannot give the lock file %s/%s its file's owner (%s)\n",
                     ShownText(place.folder_path).c_str(), ShownText(name).c_str(), std::strerror(errno));
      }
      calls.fchmod(fd.get(), mode);
    } else if (fd.get() < 0 && errno == EEXIST) {
      // Another process made it meanwhile.
      fd.Reset(RetryOnInterrupt([&] { return calls.openat(folder, name.c_str(), kFlags, 0); }));
    }
  }
  if (fd.get() < 0) {
    if (errno == ELOOP) return Fail(error, ELOOP, "it is a symbolic link, which is never followed");
    return SystemFail(error);
  }
  struct stat st;
  if (calls.fstat(fd.get(), &st) != 0) return SystemFail(error);
  if (!S_ISREG(st.st_mode)) return Fail(error, EINVAL, "it is not an ordinary file");
  *lock = std::move(fd);
  return true;
}

}  // namespace

bool TakeLock(const FilePlace& place, const std::string& name, const LockOptions& options, FileDescriptor* lock,
              FileError* error) {
  FileDescriptor fd;
  if (!Open(place, name, options, &fd, error)) return false;
  const SystemCalls& calls = FileSystemCalls();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(options.wait_ms);
  FileDescriptor closes;  // notices of the lock file being closed, once there is a wait
  bool watching = false;
  while (RetryOnInterrupt([&] { return calls.flock(fd.get(), LOCK_EX | LOCK_NB); }) != 0) {
    if (errno != EWOULDBLOCK) return SystemFail(error);
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      return Fail(error, ETIMEDOUT, "another process has held it for " + std::to_string(options.wait_ms / 1000) + " s");
    }
    if (!watching) {
      // Watched before the next try, so a release after that try is seen.
      // The file open here is watched, not whatever its name leads to now.
      watching = true;
      closes.Reset(calls.inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
      const std::string self = "/proc/self/fd/" + std::to_string(fd.get());
      if (closes.get() >= 0) calls.inotify_add_watch(closes.get(), self.c_str(), IN_CLOSE);
      continue;
    }
    // Short naps as well, in case a notice is missed or cannot be had.
    pollfd wait{closes.get(), POLLIN, 0};
    ::poll(&wait, 1, static_cast<int>(std::min<long long>(left.count(), 10)));
    char drained[4096];
    while (closes.get() >= 0 && calls.read(closes.get(), drained, sizeof drained) > 0) {
    }
  }
  *lock = std::move(fd);
  return true;
}
