#include "platform/file/system_calls.h"

#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/syscall.h>
#include <unistd.h>

SystemCalls& FileSystemCalls() {
  static SystemCalls calls{
      [](int dir_fd, const char* name, int flags, mode_t mode) { return ::openat(dir_fd, name, flags, mode); },
      [](int dir_fd, const char* name, const open_how* how) {
        return static_cast<int>(::syscall(SYS_openat2, dir_fd, name, how, sizeof *how));
      },
      ::close,
      ::read,
      ::write,
      ::fsync,
      ::ftruncate,
      ::renameat,
      ::renameat2,
      ::unlinkat,
      ::mkdirat,
      ::fchown,
      ::fchmod,
      ::fstat,
      ::fstatat,
      ::readlinkat,
      ::flock,
      ::getdents64,
      ::inotify_init1,
      ::inotify_add_watch,
      ::inotify_rm_watch,
      ::getcwd,
  };
  return calls;
}
