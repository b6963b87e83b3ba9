#include "platform/file/read_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "platform/file/file_descriptor.h"
#include "platform/file/system_calls.h"

bool ReadWholeFile(const std::string& path, std::size_t limit, std::string* bytes, FileError* error,
                   bool follow_own_link) {
  bytes->clear();
  FilePlace place;
  return FindPlace(path, follow_own_link, false, &place, error) && ReadWholeFileIn(place, limit, bytes, error);
}

bool ReadWholeFileIn(const FilePlace& place, std::size_t limit, std::string* bytes, FileError* error) {
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
  if (static_cast<std::size_t>(status.st_size) > limit) return too_large();
  char buffer[65536];
  for (;;) {
    const ssize_t n = RetryOnInterrupt([&] { return calls.read(file.get(), buffer, sizeof buffer); });
    if (n < 0) return Fail(error, errno, std::strerror(errno));
    if (n == 0) return true;
    if (bytes->size() + static_cast<std::size_t>(n) > limit) return too_large();
    bytes->append(buffer, static_cast<std::size_t>(n));
  }
}
