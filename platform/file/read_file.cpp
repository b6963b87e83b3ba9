#include "platform/file/read_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "platform/file/file_descriptor.h"
#include "platform/file/system_calls.h"

namespace {

bool Fail(FileError* error, int error_number, std::string reason) {
  error->error_number = error_number;
  error->reason = std::move(reason);
  return false;
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::size_t limit, std::string* bytes,
                   FileError* error) {
  bytes->clear();
  const FileDescriptor file(RetryOnInterrupt([&] {
    return ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  }));
  if (file.get() < 0) {
    const int why = errno;
    return Fail(error, why, why == ELOOP ? "it is a symbolic link, which is not followed"
                                         : std::strerror(why));
  }
  struct stat status;
  if (::fstat(file.get(), &status) != 0) return Fail(error, errno, std::strerror(errno));
  if (!S_ISREG(status.st_mode)) return Fail(error, 0, "it is not an ordinary file");
  char buffer[65536];
  for (;;) {
    const ssize_t n = RetryOnInterrupt([&] { return ::read(file.get(), buffer, sizeof buffer); });
    if (n < 0) return Fail(error, errno, std::strerror(errno));
    if (n == 0) return true;
    if (bytes->size() + static_cast<std::size_t>(n) > limit) {
      return Fail(error, EFBIG, "it is larger than " + std::to_string(limit) + " bytes");
    }
    bytes->append(buffer, static_cast<std::size_t>(n));
  }
}
