#include "platform/file/system_calls.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

SystemCalls& FileSystemCalls() {
  static SystemCalls calls{
      [](int dir_fd, const char* name, int flags, mode_t mode) { return ::openat(dir_fd, name, flags, mode); },
      ::read,
      ::write,
      ::fsync,
      ::renameat,
      ::mkdirat,
      ::fchown,
      ::fchmod,
  };
  return calls;
}
