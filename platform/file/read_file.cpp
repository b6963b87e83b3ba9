#include "platform/file/read_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "platform/file/file_descriptor.h"
#include "platform/file/system_calls.h"

namespace {

// Reads the file at `place` into `bytes`: at most `limit` bytes, the rest
// of a longer file left unread when `start_only`, else refused whole.
bool ReadIn(const FilePlace& place, std::size_t limit, bool start_only, std::string* bytes, FileError* error) {
  bytes->clear();
  const SystemCalls& calls = FileSystemCalls();
  const FileDescriptor file(RetryOnInterrupt([&] {
    return calls.openat(place.folder.get(), place.name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0);
  }));
  if (file.get() < 0) {
    const int why = errno;
    return Fail(error, why, why == ELOOP ? "it is a symbolic link, which is not followed"
                                         : std::strerror(why));
  }
  struct stat status;
  if (calls.fstat(file.get(), &status) != 0) return Fail(error, errno, std::strerror(errno));
  if (S_ISDIR(status.st_mode)) return Fail(error, EISDIR, "it is a folder");
  if (!S_ISREG(status.st_mode)) return Fail(error, EINVAL, "it is not an ordinary file");
  const auto too_large = [&] { return Fail(error, EFBIG, "it is larger than " + std::to_string(limit) + " bytes"); };
  if (!start_only && static_cast<std::size_t>(status.st_size) > limit) return too_large();
  char buffer[65536];
  for (;;) {
    const ssize_t n = RetryOnInterrupt([&] { return calls.read(file.get(), buffer, sizeof buffer); });
    if (n < 0) return Fail(error, errno, std::strerror(errno));
    if (n == 0) return true;
    if (bytes->size() + static_cast<std::size_t>(n) > limit) {
      if (!start_only) return too_large();
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
