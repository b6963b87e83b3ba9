#include "platform/file/fingerprint.h"

#include <fcntl.h>

#include <cstring>

#include "platform/file/system_calls.h"

FileFingerprint FingerprintOf(const struct stat& status) {
  const auto ns = [](const timespec& t) { return static_cast<std::int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec; };
  return {true,
          static_cast<std::uint64_t>(status.st_dev),
          static_cast<std::uint64_t>(status.st_ino),
          static_cast<std::int64_t>(status.st_size),
          ns(status.st_mtim),
          ns(status.st_ctim)};
}

FileFingerprint FingerprintOfOpen(int fd) {
  struct stat status;
  if (fd < 0 || FileSystemCalls().fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) return {};
  return FingerprintOf(status);
}

FileFingerprint FingerprintAt(int folder_fd, const std::string& name) {
  struct stat status;
  if (FileSystemCalls().fstatat(folder_fd, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0 ||
      !S_ISREG(status.st_mode)) {
    return {};
  }
  return FingerprintOf(status);
}

bool LookAt(const std::string& path, bool follow_last_link, struct stat* status, FileError* error) {
  FilePlace place;
  if (!FindPlace(path, follow_last_link, false, &place, error)) return false;
  if (FileSystemCalls().fstatat(place.folder.get(), place.name.c_str(), status, AT_SYMLINK_NOFOLLOW) != 0) {
    error->error_number = errno;
    error->reason = std::strerror(errno);
    return false;
  }
  return true;
}
