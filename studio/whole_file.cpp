#include "studio/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/file/replace_file.h"
#include "platform/file/system_calls.h"

namespace {

std::string Why(const std::string& what, int error_number) {
  return what + " (" + std::strerror(error_number) + ")";
}

}  // namespace

bool MakeFolders(const std::string& path, std::string& error) {
  FileError failure;
  if (MakeFolders(path, &failure)) return true;
  error = "cannot make the folder " + path + " (" + failure.reason + ")";
  return false;
}

bool ReplaceWholeFile(const std::string& path, const std::string& bytes, std::string& error, bool flush) {
  FileError failure;
  const ReplaceOptions options{.link = LinkAtPath::kRefuse, .durable = flush, .make_folders = true};
  if (ReplaceFile(path, bytes, options, &failure)) return true;
  error = "cannot write " + path + " (" + failure.reason + ")";
  return false;
}

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error, bool* missing,
                   std::size_t limit) {
  if (missing != nullptr) *missing = false;
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (missing != nullptr) *missing = errno == ENOENT;
    error = errno == ELOOP ? path + " is a symbolic link, which is not followed"
                           : Why("cannot open " + path, errno);
    return false;
  }
  struct stat st;
  bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  if (!ok) error = path + " is not an ordinary file";
  bytes.clear();
  char buffer[65536];
  while (ok) {
    const ssize_t n = RetryOnInterrupt([&] { return ::read(fd, buffer, sizeof buffer); });
    if (n < 0) {
      error = Why("cannot read " + path, errno);
      ok = false;
    } else if (n == 0) {
      break;
    } else if (bytes.size() + static_cast<std::size_t>(n) > limit) {
      error = path + " is larger than " + std::to_string(limit >> 20) + " MiB";
      ok = false;
    } else {
      bytes.append(buffer, static_cast<std::size_t>(n));
    }
  }
  ::close(fd);
  return ok;
}
