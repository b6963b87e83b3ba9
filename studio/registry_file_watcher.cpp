#include "studio/registry_file_watcher.h"

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <tuple>
#include <utility>
#include <vector>

namespace {

constexpr std::uint32_t kFileEvents =
    IN_CLOSE_WRITE | IN_MOVED_TO | IN_CREATE | IN_DELETE | IN_MOVED_FROM;
constexpr std::uint32_t kFolderGone = IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED;
constexpr int kMaxLinkHops = 8;

std::pair<std::string, std::string> SplitPath(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {".", path};
  return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

}  // namespace

RegistryFileWatcher::RegistryFileWatcher(std::string path) : path_(std::move(path)) {
  if (path_.empty()) {
    problem_ = "no registry file to watch";
    return;
  }
  last_look_ = LookAtFile();
  fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (fd_ < 0) {
    problem_ = std::string("cannot watch the registry file: ") + std::strerror(errno);
    return;
  }
  Arm();
}

RegistryFileWatcher::Look RegistryFileWatcher::LookAtFile() const {
  struct stat st;
  if (::stat(path_.c_str(), &st) != 0) return Look{};
  const auto ns = [](const timespec& t) { return t.tv_sec * 1000000000LL + t.tv_nsec; };
  return Look{true, st.st_dev, st.st_ino, st.st_size, ns(st.st_mtim), ns(st.st_ctim)};
}

RegistryFileWatcher::~RegistryFileWatcher() {
  if (fd_ >= 0) ::close(fd_);
}

// Watches the folder of the file and of every link on the way to its target,
// each for the one name that matters there. A folder that does not exist is
// watched for from the nearest parent that does, for the name on the way.
void RegistryFileWatcher::Arm() {
  std::vector<std::pair<std::string, std::string>> places{SplitPath(path_)};
  std::string current = path_;
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    struct stat st;
    if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) break;
    char target[PATH_MAX];
    const ssize_t n = ::readlink(current.c_str(), target, sizeof target);
    if (n <= 0 || static_cast<std::size_t>(n) >= sizeof target) break;
    std::string next(target, static_cast<std::size_t>(n));
    if (next[0] != '/') next = SplitPath(current).first + "/" + next;
    current = std::move(next);
    places.push_back(SplitPath(current));
  }

  std::map<int, std::set<std::string>> armed;
  problem_.clear();
  for (auto [folder, name] : places) {
    struct stat st;
    while (::stat(folder.c_str(), &st) != 0 && folder != "/" && folder != ".") {
      std::tie(folder, name) = SplitPath(folder);
    }
    const int wd = ::inotify_add_watch(fd_, folder.c_str(), kFileEvents | kFolderGone | IN_ONLYDIR);
    if (wd < 0) {
      problem_ = "cannot watch " + folder + ": " + std::strerror(errno);
      continue;
    }
    armed[wd].insert(name);
  }
  for (const auto& [wd, names] : watches_) {
    if (armed.count(wd) == 0) ::inotify_rm_watch(fd_, wd);
  }
  watches_ = std::move(armed);
}

bool RegistryFileWatcher::Drain() {
  bool changed = fd_ >= 0 && DrainEvents();
  if (following() && !changed) return false;
  // Without a whole watch, the file itself says whether it changed.
  const Look now = LookAtFile();
  changed = changed || now != last_look_;
  last_look_ = now;
  return changed;
}

bool RegistryFileWatcher::DrainEvents() {
  bool changed = false;
  bool rearm = false;
  alignas(inotify_event) char buffer[16 * 1024];
  while (true) {
    const ssize_t n = ::read(fd_, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    for (ssize_t at = 0; at < n;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      if (event->mask & IN_Q_OVERFLOW) {
        changed = rearm = true;  // events were lost: look at everything again
        continue;
      }
      auto watch = watches_.find(event->wd);
      if (watch == watches_.end()) continue;
      if (event->mask & kFolderGone) {
        changed = rearm = true;  // the folder itself went
        continue;
      }
      if (event->len == 0) continue;
      if (watch->second.count(event->name) != 0) changed = rearm = true;
    }
  }
  // Armed before the caller reads the file, so nothing after that read is missed.
  if (rearm) Arm();
  return changed;
}
