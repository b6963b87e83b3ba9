// A lock file beside the file it guards: every process that changes that
// file takes the lock (flock, exclusive) around its read-modify-write. The
// lock file is made when missing, opened for reading only (so anyone who may
// read the guarded file may take it), never through a link, never blocking on
// a pipe, and only an ordinary file serves. The wait is bounded: a process
// that keeps the lock must not freeze another. The holder lets go by closing
// it, which wakes a waiter at once.
#pragma once

#include <string>
#include <sys/stat.h>

#include "platform/file/file_descriptor.h"
#include "platform/file/file_place.h"

struct LockOptions {
  mode_t new_file_mode = 0644;  // less the umask, unless `like` names a file
  // When given, a lock file made now gets the mode of the file of this name
  // in the same folder (when there is one, an ordinary file) exactly and,
  // when running as root, its owner and group. Looked at only then.
  const char* like = nullptr;
  int wait_ms = 2000;
};

// Takes the lock file `name` in the place's folder (`place.name` is the file
// it guards, not the lock's name). The lock is held until `lock` is closed.
// False with the reason otherwise: error_number ELOOP for a link at its name,
// EINVAL for something other than an ordinary file, ETIMEDOUT when another
// process held it for the whole wait, or the system's error.
bool TakeLock(const FilePlace& place, const std::string& name, const LockOptions& options, FileDescriptor* lock,
              FileError* error);
