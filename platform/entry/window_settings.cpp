#include "platform/entry/window_settings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

constexpr std::size_t kMaxSize = 4096;  // a few short lines; anything larger is not ours

std::string Reason(int error_number) { return std::strerror(error_number); }

std::string_view Trim(std::string_view s) {
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

bool ParseScale(std::string_view text, double& scale) {
  const std::string copy(text);
  char* end = nullptr;
  errno = 0;
  const double v = std::strtod(copy.c_str(), &end);
  if (copy.empty() || errno != 0 || *end != '\0' || !std::isfinite(v) || v < 0.25 || v > 4.0) {
    return false;
  }
  scale = v;
  return true;
}

// False with `problem` set at the first line that is not "panel=shown",
// "panel=hidden", "scale=N", a comment or blank.
bool ParseSettings(std::string_view text, WindowSettings& settings, std::string& problem) {
  int number = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    ++number;
    if (line.empty() || line[0] == '#') continue;
    const std::size_t equals = line.find('=');
    const std::string_view key = Trim(line.substr(0, equals));
    const std::string_view value = equals == std::string_view::npos ? "" : Trim(line.substr(equals + 1));
    double scale = 0;
    if (key == "panel" && (value == "shown" || value == "hidden")) {
      settings.panel_shown = value == "shown";
    } else if (key == "scale" && ParseScale(value, scale)) {
      settings.scale = scale;
    } else {
      problem = "line " + std::to_string(number) + " is not panel=shown|hidden or scale=0.25..4";
      return false;
    }
  }
  return true;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
}

std::string NameOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

// Makes `dir` and its missing parents (as `mkdir -p`, each private to its
// user as the desktop's folders of settings are). When root makes one, it
// takes the owner of the folder it is made in.
bool MakeFolders(const std::string& dir, std::string& error) {
  struct stat st;
  if (::stat(dir.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return true;
    error = dir + " is not a folder";
    return false;
  }
  const std::string parent = FolderOf(dir);
  if (parent != dir && !MakeFolders(parent, error)) return false;
  if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) {
    error = "cannot make the folder " + dir + ": " + Reason(errno);
    return false;
  }
  struct stat above;
  if (::geteuid() == 0 && ::stat(parent.c_str(), &above) == 0 && above.st_uid != 0) {
    if (::lchown(dir.c_str(), above.st_uid, above.st_gid) != 0) {
      error = "cannot give the folder " + dir + " its parent's owner: " + Reason(errno);
      return false;
    }
  }
  return true;
}

// The one place that writes the settings file: a whole new file beside the
// old one, renamed over it. Nothing at `path` that is not an ordinary file
// (a link, a folder, a device) is replaced or written through; a replaced
// file keeps its owner and mode, and a new one made by root takes the
// folder's owner.
bool ReplaceSettingsFile(const std::string& path, std::string_view bytes, std::string& error) {
  const std::string dir = FolderOf(path);
  if (!MakeFolders(dir, error)) return false;
  const int dir_fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (dir_fd < 0) {
    error = errno == ENOTDIR || errno == ELOOP
                ? "the folder " + dir + " is a symbolic link, which is not followed"
                : "cannot open the folder " + dir + ": " + Reason(errno);
    return false;
  }
  const std::string name = NameOf(path);
  struct stat old{};
  const bool have_old = ::fstatat(dir_fd, name.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0;
  struct stat folder{};
  bool ok = ::fstat(dir_fd, &folder) == 0;
  if (have_old && !S_ISREG(old.st_mode)) {
    error = path + " is not an ordinary file; it is left as it is";
    ::close(dir_fd);
    return false;
  }
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = "." + name + "." + std::to_string(::getpid()) + "." + std::to_string(attempt);
    fd = ::openat(dir_fd, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    error = "cannot make a new file in " + dir + ": " + Reason(errno);
    ::close(dir_fd);
    return false;
  }
  const mode_t mask = ::umask(0);
  ::umask(mask);
  const uid_t owner = have_old ? old.st_uid : folder.st_uid;
  const gid_t group = have_old ? old.st_gid : folder.st_gid;
  ok = ok && ::fchmod(fd, have_old ? old.st_mode & 07777 : 0666 & ~mask) == 0;
  if (ok && ::geteuid() == 0) ok = ::fchown(fd, owner, group) == 0;
  for (std::size_t done = 0; ok && done < bytes.size();) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += static_cast<std::size_t>(n);
  }
  ok = ok && ::fsync(fd) == 0;
  int saved = errno;
  ok = ::close(fd) == 0 && ok;
  if (ok && ::renameat(dir_fd, temp.c_str(), dir_fd, name.c_str()) == 0) {
    ::fsync(dir_fd);
    ::close(dir_fd);
    return true;
  }
  if (ok) saved = errno;
  ::unlinkat(dir_fd, temp.c_str(), 0);
  ::close(dir_fd);
  error = "cannot write " + path + ": " + Reason(saved);
  return false;
}

}  // namespace

std::string WindowSettingsPath() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  std::string base;
  if (config != nullptr && config[0] == '/') {
    base = config;
  } else if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
    base = std::string(home) + "/.config";
  } else {
    return {};
  }
  return base + "/tintor/settings";
}

WindowSettings ReadWindowSettings(const std::string& path, std::string& problem) {
  problem.clear();
  const std::string dir = FolderOf(path);
  const int dir_fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (dir_fd < 0) {
    if (errno == ENOENT) return {};
    problem = errno == ENOTDIR || errno == ELOOP
                  ? "the folder " + dir + " is a symbolic link, which is not followed"
                  : "cannot open the folder " + dir + ": " + Reason(errno);
    return {};
  }
  const int fd = ::openat(dir_fd, NameOf(path).c_str(),
                          O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  const int open_error = errno;
  ::close(dir_fd);
  if (fd < 0) {
    if (open_error == ENOENT) return {};
    problem = open_error == ELOOP ? "it is a symbolic link, which is not followed"
                                  : "cannot read it: " + Reason(open_error);
    return {};
  }
  std::string text;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    problem = "it is not an ordinary file";
  } else {
    char buffer[kMaxSize + 1];
    for (;;) {
      const ssize_t n = ::read(fd, buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) problem = "cannot read it: " + Reason(errno);
      if (n <= 0) break;
      text.append(buffer, static_cast<std::size_t>(n));
      if (text.size() > kMaxSize) {
        problem = "it is larger than a settings file can be";
        break;
      }
    }
  }
  ::close(fd);
  WindowSettings settings;
  if (problem.empty() && ParseSettings(text, settings, problem)) return settings;
  return {};
}

bool WriteWindowSettings(const std::string& path, const WindowSettings& settings,
                         std::string& error) {
  std::string text = "# Tintor's window, as it was when it closed last.\n";
  if (settings.panel_shown) text += std::string("panel=") + (*settings.panel_shown ? "shown" : "hidden") + "\n";
  if (settings.scale) {
    char scale[32];
    std::snprintf(scale, sizeof scale, "%g", *settings.scale);
    text += std::string("scale=") + scale + "\n";
  }
  return ReplaceSettingsFile(path, text, error);
}
