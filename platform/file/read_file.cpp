#include "platform/file/read_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/file/file_descriptor.h"
#include "platform/file/system_calls.h"

namespace {

// Opens the ordinary file at `place` for reading into `file`, its size into `status`.
bool OpenIn(const FilePlace& place, FileDescriptor* file, struct stat* status, FileError* error) {
  const SystemCalls& calls = FileSystemCalls();
  file->Reset(RetryOnInterrupt([&] {
    return calls.openat(place.folder.get(), place.name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0);
  }));
  if (file->get() < 0) {
    const int why = errno;
    return Fail(error, why, why == ELOOP ? "it is a symbolic link, which is not followed"
                                         : std::strerror(why));
  }
  if (calls.fstat(file->get(), status) != 0) return Fail(error, errno, std::strerror(errno));
  if (S_ISDIR(status->st_mode)) return Fail(error, EISDIR, "it is a folder");
  if (!S_ISREG(status->st_mode)) return Fail(error, EINVAL, "it is not an ordinary file");
  return true;
}

bool TooLarge(FileError* error, std::size_t limit) {
  return Fail(error, EFBIG, "it is larger than " + std::to_string(limit) + " bytes");
}

// Reads the file at `place` into `bytes`: at most `limit` bytes, the rest
// of a longer file left unread when `start_only`, else refused whole.
bool ReadIn(const FilePlace& place, std::size_t limit, bool start_only, std::string* bytes, FileError* error) {
  bytes->clear();
  FileDescriptor file;
  struct stat status;
  if (!OpenIn(place, &file, &status, error)) return false;
  if (!start_only && static_cast<std::size_t>(status.st_size) > limit) return TooLarge(error, limit);
  // Room for all of it at once, so that a large file is not moved while it
  // grows (and for one byte more, to see that it ends there).
  bytes->reserve(std::min(static_cast<std::size_t>(status.st_size), limit) + 1);
  char buffer[65536];
  for (;;) {
    const ssize_t n = RetryOnInterrupt([&] { return FileSystemCalls().read(file.get(), buffer, sizeof buffer); });
    if (n < 0) return Fail(error, errno, std::strerror(errno));
    if (n == 0) return true;
    if (bytes->size() + static_cast<std::size_t>(n) > limit) {
      if (!start_only) return TooLarge(error, limit);
      bytes->append(buffer, limit - bytes->size());
      return true;
    }
    bytes->append(buffer, static_cast<std::size_t>(n));
  }
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::size_t limit, std::string* bytes, FileError* error,
                   bool follow_own_link) {
  bytes->clear();
  FilePlace place;
  return FindPlace(path, follow_own_link, false, &place, error) && ReadIn(place, limit, false, bytes, error);
}

bool ReadWholeFileIn(const FilePlace& place, std::size_t limit, std::string* bytes, FileError* error) {
  return ReadIn(place, limit, false, bytes, error);
}

bool ReadFileStart(const std::string& path, std::size_t count, std::string* bytes, FileError* error,
                   bool follow_own_link) {
  bytes->clear();
  FilePlace place;
  return FindPlace(path, follow_own_link, false, &place, error) && ReadIn(place, count, true, bytes, error);
}

bool FileReader::Open(const std::string& path, std::size_t limit, FileError* error, bool follow_own_link) {
  file_.Reset();
  size_ = 0;
  FilePlace place;
  struct stat status;
  if (!FindPlace(path, follow_own_link, false, &place, error) || !OpenIn(place, &file_, &status, error)) return false;
  if (static_cast<std::size_t>(status.st_size) > limit) {
    file_.Reset();
    return TooLarge(error, limit);
  }
  size_ = static_cast<std::uint64_t>(status.st_size);
  return true;
}

long FileReader::Read(void* buffer, std::size_t size) {
  if (file_.get() < 0) {
    errno = EBADF;
    return -1;
  }
  return RetryOnInterrupt([&] { return FileSystemCalls().read(file_.get(), buffer, size); });
}
