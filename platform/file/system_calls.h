// The system calls through which the file layer reaches the disk, in one
// table: every open, read, write, lock, rename, removal, listing and look at
// a file the program makes. A test swaps entries to play a full or failing
// disk, as SQLite's unix layer lets its tests do; the program itself never
// changes the table.
#pragma once

#include <cerrno>
#include <cstdint>
#include <sys/stat.h>
#include <sys/types.h>

struct open_how;

struct SystemCalls {
  int (*openat)(int dir_fd, const char* name, int flags, mode_t mode);
  // openat2(2): the same with rules for the way there (no link on it, say).
  int (*openat2)(int dir_fd, const char* name, const open_how* how);
  int (*close)(int fd);
  ssize_t (*read)(int fd, void* buffer, size_t size);
  ssize_t (*write)(int fd, const void* bytes, size_t size);
  int (*fsync)(int fd);
  int (*ftruncate)(int fd, off_t length);
  int (*renameat)(int from_dir, const char* from, int to_dir, const char* to);
  // renameat2(2): with RENAME_NOREPLACE, a rename that fails (EEXIST) where
  // a file already is; EINVAL where the file system cannot do that.
  int (*renameat2)(int from_dir, const char* from, int to_dir, const char* to, unsigned flags);
  int (*unlinkat)(int dir_fd, const char* name, int flags);
  int (*mkdirat)(int dir_fd, const char* name, mode_t mode);
  int (*fchown)(int fd, uid_t owner, gid_t group);
  int (*fchmod)(int fd, mode_t mode);
  int (*fstat)(int fd, struct stat* status);
  int (*fstatat)(int dir_fd, const char* name, struct stat* status, int flags);
  ssize_t (*readlinkat)(int dir_fd, const char* name, char* buffer, size_t size);
  int (*flock)(int fd, int operation);
  // The entries of the folder open as `fd`, as getdents64(2) gives them.
  ssize_t (*getdents64)(int fd, void* buffer, size_t size);
  int (*inotify_init1)(int flags);
  int (*inotify_add_watch)(int fd, const char* path, std::uint32_t events);
  int (*inotify_rm_watch)(int fd, int watch);
  char* (*getcwd)(char* buffer, size_t size);
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
