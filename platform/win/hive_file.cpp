// Reading and durably replacing the registry file.
#include "platform/win/hive_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file/folder.h"
#include "platform/file/lock_file.h"
#include "platform/file/replace_file.h"
#include "platform/file/shown_text.h"
#include "platform/file/system_calls.h"
#include "platform/file/user_folders.h"
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

}  // namespace

std::string HiveFile::DefaultPath() {
  const char* named = std::getenv("TINTOR_REGISTRY");
  if (named != nullptr && named[0] != '\0') return named;
  const std::string data = UserFolderPath(UserFolder::kData);
  return data.empty() ? data : data + "/tintor/registry.reg";
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

LONG HiveFile::Fail(LONG status, const std::string& what, int error_number) {
  last_error_ = what;
  if (error_number != 0) {
    last_error_ += ": ";
    last_error_ += std::strerror(error_number);
  }
  return status;
}

LONG HiveFile::Missing() {
  owner_ = static_cast<uid_t>(-1);
  if (!loaded_ || identity_.exists) hive_ = RegistryHive();
  identity_ = FileFingerprint();
  HoldOpen(-1);
  loaded_ = true;
  return ERROR_SUCCESS;
}

LONG HiveFile::CannotOpen(int error_number, const std::string& why) {
  loaded_ = false;
  return Fail(error_number == EACCES || error_number == EPERM ? ERROR_ACCESS_DENIED : ERROR_CANTREAD,
              "cannot open the registry file " + path_ + ": " + why, 0);
}

LONG HiveFile::TooLarge() {
  loaded_ = false;
  return Fail(ERROR_REGISTRY_CORRUPT, "the registry file " + path_ + " is larger than " +
                  std::to_string(kMaxFileSize >> 20) + " MiB and is left as it is", 0);
}

LONG HiveFile::ReadAll(int fd, std::size_t size, std::string* bytes) {
  bytes->resize(size);
  std::size_t done = 0;
  // Past the size fstat gave, the file is read on into a small buffer: the
  // whole is not moved to grow it unless the file has grown meanwhile.
  char more[4096];
  while (true) {
    const bool beyond = done == bytes->size();
    char* into = beyond ? more : bytes->data() + done;
    const std::size_t room = beyond ? sizeof more : bytes->size() - done;
    const ssize_t n = RetryOnInterrupt([&] { return FileSystemCalls().read(fd, into, room); });
    if (n < 0) {
      loaded_ = false;
      return Fail(ERROR_CANTREAD, "cannot read the registry file " + path_, errno);
    }
    if (n == 0) break;
    if (beyond) {
      // The file grew since fstat; it may still not grow past the limit.
      if (done + static_cast<std::size_t>(n) > static_cast<std::size_t>(kMaxFileSize)) return TooLarge();
      bytes->append(more, static_cast<std::size_t>(n));
    }
    done += static_cast<std::size_t>(n);
  }
  return ERROR_SUCCESS;
}

LONG HiveFile::Refresh(int dir_fd) {
  // Looked at by name first: unchanged, as it nearly always is, it is not
  // opened at all.
  struct stat st;
  if (FileSystemCalls().fstatat(dir_fd, name_.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
    const int e = errno;
    if (e == ENOENT || e == ENOTDIR) return Missing();
    return CannotOpen(e, std::strerror(e));
  }
  if (S_ISLNK(st.st_mode)) return CannotOpen(ELOOP, std::strerror(ELOOP));
  if (S_ISREG(st.st_mode) && st.st_size <= kMaxFileSize && loaded_ && FingerprintOf(st) == identity_) {
    owner_ = st.st_uid;
    return ERROR_SUCCESS;
  }
  // Not blocking: a named pipe in the file's place must not stall the program.
  FileDescriptor fd(RetryOnInterrupt([&] {
    return FileSystemCalls().openat(dir_fd, name_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW, 0);
  }));
  if (fd.get() < 0) {
    const int e = errno;
    if (e == ENOENT || e == ENOTDIR) return Missing();
    return CannotOpen(e, std::strerror(e));
  }
  if (FileSystemCalls().fstat(fd.get(), &st) != 0) {
    loaded_ = false;
    return Fail(ERROR_CANTREAD, "cannot inspect the registry file " + path_, errno);
  }
  if (!S_ISREG(st.st_mode)) {
    loaded_ = false;
    return Fail(ERROR_REGISTRY_CORRUPT,
                "the registry file " + path_ + " is not an ordinary file and is left as it is", 0);
  }
  if (st.st_size > kMaxFileSize) return TooLarge();
  const FileFingerprint now = FingerprintOf(st);
  owner_ = st.st_uid;
  if (loaded_ && now == identity_) return ERROR_SUCCESS;

  // The content read before is of no more use whatever this file holds (a
  // file that cannot be read leaves nothing loaded): it goes before the new
  // one is read, so that the two are never in memory at once.
  loaded_ = false;
  hive_ = RegistryHive();
  std::string bytes;
  if (const LONG status = ReadAll(fd.get(), static_cast<std::size_t>(st.st_size), &bytes); status != ERROR_SUCCESS) {
    return status;
  }
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
  held_.Reset(fd);
}

LONG HiveFile::Load(const RegistryHive** hive) {
  if (path_.empty()) return Fail(ERROR_CANTOPEN, "no registry file: " + HomeFolderProblem(), 0);
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
  if (path_.empty()) return Fail(ERROR_CANTOPEN, "no registry file: " + HomeFolderProblem(), 0);
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
  FileDescriptor lock;
  if (LONG status = Lock(place, &lock); status != ERROR_SUCCESS) return status;
  LONG status = Refresh(place.folder.get());
  if (status != ERROR_SUCCESS) return status;
  // Temporary files are only ever written under the lock, so while we hold
  // it, one that is there was left by a writer that died: it goes at once.
  RemoveStaleTemporaries(place.folder.get(), {.name = name_, .also_owner = owner_});
  bool modified = false;
  status = change(hive_, modified);
  if (status != ERROR_SUCCESS || !modified) return status;
  // Whatever happens, the lock is released when `lock` closes.
  return WriteOut(place);
}

// The lock file sits beside the registry file and takes its owner and mode
// (before the first registry file, the mode that file will get).
LONG HiveFile::Lock(const FilePlace& place, FileDescriptor* lock) {
  const std::string lock_name = name_ + ".lock";
  const std::string lock_path = dir_ + "/" + lock_name;
  LockOptions options{.new_file_mode = kNewFileMode, .like = name_.c_str(), .wait_ms = kLockWaitMs};
  FileError error;
  if (!TakeLock(place, lock_name, options, lock, &error)) {
    switch (error.error_number) {
      case ELOOP:
        return Fail(ERROR_ACCESS_DENIED, "the lock file " + lock_path +
                        " is a symbolic link, which is never followed; the change is not written", 0);
      case EINVAL:
        return Fail(ERROR_CANTWRITE, "the lock file " + lock_path + " is not an ordinary file", 0);
      case ETIMEDOUT:
        return Fail(ERROR_CANTWRITE, "another process has held the lock " + lock_path + " for " +
                        std::to_string(kLockWaitMs / 1000) + " s; the change is not written", 0);
      default:
        return Fail(StatusForWriteErrno(error.error_number), "cannot lock " + lock_path + ": " + error.reason, 0);
    }
  }
  return ERROR_SUCCESS;
}

LONG HiveFile::WriteOut(const FilePlace& place) {
  // The content in memory no longer matches the file until the rename is done.
  loaded_ = false;
  // What is written must be readable again: neither larger than a registry
  // file may be, nor holding more than such a file may. Both are known
  // before the file's bytes are made.
  const std::size_t size = RegFileSize(hive_);
  if (size > static_cast<std::size_t>(kMaxFileSize)) {
    return Fail(ERROR_CANTWRITE, "the registry file " + path_ + " would grow past " +
                    std::to_string(kMaxFileSize >> 20) + " MiB; the change is not written", 0);
  }
  if (const std::size_t limit = RegFileMemoryLimit(size); hive_.Cost() > limit) {
    return Fail(ERROR_CANTWRITE, "the registry file " + path_ +
                    " would hold more keys and values than a file of its size may: they would take more than " +
                    std::to_string(limit >> 20) + " MiB of memory; the change is not written", 0);
  }
  const std::string bytes = EncodeRegFile(hive_, size);
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
  identity_ = FingerprintOf(replaced.status);
  loaded_ = true;
  HoldOpen(replaced.file.Release());
  // The change is made; only its surviving a power cut is in doubt.
  if (replaced.folder_sync_error != 0 && !said_folder_unflushed_) {
    said_folder_unflushed_ = true;
    std::fprintf(stderr, "tintor: warning: the registry file %s is written, but its folder %s could not be "
                 "flushed to disk (%s); this change and later ones may be lost if the power fails soon "
                 "after them\n",
                 ShownText(path_).c_str(), ShownText(dir_).c_str(), std::strerror(replaced.folder_sync_error));
  }
  return ERROR_SUCCESS;
}
