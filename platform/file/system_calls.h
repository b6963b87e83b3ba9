// The system calls through which the file layer changes the disk, in one
// table. A test swaps entries to play a full or failing disk, as SQLite's
// unix layer lets its tests do; the program itself never changes the table.
#pragma once

#include <cerrno>
#include <sys/types.h>

struct SystemCalls {
  int (*openat)(int dir_fd, const char* name, int flags, mode_t mode);
  ssize_t (*read)(int fd, void* buffer, size_t size);
  ssize_t (*write)(int fd, const void* bytes, size_t size);
  int (*fsync)(int fd);
  int (*renameat)(int from_dir, const char* from, int to_dir, const char* to);
  int (*mkdirat)(int dir_fd, const char* name, mode_t mode);
  int (*fchown)(int fd, uid_t owner, gid_t group);
  int (*fchmod)(int fd, mode_t mode);
};

// The table in use: the system's own calls unless a test put others in.
SystemCalls& FileSystemCalls();

// Makes `call` (a system call returning -1 with errno on failure) again for
// as long as a signal interrupts it, and returns its result.
template <typename Call>
auto RetryOnInterrupt(Call call) -> decltype(call()) {
  for (;;) {
    const auto result = call();
    if (result != -1 || errno != EINTR) return result;
  }
}
