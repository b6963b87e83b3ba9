#include "platform/file/append_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cstring>

#include "platform/file/system_calls.h"

bool AppendToFile(const FilePlace& place, std::string_view bytes, bool durable, Appended* appended,
                  FileError* error) {
  const FileDescriptor file(RetryOnInterrupt([&] {
    return FileSystemCalls().openat(place.folder.get(), place.name.c_str(),
                                    O_WRONLY | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0);
  }));
  if (file.get() < 0) {
    const int e = errno;
    return Fail(error, e, e == ELOOP ? "it is a symbolic link, which is not followed" : std::strerror(e));
  }
  struct stat status;
  if (FileSystemCalls().fstat(file.get(), &status) != 0) return Fail(error, errno, std::strerror(errno));
  if (!S_ISREG(status.st_mode)) return Fail(error, EINVAL, "it is not an ordinary file");
  appended->before = FingerprintOf(status);
  const auto undo = [&](const char* what) {
    const int e = errno;
    RetryOnInterrupt([&] { return FileSystemCalls().ftruncate(file.get(), status.st_size); });
    return Fail(error, e, std::string(what) + std::strerror(e));
  };
  for (std::string_view left = bytes; !left.empty();) {
    const ssize_t n = RetryOnInterrupt([&] { return FileSystemCalls().write(file.get(), left.data(), left.size()); });
    if (n == 0) errno = EIO;  // a disk that takes nothing and says nothing
    if (n <= 0) return undo("");
    left.remove_prefix(static_cast<std::size_t>(n));
  }
  if (durable && FileSystemCalls().fsync(file.get()) != 0) return undo("cannot flush it to disk: ");
  appended->after = FingerprintOfOpen(file.get());
  return true;
}
