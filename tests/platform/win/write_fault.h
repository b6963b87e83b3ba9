// A full or broken disk under the file layer, played through its table of
// system calls. With fail_after_bytes >= 0, each new file takes that many
// bytes (the last write of them short) and then write() fails with
// `error_number`; with fail_fsync, fsync fails with `error_number`.
// SetWriteFault(WriteFault{}) puts the system's own calls back.
#pragma once

#include <fcntl.h>

#include <algorithm>
#include <cerrno>

#include "platform/file/system_calls.h"

struct WriteFault {
  long long fail_after_bytes = -1;
  bool fail_fsync = false;
  int error_number = 0;
};

namespace write_fault {
inline const SystemCalls kSystem = FileSystemCalls();
inline WriteFault g_fault;
inline long long g_written = 0;  // bytes of the file made last
}  // namespace write_fault

inline void SetWriteFault(const WriteFault& fault) {
  using namespace write_fault;
  g_fault = fault;
  SystemCalls& calls = FileSystemCalls();
  calls = kSystem;
  if (fault.fail_after_bytes >= 0) {
    calls.openat = [](int dir, const char* name, int flags, mode_t mode) {
      const int fd = kSystem.openat(dir, name, flags, mode);
      if (fd >= 0 && (flags & O_CREAT) != 0) g_written = 0;
      return fd;
    };
    calls.write = [](int fd, const void* bytes, size_t size) -> ssize_t {
      if (g_written >= g_fault.fail_after_bytes) {
        errno = g_fault.error_number;
        return -1;
      }
      size = std::min<size_t>(size, static_cast<size_t>(g_fault.fail_after_bytes - g_written));
      const ssize_t n = kSystem.write(fd, bytes, size);
      if (n > 0) g_written += n;
      return n;
    };
  }
  if (fault.fail_fsync) {
    calls.fsync = [](int) {
      errno = g_fault.error_number;
      return -1;
    };
  }
}
