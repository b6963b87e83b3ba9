#include "platform/file/file_watch.h"

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <tuple>
#include <utility>

#include "platform/file/file_place.h"
#include "platform/file/system_calls.h"

namespace {

constexpr std::uint32_t kEntryEvents = IN_CLOSE_WRITE | IN_MOVED_TO | IN_CREATE | IN_DELETE | IN_MOVED_FROM;
constexpr std::uint32_t kFolderGone = IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED;

std::pair<std::string, std::string> SplitPath(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {".", path};
  return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

}  // namespace

FileWatch::FileWatch(std::vector<Target> targets) : targets_(std::move(targets)) {
  for (std::size_t i = 0; i < targets_.size(); ++i) last_looks_.push_back(Look(i));
  if (targets_.empty() || std::any_of(targets_.begin(), targets_.end(), [](const Target& t) { return t.path.empty(); })) {
    problem_ = "nothing to watch: no path is known";
    return;
  }
  fd_ = FileSystemCalls().inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (fd_ < 0) {
    problem_ = std::string("cannot watch ") + targets_.front().path + ": " + std::strerror(errno);
    return;
  }
  Arm();
}

FileWatch::~FileWatch() {
  if (fd_ >= 0) FileSystemCalls().close(fd_);
}

FileFingerprint FileWatch::Look(std::size_t target) const {
  struct stat st;
  FileError error;
  return ::LookAt(targets_[target].path, true, &st, &error) ? FingerprintOf(st) : FileFingerprint{};
}

// Watches the folder of each target and of every link on the way to its
// end, each for the one name that matters there, and a folder target's own
// entries, any name. A folder that does not exist is watched for from the
// nearest parent that does, for the name on the way.
void FileWatch::Arm() {
  std::vector<std::tuple<std::string, std::string, std::size_t>> places;
  for (std::size_t i = 0; i < targets_.size(); ++i) {
    std::string current = targets_[i].path;
    auto [folder, name] = SplitPath(current);
    places.emplace_back(folder, name, i);
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
      std::string next;
      if (!ReadLinkPath(current, &next)) break;
      current = std::move(next);
      std::tie(folder, name) = SplitPath(current);
      places.emplace_back(folder, name, i);
    }
    if (targets_[i].kind == Kind::kFolder) places.emplace_back(current, "", i);
  }

  std::map<int, std::vector<Interest>> armed;
  problem_.clear();
  for (auto [folder, name, target] : places) {
    struct stat st;
    FileError error;
    while (!::LookAt(folder, true, &st, &error) && folder != "/" && folder != ".") {
      std::tie(folder, name) = SplitPath(folder);
    }
    const int wd = FileSystemCalls().inotify_add_watch(fd_, folder.c_str(), kEntryEvents | kFolderGone | IN_ONLYDIR);
    if (wd < 0) {
      problem_ = "cannot watch " + folder + ": " + std::strerror(errno);
      continue;
    }
    armed[wd].push_back({name, target});
  }
  for (const auto& [wd, interests] : watches_) {
    if (armed.count(wd) == 0) FileSystemCalls().inotify_rm_watch(fd_, wd);
  }
  watches_ = std::move(armed);
}

std::vector<bool> FileWatch::Drain() {
  std::vector<bool> changed = fd_ >= 0 ? DrainEvents() : std::vector<bool>(targets_.size());
  if (following()) return changed;
  // Without a whole watch, each target itself says whether it changed.
  for (std::size_t i = 0; i < targets_.size(); ++i) {
    const FileFingerprint now = Look(i);
    if (now != last_looks_[i]) changed[i] = true;
    last_looks_[i] = now;
  }
  return changed;
}

std::vector<bool> FileWatch::DrainEvents() {
  std::vector<bool> changed(targets_.size());
  bool rearm = false;
  alignas(inotify_event) char buffer[16 * 1024];
  while (true) {
    const ssize_t n = RetryOnInterrupt([&] { return FileSystemCalls().read(fd_, buffer, sizeof buffer); });
    if (n <= 0) break;
    for (ssize_t at = 0; at < n;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      if (event->mask & IN_Q_OVERFLOW) {
        changed.assign(targets_.size(), true);  // events were lost: look at everything again
        rearm = true;
        continue;
      }
      const auto watch = watches_.find(event->wd);
      if (watch == watches_.end()) continue;
      // The folder itself went, or an entry that matters changed: a folder on
      // the way, a link, the file, or any entry of a watched folder. The way
      // is looked at again when a name on it changed; a watched folder that
      // goes is told by its parent's watch too.
      const bool gone = (event->mask & kFolderGone) != 0;
      for (const Interest& interest : watch->second) {
        if (!gone && (event->len == 0 || (!interest.name.empty() && interest.name != event->name))) continue;
        changed[interest.target] = true;
        rearm = rearm || !interest.name.empty();
      }
    }
  }
  // Armed before the caller reads, so nothing after that read is missed.
  if (rearm) Arm();
  return changed;
}
