#include "studio/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>

namespace {

std::string Why(const std::string& what, int error_number) {
  return what + " (" + std::strerror(error_number) + ")";
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool WriteAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

bool MakeFolders(const std::string& path, std::string& error) {
  struct stat st;
  if (::stat(path.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return true;
    error = path + " is not a folder";
    return false;
  }
  const std::string parent = FolderOf(path);
  if (parent != path && !MakeFolders(parent, error)) return false;
  if (::mkdir(path.c_str(), 0755) != 0 && errno != EEXIST) {
    error = Why("cannot make the folder " + path, errno);
    return false;
  }
  return true;
}

bool ReplaceWholeFile(const std::string& path, const std::string& bytes, std::string& error, bool flush) {
  const std::string folder = FolderOf(path);
  if (!MakeFolders(folder, error)) return false;
  struct stat old;
  const bool have_old = ::lstat(path.c_str(), &old) == 0;
  if (have_old && !S_ISREG(old.st_mode)) {
    error = path + " is not an ordinary file and is left as it is";
    return false;
  }
  // A name nobody can guess, made anew (O_EXCL), never through a link.
  std::random_device random;
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = folder + "/." + path.substr(folder.size() + 1) + "." + std::to_string(random() % 1000000000u);
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, have_old ? 0600 : 0644);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    error = Why("cannot write into " + folder, errno);
    return false;
  }
  auto abandon = [&](const std::string& what) {
    error = Why(what, errno);
    ::close(fd);
    ::unlink(temp.c_str());
    return false;
  };
  if (have_old) {
    if ((old.st_uid != ::geteuid() || old.st_gid != ::getegid()) && ::geteuid() == 0 &&
        ::fchown(fd, old.st_uid, old.st_gid) != 0) {
      return abandon("cannot give the new " + path + " the old one's owner");
    }
    if (::fchmod(fd, old.st_mode & 07777) != 0) return abandon("cannot give the new " + path + " the old one's mode");
  }
  if (!WriteAll(fd, bytes)) return abandon("cannot write " + path);
  if (flush && ::fsync(fd) != 0) return abandon("cannot flush " + path + " to disk");
  if (::rename(temp.c_str(), path.c_str()) != 0) return abandon("cannot replace " + path);
  ::close(fd);
  const int dir = flush ? ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1;
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
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
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
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
